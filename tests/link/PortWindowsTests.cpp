// The port setup window's list and the batch window's rows, built alone
// with the ports given in advance (the system's list is not asked): the
// wiring of the list, the typed port, the port binding and the rows, on
// Linux and, built for Windows, under Wine with Windows' port names.
#include "BatchWriteWindow.h"
#include "Globals.h"
#include "PortBinding.h"
#include "PortSetupWindow.h"
#include "PortWatch.h"
#include "SessionState.h"
#include "SystemPortSource.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

#ifdef Q_OS_WIN
constexpr bool OnWindows = true;
#else
constexpr bool OnWindows = false;
#endif

// The same ports under each system's names.
QString Cable() { return OnWindows ? "COM12" : "/dev/ttyUSB0"; }
QString OtherCable() { return OnWindows ? "COM13" : "/dev/ttyUSB1"; }
QString BoardPort() { return OnWindows ? "COM1" : "/dev/ttyS0"; }
// A port nobody has, typed.
QString Typed() { return OnWindows ? "COM23" : "/dev/ttyQL23"; }
QString Missing() { return OnWindows ? "COM77" : "/dev/ql540-no-such-port"; }

PortEntry Usb(const QString &name, const char *description)
{
    PortEntry port;
    port.name = name;
    port.description = QString::fromUtf8(description);
    port.manufacturer = "wch.cn";
    port.vendorId = 0x1a86;
    port.productId = 0x7523;
    port.usb = true;
    return port;
}

PortEntry Board(const QString &name)
{
    PortEntry port;
    port.name = name;
    return port;
}

QString Line(const PortEntry &port) { return PortLine(port, HostPortPlatform()).english; }

template<class Window> std::unique_ptr<Window> Loaded()
{
    auto window = std::make_unique<Window>();
    window->load({QSize(1000, 700), QSize(1000, 700)});
    window->show();
    return window;
}

} // namespace

class PortWindowsTests : public QObject {
    Q_OBJECT
    ListedPortSource ports;

private slots:
    void init()
    {
        SessionState::instance().setChinese(false);
        PortErrorFlag = false;
        SetCurrentPortSource(&ports);
        ports.setPorts({Board(BoardPort()), Usb(Cable(), "USB-SERIAL CH340")});
        SessionState::instance().setPort(1);
        for (int n = 1; n <= PortChoices; ++n)
            BindPort(n, QString());
    }
    void cleanup()
    {
        SetCurrentPortSource(nullptr);
        for (int n = 1; n <= PortChoices; ++n)
            BindPort(n, QString());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void theListNamesEachPortCablesFirstAndChoosingOneBindsIt()
    {
        auto setup = Loaded<PortSetupWindow>();
        for (int n = 1; n <= 8; ++n)
            QCOMPARE(setup->findChild<QRadioButton *>(QString("Option%1").arg(n))->text(),
                     QString("COM%1").arg(n));
        auto *list = setup->findChild<QListWidget *>("List_ports");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), Line(Usb(Cable(), "USB-SERIAL CH340")));
        QCOMPARE(list->item(1)->text(), Line(Board(BoardPort())));
        QVERIFY(list->item(0)->text().contains(" — USB-SERIAL CH340"));
        auto *device = setup->findChild<QLineEdit *>("Text_device");
        QVERIFY(device->isVisible()); // on Windows too: any COM number can be typed

