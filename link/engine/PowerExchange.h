// The power adjustment: a session rather than a transfer. The bytes after
// the identification carry the radio's low, mid and high power values;
// then the power block (row 240) goes out whenever the owner asks, each
// frame acknowledged by 06, and the port stays open between frames. The
// session connects as its window opens, and the window closes as soon as
// the link is down.
#pragma once

#include "Globals.h"
#include "LinkExchange.h"
#include "RecordCodec.h"

#include <functional>

// Low, mid, high.
using PowerLevels = std::array<int, Calibration::LevelCount>;

class PowerExchange : public LinkExchange {
public:
    struct Owner {
        // The radio's values from the identification; the owner stores and
        // shows them before the first frame is built.
        std::function<void(const PowerLevels &reported)> radioReported;
        // The power block as it is to be sent now.
        std::function<RadioBlock()> block;
    };
    explicit PowerExchange(Owner owner);

    ExchangeRules rules() const override;
    void restart() override { }
    QByteArray begin(const ReceiveBuffer &identification) override;
    ReplyStep takeReply(QByteArray &waiting) override;
    // Every acknowledge answers its frame; nothing follows on its own.
    QByteArray nextFrame(LinkView &) override { return {}; }
    QByteArray requestedFrame() override;
    Completion complete(LinkView &) override { return {}; }

private:
    Owner owner_;
};

// 06 67 0F 00 10 and the 16 bytes of the block. The 06 that acknowledged
// the identification leads every power frame, not only the first.
QByteArray PowerFrame(const RadioBlock &block);
// Row 240, columns 0..15.
RadioBlock CalibrationBlock(const ImageTable &image);
// A level's slider moved: its value, and that it was moved last.
void StorePowerLevel(ImageTable &image, int level, int value);
// All three levels, as if their sliders were moved to them in the order
// low, mid, high from the values before: every value is stored, and the
// last level that changed counts as moved last.
void StorePowerLevels(ImageTable &image, const PowerLevels &levels, const PowerLevels &before);
