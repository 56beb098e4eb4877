#include "gui/TextureListModel.h"

#include <QMimeData>

#include <algorithm>

#include "gui/EntryIcons.h"
#include "gui/Translation.h"
#include "library/LibraryController.h"
#include "platform/PathUtil.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"
#include "ui/EntryCategory.h"
#include "ui/EntryTexts.h"

namespace sc {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

const char* const kHeadings[] = {N_("Texture"), N_("Type"), N_("Category"), N_("Version"), N_("File"), N_("Folder")};

// Entries reported one by one arrive in batches: often enough to watch a
// search grow, seldom enough that a load of thousands sorts a few times only.
constexpr int kFlushDelayMs = 150;

}  // namespace

TextureListModel::TextureListModel(LibraryController& controller, QObject* parent)
    : QAbstractTableModel(parent), controller_(controller) {
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(kFlushDelayMs);
    connect(&flushTimer_, &QTimer::timeout, this, &TextureListModel::FlushPending);
}

TextureEntry* TextureListModel::EntryAt(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<size_t>(row)] : nullptr;
}

TextureEntry* TextureListModel::EntryOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<TextureEntry*>(index.data(kEntryRole).value<void*>()) : nullptr;
}

void TextureListModel::IndexRows() const {
    if (rowIndexValid_) return;
    rowIndex_.clear();
    rowIndex_.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) rowIndex_[rows_[i]] = static_cast<int>(i);
    rowIndexValid_ = true;
}

int TextureListModel::RowOf(const TextureEntry* entry) const {
    IndexRows();
    const auto it = rowIndex_.find(entry);
    return it == rowIndex_.end() ? -1 : it->second;
}

bool TextureListModel::Shows(const TextureEntry& entry) const {
    return (!onlyMarked_ || entry.marked) && filter_.Matches(entry);
}

void TextureListModel::Insert(TextureEntry* entry) {
    pending_.push_back(entry);
    if (!flushTimer_.isActive()) flushTimer_.start();
}

void TextureListModel::FlushPending() {
    flushTimer_.stop();
    if (pending_.empty()) return;
    std::vector<TextureEntry*> batch;
    batch.swap(pending_);
    const auto before = [this](const TextureEntry* a, const TextureEntry* b) { return CompareEntries(*a, *b, order_) < 0; };
    std::stable_sort(batch.begin(), batch.end(), before);
    const size_t oldSize = all_.size();
    all_.insert(all_.end(), batch.begin(), batch.end());
    std::inplace_merge(all_.begin(), all_.begin() + static_cast<std::ptrdiff_t>(oldSize), all_.end(), before);

    if (flushListener_) flushListener_(batch);
    std::vector<TextureEntry*> shown;
    std::copy_if(batch.begin(), batch.end(), std::back_inserter(shown), [this](auto* e) { return Shows(*e); });
    if (shown.empty()) return;
    // New rows go in at the end first, then move to their places in one
    // layout change, so the views keep their selection and current item.
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(shown.size()) - 1);
    rows_.insert(rows_.end(), shown.begin(), shown.end());
    rowIndexValid_ = countsValid_ = false;
    endInsertRows();
    std::vector<TextureEntry*> merged = rows_;
    std::inplace_merge(merged.begin(), merged.begin() + first, merged.end(), before);
    Reorder(merged);
}

