// Window identity: one id per child window, and the OpenWindows flag of
// each, true while the window is loaded. Only the window layer sets and
// clears the flags (ChildWindow's load and unload).
#pragma once

#include <array>

// One id per child window, named after its class; the object name each
// window carries is its own (see the window).
enum class WindowId {
    // app/
    About,
    ModelSelect,
    // settings/
    Options,
    // channels/
    ChannelGrid,
    ChannelEdit,
    FmList,
    // files/
    OpenChannel,
    SaveChannel,
    Compare,
    // link/
    PortSetup,
    Read,
    Write,
    Power,
    Verify,
    BatchWrite,
};

// The order in which the window layer visits the open windows: what is
// typed is committed in it, and a language switch reloads them in it. A
// new window's id goes into the enum and here (registering an id missing
// here stops the program).
inline constexpr std::array WindowOrder{
    WindowId::About,       WindowId::Options,     WindowId::ChannelGrid, WindowId::PortSetup,
    WindowId::ModelSelect, WindowId::SaveChannel, WindowId::OpenChannel, WindowId::Read,
    WindowId::Write,       WindowId::FmList,      WindowId::Power,       WindowId::ChannelEdit,
    WindowId::Verify,      WindowId::Compare,     WindowId::BatchWrite};
constexpr int WindowCount = int(WindowOrder.size());

namespace OpenWindowsCheck {
constexpr bool EachIdOnce()
{
    std::array<int, WindowCount> seen{};
    for (WindowId id : WindowOrder) {
        const int i = static_cast<int>(id);
        if (i < 0 || i >= WindowCount || seen[i]++ > 0)
            return false;
    }
    return true;
}
} // namespace OpenWindowsCheck
static_assert(OpenWindowsCheck::EachIdOnce(), "WindowOrder names every id 0..WindowCount-1 once");

class OpenWindowFlags {
public:
    bool &operator[](WindowId id) { return flags_[static_cast<int>(id)]; }
    bool operator[](WindowId id) const { return flags_[static_cast<int>(id)]; }
    void clear() { flags_.fill(false); }

private:
    std::array<bool, WindowCount> flags_{};
};
extern OpenWindowFlags OpenWindows;

// No window open: every flag cleared. The main window's start-up sequence
// calls it, as tests that start without one may.
void ResetOpenWindows();
