// Port names and the port list: one key per port on either system (the
// Windows rules run on Linux too), the order and texts of the list, the one
// cable to suggest, and the source the program asks.
#include "PortInventory.h"
#include "SystemPortSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr PortPlatform Win = PortPlatform::Windows;
constexpr PortPlatform Unix = PortPlatform::Unix;

PortEntry Usb(const char *name, const char *description, quint16 vendor = 0x1a86,
              quint16 product = 0x7523)
{
    PortEntry port;
    port.name = QString::fromUtf8(name);
    port.description = QString::fromUtf8(description);
    port.vendorId = vendor;
    port.productId = product;
    port.usb = true;
    return port;
}

PortEntry Board(const char *name)
{
    PortEntry port;
    port.name = QString::fromUtf8(name);
    return port;
}

QStringList Names(const QList<PortEntry> &ports)
{
    QStringList names;
    for (const PortEntry &port : ports)
        names << port.name;
    return names;
}

// Puts a list in place of the system's for one test.
struct ListedPorts {
    explicit ListedPorts(QList<PortEntry> ports) : source(std::move(ports))
    {
        SetCurrentPortSource(&source);
    }
    ~ListedPorts() { SetCurrentPortSource(nullptr); }
    ListedPortSource source;
};

} // namespace

TEST(PortKey, OneKeyPerPortAndNoneForWhatNamesNoPort)
{
    const struct {
        const char *name;
        PortPlatform platform;
        const char *key;
    } cases[] = {
        {"COM5", Win, "COM5"},
        {"com5", Win, "COM5"},
        {"\\\\.\\COM5", Win, "COM5"},
        {"\\\\.\\com5", Win, "COM5"},
        {"//./COM5", Win, "COM5"},
        {" COM12 ", Win, "COM12"},
        {"COM123", Win, "COM123"},
        {"CNCA0", Win, "CNCA0"}, // a virtual port's own name
        {"COM05", Win, "COM05"}, // not COM5: Windows has no such name
        {"COM5:", Win, ""},
        {"\\\\.\\COM5:", Win, ""},
        {"C:\\COM5", Win, ""},
        {"COM 5", Win, ""},
        {"\\\\.\\", Win, ""},
        {"", Win, ""},
        {"   ", Win, ""},
        {"/dev/ttyUSB0", Unix, "/dev/ttyUSB0"},
        {"ttyUSB0", Unix, "/dev/ttyUSB0"},
        {"/dev//ttyUSB0", Unix, "/dev/ttyUSB0"},
        {"/dev/./ttyUSB0", Unix, "/dev/ttyUSB0"},
        {"/dev/ttyusb0", Unix, "/dev/ttyusb0"}, // paths keep their case
        {"serial/by-id/usb-x", Unix, "/dev/serial/by-id/usb-x"},
        {"COM5", Unix, "/dev/COM5"},
        {"", Unix, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PortKey(QString::fromUtf8(c.name), c.platform), QString::fromUtf8(c.key));
        EXPECT_EQ(IsValidPortName(QString::fromUtf8(c.name), c.platform), *c.key != 0);
    }
}

TEST(PortKey, TheWindowsPathOpensEveryComNumber)
{
    EXPECT_EQ(WindowsDevicePath("COM12"), "\\\\.\\COM12");
    EXPECT_EQ(WindowsDevicePath("com3"), "\\\\.\\COM3");
    EXPECT_EQ(WindowsDevicePath("\\\\.\\com200"), "\\\\.\\COM200");
    EXPECT_EQ(WindowsDevicePath("COM5:"), QString());
}

