#include "gui/LibraryNotifications.h"

#include "gui/LibraryViewStack.h"

namespace sc {

LibraryNotifications::LibraryNotifications(LibraryViewStack& views, QObject* parent) : QObject(parent), views_(views) {}

void LibraryNotifications::EntryInserted(TextureEntry* entry) {
    views_.EntryInserted(entry);
    emit libraryChanged();
}

void LibraryNotifications::EntryUpdated(TextureEntry* entry) {
    views_.EntryUpdated(entry);
    emit entryUpdated(entry);
    emit libraryChanged();
}

void LibraryNotifications::EntryRemoving(TextureEntry* entry, bool lastOfFile) {
    emit entryRemoving(entry);
    views_.EntryRemoving(entry, lastOfFile);
}

void LibraryNotifications::EntryRemoved() {
    views_.EntryRemoved();
    emit entryRemoved();
    emit libraryChanged();
}

void LibraryNotifications::Clearing() {
    emit clearing();
    views_.Clearing();
}

void LibraryNotifications::Cleared() {
    views_.Cleared();
    emit cleared();
    emit libraryChanged();
}

void LibraryNotifications::Refresh() { views_.Refresh(); }

std::vector<TextureEntry*> LibraryNotifications::SelectedEntries() { return views_.SelectedEntries(); }

void LibraryNotifications::SelectEntries(const std::vector<TextureEntry*>& entries) { views_.SelectEntries(entries); }

std::vector<TextureEntry*> LibraryNotifications::EntriesInListOrder() { return views_.EntriesInListOrder(); }

}  // namespace sc
