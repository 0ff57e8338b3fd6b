// The grid's row operations and undo/redo as a user reaches them: rows
// selected with the mouse, the Edit menu, the grid's context menu and the
// keys, with other windows open. Which channel lands where is the row
// rules' table test; here the wiring.
#include "ChannelEditWindow.h"
#include "ChannelRules.h"
#include "GridDriver.h"
#include "RecordCodec.h"
#include "SessionState.h"
#include "UndoHistory.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

namespace {

// Channel n at 440 + n/100 MHz, named "CHn".
void Program(int n)
{
    ImageChanges::instance().apply(ChangeKind::OpenedFile, [n](ImageTable &image) {
        EditChannelText(image, n, ChannelField::Receive, QString::number(440 + n / 100.0, 'f', 5),
                        GridEditProfile, CurrentBand())
            .applyTo(image);
        EditChannelText(image, n, ChannelField::Name, QStringLiteral("CH%1").arg(n),
                        GridEditProfile, CurrentBand())
            .applyTo(image);
    });
}

} // namespace

class RowOperationTests : public QObject {
    Q_OBJECT
    std::unique_ptr<GridDriver> d;

    QAction *action(const char *name) const
    {
        auto *found = d->main->findChild<QAction *>(QLatin1String(name));
        if (!found)
            qFatal("no action %s", name);
        return found;
    }
    UndoHistory *history() const { return d->main->history(); }
    // The names the grid shows for channels from..to.
    QStringList names(int from, int to) const
    {
        QStringList shown;
        for (int n = from; n <= to; ++n)
            shown << d->cell(n, 7);
        return shown;
    }
    void shiftClick(int n)
    {
        QTest::mouseClick(d->table->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          d->cellRect(n, 0).center());
    }
    // Opens the grid's context menu over channel n and triggers the entry.
    QStringList contextMenu(int n, const char *entry)
    {
        QStringList entries;
        QMetaObject::Connection seen = connect(
            d->grid, &ChannelGridWindow::rowMenuAboutToShow, this, [&entries, entry](QMenu *menu) {
                for (QAction *a : menu->actions())
                    if (!a->isSeparator())
                        entries << a->objectName() + u'=' + a->text();
                QTimer::singleShot(0, menu, [menu, entry] {
                    if (auto *a = menu->findChild<QAction *>(QLatin1String(entry)))
                        a->trigger();
                    menu->close();
                });
            });
        emit d->table->customContextMenuRequested(d->cellRect(n, 0).center());
        disconnect(seen);
        return entries;
    }

private slots:
    void init()
    {
        d = std::make_unique<GridDriver>();
        for (int n : {1, 2, 3, 4, 5})
            Program(n);
        history()->clear();
    }
    void cleanup() { d.reset(); }

    void severalChannelsMoveAndComeBackWithUndoAndRedo()
    {
        d->click(2, 0);
        shiftClick(3);
        QCOMPARE(d->grid->selectedChannels(), (ChannelSet{2, 3}));
        action("Edit_MoveUp")->trigger();
        QCOMPARE(names(1, 4), (QStringList{"CH2", "CH3", "CH1", "CH4"}));
        QCOMPARE(d->cell(3, 1), "440.01000");
        QCOMPARE(d->grid->selectedChannels(), (ChannelSet{1, 2})); // the selection moves along
        action("Edit_MoveDown")->trigger();
        action("Edit_MoveDown")->trigger();
        QCOMPARE(names(1, 5), (QStringList{"CH1", "CH4", "CH2", "CH3", "CH5"}));
        QCOMPARE(history()->count(), 3);

        action("Edit_Undo")->trigger();
        action("Edit_Undo")->trigger();
        QCOMPARE(names(1, 4), (QStringList{"CH2", "CH3", "CH1", "CH4"}));
        action("Edit_Redo")->trigger();
        QCOMPARE(names(1, 4), (QStringList{"CH1", "CH2", "CH3", "CH4"}));
    }

    void deleteAndInsertFromTheContextMenu()
    {
        d->click(2, 0);
        const QStringList entries = contextMenu(2, "Rows_DeleteChannel");
        QVERIFY(entries.contains("Rows_InsertChannel=插入空信道"));
        QVERIFY(entries.contains("Rows_Undo=撤销"));
        QCOMPARE(names(1, 5), (QStringList{"CH1", "CH3", "CH4", "CH5", ""}));
        QVERIFY(d->cell(5, 1).isEmpty());

        contextMenu(3, "Rows_InsertChannel"); // a right click selects its channel
        QCOMPARE(names(1, 5), (QStringList{"CH1", "CH3", "", "CH4", "CH5"}));
        QVERIFY(Record::IsEmpty(RadioData, 3));
        QVERIFY(contextMenu(3, "Rows_Undo").contains("Rows_Undo=撤销 插入空信道"));
        QCOMPARE(names(1, 5), (QStringList{"CH1", "CH3", "CH4", "CH5", ""}));
    }

    void insertRefusesToPushAProgrammedChannel128OffTheEnd()
    {
        Program(128);
        history()->clear();
        const ImageTable before = RadioData;
        d->click(1, 0);
        action("Edit_InsertChannel")->trigger();
        QCOMPARE(RadioData, before);
        QCOMPARE(d->messages.size(), size_t(1));
        QVERIFY(d->messages.front().text.contains("128"));
        QVERIFY(!history()->canUndo());
    }

