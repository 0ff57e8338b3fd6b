// The read sequence of the link engine, in virtual time.
#include "Globals.h"
#include "TestImage.h"
#include "VerifyExchange.h"
#include "VirtualLink.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

RadioMemory PatternMemory()
{
    RadioMemory memory{};
    for (int a = 0; a < RadioMemorySize; ++a)
        memory[a] = uint8_t((a * 7 + a / 16) % 256);
    return memory;
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(char(v));
    return bytes;
}

const QByteArray FirstRequest = Bytes({0x06, 0x52, 0x00, 0x00, 0x10});

bool RowsMatch(const RadioMemory &memory, int firstRow, int lastRow)
{
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = 0; c < 16; ++c)
            if (RadioData[r][c] != memory[r * 16 + c])
                return false;
    return true;
}

class ReadEngine : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }

    // Start pressed and the handshake sent (15 ms later).
    void startAndHandshake(VirtualRead &link)
    {
        link.engine.windowOpened();
        link.engine.startPressed();
        link.advance(15);
        ASSERT_EQ(link.allSent(), RadioLink::Handshake());
    }

    // The first attempt has met a silent radio; its retry delay runs.
    void failFirstAttemptOnASilentRadio(VirtualRead &link)
    {
        SimFaults faults;
        faults.silent = true;
        link.attachRadio(PatternMemory(), faults);
        link.engine.windowOpened();
        link.engine.startPressed();
        link.advance(15 + 1000);
        ASSERT_FALSE(link.engine.busy());
        ASSERT_TRUE(link.engine.timerRunning(RetryDelay));
    }
};

TEST_F(ReadEngine, IdentificationIsFoundAtTheFirstFivePositionsOnly)
{
    for (int offset = 0; offset <= 5; ++offset) {
        VirtualRead link;
        startAndHandshake(link);
        QByteArray reply(offset, 'x');
        reply += "QL271";
        reply += QByteArray(9 - reply.size() > 0 ? 9 - reply.size() : 0, '\0');
        // The identification is judged on the first 9 bytes; a tail that
        // would complete one at position 5 comes too late.
        link.deliver(reply.left(9));
        link.deliver(reply.mid(9));
        EXPECT_EQ(link.engine.handshaken(), offset <= 4) << "offset " << offset;
        if (offset <= 4) {
            EXPECT_EQ(link.engine.rxBuffer()[0], 'Q');
            EXPECT_EQ(link.engine.rxBuffer()[4], '1');
            EXPECT_EQ(link.exchange.blockCounter(), 1);
            link.advance(15);
            EXPECT_EQ(link.writes.back().bytes, FirstRequest);
        }
    }
}

TEST_F(ReadEngine, EightBytesDoNothingAndOldBufferContentsNeverCompleteALateIdentification)
{
    VirtualRead link;
    startAndHandshake(link);
    link.deliver(QByteArray("QL271\x30\x50\x70", 8));
    EXPECT_FALSE(link.engine.handshaken());
    link.deliver(QByteArray(1, '\0'));
    ASSERT_TRUE(link.engine.handshaken());
    EXPECT_EQ(link.engine.rxBuffer()[5], 0x30);
    EXPECT_EQ(link.engine.rxBuffer()[7], 0x70);

    // Next attempt: "QL27" at positions 5..8, the "1" only in the tenth
    // byte. What earlier replies left beyond position 8 does not hold the
    // missing byte, so the attempt is not accepted and times out.
    link.advance(15 + 1000);
    EXPECT_FALSE(link.engine.busy());
    link.advance(5000 + 15);
    ASSERT_EQ(link.engine.retriesLeft(), 2);
    link.deliver(QByteArray("abcdeQL271", 10));
    EXPECT_FALSE(link.engine.handshaken());
    EXPECT_EQ(link.engine.rxBuffer()[9], 0);
}

