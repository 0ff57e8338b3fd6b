// The grid as drawn from RadioData: layout, texts, caption, redraw, the
// buttons and the editors' placement.
#include "GridDriver.h"

#include "ChannelFile.h"
#include "FileWindows.h"
#include "ImageChanges.h"
#include "TestImage.h"

#include <QAction>
#include <QHeaderView>
#include <QScrollBar>
#include <QTemporaryDir>

class GridDisplayTests : public QObject {
    Q_OBJECT
    std::unique_ptr<GridDriver> d;

    static void program(int n)
    {
        // RX 438.50000, offset 7.6 up, CTCSS 88.5 / DCS 023 inverted, Mid, narrow.
        const int values[14] = {0, 0, 0x85, 0x43, 0, 0, 0x76, 0, 0, 8, 2, 1, 0x41, 0x00};
        SetUpImage([&](ImageTable &image) {
            for (int c = 0; c < 14; ++c)
                image[n][c] = int16_t(values[c]);
        });
    }

    // Another child window, to move the activation away from the grid.
    static void registerOtherWindow()
    {
        Windows::Register(WindowId::FmList, [] {
            struct Other : ChildWindow {
                Other() : ChildWindow(WindowId::FmList) { }
                void applyTexts() override { }
                QRect placement(const FrameSizes &sizes) const override
                {
                    return centred(sizes, QSize(200, 100));
                }
            };
            return new Other;
        });
    }

private slots:
    void init() { d = std::make_unique<GridDriver>(); }
    void cleanup() { d.reset(); }

    void loadsAsAnEmptyTableInChinese()
    {
        QCOMPARE(d->table->rowCount(), 128);
        QCOMPARE(d->table->columnCount(), 8);
        const QStringList header{"信道号",     "接收频率(MHZ)", "发射频率(MHZ)", "QT/DQT解码",
                                 "QT/DQT编码", "发射功率",      "信道带宽",      "信道名称"};
        for (int c = 0; c < 8; ++c)
            QCOMPARE(d->table->horizontalHeaderItem(c)->text(), header[c]);
        QCOMPARE(d->cell(1, 0), QString("1"));
        QCOMPARE(d->cell(128, 0), QString("128"));
        for (int c = 1; c < 8; ++c)
            QCOMPARE(d->cell(5, c), QString());
        QVERIFY(!d->textEdit->isVisible() && !d->combo->isVisible());
        QCOMPARE(d->grid->windowTitle(), QString("信道参数编辑 [ 信道 -  1 ]"));
        QCOMPARE(d->grid->findChild<QPushButton *>("Command_Edit")->text(), QString("信道编辑"));
        QCOMPARE(ChannelCount, 128);
        const QSize main = d->main->size();
        const QSize inner = d->main->mdiArea()->viewport()->size();
        const QRect frame = d->main->mdiArea()->activeSubWindow()->geometry();
        QCOMPARE(frame.size(), QSize(int(main.width() / 1.2), int(main.height() / 1.3)));
        QCOMPARE(frame.topLeft(), QPoint((inner.width() - frame.width()) / 2,
                                         std::max(0, (inner.height() - frame.height()) / 8)));
    }

    void switchesToEnglish()
    {
        program(2);
        d->main->switchLanguage(false);
        d->attach();
        const QStringList header{"Channel",       "RX Frequency", "TX Frequency", "CTCSS/DCS Dec",
                                 "CTCSS/DCS Enc", " TX Power ",   "  W/N  ",      "  Name  "};
        for (int c = 0; c < 8; ++c)
            QCOMPARE(d->table->horizontalHeaderItem(c)->text(), header[c]);
        for (auto [name, caption] : {std::pair{"Command_Clear", "Clear"},
                                     {"Command_Edit", "Channel Edit"},
                                     {"Command_Help", "Help"},
                                     {"Command_Close", "Close"}})
            QCOMPARE(d->grid->findChild<QPushButton *>(name)->text(), QString(caption));
        QCOMPARE(d->grid->windowTitle(), QString("Channel Information [ Channel -  1 ]"));
        QCOMPARE(d->cell(2, 5), QString("Mid"));
        QCOMPARE(d->cell(2, 6), QString("Narrow"));
    }

