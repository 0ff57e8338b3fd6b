// The window layer on its own, under a bare main frame: load and unload,
// activation, the declared traits (dialog frames, windows that close
// together), the reload order of a language switch, and message boxes.
#include "ChildWindow.h"
#include "ListWheelGuard.h"
#include "MainFrame.h"
#include "Messages.h"
#include "SessionState.h"
#include "SpokenStatus.h"
#include "Windows.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <map>

namespace {

class TestFrame : public QMainWindow, public MainFrame {
public:
    TestFrame() : area_(new QMdiArea(this))
    {
        setCentralWidget(area_);
        resize(1000, 700);
        show();
        Windows::AttachToMainFrame(this);
    }
    ~TestFrame() override { Windows::DetachFromMainFrame(this); }
    QWidget *widget() override { return this; }
    QMdiArea *mdiArea() override { return area_; }

private:
    QMdiArea *area_;
};

// A stand-in child window that logs what the window rules call.
class ProbeWindow : public ChildWindow {
    Q_OBJECT
public:
    static inline std::vector<WindowId> loads;
    static inline std::vector<WindowId> unloads;
    static inline int activations = 0;
    static inline bool busy = false;
    // Windows with typed text, and whether their field refuses it.
    static inline std::map<WindowId, bool> typing;
    static inline std::vector<WindowId> commits;

    explicit ProbeWindow(WindowId id) : ChildWindow(id) { }
    using ChildWindow::setEscapeButton;

    bool commitTyped() override
    {
        const auto typed = typing.find(windowId());
        if (typed == typing.end())
            return true;
        commits.push_back(windowId());
        return !typed->second;
    }

protected:
    void applyTexts() override { setWindowTitle(Texts("探针", "Probe")); }
    QRect placement(const FrameSizes &sizes) const override
    {
        return centred(sizes, QSize(200, 100));
    }
    void onLoad() override { loads.push_back(windowId()); }
    void onActivated() override { ++activations; }
    bool canClose() override { return !busy; }
    void onUnload() override { unloads.push_back(windowId()); }
};

void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

void RegisterProbe(WindowId id, const WindowTraits &traits = {})
{
    Windows::Register(
        id, [id] { return new ProbeWindow(id); }, traits);
}

QMdiSubWindow *SubWindow(WindowId id)
{
    return qobject_cast<QMdiSubWindow *>(Windows::Find(id)->parentWidget());
}

} // namespace

