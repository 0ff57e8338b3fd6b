#include "ChildWindow.h"
#include "MDImain.h"
#include "Messages.h"
#include "Windows.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

namespace {

// A stand-in child window that counts what the window rules call.
class ProbeWindow : public ChildWindow {
    Q_OBJECT
public:
    static inline int loads = 0;
    static inline int activations = 0;
    static inline int unloads = 0;
    static inline bool busy = false;

    explicit ProbeWindow(WindowId id) : ChildWindow(id) {}

protected:
    void applyTexts() override { setWindowTitle(IsChinese ? "探针" : "Probe"); }
    QRect placement() const override { return centred(QSize(200, 100)); }
    void onLoad() override { ++loads; }
    void onActivated() override { ++activations; }
    bool canClose() override { return !busy; }
    void onUnload() override { ++unloads; }
};

void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace

class MainWindowTests : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        for (WindowId id : {WindowId::frm_chann, WindowId::Form_setup, WindowId::Form_type})
            Windows::Register(id, [id] { return new ProbeWindow(id); });
        ProbeWindow::loads = ProbeWindow::activations = ProbeWindow::unloads = 0;
        ProbeWindow::busy = false;
        window = new MDImain;
        window->startUp();
    }
    void cleanup()
    {
        ProbeWindow::busy = false;
        delete window;
        Flush();
        SetMessageHook(nullptr);
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

    void startUpOpensTheGridAndNewChangesNothing()
    {
        QVERIFY(OpenWindows[WindowId::frm_chann]);
        QCOMPARE(ProbeWindow::loads, 1);
        const ImageTable before = RadioData;
        window->findChild<QAction *>("File_New")->trigger();
        QVERIFY(RadioData == before);
        QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
    }

    void openingAnOpenWindowReloadsIt()
    {
        ChildWindow *first = Windows::Find(WindowId::frm_chann);
        QVERIFY(first);
        window->toolbarButton("edit_chann");
        Flush();
        QCOMPARE(ProbeWindow::unloads, 1);
        QCOMPARE(ProbeWindow::loads, 2);
        QVERIFY(OpenWindows[WindowId::frm_chann]);
        QVERIFY(Windows::Find(WindowId::frm_chann) != nullptr);
        QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
        window->toolbarButton("no such key");
        window->toolbarButton("Edit_chann"); // keys are compared exactly
        QCOMPARE(ProbeWindow::loads, 2);
    }

    void unloadClearsTheFlagUnlessTheWindowRefuses()
    {
        ProbeWindow::busy = true;
        QVERIFY(!Windows::Unload(WindowId::frm_chann));
        QVERIFY(OpenWindows[WindowId::frm_chann]);
        ProbeWindow::busy = false;
        QVERIFY(Windows::Unload(WindowId::frm_chann));
        QVERIFY(!OpenWindows[WindowId::frm_chann]);
        QVERIFY(!Windows::Find(WindowId::frm_chann));
        // Menus for windows nobody registered do nothing.
        window->findChild<QAction *>("Prog_read")->trigger();
        QVERIFY(!OpenWindows[WindowId::Form_Comm_Read]);
    }

    void activatingAWindowRedrawsIt()
    {
        Windows::Open(WindowId::Form_setup);
        const int before = ProbeWindow::activations;
        auto *grid = qobject_cast<QMdiSubWindow *>(Windows::Find(WindowId::frm_chann)->parentWidget());
        window->mdiArea()->setActiveSubWindow(grid);
        QCOMPARE(ProbeWindow::activations, before + 1);
    }

    void languageSwitchRecaptionsAndReloadsOpenWindows()
    {
        Windows::Open(WindowId::Form_setup);
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
        QCOMPARE(Windows::Find(WindowId::Form_setup)->windowTitle(), QString("Probe"));
        window->findChild<QAction *>("Language_chn")->trigger();
        QCOMPARE(window->findChild<QAction *>("proc_type")->text(), QString("机型"));
        QCOMPARE(window->panelText(6), QString("频段"));
    }

    void messagesPickTextAndTitleWhenShown()
    {
        QString text, title;
        SetMessageHook([&](const QString &t, const QString &h) { text = t; title = h; });
        ShowWarning("中文", "English");
        QCOMPARE(text, QString("中文"));
        QCOMPARE(title, QString("操作提示"));
        IsChinese = false;
        ShowWarning("中文", "English");
        QCOMPARE(text, QString("English"));
        QCOMPARE(title, QString("Operate prompt"));
        ShowWarning("中文", "English", PromptTitle::CapitalPrompt);
        QCOMPARE(title, QString("Operate Prompt"));
    }

    void aFullWidthMarkStaysOnTheLineOfItsText()
    {
        SetMessageHook(nullptr);
        IsChinese = false;
        QString shown;
        QTimer::singleShot(0, [&shown] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->text();
            box->accept();
        });
        ShowWarning("中文", "Communication port is error, please setting right communication port . ！\n\nDevice: x");
        QCOMPARE(shown, QString("Communication port is error, please setting right communication port\u00A0.\u00A0！\n\nDevice: x"));
    }

    void dialogLikeWindowsCannotBeMinimisedOrMaximisedAndShowNoIcon()
    {
        const WindowId dialogs[] = {WindowId::frmAbout,        WindowId::Form_type,       WindowId::Form_setup,
                                    WindowId::Form_open_chann, WindowId::Form_save_chann,
                                    WindowId::Form_Comm_Read,  WindowId::Form_Comm_Write, WindowId::Form_Adjust_Txp};
        for (int i = 0; i < WindowCount; ++i) {
            const auto id = WindowId(i);
            Windows::Register(id, [id] { return new ProbeWindow(id); });
            auto *sub = qobject_cast<QMdiSubWindow *>(Windows::Open(id)->parentWidget());
            QVERIFY(sub);
            const bool dialog = std::find(std::begin(dialogs), std::end(dialogs), id) != std::end(dialogs);
            const Qt::WindowFlags flags = sub->windowFlags();
            QCOMPARE(bool(flags & Qt::WindowMinimizeButtonHint), !dialog);
            QCOMPARE(bool(flags & Qt::WindowMaximizeButtonHint), !dialog);
            QVERIFY(flags & Qt::WindowCloseButtonHint);
            // The title bar's icon place stays clear.
            const QImage icon = sub->windowIcon().pixmap(16, 16).toImage();
            QVERIFY(!icon.isNull());
            for (int y = 0; y < icon.height(); ++y)
                for (int x = 0; x < icon.width(); ++x)
                    QCOMPARE(qAlpha(icon.pixel(x, y)), 0);
            Windows::Unload(id);
            Flush();
        }
    }

private:
    MDImain *window = nullptr;
};

QTEST_MAIN(MainWindowTests)
#include "MainWindowTests.moc"
