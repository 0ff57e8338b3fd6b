// Editing channels in place with mouse and keyboard: the field rules,
// their messages, the Enter moves and what leaving a cell must not do.
#include "GridDriver.h"

#include "ImageChanges.h"
#include "RadioWriteOpen.h"
#include "SessionState.h"
#include "TestImage.h"

namespace {

std::vector<int> Cells(int row, int from, int to)
{
    std::vector<int> values;
    for (int c = from; c <= to; ++c)
        values.push_back(RadioData[row][c]);
    return values;
}

} // namespace

class GridEditingTests : public QObject {
    Q_OBJECT
    std::unique_ptr<GridDriver> d;

    // A repeater channel typed in: RX 438.5, TX 446.1, name "RPT".
    void typeRepeater(int n)
    {
        d->enter(n, 1, "438.5");
        d->enter(n, 2, "446.1");
        d->enter(n, 7, "rpt");
    }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const Message &m : d->messages)
            texts << m.text;
        return texts;
    }

private slots:
    void init() { d = std::make_unique<GridDriver>(); }
    void cleanup() { d.reset(); }

    // The rules have their own tables of what is stored; here the grid
    // must hand them its profile and draw the row from their result.
    void createEditAndDeleteAChannel()
    {
        d->enter(1, 1, "446");
        QCOMPARE(Cells(1, 12, 13), (std::vector<int>{2, 0x20})); // the grid's new channel
        const QStringList row{"446.00000", "446.00000", "关", "关", "高", "宽带", ""};
        for (int c = 1; c <= 7; ++c)
            QCOMPARE(d->cell(1, c), row[c - 1]);
        QVERIFY(!d->textEdit->isVisible());
        QVERIFY(d->messages.empty());

        d->enter(1, 7, "old");
        d->enter(1, 1, "  ");
        QCOMPARE(Cells(1, 0, 15), std::vector<int>(16, 255));
        for (int c = 1; c <= 7; ++c)
            QCOMPARE(d->cell(1, c), QString());
        QVERIFY(d->messages.empty());
        // In the grid the name codes survive the deletion and come back.
        d->enter(1, 1, "450");
        QCOMPARE(d->cell(1, 7), QString("OLD"));
    }

    void outOfBandMessagesAndTheBandLowText()
    {
        d->enter(3, 1, "480");
        QCOMPARE(messageTexts(), QStringList{"接收频率超出范围 ！"});
        QCOMPARE(d->messages[0].title, QString("操作提示"));
        QCOMPARE(d->cell(3, 1), QString("400.00000"));

        d->messages.clear();
        SessionState::instance().setChinese(false);
        SessionState::instance().setBand(136, 174); // the band of the moment
        d->enter(3, 2, "500");
        QCOMPARE(messageTexts(), QStringList{"Over the range of transmit frequency ."});
        QCOMPARE(d->messages[0].title, QString("Operate prompt"));
        QCOMPARE(d->cell(3, 2), QString("136.00000"));
    }

    void transmitBeforeReceiveIsRefused()
    {
        SessionState::instance().setChinese(false);
        d->enter(9, 2, "446");
        QCOMPARE(messageTexts(), QStringList{"Please input the receive frequency in advance."});
        QCOMPARE(Cells(9, 0, 15), std::vector<int>(16, 255));
        QCOMPARE(d->cell(9, 2), QString());
        // The tone, power and name cells of an empty row open nothing.
        for (int c : {3, 5, 7}) {
            d->click(9, c);
            QVERIFY(!d->textEdit->isVisible() && !d->combo->isVisible());
        }
    }

    void tonePositionsAreStored()
    {
        d->enter(2, 1, "446");
        d->click(2, 3);
        QVERIFY(d->combo->isVisible());
        // The list offers the entries without their blanks, "关" first.
        QCOMPARE(d->combo->count(), 265);
        QCOMPARE(d->combo->itemText(0), QString("关"));
        QCOMPARE(d->combo->itemText(1), QString("67.0"));
        QCOMPARE(d->combo->itemText(158), QString("D017I"));
        d->choose(158);
        QCOMPARE(Cells(2, 8, 9), (std::vector<int>{2, 0}));
        d->click(2, 4);
        d->choose(51);
        QCOMPARE(Cells(2, 10, 11), (std::vector<int>{1, 0}));
        d->click(2, 0);
        QCOMPARE(d->cell(2, 3), ToneList[158]);
        QCOMPARE(d->cell(2, 4), ToneList[51]);
        // The list opens on the stored tone; typed characters never pick one.
        d->click(2, 3);
        QCOMPARE(d->combo->currentIndex(), 158);
        QTest::keyClicks(d->combo, "D7");
        QCOMPARE(Cells(2, 8, 9), (std::vector<int>{2, 0}));
    }

    void powerAndBandwidthListsShowAndStore()
    {
        d->enter(4, 1, "446");
        SetUpImage([&](ImageTable &image) {
            image[4][12] = 0x46;
            image[4][13] = 0xE0;
        });
        d->grid->ShowChannelRow(4);
        d->click(4, 5);
        QCOMPARE(d->combo->currentText(), QString("高"));
        d->choose(1);
        QCOMPARE(int(RadioData[4][12]), 0x45);
        d->click(4, 6);
        QCOMPARE(d->combo->currentText(), QString("宽带"));
        d->choose(0);
        QCOMPARE(int(RadioData[4][13]), 0xC0);
        d->click(4, 0);
        QCOMPARE(d->cell(4, 5), QString("中"));
        QCOMPARE(d->cell(4, 6), QString("窄带"));
        // Encode needs a transmit frequency, which every channel has.
        d->click(4, 4);
        QVERIFY(d->combo->isVisible());
    }

    void namesTakeFiveCharactersAndShowAsStored()
    {
        d->enter(5, 1, "446");
        d->click(5, 7);
        d->type("#abcdef");
        QCOMPARE(d->textEdit->text(), QString("#abcd")); // a sixth character is not accepted
        d->click(5, 0);
        QCOMPARE(Cells(161, 4, 8), (std::vector<int>{11, 12, 13, 14, 15})); // channel 5
        QCOMPARE(d->cell(5, 7), QString(" ABCD"));
    }

    void enterMovesThroughTheRow()
    {
        d->click(6, 1);
        QTest::keyClicks(d->textEdit, "438.5");
        QTest::keyClick(d->textEdit, Qt::Key_Return);
        QCOMPARE(d->table->currentColumn(), 2);
        QVERIFY(d->textEdit->isVisible());
        QCOMPARE(d->textEdit->text(), QString("438.50000"));
        QCOMPARE(d->textEdit->geometry(), d->cellRect(6, 2));
        d->type("446.1");
        QTest::keyClick(d->textEdit, Qt::Key_Return);
        QCOMPARE(RadioData[6][12] & 0xC0, 0x40);
        QCOMPARE(d->table->currentColumn(), 3);
        QVERIFY(d->combo->isVisible() && !d->textEdit->isVisible());
        for (int col : {4, 5, 6, 7}) {
            QTest::keyClick(d->combo, Qt::Key_Return);
            QCOMPARE(d->table->currentColumn(), col);
        }
        QVERIFY(d->textEdit->isVisible());
        QTest::keyClicks(d->textEdit, "rpt");
        QTest::keyClick(d->textEdit, Qt::Key_Return);
        QCOMPARE(d->cell(6, 7), QString("RPT"));
        QCOMPARE(d->table->currentRow() + 1, 7);
        QCOMPARE(d->table->currentColumn(), 1);
        QVERIFY(d->textEdit->isVisible());
        QCOMPARE(d->textEdit->text(), QString());
        // Nothing of row 6 was lost on the way, and nothing was committed twice.
        QCOMPARE(d->cell(6, 1), QString("438.50000"));
        QCOMPARE(d->cell(6, 2), QString("446.10000"));
        QCOMPARE(d->cell(6, 3), QString("关"));
        QVERIFY(d->messages.empty());

        // Without a transmit frequency decode skips to power.
        d->click(7, 1);
        QTest::keyClicks(d->textEdit, "480");
        QTest::keyClick(d->textEdit, Qt::Key_Return);
        QCOMPARE(d->messages.size(), size_t(1)); // one message, one commit
        d->enter(8, 1, "446");
        d->messages.clear();
        d->click(9, 2);
        QTest::keyClick(d->textEdit, Qt::Key_Return); // empty row, empty text
        QCOMPARE(d->table->currentRow() + 1, 10);
        QCOMPARE(d->table->currentColumn(), 1);
        QVERIFY(d->messages.empty());
    }

    // Keys typed into the active window reach the focused editor as a
    // user's do. The grid must then move exactly as told: a focused editor
    // being hidden must not step it on by a further cell.
    void enterAndEscapeMoveOnlyAsTold()
    {
        d->activate();
        d->enter(1, 1, "446");
        d->click(1, 1);
        d->key(Qt::Key_Return);
        QCOMPARE(d->table->currentColumn(), 2);
        d->key(Qt::Key_Return);
        QCOMPARE(d->table->currentColumn(), 3);
        for (int col : {4, 5, 6, 7}) {
            d->key(Qt::Key_Return);
            QCOMPARE(d->table->currentColumn(), col);
        }
        QVERIFY(d->textEdit->isVisible());
        d->keys("ab");
        d->key(Qt::Key_Return);
        QCOMPARE(d->cell(1, 7), QString("AB"));
        QCOMPARE(d->table->currentRow() + 1, 2);
        QCOMPARE(d->table->currentColumn(), 1);
        QVERIFY(d->textEdit->isVisible());

        d->keys("44");
        d->key(Qt::Key_Escape);
        QCOMPARE(d->table->currentRow() + 1, 2);
        QCOMPARE(d->table->currentColumn(), 1);
        QVERIFY(!d->textEdit->isVisible());
        d->click(1, 5);
        d->key(Qt::Key_Escape);
        QCOMPARE(d->table->currentColumn(), 5);
        QVERIFY(!d->combo->isVisible());
        QCOMPARE(Cells(2, 0, 15), std::vector<int>(16, 255));
        QVERIFY(d->messages.empty());
    }

    // A real message box takes the button release of the click that
    // showed it; the cell pressed on must still get its editor.
    void aClickAnsweredByAMessageStillOpensTheCell()
    {
        d->click(1, 1);
        QTest::keyClicks(d->textEdit, "480");
        QTest::mousePress(d->table->viewport(), Qt::LeftButton, {}, d->cellRect(2, 1).center());
        QCOMPARE(d->messages.size(), size_t(1));
        QCOMPARE(d->cell(1, 1), QString("400.00000"));
        QVERIFY(d->textEdit->isVisible());
        QCOMPARE(d->textEdit->geometry(), d->cellRect(2, 1));
        QCOMPARE(CurrentChannel, int16_t(2));
        // Where the release does arrive, it finds the same editor open.
        QTest::mouseRelease(d->table->viewport(), Qt::LeftButton, {}, d->cellRect(2, 1).center());
        QVERIFY(d->textEdit->isVisible());
        QCOMPARE(d->textEdit->geometry(), d->cellRect(2, 1));

        // A press that shows nothing waits for its click, as before.
        d->click(3, 1);
        QTest::mousePress(d->table->viewport(), Qt::LeftButton, {}, d->cellRect(4, 1).center());
        QVERIFY(!d->textEdit->isVisible());
        QTest::mouseRelease(d->table->viewport(), Qt::LeftButton, {}, d->cellRect(4, 1).center());
        QCOMPARE(d->textEdit->geometry(), d->cellRect(4, 1));
    }

    void enterInTheLastRowStaysThere()
    {
        d->enter(128, 1, "446");
        d->click(128, 7);
        QTest::keyClicks(d->textEdit, "end");
        QTest::keyClick(d->textEdit, Qt::Key_Enter);
        QCOMPARE(d->table->currentRow() + 1, 128);
        QCOMPARE(d->table->currentColumn(), 1);
        QCOMPARE(d->textEdit->text(), QString("446.00000"));
        QCOMPARE(Cells(199, 11, 15), (std::vector<int>{16, 25, 15, 255, 255}));
    }

    void keyboardMovesNeverStore()
    {
        typeRepeater(1);
        d->grid->ShowChannelRow(1);
        const ImageTable before = RadioData;
        d->click(1, 0);
        for (int i = 0; i < 7; ++i)
            QTest::keyClick(d->table, Qt::Key_Right);
        QCOMPARE(d->table->currentColumn(), 7);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Tab, Qt::Key_Backtab,
                            Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left})
            QTest::keyClick(d->table, key);
        QVERIFY(RadioData == before);
        for (int c = 1; c <= 7; ++c)
            QVERIFY(!d->cell(1, c).isEmpty());
        // A list opened on one cell leaves no text in the next ones.
        d->click(1, 5);
        QTest::keyClick(d->combo, Qt::Key_Tab);
        QTest::keyClick(d->table, Qt::Key_Right);
        QTest::keyClick(d->table, Qt::Key_Down);
        QVERIFY(RadioData == before);
        QCOMPARE(d->cell(1, 6), QString("宽带"));
        // Leaving an editor by arrow key commits its own cell only.
        d->click(1, 1);
        d->type("439");
        QTest::keyClick(d->textEdit, Qt::Key_Down);
        QCOMPARE(d->cell(1, 1), QString("439.00000"));
        QCOMPARE(d->cell(1, 2), QString("446.10000"));
        QCOMPARE(d->table->currentRow() + 1, 2);
        QVERIFY(!d->textEdit->isVisible());
        // And a name cell reached by keyboard is not erased by a pending-name commit.
        QTest::keyClick(d->table, Qt::Key_Up);
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(d->table, Qt::Key_Right);
        QCOMPARE(d->table->currentColumn(), 7);
        QVERIFY(Windows::CommitTyped());
        QCOMPARE(d->cell(1, 7), QString("RPT"));
    }

    void typingStartsAnEditAndEscapeAbandonsIt()
    {
        typeRepeater(2);
        const ImageTable before = RadioData;
        d->click(2, 0);
        QTest::keyClick(d->table, Qt::Key_Right);
        QTest::keyClicks(d->table, "4");
        QVERIFY(d->textEdit->isVisible());
        QCOMPARE(d->textEdit->text(), QString("4")); // typing replaces the cell's text
        QTest::keyClicks(d->textEdit, "41");
        QTest::keyClick(d->textEdit, Qt::Key_Escape);
        QVERIFY(!d->textEdit->isVisible());
        QCOMPARE(d->cell(2, 1), QString("438.50000"));
        QTest::keyClick(d->table, Qt::Key_Left);
        QVERIFY(RadioData == before);

        QTest::keyClick(d->table, Qt::Key_Right);
        QTest::keyClicks(d->table, "441");
        QTest::keyClick(d->textEdit, Qt::Key_Tab);
        QCOMPARE(d->cell(2, 1), QString("441.00000"));
        QCOMPARE(d->table->currentColumn(), 2);
        // Letters in a list cell neither edit it nor jump elsewhere.
        QTest::keyClick(d->table, Qt::Key_Right);
        QTest::keyClicks(d->table, "x");
        QCOMPARE(d->table->currentColumn(), 3);
        QVERIFY(!d->combo->isVisible());
        QTest::keyClick(d->table, Qt::Key_F2);
        QVERIFY(d->combo->isVisible());
    }

    void longFrequencyTextsSwallowEverythingButBackspace()
    {
        d->click(1, 1);
        QTest::keyClicks(d->textEdit, "446.0062512345");
        QCOMPARE(d->textEdit->text(), QString("446.006251"));
        QTest::keyClick(d->textEdit, Qt::Key_Return);
        QCOMPARE(d->table->currentColumn(), 1); // Enter swallowed too
        QCOMPARE(int(RadioData[1][0]), 255);
        QTest::keyClick(d->textEdit, Qt::Key_Backspace);
        QTest::keyClick(d->textEdit, Qt::Key_Return);
        QCOMPARE(d->table->currentColumn(), 2);
        QCOMPARE(Cells(1, 0, 3), (std::vector<int>{0x25, 0x06, 0x60, 0x44}));
    }

    void pendingNameIsCommittedForTheSaveWindows()
    {
        d->enter(3, 1, "446");
        d->click(3, 7);
        QTest::keyClicks(d->textEdit, "home");
        QVERIFY(Windows::CommitTyped());
        QCOMPARE(d->cell(3, 7), QString("HOME"));
        QCOMPARE(Cells(160, 10, 14), (std::vector<int>{19, 26, 24, 16, 255}));
        QVERIFY(d->textEdit->isVisible()); // the user may go on typing
    }

    // A frequency still in its editor is stored as leaving the cell stores
    // it before the image is taken (save, read, write).
    void typedFrequencyIsCommittedBeforeTheImageIsTaken()
    {
        d->click(4, 1);
        d->type("446");
        QVERIFY(Windows::CommitTyped());
        QCOMPARE(d->cell(4, 1), QString("446.00000"));
        QCOMPARE(Cells(4, 0, 3), (std::vector<int>{0, 0, 0x60, 0x44}));
        d->click(4, 2);
        d->type("447");
        QVERIFY(Windows::CommitTyped());
        QCOMPARE(d->cell(4, 2), QString("447.00000"));
    }

    // New data shown by a redraw is drawn as it stands: stray cells of an
    // empty channel stay until the user opens the grid or edits the channel.
    void aRedrawStoresNothing()
    {
        auto image = std::make_unique<ImageTable>(RadioData);
        (*image)[3][5] = 0x12; // cell 0 erased, a stray cell behind it
        ImageChanges::instance().replaceImage(ChangeKind::OpenedFile, *image);
        d->grid->activated();
        QCOMPARE(d->cell(3, 1), QString());
        QVERIFY(RadioData == *image);
        Windows::Open(WindowId::ChannelGrid);
        d->attach();
        QCOMPARE(int(RadioData[3][5]), 255);
    }

    // Entering and leaving a cell without typing stores nothing, also where
    // the stored value is not what the rules would make of the cell's text:
    // a file may hold a channel outside the band, shift bits 3 and names
    // with blanks at either end.
    void visitingACellStoresNothing()
    {
        const int outside[16] = {0, 0, 0x50, 0x14, 0, 0, 0x50, 0, 0, 8, 1, 2, 0xC2, 0x20, 7, 9};
        SetUpImage([&](ImageTable &image) {
            for (int c = 0; c < 16; ++c)
                image[1][c] = int16_t(outside[c]); // 145 MHz, offset 5 with shift 3
        });
        d->enter(2, 1, "446");
        const int names[10] = {11, 20, 36, 12, 33, 12, 13, 11, 255, 255}; // " IYAV", "AB "
        SetUpImage([&](ImageTable &image) {
            for (int k = 0; k < 10; ++k)
                image[160][k] = int16_t(names[k]);
        });
        d->grid->ShowChannelRow(1);
        d->grid->ShowChannelRow(2);
        QCOMPARE(d->cell(1, 7), QString(" IYAV"));
        const ImageTable before = RadioData;
        for (int n : {1, 2}) {
            for (int c = 1; c <= 7; ++c) {
                d->click(n, c);
                d->click(n, 0);
            }
        }
        d->click(1, 7);
        QVERIFY(Windows::CommitTyped());
        d->click(1, 1);
        QTest::keyClick(d->textEdit, Qt::Key_Return); // Enter commits as leaving does
        QCOMPARE(d->table->currentColumn(), 2);
        d->click(2, 7);
        d->type("AB "); // typed back as it was shown: nothing changed
        d->click(2, 0);
        QVERIFY(RadioData == before);
        QVERIFY(d->messages.empty());
        QCOMPARE(d->cell(1, 7), QString(" IYAV"));
        // What the user does change is stored.
        d->enter(1, 7, " iyav");
        QCOMPARE(Cells(160, 0, 4), (std::vector<int>{20, 36, 12, 33, 255}));
    }

    void focusLossCommitsOnlyWhileWriting()
    {
        d->click(4, 1);
        QTest::keyClicks(d->textEdit, "446");
        QFocusEvent lost(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(d->textEdit, &lost);
        QVERIFY(d->textEdit->isVisible());
        QCOMPARE(int(RadioData[4][0]), 255);
        SetRadioWriteOpenQuery([] { return true; });
        QCoreApplication::sendEvent(d->textEdit, &lost);
        SetRadioWriteOpenQuery(nullptr);
        QVERIFY(!d->textEdit->isVisible());
        QCOMPARE(Cells(4, 0, 3), (std::vector<int>{0x00, 0x00, 0x60, 0x44}));
        d->click(4, 0); // the cell change afterwards commits nothing more
        QCOMPARE(d->cell(4, 1), QString("446.00000"));
    }
};

QTEST_MAIN(GridEditingTests)
#include "GridEditingTests.moc"
