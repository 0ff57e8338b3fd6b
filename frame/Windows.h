// Opening and closing child windows by their id. Opening a window unloads
// it first if it is loaded and then loads it afresh, so every window starts
// from its load handler with the current image.
//
// Each subsystem registers how its windows are made and declares what the
// rules need to know about them (WindowTraits); the layer itself names no
// window. Rules that involve two windows - which windows close together -
// are declared here too, so no subsystem looks up another one's windows.
#pragma once

#include "ChildWindow.h"

#include <functional>
#include <optional>

class MainFrame;
class QAction;

struct WindowTraits {
    // Asks for one thing and goes away, like a dialog: no minimise or
    // maximise buttons.
    bool dialogLike = false;
    // Belongs to that window: unloaded whenever it unloads (closed,
    // reopened or reloaded). The language switch therefore reloads the
    // owner and leaves this one closed.
    std::optional<WindowId> closesWith;
    // Closed when the user closes that window (Windows::Close), in the
    // order of declaration; a reload or reopening of it leaves this one be.
    std::optional<WindowId> closedByCloseOf;
    // Takes or replaces the whole image (save, open, read, write): what is
    // typed in any window is committed before it opens, and it does not
    // open when a field refuses its text.
    bool takesImage = false;
};

// What the main window hands every child window it makes: the Edit menu's
// undo and redo, which the channel grid's row menu offers too (none
// without a main window).
struct WindowContext {
    QAction *undo = nullptr;
    QAction *redo = nullptr;
};

namespace Windows {

using Factory = std::function<ChildWindow *(const WindowContext &context)>;
using PlainFactory = std::function<ChildWindow *()>;

// How a window is made; an id without a factory opens nothing. Registering
// a factory keeps what was declared about the window. An id WindowOrder
// lacks stops the program here.
void Register(WindowId id, Factory factory);
void Register(WindowId id, Factory factory, const WindowTraits &traits);
// A window that needs nothing handed to it.
void Register(WindowId id, PlainFactory factory);
void Register(WindowId id, PlainFactory factory, const WindowTraits &traits);
bool IsRegistered(WindowId id);
// What the rules know about a window, also before its factory is registered.
void Declare(WindowId id, const WindowTraits &traits);
const WindowTraits &TraitsOf(WindowId id);

// Every open window's commitTyped, in WindowOrder, up to the first
// refusal: true when everything typed is stored.
[[nodiscard]] bool CommitTyped();

// Null when nothing opened: no factory, or a field refused its text.
ChildWindow *Open(WindowId id);
// Unloads a loaded window; false when it refused or was not loaded.
bool Unload(WindowId id);
// What a window's own Close button does: unloads it and then the windows
// declared closedByCloseOf it.
bool Close(WindowId id);
ChildWindow *Find(WindowId id);
bool IsOpen(WindowId id);

template<class T> T *FindAs(WindowId id) { return qobject_cast<T *>(Find(id)); }

// Unloads the windows declared closesWith owner. A window calls it once it
// is unloaded itself, however that came about (also by its close box).
void UnloadPartsOf(WindowId owner);

// Unloads and reloads a loaded window.
void Reload(WindowId id);
// The language switch: every window open when it starts is reloaded in
// WindowOrder, if it is still open when its turn comes (reloading one
// window may close another) and not declared closesWith another window.
void ReloadOpenWindows();

// Windows open in the main window's MDI area from now on, placed by its
// sizes and handed the context; the activation hook is connected to the
// area. A window closing hands the front to the window that was there
// before it. The main window attaches itself once and detaches when it
// goes; without a main window, windows open on their own.
void AttachToMainFrame(MainFrame *frame, const WindowContext &context = {});
void DetachFromMainFrame(const MainFrame *frame);

} // namespace Windows