void TextureListModel::Update(TextureEntry* entry) {
    const int row = RowOf(entry);
    if (row >= 0) emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

void TextureListModel::Remove(TextureEntry* entry) {
    pending_.erase(std::remove(pending_.begin(), pending_.end(), entry), pending_.end());
    const auto inAll = std::find(all_.begin(), all_.end(), entry);
    if (inAll != all_.end()) all_.erase(inAll);
    const int row = RowOf(entry);
    if (row < 0) return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    rowIndexValid_ = countsValid_ = false;
    endRemoveRows();
}

void TextureListModel::Clear() {
    beginResetModel();
    pending_.clear();
    all_.clear();
    rows_.clear();
    rowIndexValid_ = countsValid_ = false;
    endResetModel();
}

void TextureListModel::Refill() {
    beginResetModel();
    pending_.clear();
    all_.clear();
    const TextureLibrary& library = controller_.Library();
    for (TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) all_.push_back(e);
    std::stable_sort(all_.begin(), all_.end(),
                     [this](const TextureEntry* a, const TextureEntry* b) { return CompareEntries(*a, *b, order_) < 0; });
    rows_.clear();
    std::copy_if(all_.begin(), all_.end(), std::back_inserter(rows_), [this](auto* e) { return Shows(*e); });
    rowIndexValid_ = countsValid_ = false;
    endResetModel();
}

void TextureListModel::Reorder(const std::vector<TextureEntry*>& newRows) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<TextureEntry*> entries;
    entries.reserve(static_cast<size_t>(before.size()));
    for (const QModelIndex& i : before) entries.push_back(EntryAt(i.row()));
    rows_ = newRows;
    rowIndexValid_ = false;
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int row = RowOf(entries[static_cast<size_t>(i)]);
        after.push_back(row < 0 ? QModelIndex() : index(row, before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TextureListModel::Sort(SortOrder order) {
    FlushPending();
    order_ = order;
    const auto before = [order](const TextureEntry* a, const TextureEntry* b) { return CompareEntries(*a, *b, order) < 0; };
    std::stable_sort(all_.begin(), all_.end(), before);
    std::vector<TextureEntry*> sorted = rows_;
    std::stable_sort(sorted.begin(), sorted.end(), before);
    Reorder(sorted);
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

void TextureListModel::SetFilter(const EntryFilter& filter) {
    filter_ = filter;
    FlushPending();
    beginResetModel();
    rows_.clear();
    std::copy_if(all_.begin(), all_.end(), std::back_inserter(rows_), [this](auto* e) { return Shows(*e); });
    rowIndexValid_ = countsValid_ = false;
    endResetModel();
}

void TextureListModel::SetOnlyMarked(bool onlyMarked) {
    onlyMarked_ = onlyMarked;
    SetFilter(filter_);
}

const EntryCounts& TextureListModel::ShownCounts() const {
    if (!countsValid_) {
        counts_ = CountEntries(rows_);
        countsValid_ = true;
    }
    return counts_;
}

int TextureListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TextureListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QString TextureListModel::Text(const TextureEntry& e, int column) const {
    switch (column) {
    case kTexture: return Q(e.name);
    case kType: return Q(TypeLetter(e.kind));
    case kCategory: return Q(e.category.empty() ? "-" : e.category);
    case kVersion: return Q(VersionText(e.previewVersion));
    case kFile: return e.sourceFile ? Q(e.sourceFile->fileName) : QString();
    case kDirectory: return Q(DirectoryText(e.Directory()));
    default: return {};
    }
}

QString FullNameAndFile(const TextureEntry& e) {
    if (!e.sourceFile) return Q(e.name);
    return Q(e.name + "\n" + JoinPath(e.sourceFile->directory, e.sourceFile->fileName));
}

QVariant TextureListModel::data(const QModelIndex& index, int role) const {
    const TextureEntry* e = EntryAt(index.row());
    if (!e || index.column() < 0 || index.column() >= kColumnCount) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole: return Text(*e, index.column());
    case Qt::AccessibleDescriptionRole:
        if (index.column() != kTexture) return {};
        return QTr("File %1, category %2").arg(Text(*e, kFile), Text(*e, kCategory));
    case Qt::DecorationRole: return index.column() == kTexture ? QVariant(IconOf(PreviewIcon(*e))) : QVariant();
    case Qt::ToolTipRole: return FullNameAndFile(*e);
    case Qt::TextAlignmentRole:
        return QVariant(static_cast<int>(index.column() == kType ? Qt::Alignment(Qt::AlignCenter) : Qt::AlignLeft | Qt::AlignVCenter));
    case kEntryRole: return QVariant::fromValue(static_cast<void*>(const_cast<TextureEntry*>(e)));
    default: return {};
    }
}

QVariant TextureListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return QTr(kHeadings[section]);
    // A screen reader tells the sort state; the list's context menu sorts.
    if (role == Qt::AccessibleDescriptionRole) {
        if (section != order_.key) return QTr("Sort through the list's context menu");
        return order_.ascending ? QTr("sorted, ascending") : QTr("sorted, descending");
    }
    if (role == Qt::TextAlignmentRole) return QVariant(static_cast<int>(section == kType ? Qt::Alignment(Qt::AlignCenter) : Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

Qt::ItemFlags TextureListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (index.column() == kCategory) f |= Qt::ItemIsEditable;
    return f;
}

bool TextureListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TextureEntry* e = EntryAt(index.row());
    if (!e || index.column() != kCategory || role != Qt::EditRole) return false;
    if (!SetEntryCategory(controller_, *e, value.toString().toStdString())) return false;
    countsValid_ = false;
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), kColumnCount - 1));
    emit categoryEdited(e);
    return true;
}

QStringList TextureListModel::mimeTypes() const { return {QStringLiteral("text/plain")}; }

QMimeData* TextureListModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<int> rows;
    for (const QModelIndex& i : indexes) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<TextureEntry*> entries;
    for (int row : rows)
        if (TextureEntry* e = EntryAt(row)) entries.push_back(e);
    auto* mime = new QMimeData;
    mime->setText(DeclarationTexts(controller_, entries));
    return mime;
}

QString DeclarationTexts(LibraryController& controller, const std::vector<TextureEntry*>& entries) {
    std::string text;
    for (TextureEntry* e : entries) {
        if (e->IsFileNode()) continue;
        LoadDeclaration(controller.Library(), *e, true);
        if (!text.empty()) text += "\r\n";
        text += DeclarationBoxText(*e);
        text += "\r\n";
    }
    return QString::fromStdString(text);
}

}  // namespace sc
