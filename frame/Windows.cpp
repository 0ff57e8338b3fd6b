#include "Windows.h"

#include "MainFrame.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <algorithm>
#include <map>
#include <vector>

namespace {

// The main window the windows open in, and what it hands them.
MainFrame *attachedFrame = nullptr;
WindowContext attachedContext;

// Sizes the placement ratios refer to; without a main window, those of a
// usual one.
FrameSizes SizesOf(MainFrame *frame)
{
    if (!frame)
        return {QSize(1024, 700), QSize(1000, 600)};
    return {frame->widget()->size(), frame->mdiArea()->viewport()->size()};
}

std::map<WindowId, Windows::Factory> &Factories()
{
    static std::map<WindowId, Windows::Factory> factories;
    return factories;
}

std::map<WindowId, QPointer<ChildWindow>> &Loaded()
{
    static std::map<WindowId, QPointer<ChildWindow>> loaded;
    return loaded;
}

std::map<WindowId, WindowTraits> &Traits()
{
    static std::map<WindowId, WindowTraits> traits;
    return traits;
}

// Ids in the order their traits were declared.
std::vector<WindowId> &Declared()
{
    static std::vector<WindowId> declared;
    return declared;
}

Qt::WindowFlags WindowFlags(WindowId id)
{
    if (!Windows::TraitsOf(id).dialogLike)
        return Qt::SubWindow;
    // The system menu hint carries the close button in the title bar.
    return Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
           | Qt::WindowCloseButtonHint;
}

// The system menu's Close takes the platform's close key, which is Ctrl+W
// on some platforms: the main window's "Write to radio" would become
// ambiguous and do nothing. Child windows close with Ctrl+F4 everywhere.
void UseCloseShortcutOfChildWindows(QMdiSubWindow *sub)
{
    if (QMenu *menu = sub->systemMenu())
        for (QAction *action : menu->actions())
            if (action->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W)))
                action->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_F4)});
}

} // namespace

namespace Windows {

void Register(WindowId id, Factory factory)
{
    // Its flag and its turn in the visits are WindowOrder's.
    const int index = static_cast<int>(id);
    if (index < 0 || index >= WindowCount)
        qFatal("Window id %d is missing from WindowOrder", index);
    Factories()[id] = std::move(factory);
}

void Register(WindowId id, Factory factory, const WindowTraits &traits)
{
    Register(id, std::move(factory));
    Declare(id, traits);
}

void Register(WindowId id, PlainFactory factory)
{
    Register(id,
             Factory([factory = std::move(factory)](const WindowContext &) { return factory(); }));
}

void Register(WindowId id, PlainFactory factory, const WindowTraits &traits)
{
    Register(id, std::move(factory));
    Declare(id, traits);
}

bool IsRegistered(WindowId id) { return Factories().count(id) != 0; }

void Declare(WindowId id, const WindowTraits &traits)
{
    Traits()[id] = traits;
    auto &declared = Declared();
    declared.erase(std::remove(declared.begin(), declared.end(), id), declared.end());
    declared.push_back(id);
}

const WindowTraits &TraitsOf(WindowId id)
{
    static const WindowTraits plain;
    const auto it = Traits().find(id);
    return it == Traits().end() ? plain : it->second;
}

ChildWindow *Find(WindowId id)
{
    auto it = Loaded().find(id);
    if (it == Loaded().end() || !it->second || !OpenWindows[id])
        return nullptr;
    return it->second;
}

bool IsOpen(WindowId id) { return Find(id) != nullptr; }

bool Unload(WindowId id)
{
    ChildWindow *window = Find(id);
    if (!window)
        return false;
    if (!window->unload())
        return false;
    Loaded().erase(id);
    return true;
}

bool Close(WindowId id)
{
    if (!Unload(id))
        return false;
    for (WindowId other : std::vector<WindowId>(Declared()))
        if (TraitsOf(other).closedByCloseOf == id)
            Unload(other);
    return true;
}

bool CommitTyped()
{
    // A window's commit may close or open others (a message box, a refusal
    // that brings its window to the front): each is looked up in its turn.
    for (WindowId id : WindowOrder)
        if (ChildWindow *window = Find(id); window && !window->commitTyped())
            return false;
    return true;
}

ChildWindow *Open(WindowId id)
{
    auto factory = Factories().find(id);
    if (factory == Factories().end())
        return nullptr;
    if (TraitsOf(id).takesImage && !CommitTyped())
        return nullptr;
    if (Find(id) && !Unload(id))
        return Find(id); // a busy window stays as it is
    ChildWindow *window = factory->second(attachedContext);
    MainFrame *frame = attachedFrame;
    if (frame) {
        QMdiSubWindow *sub = frame->mdiArea()->addSubWindow(window, WindowFlags(id));
        sub->setAttribute(Qt::WA_DeleteOnClose);
        // The sub-window's icon would duplicate the main window's; a clear
        // one leaves nothing in the title bar.
        QPixmap clear(16, 16);
        clear.fill(Qt::transparent);
        sub->setWindowIcon(QIcon(clear));
        UseCloseShortcutOfChildWindows(sub);
    }
    Loaded()[id] = window;
    window->load(SizesOf(frame));
    if (frame)
        frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(window->parentWidget()));
    return window;
}

void UnloadPartsOf(WindowId owner)
{
    for (WindowId id : WindowOrder)
        if (TraitsOf(id).closesWith == owner)
            Unload(id);
}

void Reload(WindowId id)
{
    if (Find(id) && Unload(id))
        Open(id);
}

void ReloadOpenWindows()
{
    std::vector<WindowId> open;
    for (WindowId id : WindowOrder)
        if (IsOpen(id) && !TraitsOf(id).closesWith)
            open.push_back(id);
    for (WindowId id : open)
        if (IsOpen(id))
            Reload(id);
}

void DetachFromMainFrame(const MainFrame *frame)
{
    if (attachedFrame != frame)
        return;
    attachedFrame = nullptr;
    attachedContext = {};
}

void AttachToMainFrame(MainFrame *frame, const WindowContext &context)
{
    attachedFrame = frame;
    attachedContext = context;
    QMdiArea *area = frame->mdiArea();
    area->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    QObject::connect(area, &QMdiArea::subWindowActivated, area, [](QMdiSubWindow *sub) {
        if (!sub)
            return;
        if (auto *window = qobject_cast<ChildWindow *>(sub->widget()))
            if (OpenWindows[window->windowId()])
                window->activated();
    });
}

} // namespace Windows
