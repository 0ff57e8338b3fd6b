// Asks whether a radio is on the line without changing it: the handshake,
// the identification and block 0, read as the read window reads it, then
// nothing more. The production line uses it to see that a programmed radio
// is still plugged in.
#pragma once

#include "LinkExchange.h"

class IdentifyExchange : public LinkExchange {
public:
    ExchangeRules rules() const override;
    void restart() override { }
    QByteArray begin(const ReceiveBuffer &identification) override;
    ReplyStep takeReply(QByteArray &waiting) override;
    QByteArray nextFrame(LinkView &) override { return {}; }
    Completion complete(LinkView &) override { return {}; }
};
