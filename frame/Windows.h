// Opening and closing child windows by their id. Opening a window unloads
// it first if it is loaded and then loads it afresh, so every window starts
// from its load handler with the current image.
#pragma once

#include "ChildWindow.h"

#include <functional>

namespace Windows {

using Factory = std::function<ChildWindow *()>;

// Each subsystem registers how its windows are made; an id without a
// factory opens nothing.
void Register(WindowId id, Factory factory);
bool IsRegistered(WindowId id);

ChildWindow *Open(WindowId id);
// Unloads a loaded window; false when it refused or was not loaded.
bool Unload(WindowId id);
ChildWindow *Find(WindowId id);

template <class T> T *FindAs(WindowId id) { return qobject_cast<T *>(Find(id)); }

// Unloads and reloads a loaded window (language switch).
void Reload(WindowId id);

// Connects the activation hook to the main window's MDI area; the main
// window calls it once.
void AttachToMainFrame();

} // namespace Windows
