// A channel name still being typed in the grid must be part of the image
// that the save, read and write windows take. The grid installs the commit
// while it is loaded; without a grid there is nothing pending.
#pragma once

#include <functional>

void CommitPendingName();
void SetPendingNameCommit(std::function<void()> commit);