// Bytes that come in one batch are all waiting when the first 9 are taken:
// the search sees only those 9 and the rest is discarded with them.
TEST_F(ReadEngine, BytesArrivingTogetherWithTheNineAreDiscardedNotSearchedAgain)
{
    VirtualRead link;
    startAndHandshake(link);
    link.deliver(QByteArray(10, 'x') + QByteArray("QL271\0\0\0", 8));
    EXPECT_FALSE(link.engine.handshaken());
    link.advance(1000);
    EXPECT_FALSE(link.engine.busy());

    // Accepted at position 4 of a batch: its tail is dropped, not taken as
    // the start of block 0's reply.
    VirtualRead second;
    startAndHandshake(second);
    second.deliver(QByteArray("xxxxQL271") + QByteArray(21, 'y'));
    ASSERT_TRUE(second.engine.handshaken());
    second.advance(15);
    QByteArray reply = Bytes({0x06, 0x57, 0x00, 0x00, 0x10});
    reply += QByteArray(16, char(0x5A));
    second.deliver(reply);
    EXPECT_EQ(second.exchange.blocks()[0][15], 0x5A);
}

TEST_F(ReadEngine, TwentyWaitingBytesDoNothingTheTwentyFirstTakesTheBlock)
{
    VirtualRead link;
    startAndHandshake(link);
    link.deliver(QByteArray("QL271\x01\x02\x03\x00", 9));
    link.advance(15);
    const size_t writesBefore = link.writes.size();
    QByteArray reply = Bytes({0x06, 0x57, 0x00, 0x00, 0x10});
    for (int i = 0; i < 16; ++i)
        reply.append(char(0xC0 + i));
    link.deliver(reply.left(20));
    EXPECT_EQ(link.writes.size(), writesBefore);
    EXPECT_EQ(link.exchange.blockCounter(), 1);
    link.deliver(reply.mid(20));
    ASSERT_EQ(link.writes.size(), writesBefore + 1);
    EXPECT_EQ(link.writes.back().bytes, Bytes({0x06}));
    EXPECT_EQ(link.exchange.blocks()[0][0], 0xC0);
    EXPECT_EQ(link.exchange.blocks()[0][15], 0xCF);
    EXPECT_EQ(link.exchange.blockCounter(), 2);
    link.advance(15);
    EXPECT_EQ(link.writes.back().bytes, Bytes({0x52, 0x00, 0x10, 0x10}));
    // RadioData changes only when the whole read has completed.
    EXPECT_EQ(RadioData[0][0], 0x50);
}

TEST_F(ReadEngine, FullReadEndsWithBlock253AndFillsTheImage)
{
    VirtualRead link;
    const RadioMemory memory = PatternMemory();
    link.attachRadio(memory);
    SetUpImage([&](ImageTable &image) {
        image[254][3] = 77;
        image[10][20] = 5;
    });
    link.engine.windowOpened();
    link.engine.startPressed();
    ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 30000));

    EXPECT_TRUE(RowsMatch(memory, 0, 253));
    EXPECT_EQ(RadioData[254][3], 77); // never read
    EXPECT_EQ(RadioData[10][20], 5); // beyond the 16 data columns
    EXPECT_EQ(link.radio->counters().blocksRead, 254);
    EXPECT_EQ(link.radio->counters().handshakes, 1);
    EXPECT_EQ(link.countSent(Bytes({0x52, 0x0F, 0xD0, 0x10})), 1);
    EXPECT_EQ(link.countSent(Bytes({0x52, 0x0F, 0xE0, 0x10})), 0);
    EXPECT_EQ(link.writes.back().bytes, Bytes({0x06}));
    EXPECT_FALSE(link.portOpen);

    // Progress: 0 at start, int(N / 255 * 100) for N = 2..254, then 100.
    ASSERT_EQ(link.progress.size(), 1u + 253u + 1u);
    EXPECT_EQ(link.progress.front(), 0);
    EXPECT_EQ(link.progress[1], 0);
    EXPECT_EQ(link.progress[50], 20); // N = 51
    EXPECT_EQ(link.progress[253], 99);
    EXPECT_EQ(link.progress.back(), 100);
    EXPECT_EQ(link.statuses.front().english, "Connecting with transceiver. ");
    EXPECT_EQ(link.statuses[1].chinese, "正在读取 2 数据块");
    EXPECT_EQ(link.statuses[253].english, "Reading 254 Data Block");
    EXPECT_EQ(link.statuses.back().chinese, "数据读出正常 ！");
    EXPECT_EQ(link.statuses.back().english, "Read Data in gear. ");

    ASSERT_EQ(link.messages.size(), 1u);
    EXPECT_EQ(link.messages[0].message.text.english, "Complete reading the data from transceiver.");
    EXPECT_EQ(link.messages[0].message.text.chinese, "从对讲机中读取数据完毕 ！");
    EXPECT_EQ(link.messages[0].message.title, PromptTitle::CapitalPrompt);
    // The close poll, running since the window opened, closes it at its next tick.
    link.advance(200);
    ASSERT_EQ(link.closeTimes.size(), 1u);
    EXPECT_LE(link.closeTimes[0] - link.messages[0].at, 200);
    // At 9600 baud the whole read takes several seconds of line time.
    EXPECT_GT(link.now, 254 * 25 * 1.04);
}

