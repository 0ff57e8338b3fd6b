// The power-adjust window, headless, against the simulator on a real pty:
// what it shows and sends, and when it goes. The session's rules are
// pinned in virtual time (PowerEngineTests); these check the wiring.
#include "ImageChanges.h"
#include "LinkTestSupport.h"
#include "PowerWindow.h"
#include "SimProcess.h"

#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>

namespace {

RadioMemory PowerMemory()
{
    RadioMemory memory = DefaultRadioMemory();
    memory[CalibrationRow * 16 + 0] = 0x30;
    memory[CalibrationRow * 16 + 1] = 0x50;
    memory[CalibrationRow * 16 + 2] = 0x70;
    return memory;
}

const char *const Sliders[] = {"HScroll_L", "HScroll_M", "HScroll_H"};
const char *const Values[] = {"Label_L", "Label_M", "Label_H"};

} // namespace

class PowerWindowTests : public QObject {
    Q_OBJECT
private slots:
    void init() { harness = new LinkWindowHarness; }
    void cleanup()
    {
        delete harness;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void opensConnectedShowsTheRadiosValuesAndSendsEachMove()
    {
        SimProcess sim;
        QVERIFY(sim.start(PowerMemory(), {"--no-pace"}));
        BindPort(1, sim.device());
        harness->action("Adj_Txp")->trigger();
        auto *window = Windows::FindAs<PowerWindow>(WindowId::Power);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("发射功率调整"));
        QCOMPARE(window->findChild<QLabel *>("Label_High")->text(), QString("高功率"));
        QCOMPARE(window->findChild<QPushButton *>("Command_Close")->text(), QString("关闭"));
        QCOMPARE(window->findChild<QPushButton *>("Command_Help")->text(), QString("帮助"));
        auto *watch = window->findChild<QTimer *>("Timer4");
        QVERIFY(watch->isActive());
        QCOMPARE(watch->interval(), 500);
        const QSize main = harness->window.size();
        QCOMPARE(window->parentWidget()->width(), int(main.width() / 1.8));
        QCOMPARE(window->parentWidget()->height(), main.height() / 2);
        QCOMPARE(window->parentWidget()->y(), (main.height() - main.height() / 2) / 3);

        const int expected[] = {48, 80, 112};
        for (int k = 0; k < 3; ++k) {
            auto *slider = window->findChild<QScrollBar *>(Sliders[k]);
            QCOMPARE(slider->maximum(), 255);
            QTRY_COMPARE_WITH_TIMEOUT(slider->value(), expected[k], 3000);
            QCOMPARE(window->findChild<QLabel *>(Values[k])->text(), QString::number(expected[k]));
            QCOMPARE(RadioData[CalibrationRow][k], expected[k]);
        }
        QTRY_COMPARE(sim.count("power 48 80 112"), 1);
        QTRY_VERIFY(window->engine().state() == RadioLink::State::Linked);

        // The high slider to 200: one change of row 240, one frame.
        QSignalSpy changes(&ImageChanges::instance(), &ImageChanges::rowsChanged);
        window->findChild<QScrollBar *>("HScroll_H")->setValue(200);
        QCOMPARE(RadioData[CalibrationRow][2], 200);
        QCOMPARE(RadioData[CalibrationRow][3], 2);
        QCOMPARE(window->findChild<QLabel *>("Label_H")->text(), QString("200"));
        QCOMPARE(changes.size(), 1);
        const auto change = changes.at(0).at(0).value<ImageChange>();
        QVERIFY(change.kind == ChangeKind::PowerCalibration);
        QVERIFY(change.touches(CalibrationRow));
        QTRY_COMPARE(sim.count("power 48 80 200"), 1);
        QTest::qWait(100);
        QCOMPARE(sim.countStarting("power "), 2);

        window->findChild<QPushButton *>("Command_Close")->click();
        QVERIFY(!OpenWindows[WindowId::Power]);
        QTRY_COMPARE(sim.count("leave"), 1);
        const RadioMemory radio = sim.stop();
        QCOMPARE(radio[CalibrationRow * 16 + 2], uint8_t(200));
        QCOMPARE(RadioData[CalibrationRow][2], 200); // the move stays in the image
    }

    void movesBeforeTheIdentificationSendNothingAndTheRadiosValuesWin()
    {
        SimProcess sim;
        QVERIFY(sim.start(PowerMemory(), {"--no-pace"}));
        BindPort(1, sim.device());
        harness->action("Adj_Txp")->trigger();
        auto *window = Windows::FindAs<PowerWindow>(WindowId::Power);
        // Still inside the opening: the handshake has not even left.
        auto *high = window->findChild<QScrollBar *>("HScroll_H");
        high->setValue(200);
        QCOMPARE(RadioData[CalibrationRow][2], 200);
        QCOMPARE(RadioData[CalibrationRow][3], 2);
        QTRY_COMPARE_WITH_TIMEOUT(high->value(), 112, 3000);
        QCOMPARE(RadioData[CalibrationRow][2], 112);
        QTRY_COMPARE(sim.count("power 48 80 112"), 1);
        QTest::qWait(200);
        QCOMPARE(sim.countStarting("power "), 1);
    }

