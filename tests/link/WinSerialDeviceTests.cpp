// The Windows serial adapter's logic against a fake driver in virtual
// time: every wait ends within its limit, whatever the driver does, and no
// memory the driver may still write is freed.
#include "FakeCommApi.h"
#include "LinkIo.h"
#include "WinSerialDevice.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

using namespace WinComm;

namespace {

struct Adapter : ::testing::Test {
    FakeDriver driver;
    std::unique_ptr<WinSerialDevice> device =
        std::make_unique<WinSerialDevice>(std::make_unique<FakeCommApi>(driver));
    QByteArray received;
    int lost = 0;
    PortOpenResult result;

    Adapter()
    {
        QObject::connect(device.get(), &SerialDevice::bytesArrived,
                         [this](const QByteArray &bytes) { received += bytes; });
        QObject::connect(device.get(), &SerialDevice::lost, [this] { ++lost; });
    }
    ~Adapter() override
    {
        device.reset();
        // Nothing the driver could still write was freed.
        EXPECT_EQ(driver.freedWhileRunning, 0);
    }
    bool open(const QString &name = QStringLiteral("COM12"))
    {
        result = PortOpenResult{};
        return device->open(name, false, result);
    }
    const WinSerialDevice::Limits &limits() const { return device->limits(); }
};

int RunningReads(const FakeDriver &driver)
{
    return int(
        std::count_if(driver.operations.begin(), driver.operations.end(), [](FakeOperation *op) {
            return op->reading && op->state == FakeOperation::State::Running;
        }));
}

} // namespace

TEST_F(Adapter, OpensEveryComNumberByItsDevicePath)
{
    const struct {
        const char *name;
        const char *path;
    } cases[] = {
        {"COM12", "\\\\.\\COM12"},
        {"com3", "\\\\.\\COM3"},
        {"\\\\.\\com200", "\\\\.\\COM200"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(open(c.name));
        EXPECT_EQ(driver.openedPath, c.path);
        EXPECT_EQ(driver.timeouts, WinSerialDevice::waitingTimeouts());
        device->close();
        EXPECT_FALSE(driver.open);
    }
    EXPECT_EQ(lost, 0);
}

TEST_F(Adapter, AFailedOpeningSaysWhyAndIsNeverALostLine)
{
    const struct {
        const char *name;
        Dword error;
        bool notFound;
        bool inUse;
    } cases[] = {
        {"COM9", FileNotFound, true, false},
        {"COM9", PathNotFound, true, false},
        {"COM9", InvalidName, true, false},
        {"COM9", DeviceNotExist, true, false},
        {"COM9", AccessDenied, false, true},
        {"COM9", SharingViolation, false, true},
        {"COM9", GenFailure, false, false},
        {"COM5:", 0, true, false}, // no port has such a name: not even tried
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.error);
        driver.openError = c.error;
        driver.openedPath.clear();
        EXPECT_FALSE(open(c.name));
        EXPECT_EQ(result.notFound, c.notFound);
        EXPECT_EQ(result.inUse, c.inUse);
        EXPECT_FALSE(result.reason.isEmpty());
        EXPECT_FALSE(device->isOpen());
        if (!c.error) {
            EXPECT_TRUE(driver.openedPath.isEmpty());
        }
    }
    EXPECT_EQ(lost, 0);
}

TEST_F(Adapter, AFirstReadThatFailsAtOnceFailsTheOpening)
{
    driver.failFirstRead = GenFailure;
    EXPECT_FALSE(open());
    EXPECT_FALSE(result.reason.isEmpty());
    EXPECT_FALSE(device->isOpen());
    EXPECT_FALSE(driver.open); // the handle is closed again
    driver.deliver();
    EXPECT_EQ(lost, 0);
}

TEST_F(Adapter, ReadsWhatHasArrivedWithoutTrustingTheQueueCount)
{
    driver.queueOverReport = 1; // one byte more than there is
    ASSERT_TRUE(open());
    const QByteArray block(21, '\x42');
    driver.arrive(block);
    driver.deliver();
    EXPECT_EQ(received, block);
    EXPECT_EQ(driver.now, 0u); // nothing waited for
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(driver.timeouts, WinSerialDevice::waitingTimeouts()); // waiting again
    ASSERT_NE(driver.running(true), nullptr);

    // Byte by byte as well: each delivered as it comes.
    driver.arrive("\x06");
    driver.deliver();
    driver.arrive("\x07");
    driver.deliver();
    EXPECT_EQ(received, block + "\x06\x07");
}

// Wine holds a read asked to return at once until a byte comes when
// nothing is there: such a read is made only while something waits.
TEST_F(Adapter, ReadsByteByByteFromADriverThatHoldsAnEmptyRead)
{
    driver.emptyImmediateReadsWait = true;
    ASSERT_TRUE(open());
    QByteArray sent;
    for (const char *bytes : {"Q", "L2", "7", "1"}) {
        driver.arrive(bytes);
        driver.deliver();
        sent += bytes;
        EXPECT_EQ(received, sent);
    }
    EXPECT_EQ(driver.now, 0u);
    EXPECT_EQ(lost, 0);
    // Only the one-byte read waits.
    EXPECT_EQ(RunningReads(driver), 1);
    EXPECT_EQ(driver.running(true)->size, 1u);
}