TEST_F(ReadEngine, TimeoutDuringBlock100RestartsAtHandshakeAndBlock0)
{
    VirtualRead link;
    const RadioMemory memory = PatternMemory();
    SimFaults faults;
    faults.noReplyBlock = 100;
    link.attachRadio(memory, faults, false);
    link.engine.windowOpened();
    link.engine.startPressed();
    ASSERT_TRUE(link.runUntil([&] { return !link.engine.busy(); }, 20000));
    EXPECT_FALSE(link.portOpen);
    EXPECT_EQ(link.exchange.blockCounter(), 101);
    EXPECT_EQ(RadioData[0][0], 0x50); // untouched by the failed attempt
    const double timedOutAt = link.now;
    const double lastRequestAt = link.writes.back().at;
    EXPECT_NEAR(timedOutAt - lastRequestAt, 1000, 1);

    ASSERT_TRUE(link.runUntil([&] { return link.engine.busy(); }, 10000));
    EXPECT_NEAR(link.now - timedOutAt, 5000, 1);
    EXPECT_EQ(link.engine.retriesLeft(), 2);
    EXPECT_EQ(link.exchange.blockCounter(), 0);
    ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 30000));
    EXPECT_EQ(link.countSent(RadioLink::Handshake()), 2);
    EXPECT_EQ(link.countSent(FirstRequest), 2);
    EXPECT_EQ(link.opens, 2);
    EXPECT_TRUE(RowsMatch(memory, 0, 253));
}

TEST_F(ReadEngine, SilentRadioGetsFourAttemptsThenTheFailureMessageAfterAbout24s)
{
    VirtualRead link;
    SimFaults faults;
    faults.silent = true;
    link.attachRadio(PatternMemory(), faults);
    const ImageTable before = RadioData;
    link.engine.windowOpened();
    link.engine.startPressed();
    ASSERT_TRUE(link.runUntil([&] { return !link.messages.empty(); }, 60000));
    EXPECT_EQ(link.countSent(RadioLink::Handshake()), 4);
    EXPECT_NEAR(link.messages[0].at, 24060, 100);
    EXPECT_EQ(link.messages[0].message.text.chinese, "与对讲机联络失败 ！");
    EXPECT_EQ(link.messages[0].message.text.english, "Fail connect with transceiver.");
    EXPECT_EQ(link.messages[0].message.title, PromptTitle::Prompt);
    EXPECT_EQ(link.progress.back(), 0);
    EXPECT_EQ(link.statuses.back().english, "Communication fault.");
    EXPECT_EQ(link.statuses.back().chinese, "与对讲机通讯故障 ！");
    EXPECT_FALSE(link.engine.busy());
    EXPECT_TRUE(RadioData == before);
    EXPECT_EQ(link.endings, std::vector<bool>{false});
    // Nothing more happens, and the window may close now.
    link.advance(60000);
    EXPECT_EQ(link.countSent(RadioLink::Handshake()), 4);
    EXPECT_TRUE(link.closeTimes.empty());
    EXPECT_TRUE(link.engine.closeRequested());
}

