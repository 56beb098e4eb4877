#pragma once
// The main window's keyboard table. Keys are looked at before any control
// sees them, so the table decides alone what a key does; nothing but Escape
// acts while a render runs or the window is busy.
#include <optional>

namespace sc {

enum class ShortcutKey { O, S, T, Digit1, Digit2, Digit3, F, F3, I, C, Insert, G, V, E, Delete, Escape, F1, Other };

// What the window is doing when a key arrives.
struct KeyConditions {
    bool rendering = false;
    bool busy = false;
    bool hasEntries = false;
    bool namedCurrentEntry = false;  // a current entry with a name (copy needs one)
    bool focusInViews = false;       // the keyboard focus is in the tree, the list or the grid
};

enum class KeyActionKind { Command, StopRender, Cancel };

struct KeyAction {
    KeyActionKind kind = KeyActionKind::Command;
    int command = 0;  // for KeyActionKind::Command
};

// The action of a key with or without Ctrl ("Strg"), or none when the key is
// not in the table or its condition does not hold now (the key then goes on
// to the focused control).
std::optional<KeyAction> KeyActionFor(ShortcutKey key, bool ctrl, const KeyConditions& conditions);

}  // namespace sc
