#include "RecordCodec.h"

namespace {

int Hi(int b) { return (b >> 4) & 0x0F; }
int Lo(int b) { return b & 0x0F; }

// Erases cells first .. first + count - 1 of a row, then stores the codes
// of the text's first count characters.
void StoreCodes(ImageTable &image, int row, int first, int count, const QString &text)
{
    const QString trimmed = text.trimmed();
    for (int k = 0; k < count; ++k)
        image[row][first + k] = ErasedByte;
    for (int k = 0; k < std::min<int>(count, trimmed.size()); ++k)
        image[row][first + k] = int16_t(CharToCode(QString(trimmed.at(k))));
}

} // namespace

int CellField::get(const ImageTable &image) const
{
    const int value = (image[row][column] & mask()) >> shift;
    return reversed ? last() - value : value;
}

void CellField::set(ImageTable &image, int value) const
{
    int bits = value & last();
    if (reversed)
        bits = last() - bits;
    auto &cell = image[row][column];
    cell = int16_t((cell & ~mask() & 0xFF) | (bits << shift));
}

BcdBytes FrequencyField::code(const ImageTable &image, int row) const
{
    const auto &r = image[row];
    return {uint8_t(r[column + 3]), uint8_t(r[column + 2]), uint8_t(r[column + 1]),
            uint8_t(r[column])};
}

void FrequencyField::setCode(ImageTable &image, int row, const BcdBytes &code) const
{
    auto &r = image[row];
    r[column] = code.B0;
    r[column + 1] = code.B1;
    r[column + 2] = code.B2;
    r[column + 3] = code.B3;
}

QString FrequencyField::text(const ImageTable &image, int row) const
{
    const auto &r = image[row];
    return BcdToText(r[column], r[column + 1], r[column + 2], r[column + 3]);
}

double FrequencyField::mhz(const ImageTable &image, int row) const
{
    return CellsFrequency(image, row, column);
}

QString FrequencyField::store(ImageTable &image, int row, const QString &text) const
{
    return StoreFrequency(image, text, row, column);
}

void FrequencyField::fill(ImageTable &image, int row, int value) const
{
    for (int c = column; c < column + 4; ++c)
        image[row][c] = int16_t(value);
}

bool FrequencyField::allErased(const ImageTable &image, int row) const
{
    for (int c = column; c < column + 4; ++c)
        if (image[row][c] != ErasedByte)
            return false;
    return true;
}

bool FrequencyField::anyErased(const ImageTable &image, int row) const
{
    for (int c = column; c < column + 4; ++c)
        if (image[row][c] == ErasedByte)
            return true;
    return false;
}

ToneCode ToneField::get(const ImageTable &image, int row) const
{
    return {image[row][typeColumn], image[row][typeColumn + 1]};
}

void ToneField::set(ImageTable &image, int row, ToneCode tone) const
{
    image[row][typeColumn] = int16_t(tone.type);
    image[row][typeColumn + 1] = int16_t(tone.index);
}

bool ToneField::isOff(const ImageTable &image, int row) const
{
    const ToneCode tone = get(image, row);
    return tone.type == ErasedByte || tone.index == ErasedByte;
}

int ToneField::position(const ImageTable &image, int row) const
{
    const ToneCode tone = get(image, row);
    return TonePosition(tone.type, tone.index);
}

void ToneField::setPosition(ImageTable &image, int row, int position) const
{
    set(image, row, ToneFromPosition(position));
}

namespace Record {

bool IsEmpty(const ImageTable &image, int row) { return image[row][Rx.column] == ErasedByte; }

bool IsProgrammed(const ImageTable &image, int row) { return !Rx.anyErased(image, row); }

int ShiftDirection(const ImageTable &image, int row)
{
    const int d = Shift.get(image, row);
    return d > 2 ? 0 : d;
}

double RxMHz(const ImageTable &image, int row) { return Rx.mhz(image, row); }

double TxMHz(const ImageTable &image, int row)
{
    const double rx = RxMHz(image, row);
    switch (ShiftDirection(image, row)) {
    case 1:
        return rx + Offset.mhz(image, row);
    case 2:
        return rx - Offset.mhz(image, row);
    default:
        return rx;
    }
}

void Erase(ImageTable &image, int row)
{
    for (int c = 0; c < BlockSize; ++c)
        image[row][c] = ErasedByte;
}

} // namespace Record

namespace Options {

QString Password(const ImageTable &image)
{
    QString text;
    for (int c = 0; c < PasswordLength; ++c) {
        const int cell = image[PasswordRow][c];
        if (cell >= 0 && cell <= 9)
            text += QString::number(cell);
    }
    return text;
}

void SetPassword(ImageTable &image, const QString &text)
{
    StoreCodes(image, PasswordRow, 0, PasswordLength, text);
}

QString Message(const ImageTable &image)
{
    QString text;
    for (int c = MessageColumn; c < MessageColumn + MessageLength; ++c)
        text += CodeToChar(image[PasswordRow][c]);
    return text;
}

void SetMessage(ImageTable &image, const QString &text)
{
    StoreCodes(image, PasswordRow, MessageColumn, MessageLength, text);
}

} // namespace Options

BandLimits DecodeBandLimits(const ImageTable &image)
{
    const auto &r = image[BandLimitRow];
    return {100 * Hi(r[1]) + 10 * Lo(r[1]) + Hi(r[0]), 100 * Hi(r[3]) + 10 * Lo(r[3]) + Hi(r[2])};
}

void EncodeBandLimits(ImageTable &image, int low, int high)
{
    // Units digit in the high nibble of the first cell, hundreds and tens
    // in the second; the masks keep a cell a byte whatever the caller gives.
    auto encode = [&image](int f, int column) {
        const int d2 = f / 100;
        const int d1 = (f - 100 * d2) / 10;
        const int d0 = f - 100 * d2 - 10 * d1;
        image[BandLimitRow][column] = int16_t((16 * d0) & 0xFF);
        image[BandLimitRow][column + 1] = int16_t((16 * d2 + d1) & 0xFF);
    };
    encode(low, 0);
    encode(high, 2);
}
