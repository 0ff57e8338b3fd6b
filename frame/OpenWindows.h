// Window identity: one id per child window, and the OpenWindows flag of
// each, true while the window is loaded. Only the window layer sets and
// clears the flags (ChildWindow's load and unload).
#pragma once

#include <array>

// The order of the ids is the order in which a language switch reloads the
// open windows, so a window added later joins the switch by its place here.
enum class WindowId {
    frmAbout,
    frm_option,
    frm_chann,
    Form_setup,
    Form_type,
    Form_save_chann,
    Form_open_chann,
    Form_Comm_Read,
    Form_Comm_Write,
    Form_Edit_Test,
    Form_Adjust_Txp,
    Form_Chann_Edit,
    Form_Verify,
    Form_Compare,
    Form_Batch_Write,
};
constexpr int WindowCount = 15;

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
