#include "PendingEdits.h"

#include <map>

namespace {
std::map<WindowId, EditCommit> &Commits()
{
    static std::map<WindowId, EditCommit> commits;
    return commits;
}
} // namespace

void SetPendingEditCommit(WindowId id, EditCommit commit)
{
    if (commit)
        Commits()[id] = std::move(commit);
    else
        Commits().erase(id);
}

bool CommitPendingEdits()
{
    // A commit may close or open windows (a message box, a refusal that
    // brings its window to the front): run over a copy.
    const std::map<WindowId, EditCommit> commits = Commits();
    for (const auto &entry : commits)
        if (!entry.second())
            return false;
    return true;
}
