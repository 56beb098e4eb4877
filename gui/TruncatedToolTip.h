#pragma once
// Tooltips of list cells that are cut off: the cell's tooltip (full name
// and file) shows only when the cell is too narrow for its text, so a
// readable cell is never covered.
class QAbstractItemView;
class QEvent;

namespace sc {

// Handles a tooltip event of `view`'s viewport; true when it was one.
bool HandleTruncatedToolTip(QAbstractItemView& view, QEvent* event);

}  // namespace sc
