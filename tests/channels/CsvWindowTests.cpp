// The windows' side of CSV channel lists: the grid's copy, cut and paste
// through the clipboard (across channel 128, names with their channels),
// the import report's choices, Cancel and Apply, and the File menu entries
// in both languages. What rows store is the rules' tables' business.
#include "GridDriver.h"

#include "ChannelCsvActions.h"
#include "CsvImportDialog.h"
#include "RecordCodec.h"
#include "SessionState.h"
#include "UndoHistory.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace {

// Channel n at 440 + n MHz named "CHn".
void Program(int n)
{
    ImageChanges::instance().apply(ChangeKind::CellEdit, [n](ImageTable &image) {
        Record::Erase(image, n);
        Record::Rx.store(image, n, QString::number(440 + n));
        Record::Offset.fill(image, n, 0);
        image[n][12] = 2;
        image[n][13] = 0x20;
        const QString name = QStringLiteral("CH%1").arg(n);
        for (int k = 0; k < 5; ++k)
            NameCell(n, k).set(image, k < name.size() ? CharToCode(name.mid(k, 1)) : 255);
    });
}

QString Name(int n)
{
    QString name;
    for (int k = 0; k < 5; ++k)
        name += CodeToChar(NameCell(n, k).get(RadioData));
    return name;
}

// Runs `inDialog` on the report dialog once it is shown, from inside its
// modal loop.
void OnDialog(std::function<void(CsvImportDialog *)> inDialog)
{
    QTimer::singleShot(0, [inDialog] {
        auto *dialog = qobject_cast<CsvImportDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        inDialog(dialog);
        // A failed check leaves the dialog open; the test must not hang on it.
        if (dialog->isVisible())
            dialog->reject();
    });
}

} // namespace

class CsvWindowTests : public QObject {
    Q_OBJECT
    std::unique_ptr<GridDriver> d;

    void select(int first, int last)
    {
        d->table->setCurrentCell(first - 1, 0);
        d->table->selectionModel()->select(QItemSelection(d->table->model()->index(first - 1, 0),
                                                          d->table->model()->index(last - 1, 7)),
                                           QItemSelectionModel::ClearAndSelect);
    }
    QAction *action(const char *name) { return d->table->findChild<QAction *>(name); }

private slots:
    void init()
    {
        d = std::make_unique<GridDriver>();
        SessionState::instance().setChinese(false);
    }
    void cleanup() { d.reset(); }

