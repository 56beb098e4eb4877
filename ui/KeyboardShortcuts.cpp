#include "ui/KeyboardShortcuts.h"

#include "ui/MainCommands.h"

namespace sc {
namespace {

enum class Needs { Nothing, Entries, NamedEntry, FocusInViews };

struct Row {
    ShortcutKey key;
    bool ctrl;
    Command command;
    Needs needs;
};

constexpr Row kTable[] = {
    {ShortcutKey::O, true, Command::Open, Needs::Nothing},
    {ShortcutKey::S, true, Command::Save, Needs::Entries},
    {ShortcutKey::T, true, Command::SearchTextures, Needs::Nothing},
    {ShortcutKey::Digit1, true, Command::TextureList, Needs::Nothing},
    {ShortcutKey::Digit2, true, Command::FileList, Needs::Nothing},
    {ShortcutKey::Digit3, true, Command::PictureList, Needs::Nothing},
    {ShortcutKey::F, true, Command::FindText, Needs::Entries},
    {ShortcutKey::F3, false, Command::FindAgain, Needs::Entries},
    {ShortcutKey::I, true, Command::InvertSelection, Needs::Entries},
    {ShortcutKey::C, true, Command::CopyTexture, Needs::NamedEntry},
    {ShortcutKey::Insert, true, Command::CopyTexture, Needs::NamedEntry},
    {ShortcutKey::G, true, Command::ChangeCategory, Needs::Entries},
    {ShortcutKey::V, true, Command::PreviewPane, Needs::Nothing},
    {ShortcutKey::E, true, Command::EditWithPov, Needs::Entries},
    {ShortcutKey::Delete, false, Command::DeleteSelected, Needs::FocusInViews},
    {ShortcutKey::F1, false, Command::Help, Needs::Nothing},
};

bool Holds(Needs needs, const KeyConditions& c) {
    switch (needs) {
    case Needs::Nothing: return true;
    case Needs::Entries: return c.hasEntries;
    case Needs::NamedEntry: return c.hasEntries && c.namedCurrentEntry;
    case Needs::FocusInViews: return c.focusInViews;
    }
    return false;
}

}  // namespace

std::optional<KeyAction> KeyActionFor(ShortcutKey key, bool ctrl, const KeyConditions& c) {
    if (key == ShortcutKey::Escape) {
        if (c.rendering) return KeyAction{KeyActionKind::StopRender, 0};
        if (c.busy) return KeyAction{KeyActionKind::Cancel, 0};
        return std::nullopt;
    }
    if (c.rendering || c.busy) return std::nullopt;
    for (const Row& row : kTable)
        if (row.key == key && row.ctrl == ctrl && Holds(row.needs, c))
            return KeyAction{KeyActionKind::Command, static_cast<int>(row.command)};
    return std::nullopt;
}

}  // namespace sc
