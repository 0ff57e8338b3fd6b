// Full transfers against the simulator paced at 9600 baud, where timing on
// the line matters: the tail of a long identification and line noise must
// not shift the blocks, and a whole read and write must work at the radio's
// pace. Each prints how long its transfer took. That the tail costs no
// attempt and the noise exactly one is pinned in virtual time (ReadEngine):
// a simulator kept from running may send either late.
#include "LinkTestSupport.h"
#include "SimProcess.h"
#include "TestImage.h"

#include <QElapsedTimer>

class PacedTransferTests : public QObject {
    Q_OBJECT
private slots:
    void init() { harness = new LinkWindowHarness; }
    void cleanup()
    {
        delete harness;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void readWithATwelveByteIdentification()
    {
        SimProcess sim;
        const RadioMemory radio = PatternMemory();
        QVERIFY(sim.start(radio, {"--ident-length", "12"}));
        BindPort(1, sim.device());
        QElapsedTimer clock;
        clock.start();
        read();
        qInfo("full read at 9600 baud: %lld ms", clock.elapsed());
        QCOMPARE(FirstDifference(radio, 0, 253), QString());
        QVERIFY(AttemptsFit(sim.count("handshake"), 1));
        QVERIFY(sim.count("read block 253") >= 1);
        QCOMPARE(sim.count("read block 254"), 0);
    }

    void strayBytesBeforeABlockReplyCostARetryNotTheData()
    {
        SimProcess sim;
        const RadioMemory radio = PatternMemory();
        QVERIFY(sim.start(radio, {"--stray-before-block", "2", "--stray-count", "3"}));
        BindPort(1, sim.device());
        read();
        QCOMPARE(FirstDifference(radio, 0, 253), QString());
        QVERIFY(AttemptsFit(sim.count("handshake"), 2));
        QCOMPARE(harness->messages.size(), size_t(1));
    }

    void fullWrite()
    {
        SimProcess sim;
        RadioMemory blank{};
        QVERIFY(sim.start(blank, {}));
        BindPort(1, sim.device());
        // Some recognisable data in the start-up image, all of it in band.
        SetUpImage([&](ImageTable &image) {
            for (int r = 160; r < 200; ++r)
                for (int c = 0; c < 16; ++c)
                    image[r][c] = int16_t((r * 16 + c) % 41);
        });
        harness->action("Prog_write")->trigger();
        TransferWindow *write = harness->transfer(WindowId::Write);
        auto *bar = write->findChild<QProgressBar *>("ProgressBar1");
        QElapsedTimer clock;
        clock.start();
        write->findChild<QPushButton *>("Command_Write")->click();
        QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= 50, 20000);
        QVERIFY(write->engine().busy());
        // The finished window unloads itself 500 ms after the end byte.
        const QPointer<TransferWindow> alive(write);
        QTRY_VERIFY_WITH_TIMEOUT(!alive || alive->engine().done(), 30000);
        qInfo("full write at 9600 baud: %lld ms", clock.elapsed());
        QTRY_VERIFY_WITH_TIMEOUT(!OpenWindows[WindowId::Write], 1000);
        QVERIFY(harness->messages.empty());
        const RadioMemory written = sim.stop();
        QCOMPARE(FirstDifference(written, 0, 239), QString());
        for (int a = 240 * 16; a < RadioMemorySize; ++a)
            QCOMPARE(written[a], uint8_t(0));
    }

private:
    void read()
    {
        harness->action("Prog_read")->trigger();
        TransferWindow *window = harness->transfer(WindowId::Read);
        QVERIFY(window);
        auto *bar = window->findChild<QProgressBar *>("ProgressBar1");
        auto *status = window->findChild<QLabel *>("Label_tr_count");
        // The finished window unloads itself within 200 ms of the message:
        // look at it while the message is up.
        int progressAtEnd = -1;
        QString statusAtEnd;
        harness->onMessage = [&](const QString &text) {
            if (text == ReadDone) {
                progressAtEnd = bar->value();
                statusAtEnd = status->text();
            }
        };
        window->findChild<QPushButton *>("Command_read")->click();
        QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= 50, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(harness->messageShown(ReadDone), 40000);
        harness->onMessage = nullptr;
        QCOMPARE(progressAtEnd, 100);
        QCOMPARE(statusAtEnd, QString("数据读出正常 ！"));
    }

    LinkWindowHarness *harness = nullptr;
};

QTEST_MAIN(PacedTransferTests)
#include "PacedTransferTests.moc"
