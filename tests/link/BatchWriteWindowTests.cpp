// The window for several radios: its wiring to the fleet, against
// simulated radios on ptys.
#include "BatchWriteWindow.h"
#include "Fleet.h"
#include "LinkTestSupport.h"
#include "SimProcess.h"
#include "TestImage.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSerialPort>
#include <QTableWidget>

class BatchWriteWindowTests : public QObject {
    Q_OBJECT
private slots:
    void init() { harness = new LinkWindowHarness; }
    void cleanup()
    {
        delete harness;
        harness = nullptr;
    }

    void opensFromTheProgramMenuInBothLanguages()
    {
        QAction *action = harness->action("Prog_batch");
        QVERIFY(action);
        QCOMPARE(action->text(), QString("批量写入"));
        action->trigger();
        auto *window = Windows::FindAs<BatchWriteWindow>(WindowId::BatchWrite);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("批量写入"));
        harness->window.switchLanguage(false);
        QCOMPARE(action->text(), QString("Write to several radios"));
        window = Windows::FindAs<BatchWriteWindow>(WindowId::BatchWrite);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("Write to several radios"));
        QCOMPARE(window->findChild<QPushButton *>("Command_Start")->text(), QString("Start"));
        // Nothing ticked: nothing starts.
        window->findChild<QPushButton *>("Command_Start")->click();
        QVERIFY(harness->messageShown("Tick at least one serial port."));
        QVERIFY(!window->running());
    }

    // Two radios written at once; the one whose port another program holds
    // fails alone and is written by its retry while the other stays done.
    void writesEveryTickedRadioAndRetriesAFailedOneAlone()
    {
        SimProcess first, second;
        QVERIFY(first.start(DefaultRadioMemory(), {"--no-pace"}));
        QVERIFY(second.start(DefaultRadioMemory(), {"--no-pace"}));
        SetUpCell(200, 7, 42);
        QSerialPort holder(second.device());
        QVERIFY(holder.open(QIODevice::ReadWrite));

        harness->action("Prog_batch")->trigger();
        auto *window = Windows::FindAs<BatchWriteWindow>(WindowId::BatchWrite);
        auto *device = window->findChild<QLineEdit *>("Text_device");
        for (const QString &path : {first.device(), second.device()}) {
            device->setText(path);
            window->findChild<QPushButton *>("Command_Add")->click();
        }
        window->findChild<QPushButton *>("Command_Start")->click();
        QVERIFY(window->running());
        // Busy: the window stays.
        window->findChild<QPushButton *>("Command_Cancel")->click();
        QVERIFY(harness->messageShown("正在进行读写操作,请勿关窗口 ！,"));
        QVERIFY(Windows::IsOpen(WindowId::BatchWrite));
        QTRY_VERIFY_WITH_TIMEOUT(!window->running(), 30000);

        const QList<PortRecord> records = window->fleet()->latest();
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[0].outcome, PortOutcome::Completed);
        QCOMPARE(records[1].outcome, PortOutcome::Failed);
        QCOMPARE(window->findChild<QLabel *>("Label_count")->text(),
                 QString("已写入 1 台，失败 1 台"));
        auto *table = window->findChild<QTableWidget *>("Table_ports");
        QPushButton *retry = nullptr;
        for (int row = 0; row < table->rowCount() && !retry; ++row)
            retry = qobject_cast<QPushButton *>(table->cellWidget(row, 5));
        QVERIFY(retry);

        holder.close();
        const int firstHandshakes = first.count("handshake");
        retry->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window->running(), 30000);
        QCOMPARE(window->fleet()->latest()[1].outcome, PortOutcome::Completed);
        QCOMPARE(window->findChild<QLabel *>("Label_count")->text(),
                 QString("已写入 2 台，失败 0 台"));
        QCOMPARE(first.count("handshake"), firstHandshakes); // the retry left the first radio alone
        for (SimProcess *sim : {&first, &second}) {
            const RadioMemory written = sim->stop();
            QCOMPARE(FirstDifference(written, 0, 239), QString());
        }
    }

    // With the verify ticked each radio is read back; the one that kept a
    // wrong byte says so in its row, with what differs at the pointer.
    void theVerifyBoxReadsEachRadioBack()
    {
        SimProcess sound, corrupts;
        QVERIFY(sound.start(DefaultRadioMemory(), {"--no-pace"}));
        QVERIFY(corrupts.start(DefaultRadioMemory(), {"--no-pace", "--corrupt-block", "12:3"}));
        harness->window.switchLanguage(false);
        harness->action("Prog_batch")->trigger();
        auto *window = Windows::FindAs<BatchWriteWindow>(WindowId::BatchWrite);
        auto *device = window->findChild<QLineEdit *>("Text_device");
        for (const QString &path : {sound.device(), corrupts.device()}) {
            device->setText(path);
            window->findChild<QPushButton *>("Command_Add")->click();
        }
        auto *verify = window->findChild<QCheckBox *>("Check_verify");
        QCOMPARE(verify->text(), QString("Verify each radio after writing"));
        verify->setChecked(true);
        window->findChild<QPushButton *>("Command_Start")->click();
        QVERIFY(!verify->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!window->running(), 30000);

        // By device: the rows keep devices typed in earlier tests, whose
        // numbers the simulators may have now in another order.
        QCOMPARE(window->fleet()->latest().size(), 2);
        QCOMPARE(window->fleet()->station(sound.device())->current().outcome,
                 PortOutcome::Completed);
        QCOMPARE(window->fleet()->station(corrupts.device())->current().outcome,
                 PortOutcome::Different);
        auto *table = window->findChild<QTableWidget *>("Table_ports");
        QTableWidgetItem *result = nullptr;
        for (int row = 0; row < table->rowCount(); ++row)
            if (table->item(row, 0)->text() == corrupts.device())
                result = table->item(row, 2);
        QVERIFY(result);
        QCOMPARE(result->text(), QString("written, but the verify found 1 difference"));
        QVERIFY2(result->toolTip().startsWith("Row 12  Column 3  "), qPrintable(result->toolTip()));
        QCOMPARE(window->findChild<QLabel *>("Label_count")->text(),
                 QString("1 written, 1 failed"));
        QCOMPARE(sound.count("read block 239"), 1);
    }

private:
    LinkWindowHarness *harness = nullptr;
};

QTEST_MAIN(BatchWriteWindowTests)
#include "BatchWriteWindowTests.moc"
