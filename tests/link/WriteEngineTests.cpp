// The write sequence of the link engine and the preparation before it.
#include "Globals.h"
#include "ImageRoutines.h"
#include "TestImage.h"
#include "VirtualLink.h"
#include "WritePreparation.h"

#include <gtest/gtest.h>

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(char(v));
    return bytes;
}

QByteArray Row(const ImageTable &image, int row)
{
    QByteArray bytes;
    for (int c = 0; c < 16; ++c)
        bytes.append(char(uint8_t(image[row][c])));
    return bytes;
}

// Channel n receiving on 460.00625 MHz (packed BCD, least significant first),
// or on mhzHigh (hundreds and tens of MHz) instead of 46.
void ProgramChannel(ImageTable &image, int n, int mhzHigh = 0x46)
{
    const int cells[4] = {0x25, 0x06, 0x00, mhzHigh};
    for (int c = 0; c < 4; ++c)
        image[n][c] = int16_t(cells[c]);
    image[n][12] = 0; // simplex
}

class WriteEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        image = RadioData;
    }

    ImageTable image{}; // the start-up image, for the preparation alone
};

TEST_F(WriteEngine, PreparationCompletesTheDerivedRegions)
{
    image[OptionRow][1] = 0xFF;
    ProgramChannel(image, 1);
    ProgramChannel(image, 9);
    image[IdentRow][10] = 7;
    EXPECT_FALSE(PrepareWrite(image).has_value());
    EXPECT_EQ(image[OptionRow][1], 0xEF);
    EXPECT_EQ(image[OptionRow][12], 1);
    EXPECT_EQ(image[ChannelMapRow][0], 0xFE);
    EXPECT_EQ(image[ChannelMapRow][1], 0xFE);
    EXPECT_EQ(image[ChannelMapRow][2], 0xFF);
    EXPECT_EQ(Row(image, IdentRow), Bytes({0x51, 0x4C, 0x20, 0x32, 0x37, 0x31, 0x32, 0x02, 255, 255,
                                           255, 255, 255, 255, 255, 255}));

    image = RadioData;
    EXPECT_FALSE(PrepareWrite(image).has_value());
    EXPECT_EQ(image[OptionRow][12], 0);
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(image[ChannelMapRow][c], 255);

    // The write windows' preparation completes RadioData itself.
    WriteBlocks blocks{};
    SetUpImage([](ImageTable &i) { ProgramChannel(i, 9); });
    EXPECT_FALSE(PrepareWriteBlocks(blocks).has_value());
    EXPECT_EQ(RadioData[OptionRow][12], 9);
    EXPECT_EQ(RadioData[ChannelMapRow][1], 0xFE);
    EXPECT_EQ(blocks[ChannelMapRow][1], 0xFE);
}

TEST_F(WriteEngine, PreparationRefusesOutOfBandFrequenciesAndCellsThatAreNoBytes)
{
    image[VfoRow][3] = 0x48; // VFO at 482 MHz, band 400..470
    auto refusal = PrepareWrite(image);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->chinese, "频率模式下的接收或发射频率超出频率限制范围");
    EXPECT_EQ(refusal->english, "Receiving or transmitting frequency that frequency Mode out of "
                                "frequency limitation range ");
    // The derived regions are stored even though the write is refused.
    EXPECT_EQ(image[IdentRow][0], 0x51);

    image = RadioData;
    ProgramChannel(image, 3);
    ProgramChannel(image, 12, 0x39); // 390 MHz
    ProgramChannel(image, 20, 0x50); // 500 MHz, but channel 12 comes first
    refusal = PrepareWrite(image);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->chinese, "信道 12 中的接收或发射频率超出频率限制范围");
    EXPECT_EQ(
        refusal->english,
        "Channel 12that Receiving or transmitting frequency  out of frequency limitation range ");

    image = RadioData;
    image[57][4] = 300;
    refusal = PrepareWrite(image);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_TRUE(refusal->english.contains("Row 57, column 4 holds 300"));
    EXPECT_TRUE(refusal->chinese.contains("第 57 行第 4 列"));
    image[57][4] = 0;
    image[239][15] = -1;
    EXPECT_TRUE(PrepareWrite(image).has_value());
    image[239][15] = 0;
    image[240][0] = 999; // never written: no concern of the write
    EXPECT_FALSE(PrepareWrite(image).has_value());
}

