// The read: blocks 0..253 requested one by one, each 21-byte reply
// acknowledged, its 16 data bytes kept in a block buffer. The image is not
// touched: whoever started the read stores a completed one (StoreBlocks).
#pragma once

#include "Globals.h"
#include "LinkExchange.h"

using ReadBlocks = std::array<RadioBlock, ReadBlockCount>;

class ReadExchange : public LinkExchange {
public:
    // Blocks 0..blockCount - 1 are requested; the read takes them all.
    explicit ReadExchange(int blockCount = ReadBlockCount);

    ExchangeRules rules() const override;
    void restart() override;
    QByteArray begin(const ReceiveBuffer &identification) override;
    ReplyStep takeReply(QByteArray &waiting) override;
    QByteArray nextFrame(LinkView &view) override;
    Completion complete(LinkView &view) override;

    // Number of the next block to request; the reply in hand is for the
    // block before it.
    int blockCounter() const { return blockCounter_; }
    const ReadBlocks &blocks() const { return blocks_; }
    int blockCount() const { return blockCount_; }

private:
    int blockCount_;
    ReadBlocks blocks_{};
    int blockCounter_ = 0;
};

// Rows 0..253, columns 0..15 of the image from the blocks read; every
// other cell keeps its value.
void StoreBlocks(const ReadBlocks &blocks, ImageTable &image);
