#include "gui/PictureGridAccessible.h"

#include <QItemSelectionModel>

#include "gui/PictureGridView.h"

namespace sc {

PictureGridAccessible::PictureGridAccessible(PictureGridView* grid) : QAccessibleWidget(grid, QAccessible::List) {}

PictureGridAccessible::~PictureGridAccessible() {
    for (QAccessible::Id id : cells_) QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* PictureGridAccessible::Factory(const QString&, QObject* object) {
    if (auto* grid = qobject_cast<PictureGridView*>(object)) return new PictureGridAccessible(grid);
    return nullptr;
}

PictureGridView* PictureGridAccessible::Grid() const { return static_cast<PictureGridView*>(widget()); }

int PictureGridAccessible::childCount() const {
    const QAbstractItemModel* model = Grid()->model();
    return model ? model->rowCount(Grid()->rootIndex()) : 0;
}

QAccessibleInterface* PictureGridAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    // A cached cell is reused while it still stands at this row; a re-sort
    // or a change of the rows makes a fresh one.
    if (const auto it = cells_.find(index); it != cells_.end()) {
        auto* cell = static_cast<PictureGridCellAccessible*>(QAccessible::accessibleInterface(*it));
        if (cell && cell->isValid() && cell->Row() == index) return cell;
        QAccessible::deleteAccessibleInterface(*it);
        cells_.erase(it);
    }
    auto* cell = new PictureGridCellAccessible(Grid(), Grid()->model()->index(index, 0, Grid()->rootIndex()));
    cells_.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int PictureGridAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* cell = dynamic_cast<const PictureGridCellAccessible*>(child);
    return cell && cell->isValid() ? cell->Row() : -1;
}

QAccessibleInterface* PictureGridAccessible::childAt(int x, int y) const {
    const QPoint local = Grid()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = Grid()->indexAt(local);
    return index.isValid() ? child(index.row()) : nullptr;
}

PictureGridCellAccessible::PictureGridCellAccessible(PictureGridView* grid, const QModelIndex& index)
    : grid_(grid), index_(index) {}

bool PictureGridCellAccessible::isValid() const { return grid_ && index_.isValid(); }

QWindow* PictureGridCellAccessible::window() const { return parent() ? parent()->window() : nullptr; }

QAccessibleInterface* PictureGridCellAccessible::parent() const {
    return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
}

QString PictureGridCellAccessible::text(QAccessible::Text t) const {
    if (!isValid()) return {};
    if (t == QAccessible::Name) return index_.data(Qt::AccessibleTextRole).toString();
    if (t == QAccessible::Description) return index_.data(Qt::AccessibleDescriptionRole).toString();
    return {};
}

QRect PictureGridCellAccessible::rect() const {
    if (!isValid()) return {};
    const QRect local = grid_->visualRect(index_);
    return QRect(grid_->viewport()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State PictureGridCellAccessible::state() const {
    QAccessible::State s;
    if (!isValid()) return s;
    s.selectable = true;
    s.focusable = true;
    s.multiSelectable = true;
    s.selected = grid_->selectionModel() && grid_->selectionModel()->isSelected(index_);
    s.focused = grid_->currentIndex() == index_ && grid_->hasFocus();
    const QRect cell = grid_->visualRect(index_);
    s.invisible = !cell.intersects(grid_->viewport()->rect());
    return s;
}

}  // namespace sc
