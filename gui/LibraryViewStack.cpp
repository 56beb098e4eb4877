#include "gui/LibraryViewStack.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <unordered_set>

#include "gui/FileTreeModel.h"
#include "gui/FileTreeView.h"
#include "gui/FilterField.h"
#include "gui/PictureGridView.h"
#include "gui/SortHeader.h"
#include "gui/TextureListModel.h"
#include "gui/TextureListView.h"
#include "gui/Translation.h"
#include "library/LibraryController.h"
#include "ui/EntryFilter.h"
#include "ui/EntryTexts.h"
#include "ui/MainCommands.h"
#include "ui/Settings.h"
#include "ui/StatusText.h"

namespace sc {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

LibraryViewStack::LibraryViewStack(LibraryController& controller, Settings& settings, QWidget* parent)
    : QWidget(parent),
      controller_(controller),
      settings_(settings),
      sortState_(settings.SortBy(), settings.SortAscending()),
      model_(std::make_unique<TextureListModel>(controller)),
      treeModel_(std::make_unique<FileTreeModel>(controller)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    BuildHeading();
    stack_ = new QStackedWidget(this);
    layout->addWidget(stack_, 1);
    tree_ = new FileTreeView(*treeModel_, stack_);
    list_ = new TextureListView(*model_, stack_);
    grid_ = new PictureGridView(stack_);
    grid_->setModel(model_.get());
    QItemSelectionModel* own = grid_->selectionModel();
    grid_->setSelectionModel(list_->selectionModel());
    delete own;
    // Kept in the order of ListType.
    stack_->addWidget(tree_);
    stack_->addWidget(list_);
    auto* gridPage = new QWidget(stack_);
    auto* gridLayout = new QVBoxLayout(gridPage);
    gridLayout->setContentsMargins(2, 2, 2, 2);
    gridLayout->addWidget(grid_);
    stack_->addWidget(gridPage);

    model_->Sort(sortState_.UserOrder());
    list_->ApplyColumnWidths(settings);
    grid_->SetZoomStep(static_cast<int>(settings.Zoom()));
    connect(grid_, &PictureGridView::zoomStepChanged, this, [this](int step) { settings_.SetZoom(static_cast<GridZoom>(step)); });
    list_->ShowSortOrder(sortState_.UserOrder().key, sortState_.UserOrder().ascending);
    model_->SetFlushListener([this](const std::vector<TextureEntry*>& batch) { OnTreeInserted(batch); });
    ConnectViews();
    SetViewType(settings.ViewType());
}

LibraryViewStack::~LibraryViewStack() {
    // The views go before the models they show.
    delete stack_;
}

void LibraryViewStack::BuildHeading() {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(2, 2, 2, 8);
    heading_ = new QLabel(this);
    QFont font(QStringLiteral("Arial"), 14);
    font.setBold(true);
    heading_->setFont(font);
    heading_->setWordWrap(true);
    back_ = new QPushButton(QTr("&Back"), this);
    row->addWidget(heading_, 1);
    row->addSpacing(8);
    row->addWidget(back_, 0, Qt::AlignVCenter);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    heading_->hide();
    back_->hide();
    connect(back_, &QPushButton::clicked, this, &LibraryViewStack::LeaveOnlySelected);
}

void LibraryViewStack::ConnectViews() {
    connect(list_, &TextureListView::sortRequested, this, &LibraryViewStack::sortRequested);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, &LibraryViewStack::OnCurrentChanged);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &LibraryViewStack::selectionChanged);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, &LibraryViewStack::OnCurrentChanged);
    connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &LibraryViewStack::selectionChanged);
    connect(model_.get(), &QAbstractItemModel::modelReset, this, &LibraryViewStack::selectionChanged);
    connect(model_.get(), &QAbstractItemModel::rowsInserted, this, &LibraryViewStack::selectionChanged);
    connect(model_.get(), &QAbstractItemModel::rowsRemoved, this, &LibraryViewStack::selectionChanged);
    connect(model_.get(), &TextureListModel::categoryEdited, this, &LibraryViewStack::OnCategoryEdited);
    connect(list_, &QAbstractItemView::doubleClicked, this, &LibraryViewStack::renderRequested);
    connect(grid_, &PictureGridView::renderRequested, this, &LibraryViewStack::renderRequested);
    connect(grid_, &PictureGridView::mouseHeld, this, &LibraryViewStack::gridMouseHeld);
    connect(tree_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        const TextureEntry* e = FileTreeModel::EntryOf(index);
        if (e && !e->IsFileNode()) emit renderRequested();
    });
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(tree_), static_cast<QAbstractItemView*>(list_),
                                    static_cast<QAbstractItemView*>(grid_)})
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint& pos) { OnContextMenu(view, pos); });
}

