#include "ChannelRules.h"

#include "ChannelTexts.h"
#include "Conversions.h"
#include "RecordCodec.h"

#include <memory>

const ChannelEditProfile GridEditProfile{
    .newFlagsA = 2,
    .newFlagsB = 0x20,
    .nameGoesWithChannel = false,
    .transmitOutOfBand = ChannelMessages::TransmitOutOfBand,
};

const ChannelEditProfile EditWindowProfile{
    .newFlagsA = 6,
    .newFlagsB = 0,
    .nameGoesWithChannel = true,
    .transmitOutOfBand = ChannelMessages::TransmitOutOfBandCapital,
};

namespace {

constexpr int FlagsA = 12;
constexpr int FlagsB = 13;

void EraseName(ImageTable &image, int channel)
{
    for (int k = 0; k < NameLength; ++k)
        NameCell(channel, k).set(image, ErasedByte);
}

void MakeSimplex(ImageTable &image, int channel)
{
    auto &r = image[channel];
    for (int c = 4; c <= 7; ++c)
        r[c] = 0;
    r[FlagsA] = int16_t(r[FlagsA] & 0x3F);
}

// Cells 4..7 hold a transmit frequency just stored there; it becomes the
// offset from the receive frequency and the shift direction.
void ApplyOffsetRule(ImageTable &image, int channel)
{
    const double rx = CellsFrequency(image, channel, 0);
    const double tx = CellsFrequency(image, channel, 4);
    if (tx == rx) {
        MakeSimplex(image, channel);
        return;
    }
    auto &r = image[channel];
    r[FlagsA] = int16_t((r[FlagsA] & 0x3F) | (tx > rx ? 0x40 : 0x80));
    StoreFrequency(image, NumberText(tx > rx ? tx - rx : rx - tx), channel, 4);
}

// The typed frequency inside the band, or the band's lower limit with the
// message for it.
QString BandCheckedText(const QString &typed, FrequencyBand band, const ChannelMessage &outOfBand,
                        std::optional<ChannelMessage> &message)
{
    if (InsideBand(typed, band))
        return FormatFrequencyText(typed);
    message = outOfBand;
    return BandLowText(band);
}

std::optional<ChannelMessage> StoreReceive(ImageTable &image, int channel, const QString &typed,
                                           const ChannelEditProfile &profile, FrequencyBand band)
{
    // Blanks carry nothing; left in, they would be padded into the number.
    const QString t = typed.trimmed();
    if (t.isEmpty()) {
        EraseChannelCells(image, channel);
        if (profile.nameGoesWithChannel)
            EraseName(image, channel);
        return std::nullopt;
    }
    std::optional<ChannelMessage> message;
    const QString text = BandCheckedText(t, band, ChannelMessages::ReceiveOutOfBand, message);
    if (IsChannelEmpty(image, channel)) {
        StoreFrequency(image, text, channel, 0);
        for (int c = 4; c <= 7; ++c)
            image[channel][c] = 0;
        SetChannelDefaults(image, channel, profile);
        if (profile.nameGoesWithChannel)
            EraseName(image, channel);
        return message;
    }
    // The transmit frequency shown before the change is kept, so offset and
    // shift follow the new receive frequency.
    const QString transmit = TransmitText(image, channel);
    StoreFrequency(image, text, channel, 0);
    StoreFrequency(image, transmit, channel, 4);
    ApplyOffsetRule(image, channel);
    return message;
}

std::optional<ChannelMessage> StoreTransmit(ImageTable &image, int channel, const QString &typed,
                                            const ChannelEditProfile &profile, FrequencyBand band)
{
    const QString t = typed.trimmed();
    if (IsChannelEmpty(image, channel)) {
        if (t.isEmpty())
            return std::nullopt;
        return ChannelMessages::ReceiveFirst;
    }
    if (t.isEmpty()) {
        MakeSimplex(image, channel);
        return std::nullopt;
    }
    std::optional<ChannelMessage> message;
    const QString text = BandCheckedText(t, band, profile.transmitOutOfBand, message);
    StoreFrequency(image, text, channel, 4);
    ApplyOffsetRule(image, channel);
    return message;
}

// Up to five characters of the trimmed text as name codes; letters of
// either case give the same code, others the code of a blank.
void StoreName(ImageTable &image, int channel, const QString &typed)
{
    const QString name = typed.trimmed();
    EraseName(image, channel);
    for (int k = 0; k < std::min<int>(name.size(), NameLength); ++k) {
        NameCell(channel, k).set(image, CharToCode(QString(name.at(k))));
    }
}

void SetBit(int16_t &cell, int mask, bool on) { cell = int16_t(on ? cell | mask : cell & ~mask); }

int ChoiceCount(ChannelField field)
{
    switch (field) {
    case ChannelField::Decode:
    case ChannelField::Encode:
        return ToneDcsInvertLast + 1;
    case ChannelField::Power:
        return 3;
    case ChannelField::Receive:
    case ChannelField::Transmit:
    case ChannelField::Name:
        return 0;
    default:
        return 2;
    }
}

ChannelEditResult Outcome(const ImageTable &before, const ImageTable &after, int channel,
                          ChannelField field, std::optional<ChannelMessage> message)
{
    ChannelEditResult result;
    for (int c = 0; c < BlockSize; ++c)
        if (after[channel][c] != before[channel][c])
            result.cells.push_back({channel, c, after[channel][c]});
    for (int k = 0; k < NameLength; ++k) {
        const CellField cell = NameCell(channel, k);
        if (cell.get(after) != cell.get(before))
            result.cells.push_back({cell.row, cell.column, after[cell.row][cell.column]});
    }
    result.message = message;
    result.shownText = ChannelFieldText(after, channel, field);
    return result;
}

} // namespace

