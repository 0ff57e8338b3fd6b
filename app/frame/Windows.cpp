#include "Windows.h"

#include "MainFrame.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <map>

namespace {

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

// Windows that ask for one thing and go away, like dialogs: nothing to
// minimise or maximise.
bool IsDialogLike(WindowId id)
{
    switch (id) {
    case WindowId::frmAbout:
    case WindowId::Form_type:
    case WindowId::Form_setup:
    case WindowId::Form_open_chann:
    case WindowId::Form_save_chann:
    case WindowId::Form_Comm_Read:
    case WindowId::Form_Comm_Write:
    case WindowId::Form_Adjust_Txp:
        return true;
    default:
        return false;
    }
}

Qt::WindowFlags WindowFlags(WindowId id)
{
    if (!IsDialogLike(id))
        return Qt::SubWindow;
    // The system menu hint carries the close button in the title bar.
    return Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
}

} // namespace

namespace Windows {

void Register(WindowId id, Factory factory) { Factories()[id] = std::move(factory); }

bool IsRegistered(WindowId id) { return Factories().count(id) != 0; }

ChildWindow *Find(WindowId id)
{
    auto it = Loaded().find(id);
    if (it == Loaded().end() || !it->second || !OpenWindows[id])
        return nullptr;
    return it->second;
}

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

ChildWindow *Open(WindowId id)
{
    auto factory = Factories().find(id);
    if (factory == Factories().end())
        return nullptr;
    if (Find(id) && !Unload(id))
        return Find(id); // a busy window stays as it is
    ChildWindow *window = factory->second();
    MainFrame *frame = TheMainFrame();
    if (frame) {
        QMdiSubWindow *sub = frame->mdiArea()->addSubWindow(window, WindowFlags(id));
        sub->setAttribute(Qt::WA_DeleteOnClose);
        // The sub-window's icon would duplicate the main window's; a clear
        // one leaves nothing in the title bar.
        QPixmap clear(16, 16);
        clear.fill(Qt::transparent);
        sub->setWindowIcon(QIcon(clear));
    }
    Loaded()[id] = window;
    window->load();
    if (frame)
        frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(window->parentWidget()));
    return window;
}

void Reload(WindowId id)
{
    if (Find(id) && Unload(id))
        Open(id);
}

void AttachToMainFrame()
{
    QMdiArea *area = TheMainFrame()->mdiArea();
    QObject::connect(area, &QMdiArea::subWindowActivated, area, [](QMdiSubWindow *sub) {
        if (!sub)
            return;
        if (auto *window = qobject_cast<ChildWindow *>(sub->widget()))
            if (OpenWindows[window->windowId()])
                window->activated();
    });
}

} // namespace Windows
