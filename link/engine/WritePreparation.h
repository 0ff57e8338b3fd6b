// Everything the write does to the image before the port is opened: the
// derived regions are completed, then the checks that may refuse the write.
// The write window and the command-line tool share it, messages included.
#pragma once

#include "Language.h"
#include "WriteExchange.h"

#include <optional>

// Clears bit 4 of (208,1), sets the power-on channel, rebuilds the
// identification block and the channel bitmap (these stay in the image even
// when the write is refused), then runs the VFO and channel band checks and
// makes sure every cell of rows 0..239 fits in a byte. Returns the message
// that refuses the write, or nothing when it may go on.
std::optional<BilingualText> PrepareWrite(ImageTable &image);

// Rows 0..239 as a write of this image would leave them in the radio: the
// same preparation on a copy, so the derived rows agree with what was sent.
// A refusal of the band checks comes back in refusal; the rows are prepared
// all the same (the derived rows are complete before the checks run).
ImageTable PreparedForRadio(const ImageTable &image,
                            std::optional<BilingualText> *refusal = nullptr);

// PrepareWrite on the image, then rows 0..239 of it as the blocks to send:
// the preparation the command-line tool gives its write exchange.
std::optional<BilingualText> PrepareWriteBlocksOf(ImageTable &image, WriteBlocks &blocks);
// The same on RadioData, for the write windows: the derived cells it
// completes are no user's change (ImageChanges::completeForWrite).
std::optional<BilingualText> PrepareWriteBlocks(WriteBlocks &blocks);
