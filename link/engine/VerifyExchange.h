// The verify: the read of blocks 0..239, the blocks a write sends, to
// compare what the radio holds with what a write of the image would leave
// there. It ends without a message of its own: whoever started it compares
// the blocks with the image (which it never touches) and shows the result.
#pragma once

#include "ReadExchange.h"
#include "WriteExchange.h"

class VerifyExchange : public ReadExchange {
public:
    VerifyExchange();
    ExchangeRules rules() const override;
    Completion complete(LinkView &view) override;
};

// Rows 0..239 of an image (the others erased) from the blocks a verify read.
ImageTable VerifiedRows(const ReadBlocks &blocks);
// ... and from the blocks a write sends: what the radio should hold.
ImageTable WrittenRows(const WriteBlocks &blocks);
