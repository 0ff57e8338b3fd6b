// The simulator process on its pty, driven byte by byte from the program's
// end of the line: what it does when depends on what the program does, never
// on how soon a loaded machine lets the program do it.
#include "SimProcess.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QByteArray Handshake = QByteArrayLiteral("PROGRAM\x02");
const QByteArray FirstRequest = QByteArrayLiteral("\x06R\x00\x00\x10");

// The program's end of the line: the pty opened raw, as a serial port.
class LineEnd {
public:
    explicit LineEnd(const QString &device)
    {
        fd_ = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios tio{};
        if (fd_ >= 0 && ::tcgetattr(fd_, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(fd_, TCSANOW, &tio);
        }
    }
    ~LineEnd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool isOpen() const { return fd_ >= 0; }
    void send(const QByteArray &bytes)
    {
        ASSERT_EQ(::write(fd_, bytes.constData(), size_t(bytes.size())), bytes.size());
    }
    // Up to count bytes, waiting at most timeoutMs for them; whatever came
    // when the line went down or the time ran out.
    QByteArray receive(int count, int timeoutMs = 5000)
    {
        QByteArray got;
        while (got.size() < count && !down_ && wait(timeoutMs)) {
            char buffer[64];
            const ssize_t n =
                ::read(fd_, buffer, size_t(std::min<qsizetype>(64, count - got.size())));
            if (n > 0)
                got.append(buffer, n);
            else if (n == 0 || errno != EAGAIN)
                down_ = true;
        }
        return got;
    }
    // Nothing comes within a while (the radio is not there to answer).
    bool quiet(int ms = 300) { return receive(1, ms).isEmpty() && !down_; }
    // The line has gone down (the radio hung up): reads end.
    bool wentDown(int timeoutMs = 5000)
    {
        receive(1 << 20, timeoutMs);
        return down_;
    }
    // The same, without reading what may still wait unread.
    bool wentDownUnread(int timeoutMs = 5000)
    {
        pollfd hangUp{fd_, 0, 0};
        return ::poll(&hangUp, 1, timeoutMs) > 0 && (hangUp.revents & (POLLHUP | POLLERR));
    }

private:
    bool wait(int timeoutMs)
    {
        pollfd in{fd_, POLLIN, 0};
        return ::poll(&in, 1, timeoutMs) > 0;
    }

    int fd_ = -1;
    bool down_ = false;
};

// A write frame for a block, led by the acknowledge of what came before.
QByteArray WriteFrame(int block)
{
    QByteArray frame("\x06W", 2);
    frame.append(char(block / 16));
    frame.append(char(block * 16 % 256));
    frame.append(char(0x10));
    frame.append(QByteArray(16, char(block)));
    return frame;
}

RadioMemory Zeros() { return RadioMemory{}; }

// Handshake and identification: true when the radio identified itself.
bool Identified(LineEnd &line)
{
    line.send(Handshake);
    return line.receive(9).startsWith("QL271");
}

} // namespace

// The program is kept from reading for longer than any pause the
// simulator might allow itself: the acknowledge still reaches it, then the
// line goes down.
TEST(SimulatorLine, AHangUpAfterAReplyWaitsForTheProgramToTakeTheReply)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start(Zeros(), {"--no-pace", "--hang-up-after-block", "1"}));
    LineEnd line(sim.device());
    ASSERT_TRUE(line.isOpen());
    ASSERT_TRUE(Identified(line));
    line.send(WriteFrame(0));
    ASSERT_EQ(line.receive(1), QByteArray(1, 0x06));
    line.send(WriteFrame(1).mid(1));
    QThread::msleep(1500);
    EXPECT_EQ(line.receive(1), QByteArray(1, 0x06));
    EXPECT_TRUE(line.wentDown());
    sim.stop();
    EXPECT_EQ(sim.count("write block 1"), 1);
}

// A program that sends again without reading has given the reply up: the
// line goes down all the same.
TEST(SimulatorLine, AHangUpAfterAReplyComesWhenTheProgramSpeaksAgain)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start(Zeros(), {"--no-pace", "--hang-up-after-block", "0"}));
    LineEnd line(sim.device());
    ASSERT_TRUE(Identified(line));
    line.send(WriteFrame(0));
    line.send(WriteFrame(1).mid(1));
    EXPECT_TRUE(line.wentDownUnread());
    sim.stop();
    EXPECT_EQ(sim.count("write block 1"), 0);
}

// A box of two radios counted by handshakes: the written one answers one
// look and is gone at the next; two handshakes meet the empty cable, then
// the second radio answers.
TEST(SimulatorLine, ABoxSwapsItsRadiosByTheProgramsHandshakes)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start(Zeros(), {"--no-pace", "--radios", "2", "--stay-handshakes", "1",
                                    "--swap-ms", "0", "--swap-handshakes", "2"}));
    LineEnd line(sim.device());
    ASSERT_TRUE(Identified(line));
    line.send("E"); // the end of a write
    ASSERT_TRUE(Identified(line)); // a look: still there
    for (int empty = 0; empty < 2; ++empty) {
        line.send(Handshake);
        EXPECT_TRUE(line.quiet()) << "empty look " << empty;
    }
    EXPECT_TRUE(Identified(line));
    sim.stop();
    EXPECT_EQ(sim.count("radio 1: handshake"), 2);
    EXPECT_EQ(sim.count("radio 1: end of write"), 1);
    EXPECT_EQ(sim.count("radio 1: unplugged"), 1);
    EXPECT_EQ(sim.count("radio 2: plugged in"), 1);
    EXPECT_EQ(sim.count("radio 2: handshake"), 1);
}

// Pulled out mid-look: the identification comes, the request that follows
// it finds the cable empty however soon it is sent.
TEST(SimulatorLine, ARadioLeavingMidLookAnswersNothingAfterItsIdentification)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start(Zeros(), {"--no-pace", "--radios", "2", "--leave-after-handshakes", "1",
                                    "--swap-handshakes", "2"}));
    LineEnd line(sim.device());
    ASSERT_TRUE(Identified(line));
    line.send("E");
    ASSERT_TRUE(Identified(line));
    line.send(FirstRequest);
    EXPECT_TRUE(line.quiet());
    sim.stop();
    EXPECT_EQ(sim.countStarting("radio 1: read block"), 0);
    EXPECT_EQ(sim.count("radio 1: unplugged"), 1);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // for the simulator's process
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
