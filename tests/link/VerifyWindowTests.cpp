// The verify and compare windows, headless: the verify against the
// simulator on a pty that stores one wrong byte, the compare against a
// channel file. Neither changes the image in memory.
#include "ChannelFile.h"
#include "CompareWindow.h"
#include "ImageChanges.h"
#include "LinkTestSupport.h"
#include "RecordCodec.h"
#include "SimProcess.h"
#include "VerifyWindow.h"

#include <QTableWidget>
#include <QTemporaryDir>

namespace {

// Channel n on 446.1 MHz, high power, wide, as the grid stores it.
void Program(ImageTable &image, int n)
{
    Record::Rx.store(image, n, QStringLiteral("446.1"));
    Record::Offset.fill(image, n, 0);
    Record::Decode.set(image, n, {255, 255});
    Record::Encode.set(image, n, {255, 255});
    image[n][12] = 2;
    image[n][13] = 0x20;
}

QStringList Row(const QTableWidget *table, int row)
{
    QStringList texts;
    for (int c = 0; c < table->columnCount(); ++c)
        texts << table->item(row, c)->text();
    return texts;
}

} // namespace

class VerifyWindowTests : public QObject {
    Q_OBJECT
private slots:
    void init() { harness = new LinkWindowHarness; }
    void cleanup()
    {
        delete harness;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void aCompletedWriteOffersTheVerifyWhichFindsTheWrongByte()
    {
        SimProcess sim;
        // Column 12 of channel 3 stored as 0: low power instead of high.
        QVERIFY(sim.start(DefaultRadioMemory(), {"--no-pace", "--corrupt-block", "3:12:0"}));
        BindPort(1, sim.device());
        ImageChanges::instance().apply(ChangeKind::CellEdit,
                                       [](ImageTable &image) { Program(image, 3); });

        harness->action("Prog_write")->trigger();
        harness->transfer(WindowId::Write)->findChild<QPushButton *>("Command_Write")->click();
        QTRY_VERIFY_WITH_TIMEOUT(Windows::IsOpen(WindowId::Verify), 30000);
        QVERIFY(!Windows::IsOpen(WindowId::Write));
        auto *verify = Windows::FindAs<VerifyWindow>(WindowId::Verify);
        QVERIFY(verify->findChild<QLabel *>("Label_tr_count")->text().startsWith("数据写入完毕"));
        auto *start = verify->findChild<QPushButton *>("Command_Verify");
        QVERIFY(start->isDefault());

        const ImageTable before = RadioData;
        start->click();
        QVERIFY(verify->engine().busy());
        auto *result = verify->findChild<QLabel *>("Label_Result");
        QTRY_VERIFY_WITH_TIMEOUT(!result->text().isEmpty(), 30000);
        QCOMPARE(result->text(), QString("发现 1 处不同 ！"));
        auto *table = verify->findChild<QTableWidget *>("Table_Diff");
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(Row(table, 0), (QStringList{"信道 3  发射功率", "高", "低"}));
        QVERIFY(RadioData == before);
        QVERIFY(harness->messages.empty());
        // The blocks a write sends, no more.
        QVERIFY(sim.count("read block 239") >= 1);
        QCOMPARE(sim.count("read block 240"), 0);

        // A language switch reloads the window with the same result.
        harness->window.switchLanguage(false);
        verify = Windows::FindAs<VerifyWindow>(WindowId::Verify);
        QVERIFY(verify);
        table = verify->findChild<QTableWidget *>("Table_Diff");
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(Row(table, 0), (QStringList{"CH 3  TX Power", "High", "Low"}));
        QCOMPARE(table->horizontalHeaderItem(2)->text(), QString("In the radio"));

        // The comparison follows the image: low power in memory too.
        ImageChanges::instance().apply(ChangeKind::CellEdit,
                                       [](ImageTable &image) { Record::Power.set(image, 3, 0); });
        QCOMPARE(table->rowCount(), 0);
        QCOMPARE(verify->findChild<QLabel *>("Label_Result")->text(),
                 QString("The radio holds what a write of the memory image sends."));
    }

    void theMenuOpensTheVerifyAndAMissingPortEndsItUnfinished()
    {
        BindPort(1, "/dev/ql540-no-such-port");
        harness->action("Prog_verify")->trigger();
        auto *verify = Windows::FindAs<VerifyWindow>(WindowId::Verify);
        QVERIFY(verify);
        QCOMPARE(verify->windowTitle(), QString("校验对讲机数据"));
        QCOMPARE(harness->action("Prog_verify")->text(), QString("校验对讲机数据"));
        verify->findChild<QPushButton *>("Command_Verify")->click();
        QCOMPARE(harness->messages.size(), size_t(1));
        QVERIFY(!verify->engine().busy());
        QCOMPARE(verify->findChild<QTableWidget *>("Table_Diff")->rowCount(), 0);
        verify->findChild<QPushButton *>("Command_Close")->click();
        QVERIFY(!Windows::IsOpen(WindowId::Verify));
    }

    void compareShowsTheDifferencesWithAFileAndFollowsTheImage()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("saved.chann");
        QVERIFY(WriteChannelFile(file, RadioData, nullptr));
        ImageChanges::instance().apply(ChangeKind::CellEdit,
                                       [](ImageTable &image) { Program(image, 1); });
        QCOMPARE(harness->action("File_Compare")->text(), QString("与文件比较…"));

        auto *compare = qobject_cast<CompareWindow *>(Windows::Open(WindowId::Compare));
        QVERIFY(compare);
        auto *table = compare->findChild<QTableWidget *>("Table_Diff");
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(compare->compareWith(file));
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(
            Row(table, 0),
            (QStringList{"信道 1  信道", "446.10000 / 446.10000 / 关 / 关 / 高 / 宽带", "（空）"}));
        QCOMPARE(compare->findChild<QLabel *>("Label_Result")->text(), QString("发现 1 处不同 ！"));

        // A file that cannot be read leaves the comparison as it was.
        QFile bad(dir.filePath("bad.chann"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("x");
        bad.close();
        QVERIFY(!compare->compareWith(bad.fileName()));
        QCOMPARE(harness->messages.size(), size_t(1));
        QCOMPARE(table->rowCount(), 1);

        harness->window.switchLanguage(false);
        compare = Windows::FindAs<CompareWindow>(WindowId::Compare);
        QVERIFY(compare);
        QVERIFY(compare->findChild<QLabel *>("Label_File")->text().endsWith("saved.chann"));
        table = compare->findChild<QTableWidget *>("Table_Diff");
        QCOMPARE(table->item(0, 0)->text(), QString("CH 1  Channel"));

        ImageChanges::instance().apply(ChangeKind::Clear,
                                       [](ImageTable &image) { Record::Erase(image, 1); });
        QCOMPARE(table->rowCount(), 0);
        QCOMPARE(compare->findChild<QLabel *>("Label_Result")->text(),
                 QString("The image in memory and the file are the same."));
    }

private:
    LinkWindowHarness *harness = nullptr;
};

QTEST_MAIN(VerifyWindowTests)
#include "VerifyWindowTests.moc"