    void rowsShowTheImage()
    {
        program(2);
        SetUpImage([&](ImageTable &image) {
            image[160][5] = 12; // channel 2: "A", "B"
            image[160][6] = 13;
            // An empty channel with stray cells is erased when drawn.
            image[3][0] = 255;
            image[3][5] = 0x12;
            image[3][12] = 0;
        });
        d->grid->ShowChannelRow(2);
        d->grid->ShowChannelRow(3);
        const QStringList row{"438.50000", "446.10000", ToneList[9], ToneList[159],
                              "中",        "窄带",      "AB"};
        for (int c = 1; c <= 7; ++c)
            QCOMPARE(d->cell(2, c), row[c - 1]);
        for (int c = 0; c < 16; ++c)
            QCOMPARE(int(RadioData[3][c]), 255);
    }

    void unknownToneTypeAndPowerBitsKeepTheCell()
    {
        program(2);
        SetUpImage([&](ImageTable &image) {
            image[2][8] = 7;
            image[2][12] = 0x43;
        });
        d->grid->ShowChannelRow(2);
        QCOMPARE(d->cell(2, 3), QString()); // nothing was there after the load
        QCOMPARE(d->cell(2, 5), QString());
        SetUpImage([&](ImageTable &image) {
            image[2][8] = 0;
            image[2][12] = 0x40;
        });
        d->grid->ShowChannelRow(2);
        SetUpImage([&](ImageTable &image) {
            image[2][8] = 7;
            image[2][12] = 0x43;
        });
        d->grid->ShowChannelRow(2);
        QCOMPARE(d->cell(2, 3), ToneList[9]);
        QCOMPARE(d->cell(2, 5), QString("低"));
    }

    void redrawsWhenActivatedAgain()
    {
        registerOtherWindow();
        QMdiSubWindow *gridFrame = d->main->mdiArea()->activeSubWindow();
        Windows::Open(WindowId::FmList);
        QVERIFY(d->main->mdiArea()->activeSubWindow() != gridFrame);
        program(7); // changed elsewhere while the grid is in the background
        QCOMPARE(d->cell(7, 1), QString());
        d->main->mdiArea()->setActiveSubWindow(gridFrame);
        QCOMPARE(d->cell(7, 1), QString("438.50000"));
        QCOMPARE(d->cell(7, 2), QString("446.10000"));
        Windows::Unload(WindowId::FmList);
    }

    // New data under an open editor (a read, an opened file, another
    // editor) closes it without storing: what was typed belonged to the
    // data that is gone.
    void openEditorClosesWhenItsChannelChangedWhileAway()
    {
        registerOtherWindow();
        QMdiSubWindow *gridFrame = d->main->mdiArea()->activeSubWindow();
        program(8);
        d->grid->ShowChannelRow(8);
        d->click(8, 7);
        QTest::keyClicks(d->textEdit, "ab"); // a name being typed
        Windows::Open(WindowId::FmList);
        SetUpCell(8, 13, 0x20); // wide now
        d->main->mdiArea()->setActiveSubWindow(gridFrame);
        QVERIFY(!d->textEdit->isVisible());
        d->click(8, 0);
        QCOMPARE(d->cell(8, 7), QString());
        QCOMPARE(d->cells(8)[13], 0x20);

        // An editor whose channel stayed as it was keeps what was typed.
        d->click(8, 7);
        QTest::keyClicks(d->textEdit, "cd");
        Windows::Open(WindowId::FmList);
        SetUpCell(9, 0, 0x00); // another channel
        d->main->mdiArea()->setActiveSubWindow(gridFrame);
        QCOMPARE(d->textEdit->text(), QString("cd"));
        d->click(8, 0);
        QCOMPARE(d->cell(8, 7), QString("CD"));

        // A list open on a channel that was erased meanwhile closes.
        d->click(8, 5);
        QVERIFY(d->combo->isVisible());
        Windows::Open(WindowId::FmList);
        SetUpImage([&](ImageTable &image) {
            for (int c = 0; c < 16; ++c)
                image[8][c] = 255;
        });
        d->main->mdiArea()->setActiveSubWindow(gridFrame);
        QVERIFY(!d->combo->isVisible());
        QTest::keyClick(d->table, Qt::Key_Down);
        QCOMPARE(d->cells(8)[12], 255);
        Windows::Unload(WindowId::FmList);
    }

