// Rules of the connection that hold whatever the exchange: where a byte
// that no reply expects is dropped and where it ends the attempt, and that
// the engine leaves the shared globals to its owners.
#include "Globals.h"
#include "VirtualLink.h"

#include <gtest/gtest.h>

namespace {

using State = RadioLink::State;

RadioMemory CountingMemory()
{
    RadioMemory memory{};
    for (int a = 0; a < RadioMemorySize; ++a)
        memory[a] = uint8_t(a % 251);
    return memory;
}

// Runs to the state (with at least afterBlocks as the exchange's counter),
// lets one noise byte arrive, and returns the state it leads to. Either way
// the transfer completes: at once, or on the retry.
template<class Link> State StateAfterAStrayByte(Link &link, State at, int afterBlocks)
{
    link.attachRadio(CountingMemory(), {}, false);
    link.engine.windowOpened();
    link.engine.startPressed();
    EXPECT_TRUE(link.runUntil(
        [&] { return link.engine.state() == at && link.exchange.blockCounter() >= afterBlocks; },
        30000));
    link.deliver(QByteArray(1, char(0xA5)));
    const State after = link.engine.state();
    EXPECT_TRUE(link.runUntil([&] { return link.engine.done(); }, 40000));
    EXPECT_EQ(link.radio->counters().handshakes, 1 + (after == State::RetryWait));
    return after;
}

TEST(Connection, AStrayByteEndsTheAttemptOnlyWhereItWouldShiftAReadsReplies)
{
    const struct {
        const char *moment;
        bool write;
        State at;
        int afterBlocks;
        State expected;
    } cases[] = {
        {"read, before the first request", false, State::FrameQueued, 1, State::FrameQueued},
        {"read, before the next request", false, State::FrameQueued, 2, State::RetryWait},
        {"read, after the last reply", false, State::Settling, 254, State::RetryWait},
        {"write, before the first frame", true, State::FrameQueued, 1, State::FrameQueued},
        {"write, before the next frame", true, State::FrameQueued, 2, State::FrameQueued},
        {"write, waiting for an acknowledge", true, State::AwaitingReply, 5, State::AwaitingReply},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.moment);
        ResetGlobals();
        if (c.write) {
            VirtualWrite link;
            EXPECT_EQ(StateAfterAStrayByte(link, c.at, c.afterBlocks), c.expected);
        } else {
            VirtualRead link;
            EXPECT_EQ(StateAfterAStrayByte(link, c.at, c.afterBlocks), c.expected);
        }
    }
}

// A port that another window of ours holds (the power window opened during
// a read, a read started while the power window is linked) is no port
// fault: each task says a transfer is in progress, starts nothing, leaves
// the port flag alone; the power window then closes at its first watch.
template<class Link> void OpenOnAPortHeldHere(Link &link, bool startButton)
{
    link.openFails = true;
    link.failure.device = QStringLiteral("/dev/virtual");
    link.failure.reason = QStringLiteral("Permission error while locking the device");
    link.failure.inUse = true;
    link.failure.heldHere = true;
    link.engine.windowOpened();
    if (startButton)
        link.engine.startPressed();
    ASSERT_EQ(link.messages.size(), 1u);
    EXPECT_EQ(link.messages[0].message.text.chinese, QStringLiteral("正在与对讲机进行读写操作 ！"));
    EXPECT_EQ(link.messages[0].message.text.english,
              QStringLiteral("Read-write operating with transceiver ."));
    EXPECT_TRUE(link.portOpenings.empty());
    EXPECT_FALSE(link.engine.busy());
    EXPECT_FALSE(link.engine.timerRunning(RetryDelay));
    link.advance(30000);
    EXPECT_EQ(link.opens, 1);
    EXPECT_EQ(link.messages.size(), 1u);
    EXPECT_TRUE(link.writes.empty());
}

TEST(Connection, APortHeldByAnotherOfOurWindowsSaysATransferIsInProgress)
{
    ResetGlobals();
    {
        SCOPED_TRACE("read");
        VirtualRead read;
        OpenOnAPortHeldHere(read, true);
        EXPECT_EQ(read.endings, std::vector<bool>{false});
        EXPECT_TRUE(read.closeTimes.empty());
        EXPECT_TRUE(read.engine.closeRequested());
    }
    {
        SCOPED_TRACE("write");
        VirtualWrite write;
        OpenOnAPortHeldHere(write, true);
        EXPECT_TRUE(write.closeTimes.empty());
    }
    {
        SCOPED_TRACE("power");
        VirtualPower power;
        OpenOnAPortHeldHere(power, false);
        EXPECT_EQ(power.closeTimes, std::vector<double>{500});
    }
}

// The read hands its blocks over, the write sends the blocks it is given,
// and the port error is reported to the view: the image and the port flag
// belong to the windows.
TEST(Connection, TheEngineLeavesTheSharedGlobalsAlone)
{
    ResetGlobals();
    PortErrorFlag = true;
    const ImageTable before = RadioData;
    const RadioMemory memory = CountingMemory();

    VirtualRead read;
    read.storeReadInImage = false;
    read.attachRadio(memory, {}, false);
    read.engine.windowOpened();
    read.engine.startPressed();
    ASSERT_TRUE(read.runUntil([&] { return read.engine.done(); }, 30000));
    EXPECT_EQ(read.exchange.blocks()[253][15], memory[253 * 16 + 15]);

    WriteBlocks given{};
    for (int b = 0; b < WriteBlockCount; ++b)
        given[b].fill(uint8_t(b));
    VirtualLink<WriteExchange> write([&given](WriteBlocks &blocks) {
        blocks = given;
        return std::optional<BilingualText>{};
    });
    write.attachRadio(RadioMemory{}, {}, false);
    write.engine.windowOpened();
    write.engine.startPressed();
    ASSERT_TRUE(write.runUntil([&] { return write.engine.done(); }, 30000));
    for (int a = 0; a < WriteBlockCount * 16; ++a)
        ASSERT_EQ(write.radio->memory()[a], a / 16);

    VirtualRead failing;
    failing.openFails = true;
    failing.engine.startPressed();
    EXPECT_EQ(failing.portOpenings, std::vector<bool>{false});

    EXPECT_TRUE(RadioData == before);
    EXPECT_TRUE(PortErrorFlag);
}

} // namespace
