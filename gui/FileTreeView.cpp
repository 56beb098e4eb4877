#include "gui/FileTreeView.h"

#include "gui/Translation.h"
#include "gui/TruncatedToolTip.h"

#include <QHeaderView>

#include "gui/FileNodeDelegate.h"
#include "gui/FileTreeModel.h"

namespace sc {

FileTreeView::FileTreeView(FileTreeModel& model, QWidget* parent) : QTreeView(parent) {
    setModel(&model);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setItemDelegate(new FileNodeDelegate(this));
    setAccessibleName(QTr("File list"));
}

void FileTreeView::ExpandAll(bool expand) {
    setUpdatesEnabled(false);
    if (expand) expandAll();
    else collapseAll();
    setUpdatesEnabled(true);
}

bool FileTreeView::viewportEvent(QEvent* event) {
    return HandleTruncatedToolTip(*this, event) || QTreeView::viewportEvent(event);
}

}  // namespace sc
