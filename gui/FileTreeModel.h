#pragma once
// The file list: one node per source file with entries, its entries below.
// Files and entries stand in natural order without regard to case; new
// entries are placed in that order as they arrive.
#include <QAbstractItemModel>

#include <memory>
#include <unordered_map>
#include <vector>

#include "ui/EntryFilter.h"

namespace sc {

class LibraryController;
class SourceFile;
class TextureEntry;

class FileTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // The entry of a node (a file node gives the file's anonymous entry).
    static constexpr int kEntryRole = Qt::UserRole + 1;
    // True for file nodes.
    static constexpr int kIsFileRole = Qt::UserRole + 2;
    // A file node's label after the file name (drawn in the normal font).
    static constexpr int kLabelRestRole = Qt::UserRole + 3;

    explicit FileTreeModel(LibraryController& controller, QObject* parent = nullptr);
    ~FileTreeModel() override;

    static TextureEntry* EntryOf(const QModelIndex& index);
    // The node of an entry, or of a file (its placeholder entry); invalid when not shown.
    QModelIndex IndexOf(const TextureEntry* entry) const;
    QModelIndex IndexOfFile(const SourceFile* file) const;

    // Inserts the entries in their places; returns the file nodes made for them.
    std::vector<QModelIndex> Insert(const std::vector<TextureEntry*>& entries);
    void Update(TextureEntry* entry);
    void Remove(TextureEntry* entry);
    void Clear();
    // Takes every entry of the library again that the filter lets through.
    void Refill();
    void SetFilter(const EntryFilter& filter);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

private:
    struct FileNode {
        SourceFile* file = nullptr;
        int row = 0;
        std::vector<TextureEntry*> entries;
    };

    FileNode* NodeOf(const QModelIndex& index) const;
    FileNode* FindNode(const SourceFile* file) const;
    // A node for `file` holding `entries` (in order), added in one step.
    FileNode* AddNode(SourceFile* file, std::vector<TextureEntry*> entries);
    // Inserts `sorted` (new to the node) with one insertion per run of neighbours.
    void InsertRuns(FileNode* node, const std::vector<TextureEntry*>& sorted);
    void RemoveNode(FileNode* node);
    void Renumber();
    std::vector<TextureEntry*> EntriesOf(const QModelIndexList& indexes) const;

    LibraryController& controller_;
    std::vector<std::unique_ptr<FileNode>> files_;
    std::unordered_map<const SourceFile*, FileNode*> byFile_;
    EntryFilter filter_;
};

}  // namespace sc
