// The simulated radio's side of the protocol.
#include "Conversions.h"
#include "Globals.h"
#include "ImageRoutines.h"
#include "RadioSimCore.h"
#include "TestImage.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray Feed(RadioSimCore &radio, const QByteArray &bytes, qint64 at = 0)
{
    QByteArray out;
    for (char b : bytes)
        if (auto reply = radio.feed(uint8_t(b), at))
            out += reply->bytes;
    return out;
}

const QByteArray Handshake = QByteArrayLiteral("PROGRAM\x02");

TEST(RadioSim, StartsWithTheProgramsImageAndAnswersTheHandshakeWithPowerBytes)
{
    ResetGlobals();
    SetUpCell(5, 5, 42);
    const RadioMemory memory = DefaultRadioMemory();
    EXPECT_EQ(RadioData[5][5], 42); // the caller's image is left alone
    EXPECT_EQ(memory[0], 0x50);
    EXPECT_EQ(memory[5 * 16 + 5], 255);
    RadioSimCore radio(memory);
    EXPECT_TRUE(Feed(radio, "garbage").isEmpty());
    EXPECT_EQ(Feed(radio, Handshake), QByteArray("QL271\x32\x64\xC8\x00", 9));

    SimFaults faults;
    faults.identOffset = 2;
    faults.identLength = 12;
    RadioSimCore offset(memory, faults);
    EXPECT_EQ(Feed(offset, Handshake), QByteArray("\0\0QL271\x32\x64\xC8\0\0", 12));
    faults = {};
    faults.wrongIdent = true;
    RadioSimCore wrong(memory, faults);
    EXPECT_TRUE(Feed(wrong, Handshake).startsWith("QL999"));
}

TEST(RadioSim, SampleMemoryHoldsEightChannelsTheProgramAccepts)
{
    ResetGlobals();
    const RadioMemory sample = SampleRadioMemory();
    EXPECT_EQ(RadioData[1][0], 255); // the caller's image is left alone
    auto image = std::make_unique<ImageTable>(RadioData);
    ImageTable &i = *image;
    for (int a = 0; a < RadioMemorySize; ++a)
        i[a / 16][a % 16] = sample[a];
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(Record::IsProgrammed(i, n), n <= 8) << n;
    EXPECT_EQ(BcdToText(i[1][0], i[1][1], i[1][2], i[1][3]), "446.00625");
    EXPECT_EQ(BcdToText(i[8][0], i[8][1], i[8][2], i[8][3]), "446.09375");
    EXPECT_EQ(FindChannelOutOfBand(i), 0);
    EXPECT_EQ(CheckVfoBand(i), 0);
    EXPECT_EQ(CodeToChar(i[NameRowFirst][0]), "P");
    EXPECT_EQ(i[OptionRow][12], 1);
    EXPECT_EQ(i[ChannelMapRow][0], 0x00);
}

TEST(RadioSim, ReadsWritesAndEndsLikeTheRadio)
{
    RadioMemory memory{};
    memory[0xFD0] = 0x11;
    RadioSimCore radio(memory);
    Feed(radio, Handshake);
    const QByteArray reply = Feed(radio, QByteArray("\x06\x52\x0F\xD0\x10", 5));
    ASSERT_EQ(reply.size(), 21);
    EXPECT_EQ(uint8_t(reply.at(5)), 0x11);
    QByteArray frame("\x57\x00\x20\x10", 4);
    frame += QByteArray(16, '\x33');
    EXPECT_EQ(Feed(radio, frame), QByteArray(1, '\x06'));
    EXPECT_EQ(radio.memory()[0x20], 0x33);
    EXPECT_EQ(radio.memory()[0x2F], 0x33);
    Feed(radio, "E");
    EXPECT_FALSE(radio.linked());
    EXPECT_TRUE(Feed(radio, frame).isEmpty()); // needs a new handshake
    EXPECT_EQ(radio.counters().writeEnds, 1);
    // A power frame stores block 240 and is acknowledged; "b" leaves.
    Feed(radio, Handshake);
    QByteArray power("\x06\x67\x0F\x00\x10", 5);
    power += QByteArray("\x30\x50\x70\x02", 4) + QByteArray(12, '\xFF');
    EXPECT_EQ(Feed(radio, power), QByteArray(1, '\x06'));
    EXPECT_EQ(radio.memory()[0xF02], 0x70);
    Feed(radio, "b");
    EXPECT_EQ(radio.counters().leaves, 1);
}

