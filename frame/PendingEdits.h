// Text still being typed in a window's editor must reach the image before
// the image is taken or replaced (save, open, read, write) and before the
// windows are rebuilt (language switch). Each window with editors installs
// its commit while it is loaded: the commit stores what is typed as leaving
// the field would, or lets the field's rule refuse it - its message shown,
// the user back in the field - and then the action does not go ahead.
#pragma once

#include "OpenWindows.h"

#include <functional>

// Returns false when a field refused what it holds.
using EditCommit = std::function<bool()>;

// A null commit removes the window's.
void SetPendingEditCommit(WindowId id, EditCommit commit);
// Every installed commit, in window order, up to the first refusal; true
// when everything typed is stored.
bool CommitPendingEdits();
