#pragma once
// The library's before/after notifications as Qt signals. The library
// reports to one view interface; this adapter passes each change to the
// views and tells the rest of the window through signals, so that the pane
// and the background render let go of an entry before it is destroyed.
#include <QObject>

#include <vector>

#include "library/LibraryViews.h"

namespace sc {

class LibraryViewStack;

class LibraryNotifications : public QObject, public LibraryViews {
    Q_OBJECT
public:
    explicit LibraryNotifications(LibraryViewStack& views, QObject* parent = nullptr);

    void EntryInserted(TextureEntry* entry) override;
    void EntryUpdated(TextureEntry* entry) override;
    void EntryRemoving(TextureEntry* entry, bool lastOfFile) override;
    void EntryRemoved() override;
    void Clearing() override;
    void Cleared() override;
    void Refresh() override;
    std::vector<TextureEntry*> SelectedEntries() override;
    void SelectEntries(const std::vector<TextureEntry*>& entries) override;
    std::vector<TextureEntry*> EntriesInListOrder() override;

signals:
    // After any entry came, changed or went, or the library was emptied.
    void libraryChanged();
    // After the views showed the entry's new state.
    void entryUpdated(sc::TextureEntry* entry);
    // Before the views drop the entry (it is destroyed afterwards), and after.
    void entryRemoving(sc::TextureEntry* entry);
    void entryRemoved();
    // Before every entry goes, and after the views were emptied.
    void clearing();
    void cleared();

private:
    LibraryViewStack& views_;
};

}  // namespace sc