TEST(RadioSim, FaultsStrikeOnceAndAHangUpLastsForGood)
{
    RadioMemory memory{};
    SimFaults faults;
    faults.noReplyBlock = 1;
    faults.shortReplyBlock = 2;
    faults.strayBlock = 3;
    faults.strayCount = 2;
    faults.nakBlock = 4;
    faults.noAckBlock = 5;
    faults.hangUpBlock = 9;
    RadioSimCore radio(memory, faults);
    Feed(radio, Handshake);
    auto read = [&](int block) {
        return Feed(radio, QByteArray("\x52\x00", 2) + char(block * 16) + '\x10');
    };
    auto write = [&](int block) {
        return Feed(radio,
                    QByteArray("\x57\x00", 2) + char(block * 16) + '\x10' + QByteArray(16, 'x'));
    };
    EXPECT_TRUE(read(1).isEmpty());
    EXPECT_EQ(read(1).size(), 21);
    EXPECT_EQ(read(2).size(), 20);
    EXPECT_EQ(read(2).size(), 21);
    EXPECT_EQ(read(3).size(), 23);
    EXPECT_EQ(read(3).size(), 21);
    EXPECT_EQ(write(4), QByteArray(1, '\x15'));
    EXPECT_EQ(write(4), QByteArray(1, '\x06'));
    EXPECT_TRUE(write(5).isEmpty());
    EXPECT_EQ(write(5), QByteArray(1, '\x06'));
    EXPECT_TRUE(read(9).isEmpty());
    EXPECT_TRUE(radio.hungUp());
    EXPECT_TRUE(Feed(radio, Handshake).isEmpty());
    EXPECT_TRUE(radio.takeLog().contains("hang-up at block 9"));
}

TEST(RadioSim, HangsUpAfterAnsweringAndSendsNoiseAfterTheIdentificationOnce)
{
    RadioMemory memory{};
    SimFaults faults;
    faults.strayAfterIdent = 21;
    faults.hangUpAfterBlock = 2;
    RadioSimCore radio(memory, faults);
    Feed(radio, Handshake.chopped(1));
    const auto ident = radio.feed(0x02, 0);
    ASSERT_TRUE(ident.has_value());
    EXPECT_EQ(ident->bytes.size(), 9);
    EXPECT_EQ(ident->afterPause, QByteArray(21, char(0xA5)));
    EXPECT_EQ(Feed(radio, Handshake).size(), 9); // once
    const QByteArray request("\x52\x00\x20\x10", 4);
    EXPECT_EQ(Feed(radio, request).size(), 21);
    EXPECT_FALSE(radio.hungUp());
    Feed(radio, "\x06"); // the acknowledge of that reply
    EXPECT_TRUE(radio.hungUp());

    // A write is acknowledged, and the line drops after the acknowledge.
    RadioSimCore writer(memory, faults);
    Feed(writer, Handshake);
    Feed(writer, QByteArray("\x57\x00\x20\x10", 4) + QByteArray(15, 'x'));
    const auto ack = writer.feed('x', 0);
    ASSERT_TRUE(ack.has_value());
    EXPECT_EQ(ack->bytes, QByteArray(1, '\x06'));
    EXPECT_TRUE(ack->hangUpAfter);
    EXPECT_TRUE(writer.hungUp());
}