    void anEditLeftOpenIsNotCarriedIntoAnOpenedFile()
    {
        QTemporaryDir dir;
        ImageTable file = RadioData;
        const int channel[16] = {0,   0,   0x85, 0x43, 0, 0,    0,   0,
                                 255, 255, 255,  255,  2, 0x20, 255, 255};
        for (int c = 0; c < 16; ++c)
            file[1][c] = int16_t(channel[c]);
        QVERIFY(WriteChannelFile(dir.filePath("other.chann"), file, nullptr));
        d->enter(1, 1, "446");
        d->click(1, 1);
        d->type("455"); // typed, not committed

        RegisterFileWindows();
        auto *open = static_cast<ChannelFileWindow *>(Windows::Open(WindowId::OpenChannel));
        open->showDirectory(dir.path());
        open->findChild<QLineEdit *>("Text1")->setText("other.chann");
        QTest::mouseClick(open->findChild<QPushButton *>("Command_enter"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!OpenWindows[WindowId::OpenChannel]);
        d->click(2, 1);
        for (int c = 0; c < 16; ++c)
            QCOMPARE(int(RadioData[1][c]), channel[c]);
        QCOMPARE(d->cell(1, 1), QString("438.50000"));
    }

    // A read that completes while the grid stays the active window (the
    // user went on in the grid meanwhile) brings no activation: the commit
    // itself must see that the editor's channel is no longer what it was.
    void aCommitAfterNewDataWithoutActivationStoresNothing()
    {
        d->enter(3, 1, "446");
        d->click(3, 1);
        d->type("455");
        const int channel[4] = {0, 0, 0x85, 0x43};
        SetUpImage([&](ImageTable &image) {
            for (int c = 0; c < 4; ++c)
                image[3][c] = int16_t(channel[c]);
        });
        d->click(4, 1);
        QCOMPARE(d->cells(3)[2], 0x85);
        QCOMPARE(d->cell(3, 1), QString("438.50000"));
        QVERIFY(d->messages.empty());
    }

    // Edits reach the image through the change path, and a change made
    // elsewhere shows at once; under an open editor it voids the edit.
    void changesGoThroughTheChangePathAndShowAtOnce()
    {
        QList<ImageChange> seen;
        const auto connection =
            QObject::connect(&ImageChanges::instance(), &ImageChanges::rowsChanged,
                             [&seen](const ImageChange &change) { seen << change; });
        d->enter(8, 1, "438.5");
        d->pressButton("Command_Clear");
        QObject::disconnect(connection);
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen[0].kind, ChangeKind::CellEdit);
        QVERIFY(seen[0].touches(8));
        QCOMPARE(seen[1].kind, ChangeKind::Clear);

        program(8);
        d->grid->ShowChannelRow(8);
        d->click(8, 7);
        QTest::keyClicks(d->textEdit, "ab");
        auto change = [](int n) {
            ImageChanges::instance().apply(ChangeKind::CellEdit,
                                           [n](ImageTable &image) { image[n][13] = 0x20; });
        };
        change(9); // another channel: the edit goes on
        QVERIFY(d->textEdit->isVisible());
        change(8);
        QCOMPARE(d->cell(8, 6), QString("宽带"));
        QVERIFY(!d->textEdit->isVisible());
        d->click(8, 0);
        QCOMPARE(d->cell(8, 7), QString());
    }

    // However the grid closes, what is still in an editor is stored as
    // leaving its cell would store it.
    void closingStoresWhatIsBeingTyped()
    {
        program(3);
        d->grid->ShowChannelRow(3);
        d->click(3, 1);
        d->type("440");
        d->grid->parentWidget()->close(); // the close box
        QCOMPARE(d->cells(3)[3], 0x44);
        QCOMPARE(d->cells(3)[6], 0x61); // the transmit frequency stayed

        Windows::Open(WindowId::ChannelGrid);
        d->attach();
        d->click(3, 7);
        QTest::keyClicks(d->textEdit, "rpt");
        d->main->switchLanguage(false);
        d->attach();
        QCOMPARE(d->cell(3, 7), QString("RPT"));
    }

    void captionFollowsTheClickedChannel()
    {
        d->click(12, 0);
        QCOMPARE(CurrentChannel, int16_t(12));
        QCOMPARE(d->grid->windowTitle(), QString("信道参数编辑 [ 信道 -  12 ]"));
    }

