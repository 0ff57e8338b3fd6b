// The power session in virtual time against the simulated radio: the
// levels from the identification, frames asked for while the link is up,
// the link watch and the leave byte.
#include "Globals.h"
#include "ImageRoutines.h"
#include "VirtualLink.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using State = RadioLink::State;

constexpr int PowerAddress = CalibrationRow * 16;
const QByteArray Leave(1, 'b');

// A radio whose power block starts 0x30 0x50 0x70 1, the rest counting.
RadioMemory PowerMemory()
{
    RadioMemory memory = DefaultRadioMemory();
    const uint8_t block[16] = {0x30, 0x50, 0x70, 1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    std::copy(std::begin(block), std::end(block), memory.begin() + PowerAddress);
    return memory;
}

class PowerEngine : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }

    // The window opens; its link connects at once.
    void open(VirtualPower &link, SimFaults faults = {})
    {
        link.attachRadio(PowerMemory(), faults);
        link.engine.windowOpened();
    }
    bool linked(VirtualPower &link, double limitMs = 1000)
    {
        return link.runUntil([&] { return link.engine.state() == State::Linked; }, limitMs);
    }
};

TEST_F(PowerEngine, TheIdentificationsLevelsGoIntoTheFirstFrameAndTheLinkStaysUp)
{
    VirtualPower link;
    open(link);
    EXPECT_TRUE(link.writes.empty());
    link.advance(15);
    ASSERT_EQ(link.allSent(), RadioLink::Handshake());
    EXPECT_TRUE(link.lastOpenDiscardedOutput);
    ASSERT_TRUE(linked(link));

    ASSERT_EQ(link.reports.size(), 1u);
    EXPECT_EQ(link.reports[0], (PowerLevels{48, 80, 112}));
    EXPECT_EQ(RadioData[CalibrationRow][0], 0x30);
    EXPECT_EQ(RadioData[CalibrationRow][2], 0x70);
    EXPECT_EQ(RadioData[CalibrationRow][3], 2); // all three moved from 0; high last
    const auto frames = link.powerFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], PowerFrame(CalibrationBlock(RadioData)));
    EXPECT_EQ(frames[0].mid(5, 3), QByteArray("\x30\x50\x70", 3));
    EXPECT_EQ(link.radio->counters().powerFrames, 1);

    // Acknowledged: port open, nothing in flight, only the watch runs.
    EXPECT_TRUE(link.engine.linkUp());
    EXPECT_FALSE(link.engine.busy());
    EXPECT_EQ(link.linkedCount, 1);
    for (int t = SendTrigger; t <= RetryDelay; ++t)
        EXPECT_FALSE(link.timers[t].running) << t;
    EXPECT_TRUE(link.timers[ClosePoll].running);

    // A radio that keeps answering keeps the window: nothing more is sent.
    link.advance(10000);
    EXPECT_TRUE(link.closeTimes.empty());
    EXPECT_EQ(link.writes.size(), 2u);
    EXPECT_EQ(link.radio->counters().ignored, 0);
}

// The high level is moved to 200 at each moment of the session: before the
// identification nothing is sent and the radio's value replaces the move;
// afterwards exactly the frames needed carry it.
TEST_F(PowerEngine, AFrameAskedForLeavesOnlyOnceTheRadioHasIdentifiedItself)
{
    const struct {
        const char *moment;
        State at;
        int frames;
        int high; // in the radio and the image afterwards
    } cases[] = {
        {"before the handshake leaves", State::Handshake, 1, 0x70},
        {"waiting for the identification", State::Identifying, 1, 0x70},
        {"first frame not yet sent", State::FrameQueued, 1, 200},
        {"first frame awaiting its acknowledge", State::AwaitingReply, 2, 200},
        {"linked", State::Linked, 2, 200},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.moment);
        ResetGlobals();
        VirtualPower link;
        open(link);
        ASSERT_TRUE(link.runUntil([&] { return link.engine.state() == c.at; }, 1000));
        // The high slider moved, as the window stores it.
        ImageChanges::instance().apply(ChangeKind::PowerCalibration,
                                       [](ImageTable &image) { StorePowerLevel(image, 2, 200); });
        link.engine.sendNow();
        link.advance(2000);
        EXPECT_EQ(link.engine.state(), State::Linked);
        EXPECT_EQ(link.powerFrames().size(), size_t(c.frames));
        EXPECT_EQ(link.radio->memory()[PowerAddress + 2], c.high);
        EXPECT_EQ(RadioData[CalibrationRow][2], c.high);
        EXPECT_EQ(link.radio->counters().powerFrames, c.frames);
    }
}

TEST_F(PowerEngine, NothingIsSentOnceTheAttemptHasEnded)
{
    SimFaults faults;
    faults.noAckBlock = CalibrationRow;
    VirtualPower link;
    open(link, faults);
    ASSERT_TRUE(link.runUntil([&] { return link.engine.state() == State::RetryWait; }, 2000));
    EXPECT_TRUE(link.engine.handshaken()); // until the next attempt
    const size_t writes = link.writes.size();
    link.engine.sendNow();
    link.advance(100);
    EXPECT_EQ(link.writes.size(), writes);
}