// The faults of the fault matrix: each strikes where it is set, the
// identification faults from the handshake they are set for.
TEST(RadioSim, MatrixFaultsStrikeAtTheirBlockOrHandshake)
{
    RadioMemory memory{};
    auto read = [](RadioSimCore &radio, int block) {
        return Feed(radio, QByteArray("\x52\x00", 2) + char(block * 16) + '\x10');
    };
    qint64 now = 0;
    auto write = [&now](RadioSimCore &radio, int block) {
        now += 1000; // each frame after a pause
        return Feed(radio,
                    QByteArray("\x57\x00", 2) + char(block * 16) + '\x10' + QByteArray(16, 'x'),
                    now);
    };
    SimFaults faults;
    faults.nakRequestBlock = 1;
    faults.noAckReplyBlock = 2;
    faults.silentFromBlock = 4;
    RadioSimCore reader(memory, faults);
    Feed(reader, Handshake);
    EXPECT_EQ(read(reader, 1), QByteArray(1, '\x15'));
    EXPECT_EQ(read(reader, 1).size(), 21);
    EXPECT_EQ(read(reader, 2), QByteArray("W\x00\x20\x10", 4) + QByteArray(16, '\0'));
    EXPECT_EQ(read(reader, 3).size(), 21);
    EXPECT_TRUE(read(reader, 4).isEmpty());
    EXPECT_TRUE(Feed(reader, Handshake).isEmpty()); // for good

    faults = {};
    faults.noReplyBlock = 1;
    faults.shortReplyBlock = 2;
    faults.strayBlock = 3;
    RadioSimCore writer(memory, faults);
    Feed(writer, Handshake);
    EXPECT_TRUE(write(writer, 1).isEmpty());
    EXPECT_EQ(writer.memory()[16], 0); // ignored, not stored
    EXPECT_TRUE(write(writer, 2).isEmpty()); // waits for a last byte
    EXPECT_EQ(writer.memory()[32], 0);
    EXPECT_EQ(write(writer, 2), QByteArray(1, '\x06')); // the half frame was abandoned
    EXPECT_EQ(write(writer, 3), QByteArray("\xA5\xA5\xA5\x06", 4));

    faults = {};
    faults.identFaultHandshake = 2;
    faults.splitIdentMs = 40;
    RadioSimCore split(memory, faults);
    EXPECT_EQ(Feed(split, Handshake).size(), 9);
    Feed(split, Handshake.chopped(1));
    const auto parts = split.feed(0x02, 0);
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->bytes, "QL27");
    EXPECT_EQ(parts->afterPause.size(), 5);
    EXPECT_EQ(parts->afterPauseMs, 40);

    faults = {};
    faults.identFaultHandshake = 2;
    faults.wrongIdent = true;
    RadioSimCore changed(memory, faults);
    EXPECT_TRUE(Feed(changed, Handshake).startsWith("QL271"));
    EXPECT_TRUE(Feed(changed, Handshake).startsWith("QL999"));
    EXPECT_TRUE(Feed(changed, Handshake).startsWith("QL999"));
}

TEST(RadioSim, SurvivesAnyInputAndStillAnswersAProperHandshake)
{
    RadioMemory memory{};
    RadioSimCore radio(memory);
    QRandomGenerator random(540);
    qint64 now = 0;
    for (int i = 0; i < 200000; ++i) {
        // Random bytes, with the protocol's command letters made common.
        const char pick[] = {'P', 'R', 'W', 'g', 'E', 'b', '\x06', '\x02'};
        const uint8_t byte = random.bounded(3) == 0 ? uint8_t(pick[random.bounded(8)])
                                                    : uint8_t(random.bounded(256));
        now += random.bounded(3);
        radio.feed(byte, now);
    }
    // A pause abandons any half frame; a new session then works.
    now += 1000;
    QByteArray out;
    for (char b : Handshake)
        if (auto reply = radio.feed(uint8_t(b), now))
            out = reply->bytes;
    EXPECT_TRUE(out.startsWith("QL271"));
}

} // namespace
