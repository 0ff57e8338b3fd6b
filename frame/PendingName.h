// The grid's pending name was the first typed text that had to reach the
// image before it is taken; it is now one of the pending edits of every
// window (PendingEdits.h). These keep the grid's earlier interface.
#pragma once

#include "PendingEdits.h"

// Commits every window's pending edits; false when a field refused.
bool CommitPendingName();
// Installs (or with null removes) the grid's commit.
void SetPendingNameCommit(std::function<void()> commit);
