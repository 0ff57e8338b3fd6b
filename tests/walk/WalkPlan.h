// The plan of a random walk through the windows: a list of user actions
// drawn from a seed, written as text so that a run can be replayed, and
// shrunk to a short list that still fails the same way. Each action names
// what to do by kind and two numbers that pick among whatever the program
// shows when the action comes (the n-th button, the n-th cell, ...), so a
// shortened list still means something when it is replayed from a fresh
// start. No Qt: the rules are table-tested on their own.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class WalkKind {
    Menu, // a menu entry of the main window (not the exit)
    Toolbar, // a toolbar button
    Button, // a button, check box or option button of an open window
    Type, // click a field, list or cell and type one of the odd texts
    Key, // one key (Enter, Tab, Escape, arrows, shortcuts) to the focus
    Cell, // click (or double-click) a cell of a grid or list
    Pick, // choose an entry of a drop-down list by keys
    Close, // close an open window: close box, its own button, Ctrl+F4
    Activate, // bring another open window to the front
    Wheel, // the mouse wheel over some control
    Language, // switch the language
    Save, // save under one of a few names through the save window
    Open, // open one of a few files through the open window
    Transfer, // read, write or power adjust against the simulated radio
    Wait, // let time pass (timers, the radio)
};
constexpr int WalkKindCount = 15;

struct WalkAction {
    WalkKind kind = WalkKind::Wait;
    uint32_t a = 0; // picks the target
    uint32_t b = 0; // picks the way (which key, which text, how to close)
    bool operator==(const WalkAction &other) const
    {
        return kind == other.kind && a == other.a && b == other.b;
    }
};
using WalkPlan = std::vector<WalkAction>;

// The texts typed into fields and cells: empty, blanks, signs, too long,
// out of range, other scripts, control characters, number forms.
const std::vector<std::string> &OddTexts();

// The same seed gives the same plan on every machine.
WalkPlan MakeWalkPlan(uint64_t seed, int actions);

const char *WalkKindName(WalkKind kind);
std::optional<WalkKind> WalkKindFromName(const std::string &name);

// One action a line: "type 17 4". Lines that are empty or start with '#'
// are skipped; anything else that does not parse makes the plan invalid.
std::string FormatWalkPlan(const WalkPlan &plan);
std::optional<WalkPlan> ParseWalkPlan(const std::string &text);

// Delta debugging (ddmin): a smallest list of actions, taken in their
// order from the plan, for which fails() still holds. fails(plan) must
// hold. Each candidate is tried once; tries counts them.
WalkPlan ShrinkWalkPlan(const WalkPlan &plan, const std::function<bool(const WalkPlan &)> &fails,
                        int *tries = nullptr);
