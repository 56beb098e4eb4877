#include "gui/PlaceholderViewStack.h"

#include "library/LibraryController.h"
#include "library/TextureEntry.h"

namespace sc {

PlaceholderViewStack::PlaceholderViewStack(LibraryController& controller, QWidget* parent)
    : QListWidget(parent), controller_(controller) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAccessibleName(QStringLiteral("Texturen"));
    connect(this, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item, QListWidgetItem*) { emit CurrentEntryChanged(EntryOf(item)); });
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit EntryActivated(EntryOf(item)); });
}

TextureEntry* PlaceholderViewStack::EntryOf(const QListWidgetItem* item) {
    return item ? static_cast<TextureEntry*>(item->data(Qt::UserRole).value<void*>()) : nullptr;
}

QListWidgetItem* PlaceholderViewStack::ItemOf(const TextureEntry* entry) const {
    for (int i = 0; i < count(); ++i)
        if (EntryOf(item(i)) == entry) return item(i);
    return nullptr;
}

TextureEntry* PlaceholderViewStack::CurrentEntry() const { return EntryOf(currentItem()); }

void PlaceholderViewStack::SetCurrentEntry(TextureEntry* entry) {
    if (QListWidgetItem* found = ItemOf(entry)) setCurrentItem(found);
}

void PlaceholderViewStack::EntryInserted(TextureEntry* entry) {
    if (!entry || entry->name.empty()) return;
    auto* added = new QListWidgetItem(QString::fromStdString(entry->name), this);
    added->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(entry)));
}

void PlaceholderViewStack::EntryUpdated(TextureEntry* entry) {
    if (QListWidgetItem* found = ItemOf(entry)) found->setText(QString::fromStdString(entry->name));
}

void PlaceholderViewStack::EntryRemoved(TextureEntry* entry, bool) {
    const bool wasCurrent = entry == CurrentEntry();
    delete ItemOf(entry);
    // The window must never keep an entry that is about to be destroyed.
    if (wasCurrent) emit CurrentEntryChanged(CurrentEntry() == entry ? nullptr : CurrentEntry());
}

void PlaceholderViewStack::Cleared() {
    clear();
    emit CurrentEntryChanged(nullptr);
}

void PlaceholderViewStack::Refresh() {
    TextureEntry* current = CurrentEntry();
    const QSignalBlocker blocker(this);
    clear();
    for (TextureEntry* e = controller_.Library().NextEntry(nullptr); e; e = controller_.Library().NextEntry(e))
        EntryInserted(e);
    if (current) SetCurrentEntry(current);
}

std::vector<TextureEntry*> PlaceholderViewStack::SelectedEntries() {
    std::vector<TextureEntry*> entries;
    for (int i = 0; i < count(); ++i)
        if (item(i)->isSelected()) entries.push_back(EntryOf(item(i)));
    return entries;
}

void PlaceholderViewStack::SelectEntries(const std::vector<TextureEntry*>& entries) {
    clearSelection();
    for (TextureEntry* entry : entries)
        if (QListWidgetItem* found = ItemOf(entry)) found->setSelected(true);
    if (!entries.empty()) scrollToItem(ItemOf(entries.front()));
}

std::vector<TextureEntry*> PlaceholderViewStack::EntriesInListOrder() {
    std::vector<TextureEntry*> entries;
    for (int i = 0; i < count(); ++i) entries.push_back(EntryOf(item(i)));
    return entries;
}

}  // namespace sc
