#include "VfoRules.h"

#include "Conversions.h"

VfoTransmit TransmitFor(const QString &receiveText, const QString &offsetText, int shift,
                        FrequencyBand band)
{
    if (shift != ShiftPosition::Plus && shift != ShiftPosition::Minus)
        return {true, receiveText};
    const double rx = NumericValue(receiveText);
    const double offset = NumericValue(offsetText);
    const double tx = shift == ShiftPosition::Plus ? rx + offset : rx - offset;
    if (!InsideBand(tx, band))
        return {false, receiveText};
    return {true, NumberText(tx)};
}

bool ReceiveTooLong(const QString &text) { return text.size() > ReceiveMaxLength; }

bool ReceiveAccepted(const QString &text, FrequencyBand band)
{
    return !ReceiveTooLong(text) && InsideBand(text, band);
}

void StoreVfoReceive(ImageTable &image, const QString &text)
{
    Record::Rx.setCode(image, VfoRow, TextToBcd(text));
    Record::Shift.set(image, VfoRow, ShiftPosition::Off);
}

bool OffsetClearedWhileTyping(const QString &text) { return NumericValue(text) >= 70; }

OffsetLeave LeaveOffset(const QString &text)
{
    if (text.size() > OffsetMaxLength)
        return OffsetLeave::Clear;
    // The largest offset the radio takes is 69.9875 MHz.
    if (NumericValue(text) > 69.9875)
        return OffsetLeave::KeepTyping;
    return OffsetLeave::Store;
}

void StoreVfoOffset(ImageTable &image, const QString &text, EmptyOffset empty)
{
    if (text.trimmed().isEmpty() && empty == EmptyOffset::Erase)
        Record::Offset.fill(image, VfoRow, ErasedByte);
    else
        Record::Offset.setCode(image, VfoRow, TextToBcd(text));
}

std::optional<ShownTone> ShownVfoTone(const ImageTable &image, const ToneField &tone)
{
    const int position = tone.position(image, VfoRow);
    if (position < 0)
        return std::nullopt;
    return ShownTone{position, position > ToneDcsNormalLast};
}

bool StoreVfoTone(ImageTable &image, const ToneField &tone, int position)
{
    tone.setPosition(image, VfoRow, position);
    return position > ToneDcsNormalLast;
}
