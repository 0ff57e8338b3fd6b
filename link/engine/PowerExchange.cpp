#include "PowerExchange.h"

namespace {

constexpr int WatchMs = 500;
constexpr int FirstLevelByte = 5; // of the identification, moved to start at 0

} // namespace

PowerExchange::PowerExchange(Owner owner) : owner_(std::move(owner)) { }

ExchangeRules PowerExchange::rules() const
{
    ExchangeRules rules;
    rules.discardOutputOnOpen = true;
    rules.closePollFromOpeningMs = WatchMs;
    rules.startOnOpening = true;
    rules.watchLink = true;
    rules.closesWhileBusy = true;
    rules.leaveBytes = QByteArray(1, 'b');
    return rules;
}

QByteArray PowerExchange::begin(const ReceiveBuffer &identification)
{
    // Taken as they stand, whatever the reply's length: a short reply
    // leaves older bytes there.
    PowerLevels reported;
    for (int k = 0; k < Calibration::LevelCount; ++k)
        reported[k] = identification[FirstLevelByte + k];
    if (owner_.radioReported)
        owner_.radioReported(reported);
    return requestedFrame();
}

ReplyStep PowerExchange::takeReply(QByteArray &waiting)
{
    // Anything but an acknowledge is dropped; without one the reply
    // timeout ends the attempt and the watch closes the window.
    while (!waiting.isEmpty()) {
        const char byte = waiting.at(0);
        waiting.remove(0, 1);
        if (byte == AckByte)
            return {ReplyStep::Answered, {}};
    }
    return {};
}

QByteArray PowerExchange::requestedFrame() { return PowerFrame(owner_.block()); }

QByteArray PowerFrame(const RadioBlock &block)
{
    QByteArray frame(1, AckByte);
    frame += BlockFrameHead('g', CalibrationRow);
    for (uint8_t byte : block)
        frame.append(char(byte));
    return frame;
}

RadioBlock CalibrationBlock(const ImageTable &image)
{
    RadioBlock block{};
    for (int c = 0; c < BlockSize; ++c)
        block[c] = uint8_t(image[CalibrationRow][c]);
    return block;
}

void StorePowerLevel(ImageTable &image, int level, int value)
{
    Calibration::Level(level).set(image, value);
    Calibration::LastAdjusted.set(image, level);
}

void StorePowerLevels(ImageTable &image, const PowerLevels &levels, const PowerLevels &before)
{
    for (int k = 0; k < Calibration::LevelCount; ++k) {
        Calibration::Level(k).set(image, levels[k]);
        if (levels[k] != before[k])
            Calibration::LastAdjusted.set(image, k);
    }
}
