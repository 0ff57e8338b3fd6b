#include "ReadExchange.h"

#include <algorithm>

namespace {

constexpr int ReplyLength = 21;
constexpr int HeaderLength = 5; // not examined
constexpr int ReadPollMs = 200;

} // namespace

ReadExchange::ReadExchange(int blockCount) : blockCount_(std::clamp(blockCount, 1, ReadBlockCount))
{ }

ExchangeRules ReadExchange::rules() const
{
    ExchangeRules rules;
    rules.strictFraming = true;
    rules.closePollFromOpeningMs = ReadPollMs;
    return rules;
}

void ReadExchange::restart() { blockCounter_ = 0; }

QByteArray ReadExchange::begin(const ReceiveBuffer &)
{
    blockCounter_ = 1;
    return QByteArray(1, AckByte) + BlockFrameHead('R', 0);
}

ReplyStep ReadExchange::takeReply(QByteArray &waiting)
{
    if (waiting.size() < ReplyLength)
        return {};
    RadioBlock &block = blocks_[blockCounter_ - 1];
    for (int i = 0; i < BlockSize; ++i)
        block[i] = uint8_t(waiting.at(HeaderLength + i));
    waiting.remove(0, ReplyLength);
    return {blockCounter_ >= blockCount_ ? ReplyStep::Last : ReplyStep::Taken,
            QByteArray(1, AckByte)};
}

QByteArray ReadExchange::nextFrame(LinkView &view)
{
    const QByteArray frame = BlockFrameHead('R', blockCounter_);
    ++blockCounter_;
    // The read counts its 254 blocks out of 255, as it always has.
    view.setProgress(Percent(blockCounter_, blockCount_ + 1));
    const QString n = QString::number(blockCounter_);
    view.setStatus({QStringLiteral("正在读取 ") + n + QStringLiteral(" 数据块"),
                    QStringLiteral("Reading ") + n + QStringLiteral(" Data Block")});
    return frame;
}

Completion ReadExchange::complete(LinkView &view)
{
    view.setProgress(100);
    view.setStatus({QStringLiteral("数据读出正常 ！"), QStringLiteral("Read Data in gear. ")});
    return {{},
            PromptMessage{{QStringLiteral("从对讲机中读取数据完毕 ！"),
                           QStringLiteral("Complete reading the data from transceiver.")},
                          PromptTitle::CapitalPrompt}};
}

void StoreBlocks(const ReadBlocks &blocks, ImageTable &image)
{
    for (int r = 0; r < ReadBlockCount; ++r)
        for (int c = 0; c < BlockSize; ++c)
            image[r][c] = int16_t(blocks[r][c]);
}