TEST(PortKey, AnOptionIsNamedWithItsDeviceWhereTheyDiffer)
{
    const struct {
        int option;
        const char *device;
        PortPlatform platform;
        const char *label;
    } cases[] = {
        {1, "", Win, "COM1"},
        {1, "COM1", Win, "COM1"},
        {1, "\\\\.\\com1", Win, "COM1"},
        {1, "COM12", Win, "COM1: COM12"},
        {3, "\\\\.\\COM12", Win, "COM3: \\\\.\\COM12"},
        {1, "demo", Win, "COM1: demo"},
        {1, "/dev/ttyUSB0", Unix, "COM1: /dev/ttyUSB0"},
        {2, "", Unix, "COM2"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.device);
        EXPECT_EQ(PortOptionLabel(c.option, QString::fromUtf8(c.device), c.platform),
                  QString::fromUtf8(c.label));
    }
}

#ifndef Q_OS_WIN
TEST(PortIdentity, ALinkIsTheDeviceItPointsTo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString device = dir.filePath("ttyUSB0");
    QFile file(device);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QDir(dir.path()).mkpath("by-id");
    const QString link = dir.filePath("by-id/usb-1a86_USB_Serial-if00-port0");
    ASSERT_TRUE(QFile::link(device, link));

    const QString canonical = QFileInfo(device).canonicalFilePath();
    EXPECT_EQ(ResolvePortLink(link), canonical);
    EXPECT_EQ(PortIdentity(link), canonical);
    EXPECT_TRUE(SamePort(link, device));
    EXPECT_TRUE(SamePort(dir.path() + "/by-id/../ttyUSB0", device));
    EXPECT_FALSE(SamePort(link, dir.filePath("ttyUSB1")));
    // A missing path is still a name: compared as written.
    EXPECT_EQ(ResolvePortLink("/dev/ql540-no-such-port"), "/dev/ql540-no-such-port");
    EXPECT_FALSE(SamePort("", ""));
}
#endif

TEST(PortList, UsbCablesFirstThenByNumberEachPortOnce)
{
    const QList<PortEntry> windows{Board("COM1"), Usb("COM10", "FT232R USB UART"),
                                   Usb("COM2", "USB-SERIAL CH340"), Board("COM3"),
                                   Usb("\\\\.\\com2", "USB-SERIAL CH340")};
    EXPECT_EQ(Names(OrderedPorts(windows, Win)), QStringList({"COM2", "COM10", "COM1", "COM3"}));

    const QList<PortEntry> unix{Board("/dev/ttyS0"), Usb("/dev/ttyUSB10", "x"),
                                Usb("/dev/ttyACM0", "y"), Usb("/dev/ttyUSB2", "z")};
    EXPECT_EQ(Names(OrderedPorts(unix, Unix)),
              QStringList({"/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyS0"}));
}

TEST(PortList, EachLineSaysWhatThePortIs)
{
    PortEntry makerOnly = Board("/dev/ttyUSB1");
    makerOnly.manufacturer = "Prolific";
    makerOnly.usb = true;
    PortEntry bareUsb = Usb("COM7", "");
    PortEntry noIds = Usb("/dev/ttyUSB3", "");
    noIds.vendorId.reset();
    const struct {
        PortEntry port;
        PortPlatform platform;
        const char *chinese;
        const char *english;
    } cases[] = {
        {Usb("COM12", "USB-SERIAL CH340"), Win, "COM12 — USB-SERIAL CH340",
         "COM12 — USB-SERIAL CH340"},
        {Usb("/dev/ttyUSB0", "CH340 serial converter"), Unix,
         "/dev/ttyUSB0 — CH340 serial converter, 1a86:7523",
         "/dev/ttyUSB0 — CH340 serial converter, 1a86:7523"},
        {makerOnly, Unix, "/dev/ttyUSB1 — Prolific", "/dev/ttyUSB1 — Prolific"},
        {bareUsb, Win, "COM7 — USB 串口, 1a86:7523", "COM7 — USB serial port, 1a86:7523"},
        {noIds, Unix, "/dev/ttyUSB3 — USB 串口", "/dev/ttyUSB3 — USB serial port"},
        {Board("COM1"), Win, "COM1 — 串口", "COM1 — serial port"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.english);
        EXPECT_EQ(PortLine(c.port, c.platform),
                  (BilingualText{QString::fromUtf8(c.chinese), QString::fromUtf8(c.english)}));
    }
}

