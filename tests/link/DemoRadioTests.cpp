// The demo radio inside the program: the real link (SerialLink, its timers
// and the engine) reads and writes it as it would a radio on a cable.
#include "DemoRadio.h"
#include "Globals.h"
#include "PortBinding.h"
#include "RadioSimCore.h"
#include "ReadExchange.h"
#include "SerialLink.h"
#include "SessionState.h"
#include "WriteExchange.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct View : LinkView {
    QEventLoop *loop = nullptr;
    bool ended = false, completed = false;
    std::vector<QString> messages;
    void showMessage(const PromptMessage &message) override
    {
        messages.push_back(message.text.english);
    }
    void setProgress(int) override { }
    void setStatus(const BilingualText &) override { }
    void closeWindow() override { }
    void transferEnded(bool done) override
    {
        ended = true;
        completed = done;
        if (loop)
            loop->quit();
    }
};

// Runs one transfer on COM1 to its end; true when it completed.
bool Transfer(LinkExchange &exchange, View &view)
{
    SerialLink link(exchange, view);
    QEventLoop loop;
    view.loop = &loop;
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    link.engine().windowOpened();
    link.engine().startPressed();
    if (!view.ended)
        loop.exec();
    return view.completed;
}

class DemoRadio : public testing::Test {
protected:
    void SetUp() override
    {
        StartDemoRadio(false); // unpaced: the pace has a test of its own
        BindPort(1, QString::fromLatin1(DemoDeviceName));
        SessionState::instance().setPort(1);
    }
};

TEST_F(DemoRadio, AReadGetsTheSampleRadio)
{
    ReadExchange read;
    View view;
    ASSERT_TRUE(Transfer(read, view));
    const RadioMemory sample = SampleRadioMemory();
    for (int block = 0; block < ReadBlockCount; ++block)
        for (int c = 0; c < BlockSize; ++c)
            ASSERT_EQ(read.blocks()[block][c], sample[block * BlockSize + c]) << block << ":" << c;
}

TEST_F(DemoRadio, WhatIsWrittenIsReadBackLater)
{
    WriteBlocks written{};
    WriteExchange write([&written](WriteBlocks &blocks) -> std::optional<BilingualText> {
        const RadioMemory sample = SampleRadioMemory();
        for (int block = 0; block < WriteBlockCount; ++block)
            for (int c = 0; c < BlockSize; ++c)
                blocks[block][c] = sample[block * BlockSize + c];
        blocks[5][3] = 0x42; // a change the radio must keep
        written = blocks;
        return std::nullopt;
    });
    View writing;
    ASSERT_TRUE(Transfer(write, writing));

    ReadExchange read;
    View reading;
    ASSERT_TRUE(Transfer(read, reading));
    for (int block = 0; block < WriteBlockCount; ++block)
        ASSERT_EQ(read.blocks()[block], written[block]) << block;
}

TEST_F(DemoRadio, TwoLinksCannotHoldItAtOnce)
{
    ReadExchange first, second;
    View view;
    SerialLink holder(first, view), other(second, view);
    ASSERT_TRUE(holder.openPort(false).ok);
    EXPECT_TRUE(other.openPort(false).heldHere);
    holder.closePort();
    EXPECT_TRUE(other.openPort(false).ok);
}

// At 9600 baud the handshake (8 bytes) and the identification (9 bytes)
// take some 17 ms on the wire: the reply never comes sooner.
TEST(DemoRadioPace, TheReplyTakesTheWireTime)
{
    StartDemoRadio(true);
    DemoSerialDevice device;
    PortOpenResult result;
    ASSERT_TRUE(device.open(QString::fromLatin1(DemoDeviceName), false, result));
    QByteArray received;
    QEventLoop loop;
    QObject::connect(&device, &SerialDevice::bytesArrived, &loop, [&](const QByteArray &bytes) {
        received += bytes;
        if (received.size() >= 9)
            loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    device.write(QByteArray("PROGRAM\x02", 8));
    loop.exec();
    ASSERT_GE(received.size(), 9);
    EXPECT_TRUE(received.contains("QL271"));
    EXPECT_GE(clock.elapsed(), 17);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // the link's timers need one
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
