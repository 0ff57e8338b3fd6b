// The fault matrix through the windows, a representative few per window
// (the whole matrix runs through ql540, cli_fault_matrix_tests, and in
// virtual time, FaultMatrixEngineTests): a transient fault ends in an exact
// transfer after a retry; a permanent one in the exact message and status,
// the image untouched, the port closed and the window ready for the next
// transfer, which then succeeds.
#include "LinkTestSupport.h"
#include "PowerWindow.h"
#include "SimProcess.h"
#include "TestImage.h"

#include <QScrollBar>
#include <QSerialPort>

namespace {

const QString FailConnect = QStringLiteral("与对讲机联络失败 ！");
const QString FaultStatus = QStringLiteral("与对讲机通讯故障 ！");
const QString PortError = QStringLiteral("通讯端口打开错误，请正确设置通讯端口 ！");

struct WindowCase {
    const char *name;
    QStringList simArguments;
    int handshakes; // a transient fault: the attempts it takes
    QString message; // a permanent one: the message it ends with
};

const QList<WindowCase> ReadCases = {
    {"short reply at the middle block", {"--short-reply-block", "127"}, 2, {}},
    {"silent radio from the first block", {"--silent-from-block", "0"}, 0, FailConnect},
    {"port disappears at the last block", {"--hang-up-block", "253"}, 0, PortError},
    {"hang-up right after the last reply", {"--hang-up-after-block", "253"}, 1, {}},
};
const QList<WindowCase> WriteCases = {
    {"NAK at the last block", {"--nak-block", "239"}, 2, {}},
    {"wrong identification after the middle block",
     {"--no-reply-block", "120", "--ident-fault-handshake", "2", "--wrong-ident"},
     0,
     FailConnect},
    {"hang-up right after the first reply", {"--hang-up-after-block", "0"}, 0, PortError},
};
// The power window has no retry: a fault it does not ride out closes it
// (the link watch), without a message. "The slider's frame" is the second
// power frame, sent when the high slider moves.
struct PowerCase {
    const char *name;
    QStringList simArguments;
    bool atSlidersFrame;
    bool survives;
};
const QList<PowerCase> PowerCases = {
    {"stray bytes before the acknowledge of the slider's frame",
     {"--stray-before-block", "240", "--stray-count", "5", "--power-fault-frame", "2"},
     true,
     true},
    {"NAK to the first frame", {"--nak-block", "240"}, false, false},
    {"port disappears at the slider's frame",
     {"--hang-up-block", "240", "--power-fault-frame", "2"},
     true,
     false},
};

} // namespace

