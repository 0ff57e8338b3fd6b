// Every window as a screen reader finds it, in both languages: each
// control a user can act on has a name that says what it is, not what it
// holds, and no two controls of one kind in a window share a name.
#include "ChannelCsv.h"
#include "ChannelGrid.h"
#include "ChannelRules.h"
#include "CsvImportDialog.h"
#include "FmListWindow.h"
#include "ImageRoutines.h"
#include "MainWindow.h"
#include "Messages.h"
#include "PortBinding.h"
#include "SpokenTree.h"
#include "StartedProgram.h"
#include "TestImage.h"
#include "Windows.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>

namespace {

// A programmed channel 1, so that every editor of the channel windows is
// enabled and the grid's list editor opens.
void ProgramChannelOne()
{
    SetUpImage([](ImageTable &image) {
        StoreFrequency(image, QStringLiteral("446"), 1, 0);
        for (int c = 4; c <= 7; ++c)
            image[1][c] = 0;
        for (int c = 8; c <= 11; ++c)
            image[1][c] = ErasedByte;
        image[1][12] = 2;
        image[1][13] = 0x20;
    });
}

QStringList Prefixed(const QString &window, const QStringList &problems)
{
    QStringList lines;
    for (const QString &problem : problems)
        lines << window + QStringLiteral(": ") + problem;
    return lines;
}

} // namespace

class AccessibleNamesTests : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        // The power window connects as it opens: to nothing here.
        BindPort(1, QStringLiteral("/dev/ql540-no-such-port"));
        window = StartProgram([](const QString &, const QString &) {});
        ProgramChannelOne();
    }
    void cleanup() { EndProgram(window); }

    void everyWindowNamesItsControls_data()
    {
        QTest::addColumn<bool>("chinese");
        QTest::newRow("Chinese") << true;
        QTest::newRow("English") << false;
    }
    void everyWindowNamesItsControls()
    {
        QFETCH(bool, chinese);
        window->switchLanguage(chinese);
        QStringList problems;
        // editor: a control laid over a table's cell, the focus in it.
        const auto check = [&problems](const QString &name, QWidget *widget,
                                       QWidget *editor = nullptr) {
            QVERIFY2(widget, qPrintable(name + QStringLiteral(" did not open")));
            QList<SpokenControl> controls = SpokenControls(widget);
            if (editor) {
                QVERIFY2(editor->isVisible(), qPrintable(name + QStringLiteral(": no editor")));
                controls << SpokenControlOf(editor);
            }
            QVERIFY2(!controls.isEmpty(), qPrintable(name + QStringLiteral(": nothing found")));
            problems << Prefixed(name, NameProblems(controls));
        };

        check(QStringLiteral("main window"), window);
        for (QAction *top : window->menuBar()->actions()) {
            if (QMenu *menu = top->menu()) {
                menu->popup(window->geometry().center());
                check(QStringLiteral("menu ") + menu->objectName(), menu);
                menu->hide();
            }
        }

        for (int i = 0; i < WindowCount; ++i) {
            const WindowId id = WindowId(i);
            ChildWindow *child = Windows::Open(id);
            if (!child && id == WindowId::ChannelEdit)
                continue; // opened from the grid below
            check(child ? child->objectName() : QString::number(i), child);
            Windows::Unload(id);
        }

        // The grid with each of its cell editors open.
        auto *grid = qobject_cast<ChannelGridWindow *>(Windows::Open(WindowId::ChannelGrid));
        auto *table = grid->findChild<QTableWidget *>(QStringLiteral("MSF_chann"));
        for (int col : {1, 3, 7}) {
            table->setCurrentCell(0, col);
            grid->BeginCellEdit();
            check(QStringLiteral("frm_chann editing column %1").arg(col), grid,
                  QApplication::focusWidget());
        }
        check(QStringLiteral("Form_Chann_Edit"), Windows::Open(WindowId::ChannelEdit));

        auto *fm = qobject_cast<FmListWindow *>(Windows::Open(WindowId::FmList));
        fm->findChild<QTableWidget *>(QStringLiteral("MSF_chann"))->setCurrentCell(0, 1);
        fm->BeginFmEdit();
        check(QStringLiteral("Form_Edit_Test editing"), fm, QApplication::focusWidget());

        const QByteArray csv = "Location,Name,Frequency\n1,ONE,446.00625\n2,TWO,999\n";
        for (auto use : {CsvImportDialog::Use::Import, CsvImportDialog::Use::Paste}) {
            CsvImportDialog dialog(ParseChannelCsv(csv, CurrentBand()), use, CsvPlacement{},
                                   window);
            dialog.show();
            check(QStringLiteral("Form_Csv_Import"), &dialog);
        }

        for (const QString &problem : problems)
            qWarning("%s", qPrintable(problem));
        QVERIFY2(problems.isEmpty(), "see the lines above");
    }

private:
    MainWindow *window = nullptr;
};

QTEST_MAIN(AccessibleNamesTests)
#include "AccessibleNamesTests.moc"
