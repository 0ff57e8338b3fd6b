#include "ImageRoutines.h"

#include "Conversions.h"
#include "Globals.h"

#include <cmath>

namespace {

void FillRow(int row, int value)
{
    for (int c = 0; c < BlockSize; ++c)
        RadioData[row][c] = int16_t(value);
}

void SetRow(int row, std::initializer_list<int> values)
{
    int c = 0;
    for (int v : values)
        RadioData[row][c++] = int16_t(v);
}

void WriteIdentification()
{
    const QByteArray ident = QByteArrayLiteral("QL 2712");
    for (int c = 0; c < ident.size(); ++c)
        RadioData[IdentRow][c] = int16_t(ident.at(c));
    RadioData[IdentRow][7] = 2;
}

int Hi(int b) { return (b >> 4) & 0x0F; }
int Lo(int b) { return b & 0x0F; }

bool InBand(double f, const BandLimits &limits)
{
    const double whole = std::floor(f);
    return limits.low <= whole && whole <= limits.high;
}

} // namespace

void InitModelTable()
{
    ModelNames = {QStringLiteral("QL540 UHF"), QStringLiteral("QL540 VHF"),
                  QStringLiteral("VM90 UHF1"), QStringLiteral("VM90 UHF2"),
                  QStringLiteral("VM90 UHF3"), QStringLiteral("VM90 UHF4"),
                  QStringLiteral("VM90 FULL")};
    const int lower[7] = {400, 136, 136, 244, 350, 450, 100};
    const double upper[7] = {470.0005, 174.0005, 174.9875, 246.9875,
                             390.9875, 520.9875, 600.9875};
    for (int m = 0; m < 7; ++m) {
        BandTable[m] = int16_t(lower[m]);
        BandTable[m + 7] = int16_t(std::lround(upper[m]));
    }
    BandLowMHz = BandTable[ModelIndex];
    BandHighMHz = BandTable[ModelIndex + 7];
}

void ResetImage()
{
    for (int r = 0; r < UsedRows; ++r)
        FillRow(r, ErasedByte);
    // VFO: RX 462.01250 MHz, offset 10 MHz, no tones, simplex, High, wide.
    SetRow(VfoRow, {0x50, 0x12, 0x20, 0x46, 0, 0, 0, 0x01, 255, 255, 255, 255, 2, 0x20});
    SetRow(BandLimitRow, {0x00, 0x40, 0x00, 0x47});
    const BandLimits limits = DecodeBandLimits();
    BandLowMHz = limits.low;
    BandHighMHz = limits.high;
    SetRow(OptionRow, {5, 0x71, 0x81, 3, 0, 4, 3, 0, 0, 0, 0, 0, 0});
    SetRow(PasswordRow, {255, 255, 255, 255, 19, 16, 23, 23, 26}); // HELLO
    FillRow(ChannelMapRow, 0);
    WriteIdentification();
    SetRow(CalibrationRow, {50, 100, 200});
}

bool IsProgrammed(int channel)
{
    for (int c = 0; c < 4; ++c)
        if (RadioData[channel][c] == ErasedByte)
            return false;
    return true;
}

void SetPowerOnChannel()
{
    RadioData[OptionRow][12] = 0;
    for (int n = 1; n <= ChannelCount; ++n) {
        if (IsProgrammed(n)) {
            RadioData[OptionRow][12] = int16_t(n);
            return;
        }
    }
}

void BuildChannelMap()
{
    FillRow(IdentRow, ErasedByte);
    WriteIdentification();
    FillRow(ChannelMapRow, ErasedByte);
    for (int n = 1; n <= ChannelCount; ++n) {
        if (IsProgrammed(n)) {
            const int column = (n - 1) / 8;
            const int bit = (n - 1) % 8;
            RadioData[ChannelMapRow][column] &= int16_t(~(1 << bit) & 0xFF);
        }
    }
}

BandLimits DecodeBandLimits()
{
    const auto &r = RadioData[BandLimitRow];
    return {100 * Hi(r[1]) + 10 * Lo(r[1]) + Hi(r[0]), 100 * Hi(r[3]) + 10 * Lo(r[3]) + Hi(r[2])};
}

void EncodeBandLimits(int low, int high)
{
    auto encode = [](int f, int column) {
        const int d2 = f / 100;
        const int d1 = (f - 100 * d2) / 10;
        const int d0 = f - 100 * d2 - 10 * d1;
        RadioData[BandLimitRow][column] = int16_t(16 * d0);
        RadioData[BandLimitRow][column + 1] = int16_t(16 * d2 + d1);
    };
    encode(low, 0);
    encode(high, 2);
}

int ShiftDirection(int row)
{
    const int d = (RadioData[row][12] & 0xC0) / 64;
    return d > 2 ? 0 : d;
}

double RecordRx(int row) { return CellsFrequency(row, 0); }

double RecordTx(int row)
{
    const double rx = RecordRx(row);
    switch (ShiftDirection(row)) {
    case 1:
        return rx + CellsFrequency(row, 4);
    case 2:
        return rx - CellsFrequency(row, 4);
    default:
        return rx;
    }
}

int CheckVfoBand()
{
    const BandLimits limits = DecodeBandLimits();
    if (!InBand(RecordRx(VfoRow), limits))
        return 1;
    return InBand(RecordTx(VfoRow), limits) ? 0 : 1;
}

int FindChannelOutOfBand()
{
    const BandLimits limits = DecodeBandLimits();
    for (int n = 1; n <= ChannelCount; ++n) {
        bool allErased = true;
        for (int c = 0; c < 4; ++c)
            allErased = allErased && RadioData[n][c] == ErasedByte;
        if (allErased)
            continue;
        if (!InBand(RecordRx(n), limits) || !InBand(RecordTx(n), limits))
            return n;
    }
    return 0;
}

QString BandText(double low, double high)
{
    return SignedNumberText(low) + QStringLiteral("--") + SignedNumberText(high) +
           QStringLiteral(" MHZ");
}

void CopyNameAreaToCodes()
{
    for (int k = 0; k < NameAreaSize; ++k)
        NameCodes[k] = RadioData[NameRowFirst + k / BlockSize][k % BlockSize];
}

void CopyCodesToNameArea()
{
    for (int k = 0; k < NameAreaSize; ++k)
        RadioData[NameRowFirst + k / BlockSize][k % BlockSize] = NameCodes[k];
}
