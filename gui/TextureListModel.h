#pragma once
// The one model of the texture list and the picture grid: the shown entries
// in the list's order, six columns of text computed when asked. Both views
// use it with one selection model, so sorting, selecting and filtering are
// done once. Entries reported one by one (while loading or searching) are
// gathered and shown in batches, so a large library arrives in a few steps.
#include <QAbstractTableModel>
#include <QTimer>

#include <functional>
#include <unordered_map>
#include <vector>

#include "ui/EntryFilter.h"
#include "ui/EntrySort.h"
#include "ui/StatusText.h"

namespace sc {

class LibraryController;
class TextureEntry;

// An entry's tooltip: its full name and the full path of its file.
QString FullNameAndFile(const TextureEntry& entry);

class TextureListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kTexture, kType, kCategory, kVersion, kFile, kDirectory, kColumnCount };
    // The entry of a row, as a pointer in a QVariant.
    static constexpr int kEntryRole = Qt::UserRole + 1;

    explicit TextureListModel(LibraryController& controller, QObject* parent = nullptr);

    TextureEntry* EntryAt(int row) const;
    static TextureEntry* EntryOf(const QModelIndex& index);
    // The row of a shown entry, or -1.
    int RowOf(const TextureEntry* entry) const;
    const std::vector<TextureEntry*>& Rows() const { return rows_; }
    LibraryController& Controller() const { return controller_; }

    // Library changes. Inserted entries wait until the next FlushPending
    // (called by a short timer and before any question about the rows).
    void Insert(TextureEntry* entry);
    void Update(TextureEntry* entry);
    void Remove(TextureEntry* entry);
    void Clear();
    void FlushPending();
    // Called with each batch of inserted entries once they are in the model
    // (the file list follows the same batches).
    void SetFlushListener(std::function<void(const std::vector<TextureEntry*>&)> listener) {
        flushListener_ = std::move(listener);
    }
    // Takes every entry of the library again (filter and marks applied), in the current order.
    void Refill();

    // Sorts in place; selection and current item follow their entries.
    void Sort(SortOrder order);
    SortOrder Order() const { return order_; }

    // Narrows the shown entries to those the filter lets through (and, in
    // the only-selected mode, to the marked ones).
    void SetFilter(const EntryFilter& filter);
    void SetOnlyMarked(bool onlyMarked);
    bool OnlyMarked() const { return onlyMarked_; }
    // Kinds, files and categories of the shown entries.
    const EntryCounts& ShownCounts() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

signals:
    // The category of an entry was changed by editing its cell.
    void categoryEdited(TextureEntry* entry);

private:
    bool Shows(const TextureEntry& entry) const;
    void Reorder(const std::vector<TextureEntry*>& newRows);
    void IndexRows() const;
    QString Text(const TextureEntry& entry, int column) const;

    LibraryController& controller_;
    std::vector<TextureEntry*> all_;   // every entry, in the current order
    std::vector<TextureEntry*> rows_;  // the shown ones, same order
    std::vector<TextureEntry*> pending_;
    mutable std::unordered_map<const TextureEntry*, int> rowIndex_;
    mutable bool rowIndexValid_ = false;
    mutable EntryCounts counts_;
    mutable bool countsValid_ = false;
    SortOrder order_;
    EntryFilter filter_;
    bool onlyMarked_ = false;
    QTimer flushTimer_;
    std::function<void(const std::vector<TextureEntry*>&)> flushListener_;
};

// The declaration texts of the entries, one after another: what a drag out
// of a view drops into an editor, the same text as the copy command.
QString DeclarationTexts(LibraryController& controller, const std::vector<TextureEntry*>& entries);

}  // namespace sc
