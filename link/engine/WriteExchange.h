// The write: blocks 0..239 of a prepared image sent as frames, each
// acknowledged by 06, then the end byte. The image comes from the
// preparation its owner gives it, run at each start.
#pragma once

#include "Globals.h"
#include "LinkExchange.h"

#include <functional>

using WriteBlocks = std::array<RadioBlock, WriteBlockCount>;

class WriteExchange : public LinkExchange {
public:
    // Fills the blocks to send, or refuses the write with a message.
    using Preparation = std::function<std::optional<BilingualText>(WriteBlocks &blocks)>;
    explicit WriteExchange(Preparation preparation);

    ExchangeRules rules() const override;
    std::optional<BilingualText> prepare() override;
    void restart() override;
    QByteArray begin(const ReceiveBuffer &identification) override;
    ReplyStep takeReply(QByteArray &waiting) override;
    QByteArray nextFrame(LinkView &view) override;
    Completion complete(LinkView &view) override;

    // Number of the next block to send.
    int blockCounter() const { return blockCounter_; }

private:
    QByteArray frameFor(int block) const;

    Preparation preparation_;
    WriteBlocks blocks_{};
    int blockCounter_ = 0;
};
