#include "gui/FileTreeModel.h"

#include <QMimeData>

#include <algorithm>

#include "gui/EntryIcons.h"
#include "gui/TextureListModel.h"
#include "gui/Translation.h"
#include "library/LibraryController.h"
#include "library/NaturalCompare.h"
#include "platform/PathUtil.h"
#include "ui/EntryTexts.h"

namespace sc {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A strict order, so that nodes can be found by binary search: the natural
// order first, then bytes, then identity.
bool EntryBefore(const TextureEntry* a, const TextureEntry* b) {
    if (const int c = NaturalCompare(a->name, b->name, false)) return c < 0;
    if (const int c = a->name.compare(b->name)) return c < 0;
    return a < b;
}

bool FileBefore(const SourceFile* a, const SourceFile* b) {
    if (const int c = NaturalCompare(a->fileName, b->fileName, false)) return c < 0;
    if (const int c = NaturalCompare(a->directory, b->directory, false)) return c < 0;
    return a < b;
}

}  // namespace

FileTreeModel::FileTreeModel(LibraryController& controller, QObject* parent)
    : QAbstractItemModel(parent), controller_(controller) {}

FileTreeModel::~FileTreeModel() = default;

// A file node's index carries no pointer; an entry node's carries its file's node.
FileTreeModel::FileNode* FileTreeModel::NodeOf(const QModelIndex& index) const {
    return static_cast<FileNode*>(index.internalPointer());
}

TextureEntry* FileTreeModel::EntryOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<TextureEntry*>(index.data(kEntryRole).value<void*>()) : nullptr;
}

FileTreeModel::FileNode* FileTreeModel::FindNode(const SourceFile* file) const {
    const auto it = byFile_.find(file);
    return it == byFile_.end() ? nullptr : it->second;
}

QModelIndex FileTreeModel::IndexOfFile(const SourceFile* file) const {
    const FileNode* node = FindNode(file);
    return node ? createIndex(node->row, 0, nullptr) : QModelIndex();
}

QModelIndex FileTreeModel::IndexOf(const TextureEntry* entry) const {
    if (!entry || !entry->sourceFile) return {};
    FileNode* node = FindNode(entry->sourceFile);
    if (!node) return {};
    if (entry->IsFileNode()) return createIndex(node->row, 0, nullptr);
    const auto it = std::lower_bound(node->entries.begin(), node->entries.end(), entry, EntryBefore);
    if (it == node->entries.end() || *it != entry) return {};
    return createIndex(static_cast<int>(it - node->entries.begin()), 0, node);
}

void FileTreeModel::Renumber() {
    for (size_t i = 0; i < files_.size(); ++i) files_[i]->row = static_cast<int>(i);
}

FileTreeModel::FileNode* FileTreeModel::AddNode(SourceFile* file, std::vector<TextureEntry*> entries) {
    const auto at = std::lower_bound(files_.begin(), files_.end(), file,
                                     [](const auto& node, const SourceFile* f) { return FileBefore(node->file, f); });
    const int row = static_cast<int>(at - files_.begin());
    beginInsertRows({}, row, row);
    auto node = std::make_unique<FileNode>();
    node->file = file;
    node->entries = std::move(entries);
    FileNode* raw = node.get();
    files_.insert(at, std::move(node));
    byFile_[file] = raw;
    Renumber();
    endInsertRows();
    return raw;
}

void FileTreeModel::InsertRuns(FileNode* node, const std::vector<TextureEntry*>& sorted) {
    const QModelIndex parent = createIndex(node->row, 0, nullptr);
    for (size_t first = 0; first < sorted.size();) {
        const auto at = std::lower_bound(node->entries.begin(), node->entries.end(), sorted[first], EntryBefore);
        // The new entries that all go before the same old one make one run.
        size_t last = first + 1;
        while (last < sorted.size() && (at == node->entries.end() || EntryBefore(sorted[last], *at))) ++last;
        const int row = static_cast<int>(at - node->entries.begin());
        beginInsertRows(parent, row, row + static_cast<int>(last - first) - 1);
        node->entries.insert(at, sorted.begin() + static_cast<std::ptrdiff_t>(first),
                             sorted.begin() + static_cast<std::ptrdiff_t>(last));
        endInsertRows();
        first = last;
    }
}

void FileTreeModel::RemoveNode(FileNode* node) {
    beginRemoveRows({}, node->row, node->row);
    byFile_.erase(node->file);
    files_.erase(files_.begin() + node->row);
    Renumber();
    endRemoveRows();
}

std::vector<QModelIndex> FileTreeModel::Insert(const std::vector<TextureEntry*>& entries) {
    // Gathered per file first: rows inserted one at a time would each be
    // announced to the views, and with accessibility on to the bus.
    std::vector<SourceFile*> files;
    std::unordered_map<SourceFile*, std::vector<TextureEntry*>> arriving;
    for (TextureEntry* e : entries) {
        if (!e->sourceFile || e->IsFileNode() || !filter_.Matches(*e)) continue;
        std::vector<TextureEntry*>& list = arriving[e->sourceFile];
        if (list.empty()) files.push_back(e->sourceFile);
        list.push_back(e);
    }
    std::vector<QModelIndex> newFiles;
    for (SourceFile* file : files) {
        std::vector<TextureEntry*>& list = arriving[file];
        std::sort(list.begin(), list.end(), EntryBefore);
        list.erase(std::unique(list.begin(), list.end()), list.end());
        FileNode* node = FindNode(file);
        if (!node) {
            node = AddNode(file, std::move(list));
            newFiles.push_back(createIndex(node->row, 0, nullptr));
            continue;
        }
        std::erase_if(list, [&](TextureEntry* e) {
            return std::binary_search(node->entries.begin(), node->entries.end(), e, EntryBefore);
        });
        if (list.empty()) continue;
        InsertRuns(node, list);
        // The label counts the file's entries.
        const QModelIndex i = createIndex(node->row, 0, nullptr);
        emit dataChanged(i, i);
    }
    return newFiles;
}

