#include "WriteExchange.h"

namespace {

constexpr char EndOfWrite = 0x45;
constexpr int WritePollMs = 500;

} // namespace

WriteExchange::WriteExchange(Preparation preparation) : preparation_(std::move(preparation)) { }

ExchangeRules WriteExchange::rules() const
{
    ExchangeRules rules;
    rules.discardOutputOnOpen = true;
    rules.closePollAfterCompletionMs = WritePollMs;
    return rules;
}

std::optional<BilingualText> WriteExchange::prepare() { return preparation_(blocks_); }

void WriteExchange::restart() { blockCounter_ = 0; }

QByteArray WriteExchange::frameFor(int block) const
{
    QByteArray frame = BlockFrameHead('W', block);
    for (uint8_t byte : blocks_[block])
        frame.append(char(byte));
    return frame;
}

QByteArray WriteExchange::begin(const ReceiveBuffer &)
{
    blockCounter_ = 1;
    return QByteArray(1, AckByte) + frameFor(0);
}

ReplyStep WriteExchange::takeReply(QByteArray &waiting)
{
    // Anything but an acknowledge is dropped; the reply timeout then ends
    // the attempt.
    while (!waiting.isEmpty()) {
        const char byte = waiting.at(0);
        waiting.remove(0, 1);
        if (byte == AckByte)
            return {blockCounter_ >= WriteBlockCount ? ReplyStep::Last : ReplyStep::Taken, {}};
    }
    return {};
}

QByteArray WriteExchange::nextFrame(LinkView &view)
{
    view.setProgress(Percent(blockCounter_, WriteBlockCount));
    const QString m = QString::number(blockCounter_ - 1); // the block just acknowledged
    view.setStatus({QStringLiteral("正在写入  ") + m + QStringLiteral("  数据块"),
                    QStringLiteral("Writing  ") + m + QStringLiteral("  Data Block")});
    return frameFor(blockCounter_++);
}

Completion WriteExchange::complete(LinkView &view)
{
    view.setStatus({QStringLiteral("数据写入完毕 ！"), QStringLiteral("Complete writing Data ")});
    return {QByteArray(1, EndOfWrite), std::nullopt};
}
