#include "WritePreparation.h"

#include "Globals.h"
#include "ImageChanges.h"
#include "ImageRoutines.h"

std::optional<BilingualText> PrepareWrite(ImageTable &image)
{
    image[OptionRow][1] &= int16_t(~0x10);
    SetPowerOnChannel(image);
    BuildChannelMap(image);
    if (const std::optional<BilingualText> refusal = BandCheckMessage(image))
        return BilingualText{refusal->chinese, refusal->english};
    // Each cell goes out as one byte; a value that does not fit would reach
    // the radio as a different one.
    for (int r = 0; r < WriteBlockCount; ++r)
        for (int c = 0; c < BlockSize; ++c)
            if (image[r][c] < 0 || image[r][c] > 255)
                return BilingualText{
                    QStringLiteral("第 %1 行第 %2 列的数据 %3 超出 0..255 的范围，无法写入对讲机。")
                        .arg(r)
                        .arg(c)
                        .arg(image[r][c]),
                    QStringLiteral("Row %1, column %2 holds %3, which is outside 0..255; "
                                   "the data cannot be written to the radio.")
                        .arg(r)
                        .arg(c)
                        .arg(image[r][c])};
    return std::nullopt;
}

ImageTable PreparedForRadio(const ImageTable &image, std::optional<BilingualText> *refusal)
{
    ImageTable prepared = image;
    const std::optional<BilingualText> answer = PrepareWrite(prepared);
    if (refusal)
        *refusal = answer;
    return prepared;
}

std::optional<BilingualText> PrepareWriteBlocksOf(ImageTable &image, WriteBlocks &blocks)
{
    if (auto refusal = PrepareWrite(image))
        return refusal;
    for (int r = 0; r < WriteBlockCount; ++r)
        for (int c = 0; c < BlockSize; ++c)
            blocks[r][c] = uint8_t(image[r][c]);
    return std::nullopt;
}

std::optional<BilingualText> PrepareWriteBlocks(WriteBlocks &blocks)
{
    std::optional<BilingualText> refusal;
    ImageChanges::instance().completeForWrite(
        [&](ImageTable &image) { refusal = PrepareWriteBlocksOf(image, blocks); });
    return refusal;
}