TEST_F(ReadEngine, BusyRefusesStartAndCloseButTheAttemptGoesOn)
{
    VirtualRead link;
    link.engine.windowOpened();
    link.engine.startPressed();
    ASSERT_TRUE(link.engine.busy());
    link.engine.startPressed();
    EXPECT_FALSE(link.engine.closeRequested());
    ASSERT_EQ(link.messages.size(), 2u);
    EXPECT_EQ(link.messages[0].message.text.english, "Read-write operating with transceiver .");
    EXPECT_EQ(link.messages[0].message.text.chinese, "正在与对讲机进行读写操作 ！");
    EXPECT_EQ(link.messages[1].message.text.english,
              "Read-write operating，don't close the window. ,");
    EXPECT_EQ(link.messages[1].message.text.chinese, "正在进行读写操作,请勿关窗口 ！,");
    EXPECT_TRUE(link.portOpen);
    link.advance(15);
    EXPECT_EQ(link.countSent(RadioLink::Handshake()), 1);
    // After the reply timeout the attempt is no longer busy: close is allowed
    // during the retry delay and stops it.
    link.advance(1000);
    EXPECT_TRUE(link.engine.closeRequested());
    link.advance(10000);
    EXPECT_EQ(link.countSent(RadioLink::Handshake()), 1);
}

// Start pressed again while the retry delay runs: the pending retry must not
// cut the new attempt off from its reply timeout and leave it busy for good.
TEST_F(ReadEngine, StartDuringTheRetryDelayBeginsAFreshTransferThatCanStillFail)
{
    VirtualRead link;
    ASSERT_NO_FATAL_FAILURE(failFirstAttemptOnASilentRadio(link));
    link.advance(4500);
    link.engine.startPressed();
    ASSERT_TRUE(link.engine.busy());
    EXPECT_EQ(link.engine.retriesLeft(), 3);
    link.advance(1500);
    EXPECT_FALSE(link.engine.busy());
    EXPECT_TRUE(link.engine.closeRequested());

    link.engine.startPressed();
    ASSERT_TRUE(link.runUntil([&] { return !link.messages.empty(); }, 60000));
    EXPECT_EQ(link.messages[0].message.text.english, "Fail connect with transceiver.");
    EXPECT_FALSE(link.engine.busy());
}