class FaultMatrixWindowTests : public QObject {
    Q_OBJECT
private slots:
    void init() { harness = new LinkWindowHarness; }
    void cleanup()
    {
        delete harness;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void readWindow_data() { addRows(ReadCases); }
    void readWindow()
    {
        QFETCH(int, index);
        const WindowCase &c = ReadCases.at(index);
        SimProcess sim;
        const RadioMemory radio = PatternMemory();
        QVERIFY(sim.start(radio, QStringList{"--no-pace"} + c.simArguments));
        BindPort(1, sim.device());
        const ImageTable before = RadioData;
        harness->action("Prog_read")->trigger();
        QPointer<TransferWindow> window = harness->transfer(WindowId::Read);
        window->findChild<QPushButton *>("Command_read")->click();
        if (c.message.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(harness->messageShown(ReadDone), 40000);
            QCOMPARE(FirstDifference(radio, 0, 253), QString());
            QVERIFY2(AttemptsFit(sim.count("handshake"), c.handshakes),
                     qPrintable(QString::number(sim.count("handshake"))));
            QTRY_VERIFY_WITH_TIMEOUT(!window, 1000); // it closes itself
            return;
        }
        expectFailure(window, c.message);
        QVERIFY(RadioData == before);
        if (c.message == FailConnect) {
            // Ready for the next transfer, with the radio back in order.
            SimProcess healthy;
            QVERIFY(healthy.start(radio, {"--no-pace"}));
            BindPort(1, healthy.device());
            window->findChild<QPushButton *>("Command_read")->click();
            QTRY_VERIFY_WITH_TIMEOUT(harness->messageShown(ReadDone), 40000);
            QCOMPARE(FirstDifference(radio, 0, 253), QString());
            QTRY_VERIFY_WITH_TIMEOUT(!window, 1000);
        } else {
            window->findChild<QPushButton *>("Command_Cancel")->click();
            QVERIFY(!OpenWindows[WindowId::Read]);
        }
    }

    void writeWindow_data() { addRows(WriteCases); }
    void writeWindow()
    {
        QFETCH(int, index);
        const WindowCase &c = WriteCases.at(index);
        SimProcess sim;
        RadioMemory blank{};
        QVERIFY(sim.start(blank, QStringList{"--no-pace"} + c.simArguments));
        BindPort(1, sim.device());
        SetUpImage([&](ImageTable &image) {
            for (int r = 160; r < 200; ++r)
                for (int col = 0; col < 16; ++col)
                    image[r][col] = int16_t((r * 16 + col) % 41);
        });
        harness->action("Prog_write")->trigger();
        QPointer<TransferWindow> window = harness->transfer(WindowId::Write);
        window->findChild<QPushButton *>("Command_Write")->click();
        if (c.message.isEmpty()) {
            waitForWrite(window);
            QVERIFY2(AttemptsFit(sim.count("handshake"), c.handshakes),
                     qPrintable(QString::number(sim.count("handshake"))));
            QCOMPARE(FirstDifference(sim.stop(), 0, 239), QString());
            return;
        }
        expectFailure(window, c.message);
        if (c.message == FailConnect) {
            SimProcess healthy;
            QVERIFY(healthy.start(blank, {"--no-pace"}));
            BindPort(1, healthy.device());
            window->findChild<QPushButton *>("Command_Write")->click();
            waitForWrite(window);
            QCOMPARE(FirstDifference(healthy.stop(), 0, 239), QString());
        } else {
            window->findChild<QPushButton *>("Command_Cancel")->click();
            QVERIFY(!OpenWindows[WindowId::Write]);
        }
    }

    void powerWindow_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < PowerCases.size(); ++i)
            QTest::newRow(PowerCases.at(i).name) << i;
    }
    void powerWindow()
    {
        QFETCH(int, index);
        const PowerCase &c = PowerCases.at(index);
        SimProcess sim;
        RadioMemory radio = PatternMemory();
        for (int k = 0; k < 3; ++k)
            radio[CalibrationRow * 16 + k] = uint8_t(0x30 + 0x20 * k);
        QVERIFY(sim.start(radio, QStringList{"--no-pace"} + c.simArguments));
        BindPort(1, sim.device());
        harness->action("Adj_Txp")->trigger();
        QPointer<PowerWindow> window = Windows::FindAs<PowerWindow>(WindowId::Power);
        QVERIFY(window);
        // The radio's values are taken from the identification either way.
        QTRY_COMPARE_WITH_TIMEOUT(int(RadioData[CalibrationRow][2]), 0x70, 3000);
        if (c.atSlidersFrame) {
            QTRY_VERIFY_WITH_TIMEOUT(window && window->engine().state() == RadioLink::State::Linked,
                                     3000);
            window->findChild<QScrollBar *>("HScroll_H")->setValue(200);
        }
        if (c.survives) {
            QTRY_COMPARE(sim.count("power 48 80 200"), 1);
            QTRY_VERIFY(window->engine().state() == RadioLink::State::Linked);
            QTest::qWait(700); // the watch finds the link up
            QVERIFY(window);
            window->findChild<QPushButton *>("Command_Close")->click();
            QTRY_COMPARE(sim.count("leave"), 1);
            QCOMPARE(sim.stop()[CalibrationRow * 16 + 2], uint8_t(200));
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!window, 3000);
            QVERIFY(!OpenWindows[WindowId::Power]);
            QCOMPARE(sim.count("leave"), 0); // the port was already closed
            QVERIFY(sim.stop()[CalibrationRow * 16 + 2] != 200);
        }
        QVERIFY(harness->messages.empty());
    }

private:
    static void addRows(const QList<WindowCase> &cases)
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < cases.size(); ++i)
            QTest::newRow(cases.at(i).name) << i;
    }

    // The transfer ends with the message (and, after the retries, the
    // status); nothing is busy, the port is closed, the window stays.
    void expectFailure(TransferWindow *window, const QString &message)
    {
        auto *port = window->findChild<QSerialPort *>("MSC");
        QVERIFY(port);
        QTRY_VERIFY_WITH_TIMEOUT(!harness->messages.empty(), 45000);
        QVERIFY2(harness->messages.back().text.startsWith(message),
                 qPrintable(harness->messages.back().text));
        QCOMPARE(harness->messages.size(), size_t(1));
        QVERIFY(!window->engine().busy());
        QVERIFY(!port->isOpen());
        if (message == FailConnect) {
            QCOMPARE(window->findChild<QLabel *>("Label_tr_count")->text(), FaultStatus);
            QCOMPARE(window->findChild<QProgressBar *>("ProgressBar1")->value(), 0);
        }
        QVERIFY(OpenWindows[window->windowId()]);
        harness->messages.clear();
    }

    void waitForWrite(QPointer<TransferWindow> &window)
    {
        // It unloads itself 500 ms after the end byte.
        QTRY_VERIFY_WITH_TIMEOUT(!window || window->engine().done(), 40000);
        QTRY_VERIFY_WITH_TIMEOUT(!window, 2000);
        QVERIFY(harness->messages.empty());
    }

    LinkWindowHarness *harness = nullptr;
};

QTEST_MAIN(FaultMatrixWindowTests)
#include "FaultMatrixWindowTests.moc"