    void pasteAcrossChannel128ReportsTheRowThatDoesNotFit()
    {
        for (int n = 1; n <= 3; ++n)
            Program(n);
        select(1, 3);
        action("Edit_Copy")->trigger();
        const QString copied = QApplication::clipboard()->text();
        QVERIFY(copied.startsWith("Location,Name,Frequency,"));
        QCOMPARE(copied.count("\r\n"), 4);

        QSignalSpy changes(&ImageChanges::instance(), &ImageChanges::rowsChanged);
        select(127, 127);
        OnDialog([](CsvImportDialog *dialog) {
            auto *report = dialog->findChild<QTableWidget *>("Table_Report");
            QCOMPARE(report->rowCount(), 1);
            QVERIFY(report->item(0, 3)->text().contains("past channel 128"));
            QVERIFY(!dialog->findChild<QRadioButton *>("Option_FileOrder")->isVisible());
            QTest::mouseClick(dialog->findChild<QPushButton *>("Command_Apply"), Qt::LeftButton);
        });
        action("Edit_Paste")->trigger();
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.at(0).at(0).value<ImageChange>().kind, ChangeKind::Paste);
        QCOMPARE(Name(127), QString("CH1"));
        QCOMPARE(Name(128), QString("CH2"));
        QCOMPARE(d->cell(128, 1), QString("442.00000"));
        QCOMPARE(d->cell(128, 7), QString("CH2"));
        QCOMPARE(RadioData[127][3], RadioData[1][3]);
    }

    void cutAndPasteByKeysMoveNamesWithTheirChannels()
    {
        Program(2);
        d->activate();
        d->click(2, 0);
        QSignalSpy changes(&ImageChanges::instance(), &ImageChanges::rowsChanged);
        QTest::keyClick(d->table, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.at(0).at(0).value<ImageChange>().kind, ChangeKind::Cut);
        QCOMPARE(RadioData[2][0], 255);
        QCOMPARE(Name(2), QString());
        QCOMPARE(d->cell(2, 1), QString());

        d->click(10, 0);
        QTest::keyClick(d->table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(changes.size(), 2); // no report: nothing changed or refused
        QCOMPARE(Name(10), QString("CH2"));
        QCOMPARE(d->cell(10, 1), QString("442.00000"));

        // Text that is no channel list stores nothing and says so.
        QApplication::clipboard()->setText("just words");
        QTest::keyClick(d->table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(changes.size(), 2);
        QCOMPARE(d->messages.back().text, QString("The clipboard holds no channel list."));
    }

    void importReportOffersPlacementAndCancelStoresNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("club.csv");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Location,Name,Frequency\r\n5,one,446.1\r\n6,TWO,480\r\n7,THREE,446.3\r\n");
        file.close();
        Program(1);
        const auto before = std::make_unique<ImageTable>(RadioData);
        QSignalSpy changes(&ImageChanges::instance(), &ImageChanges::rowsChanged);

        OnDialog([](CsvImportDialog *dialog) {
            QVERIFY(dialog->findChild<QRadioButton *>("Option_FileNumbers")->isChecked());
            auto *report = dialog->findChild<QTableWidget *>("Table_Report");
            QCOMPARE(report->rowCount(), 2);
            QCOMPARE(report->item(0, 0)->text(), QString("2"));
            QCOMPARE(report->item(1, 1)->text(), QString("Frequency"));
            QCOMPARE(dialog->plan().placed.value(0).channel, 5);
            // In file order from 127: the refused row takes no number, the
            // third row lands on 128.
            dialog->findChild<QRadioButton *>("Option_FileOrder")->click();
            dialog->findChild<QSpinBox *>("Spin_FirstChannel")->setValue(127);
            QCOMPARE(dialog->plan().placed.value(1).channel, 128);
            QCOMPARE(dialog->findChild<QLabel *>("Label_Summary")->text(),
                     QString("3 rows: 2 applied (1 of them changed), 1 refused."));
            QTest::mouseClick(dialog->findChild<QPushButton *>("Command_Cancel"), Qt::LeftButton);
        });
        ImportChannelsCsvFrom(path, d->main.get());
        QCOMPARE(changes.size(), 0);
        QVERIFY(*before == RadioData);

        OnDialog([](CsvImportDialog *dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton *>("Command_Apply"), Qt::LeftButton);
        });
        ImportChannelsCsvFrom(path, d->main.get());
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.at(0).at(0).value<ImageChange>().kind, ChangeKind::CsvImport);
        QCOMPARE(d->cell(5, 7), QString("ONE"));
        QCOMPARE(d->cell(6, 1), QString());
        QCOMPARE(d->cell(7, 7), QString("THREE"));
        QCOMPARE(d->cell(1, 7), QString("CH1")); // not in the file: stays
    }

    // After Apply the grid shows what changed: the first changed channel at
    // the top, every changed channel selected - also when the grid was
    // closed, and after a paste.
    QList<int> selected() const
    {
        QList<int> rows;
        for (const QModelIndex &index : d->table->selectionModel()->selectedRows())
            rows << index.row() + 1;
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    void anImportOrAPasteShowsWhatItChanged()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("club.csv");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Location,Name,Frequency\r\n61,RPT1,446.1\r\n62,RPT2,446.2\r\n"
                   "3,CH3,443\r\n100,SIMP,446.5\r\n");
        file.close();
        Program(3); // already as the file has it: not a change
        OnDialog([](CsvImportDialog *dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton *>("Command_Apply"), Qt::LeftButton);
        });
        ImportChannelsCsvFrom(path, d->main.get());
        QCOMPARE(selected(), (QList<int>{61, 62, 100}));
        QCOMPARE(d->table->currentRow(), 60);
        QCOMPARE(d->table->rowAt(0), 60);
        QCOMPARE(CurrentChannel, 61);

        // Undo, close the grid, import again: the grid opens on the rows.
        d->main->history()->undo();
        QVERIFY(Windows::Close(WindowId::ChannelGrid));
        OnDialog([](CsvImportDialog *dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton *>("Command_Apply"), Qt::LeftButton);
        });
        ImportChannelsCsvFrom(path, d->main.get());
        d->attach();
        QCOMPARE(selected(), (QList<int>{61, 62, 100}));
        QCOMPARE(d->table->rowAt(0), 60);

        // A paste of two channels at 120.
        select(61, 62);
        action("Edit_Copy")->trigger();
        select(120, 120);
        action("Edit_Paste")->trigger();
        QCOMPARE(selected(), (QList<int>{120, 121}));
        QCOMPARE(d->table->currentRow(), 119);
        QCOMPARE(Name(121), QString("RPT2"));
    }

    void fileMenuEntriesInBothLanguagesAndExport()
    {
        auto *importCsv = d->main->findChild<QAction *>("File_ImportCsv");
        auto *exportCsv = d->main->findChild<QAction *>("File_ExportCsv");
        QVERIFY(importCsv && exportCsv);
        QVERIFY(d->main->findChild<QMenu *>("File")->actions().contains(importCsv));
        d->main->switchLanguage(true);
        QCOMPARE(importCsv->text(), QStringLiteral("导入 CSV 信道列表..."));
        QCOMPARE(action("Edit_Paste")->text(), QStringLiteral("粘贴信道"));
        d->main->switchLanguage(false);
        QCOMPARE(exportCsv->text(), QString("Export CSV Channel List..."));

        Program(4);
        QTemporaryDir dir;
        QVERIFY(ExportChannelsCsvTo(dir.filePath("out.csv"), d->main.get()));
        QVERIFY(d->messages.back().text.startsWith("Exported 1 channel to "));
        QVERIFY(!ExportChannelsCsvTo(dir.filePath("missing/out.csv"), d->main.get()));
        QVERIFY(d->messages.back().text.startsWith("Cannot write "));
    }
};

QTEST_MAIN(CsvWindowTests)
#include "CsvWindowTests.moc"
