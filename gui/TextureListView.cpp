#include "gui/TextureListView.h"

#include "gui/TruncatedToolTip.h"

#include <QKeyEvent>

#include <algorithm>

#include "gui/CategoryDelegate.h"
#include "gui/SortHeader.h"
#include "gui/TextureListModel.h"
#include "gui/Translation.h"
#include "ui/Settings.h"

namespace sc {
namespace {

// The sample texts whose widths are the columns' default widths, unless a
// column's heading is wider.
const char* const kSamples[] = {"XXXXXXXXXXXXXXX", "TypXXX", "XXXXXXX.XXX", "", "XXXXXXX.XXX"};


}  // namespace

TextureListView::TextureListView(TextureListModel& model, QWidget* parent)
    : QTreeView(parent), model_(model), header_(new SortHeader(this)) {
    setHeader(header_);
    setModel(&model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setItemDelegateForColumn(TextureListModel::kCategory, new CategoryDelegate(model.Controller(), this));
    setAccessibleName(QTr("Texture list"));
    header_->setStretchLastSection(true);
    // Setting a header turns the view's own sorting off and with it the
    // header's clicks; the clicks sort through the window's sort commands.
    header_->setSectionsClickable(true);
    connect(header_, &QHeaderView::sectionClicked, this, &TextureListView::sortRequested);
    for (int column = 0; column < TextureListModel::kDirectory; ++column) setColumnWidth(column, SampleWidth(column));
}

int TextureListView::SampleWidth(int column) const {
    const QString heading = model_.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    const int text = std::max(fontMetrics().horizontalAdvance(QString::fromLatin1(kSamples[column])),
                              fontMetrics().horizontalAdvance(heading));
    // The text plus the cell's margins (and the icon in the first column).
    return text + 12;
}

// The settings keep one width per column up to the file.
static_assert(TextureListModel::kDirectory == Settings::kStoredColumns);

void TextureListView::ApplyColumnWidths(const Settings& settings) {
    for (int column = 0; column < TextureListModel::kDirectory; ++column) {
        const int stored = settings.ColumnWidth(column);
        setColumnWidth(column, stored >= 0 ? stored : SampleWidth(column));
    }
}

void TextureListView::StoreColumnWidths(Settings& settings) const {
    for (int column = 0; column < TextureListModel::kDirectory; ++column) settings.SetColumnWidth(column, columnWidth(column));
}

void TextureListView::ShowSortOrder(int key, bool ascending) {
    header_->SetSortColumn(key < TextureListModel::kColumnCount ? key : -1, ascending);
}

void TextureListView::EditCategory(int row) {
    const QModelIndex cell = model_.index(row, TextureListModel::kCategory);
    if (!cell.isValid() || columnWidth(TextureListModel::kCategory) <= 4) return;
    scrollTo(cell);
    edit(cell);
}

void TextureListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
        EditCategory(currentIndex().row());
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TextureListView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    const bool onFocusedCategory = event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier &&
                                   at.isValid() && at.column() == TextureListModel::kCategory &&
                                   at.row() == currentIndex().row() && selectionModel()->isRowSelected(at.row(), {});
    QTreeView::mousePressEvent(event);
    if (onFocusedCategory) EditCategory(at.row());
}

bool TextureListView::viewportEvent(QEvent* event) {
    return HandleTruncatedToolTip(*this, event) || QTreeView::viewportEvent(event);
}

}  // namespace sc