void ChannelEditResult::applyTo(ImageTable &image) const
{
    for (const CellValue &cell : cells)
        image[cell.row][cell.column] = cell.value;
}

FrequencyBand CurrentBand() { return {BandLowMHz, BandHighMHz}; }

ChannelEditResult EditChannelText(const ImageTable &image, int channel, ChannelField field,
                                  const QString &typed, const ChannelEditProfile &profile,
                                  FrequencyBand band)
{
    // A working copy, so that the rules read back what they stored.
    auto after = std::make_unique<ImageTable>(image);
    std::optional<ChannelMessage> message;
    if (typed != ChannelFieldText(image, channel, field)) {
        if (field == ChannelField::Receive)
            message = StoreReceive(*after, channel, typed, profile, band);
        else if (field == ChannelField::Transmit)
            message = StoreTransmit(*after, channel, typed, profile, band);
        else if (field == ChannelField::Name)
            StoreName(*after, channel, typed);
    }
    return Outcome(image, *after, channel, field, message);
}

ChannelEditResult ChooseChannelItem(const ImageTable &image, int channel, ChannelField field,
                                    int position)
{
    auto after = std::make_unique<ImageTable>(image);
    auto &r = (*after)[channel];
    const bool valid = position >= 0 && position < ChoiceCount(field);
    if (valid && !IsChannelEmpty(image, channel)) {
        switch (field) {
        case ChannelField::Decode:
        case ChannelField::Encode: {
            const ToneCode tone = ToneFromPosition(position);
            const int type = field == ChannelField::Encode ? 10 : 8;
            r[type] = int16_t(tone.type);
            r[type + 1] = int16_t(tone.index);
            break;
        }
        case ChannelField::Power:
            r[FlagsA] = int16_t((r[FlagsA] & 0xFC) + position);
            break;
        case ChannelField::Bandwidth:
            SetBit(r[FlagsB], 0x20, position > 0);
            break;
        case ChannelField::Vox:
            SetBit(r[FlagsB], 0x40, position > 0);
            break;
        case ChannelField::BusyLockout:
            SetBit(r[FlagsB], 0x80, position > 0);
            break;
        case ChannelField::ScanAdd: // the bit says "not scanned"
            SetBit(r[FlagsA], 0x04, position == 0);
            break;
        case ChannelField::TransmitStop:
            SetBit(r[FlagsB], 0x10, position > 0);
            break;
        default:
            break;
        }
    }
    return Outcome(image, *after, channel, field, std::nullopt);
}