void FileTreeModel::Update(TextureEntry* entry) {
    const QModelIndex i = IndexOf(entry);
    if (i.isValid()) emit dataChanged(i, i);
}

void FileTreeModel::Remove(TextureEntry* entry) {
    const QModelIndex i = IndexOf(entry);
    if (!i.isValid() || !i.parent().isValid()) return;
    FileNode* node = NodeOf(i);
    beginRemoveRows(i.parent(), i.row(), i.row());
    node->entries.erase(node->entries.begin() + i.row());
    endRemoveRows();
    if (node->entries.empty()) RemoveNode(node);
    else emit dataChanged(i.parent(), i.parent());
}

void FileTreeModel::Clear() {
    beginResetModel();
    files_.clear();
    byFile_.clear();
    endResetModel();
}

void FileTreeModel::Refill() {
    beginResetModel();
    files_.clear();
    byFile_.clear();
    const TextureLibrary& library = controller_.Library();
    for (TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) {
        if (!filter_.Matches(*e)) continue;
        FileNode*& node = byFile_[e->sourceFile];
        if (!node) {
            files_.push_back(std::make_unique<FileNode>());
            node = files_.back().get();
            node->file = e->sourceFile;
        }
        node->entries.push_back(e);
    }
    std::sort(files_.begin(), files_.end(), [](const auto& a, const auto& b) { return FileBefore(a->file, b->file); });
    for (auto& node : files_) std::sort(node->entries.begin(), node->entries.end(), EntryBefore);
    Renumber();
    endResetModel();
}

void FileTreeModel::SetFilter(const EntryFilter& filter) {
    filter_ = filter;
    Refill();
}

QModelIndex FileTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    if (!parent.isValid()) return row < static_cast<int>(files_.size()) ? createIndex(row, 0, nullptr) : QModelIndex();
    if (NodeOf(parent) || parent.row() >= static_cast<int>(files_.size())) return {};
    FileNode* node = files_[static_cast<size_t>(parent.row())].get();
    return row < static_cast<int>(node->entries.size()) ? createIndex(row, 0, node) : QModelIndex();
}

QModelIndex FileTreeModel::parent(const QModelIndex& child) const {
    const FileNode* node = child.isValid() ? NodeOf(child) : nullptr;
    return node ? createIndex(node->row, 0, nullptr) : QModelIndex();
}

int FileTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return static_cast<int>(files_.size());
    if (NodeOf(parent) || parent.column() != 0) return 0;
    return static_cast<int>(files_[static_cast<size_t>(parent.row())]->entries.size());
}

int FileTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant FileTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const FileNode* parentNode = NodeOf(index);
    if (!parentNode) {
        const SourceFile& file = *files_[static_cast<size_t>(index.row())]->file;
        switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole: return Q(FileNodeLabel(file));
        case kLabelRestRole: return Q(FileNodeRest(file));
        case Qt::DecorationRole: return IconOf(EntryIcon::File);
        case Qt::ToolTipRole: return Q(JoinPath(file.directory, file.fileName));
        case kIsFileRole: return true;
        case kEntryRole: return QVariant::fromValue(static_cast<void*>(file.placeholder));
        default: return {};
        }
    }
    TextureEntry* e = parentNode->entries[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: return Q(EntryNodeLabel(*e));
    case Qt::AccessibleDescriptionRole: return QTr("Category %1").arg(Q(e->category));
    case Qt::DecorationRole: return IconOf(PreviewIcon(*e));
    case Qt::ToolTipRole: return FullNameAndFile(*e);
    case kIsFileRole: return false;
    case kEntryRole: return QVariant::fromValue(static_cast<void*>(e));
    default: return {};
    }
}

Qt::ItemFlags FileTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList FileTreeModel::mimeTypes() const { return {QStringLiteral("text/plain")}; }

std::vector<TextureEntry*> FileTreeModel::EntriesOf(const QModelIndexList& indexes) const {
    std::vector<TextureEntry*> entries;
    for (const QModelIndex& i : indexes) {
        if (!i.isValid()) continue;
        if (const FileNode* node = NodeOf(i)) entries.push_back(node->entries[static_cast<size_t>(i.row())]);
        else for (TextureEntry* e : files_[static_cast<size_t>(i.row())]->entries) entries.push_back(e);
    }
    return entries;
}

QMimeData* FileTreeModel::mimeData(const QModelIndexList& indexes) const {
    auto* mime = new QMimeData;
    mime->setText(DeclarationTexts(controller_, EntriesOf(indexes)));
    return mime;
}

}  // namespace sc