TEST_F(WriteEngine, RefusedWriteNeverOpensThePort)
{
    VirtualWrite link;
    SetUpCell(150, 9, 256);
    link.engine.windowOpened();
    link.engine.startPressed();
    EXPECT_EQ(link.opens, 0);
    EXPECT_FALSE(link.engine.busy());
    ASSERT_EQ(link.messages.size(), 1u);
    EXPECT_TRUE(link.messages[0].message.text.english.contains("Row 150, column 9"));
    EXPECT_TRUE(link.statuses.empty());
}

TEST_F(WriteEngine, FullWriteSendsExactFramesUpToBlock239ThenTheEndByte)
{
    VirtualWrite link;
    RadioMemory blank;
    blank.fill(0);
    link.attachRadio(blank);
    SetUpImage([](ImageTable &i) { ProgramChannel(i, 5); });
    link.engine.windowOpened();
    EXPECT_FALSE(link.engine.timerRunning(ClosePoll));
    link.engine.startPressed();
    EXPECT_TRUE(link.lastOpenDiscardedOutput);
    ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 30000));

    ASSERT_GE(link.writes.size(), 2u + 240u);
    EXPECT_EQ(link.writes[0].bytes, RadioLink::Handshake());
    EXPECT_EQ(link.writes[1].bytes, Bytes({0x06, 0x57, 0x00, 0x00, 0x10}) + Row(RadioData, 0));
    EXPECT_EQ(link.writes[2].bytes, Bytes({0x57, 0x00, 0x10, 0x10}) + Row(RadioData, 1));
    EXPECT_EQ(link.writes[2 + 15].bytes, Bytes({0x57, 0x01, 0x00, 0x10}) + Row(RadioData, 16));
    EXPECT_EQ(link.writes[240].bytes, Bytes({0x57, 0x0E, 0xF0, 0x10}) + Row(RadioData, 239));
    EXPECT_EQ(link.writes[241].bytes, Bytes({0x45}));
    EXPECT_EQ(link.writes.size(), 242u);
    EXPECT_FALSE(link.portOpen);

    // The radio now holds rows 0..239 and nothing beyond.
    const RadioMemory &radio = link.radio->memory();
    for (int a = 0; a < 240 * 16; ++a)
        ASSERT_EQ(radio[a], RadioData[a / 16][a % 16]) << "address " << a;
    for (int a = 240 * 16; a < 4096; ++a)
        ASSERT_EQ(radio[a], 0) << "address " << a;
    EXPECT_EQ(link.radio->counters().writeEnds, 1);

    EXPECT_EQ(link.statuses[1].english, "Writing  0  Data Block");
    EXPECT_EQ(link.statuses[1].chinese, "正在写入  0  数据块");
    EXPECT_EQ(link.statuses[239].english, "Writing  238  Data Block");
    EXPECT_EQ(link.statuses.back().english, "Complete writing Data ");
    EXPECT_EQ(link.statuses.back().chinese, "数据写入完毕 ！");
    EXPECT_EQ(link.progress[1], 0);
    EXPECT_EQ(link.progress[120], 50);
    EXPECT_EQ(link.progress.back(), 99);
    EXPECT_TRUE(link.messages.empty());
    EXPECT_EQ(link.endings, std::vector<bool>{true});
    // The close poll starts at completion and closes the window 500 ms later.
    const double doneAt = link.now;
    link.advance(600);
    ASSERT_EQ(link.closeTimes.size(), 1u);
    EXPECT_NEAR(link.closeTimes[0] - doneAt, 500, 1);
}

TEST_F(WriteEngine, StartAfterCompletionLetsTheWindowClose)
{
    VirtualWrite link;
    RadioMemory blank;
    blank.fill(0);
    link.attachRadio(blank, {}, false);
    link.engine.windowOpened();
    link.engine.startPressed();
    ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 30000));
    const size_t sent = link.writes.size();
    link.advance(100);
    link.engine.startPressed(); // before the close poll's 500 ms are up
    EXPECT_FALSE(link.engine.busy());
    EXPECT_EQ(link.writes.size(), sent);
    link.advance(500);
    EXPECT_EQ(link.closeTimes.size(), 1u);
    EXPECT_TRUE(link.messages.empty());
    EXPECT_TRUE(link.engine.closeRequested());
}

