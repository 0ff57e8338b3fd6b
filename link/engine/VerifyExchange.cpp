#include "VerifyExchange.h"

VerifyExchange::VerifyExchange() : ReadExchange(WriteBlockCount) { }

// The window stays open with its result; nothing unloads it when done.
ExchangeRules VerifyExchange::rules() const
{
    ExchangeRules rules = ReadExchange::rules();
    rules.closePollFromOpeningMs = 0;
    return rules;
}

Completion VerifyExchange::complete(LinkView &view)
{
    view.setProgress(100);
    view.setStatus(
        {QStringLiteral("对讲机数据已读回 ！"), QStringLiteral("Radio data read back. ")});
    return {};
}

namespace {

// Rows 0..239 from blocks, every other row erased.
template<typename Blocks> ImageTable FirstRows(const Blocks &blocks)
{
    ImageTable image{};
    for (auto &row : image)
        row.fill(int16_t(ErasedByte));
    for (int r = 0; r < WriteBlockCount; ++r)
        for (int c = 0; c < BlockSize; ++c)
            image[r][c] = int16_t(blocks[r][c]);
    return image;
}

} // namespace

ImageTable VerifiedRows(const ReadBlocks &blocks) { return FirstRows(blocks); }

ImageTable WrittenRows(const WriteBlocks &blocks) { return FirstRows(blocks); }
