#include "ChannelWindows.h"
#include "ChildWindow.h"
#include "DataBandPanel.h"
#include "FileWindows.h"
#include "ImageChanges.h"
#include "MainWindow.h"
#include "Messages.h"
#include "PortBinding.h"
#include "RadioWriteOpen.h"
#include "RecordCodec.h"
#include "SystemPortSource.h"
#include "WindowCatalog.h"
#include "Windows.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

namespace {

// A stand-in child window that counts what the window rules call.
class ProbeWindow : public ChildWindow {
    Q_OBJECT
public:
    static inline int loads = 0;
    static inline int unloads = 0;

    explicit ProbeWindow(WindowId id) : ChildWindow(id) { }

protected:
    void applyTexts() override { setWindowTitle(Texts("探针", "Probe")); }
    QRect placement(const FrameSizes &sizes) const override
    {
        return centred(sizes, QSize(200, 100));
    }
    void onLoad() override { ++loads; }
    void onUnload() override { ++unloads; }
};

void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace

class MainWindowTests : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        for (WindowId id : {WindowId::ChannelGrid, WindowId::PortSetup, WindowId::ModelSelect})
            Windows::Register(id, [id] { return new ProbeWindow(id); });
        ProbeWindow::loads = ProbeWindow::unloads = 0;
        // No serial ports, whatever the machine has: COM1 stands for none.
        ports.setPorts({});
        SetCurrentPortSource(&ports);
        window = new MainWindow;
        window->startUp();
    }
    void cleanup()
    {
        delete window;
        Flush();
        SetMessageHook(nullptr);
        SetCurrentPortSource(nullptr);
        BindPort(1, QString());
    }

    // Ctrl+W, the shortcut of "Write to radio", opens the write window and
    // closes no child window; Ctrl+F4 closes the active one.
    void ctrlWOpensTheWriteWindowAndClosesNone()
    {
        Windows::Register(WindowId::Write, [] { return new ProbeWindow(WindowId::Write); });
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        Windows::Find(WindowId::ChannelGrid)->setFocus();
        QTest::keyClick(window->windowHandle(), Qt::Key_W, Qt::ControlModifier);
        QVERIFY(Windows::IsOpen(WindowId::Write));
        QVERIFY(Windows::IsOpen(WindowId::ChannelGrid));
        QTest::keyClick(window->windowHandle(), Qt::Key_F4, Qt::ControlModifier);
        Flush();
        QVERIFY(!Windows::IsOpen(WindowId::Write));
        QVERIFY(Windows::IsOpen(WindowId::ChannelGrid));
    }

    void startsInChineseWithItsPanels()
    {
        QCOMPARE(window->objectName(), QString("MDImain"));
        QCOMPARE(window->windowTitle(), QString("北岭远岚电子有限公司  QL540 系列对讲机编程软件 "));
        QCOMPARE(window->panelText(1), QString("状态"));
        QCOMPARE(window->panelText(2), QString());
        QCOMPARE(window->panelText(3), QString("COM1"));
        QCOMPARE(window->panelText(4), QString("软件版本"));
        QCOMPARE(window->panelText(5), QString("Ver1.2"));
        QCOMPARE(window->panelText(6), QString("频 段"));
        QCOMPARE(window->panelText(7), QString(" 400-- 470 MHZ"));
        QCOMPARE(window->panelText(8), QString("北岭远岚电子有限公司"));
        auto *bar = window->findChild<QStatusBar *>("StatusBar1");
        QVERIFY(bar);
        const int widths[8] = {5, 15, 6, 8, 10, 5, 16, 35};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(bar->findChild<QLabel *>(QString("Panel%1").arg(i + 1))->width(),
                     window->width() * widths[i] / 100);
        // Panel 3 names the device where the number stands for another one,
        // and follows a new binding.
        BindPort(1, QStringLiteral("/dev/ttyUSB3"));
        QCOMPARE(window->panelText(3), QString("COM1: /dev/ttyUSB3"));
        BindPort(1, QString());
        QCOMPARE(window->panelText(3), QString("COM1"));
        // A device too long for the port panel: it widens into the last one.
        auto *port = bar->findChild<QLabel *>("Panel3");
        auto *maker = bar->findChild<QLabel *>("Panel8");
        BindPort(1, QStringLiteral("/dev/serial/by-id/usb-1a86_USB_Serial-if00"));
        QVERIFY(port->maximumWidth() > window->width() * widths[2] / 100);
        QCOMPARE(port->maximumWidth() + maker->maximumWidth(),
                 window->width() * widths[2] / 100 + window->width() * widths[7] / 100);
        BindPort(1, QString());
        QCOMPARE(port->maximumWidth(), window->width() * widths[2] / 100);
    }

    void menusHaveNamesCaptionsAndShortcuts()
    {
        auto action = [this](const char *name) { return window->findChild<QAction *>(name); };
        QCOMPARE(window->findChild<QMenu *>("File")->title(), QString("文件"));
        QCOMPARE(action("proc_type")->text(), QString("机 型"));
        QCOMPARE(action("Channel_edit")->text(), QString("信道信息"));
        QCOMPARE(action("Prog_read")->text(), QString("从对讲机读取数据"));
        QCOMPARE(action("Prog_read")->shortcut(), QKeySequence("Ctrl+R"));
        QCOMPARE(action("Prog_write")->shortcut(), QKeySequence("Ctrl+W"));
        QCOMPARE(action("File_Open")->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(action("File_save")->shortcut(), QKeySequence("Ctrl+S"));
        QCOMPARE(action("File_New")->shortcut(), QKeySequence("Ctrl+N"));
        QCOMPARE(action("File_Print")->shortcut(), QKeySequence("Ctrl+P"));
        QCOMPARE(action("File_ExportPdf")->text(), QString("导出 PDF"));
        QCOMPARE(action("Language_chn")->text(), QString("中文"));
        QVERIFY(action("Language_chn")->isChecked());
        QVERIFY(!action("Language_eng")->isChecked());
        for (const char *name : {"File_saveas", "File_exit", "Optional_edit", "Test_edit",
                                 "Adj_Txp", "proc_setup", "Menu_About", "Menu_exit"})
            QVERIFY2(action(name) && !action(name)->text().isEmpty(), name);
        auto *toolbar = window->findChild<QToolBar *>("Toolbar1");
        QCOMPARE(toolbar->actions().size(), 6);
        for (const char *key : {"open", "save", "edit_chann", "read", "write", "Exit"})
            QVERIFY2(toolbar->findChild<QAction *>(key) || action(key), key);
    }

    // Each button shows an icon of its own, drawn at every size it may be
    // shown in (the 200 % one from its own image, not enlarged), none taken
    // from the desktop's icon theme.
    void toolbarIconsAreTheProgramsOwnAtEverySize()
    {
        auto *toolbar = window->findChild<QToolBar *>("Toolbar1");
        QList<QImage> shown;
        for (QAction *action : toolbar->actions()) {
            const QIcon icon = action->icon();
            const QByteArray key = action->objectName().toLatin1();
            QVERIFY2(icon.name().isEmpty(), key); // a theme icon has a name
            for (int size : {16, 24, 32, 48}) {
                QVERIFY2(icon.availableSizes().contains(QSize(size, size)), key);
                const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
                QCOMPARE(image.size(), QSize(size, size));
                int opaque = 0;
                for (int y = 0; y < size; ++y)
                    for (int x = 0; x < size; ++x)
                        opaque += qAlpha(image.pixel(x, y)) == 255;
                QVERIFY2(opaque > size, key); // not blank
            }
            QImage doubled = icon.pixmap(QSize(24, 24), 2.0).toImage();
            doubled.setDevicePixelRatio(1.0);
            QCOMPARE(doubled, icon.pixmap(QSize(48, 48), 1.0).toImage());
            const QImage image = icon.pixmap(QSize(24, 24), 1.0).toImage();
            QVERIFY2(!shown.contains(image), key);
            shown.append(image);
        }
        QCOMPARE(shown.size(), 6);
    }

    void startUpOpensTheGridAndNewChangesNothing()
    {
        QVERIFY(OpenWindows[WindowId::ChannelGrid]);
        QCOMPARE(ProbeWindow::loads, 1);
        const ImageTable before = RadioData;
        window->findChild<QAction *>("File_New")->trigger();
        QVERIFY(RadioData == before);
        QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
    }

    void openingAnOpenWindowReloadsIt()
    {
        ChildWindow *first = Windows::Find(WindowId::ChannelGrid);
        QVERIFY(first);
        window->toolbarButton("edit_chann");
        Flush();
        QCOMPARE(ProbeWindow::unloads, 1);
        QCOMPARE(ProbeWindow::loads, 2);
        QVERIFY(OpenWindows[WindowId::ChannelGrid]);
        QVERIFY(Windows::Find(WindowId::ChannelGrid) != nullptr);
        QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
        window->toolbarButton("no such key");
        window->toolbarButton("Edit_chann"); // keys are compared exactly
        QCOMPARE(ProbeWindow::loads, 2);
        // Menus for windows nobody registered do nothing.
        window->findChild<QAction *>("Prog_read")->trigger();
        QVERIFY(!OpenWindows[WindowId::Read]);
    }

    void languageSwitchRecaptionsAndReloadsOpenWindows()
    {
        Windows::Open(WindowId::PortSetup);
        const int loads = ProbeWindow::loads;
        window->findChild<QAction *>("Language_eng")->trigger();
        Flush();
        QVERIFY(!IsChinese);
        QCOMPARE(window->windowTitle(),
                 QString("Norvale TARVEX Electronic Co.,Ltd. QL540 series program software "));
        QCOMPARE(window->panelText(4), QString("  Version"));
        QCOMPARE(window->panelText(6), QString("Band"));
        QCOMPARE(window->panelText(8), QString("Norvale TARVEX Electronic Co.,Ltd. "));
        QCOMPARE(window->panelText(7), QString(" 400-- 470 MHZ"));
        QCOMPARE(window->findChild<QAction *>("Channel_edit")->text(),
                 QString("Channel Information "));
        QVERIFY(window->findChild<QAction *>("Language_eng")->isChecked());
        QCOMPARE(ProbeWindow::loads, loads + 2);
        QCOMPARE(Windows::Find(WindowId::PortSetup)->windowTitle(), QString("Probe"));
        window->findChild<QAction *>("Language_chn")->trigger();
        QCOMPARE(window->findChild<QAction *>("proc_type")->text(), QString("机型"));
        QCOMPARE(window->panelText(6), QString("频段"));
    }

    // The band record of the data against the editors' band: a note only
    // where they differ.
    void theDataBandNoteNamesADifferingBand()
    {
        struct Case {
            std::array<int, 4> record;
            double low, high;
            const char *chinese, *english;
        };
        const Case cases[] = {
            {{0x00, 0x40, 0x00, 0x47}, 400, 470, "", ""},
            {{0x60, 0x13, 0x40, 0x17}, 400, 470, "数据频段 136--174 MHZ", "Data band 136--174 MHZ"},
            {{0x60, 0x13, 0x40, 0x17}, 136, 174, "", ""},
            {{0x00, 0x43, 0x00, 0x46}, 400, 470, "数据频段 430--460 MHZ", "Data band 430--460 MHZ"},
            {{0x00, 0x40, 0x00, 0x47}, 400, 480, "数据频段 400--470 MHZ", "Data band 400--470 MHZ"},
        };
        auto image = std::make_unique<ImageTable>(RadioData);
        for (const Case &c : cases) {
            for (int k = 0; k < 4; ++k)
                (*image)[BandLimitRow][k] = int16_t(c.record[k]);
            const std::optional<BilingualText> note = DataBandNote(*image, c.low, c.high);
            QCOMPARE(note ? note->chinese : QString(), QString(c.chinese));
            QCOMPARE(note ? note->english : QString(), QString(c.english));
        }
    }

    // The panel appears with data of another band, in either language, and
    // goes once the data's band is the editors' again.
    void theDataBandPanelFollowsTheImage()
    {
        auto *panel = window->findChild<QLabel *>("Panel_DataBand");
        QVERIFY(panel && panel->isHidden());
        auto image = std::make_unique<ImageTable>(RadioData);
        const std::array<int16_t, 4> vhf{0x60, 0x13, 0x40, 0x17};
        std::copy(vhf.begin(), vhf.end(), (*image)[BandLimitRow].begin());
        ImageChanges::instance().replaceImage(ChangeKind::OpenedFile, *image);
        QTRY_VERIFY(!panel->isHidden());
        auto *empty = window->findChild<QLabel *>("Panel2");
        QVERIFY(empty->isHidden()); // the note takes the empty panel's place
        QCOMPARE(panel->width(), empty->width());
        QVERIFY(panel->toolTip().startsWith("数据频段 136--174 MHZ\n"));
        QVERIFY(!panel->text().isEmpty());
        QCOMPARE(window->panelText(7), QString(" 400-- 470 MHZ"));
        QCOMPARE(BandLowMHz, 400.0); // the editors' band stays
        window->switchLanguage(false);
        QVERIFY(panel->toolTip().startsWith("Data band 136--174 MHZ\n"));
        ImageChanges::instance().apply(ChangeKind::ModelSelect,
                                       [](ImageTable &data) { EncodeBandLimits(data, 400, 470); });
        QTRY_VERIFY(panel->isHidden());
        QVERIFY(!empty->isHidden());
    }

    // The real grid and about box, a probe for a window still to come and
    // one for the edit window, which belongs to the grid.
    void languageSwitchReloadsInWindowOrderAndClosesTheEditWindow()
    {
        RegisterAppWindows();
        RegisterChannelWindows();
        for (WindowId id : {WindowId::FmList, WindowId::ChannelEdit})
            Windows::Register(id, [id] { return new ProbeWindow(id); });
        Windows::Open(WindowId::FmList);
        Windows::Open(WindowId::ChannelGrid);
        window->findChild<QAction *>("Menu_About")->trigger();
        Windows::Find(WindowId::ChannelGrid)->findChild<QPushButton *>("Command_Edit")->click();
        QVERIFY(Windows::IsOpen(WindowId::ChannelEdit));
        std::vector<WindowId> unloaded;
        for (QMdiSubWindow *sub : window->mdiArea()->subWindowList()) {
            auto *child = qobject_cast<ChildWindow *>(sub->widget());
            connect(child, &ChildWindow::unloaded, child,
                    [&](WindowId id) { unloaded.push_back(id); });
        }
        window->findChild<QAction *>("Language_eng")->trigger();
        Flush();
        QVERIFY(unloaded
                == (std::vector<WindowId>{WindowId::About, WindowId::ChannelGrid,
                                          WindowId::ChannelEdit, WindowId::FmList}));
        QVERIFY(!Windows::IsOpen(WindowId::ChannelEdit));
        QCOMPARE(Windows::Find(WindowId::About)->windowTitle(), QString("About"));
        auto *grid = Windows::Find(WindowId::ChannelGrid);
        QCOMPARE(grid->findChild<QPushButton *>("Command_Edit")->text(), QString("Channel Edit"));
        QCOMPARE(Windows::Find(WindowId::FmList)->windowTitle(), QString("Probe"));
    }

    // A reload of the grid leaves the file windows open; its Close does not.
    void theGridsCloseTakesTheFileWindowsAlong()
    {
        RegisterChannelWindows();
        RegisterFileWindows();
        const WindowId ids[] = {WindowId::ChannelGrid, WindowId::OpenChannel,
                                WindowId::SaveChannel};
        for (WindowId id : ids)
            Windows::Open(id);
        window->switchLanguage(true);
        for (WindowId id : ids)
            QVERIFY(Windows::IsOpen(id));
        Windows::Find(WindowId::ChannelGrid)->findChild<QPushButton *>("Command_Close")->click();
        for (WindowId id : ids)
            QVERIFY(!Windows::IsOpen(id));
    }

    // Registers every real window, so it runs last.
    void everyWindowDeclaresWhatTheRulesNeed()
    {
        RegisterAllWindows();
        using W = WindowId;
        const W dialogs[] = {W::About, W::ModelSelect, W::PortSetup, W::OpenChannel, W::SaveChannel,
                             W::Read,  W::Write,       W::Power,     W::BatchWrite};
        for (int i = 0; i < WindowCount; ++i) {
            const auto id = W(i);
            const WindowTraits &traits = Windows::TraitsOf(id);
            const std::optional<W> grid = W::ChannelGrid, none;
            QCOMPARE(traits.dialogLike,
                     std::find(std::begin(dialogs), std::end(dialogs), id) != std::end(dialogs));
            QVERIFY(traits.closesWith == (id == W::ChannelEdit ? grid : none));
            const bool closedByGrid = id == W::OpenChannel || id == W::SaveChannel;
            QVERIFY(traits.closedByCloseOf == (closedByGrid ? grid : none));
        }
        QVERIFY(!RadioWriteOpen());
        window->toolbarButton("write");
        QVERIFY(RadioWriteOpen());
    }

private:
    MainWindow *window = nullptr;
    ListedPortSource ports;
};

QTEST_MAIN(MainWindowTests)
#include "MainWindowTests.moc"
