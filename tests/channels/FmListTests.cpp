// The FM station list driven by clicks and keys: which cell takes what is
// typed, when it is stored, and that nothing typed is lost on closing. The
// text-to-code rules have their own table.
#include "FmListWindow.h"
#include "GridDriver.h"
#include "RecordCodec.h"
#include "SessionState.h"
#include "TestImage.h"

#include <QAction>
#include <QHeaderView>

class FmListTests : public QObject {
    Q_OBJECT
    std::unique_ptr<GridDriver> d;
    QPointer<FmListWindow> w;
    QTableWidget *table = nullptr;
    QLineEdit *edit = nullptr;

    void open()
    {
        d->main->findChild<QAction *>("Test_edit")->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        w = Windows::FindAs<FmListWindow>(WindowId::FmList);
        QVERIFY(w);
        table = w->findChild<QTableWidget *>("MSF_chann");
        edit = w->findChild<QLineEdit *>("Text_Edit");
        QVERIFY(table && edit);
    }
    static int code(int station) { return FmPresets::Preset(station).get(RadioData); }
    static void setCode(int station, int value)
    {
        SetUpImage([&](ImageTable &image) { FmPresets::Preset(station).set(image, value); });
    }
    QString cell(int station) const { return table->item(station, 1)->text(); }
    void click(int station, int col)
    {
        const QModelIndex index = table->model()->index(station, col);
        table->scrollTo(index);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(index).center());
    }
    // Types into the station's cell; clicking the next frequency cell
    // leaves it, and the editor opening there takes the focus from the
    // table, which stores.
    void type(int station, const QString &text)
    {
        click(station, 1);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
        click(station < 24 ? station + 1 : 0, 1);
    }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const Message &m : d->messages)
            texts << m.text;
        return texts;
    }