void LibraryViewStack::OnCurrentChanged() {
    emit currentEntryChanged(CurrentEntry());
}

TextureEntry* LibraryViewStack::TreeEntry() const { return FileTreeModel::EntryOf(tree_->currentIndex()); }

TextureEntry* LibraryViewStack::CurrentEntry() const {
    if (viewType_ == kFileListType) return TreeEntry();
    return TextureListModel::EntryOf(list_->currentIndex());
}

void LibraryViewStack::FocusListRow(int row) {
    if (row < 0) return;
    const QModelIndex index = model_->index(row, 0);
    list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void LibraryViewStack::ShowListRow(int row) {
    if (row < 0) return;
    list_->scrollTo(model_->index(row, 0));
    grid_->ScrollToItem(row, true);
}

void LibraryViewStack::SelectTreeNodeOf(const TextureEntry* entry) {
    const QModelIndex node = treeModel_->IndexOf(entry);
    if (!node.isValid()) return;
    tree_->selectionModel()->setCurrentIndex(node, QItemSelectionModel::ClearAndSelect);
    tree_->scrollTo(node);
}

void LibraryViewStack::FocusShownView() {
    QWidget* shown = viewType_ == kFileListType      ? static_cast<QWidget*>(tree_)
                     : viewType_ == kTextureListType ? static_cast<QWidget*>(list_)
                                                 : grid_;
    shown->setFocus();
}

void LibraryViewStack::ScrollToCurrent() {
    if (viewType_ == kFileListType) {
        if (tree_->currentIndex().isValid()) tree_->scrollTo(tree_->currentIndex());
    } else if (list_->currentIndex().isValid()) {
        ShowListRow(list_->currentIndex().row());
    }
}

void LibraryViewStack::SetViewType(int type) {
    type = std::clamp(type, 0, 2);
    // The file list cannot show the only-selected mode's subset.
    if (type == kFileListType && model_->OnlyMarked()) return;
    model_->FlushPending();
    if (viewType_ == kFileListType && type != kFileListType) {
        TextureEntry* e = TreeEntry();
        // A file node stands for its first entry.
        if (e && e->IsFileNode()) e = e->next;
        // The selection made in the list survives a look at the file list
        // when the entry there is one of it; another entry starts a new one.
        const int row = e ? model_->RowOf(e) : -1;
        if (row >= 0 && list_->selectionModel()->isRowSelected(row, QModelIndex()))
            list_->selectionModel()->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::NoUpdate);
        else
            FocusListRow(row);
    } else if (type == kFileListType && viewType_ != kFileListType) {
        TextureEntry* e = CurrentEntry();
        if (!e) {
            const auto selected = SelectedEntries();
            if (!selected.empty()) e = selected.front();
        }
        if (e) SelectTreeNodeOf(e);
    }
    viewType_ = type;
    // The keyboard goes straight to the new view: hiding the old one with it
    // would first hand it to the next control (the filter field), and a screen reader would say so.
    if (QWidget* focus = QApplication::focusWidget(); focus && stack_->isAncestorOf(focus)) focus->clearFocus();
    stack_->setCurrentIndex(type);
    if (type == kTextureListType) list_->scrollTo(list_->currentIndex());
    if (type == kPictureListType && list_->currentIndex().isValid()) grid_->ScrollToItem(list_->currentIndex().row(), true);
    FocusShownView();
    emit viewTypeChanged(type);
    emit currentEntryChanged(CurrentEntry());
}

std::vector<TextureEntry*> LibraryViewStack::SelectedEntries() {
    model_->FlushPending();
    std::vector<TextureEntry*> entries;
    if (viewType_ == kFileListType) {
        TextureEntry* e = TreeEntry();
        if (!e || !tree_->selectionModel()->isSelected(tree_->currentIndex())) return entries;
        if (!e->IsFileNode()) return {e};
        for (TextureEntry* n = e->next; n; n = n->next) entries.push_back(n);
        return entries;
    }
    for (const QItemSelectionRange& range : list_->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) entries.push_back(model_->EntryAt(row));
    std::sort(entries.begin(), entries.end(),
              [this](const TextureEntry* a, const TextureEntry* b) { return model_->RowOf(a) < model_->RowOf(b); });
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    return entries;
}

int LibraryViewStack::SelectedCount() const {
    if (viewType_ == kFileListType) return tree_->selectionModel()->hasSelection() ? 1 : 0;
    int count = 0;
    for (const QItemSelectionRange& range : list_->selectionModel()->selection())
        if (range.left() == 0) count += range.height();
    return count;
}