TEST_F(Adapter, AReadThatDoesNotReturnAtOnceEndsWithinItsLimitAsALostLine)
{
    driver.immediateReadsWait = true;
    ASSERT_TRUE(open());
    driver.arrive(QByteArray("\x52\x00\x10", 3));
    driver.deliver();
    EXPECT_EQ(lost, 1);
    EXPECT_LE(driver.now, limits().followUp + limits().cancel);
    EXPECT_FALSE(device->isOpen());
    EXPECT_FALSE(driver.open);
}

TEST_F(Adapter, ACancelThatNeverEndsParksTheOperationAndTheCloseEndsInTime)
{
    driver.cancelEnds = false;
    ASSERT_TRUE(open());
    FakeOperation *waiting = driver.running(true);
    ASSERT_NE(waiting, nullptr);
    const std::size_t parked = ParkedOperations();
    device->close();
    EXPECT_LE(driver.now, limits().drain + limits().cancel);
    EXPECT_FALSE(device->isOpen());
    EXPECT_EQ(ParkedOperations(), parked + 1);
    EXPECT_EQ(lost, 0); // closed on purpose

    // The port opens again with a new read; the parked one is kept even
    // after the device has gone, and the driver may still end it.
    driver.cancelEnds = true;
    ASSERT_TRUE(open());
    EXPECT_EQ(RunningReads(driver), 2);
    device.reset();
    driver.endLate(*waiting);
    EXPECT_EQ(driver.freedWhileRunning, 0);
}

TEST_F(Adapter, AWriteThatNeverEndsTimesOutAndIsReportedLost)
{
    driver.writesEnd = false;
    driver.cancelEnds = false;
    ASSERT_TRUE(open());
    const std::size_t parked = ParkedOperations();
    device->write(QByteArray("PROGRAM\x02"));
    EXPECT_TRUE(driver.timerRunning());
    driver.advance(limits().writeBase + 8 * limits().writePerByte);
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(device->isOpen());
    // The write and the waiting read: cancelled, never ended, both kept.
    EXPECT_EQ(ParkedOperations(), parked + 2);
    EXPECT_LE(driver.now, limits().writeBase + 8 * limits().writePerByte + 2 * limits().cancel);
}

TEST_F(Adapter, WritesGoOutInOrderOneAtATime)
{
    driver.writesEnd = false;
    ASSERT_TRUE(open());
    device->write("R");
    device->write(QByteArray("\x00\x10", 2));
    device->write("\x06");
    driver.endWrite();
    driver.deliver();
    driver.endWrite();
    driver.deliver();
    EXPECT_EQ(driver.sent, QByteArray("R\x00\x10\x06", 4));
    EXPECT_FALSE(driver.timerRunning());

    // A write the driver's own time-out ended short: the line is stuck.
    device->write("EEEE");
    driver.endWrite(2);
    driver.deliver();
    EXPECT_EQ(lost, 1);
}

TEST_F(Adapter, AStalledFlushEndsTheCloseWithinItsLimitAfterSendingWhatIsQueued)
{
    driver.outputStalls = true;
    driver.writesEnd = false;
    ASSERT_TRUE(open());
    device->write("\x06");
    device->write("\x45"); // queued behind the first
    driver.writesEnd = true;
    driver.endWrite();
    // Closed before the first write's notification came.
    const Dword before = driver.now;
    device->close();
    EXPECT_EQ(driver.sent, QByteArray("\x06\x45"));
    EXPECT_LE(driver.now - before, limits().drain + limits().cancel);
    EXPECT_FALSE(driver.open);
    EXPECT_EQ(lost, 0);
}

TEST_F(Adapter, ACablePulledMidBlockDeliversWhatCameAndIsLostOnce)
{
    ASSERT_TRUE(open());
    device->write(QByteArray("\x52\x00\x10\x10", 4));
    driver.arrive(QByteArray(10, '\x11')); // half a block reply
    driver.deliver();
    EXPECT_EQ(received, QByteArray(10, '\x11'));
    driver.pull();
    driver.deliver();
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(device->isOpen());
    EXPECT_FALSE(driver.open);
    // A write after the loss goes nowhere and says nothing more.
    device->write("\x06");
    driver.deliver();
    EXPECT_EQ(lost, 1);
    EXPECT_LE(driver.now, limits().cancel);
}

TEST_F(Adapter, ADiscardDropsTheByteTheWaitingReadHasTaken)
{
    ASSERT_TRUE(open());
    driver.arrive("x"); // taken by the waiting read, not yet handed on
    device->discardInput();
    driver.deliver();
    EXPECT_TRUE(received.isEmpty());
    driver.arrive("y");
    driver.deliver();
    EXPECT_EQ(received, "y");
}

TEST_F(Adapter, AReceiverThatClosesThePortStopsTheReading)
{
    QObject::connect(device.get(), &SerialDevice::bytesArrived, [this] { device->close(); });
    ASSERT_TRUE(open());
    driver.arrive("ab");
    driver.deliver();
    EXPECT_EQ(received, "ab");
    EXPECT_FALSE(device->isOpen());
    EXPECT_EQ(driver.running(true), nullptr);
    EXPECT_EQ(lost, 0);
}