TEST(PortList, UsbIdsInFourHexDigits)
{
    EXPECT_EQ(Usb("a", "", 0x0403, 0x6001).usbId(), "0403:6001");
    EXPECT_EQ(Usb("a", "", 0x067b, 0x2303).usbId(), "067b:2303");
    PortEntry half = Usb("a", "");
    half.productId.reset();
    EXPECT_EQ(half.usbId(), QString());
}

TEST(PortList, TheSoleUsbCableIsTheOneAmongBoardPorts)
{
    const PortEntry cable = Usb("COM12", "USB-SERIAL CH340");
    EXPECT_EQ(SoleUsbCable({}), std::nullopt);
    EXPECT_EQ(SoleUsbCable({Board("COM1")}), std::nullopt);
    EXPECT_EQ(SoleUsbCable({Board("COM1"), cable, Board("COM2")}), cable);
    EXPECT_EQ(SoleUsbCable({cable, Usb("COM13", "FT232R USB UART")}), std::nullopt);
}

TEST(PortList, FindsAPortHoweverItIsWritten)
{
    const QList<PortEntry> ports{Board("COM1"), Usb("COM12", "USB-SERIAL CH340")};
    ASSERT_NE(FindPort(ports, "\\\\.\\com12", Win), nullptr);
    EXPECT_EQ(FindPort(ports, "\\\\.\\com12", Win)->name, "COM12");
    EXPECT_EQ(FindPort(ports, "COM12:", Win), nullptr);
    EXPECT_EQ(FindPort(ports, "COM2", Win), nullptr);
}

TEST(PortList, PresentPortsThenTypedOnesEachOnce)
{
    const PortEntry cable = Usb("COM3", "USB-SERIAL CH340");
    const QList<PortChoice> choices = PortsToChoose(
        {cable}, {"COM5", "\\\\.\\COM5", "com3", "COM5:", "", " com7 ", "\\\\.\\com7", "COM5:"},
        Win);
    const QList<PortChoice> expected{{"COM3", cable}, {"COM5", {}}, {"COM5:", {}}, {"com7", {}}};
    EXPECT_EQ(choices, expected);

    // A link is the device it points to.
    const PortEntry usb0 = Usb("/dev/ttyUSB0", "CH340 serial converter");
    const auto resolve = [](const QString &name) {
        return name.startsWith("/dev/serial/by-id/") ? QString("/dev/ttyUSB0") : name;
    };
    const QList<PortChoice> linked =
        PortsToChoose({usb0}, {"/dev/serial/by-id/usb-1a86-port0", "/dev/ttyS4"}, Unix, resolve);
    const QList<PortChoice> expectedLinked{{"/dev/ttyUSB0", usb0}, {"/dev/ttyS4", {}}};
    EXPECT_EQ(linked, expectedLinked);
}

TEST(PortSource, TheProgramAsksTheListPutInPlace)
{
    ListedPorts listed({Board("/dev/ttyS0"), Usb("/dev/ttyUSB0", "CH340 serial converter")});
    EXPECT_EQ(Names(PresentPorts()), QStringList({"/dev/ttyUSB0", "/dev/ttyS0"}));
    listed.source.setPorts({});
    EXPECT_TRUE(PresentPorts().isEmpty());
}

#ifndef Q_OS_WIN
TEST(PortSource, APortExistsWhenListedOrOnDisk)
{
    ListedPorts listed({Usb("/dev/ttyUSB9", "CH340 serial converter")});
    QTemporaryDir dir;
    const QString pty = dir.filePath("pty");
    QFile file(pty);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_TRUE(PortExists("/dev/ttyUSB9"));
    EXPECT_TRUE(PortExists(pty));
    EXPECT_FALSE(PortExists("/dev/ql540-no-such-port"));
    EXPECT_FALSE(PortExists(""));
}
#endif
