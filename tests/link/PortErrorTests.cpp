// What the port error message tells the user, for each usual reason, and
// how a failed open is told apart on a real pseudo-terminal.
#include "Globals.h"
#include "PortBinding.h"
#include "PortErrorText.h"
#include "ReadExchange.h"
#include "SerialLink.h"
#include "SessionState.h"

#include <QCoreApplication>
#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString FixedChinese = QStringLiteral("通讯端口打开错误，请正确设置通讯端口 ！\n\n");
const QString FixedEnglish =
    QStringLiteral("Communication port is error, please setting right communication port . ！\n\n");

PortOpenResult Failure(const char *device, const char *reason)
{
    PortOpenResult result;
    result.device = QString::fromLatin1(device);
    result.reason = QString::fromLatin1(reason);
    return result;
}

// A pseudo-terminal pair; the far end stands in for a serial device.
struct Pty {
    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            device = QString::fromLocal8Bit(::ptsname(master));
    }
    ~Pty()
    {
        if (master >= 0)
            ::close(master);
    }
    int master = -1;
    QString device;
};

PortOpenResult Open(const QString &device)
{
    QSerialPort port(device);
    PortOpenResult result;
    result.device = device;
    if (port.open(QIODevice::ReadWrite)) {
        result.ok = true;
        return result;
    }
    result.reason = port.errorString();
    ExplainPortFailure(result, port.error());
    return result;
}

} // namespace

TEST(PortErrorText, NamesTheUsualReasonsInBothLanguages)
{
    SessionState::instance().setPort(3);
    PortOpenResult inUse = Failure("/dev/ttyUSB0", "Permission error while locking the device");
    inUse.inUse = true;
    inUse.lockFile = QStringLiteral("/run/lock/LCK..ttyUSB0");
    inUse.holder = QStringLiteral("4321 (minicom)");
    PortOpenResult busy = Failure("/dev/ttyUSB0", "Device or resource busy");
    busy.inUse = true;
    PortOpenResult denied = Failure("/dev/ttyS0", "Permission denied");
    denied.accessDenied = true;
    PortOpenResult missing = Failure("/dev/ttyUSB7", "No such file or directory");
    missing.notFound = true;
    // Reached by port number 1, with one USB cable present elsewhere.
    PortEntry cable;
    cable.name = QStringLiteral("/dev/ttyUSB0");
    cable.description = QStringLiteral("CH340 serial converter");
    cable.vendorId = 0x1a86;
    cable.productId = 0x7523;
    cable.usb = true;
    PortOpenResult numbered = missing;
    numbered.option = 1;
    numbered.soleCable = cable;
    PortOpenResult unbound = Failure("", "");
    unbound.soleCable = cable;

    const struct {
        PortOpenResult result;
        const char *chinese;
        const char *english;
    } cases[] = {
        {Failure("", ""),
         "没有串口绑定到 COM3。请在端口设置窗口的“设备”栏填写编程线的串口设备（例如 "
         "/dev/ttyUSB0），"
         "或启动时用 --port 设备 指定。",
         "No serial port is bound to COM3. Type the cable's device (e.g. /dev/ttyUSB0) into the "
         "Device field of the port setup window (Communication), or start with --port DEVICE."},
        {inUse,
         "设备：/dev/ttyUSB0\n原因：设备正被其他程序使用（锁文件 /run/lock/LCK..ttyUSB0，进程 4321 "
         "(minicom)）。请关闭该程序后再试。",
         "Device: /dev/ttyUSB0\nReason: The device is in use by another program (lock file "
         "/run/lock/LCK..ttyUSB0, process 4321 (minicom)). Close that program and try again."},
        {busy, "设备：/dev/ttyUSB0\n原因：设备正被其他程序使用。请关闭该程序后再试。",
         "Device: /dev/ttyUSB0\nReason: The device is in use by another program. Close that "
         "program and try again."},
        {denied,
         "设备：/dev/ttyS0\n原因：没有打开该设备的权限。\n在 Linux 上，用户须属于 dialout 组"
         "（sudo usermod -aG dialout 用户名，然后重新登录）。",
         "Device: /dev/ttyS0\nReason: Permission denied.\nOn Linux the user must belong to the "
         "dialout group (sudo usermod -aG dialout USER, then log in again)."},
        {missing, "设备：/dev/ttyUSB7\n原因：设备不存在（编程线是否已插好？）。",
         "Device: /dev/ttyUSB7\nReason: The device does not exist (is the cable plugged in?)."},
        {Failure("/dev/ttyS1", "Input/output error"), "设备：/dev/ttyS1\n原因：Input/output error",
         "Device: /dev/ttyS1\nReason: Input/output error"},
        {numbered,
         "设备：COM1: /dev/ttyUSB7\n原因：设备不存在（编程线是否已插好？）。\n现有一条 USB "
         "串口线：/dev/ttyUSB0 — CH340 serial converter, 1a86:7523。请在端口设置窗口中选择 "
         "/dev/ttyUSB0，或用 --port /dev/ttyUSB0 指定。",
         "Device: COM1: /dev/ttyUSB7\nReason: The device does not exist (is the cable plugged "
         "in?).\nOne USB serial cable is present: /dev/ttyUSB0 — CH340 serial converter, "
         "1a86:7523. Choose /dev/ttyUSB0 in the port setup window, or give --port /dev/ttyUSB0."},
        {unbound,
         "没有串口绑定到 COM3。请在端口设置窗口的“设备”栏填写编程线的串口设备（例如 "
         "/dev/ttyUSB0），或启动时用 --port 设备 指定。\n现有一条 USB 串口线：/dev/ttyUSB0 — "
         "CH340 serial converter, 1a86:7523。请在端口设置窗口中选择 /dev/ttyUSB0，或用 --port "
         "/dev/ttyUSB0 指定。",
         "No serial port is bound to COM3. Type the cable's device (e.g. /dev/ttyUSB0) into the "
         "Device field of the port setup window (Communication), or start with --port DEVICE.\n"
         "One USB serial cable is present: /dev/ttyUSB0 — CH340 serial converter, 1a86:7523. "
         "Choose /dev/ttyUSB0 in the port setup window, or give --port /dev/ttyUSB0."},
    };
    for (const auto &c : cases) {
        const BilingualText text = PortErrorText(c.result);
        EXPECT_EQ(text.chinese, FixedChinese + QString::fromUtf8(c.chinese));
        EXPECT_EQ(text.english, FixedEnglish + QString::fromUtf8(c.english));
    }
}