    // Undo and redo reach every open window, by keys as by menu.
    void keysUndoAndRedoWithTheEditWindowOpen()
    {
        d->activate();
        d->click(4, 0);
        d->pressButton("Command_Edit");
        auto *edit = Windows::FindAs<ChannelEditWindow>(WindowId::ChannelEdit);
        QVERIFY(edit);
        auto *name = edit->findChild<QLineEdit *>("Text_Name");
        QCOMPARE(name->text(), "CH4");

        Windows::Find(WindowId::ChannelGrid)->parentWidget()->setFocus();
        d->click(4, 0);
        action("Edit_DeleteChannel")->trigger();
        QCOMPARE(d->cell(4, 7), "CH5");
        QCOMPARE(name->text(), "CH5");

        d->table->setFocus();
        QTest::keyClick(d->main->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(d->cell(4, 7), "CH4");
        QCOMPARE(name->text(), "CH4");
        QTest::keyClick(d->main->windowHandle(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(d->cell(4, 7), "CH5");
        QTest::keyClick(d->main->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(d->main->windowHandle(), Qt::Key_Z,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(name->text(), "CH5");

        // In a field with nothing typed the keys reach the history; after
        // typing they take back the typing first.
        Windows::Find(WindowId::ChannelEdit)->activateWindow();
        auto *receive = edit->findChild<QLineEdit *>("Text_RX_Freq");
        receive->setFocus();
        QTRY_VERIFY(receive->hasFocus());
        QTest::keyClick(d->main->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(name->text(), "CH4");
        QTest::keyClick(d->main->windowHandle(), Qt::Key_End);
        QTest::keyClick(d->main->windowHandle(), Qt::Key_5);
        QCOMPARE(receive->text(), "440.040005");
        QTest::keyClick(d->main->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(receive->text(), "440.04000");
        QCOMPARE(name->text(), "CH4");
    }

    // A frequency still being typed is stored before the undo, as leaving
    // its cell would store it, and is what the undo takes back.
    void undoStoresWhatIsBeingTypedFirst()
    {
        ImageChanges::instance().apply(ChangeKind::FmEdit, [](ImageTable &image) {
            FmPresets::Preset(0).set(image, 20);
        }); // something to undo, so the entry is enabled
        d->click(2, 1);
        d->type("450");
        action("Edit_Undo")->trigger();
        QCOMPARE(d->cell(2, 1), "440.02000");
        QVERIFY(!d->textEdit->isVisible());
        QCOMPARE(FmPresets::Preset(0).get(RadioData), 20);
        action("Edit_Redo")->trigger();
        QCOMPARE(d->cell(2, 1), "450.00000");
    }

    void captionsFollowTheStepAndTheLanguage()
    {
        QCOMPARE(action("Edit_Undo")->text(), "撤销");
        QVERIFY(!action("Edit_Undo")->isEnabled());
        d->pressButton("Command_Clear");
        QCOMPARE(action("Edit_Undo")->text(), "撤销 清除");
        QVERIFY(action("Edit_Undo")->isEnabled());
        action("Language_eng")->trigger();
        d->attach();
        QCOMPARE(action("Edit_Undo")->text(), "Undo Clear");
        QCOMPARE(action("Edit_Redo")->text(), "Redo");
        QCOMPARE(action("Edit_MoveUp")->text(), "Move Channels Up");
        action("Edit_Undo")->trigger();
        QCOMPARE(action("Edit_Redo")->text(), "Redo Clear");
        QCOMPARE(d->cell(1, 7), "CH1");
        QCOMPARE(action("Edit_Redo")->shortcuts().size(), 2);
    }

    // Undoing a model choice gives the editors and the status bar the band
    // of the image again.
    void undoingAModelChoiceBringsItsBandBack()
    {
        SessionState::instance().setBand(136, 174);
        SessionState::instance().setModel(1, 136, 174);
        ImageChanges::instance().apply(
            ChangeKind::ModelSelect, [](ImageTable &image) { EncodeBandLimits(image, 136, 174); });
        action("Edit_Undo")->trigger();
        QCOMPARE(BandLowMHz, 400.0);
        QCOMPARE(BandHighMHz, 470.0);
        QCOMPARE(ModelIndex, int16_t(0));
        QVERIFY(d->main->panelText(7).contains("400"));
        action("Edit_Redo")->trigger();
        QCOMPARE(BandLowMHz, 136.0);
        QCOMPARE(ModelIndex, int16_t(1));
    }

    void rowEntriesNeedTheGrid()
    {
        QVERIFY(Windows::Close(WindowId::ChannelGrid));
        QMenu *edit = d->main->findChild<QMenu *>("Edit");
        QMetaObject::invokeMethod(edit, "aboutToShow");
        QVERIFY(!action("Edit_MoveUp")->isEnabled());
        QVERIFY(!action("Edit_InsertChannel")->isEnabled());
    }
};

QTEST_MAIN(RowOperationTests)
#include "RowOperationTests.moc"