// When the watch closes the window, and whether the radio is told to leave.
TEST_F(PowerEngine, TheWatchClosesTheWindowAtTheFirstTickWithTheLinkDown)
{
    const struct {
        const char *why;
        std::function<void(VirtualPower &, SimFaults &)> arrange;
        double closedAt;
        bool leaveSent;
        double hangUpAt = -1; // the line goes down once linked
    } cases[] = {
        {"silent radio", [](VirtualPower &, SimFaults &f) { f.silent = true; }, 500, true},
        {"wrong identification", [](VirtualPower &, SimFaults &f) { f.wrongIdent = true; }, 500,
         true},
        {"identification starting too late",
         [](VirtualPower &, SimFaults &f) { f.identOffset = 5; }, 500, true},
        {"port cannot be opened", [](VirtualPower &l, SimFaults &) { l.openFails = true; }, 500,
         false},
        {"acknowledge missing", [](VirtualPower &, SimFaults &f) { f.noAckBlock = CalibrationRow; },
         1500, false},
        {"acknowledge refused", [](VirtualPower &, SimFaults &f) { f.nakBlock = CalibrationRow; },
         1500, false},
        {"line down while linked", [](VirtualPower &, SimFaults &) {}, 2000, false, 1700},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        ResetGlobals();
        VirtualPower link;
        SimFaults faults;
        c.arrange(link, faults);
        open(link, faults);
        if (c.hangUpAt >= 0) {
            ASSERT_TRUE(linked(link));
            link.advance(c.hangUpAt - link.now);
            link.hangUp();
        }
        ASSERT_TRUE(link.runUntil([&] { return !link.closeTimes.empty(); }, 5000));
        EXPECT_EQ(link.closeTimes[0], c.closedAt);
        EXPECT_EQ(!link.writes.empty() && link.writes.back().bytes == Leave, c.leaveSent);
        EXPECT_EQ(link.countSent(Leave), int(c.leaveSent));
        EXPECT_FALSE(link.portOpen);
        EXPECT_FALSE(link.engine.busy());
        for (int t = SendTrigger; t <= ClosePoll; ++t)
            EXPECT_FALSE(link.timers[t].running) << t;
        EXPECT_EQ(link.messages.size(), size_t(link.openFails)); // only the port error is shown
    }
}

TEST_F(PowerEngine, CloseIsNeverRefusedAndTellsAConnectedRadioToLeave)
{
    const struct {
        const char *moment;
        State at;
    } cases[] = {
        {"waiting for the identification", State::Identifying},
        {"frame awaiting its acknowledge", State::AwaitingReply},
        {"linked", State::Linked},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.moment);
        ResetGlobals();
        VirtualPower link;
        open(link);
        ASSERT_TRUE(link.runUntil([&] { return link.engine.state() == c.at; }, 1000));
        EXPECT_TRUE(link.engine.closeRequested());
        EXPECT_EQ(link.writes.back().bytes, Leave);
        EXPECT_FALSE(link.radio->linked()); // it has left the programming mode
        EXPECT_FALSE(link.portOpen);
        EXPECT_FALSE(link.engine.handshaken());
        EXPECT_TRUE(link.messages.empty());
        link.advance(10000); // no timer is left to act
        EXPECT_EQ(link.countSent(Leave), 1);
        EXPECT_TRUE(link.closeTimes.empty());
        EXPECT_EQ(link.opens, 1);
    }
    // Not connected: nothing to leave.
    VirtualPower closed;
    closed.openFails = true;
    closed.engine.windowOpened();
    EXPECT_TRUE(closed.engine.closeRequested());
    EXPECT_TRUE(closed.writes.empty());
}

TEST(PowerLevelsRule, EveryLevelIsStoredAndTheLastOneThatChangedCountsAsMoved)
{
    const struct {
        PowerLevels levels, before;
        int lastAdjusted;
    } cases[] = {
        {{48, 80, 112}, {0, 0, 0}, 2},
        {{48, 0, 0}, {0, 0, 0}, 0},
        {{48, 80, 0}, {0, 0, 0}, 1},
        {{0, 80, 112}, {0, 80, 0}, 2},
        {{5, 80, 112}, {0, 80, 112}, 0},
        {{0, 0, 0}, {0, 0, 0}, 255}, // nothing moved: left as it was
    };
    auto image = std::make_unique<ImageTable>();
    for (const auto &c : cases) {
        ResetImage(*image);
        const auto before = (*image)[CalibrationRow];
        StorePowerLevels(*image, c.levels, c.before);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ((*image)[CalibrationRow][k], c.levels[k]);
        EXPECT_EQ((*image)[CalibrationRow][3], c.lastAdjusted);
        for (int col = 4; col < ImageColumns; ++col)
            EXPECT_EQ((*image)[CalibrationRow][col], before[col]);
    }
    StorePowerLevel(*image, 1, 7);
    EXPECT_EQ((*image)[CalibrationRow][1], 7);
    EXPECT_EQ((*image)[CalibrationRow][3], 1);
}

} // namespace
