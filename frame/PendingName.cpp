#include "PendingName.h"

namespace {
std::function<void()> &Commit()
{
    static std::function<void()> commit;
    return commit;
}
} // namespace

void CommitPendingName()
{
    if (Commit())
        Commit()();
}

void SetPendingNameCommit(std::function<void()> commit) { Commit() = std::move(commit); }