void LibraryViewStack::InvertSelection() {
    model_->FlushPending();
    const int rows = model_->rowCount();
    if (rows == 0) return;
    // Only the selection flips; the current entry (and the pane showing it) stays.
    const QItemSelection all(model_->index(0, 0), model_->index(rows - 1, TextureListModel::kColumnCount - 1));
    list_->selectionModel()->select(all, QItemSelectionModel::Toggle);
}

void LibraryViewStack::SelectEntries(const std::vector<TextureEntry*>& entries) {
    model_->FlushPending();
    std::vector<int> rows;
    for (const TextureEntry* e : entries)
        if (const int row = model_->RowOf(e); row >= 0) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    const int lastColumn = TextureListModel::kColumnCount - 1;
    for (size_t i = 0; i < rows.size();) {
        size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] <= rows[j] + 1) ++j;
        selection.append(QItemSelectionRange(model_->index(rows[i], 0), model_->index(rows[j], lastColumn)));
        i = j + 1;
    }
    QItemSelectionModel* sm = list_->selectionModel();
    sm->select(selection, QItemSelectionModel::ClearAndSelect);
    const int first = entries.empty() ? -1 : model_->RowOf(entries.front());
    if (first >= 0) {
        sm->setCurrentIndex(model_->index(first, 0), QItemSelectionModel::NoUpdate);
        ShowListRow(first);
    }
    if (viewType_ == kFileListType && !entries.empty()) SelectTreeNodeOf(entries.front());
}

std::vector<TextureEntry*> LibraryViewStack::EntriesInListOrder() {
    model_->FlushPending();
    return model_->Rows();
}

void LibraryViewStack::EntryInserted(TextureEntry* entry) { model_->Insert(entry); }

void LibraryViewStack::OnTreeInserted(const std::vector<TextureEntry*>& batch) {
    const std::vector<QModelIndex> newFiles = treeModel_->Insert(batch);
    // A new file node becomes the first visible node.
    if (!newFiles.empty() && viewType_ == kFileListType) tree_->scrollTo(newFiles.back(), QAbstractItemView::PositionAtTop);
}

void LibraryViewStack::EntryUpdated(TextureEntry* entry) {
    grid_->DropThumbnail(entry);
    model_->Update(entry);
    treeModel_->Update(entry);
}

void LibraryViewStack::EntryRemoving(TextureEntry* entry, bool) {
    grid_->DropThumbnail(entry);
    model_->Remove(entry);
    treeModel_->Remove(entry);
}

void LibraryViewStack::Clearing() {
    grid_->ClearThumbnails();
    model_->Clear();
    treeModel_->Clear();
}

void LibraryViewStack::Refresh() {
    // The entries that stay keep their selection; after a load none does,
    // and the first item becomes the current one.
    std::vector<TextureEntry*> keep;
    if (list_->currentIndex().isValid() || tree_->currentIndex().isValid()) {
        if (viewType_ != kFileListType) keep = SelectedEntries();
        if (TextureEntry* current = CurrentEntry()) keep.insert(keep.begin(), current);
        std::unordered_set<const TextureEntry*> known;
        const TextureLibrary& library = controller_.Library();
        for (const TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) known.insert(e);
        keep.erase(std::remove_if(keep.begin(), keep.end(), [&](const TextureEntry* e) { return !known.count(e); }),
                   keep.end());
    }
    emit sortStarted();
    grid_->ClearThumbnails();
    model_->Refill();
    treeModel_->Refill();
    if (!keep.empty()) SelectEntries(keep);
    else if (model_->rowCount() > 0) FocusListRow(0);
    emit sortFinished();
}

void LibraryViewStack::SelectAll(bool select) {
    if (select) list_->selectAll();
    else list_->clearSelection();
}

void LibraryViewStack::ExpandAll(bool expand) { tree_->ExpandAll(expand); }

void LibraryViewStack::ApplySort(SortOrder order) {
    emit sortStarted();
    model_->Sort(order);
    list_->ShowSortOrder(sortState_.UserOrder().key, sortState_.UserOrder().ascending);
    const QModelIndex current = list_->currentIndex();
    if (current.isValid()) {
        list_->scrollTo(current);
        if (viewType_ == kPictureListType) grid_->ScrollToItem(current.row(), false);
    }
    grid_->viewport()->update();
    emit sortFinished();
}

void LibraryViewStack::SortBy(int key) {
    if (sortState_.Choose(key)) ApplySort(sortState_.UserOrder());
}

