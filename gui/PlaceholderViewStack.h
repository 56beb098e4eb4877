#pragma once
// A plain list of the library's entries standing in the list area until the
// real views (texture list, file tree, picture grid) take its place. It
// offers the same calls and signals the window uses.
#include <QListWidget>

#include "library/LibraryViews.h"

namespace sc {

class LibraryController;

class PlaceholderViewStack : public QListWidget, public LibraryViews {
    Q_OBJECT
public:
    PlaceholderViewStack(LibraryController& controller, QWidget* parent = nullptr);

    void SetViewType(int listType) { viewType_ = listType; }
    int ViewType() const { return viewType_; }
    TextureEntry* CurrentEntry() const;
    void SetCurrentEntry(TextureEntry* entry);

    void EntryInserted(TextureEntry* entry) override;
    void EntryUpdated(TextureEntry* entry) override;
    void EntryRemoved(TextureEntry* entry, bool lastOfFile) override;
    void Cleared() override;
    void Refresh() override;
    std::vector<TextureEntry*> SelectedEntries() override;
    void SelectEntries(const std::vector<TextureEntry*>& entries) override;
    std::vector<TextureEntry*> EntriesInListOrder() override;

signals:
    void CurrentEntryChanged(TextureEntry* entry);
    void EntryActivated(TextureEntry* entry);

private:
    QListWidgetItem* ItemOf(const TextureEntry* entry) const;
    static TextureEntry* EntryOf(const QListWidgetItem* item);

    LibraryController& controller_;
    int viewType_ = 2;
};

}  // namespace sc