class WindowLayerTests : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        SessionState::instance().setChinese(true);
        for (int i = 0; i < WindowCount; ++i)
            RegisterProbe(WindowId(i));
        ProbeWindow::loads.clear();
        ProbeWindow::unloads.clear();
        ProbeWindow::activations = 0;
        ProbeWindow::busy = false;
        frame = new TestFrame;
    }
    void cleanup()
    {
        ProbeWindow::typing.clear();
        ProbeWindow::commits.clear();
        ProbeWindow::busy = false;
        delete frame;
        Flush();
        SetMessageHook(nullptr);
    }

    void unloadClearsTheFlagUnlessTheWindowRefuses()
    {
        Windows::Open(WindowId::ChannelGrid);
        ProbeWindow::busy = true;
        QVERIFY(!Windows::Unload(WindowId::ChannelGrid));
        QVERIFY(OpenWindows[WindowId::ChannelGrid]);
        ProbeWindow::busy = false;
        QVERIFY(Windows::Unload(WindowId::ChannelGrid));
        QVERIFY(!OpenWindows[WindowId::ChannelGrid]);
        QVERIFY(!Windows::Find(WindowId::ChannelGrid));
    }

    void activatingAWindowRedrawsIt()
    {
        Windows::Open(WindowId::ChannelGrid);
        Windows::Open(WindowId::PortSetup);
        const int before = ProbeWindow::activations;
        frame->mdiArea()->setActiveSubWindow(SubWindow(WindowId::ChannelGrid));
        QCOMPARE(ProbeWindow::activations, before + 1);
    }

    void dialogLikeWindowsCannotBeMinimisedOrMaximisedAndShowNoIcon()
    {
        RegisterProbe(WindowId::ModelSelect, {.dialogLike = true});
        for (bool dialog : {true, false}) {
            const WindowId id = dialog ? WindowId::ModelSelect : WindowId::ChannelGrid;
            Windows::Open(id);
            const Qt::WindowFlags flags = SubWindow(id)->windowFlags();
            QCOMPARE(bool(flags & Qt::WindowMinimizeButtonHint), !dialog);
            QCOMPARE(bool(flags & Qt::WindowMaximizeButtonHint), !dialog);
            QVERIFY(flags & Qt::WindowCloseButtonHint);
            // The title bar's icon place stays clear.
            const QImage icon = SubWindow(id)->windowIcon().pixmap(16, 16).toImage();
            QVERIFY(!icon.isNull());
            for (int y = 0; y < icon.height(); ++y)
                for (int x = 0; x < icon.width(); ++x)
                    QCOMPARE(qAlpha(icon.pixel(x, y)), 0);
        }
        // A factory registered again keeps what was declared.
        Windows::Register(WindowId::ModelSelect,
                          [] { return new ProbeWindow(WindowId::ModelSelect); });
        QVERIFY(Windows::TraitsOf(WindowId::ModelSelect).dialogLike);
    }

    // A part goes whenever its owner unloads; a window closed by the
    // owner's Close goes only then, not when the owner is reloaded.
    void windowsCloseWithTheirOwnerAsDeclared()
    {
        const WindowId owner = WindowId::Options, part = WindowId::ChannelEdit;
        const WindowId first = WindowId::FmList, second = WindowId::PortSetup;
        RegisterProbe(part, {.closesWith = owner});
        RegisterProbe(first, {.closedByCloseOf = owner});
        RegisterProbe(second, {.closedByCloseOf = owner});
        auto openAll = [&] {
            for (WindowId id : {owner, part, first, second})
                Windows::Open(id);
        };

        openAll();
        Windows::Reload(owner);
        QVERIFY(Windows::IsOpen(owner) && !Windows::IsOpen(part));
        QVERIFY(Windows::IsOpen(first) && Windows::IsOpen(second));

        openAll();
        SubWindow(owner)->close(); // the title bar's close box
        Flush();
        QVERIFY(!Windows::IsOpen(part) && Windows::IsOpen(first) && Windows::IsOpen(second));

        openAll();
        ProbeWindow::unloads.clear();
        QVERIFY(Windows::Close(owner));
        QCOMPARE(ProbeWindow::unloads, (std::vector<WindowId>{owner, part, first, second}));

        // An owner that refuses to go keeps its windows.
        openAll();
        ProbeWindow::busy = true;
        QVERIFY(!Windows::Close(owner));
        ProbeWindow::busy = false;
        QVERIFY(Windows::IsOpen(part) && Windows::IsOpen(first));
    }

    // The switch reloads in id order whatever the order of opening, and
    // leaves closed what a reload before closed.
    void reloadOpenWindowsGoesByIdOrder()
    {
        RegisterProbe(WindowId::ChannelEdit, {.closesWith = WindowId::ChannelGrid});
        const WindowId opened[] = {WindowId::Power, WindowId::ChannelEdit, WindowId::Read,
                                   WindowId::ChannelGrid, WindowId::About};
        for (WindowId id : opened)
            Windows::Open(id);
        ProbeWindow::loads.clear();
        ProbeWindow::unloads.clear();
        Windows::ReloadOpenWindows();
        const std::vector<WindowId> order{WindowId::About, WindowId::ChannelGrid, WindowId::Read,
                                          WindowId::Power};
        QCOMPARE(ProbeWindow::loads, order);
        QCOMPARE(ProbeWindow::unloads,
                 (std::vector<WindowId>{WindowId::About, WindowId::ChannelGrid,
                                        WindowId::ChannelEdit, WindowId::Read, WindowId::Power}));
        QVERIFY(!Windows::IsOpen(WindowId::ChannelEdit));
    }

    void messagesPickTextAndTitleWhenShown()
    {
        QString text, title;
        SetMessageHook([&](const QString &t, const QString &h) {
            text = t;
            title = h;
        });
        ShowWarning(nullptr, BilingualText{"中文", "English"});
        QCOMPARE(text, QString("中文"));
        QCOMPARE(title, QString("操作提示"));
        SessionState::instance().setChinese(false);
        ShowWarning(nullptr, BilingualText{"中文", "English"});
        QCOMPARE(text, QString("English"));
        QCOMPARE(title, QString("Operate prompt"));
        ShowWarning(nullptr, BilingualText{"中文", "English"}, PromptTitle::CapitalPrompt);
        QCOMPARE(title, QString("Operate Prompt"));
    }

    void aFullWidthMarkStaysOnTheLineOfItsText()
    {
        SessionState::instance().setChinese(false);
        QString shown;
        QTimer::singleShot(0, [&shown] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->text();
            box->accept();
        });
        ShowWarning(
            nullptr,
            BilingualText{"中文",
                          "Communication port is error, please setting right communication port "
                          ". ！\n\nDevice: x"});
        QCOMPARE(shown, QString("Communication port is error, please setting right communication "
                                "port\u00A0.\u00A0！\n\nDevice: x"));
    }

    // Windows that take the image open only once every window's typed
    // text is stored; the first refusal stops the rest and the opening.
    void typedTextIsCommittedBeforeTheImageIsTaken()
    {
        RegisterProbe(WindowId::SaveChannel, {.dialogLike = true,
                                              .closesWith = std::nullopt,
                                              .closedByCloseOf = std::nullopt,
                                              .takesImage = true});
        std::vector<WindowId> &commits = ProbeWindow::commits;
        for (WindowId id : {WindowId::FmList, WindowId::Options, WindowId::ChannelGrid}) {
            Windows::Open(id);
            ProbeWindow::typing[id] = id == WindowId::Options; // refuses
        }
        QVERIFY(!Windows::Open(WindowId::SaveChannel));
        QVERIFY(!OpenWindows[WindowId::SaveChannel]);
        QCOMPARE(commits, (std::vector<WindowId>{WindowId::Options}));

        ProbeWindow::typing[WindowId::Options] = false;
        commits.clear();
        QVERIFY(Windows::Open(WindowId::SaveChannel));
        QCOMPARE(commits, (std::vector<WindowId>{WindowId::Options, WindowId::ChannelGrid,
                                                 WindowId::FmList}));
        // Other windows open without asking.
        commits.clear();
        QVERIFY(Windows::Open(WindowId::PortSetup));
        QVERIFY(commits.empty());
        // A window that has gone is not asked.
        QVERIFY(Windows::Unload(WindowId::Options));
        QVERIFY(Windows::CommitTyped());
        QCOMPARE(commits.size(), size_t(2));
    }

    // Ctrl+W belongs to the main window's "Write to radio"; a child window
    // closes with Ctrl+F4.
    void childWindowsLeaveCtrlWToTheMainWindow()
    {
        Windows::Open(WindowId::ChannelGrid);
        bool closeFound = false;
        for (QAction *action : SubWindow(WindowId::ChannelGrid)->systemMenu()->actions()) {
            QVERIFY(!action->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W)));
            closeFound |= action->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_F4));
        }
        QVERIFY(closeFound);
    }

    // Closing a window hands the front back to the one the user came
    // from, not to the first one made.
    void aClosingWindowReturnsTheFrontToThePreviousOne()
    {
        RegisterProbe(WindowId::SaveChannel, {.dialogLike = true});
        Windows::Open(WindowId::ChannelGrid);
        Windows::Open(WindowId::Options);
        Windows::Open(WindowId::FmList);
        frame->mdiArea()->setActiveSubWindow(SubWindow(WindowId::Options));
        Windows::Open(WindowId::SaveChannel);
        QCOMPARE(frame->mdiArea()->activeSubWindow(), SubWindow(WindowId::SaveChannel));
        Windows::Unload(WindowId::SaveChannel);
        Flush();
        QCOMPARE(frame->mdiArea()->activeSubWindow(), SubWindow(WindowId::Options));
    }

    // Only a focused list takes the wheel; otherwise the wheel goes on to
    // what is under the list.
    void theWheelChangesOnlyAFocusedList()
    {
        InstallListWheelGuard();
        QWidget form;
        auto *list = new QComboBox(&form);
        list->addItems({"a", "b", "c"});
        list->setCurrentIndex(1);
        auto *field = new QLineEdit(&form);
        list->move(0, 40);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(list->focusPolicy(), Qt::StrongFocus);
        field->setFocus();
        auto turn = [list](int delta) {
            const QPointF at(list->rect().center());
            QWheelEvent wheel(at, list->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list, &wheel);
        };
        turn(-120);
        QCOMPARE(list->currentIndex(), 1);
        QVERIFY(!list->hasFocus());
        list->setFocus();
        turn(-120);
        QCOMPARE(list->currentIndex(), 2);
    }

    // Esc reaches the window when no control takes it: its Cancel or Close
    // is pressed; a disabled one is not, and a line editor keeps its Esc.
    void escapePressesTheWindowsEscapeButton()
    {
        auto *window = qobject_cast<ProbeWindow *>(Windows::Open(WindowId::PortSetup));
        auto *cancel = new QPushButton(window);
        auto *field = new QLineEdit(window);
        int pressed = 0;
        connect(cancel, &QPushButton::clicked, [&pressed] { ++pressed; });
        window->setEscapeButton(cancel);
        cancel->show();
        field->show();
        QTest::keyClick(window, Qt::Key_Escape);
        QCOMPARE(pressed, 1);
        QTest::keyClick(window, Qt::Key_Escape, Qt::ShiftModifier);
        QCOMPARE(pressed, 1);
        cancel->setEnabled(false);
        QTest::keyClick(window, Qt::Key_Escape);
        QCOMPARE(pressed, 1);
    }

    void aStatusKindIsItsWordsWithoutNumbers_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("kind");
        QTest::newRow("block") << "Reading 17 Data Block"
                               << "Reading Data Block";
        QTest::newRow("blanks kept apart") << "Writing  0  Data Block"
                                           << "Writing Data Block";
        QTest::newRow("Chinese") << "正在读取 253 数据块"
                                 << "正在读取 数据块";
        QTest::newRow("no number") << "Connecting with transceiver. "
                                   << "Connecting with transceiver.";
        QTest::newRow("count") << "3 written, 10 failed"
                               << "written, failed";
    }
    void aStatusKindIsItsWordsWithoutNumbers()
    {
        QFETCH(QString, status);
        QFETCH(QString, kind);
        QCOMPARE(StatusKind(status), kind);
    }

    // A status line's news becomes the description of the window's buttons,
    // which a screen reader speaks where the focus is; a line that only
    // counts on is passed on again only after a while.
    void statusLinesReachTheWindowsButtons()
    {
        auto *window = Windows::Open(WindowId::Read);
        auto *line = new QLabel(window);
        auto *start = new QPushButton(window);
        auto *cancel = new QPushButton(window);
        ShowStatus(line, QStringLiteral("Connecting with transceiver. "));
        QCOMPARE(line->text(), QString("Connecting with transceiver. "));
        QCOMPARE(start->accessibleDescription(), QString("Connecting with transceiver."));
        QCOMPARE(cancel->accessibleDescription(), QString("Connecting with transceiver."));
        ShowStatus(line, QStringLiteral("Reading 1 Data Block"));
        QCOMPARE(start->accessibleDescription(), QString("Reading 1 Data Block"));
        ShowStatus(line, QStringLiteral("Reading 2 Data Block"));
        QCOMPARE(line->text(), QString("Reading 2 Data Block"));
        QCOMPARE(start->accessibleDescription(), QString("Reading 1 Data Block"));
        ShowStatus(line, QStringLiteral("Read Data in gear. "));
        QCOMPARE(cancel->accessibleDescription(), QString("Read Data in gear."));
        // Another window's buttons hear nothing of it.
        auto *other = new QPushButton(Windows::Open(WindowId::Write));
        ShowStatus(line, QStringLiteral("Fail connect with transceiver."));
        QCOMPARE(other->accessibleDescription(), QString());
    }

private:
    TestFrame *frame = nullptr;
};

QTEST_MAIN(WindowLayerTests)
#include "WindowLayerTests.moc"