void LibraryViewStack::BeginTemporarySort(ListSortState::Temporary order) {
    const auto sortNow = sortState_.BeginTemporary(order);
    if (sortNow) ApplySort(*sortNow);
}

void LibraryViewStack::EndTemporarySort() {
    const auto restore = sortState_.EndTemporary();
    if (restore) ApplySort(*restore);
}

void LibraryViewStack::OnCategoryEdited(TextureEntry* entry) {
    treeModel_->Update(entry);
    if (sortState_.CurrentOrder().key == kSortByCategory) ApplySort(sortState_.CurrentOrder());
    emit categoryChanged(entry);
    emit selectionChanged();
}

FilterField* LibraryViewStack::CreateFilterField(QWidget* parent) {
    auto* field = new FilterField(parent);
    connect(field, &QLineEdit::textChanged, this, &LibraryViewStack::SetFilterText);
    return field;
}

void LibraryViewStack::SetFilterText(const QString& text) {
    const EntryFilter filter(text.toStdString());
    TextureEntry* current = CurrentEntry();
    const std::vector<TextureEntry*> selected = viewType_ == kFileListType ? std::vector<TextureEntry*>() : SelectedEntries();
    emit sortStarted();
    model_->SetFilter(filter);
    treeModel_->SetFilter(filter);
    // What stays shown stays selected, with the current entry first.
    std::vector<TextureEntry*> keep;
    if (current && model_->RowOf(current) >= 0) keep.push_back(current);
    for (TextureEntry* e : selected)
        if (e != current) keep.push_back(e);
    if (!keep.empty()) SelectEntries(keep);
    if (current && viewType_ == kFileListType) SelectTreeNodeOf(current);
    KeepCurrentShown();
    emit sortFinished();
    emit selectionChanged();
    emit currentEntryChanged(CurrentEntry());
}

void LibraryViewStack::KeepCurrentShown() {
    if (viewType_ == kFileListType) {
        if (!tree_->currentIndex().isValid() && treeModel_->rowCount() > 0)
            tree_->selectionModel()->setCurrentIndex(treeModel_->index(0, 0), QItemSelectionModel::ClearAndSelect);
        return;
    }
    if (!list_->currentIndex().isValid() && model_->rowCount() > 0) FocusListRow(0);
}

bool LibraryViewStack::CanShowOnlySelected() const {
    return viewType_ != kFileListType && !model_->OnlyMarked() && SelectedCount() >= 2;
}

bool LibraryViewStack::OnlySelectedShown() const { return model_->OnlyMarked(); }

void LibraryViewStack::ShowOnlySelected(int lastSelectionKind, bool duplicatesByPicture) {
    if (!CanShowOnlySelected()) return;
    const std::vector<TextureEntry*> selected = SelectedEntries();
    controller_.MarkAll(false);
    for (TextureEntry* e : selected) e->marked = true;
    controller_.onlyMarkedShown = true;
    heading_->setText(Q(OnlySelectedHeading(lastSelectionKind, duplicatesByPicture)));
    heading_->show();
    back_->show();
    emit sortStarted();
    model_->SetOnlyMarked(true);
    FocusListRow(model_->RowOf(selected.front()));
    ShowListRow(model_->RowOf(selected.front()));
    emit sortFinished();
    emit onlySelectedChanged(true);
}

void LibraryViewStack::LeaveOnlySelected() {
    if (!model_->OnlyMarked()) return;
    heading_->hide();
    back_->hide();
    controller_.onlyMarkedShown = false;
    TextureEntry* current = CurrentEntry();
    emit sortStarted();
    model_->SetOnlyMarked(false);
    model_->Sort(sortState_.UserOrder());
    if (current) {
        FocusListRow(model_->RowOf(current));
        ShowListRow(model_->RowOf(current));
    }
    emit sortFinished();
    emit onlySelectedChanged(false);
}

QString LibraryViewStack::StatusText() const {
    if (viewType_ != kFileListType) model_->FlushPending();
    return Q(sc::StatusText(model_->ShownCounts(), SelectedCount()));
}

void LibraryViewStack::OnContextMenu(QWidget* view, const QPoint& position) {
    auto* itemView = static_cast<QAbstractItemView*>(view);
    emit contextMenuRequested(itemView->viewport()->mapToGlobal(position));
}

void LibraryViewStack::SaveListSettings() {
    if (!settings_.SaveOnExit()) return;
    list_->StoreColumnWidths(settings_);
    settings_.SetSortBy(static_cast<SortKey>(sortState_.UserOrder().key));
    settings_.SetSortAscending(sortState_.UserOrder().ascending);
    settings_.SaveListView();
}

}  // namespace sc