TEST_F(ReadEngine, PortErrorShowsTheDeviceAndReasonAndStartsNothing)
{
    VirtualRead link;
    link.openFails = true;
    link.failure = {false, QStringLiteral("/dev/ttyUSB0"), QStringLiteral("Permission denied"),
                    true};
    link.engine.windowOpened();
    link.engine.startPressed();
    EXPECT_EQ(link.portOpenings, std::vector<bool>{false});
    EXPECT_FALSE(link.engine.busy());
    EXPECT_TRUE(link.statuses.empty());
    EXPECT_TRUE(link.progress.empty());
    ASSERT_EQ(link.messages.size(), 1u);
    const BilingualText &text = link.messages[0].message.text;
    EXPECT_TRUE(text.chinese.startsWith("通讯端口打开错误，请正确设置通讯端口 ！\n"));
    EXPECT_TRUE(text.english.startsWith(
        "Communication port is error, please setting right communication port . ！\n"));
    EXPECT_TRUE(text.english.contains("/dev/ttyUSB0"));
    EXPECT_TRUE(text.english.contains("Permission denied"));
    EXPECT_TRUE(text.english.contains("dialout"));
    EXPECT_TRUE(text.chinese.contains("dialout"));
    link.advance(30000);
    EXPECT_TRUE(link.writes.empty());

    // A missing device gives no group hint; a later good open clears the flag.
    link.failure = {false, QStringLiteral("/dev/nothing"),
                    QStringLiteral("No such file or directory"), false};
    link.engine.startPressed();
    EXPECT_FALSE(link.messages.back().message.text.english.contains("dialout"));
    link.openFails = false;
    link.engine.startPressed();
    EXPECT_EQ(link.portOpenings, (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(link.engine.busy());
    EXPECT_EQ(link.statuses.back().chinese, "正在与对讲机联络 ！");
}

// The port error's message box runs the event loop: the retry delay of the
// attempt before must not start another attempt beneath it, which the
// refused start would then abandon with the port open.
TEST_F(ReadEngine, NoAttemptStartsUnderThePortErrorMessage)
{
    VirtualRead link;
    ASSERT_NO_FATAL_FAILURE(failFirstAttemptOnASilentRadio(link));
    link.deviceGone = true;
    // The cable is back and the retry delay is over before the box is answered.
    link.underNextMessage = [&] {
        link.deviceGone = false;
        link.advance(5100);
    };
    link.engine.startPressed();
    ASSERT_EQ(link.messages.size(), 1u);
    EXPECT_TRUE(link.messages[0].message.text.english.startsWith("Communication port is error"));
    EXPECT_EQ(link.opens, 2);
    EXPECT_FALSE(link.portOpen);
    EXPECT_FALSE(link.engine.busy());
    EXPECT_EQ(link.endings, std::vector<bool>{false});
    const size_t sent = link.writes.size();
    link.advance(30000);
    EXPECT_EQ(link.writes.size(), sent);
}

// A long identification: its tail arrives after the 9 bytes were taken and
// must not be read as the start of block 0.
TEST_F(ReadEngine, TailOfALongIdentificationIsDroppedBeforeTheFirstRequest)
{
    VirtualRead link;
    const RadioMemory memory = PatternMemory();
    SimFaults faults;
    faults.identLength = 12;
    link.attachRadio(memory, faults);
    link.engine.windowOpened();
    link.engine.startPressed();
    ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 30000));
    EXPECT_EQ(link.radio->counters().handshakes, 1);
    EXPECT_TRUE(RowsMatch(memory, 0, 253));
}

// Noise before a block reply shifts it; the bytes left over after the 21
// taken must end the attempt instead of shifting every following block.
TEST_F(ReadEngine, StrayBytesBeforeABlockReplyEndTheAttemptAndTheRetryReadsCleanly)
{
    VirtualRead link;
    const RadioMemory memory = PatternMemory();
    SimFaults faults;
    faults.strayBlock = 3;
    faults.strayCount = 3;
    link.attachRadio(memory, faults);
    link.engine.windowOpened();
    link.engine.startPressed();
    ASSERT_TRUE(link.runUntil([&] { return link.exchange.blockCounter() == 4; }, 5000));
    ASSERT_TRUE(link.runUntil([&] { return !link.engine.busy(); }, 100));
    EXPECT_FALSE(link.portOpen);
    EXPECT_TRUE(link.engine.timerRunning(RetryDelay));
    EXPECT_EQ(RadioData[0][0], 0x50);
    // The framing error ends the attempt at once, not after the 1 s timeout.
    EXPECT_LT(link.now - link.writes.back().at, 100);

    ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 40000));
    EXPECT_EQ(link.radio->counters().handshakes, 2);
    EXPECT_TRUE(RowsMatch(memory, 0, 253));
    EXPECT_EQ(link.messages.size(), 1u);
}

