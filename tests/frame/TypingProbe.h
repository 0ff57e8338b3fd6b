// A child window standing for one with text still typed into a field: it
// counts how often the window layer asks it to store that text, and runs
// what the test gives it then.
#pragma once

#include "ChildWindow.h"
#include "Windows.h"

#include <functional>

class TypingProbe : public ChildWindow {
public:
    // The commit returns false for a field that refuses its text.
    TypingProbe(WindowId id, std::function<bool()> commit)
        : ChildWindow(id), commit_(std::move(commit))
    { }

    bool commitTyped() override
    {
        ++commits;
        return commit_();
    }

    int commits = 0;

protected:
    void applyTexts() override { }
    QRect placement(const FrameSizes &) const override { return QRect(0, 0, 100, 100); }

private:
    std::function<bool()> commit_;
};

// Registers a probe under the id (in place of its window) and opens it.
inline TypingProbe *OpenTypingProbe(WindowId id, std::function<bool()> commit)
{
    Windows::Register(id, [id, commit] { return new TypingProbe(id, commit); });
    return static_cast<TypingProbe *>(Windows::Open(id));
}
