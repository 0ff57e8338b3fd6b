#include "IdentifyExchange.h"

namespace {

constexpr int ReplyLength = 21;

} // namespace

ExchangeRules IdentifyExchange::rules() const
{
    ExchangeRules rules;
    rules.strictFraming = true;
    return rules;
}

QByteArray IdentifyExchange::begin(const ReceiveBuffer &)
{
    return QByteArray(1, AckByte) + BlockFrameHead('R', 0);
}

ReplyStep IdentifyExchange::takeReply(QByteArray &waiting)
{
    if (waiting.size() < ReplyLength)
        return {};
    waiting.remove(0, ReplyLength);
    return {ReplyStep::Last, QByteArray(1, AckByte)};
}