// A port that fails or a line that hangs up ends the attempt at once, at
// whatever moment it happens, like a silent radio; the retry then reads
// everything. In the gap before a request no timer but the send trigger
// runs: a failure there once left the read busy for good.
TEST_F(ReadEngine, APortFailureAtAnyMomentEndsTheAttemptAndTheRetryReadsEverything)
{
    const QByteArray ack = Bytes({0x06});
    const struct {
        const char *moment;
        std::function<bool(VirtualRead &)> reached;
    } cases[] = {
        {"before the handshake leaves", [](VirtualRead &) { return true; }},
        {"waiting for the identification", [](VirtualRead &l) { return !l.writes.empty(); }},
        {"after the identification", [](VirtualRead &l) { return l.engine.handshaken(); }},
        {"waiting for a reply",
         [](VirtualRead &l) {
             return l.exchange.blockCounter() == 10 && l.writes.back().bytes.size() == 4;
         }},
        {"between a reply and the next request",
         [ack](VirtualRead &l) {
             return l.exchange.blockCounter() == 10 && l.writes.back().bytes == ack;
         }},
    };
    const RadioMemory memory = PatternMemory();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.moment);
        ResetGlobals();
        VirtualRead link;
        link.attachRadio(memory);
        link.engine.windowOpened();
        link.engine.startPressed();
        ASSERT_TRUE(link.runUntil([&] { return c.reached(link); }, 30000));
        ASSERT_TRUE(link.engine.busy());
        link.hangUp();
        EXPECT_FALSE(link.engine.busy());
        EXPECT_TRUE(link.engine.timerRunning(RetryDelay));
        EXPECT_EQ(RadioData[0][0], 0x50);
        ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 40000));
        EXPECT_EQ(link.opens, 2);
        EXPECT_TRUE(RowsMatch(memory, 0, 253));
        EXPECT_EQ(link.messages.size(), 1u);
    }
}

// All 254 blocks are in and acknowledged; the quiet period after the last
// one is there to catch extra bytes. A line that drops in it brings none:
// the read completes. A byte in it still ends the attempt, dropped line or
// not, and the retry reads again.
TEST_F(ReadEngine, ALineDropInTheQuietPeriodCompletesTheReadAByteInItStillFailsIt)
{
    const struct {
        const char *name;
        bool strayByte, hangUp;
        bool completesAtOnce;
    } cases[] = {
        {"drop", false, true, true},
        {"stray byte", true, false, false},
        {"stray byte, then a drop", true, true, false},
    };
    const RadioMemory memory = PatternMemory();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ResetGlobals();
        VirtualRead link;
        link.attachRadio(memory);
        link.engine.windowOpened();
        link.engine.startPressed();
        ASSERT_TRUE(link.runUntil([&] { return link.engine.state() == RadioLink::State::Settling; },
                                  30000));
        link.advance(5);
        ASSERT_EQ(link.engine.state(), RadioLink::State::Settling);
        if (c.strayByte)
            link.deliver(Bytes({0x06}));
        if (c.hangUp)
            link.hangUp();
        if (c.completesAtOnce) {
            EXPECT_TRUE(link.engine.done());
            EXPECT_EQ(link.endings, std::vector<bool>{true});
            ASSERT_EQ(link.messages.size(), 1u);
            EXPECT_EQ(link.messages[0].message.text.english,
                      "Complete reading the data from transceiver.");
            EXPECT_TRUE(RowsMatch(memory, 0, 253));
            EXPECT_EQ(link.opens, 1);
            continue;
        }
        EXPECT_FALSE(link.engine.done());
        EXPECT_TRUE(link.engine.timerRunning(RetryDelay));
        EXPECT_EQ(RadioData[0][0], 0x50);
        ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 40000));
        EXPECT_EQ(link.opens, 2);
        EXPECT_TRUE(RowsMatch(memory, 0, 253));
    }
}

// The radio itself hangs up right after answering the last block (its
// device gone): the read is complete all the same, with no retry.
TEST_F(ReadEngine, ARadioHangingUpRightAfterTheLastReplyLeavesACompleteRead)
{
    VirtualRead link;
    const RadioMemory memory = PatternMemory();
    SimFaults faults;
    faults.hangUpAfterBlock = 253;
    link.attachRadio(memory, faults);
    link.engine.windowOpened();
    link.engine.startPressed();
    ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 30000));
    EXPECT_EQ(link.opens, 1);
    EXPECT_EQ(link.endings, std::vector<bool>{true});
    EXPECT_TRUE(RowsMatch(memory, 0, 253));
}