    void clearErasesChannelsAndNamesOnly()
    {
        program(1);
        program(128);
        SetUpCell(199, 15, 20);
        const auto vfo = GridDriver::cells(0);
        const auto options = GridDriver::cells(208);
        d->grid->ShowChannelRow(1);
        d->click(1, 1);
        d->pressButton("Command_Clear");
        QVERIFY(!d->textEdit->isVisible());
        for (int n = 1; n <= 128; ++n)
            for (int c = 0; c < 16; ++c)
                QCOMPARE(int(RadioData[n][c]), 255);
        for (int r = 160; r <= 199; ++r)
            for (int c = 0; c < 16; ++c)
                QCOMPARE(int(RadioData[r][c]), 255);
        QVERIFY(GridDriver::cells(0) == vfo);
        QVERIFY(GridDriver::cells(208) == options);
        for (int c = 1; c < 8; ++c)
            QCOMPARE(d->cell(1, c), QString());
    }

    void closeUnloadsTheGridAndTheEditWindow()
    {
        d->pressButton("Command_Edit");
        QVERIFY(OpenWindows[WindowId::ChannelEdit]);
        d->pressButton("Command_Help");
        QVERIFY(OpenWindows[WindowId::ChannelGrid]);
        d->pressButton("Command_Close");
        QVERIFY(!OpenWindows[WindowId::ChannelGrid]);
        QVERIFY(!OpenWindows[WindowId::ChannelEdit]);
        QVERIFY(Windows::CommitTyped()); // no grid: nothing to commit, nothing to crash
        d->main->findChild<QAction *>("Channel_edit")->trigger();
        QVERIFY(OpenWindows[WindowId::ChannelGrid]);
        d->main->toolbarButton("edit_chann");
        d->attach();
        QCOMPARE(d->cell(128, 0), QString("128"));
    }

    void editorsCoverTheirCellAndFollowIt()
    {
        program(40);
        d->grid->ShowChannelRow(40);
        d->click(40, 1);
        QVERIFY(d->textEdit->isVisible());
        QCOMPARE(d->textEdit->geometry(), d->cellRect(40, 1));
        d->table->verticalScrollBar()->setValue(d->table->verticalScrollBar()->value() - 3);
        QCOMPARE(d->textEdit->geometry(), d->cellRect(40, 1));
        d->click(40, 3);
        QVERIFY(d->combo->isVisible() && !d->textEdit->isVisible());
        QCOMPARE(d->combo->geometry(), d->cellRect(40, 3));
        QMdiSubWindow *frame = d->main->mdiArea()->activeSubWindow();
        frame->resize(frame->width() + 150, frame->height() + 40);
        QCoreApplication::processEvents();
        QCOMPARE(d->combo->geometry(), d->cellRect(40, 3));
        d->table->verticalScrollBar()->setValue(d->table->verticalScrollBar()->value() + 2);
        QCOMPARE(d->combo->geometry(), d->cellRect(40, 3));
    }

    void columnsFitTheirWidestText()
    {
        for (QString english : {"", "en"}) {
            if (!english.isEmpty()) {
                d->main->switchLanguage(false);
                d->attach();
            }
            const QFontMetrics metrics = d->table->fontMetrics();
            auto fits = [&](int col, const QString &text) {
                return metrics.horizontalAdvance(text) < d->table->columnWidth(col);
            };
            for (int c = 0; c < 8; ++c)
                QVERIFY(d->table->horizontalHeader()->fontMetrics().horizontalAdvance(
                            d->table->horizontalHeaderItem(c)->text())
                        < d->table->columnWidth(c));
            QVERIFY(fits(1, "446.00625") && fits(2, "446.00625"));
            QVERIFY(fits(3, ToneList[60]) && fits(4, "  254.1   "));
            QVERIFY(fits(5, Texts("高", "High")) && fits(6, Texts("窄带", "Narrow")));
            QVERIFY(fits(7, "WWWWW"));
        }
        // A larger font is measured anew when the window is next resized.
        QFont larger = d->table->font();
        larger.setPointSizeF(larger.pointSizeF() * 2);
        d->table->setFont(larger);
        d->table->horizontalHeader()->setFont(larger);
        QMdiSubWindow *frame = d->main->mdiArea()->activeSubWindow();
        frame->resize(frame->width() + 10, frame->height());
        QCoreApplication::processEvents();
        const QFontMetrics metrics(larger);
        QVERIFY(metrics.horizontalAdvance(ToneList[60]) < d->table->columnWidth(3));
        QVERIFY(metrics.horizontalAdvance("446.00625") < d->table->columnWidth(1));
        QVERIFY(metrics.horizontalAdvance(d->table->horizontalHeaderItem(0)->text())
                < d->table->columnWidth(0));
    }
};

QTEST_MAIN(GridDisplayTests)
#include "GridDisplayTests.moc"
