#include "PendingName.h"

bool CommitPendingName() { return CommitPendingEdits(); }

void SetPendingNameCommit(std::function<void()> commit)
{
    if (!commit) {
        SetPendingEditCommit(WindowId::frm_chann, nullptr);
        return;
    }
    SetPendingEditCommit(WindowId::frm_chann, [commit = std::move(commit)] {
        commit();
        return true;
    });
}