QString ChannelFieldText(const ImageTable &image, int channel, ChannelField field)
{
    const ChannelRowTexts texts = ChannelTextsOf(image, channel);
    switch (field) {
    case ChannelField::Receive:
        return texts.receive;
    case ChannelField::Transmit:
        return texts.transmit;
    case ChannelField::Name:
        return texts.name;
    case ChannelField::Decode:
        return texts.decode.value_or(QString());
    case ChannelField::Encode:
        return texts.encode.value_or(QString());
    case ChannelField::Power:
        return texts.power.value_or(QString());
    case ChannelField::Bandwidth:
        return texts.bandwidth;
    default:
        return QString();
    }
}

std::optional<int> ChannelChoice(const ImageTable &image, int channel, ChannelField field)
{
    if (IsChannelEmpty(image, channel))
        return std::nullopt;
    const auto &r = image[channel];
    auto tone = [](int type, int index) -> std::optional<int> {
        const int position = TonePosition(type, index);
        return position < 0 ? std::nullopt : std::optional<int>(position);
    };
    switch (field) {
    case ChannelField::Decode:
        return tone(r[8], r[9]);
    case ChannelField::Encode:
        return tone(r[10], r[11]);
    case ChannelField::Power:
        return (r[FlagsA] & 3) == 3 ? std::nullopt : std::optional<int>(r[FlagsA] & 3);
    case ChannelField::Bandwidth:
        return (r[FlagsB] & 0x20) ? 1 : 0;
    case ChannelField::Vox:
        return (r[FlagsB] & 0x40) ? 1 : 0;
    case ChannelField::BusyLockout:
        return (r[FlagsB] & 0x80) ? 1 : 0;
    case ChannelField::ScanAdd:
        return (r[FlagsA] & 0x04) ? 0 : 1;
    case ChannelField::TransmitStop:
        return (r[FlagsB] & 0x10) ? 1 : 0;
    default:
        return std::nullopt;
    }
}

bool IsChannelEmpty(const ImageTable &image, int channel)
{
    return image[channel][0] == ErasedByte;
}

bool InsideBand(const QString &text, FrequencyBand band)
{
    return InsideBand(NumericValue(text), band);
}

bool InsideBand(double mhz, FrequencyBand band) { return band.lowMHz <= mhz && mhz < band.highMHz; }

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

QString PadFrequencyText(const QString &text)
{
    if (text.size() == 3)
        return (text + QStringLiteral(".0")).leftJustified(9, u'0');
    if (text.size() == 2)
        return (text + QStringLiteral(".0")).leftJustified(8, u'0');
    return text;
}

QString BandLowText(FrequencyBand band) { return PadFrequencyText(NumberText(band.lowMHz)); }

void EraseChannelCells(ImageTable &image, int channel)
{
    for (int c = 0; c < BlockSize; ++c)
        image[channel][c] = ErasedByte;
}

void EraseAllChannels(ImageTable &image)
{
    for (int r = NameRowFirst; r <= NameRowLast; ++r)
        for (int c = 0; c < BlockSize; ++c)
            image[r][c] = ErasedByte;
    for (int n = 1; n <= ChannelCount; ++n)
        EraseChannelCells(image, n);
}

void SetChannelDefaults(ImageTable &image, int channel, const ChannelEditProfile &profile)
{
    auto &r = image[channel];
    r[8] = r[9] = r[10] = r[11] = ErasedByte;
    r[FlagsA] = int16_t(profile.newFlagsA);
    r[FlagsB] = int16_t(profile.newFlagsB);
    r[14] = r[15] = ErasedByte;
}
