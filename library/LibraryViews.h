#pragma once
// How the library tells the views (file tree, texture list, picture grid)
// what changed, and asks them what is selected. The library never knows
// widgets; the window implements this, the tests and the tool may ignore it.
#include <vector>

namespace sc {

class SourceFile;
class TextureEntry;

class LibraryViews {
public:
    virtual ~LibraryViews() = default;

    // Every notification comes when library and counters agree: insertion
    // after the entry is in and counted (before, there is nothing to show);
    // removal and clearing in pairs, the first while everything is still
    // there, so the views can let go of entries they point to, the second
    // once it is gone and counted off.

    // An entry was added to the library (file tree and picture view insert it).
    virtual void EntryInserted(TextureEntry*) {}
    // An entry changed (picture, directory, color): redraw it everywhere.
    virtual void EntryUpdated(TextureEntry*) {}
    // An entry is about to be destroyed; `lastOfFile` when its file goes too.
    virtual void EntryRemoving(TextureEntry*, bool /*lastOfFile*/) {}
    // The entry announced by EntryRemoving is gone.
    virtual void EntryRemoved() {}
    // The library is about to be emptied: every view lets go of every entry.
    virtual void Clearing() {}
    // The library and its counters are empty.
    virtual void Cleared() {}
    // Every view is to be redrawn from the library.
    virtual void Refresh() {}

    // The entries selected in the current view; in the file tree a selected
    // file stands for all its entries.
    virtual std::vector<TextureEntry*> SelectedEntries() { return {}; }
    // Selects exactly these entries and scrolls to the first.
    virtual void SelectEntries(const std::vector<TextureEntry*>&) {}
    // The entries in the order of the texture list (the current sort).
    virtual std::vector<TextureEntry*> EntriesInListOrder() { return {}; }
};

}  // namespace sc
