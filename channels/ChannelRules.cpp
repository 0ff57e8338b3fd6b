#include "ChannelRules.h"

#include "ChannelTexts.h"
#include "Conversions.h"
#include "Globals.h"
#include "ImageRoutines.h"

bool IsChannelEmpty(int channel) { return RadioData[channel][0] == ErasedByte; }

bool InsideBand(const QString &text)
{
    const double f = NumericValue(text);
    return BandLowMHz <= f && f < BandHighMHz;
}

QString FormatFrequencyText(const QString &text)
{
    // Built from the number itself: blanks, a sign or a leading zero in the
    // typed text would otherwise be padded into a wrong frequency.
    const double f = NumericValue(text);
    QString formatted = NumberText(f);
    if (!formatted.contains(u'.'))
        formatted += u'.';
    return formatted.leftJustified(f < 100 ? 8 : 9, u'0');
}

QString BandLowText() { return FormatFrequencyText(NumberText(BandLowMHz)); }

void EraseChannelCells(int channel)
{
    for (int c = 0; c < BlockSize; ++c)
        RadioData[channel][c] = ErasedByte;
}

void SetChannelDefaults(int channel)
{
    auto &r = RadioData[channel];
    r[8] = r[9] = r[10] = r[11] = ErasedByte;
    r[12] = 2;
    r[13] = 0x20;
    r[14] = r[15] = ErasedByte;
}

void StoreReceive(int channel, const QString &receiveText)
{
    QString text = receiveText;
    if (IsChannelEmpty(channel)) {
        StoreFrequency(text, channel, 0);
        for (int c = 4; c <= 7; ++c)
            RadioData[channel][c] = 0;
        SetChannelDefaults(channel);
        return;
    }
    // The transmit frequency as shown before the change is kept.
    QString transmit = TransmitText(channel);
    StoreFrequency(text, channel, 0);
    StoreFrequency(transmit, channel, 4);
    ApplyOffsetRule(channel);
}

void StoreTransmit(int channel, const QString &transmitText)
{
    QString text = transmitText;
    StoreFrequency(text, channel, 4);
    ApplyOffsetRule(channel);
}

void ApplyOffsetRule(int channel)
{
    const double rx = CellsFrequency(channel, 0);
    const double tx = CellsFrequency(channel, 4);
    auto &r = RadioData[channel];
    r[12] = int16_t(r[12] & 0x3F);
    if (tx == rx) {
        for (int c = 4; c <= 7; ++c)
            r[c] = 0;
        return;
    }
    r[12] = int16_t(r[12] | (tx > rx ? 0x40 : 0x80));
    QString offset = NumberText(tx > rx ? tx - rx : rx - tx);
    StoreFrequency(offset, channel, 4);
}

void MakeSimplex(int channel)
{
    auto &r = RadioData[channel];
    for (int c = 4; c <= 7; ++c)
        r[c] = 0;
    r[12] = int16_t(r[12] & 0x3F);
}

void ApplyToneRule(int channel, bool encode, int position)
{
    const ToneCode tone = ToneFromPosition(position);
    const int column = encode ? 10 : 8;
    RadioData[channel][column] = int16_t(tone.type);
    RadioData[channel][column + 1] = int16_t(tone.index);
}

void ApplyPowerRule(int channel, int position)
{
    RadioData[channel][12] = int16_t((RadioData[channel][12] & 0xFC) + position);
}

void ApplyBandwidthRule(int channel, int position)
{
    auto &cell = RadioData[channel][13];
    cell = int16_t(position > 0 ? cell | 0x20 : cell & ~0x20);
}

void ApplyNameRule(int channel, const QString &text)
{
    const QString name = text.trimmed();
    CopyNameAreaToCodes();
    const int first = (channel - 1) * NameLength;
    for (int k = 0; k < NameLength; ++k)
        NameCodes[first + k] = ErasedByte;
    for (int k = 0; k < std::min<int>(name.size(), NameLength); ++k)
        NameCodes[first + k] = int16_t(CharToCode(QString(name.at(k))));
    CopyCodesToNameArea();
}
