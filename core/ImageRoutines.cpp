#include "ImageRoutines.h"

#include "Conversions.h"
#include "Globals.h"
#include "SessionState.h"

#include <cmath>

namespace {

void FillRow(ImageTable &image, int row, int value)
{
    for (int c = 0; c < BlockSize; ++c)
        image[row][c] = int16_t(value);
}

void SetRow(ImageTable &image, int row, std::initializer_list<int> values)
{
    int c = 0;
    for (int v : values)
        image[row][c++] = int16_t(v);
}

void WriteIdentification(ImageTable &image)
{
    const QByteArray ident = QByteArrayLiteral("QL 2712");
    for (int c = 0; c < ident.size(); ++c)
        image[IdentRow][c] = int16_t(ident.at(c));
    image[IdentRow][7] = 2;
}

bool InBand(double f, const BandLimits &limits)
{
    const double whole = std::floor(f);
    return limits.low <= whole && whole <= limits.high;
}

} // namespace

void InitModelTable()
{
    SessionState::instance().setBand(BandTable[ModelIndex], BandTable[ModelIndex + ModelCount]);
}

void StoreModelChoice(ImageTable &image, int position)
{
    if (position < 0 || position >= int(ModelNames.size()))
        return;
    EncodeBandLimits(image, BandTable[position], BandTable[position + 7]);
    const QString vfo = NumberText(BandTable[position]) + QStringLiteral(".625");
    Record::Rx.setCode(image, VfoRow, TextToBcd(vfo));
}

std::optional<int> ModelByName(const QString &name)
{
    const auto plain = [](QString text) { return text.remove(u' ').remove(u'-').toUpper(); };
    for (int m = 0; m < int(ModelNames.size()); ++m)
        if (plain(ModelNames[m]) == plain(name))
            return m;
    return std::nullopt;
}

std::optional<int> ModelByBand(int low, int high)
{
    for (int m = 0; m < int(ModelNames.size()); ++m)
        if (BandTable[m] == low && BandTable[m + 7] == high)
            return m;
    return std::nullopt;
}

void ResetImage(ImageTable &image)
{
    for (int r = 0; r < UsedRows; ++r)
        FillRow(image, r, ErasedByte);
    // VFO: RX 462.01250 MHz, offset 10 MHz, no tones, simplex, High, wide.
    SetRow(image, VfoRow, {0x50, 0x12, 0x20, 0x46, 0, 0, 0, 0x01, 255, 255, 255, 255, 2, 0x20});
    SetRow(image, BandLimitRow, {0x00, 0x40, 0x00, 0x47});
    SetRow(image, OptionRow, {5, 0x71, 0x81, 3, 0, 4, 3, 0, 0, 0, 0, 0, 0});
    SetRow(image, PasswordRow, {255, 255, 255, 255, 19, 16, 23, 23, 26}); // HELLO
    FillRow(image, ChannelMapRow, 0);
    WriteIdentification(image);
    SetRow(image, CalibrationRow, {50, 100, 200});
}

void SetPowerOnChannel(ImageTable &image)
{
    Options::PowerOnChannel.set(image, 0);
    for (int n = 1; n <= ChannelCount; ++n) {
        if (Record::IsProgrammed(image, n)) {
            Options::PowerOnChannel.set(image, n);
            return;
        }
    }
}

void BuildChannelMap(ImageTable &image)
{
    FillRow(image, IdentRow, ErasedByte);
    WriteIdentification(image);
    FillRow(image, ChannelMapRow, ErasedByte);
    for (int n = 1; n <= ChannelCount; ++n) {
        // Bit (n - 1) mod 8 of column (n - 1) div 8, cleared when programmed.
        if (Record::IsProgrammed(image, n))
            CellField{ChannelMapRow, (n - 1) / 8, (n - 1) % 8, 1}.set(image, 0);
    }
}

int CheckVfoBand(const ImageTable &image)
{
    const BandLimits limits = DecodeBandLimits(image);
    if (!InBand(Record::RxMHz(image, VfoRow), limits))
        return 1;
    return InBand(Record::TxMHz(image, VfoRow), limits) ? 0 : 1;
}

int FindChannelOutOfBand(const ImageTable &image)
{
    const BandLimits limits = DecodeBandLimits(image);
    for (int n = 1; n <= ChannelCount; ++n) {
        if (Record::Rx.allErased(image, n))
            continue;
        if (!InBand(Record::RxMHz(image, n), limits) || !InBand(Record::TxMHz(image, n), limits))
            return n;
    }
    return 0;
}

std::optional<BilingualText> BandCheckMessage(const ImageTable &image)
{
    if (CheckVfoBand(image) != 0)
        return BilingualText{QStringLiteral("频率模式下的接收或发射频率超出频率限制范围"),
                             QStringLiteral("Receiving or transmitting frequency that frequency "
                                            "Mode out of frequency limitation range ")};
    // The number runs straight into the English words: "Channel 12that".
    if (const int n = FindChannelOutOfBand(image); n > 0)
        return BilingualText{QStringLiteral("信道 %1 中的接收或发射频率超出频率限制范围").arg(n),
                             QStringLiteral("Channel %1that Receiving or transmitting frequency  "
                                            "out of frequency limitation range ")
                                 .arg(n)};
    return std::nullopt;
}

QString BandText(double low, double high)
{
    return SignedNumberText(low) + QStringLiteral("--") + SignedNumberText(high)
           + QStringLiteral(" MHZ");
}