        list->setCurrentRow(0);
        QCOMPARE(device->text(), Cable());
        setup->findChild<QPushButton *>("Command_ok")->click();
        QCOMPARE(PortNumber, int16_t(1));
        QCOMPARE(DeviceForPort(1), Cable());
        QCOMPARE(PortNumberLabel(1), "COM1: " + Cable());
        QVERIFY(!setup->isLoaded());
    }

    void anyPortCanBeTypedAndAListedOneShowsChosen()
    {
        auto setup = Loaded<PortSetupWindow>();
        setup->findChild<QRadioButton *>("Option2")->click();
        auto *device = setup->findChild<QLineEdit *>("Text_device");
        auto *list = setup->findChild<QListWidget *>("List_ports");
        device->clear();
        // Another spelling of the cable: the list shows it chosen.
        QTest::keyClicks(device, OnWindows ? "\\\\.\\com12" : "ttyUSB0");
        QCOMPARE(list->currentRow(), 0);
        device->clear();
        QTest::keyClicks(device, Typed());
        QCOMPARE(list->currentRow(), -1);
        QTest::keyClick(device, Qt::Key_Return);
        QCOMPARE(PortNumber, int16_t(2));
        QCOMPARE(DeviceForPort(2), Typed());
        QVERIFY(!setup->isLoaded());

        // Reopened, the number shows its port beside it.
        setup = Loaded<PortSetupWindow>();
        QVERIFY(setup->findChild<QLabel *>("Label_device2")->text().contains(Typed()));
    }

    void theListFollowsCablesPluggedInAndPulledOut()
    {
        auto setup = Loaded<PortSetupWindow>();
        QVERIFY(PortWatch::instance().watching());
        auto *list = setup->findChild<QListWidget *>("List_ports");
        auto *device = setup->findChild<QLineEdit *>("Text_device");
        device->clear();
        QTest::keyClicks(device, Typed()); // typed, not yet confirmed: kept
        ports.setPorts({Board(BoardPort()), Usb(Cable(), "USB-SERIAL CH340"),
                        Usb(OtherCable(), "FT232R USB UART")});
        PortWatch::instance().checkNow();
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(1)->text(), Line(Usb(OtherCable(), "FT232R USB UART")));
        ports.setPorts({});
        PortWatch::instance().checkNow();
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(),
                 QString("No serial port found (type its name into the device field below)"));
        QVERIFY(!(list->item(0)->flags() & Qt::ItemIsSelectable));
        QCOMPARE(device->text(), Typed());
        setup->findChild<QPushButton *>("Command1")->click();
        QVERIFY(!PortWatch::instance().watching());

        // Untouched, the device shown follows the list where the number
        // stands for a port it lists (Linux: COM1 is the first port).
        ports.setPorts({Board(BoardPort())});
        setup = Loaded<PortSetupWindow>();
        device = setup->findChild<QLineEdit *>("Text_device");
        QCOMPARE(device->text(), DeviceForPort(1));
        ports.setPorts({Usb(Cable(), "USB-SERIAL CH340"), Board(BoardPort())});
        PortWatch::instance().checkNow();
        QCOMPARE(device->text(), OnWindows ? QString("COM1") : Cable());
    }

    void aMissingPortOffersTheOneCablePresent()
    {
        BindPort(3, Missing());
        SessionState::instance().setPort(3);
        auto setup = Loaded<PortSetupWindow>();
        QCOMPARE(setup->findChild<QLineEdit *>("Text_device")->text(), Cable());
        QCOMPARE(setup->findChild<QListWidget *>("List_ports")->currentRow(), 0);
        setup->findChild<QPushButton *>("Command_ok")->click();
        QCOMPARE(DeviceForPort(3), Cable());

        // With two cables nothing is offered: the port stays as it was.
        ports.setPorts({Usb(Cable(), "USB-SERIAL CH340"), Usb(OtherCable(), "FT232R USB UART")});
        BindPort(3, Missing());
        setup = Loaded<PortSetupWindow>();
        QCOMPARE(setup->findChild<QLineEdit *>("Text_device")->text(), Missing());
        QCOMPARE(setup->findChild<QListWidget *>("List_ports")->currentRow(), -1);
    }

    void theListSpeaksBothLanguages()
    {
        SessionState::instance().setChinese(true);
        PortEntry bare = Usb(Cable(), "");
        bare.manufacturer.clear();
        ports.setPorts({bare, Board(BoardPort())});
        auto setup = Loaded<PortSetupWindow>();
        auto *list = setup->findChild<QListWidget *>("List_ports");
        QCOMPARE(list->accessibleName(), QString("本机现有的串口"));
        QVERIFY(list->item(0)->text().contains("USB 串口"));
        QCOMPARE(list->item(1)->text(), BoardPort() + " — 串口");
        QCOMPARE(setup->findChild<QLineEdit *>("Text_device")->accessibleName(), QString("设备"));
        SessionState::instance().setChinese(false);
        setup = Loaded<PortSetupWindow>();
        list = setup->findChild<QListWidget *>("List_ports");
        QCOMPARE(list->accessibleName(), QString("Serial ports on this computer"));
        QVERIFY(list->item(0)->text().contains("USB serial port"));
    }

    void theBatchWindowListsThePortsPresentAndTypedOnesOnce()
    {
        QTemporaryDir dir;
        // On Linux one port under two names: a device and a link to it.
        const QString port = OnWindows ? "COM5" : dir.filePath("ttyQL5");
        const QString samePort = OnWindows ? "\\\\.\\COM5" : dir.filePath("by-id-ql5");
        if (!OnWindows) {
            QFile file(port);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(QFile::link(port, samePort));
        }
        auto batch = Loaded<BatchWriteWindow>();
        auto *table = batch->findChild<QTableWidget *>("Table_ports");
        const int present = table->rowCount();
        QVERIFY(present >= 2); // no fixed COM1..COM8 rows: the two present, and typed ones
        QCOMPARE(table->item(0, 0)->text(), Line(Usb(Cable(), "USB-SERIAL CH340")));
        QCOMPARE(table->item(1, 0)->text(), Line(Board(BoardPort())));
        for (int row = 0; row < table->rowCount(); ++row)
            QVERIFY(!table->item(row, 0)->text().startsWith("COM2"));

        auto *device = batch->findChild<QLineEdit *>("Text_device");
        auto *add = batch->findChild<QPushButton *>("Command_Add");
        device->setText(port);
        add->click();
        const int withPort = table->rowCount();
        device->setText(samePort);
        add->click();
        QCOMPARE(table->rowCount(), withPort);
        device->setText(OnWindows ? "com5" : port);
        add->click();
        QCOMPARE(table->rowCount(), withPort);
        // The cable under another name is the cable's row, ticked.
        device->setText(OnWindows ? "\\\\.\\com12" : "ttyUSB0");
        add->click();
        QCOMPARE(table->rowCount(), withPort);
        QCOMPARE(table->item(0, 0)->checkState(), Qt::Checked);
        batch->findChild<QPushButton *>("Command_Refresh")->click();
        QCOMPARE(table->rowCount(), withPort);
    }
};

QTEST_MAIN(PortWindowsTests)
#include "PortWindowsTests.moc"