private slots:
    void init()
    {
        d = std::make_unique<GridDriver>();
        d->activate(); // the table losing the focus stores
    }
    void cleanup()
    {
        w.clear();
        d.reset();
    }

    void opensFromTheMenuInBothLanguages()
    {
        const int codes[] = {0, 15, 130, 210, 211, 255};
        for (int k = 0; k < 6; ++k)
            setCode(k, codes[k]);
        open();
        QCOMPARE(w->windowTitle(), QString("收音机编辑"));
        QCOMPARE(table->rowCount(), 25);
        QCOMPARE(table->columnCount(), 2);
        QCOMPARE(table->horizontalHeaderItem(0)->text(), QString("收  音  频  道 "));
        QCOMPARE(table->item(0, 0)->text(), QString("0"));
        QCOMPARE(table->item(24, 0)->text(), QString("24"));
        const QStringList shown{"87.0", "88.5", "100.0", "108.0", "", ""};
        for (int k = 0; k < 6; ++k)
            QCOMPARE(cell(k), shown[k]);
        QCOMPARE(w->findChild<QPushButton *>("Command_Close")->text(), QString("关闭"));

        d->main->switchLanguage(false);
        open();
        QCOMPARE(w->windowTitle(), QString("Radio Frequency"));
        QCOMPARE(table->horizontalHeaderItem(0)->text(), QString("Radio Channel "));
        QCOMPARE(table->horizontalHeaderItem(1)->text(), QString(" Frequency (MHZ)"));
        QCOMPARE(w->findChild<QPushButton *>("Command_Help")->text(), QString("Help"));
        // Each column as wide as its header text.
        const QFontMetrics metrics = table->horizontalHeader()->fontMetrics();
        for (int c = 0; c < 2; ++c)
            QVERIFY(metrics.horizontalAdvance(table->horizontalHeaderItem(c)->text())
                    < table->columnWidth(c));
    }

    void typedFrequenciesAreCheckedAndStored()
    {
        SessionState::instance().setChinese(false);
        open();
        type(0, "108");
        QCOMPARE(code(0), 210);
        QCOMPARE(cell(0), QString("108.0"));
        QVERIFY(d->messages.empty());
        type(1, "108.1");
        QCOMPARE(messageTexts(), QStringList{"Over the range of FM frequency ."});
        QCOMPARE(d->messages[0].title, QString("Operate prompt"));
        QCOMPARE(code(1), 0);
        type(2, "86.9");
        QCOMPARE(code(2), 0);
        QCOMPARE(d->messages.size(), size_t(2));
        type(3, "87.1");
        type(4, "99.95");
        type(5, "88");
        QCOMPARE(code(3), 1);
        QCOMPARE(code(4), 129);
        QCOMPARE(code(5), 10);
        Windows::Unload(WindowId::FmList);
        open();
        QCOMPARE(cell(3), QString("87.1"));
        QCOMPARE(cell(4), QString("99.9"));
    }

    void aSixthCharacterEmptiesTheStationAtOnce()
    {
        setCode(7, 130);
        open();
        click(7, 1);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, "100.1");
        QVERIFY(d->messages.empty());
        QTest::keyClicks(edit, "2");
        QCOMPARE(d->messages.size(), size_t(1));
        QCOMPARE(code(7), 255);
        QCOMPARE(edit->text(), QString());
        QCOMPARE(cell(7), QString());
    }

    void stationsFrom16LiveInRow155()
    {
        SetUpImage([&](ImageTable &image) {
            for (int c = 9; c < 16; ++c)
                image[155][c] = 77; // not part of the list
        });
        open();
        type(16, "88.5");
        type(24, "90");
        QCOMPARE(int(RadioData[155][0]), 15);
        QCOMPARE(int(RadioData[155][8]), 30);
        for (int c = 9; c < 16; ++c)
            QCOMPARE(int(RadioData[155][c]), 77);
    }

    // Moving through the list by keyboard reaches cells whose editor was
    // never opened: nothing may be emptied, nothing rewritten.
    void movingByKeyboardChangesNothing()
    {
        for (int k = 0; k < 25; ++k)
            setCode(k, k == 3 ? 211 : 10 * k);
        const ImageTable before = RadioData;
        open();
        click(0, 1);
        QTest::keyClick(edit, Qt::Key_Escape);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Left, Qt::Key_Down, Qt::Key_Right,
                            Qt::Key_Down, Qt::Key_Up})
            QTest::keyClick(table, key);
        QTest::mouseClick(w->findChild<QPushButton *>("Command_Help"), Qt::LeftButton);
        QVERIFY(RadioData == before); // code 211 stays 211
        QCOMPARE(cell(1), QString("88.0"));
        // Typing into a cell starts its editor afresh; Enter moves down.
        QTest::keyClicks(table, "9");
        QVERIFY(edit->isVisible());
        QTest::keyClicks(edit, "5");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(code(table->currentRow() - 1), 80);
    }

    void anEmptiedCellIsStoredWhenTheListLosesTheFocus()
    {
        setCode(6, 100);
        open();
        click(6, 1);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        click(6, 0); // left, not yet stored
        QCOMPARE(cell(6), QString());
        QCOMPARE(code(6), 100);
        QTest::mouseClick(w->findChild<QPushButton *>("Command_Help"), Qt::LeftButton);
        QCOMPARE(code(6), 255);
    }

    // However the window closes, what is still in the editor passes the
    // rules of leaving its cell and is stored.
    void closingStoresWhatIsBeingTyped()
    {
        open();
        click(0, 1);
        QTest::keyClicks(edit, "101");
        w->parentWidget()->close(); // the close box
        QCOMPARE(code(0), 140);

        open();
        click(1, 1);
        QTest::keyClicks(edit, "102");
        QTest::mouseClick(w->findChild<QPushButton *>("Command_Close"), Qt::LeftButton);
        QVERIFY(!OpenWindows[WindowId::FmList]);
        QCOMPARE(code(1), 150);

        open();
        click(2, 1);
        QTest::keyClicks(edit, "120");
        d->main->switchLanguage(false); // stores first, in the language typed in; then reloads
        QCOMPARE(code(2), 0);
        QCOMPARE(messageTexts(), QStringList{"收音机频率超出范围 ！"});
        open();
        QCOMPARE(cell(2), QString("87.0"));
    }

    // A station still in its editor is in the image before a save, read or
    // write takes it, mended by the FM rule where it must be.
    void typedStationIsCommittedBeforeTheImageIsTaken()
    {
        open();
        click(3, 1);
        QTest::keyClicks(edit, "101.5");
        QVERIFY(Windows::CommitTyped());
        QCOMPARE(code(3), 145);
        QCOMPARE(cell(3), QString("101.5"));
        click(4, 1);
        QTest::keyClicks(edit, "120");
        QVERIFY(Windows::CommitTyped());
        QCOMPARE(code(4), 0);
        QCOMPARE(messageTexts(), QStringList{"收音机频率超出范围 ！"});
    }
};

QTEST_MAIN(FmListTests)
#include "FmListTests.moc"