TEST(PortFailure, APortHeldByAnotherOpenerIsInUseEvenForRoot)
{
    Pty pty;
    ASSERT_FALSE(pty.device.isEmpty());
    QSerialPort holder(pty.device);
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite)) << holder.errorString().toStdString();

    const PortOpenResult result = Open(pty.device);
    ASSERT_FALSE(result.ok);
    EXPECT_TRUE(result.inUse);
    EXPECT_FALSE(result.accessDenied);
    EXPECT_EQ(result.lockFile, ExistingPortLockFile(pty.device));
    EXPECT_TRUE(result.lockFile.contains(QLatin1String("LCK..pts_")))
        << result.lockFile.toStdString();
    EXPECT_TRUE(result.holder.startsWith(QString::number(::getpid()) + QStringLiteral(" (")))
        << result.holder.toStdString();
    // The holder is this very process: one of our own windows, not another program.
    EXPECT_TRUE(result.heldHere);
    // ql540 ports says so from the lock file, without opening the device.
    const PortHolding holding = HoldingOf(pty.device);
    EXPECT_EQ(holding.holder, PortHolder::ThisProgram);
    EXPECT_TRUE(holding.who.startsWith(QString::number(::getpid()))) << holding.who.toStdString();

    holder.close();
    EXPECT_EQ(HoldingOf(pty.device).holder, PortHolder::Nobody);
    EXPECT_TRUE(Open(pty.device).ok);
}

// A view that keeps nothing: the links below are only opened and closed.
struct QuietView : LinkView {
    void showMessage(const PromptMessage &) override { }
    void setProgress(int) override { }
    void setStatus(const BilingualText &) override { }
    void closeWindow() override { }
};

// Two links of this program on one device: the second is told that the
// first holds it (a transfer in progress), whichever path names it, until
// the first closes its port or goes.
TEST(PortFailure, ADeviceAnotherOfOurLinksHoldsIsHeldHereUntilItLetsGo)
{
    Pty pty;
    ASSERT_FALSE(pty.device.isEmpty());
    QuietView view;
    ReadExchange first, second;
    auto holder = std::make_unique<SerialLink>(first, view);
    SerialLink other(second, view);
    const QString alias = QStringLiteral("/dev/../dev/") + pty.device.mid(5);
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("usb-cable-if00-port0"));
    ASSERT_TRUE(QFile::link(pty.device, link));
    for (const QString &device : {pty.device, alias, link}) {
        SCOPED_TRACE(device.toStdString());
        BindPort(1, pty.device);
        SessionState::instance().setPort(1);
        ASSERT_TRUE(holder->openPort(false).ok);
        BindPort(1, device);
        PortOpenResult result = other.openPort(false);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.heldHere);
        EXPECT_FALSE(other.isPortOpen());
        // The holder may open its own device again.
        holder->closePort();
        result = other.openPort(false);
        EXPECT_TRUE(result.ok);
        EXPECT_FALSE(result.heldHere);
        BindPort(1, pty.device);
        EXPECT_TRUE(holder->openPort(false).heldHere);
        other.closePort();
    }
    ASSERT_TRUE(holder->openPort(false).ok);
    holder.reset(); // a link that goes lets go of its device
    EXPECT_TRUE(other.openPort(false).ok);
    BindPort(1, QString());
}

TEST(PortFailure, AMissingDeviceIsNotFound)
{
    const PortOpenResult result = Open(QStringLiteral("/dev/ql540-no-such-port"));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.notFound);
    EXPECT_FALSE(result.inUse);
}

TEST(PortFailure, ADeviceTheUserMayNotOpenIsAPermissionDenial)
{
    Pty pty;
    ASSERT_FALSE(pty.device.isEmpty());
    ::chmod(pty.device.toLocal8Bit().constData(), 0600);
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to make a device this user may not open";
    }
    // The terminal belongs to root; the unprivileged "nobody" may not open it.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
        const PortOpenResult result = Open(pty.device);
        ::_exit(!result.ok && result.accessDenied && !result.inUse ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // the serial port's notifiers need one
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