TEST_F(WriteEngine, AcknowledgeBeforeTheFrameLeftAndOtherBytesAreDropped)
{
    VirtualWrite link;
    link.engine.windowOpened();
    link.engine.startPressed();
    link.advance(15);
    link.deliver(QByteArray("QL271\0\0\0\0", 9));
    ASSERT_TRUE(link.engine.handshaken());
    link.deliver(Bytes({0x06})); // first frame not sent yet
    link.advance(15);
    EXPECT_EQ(link.exchange.blockCounter(), 1);
    link.deliver(Bytes({0x15, 0x00, 0x41}));
    EXPECT_EQ(link.exchange.blockCounter(), 1);
    link.deliver(Bytes({0x06}));
    EXPECT_EQ(link.exchange.blockCounter(), 2);
}

TEST_F(WriteEngine, NakLeadsToTimeoutAndTheWholeWriteRestarts)
{
    VirtualWrite link;
    RadioMemory blank;
    blank.fill(0);
    SimFaults faults;
    faults.nakBlock = 7;
    link.attachRadio(blank, faults, false);
    link.engine.windowOpened();
    link.engine.startPressed();
    ASSERT_TRUE(link.runUntil([&] { return !link.engine.busy(); }, 5000));
    EXPECT_FALSE(link.engine.done());
    EXPECT_EQ(link.exchange.blockCounter(), 8);
    ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 30000));
    EXPECT_EQ(link.radio->counters().handshakes, 2);
    EXPECT_EQ(link.countSent(Bytes({0x06, 0x57, 0x00, 0x00, 0x10}) + Row(RadioData, 0)), 2);
    EXPECT_EQ(link.radio->counters().blocksWritten, 7 + 240);
    for (int a = 0; a < 240 * 16; ++a)
        ASSERT_EQ(link.radio->memory()[a], RadioData[a / 16][a % 16]);
}

TEST_F(WriteEngine, CloseRequestWhileWritingIsRefused)
{
    VirtualWrite link;
    link.engine.windowOpened();
    link.engine.startPressed();
    EXPECT_FALSE(link.engine.closeRequested());
    EXPECT_TRUE(link.portOpen);
    EXPECT_EQ(link.messages.back().message.text.chinese, "正在进行读写操作,请勿关窗口 ！,");
}

// A failure in the gap between an acknowledge and the next frame, where
// only the send trigger runs, once left the write busy for good. Now it
// ends the attempt; the retry rewrites everything, or, with the device
// gone, the write ends with the port error and the window may close.
TEST_F(WriteEngine, APortFailureBetweenAcknowledgeAndFrameEndsTheAttempt)
{
    for (const bool deviceGone : {false, true}) {
        SCOPED_TRACE(deviceGone ? "device gone" : "device back");
        ResetGlobals();
        VirtualWrite link;
        RadioMemory blank{};
        SimFaults faults;
        faults.hangUpAfterBlock = 30;
        link.attachRadio(blank, faults);
        link.engine.windowOpened();
        link.engine.startPressed();
        ASSERT_TRUE(link.runUntil([&] { return !link.engine.busy(); }, 10000));
        EXPECT_EQ(link.exchange.blockCounter(), 32);
        EXPECT_FALSE(link.portOpen);
        if (!deviceGone) {
            // The radio answers again once the line is back.
            link.deviceGone = false;
            link.radio = std::make_unique<RadioSimCore>(link.radio->memory());
            ASSERT_TRUE(link.runUntil([&] { return link.engine.done(); }, 40000));
            for (int a = 0; a < 240 * 16; ++a)
                ASSERT_EQ(link.radio->memory()[a], RadioData[a / 16][a % 16]);
            continue;
        }
        ASSERT_TRUE(link.runUntil([&] { return !link.messages.empty(); }, 10000));
        EXPECT_TRUE(
            link.messages[0].message.text.english.startsWith("Communication port is error"));
        EXPECT_FALSE(link.engine.busy());
        EXPECT_TRUE(link.engine.closeRequested());
    }
}

} // namespace
