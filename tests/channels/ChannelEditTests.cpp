// The channel edit window driven by keys and clicks: moving between
// channels, what each field stores (the rules' own tables cover the
// values), and that the grid and this window show each other's edits.
#include "ChannelEditWindow.h"
#include "GridDriver.h"
#include "ImageChanges.h"
#include "SessionState.h"
#include "TestImage.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QScrollBar>

namespace {

std::vector<int> Cells(int row, int from, int to)
{
    std::vector<int> values;
    for (int c = from; c <= to; ++c)
        values.push_back(RadioData[row][c]);
    return values;
}

// Channel n: RX 435.5 MHz, simplex, tones off, not scanned, High, narrow.
void Program(int n, int flagsA = 6, int flagsB = 0)
{
    const int cells[16] = {0,   0,   0x55, 0x43, 0,      0,      0,   0,
                           255, 255, 255,  255,  flagsA, flagsB, 255, 255};
    SetUpImage([&](ImageTable &image) {
        for (int c = 0; c < 16; ++c)
            image[n][c] = int16_t(cells[c]);
    });
}

} // namespace

class ChannelEditTests : public QObject {
    Q_OBJECT
    std::unique_ptr<GridDriver> d;
    QPointer<ChannelEditWindow> w;

    template<class T> T *control(const char *name) const
    {
        T *found = w->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QLineEdit *text(const char *name) const { return control<QLineEdit>(name); }
    QScrollBar *scroll() const { return control<QScrollBar>("VScroll1"); }

    // Opens the window with the grid's button on channel n, as a user does.
    void openOn(int n)
    {
        d->click(n, 0);
        d->pressButton("Command_Edit");
        w = Windows::FindAs<ChannelEditWindow>(WindowId::ChannelEdit);
        QVERIFY(w);
        QCOMPARE(w->channel(), n);
    }
    // Replaces a field's text by typing and leaves it with Tab.
    void enter(const char *name, const QString &typed)
    {
        QLineEdit *field = text(name);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_End);
        while (!field->text().isEmpty())
            QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Tab);
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
        d->activate(); // leaving a field is a focus change, which needs an active window
    }
    void cleanup()
    {
        w.clear();
        d.reset();
    }

    void opensOnTheCurrentChannelWithItsCaptions()
    {
        openOn(7);
        QCOMPARE(w->windowTitle(), QString("信道编辑"));
        QCOMPARE(text("Text_CHN")->text(), QString("7"));
        QCOMPARE(scroll()->value(), 7);
        QCOMPARE(scroll()->minimum(), 0);
        QCOMPARE(scroll()->maximum(), 129);
        const std::pair<const char *, const char *> captions[] = {
            {"Label_CHN", "Channel"},
            {"Label_RX_freq", "Receive Frequency "},
            {"Label_TX_freq", "Transmit Frequency"},
            {"Label_Decode", "QT/DQT Decode"},
            {"Label_Encode", "QT/DQT Encode"},
            {"Label_TXP", "TX Power"},
            {"Label_WN", "Wide/Narror"},
            {"Label_Name", "Channel Name"},
        };
        d->main->switchLanguage(false);
        d->attach();
        // The grid reloaded by the switch closes the edit window with it.
        QVERIFY(!OpenWindows[WindowId::ChannelEdit]);
        d->pressButton("Command_Edit");
        w = Windows::FindAs<ChannelEditWindow>(WindowId::ChannelEdit);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QString("Channel Edit"));
        for (const auto &[name, caption] : captions)
            QCOMPARE(control<QLabel>(name)->text(), QString(caption));
        const std::pair<const char *, const char *> boxes[] = {{"Check_VOX", "VOX"},
                                                               {"Check_Bcl", "BCL"},
                                                               {"Check_Scan", "Scan Add"},
                                                               {"Check_TxStop", "TX Stop"}};
        for (const auto &[name, caption] : boxes)
            QCOMPARE(control<QCheckBox>(name)->text(), QString(caption));
        QCOMPARE(control<QPushButton>("Command_Close")->text(), QString("Close"));
        QCOMPARE(control<QPushButton>("Command_Help")->text(), QString("Help"));
        Program(2);
        scroll()->setValue(2);
        QCOMPARE(control<QComboBox>("Combo_Decode")->itemText(0), QString("OFF"));
        QCOMPARE(control<QComboBox>("Combo_Decode")->count(), 265);
        QCOMPARE(control<QComboBox>("Combo_TXP")->currentText(), QString("High"));
        QCOMPARE(control<QComboBox>("Combo_WN")->currentText(), QString("Narrow"));
    }

    void closesWithTheGrid()
    {
        openOn(3);
        QTest::mouseClick(control<QPushButton>("Command_Close"), Qt::LeftButton);
        QVERIFY(!OpenWindows[WindowId::ChannelEdit]);
        openOn(3);
        d->pressButton("Command_Close");
        QVERIFY(!OpenWindows[WindowId::ChannelEdit]);
        QVERIFY(!OpenWindows[WindowId::ChannelGrid]);
        // The grid's close box too, once the grid is really gone.
        Windows::Open(WindowId::ChannelGrid);
        d->attach();
        openOn(3);
        d->grid->parentWidget()->close();
        QTRY_VERIFY(!OpenWindows[WindowId::ChannelEdit]);
    }

    void scrollingWrapsAroundAndMovesTheGridCaption()
    {
        openOn(128);
        scroll()->setFocus();
        QTest::keyClick(scroll(), Qt::Key_Down);
        QCOMPARE(scroll()->value(), 1);
        QCOMPARE(CurrentChannel, int16_t(1));
        QCOMPARE(text("Text_CHN")->text(), QString("1"));
        QCOMPARE(d->grid->windowTitle(), QString("信道参数编辑 [ 信道 -  1 ]"));
        QTest::keyClick(scroll(), Qt::Key_Up);
        QCOMPARE(scroll()->value(), 128);
        QCOMPARE(w->channel(), 128);
        QTest::keyClick(scroll(), Qt::Key_Up);
        QCOMPARE(w->channel(), 127);
    }

    void channelNumberTakesDigitsUpTo128()
    {
        Program(13);
        Program(7);
        openOn(13);
        QLineEdit *number = text("Text_CHN");
        number->setFocus();
        QTest::keyClick(number, Qt::Key_End);
        QTest::keyClicks(number, "9x.");
        QTest::keyClick(number, Qt::Key_Backspace);
        QCOMPARE(number->text(), QString("13")); // 139 > 128; Backspace too is refused
        QTest::keyClick(number, Qt::Key_Home);
        QTest::keyClick(number, Qt::Key_Delete);
        QCOMPARE(w->channel(), 3); // every change of the number moves
        QTest::keyClick(number, Qt::Key_Delete);
        QTest::keyClicks(number, "0");
        QCOMPARE(number->text(), QString("0"));
        QCOMPARE(w->channel(), 3);
        QTest::keyClick(number, Qt::Key_Tab);
        QTRY_VERIFY(number->hasFocus()); // 0 is no channel: the focus comes back
        QTest::keyClick(number, Qt::Key_Home);
        QTest::keyClick(number, Qt::Key_Delete);
        QTest::keyClicks(number, "7");
        QCOMPARE(w->channel(), 7);
        QCOMPARE(CurrentChannel, int16_t(7));
        QCOMPARE(text("Text_RX_Freq")->text(), QString("435.50000"));
        QCOMPARE(d->grid->windowTitle(), QString("信道参数编辑 [ 信道 -  7 ]"));
        QCOMPARE(scroll()->value(), 7); // the scroll bar names the channel too
        QCOMPARE(number->text(), QString("7"));
        QVERIFY(d->messages.empty());
    }

    void anEmptyChannelShowsBlankAndErasesItsCellsAndName()
    {
        SetUpImage([&](ImageTable &image) {
            for (int c = 1; c < 16; ++c)
                image[5][c] = 7; // stray cells behind an erased cell 0
            for (int c = 4; c <= 8; ++c)
                image[161][c] = 12; // channel 5's name
        });
        openOn(5);
        QCOMPARE(Cells(5, 0, 15), std::vector<int>(16, 255));
        QCOMPARE(Cells(161, 4, 8), std::vector<int>(5, 255));
        QVERIFY(text("Text_RX_Freq")->isEnabled());
        for (const char *name : {"Text_TX_Freq", "Text_Name"})
            QVERIFY(!text(name)->isEnabled() && text(name)->text().isEmpty());
        for (const char *name : {"Combo_Decode", "Combo_Encode", "Combo_TXP", "Combo_WN"})
            QVERIFY(!control<QComboBox>(name)->isEnabled()
                    && control<QComboBox>(name)->count() == 0);
        for (const char *name : {"Check_VOX", "Check_Bcl", "Check_Scan", "Check_TxStop"})
            QVERIFY(!control<QCheckBox>(name)->isEnabled());
        // The button face of a blank editor.
        const QPalette palette = text("Text_TX_Freq")->palette();
        QCOMPARE(palette.color(QPalette::Disabled, QPalette::Base),
                 palette.color(QPalette::Active, QPalette::Button));
    }

    void receiveCreatesAChannelWithThisWindowsDefaults()
    {
        openOn(5);
        QLineEdit *receive = text("Text_RX_Freq");
        receive->setFocus();
        QTest::keyClicks(receive, "a435.5x");
        QCOMPARE(receive->text(), QString("435.5")); // only digits and the point get in
        QVERIFY(text("Text_TX_Freq")->isEnabled());
        QTest::keyClick(receive, Qt::Key_Tab);
        QCOMPARE(Cells(5, 0, 15), (std::vector<int>{0, 0, 0x55, 0x43, 0, 0, 0, 0, 255, 255, 255,
                                                    255, 6, 0, 255, 255}));
        QCOMPARE(Cells(161, 4, 8), std::vector<int>(5, 255));
        QCOMPARE(text("Text_TX_Freq")->text(), QString("435.50000"));
        QVERIFY(text("Text_Name")->isEnabled() && control<QCheckBox>("Check_TxStop")->isEnabled());
        QCOMPARE(control<QComboBox>("Combo_Decode")->currentText(), QString("关"));
        QVERIFY(!control<QCheckBox>("Check_Scan")->isChecked());
        QCOMPARE(d->cell(5, 1), QString("435.50000")); // the grid shows it at once
        QCOMPARE(d->cell(5, 6), QString("窄带"));
        // Emptied, the channel goes, name and all.
        enter("Text_Name", "ab");
        enter("Text_RX_Freq", "");
        QCOMPARE(Cells(5, 0, 15), std::vector<int>(16, 255));
        QCOMPARE(Cells(161, 4, 8), std::vector<int>(5, 255));
        QVERIFY(!text("Text_TX_Freq")->isEnabled());
        QCOMPARE(d->cell(5, 1), QString());
    }

    void transmitSetsOffsetAndShiftAndReceiveKeepsIt()
    {
        Program(4);
        openOn(4);
        enter("Text_TX_Freq", "440.5");
        QCOMPARE(Cells(4, 4, 7), (std::vector<int>{0, 0, 0x50, 0}));
        QCOMPARE(RadioData[4][12] >> 6, 1);
        enter("Text_TX_Freq", "430.5");
        QCOMPARE(Cells(4, 4, 7), (std::vector<int>{0, 0, 0x50, 0}));
        QCOMPARE(RadioData[4][12] >> 6, 2);
        enter("Text_RX_Freq", "436.5");
        QCOMPARE(text("Text_TX_Freq")->text(), QString("430.50000"));
        QCOMPARE(Cells(4, 4, 7), (std::vector<int>{0, 0, 0x60, 0}));
        QCOMPARE(RadioData[4][12] >> 6, 2);
        QCOMPARE(d->cell(4, 2), QString("430.50000"));
        enter("Text_TX_Freq", "");
        QCOMPARE(Cells(4, 4, 7), (std::vector<int>{0, 0, 0, 0}));
        QCOMPARE(RadioData[4][12] >> 6, 0);
        QVERIFY(d->messages.empty());
    }

    void outOfBandFrequenciesBecomeTheLowerLimitWithTheirMessages()
    {
        Program(6);
        SessionState::instance().setChinese(false);
        openOn(6);
        enter("Text_RX_Freq", "500");
        QCOMPARE(messageTexts(), QStringList{"Over the range of receive frequency ."});
        QCOMPARE(d->messages[0].title, QString("Operate prompt"));
        QCOMPARE(text("Text_RX_Freq")->text(), QString("400.00000"));
        QCOMPARE(Cells(6, 0, 3), (std::vector<int>{0, 0, 0, 0x40}));
        d->messages.clear();
        enter("Text_TX_Freq", "470");
        QCOMPARE(messageTexts(), QStringList{"Over the range of Transmit frequency ."});
        QCOMPARE(text("Text_TX_Freq")->text(), QString("400.00000"));
    }

    // A transmit frequency outside the band is shown as simplex, but showing
    // stores nothing: the shift stays until the user edits a frequency.
    void aStoredOffsetOutsideTheBandShowsAsSimplexAndStays()
    {
        Program(8, 0x46);
        SetUpImage([&](ImageTable &image) {
            image[8][2] = 0x95; // RX 469.5 + 5 = 474.5
            image[8][3] = 0x46;
            image[8][6] = 0x50;
            image[8][8] = 0; // decode CTCSS index 70: the last tone
            image[8][9] = 70;
        });
        const std::vector<int> stored = Cells(8, 0, 15);
        openOn(8);
        QCOMPARE(text("Text_TX_Freq")->text(), QString("469.50000"));
        QCOMPARE(Cells(8, 0, 15), stored);
        QCOMPARE(control<QComboBox>("Combo_Decode")->currentIndex(), 50);
        QCOMPARE(control<QComboBox>("Combo_Decode")->currentText(), QString("254.1"));
        // Passing through the frequencies, another list, leaving and coming back.
        text("Text_RX_Freq")->setFocus();
        QTest::keyClick(text("Text_RX_Freq"), Qt::Key_Tab);
        QTest::keyClick(text("Text_TX_Freq"), Qt::Key_Tab);
        QTest::keyClick(control<QComboBox>("Combo_Decode"), Qt::Key_Tab);
        QTest::keyClick(control<QComboBox>("Combo_Encode"), Qt::Key_Tab);
        QTest::keyClick(control<QComboBox>("Combo_TXP"), Qt::Key_Up);
        QCOMPARE(RadioData[8][12], 0x45); // Mid; the shift stays
        scroll()->setValue(9);
        scroll()->setValue(8);
        QCOMPARE(RadioData[8][12], 0x45);
        QVERIFY(d->messages.empty());
        // A frequency the user types is stored for the channel as shown.
        enter("Text_TX_Freq", "465.5");
        QCOMPARE(Cells(8, 4, 7), (std::vector<int>{0, 0, 0x40, 0}));
        QCOMPARE(RadioData[8][12] >> 6, 2);
    }

    // The first click into the name field of a channel being created lands
    // there: leaving the receive field creates the channel on the way.
    void theFirstClickIntoANewChannelsNameLandsThere()
    {
        openOn(5);
        QLineEdit *receive = text("Text_RX_Freq");
        receive->setFocus();
        QTest::keyClicks(receive, "435.5");
        QLineEdit *name = text("Text_Name");
        QTest::mouseClick(name, Qt::LeftButton);
        QVERIFY(name->hasFocus());
        QCOMPARE(Cells(5, 0, 3), (std::vector<int>{0, 0, 0x55, 0x43}));
        QCOMPARE(receive->text(), QString("435.50000"));
        QTest::keyClicks(name, "ab");
        QCOMPARE(receive->text(), QString("435.50000"));
        QCOMPARE(Cells(161, 4, 8), (std::vector<int>{12, 13, 255, 255, 255}));
        // Typed away again before leaving, the channel's editors go blank.
        scroll()->setValue(6);
        receive->setFocus();
        QTest::keyClicks(receive, "4");
        QVERIFY(name->isEnabled());
        QTest::keyClick(receive, Qt::Key_Backspace);
        QVERIFY(!name->isEnabled() && !text("Text_TX_Freq")->isEnabled());
        QCOMPARE(Cells(6, 0, 15), std::vector<int>(16, 255));
    }

    void listsAndSwitchesStoreTheirBits()
    {
        Program(9);
        openOn(9);
        auto *scan = control<QCheckBox>("Check_Scan");
        scan->setFocus();
        QTest::keyClick(scan, Qt::Key_Space);
        QCOMPARE(int(RadioData[9][12]), 2); // ticked: scanned
        const std::pair<const char *, int> boxes[] = {
            {"Check_VOX", 0x40}, {"Check_Bcl", 0xC0}, {"Check_TxStop", 0xD0}};
        for (const auto &[name, flags] : boxes) {
            QTest::mouseClick(control<QCheckBox>(name), Qt::LeftButton);
            QCOMPARE(int(RadioData[9][13]), flags);
        }
        auto *power = control<QComboBox>("Combo_TXP");
        power->setFocus();
        QTest::keyClick(power, Qt::Key_Up);
        QCOMPARE(RadioData[9][12] & 3, 1);
        QTest::keyClicks(power, "L"); // pick-only: typed letters choose nothing
        QCOMPARE(RadioData[9][12] & 3, 1);
        auto *decode = control<QComboBox>("Combo_Decode");
        decode->setFocus();
        QTest::keyClick(decode, Qt::Key_End);
        QCOMPARE(Cells(9, 8, 9), (std::vector<int>{2, 106}));
        QCOMPARE(d->cell(9, 3), ToneList[264]);
        QCOMPARE(d->cell(9, 5), QString("中"));
    }

    void namesAreStoredAsTypedAndShownAsStored()
    {
        Program(17);
        openOn(17);
        QLineEdit *name = text("Text_Name");
        name->setFocus();
        QTest::keyClicks(name, "abc");
        QCOMPARE(Cells(165, 0, 4), (std::vector<int>{12, 13, 14, 255, 255})); // stored at once
        QCOMPARE(name->text(), QString("abc")); // not redrawn yet
        QTest::keyClicks(name, "#de");
        QCOMPARE(name->text(), QString("abc#d")); // a sixth character is refused
        QTest::keyClick(name, Qt::Key_Backspace);
        QCOMPARE(name->text(), QString("abc#d")); // and so is Backspace in a full field
        QTest::keyClick(name, Qt::Key_Tab);
        QCOMPARE(Cells(165, 0, 4), (std::vector<int>{12, 13, 14, 11, 15}));
        QCOMPARE(name->text(), QString("ABC D"));
        QCOMPARE(d->cell(17, 7), QString("ABC D"));
    }

    // Grid edits show here at once; edits made elsewhere behind its back
    // show when it becomes active again.
    // A frequency still being typed is stored before the image is taken.
    void typedFrequencyIsCommittedBeforeTheImageIsTaken()
    {
        Program(7);
        openOn(7);
        QLineEdit *receive = text("Text_RX_Freq");
        receive->setFocus();
        QTest::keyClick(receive, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(receive, "437");
        QVERIFY(Windows::CommitTyped());
        QCOMPARE(Cells(7, 0, 3), (std::vector<int>{0, 0, 0x70, 0x43}));
        QVERIFY(OpenWindows[WindowId::ChannelEdit]);
    }

    void showsChangesFromTheGridAndRedrawsOnActivation()
    {
        Program(11);
        openOn(11);
        QMdiSubWindow *editFrame = d->main->mdiArea()->activeSubWindow();
        d->enter(11, 2, "440");
        QCOMPARE(text("Text_TX_Freq")->text(), QString("440.00000"));
        SetUpCell(11, 13, 0x20); // wide, and not announced
        d->main->mdiArea()->setActiveSubWindow(editFrame);
        QCOMPARE(control<QComboBox>("Combo_WN")->currentText(), QString("宽带"));
    }

    // The form names the channel it edits: it follows the grid's current
    // channel with its number and scroll bar, so what is typed next goes
    // into the channel it names.
    void followsTheGridsCurrentChannel()
    {
        Program(5);
        Program(9);
        SetUpCell(9, 2, 0x65); // 436.5
        openOn(5);
        QMdiSubWindow *editFrame = d->main->mdiArea()->activeSubWindow();
        d->click(9, 0);
        QCOMPARE(w->channel(), 9);
        QCOMPARE(text("Text_CHN")->text(), QString("9"));
        QCOMPARE(scroll()->value(), 9);
        QCOMPARE(text("Text_RX_Freq")->text(), QString("436.50000"));
        d->main->mdiArea()->setActiveSubWindow(editFrame);
        QCOMPARE(text("Text_CHN")->text(), QString("9"));
        enter("Text_TX_Freq", "440.5");
        QCOMPARE(Cells(9, 4, 7), (std::vector<int>{0, 0, 0x40, 0}));
        QCOMPARE(Cells(5, 4, 7), (std::vector<int>{0, 0, 0, 0}));
        scroll()->setFocus();
        QTest::keyClick(scroll(), Qt::Key_Down);
        QCOMPARE(w->channel(), 10);
        QCOMPARE(text("Text_CHN")->text(), QString("10"));
        QCOMPARE(CurrentChannel, int16_t(10));
    }

    // Only bringing the form to an empty channel erases its name; drawing
    // it after a change made elsewhere does not.
    void aRedrawErasesNoName()
    {
        Program(5);
        SetUpImage([&](ImageTable &image) {
            for (int c = 4; c <= 13; ++c)
                image[161][c] = 12; // the names of channels 5 and 6
        });
        openOn(5);
        QMdiSubWindow *editFrame = d->main->mdiArea()->activeSubWindow();
        d->enter(5, 1, ""); // deleted in the grid, which keeps the name
        QCOMPARE(text("Text_RX_Freq")->text(), QString());
        QCOMPARE(Cells(161, 4, 8), std::vector<int>(5, 12));
        d->main->mdiArea()->setActiveSubWindow(editFrame);
        QCOMPARE(Cells(161, 4, 8), std::vector<int>(5, 12));
        // A file whose channel 5 is empty but named.
        auto opened = std::make_unique<ImageTable>(RadioData);
        (*opened)[161][4] = 20;
        ImageChanges::instance().replaceImage(ChangeKind::OpenedFile, *opened);
        d->main->mdiArea()->setActiveSubWindow(editFrame);
        QCOMPARE(RadioData[161][4], 20);
        // Following the grid to empty channel 6 draws it; coming back to
        // the form there, or moving to a channel, is bringing the form there.
        d->click(6, 0);
        QCOMPARE(w->channel(), 6);
        QCOMPARE(Cells(161, 9, 13), std::vector<int>(5, 12));
        d->main->mdiArea()->setActiveSubWindow(editFrame);
        QCOMPARE(Cells(161, 9, 13), std::vector<int>(5, 255));
        scroll()->setValue(5);
        QCOMPARE(Cells(161, 4, 8), std::vector<int>(5, 255));
    }

    // However the window closes, a field still being typed in is stored as
    // leaving it would store it.
    void closingStoresWhatIsBeingTyped()
    {
        Program(12);
        openOn(12);
        QLineEdit *receive = text("Text_RX_Freq");
        receive->setFocus();
        QTest::keyClick(receive, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(receive, "436");
        w->parentWidget()->close(); // the close box
        QVERIFY(!OpenWindows[WindowId::ChannelEdit]);
        QCOMPARE(Cells(12, 0, 3), (std::vector<int>{0, 0, 0x60, 0x43}));
        QCOMPARE(d->cell(12, 1), QString("436.00000"));

        openOn(12);
        QLineEdit *transmit = text("Text_TX_Freq");
        transmit->setFocus();
        QTest::keyClick(transmit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(transmit, "441");
        // The language menu takes the focus, then its entry reloads the
        // grid, which closes this window; what was typed is stored first.
        auto *language = d->main->findChild<QMenu *>("Language_Setup");
        language->popup(d->main->mapToGlobal(QPoint(0, 0)));
        QTRY_VERIFY(language->isVisible());
        d->main->findChild<QAction *>("Language_eng")->trigger();
        language->close();
        QCOMPARE(Cells(12, 4, 7), (std::vector<int>{0, 0, 0x50, 0}));
        QCOMPARE(RadioData[12][12] >> 6, 1);
        QVERIFY(!OpenWindows[WindowId::ChannelEdit]);
    }
};

QTEST_MAIN(ChannelEditTests)
#include "ChannelEditTests.moc"