// The radio hangs up right after a reply and its device is gone: the retry
// cannot open the port, and the read ends with the port error.
TEST_F(ReadEngine, AHangUpAfterAReplyEndsWithThePortErrorAndTheWindowMayClose)
{
    VirtualRead link;
    SimFaults faults;
    faults.hangUpAfterBlock = 20;
    link.attachRadio(PatternMemory(), faults);
    const ImageTable before = RadioData;
    link.engine.windowOpened();
    link.engine.startPressed();
    ASSERT_TRUE(link.runUntil([&] { return !link.engine.busy(); }, 10000));
    EXPECT_EQ(link.exchange.blockCounter(), 22); // in the gap before block 21
    ASSERT_TRUE(link.runUntil([&] { return !link.messages.empty(); }, 10000));
    EXPECT_TRUE(link.messages[0].message.text.english.startsWith("Communication port is error"));
    EXPECT_EQ(link.portOpenings, (std::vector<bool>{true, false}));
    EXPECT_EQ(link.endings, std::vector<bool>{false});
    EXPECT_FALSE(link.engine.busy());
    EXPECT_TRUE(link.engine.closeRequested());
    EXPECT_TRUE(RadioData == before);
}

// Noise right after the identification, all in before the first request
// leaves, once passed for block 0's reply: block 0 was never asked for.
TEST_F(ReadEngine, BytesBeforeTheFirstRequestAreNeverTakenAsBlock0)
{
    VirtualRead link;
    const RadioMemory memory = PatternMemory();
    SimFaults faults;
    faults.strayAfterIdent = 21;
    link.attachRadio(memory, faults, false);
    link.engine.windowOpened();
    link.engine.startPressed();
    ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 30000));
    EXPECT_EQ(link.countSent(FirstRequest), 1);
    EXPECT_EQ(link.radio->counters().handshakes, 1);
    EXPECT_TRUE(RowsMatch(memory, 0, 253));
}

// Noise before the last reply shifts it like any other: the bytes left over
// must end the attempt, not pass unseen because no request follows.
TEST_F(ReadEngine, StrayBytesBeforeTheLastReplyEndTheAttempt)
{
    VirtualRead link;
    const RadioMemory memory = PatternMemory();
    SimFaults faults;
    faults.strayBlock = 253;
    link.attachRadio(memory, faults);
    link.engine.windowOpened();
    link.engine.startPressed();
    ASSERT_TRUE(link.runUntil([&] { return !link.engine.busy(); }, 30000));
    EXPECT_FALSE(link.engine.done());
    EXPECT_TRUE(link.messages.empty());
    EXPECT_EQ(RadioData[0][0], 0x50);
    ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 40000));
    EXPECT_EQ(link.radio->counters().handshakes, 2);
    EXPECT_TRUE(RowsMatch(memory, 0, 253));
}

} // namespace

// The verify reads the blocks a write sends, 0..239, and ends without a
// message of its own and without closing its window; it leaves the image
// alone and may be run again.
TEST_F(ReadEngine, VerifyReadsBlocks0To239AndLeavesTheImageAndTheWindowAlone)
{
    VirtualLink<VerifyExchange> link;
    link.storeReadInImage = false;
    const RadioMemory memory = PatternMemory();
    link.attachRadio(memory, {}, false);
    const ImageTable before = RadioData;
    for (int run = 0; run < 2; ++run) {
        link.engine.windowOpened();
        link.engine.startPressed();
        ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 60000));
        EXPECT_EQ(link.radio->counters().blocksRead, WriteBlockCount * (run + 1));
    }
    EXPECT_EQ(link.countSent(Bytes({0x52, 0x0E, 0xF0, 0x10})), 2); // block 239
    EXPECT_EQ(link.countSent(Bytes({0x52, 0x0F, 0x00, 0x10})), 0); // block 240
    EXPECT_TRUE(link.messages.empty());
    EXPECT_EQ(link.progress.back(), 100);
    EXPECT_EQ(link.statuses.back().english, "Radio data read back. ");
    link.advance(1000);
    EXPECT_TRUE(link.closeTimes.empty());
    EXPECT_TRUE(RadioData == before);
    const ImageTable rows = VerifiedRows(link.exchange.blocks());
    for (int a = 0; a < WriteBlockCount * BlockSize; ++a)
        ASSERT_EQ(rows[a / BlockSize][a % BlockSize], memory[a]) << a;
    EXPECT_EQ(rows[WriteBlockCount][0], ErasedByte);
}
