#pragma once
// What the selection, search and delete commands need of the main window
// and its views: the entries in the order shown, the selection, the busy
// state and the one-shot timer after a selection command. The window
// implements it; tests use a plain fake.
#include <vector>

namespace sc {

class TextureEntry;

class SelectionWindow {
public:
    virtual ~SelectionWindow() = default;

    // The named entries in the order of the view shown (the texture list's
    // sort, the grid shares it; the file tree's order when that is shown).
    virtual std::vector<TextureEntry*> EntriesInViewOrder() = 0;
    // The focused entry, or null.
    virtual TextureEntry* CurrentEntry() = 0;
    // The selected entries; in the file tree a selected file stands for its entries.
    virtual std::vector<TextureEntry*> SelectedEntries() = 0;
    // Selects exactly these entries, focuses the first and scrolls it into view.
    virtual void SelectEntries(const std::vector<TextureEntry*>& entries) = 0;
    // Flips every item's selection.
    virtual void InvertSelection() = 0;

    // True while the file tree is the view shown.
    virtual bool FileListShown() = 0;
    // Switches to the texture list.
    virtual void ShowTextureList() = 0;
    // Ends the mode that shows only the selected entries (the library's
    // onlyMarkedShown) and shows every entry again, the focused one in view.
    virtual void LeaveOnlySelected() {}

    // The busy state: commands disabled, wait cursor.
    virtual void SetBusy(bool busy) = 0;
    // Starts the one-shot timer that keeps a command's own selection changes
    // from resetting the heading kind; the window calls SelectionTimerElapsed
    // of the commands when it fires.
    virtual void StartSelectionTimer(int milliseconds) = 0;
    // Refreshes the status bar text after a command.
    virtual void RefreshStatus() {}
};

}  // namespace sc