    // No answer, or the wrong radio: the window goes at the first watch
    // tick, with no message; a radio that heard the handshake is told to
    // leave.
    void aRadioThatDoesNotIdentifyClosesTheWindow_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("leaves");
        QTest::newRow("silent") << "--silent" << 0;
        QTest::newRow("wrong radio") << "--wrong-ident" << 1;
    }
    void aRadioThatDoesNotIdentifyClosesTheWindow()
    {
        QFETCH(QString, fault);
        QFETCH(int, leaves);
        SimProcess sim;
        QVERIFY(sim.start(PowerMemory(), {"--no-pace", fault}));
        BindPort(1, sim.device());
        QElapsedTimer clock;
        clock.start();
        harness->action("Adj_Txp")->trigger();
        QVERIFY(OpenWindows[WindowId::Power]);
        QTRY_VERIFY_WITH_TIMEOUT(!OpenWindows[WindowId::Power], 3000);
        QVERIFY(clock.elapsed() >= 450);
        QVERIFY(harness->messages.empty());
        QTRY_COMPARE(sim.count("leave"), leaves);
        QCOMPARE(sim.countStarting("power "), 0);
    }

    // The language switch reloads the window: the radio is left, and the
    // new window connects again from the handshake. Whenever the window
    // goes, the radio is told to leave.
    void languageSwitchReconnectsAndEveryEndTellsTheRadioToLeave()
    {
        SimProcess sim;
        QVERIFY(sim.start(PowerMemory(), {"--no-pace"}));
        BindPort(1, sim.device());
        harness->action("Adj_Txp")->trigger();
        QTRY_COMPARE(sim.count("power 48 80 112"), 1);
        harness->action("Language_eng")->trigger();
        auto *window = Windows::FindAs<PowerWindow>(WindowId::Power);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("Power Adjust"));
        const char *titles[][2] = {
            {"Label_Low", "Low Power"}, {"Label_Mid", "Mid Power"}, {"Label_High", "High Power"}};
        for (const auto &t : titles)
            QCOMPARE(window->findChild<QLabel *>(t[0])->text(), QString(t[1]));
        QCOMPARE(window->findChild<QPushButton *>("Command_Close")->text(), QString("Close"));
        QCOMPARE(window->findChild<QPushButton *>("Command_Help")->text(), QString("Help"));
        QTRY_COMPARE(sim.count("handshake"), 2);
        QCOMPARE(sim.count("leave"), 1);
        QTRY_COMPARE(window->findChild<QScrollBar *>("HScroll_M")->value(), 80);
        QTRY_VERIFY(window->engine().state() == RadioLink::State::Linked);
        // The program ends with the window open: the radio is still told.
        delete harness;
        harness = nullptr;
        QTRY_COMPARE(sim.count("leave"), 2);
    }

    // The power window and a transfer share the port: whichever comes
    // second says a transfer is in progress (never that another program
    // holds the device) and starts nothing; the first goes on undisturbed.
    void aPortInUseByAnotherOfOurWindowsSaysATransferIsInProgress()
    {
        const QString busy = QStringLiteral("正在与对讲机进行读写操作 ！");
        SimProcess sim;
        const RadioMemory radio = PowerMemory();
        QVERIFY(sim.start(radio, {"--no-pace"}));
        BindPort(1, sim.device());

        // The power window opened during a read.
        harness->action("Prog_read")->trigger();
        QPointer<TransferWindow> read = harness->transfer(WindowId::Read);
        read->findChild<QPushButton *>("Command_read")->click();
        QTRY_VERIFY(read->engine().handshaken());
        harness->action("Adj_Txp")->trigger();
        QCOMPARE(harness->messages.size(), size_t(1));
        QCOMPARE(harness->messages[0].text, busy);
        QVERIFY(!PortErrorFlag);
        QTRY_VERIFY_WITH_TIMEOUT(!OpenWindows[WindowId::Power], 2000);
        QTRY_VERIFY_WITH_TIMEOUT(harness->messageShown(ReadDone), 20000);
        QCOMPARE(FirstDifference(radio, 0, 253), QString());
        QVERIFY(AttemptsFit(sim.count("handshake"), 1));

        // A write started while the power window holds the port.
        harness->messages.clear();
        const int handshakesBefore = sim.count("handshake");
        harness->action("Adj_Txp")->trigger();
        auto *power = Windows::FindAs<PowerWindow>(WindowId::Power);
        QTRY_VERIFY(power->engine().state() == RadioLink::State::Linked);
        harness->action("Prog_write")->trigger();
        harness->transfer(WindowId::Write)->findChild<QPushButton *>("Command_Write")->click();
        QCOMPARE(harness->messages.size(), size_t(1));
        QCOMPARE(harness->messages[0].text, busy);
        QVERIFY(!PortErrorFlag);
        QVERIFY(!harness->transfer(WindowId::Write)->engine().busy());
        QTest::qWait(600); // past a watch tick: the power window stays linked
        QVERIFY(power->engine().state() == RadioLink::State::Linked);
        QCOMPARE(sim.count("handshake"), handshakesBefore + 1);
    }

private:
    LinkWindowHarness *harness = nullptr;
};

QTEST_MAIN(PowerWindowTests)
#include "PowerWindowTests.moc"
