#include "ui/GridGeometry.h"

#include <algorithm>

namespace sc {

int GridCellSize::ClampStep(int step) { return std::clamp(step, 0, kSteps - 1); }

int GridCellSize::PictureSide(int step) {
    static constexpr int kSides[kSteps] = {60, 116, 174, 232};
    return kSides[ClampStep(step)];
}

GridGeometry::GridGeometry(int itemCount, int clientWidth, int clientHeight, int cellHeight, int cellWidth)
    : count_(std::max(0, itemCount)),
      clientWidth_(std::max(0, clientWidth)),
      clientHeight_(std::max(0, clientHeight)),
      cellHeight_(std::max(1, cellHeight)),
      cellWidth_(std::max(1, cellWidth)),
      columns_(std::max(1, clientWidth_ / cellWidth_)),
      spread_(std::max(clientWidth_, cellWidth_)) {}

int GridGeometry::Rows() const { return (count_ + columns_ - 1) / columns_; }

int GridGeometry::MaxScroll() const { return std::max(0, ContentHeight() - clientHeight_); }

int GridGeometry::ClampScroll(int scroll) const { return std::clamp(scroll, 0, MaxScroll()); }

int GridGeometry::ColumnX(int column) const { return column * spread_ / columns_; }

GridRect GridGeometry::CellRect(int item, int scroll) const {
    const int column = item % columns_;
    const int x = ColumnX(column);
    return {x, item / columns_ * cellHeight_ - scroll, ColumnX(column + 1) - x, cellHeight_};
}

GridRect GridGeometry::DrawnCell(int item, int scroll) const {
    GridRect cell = CellRect(item, scroll);
    cell.x += (cell.width - cellWidth_) / 2;
    cell.width = cellWidth_;
    return cell;
}

int GridGeometry::ItemAt(int x, int y, int scroll) const {
    if (x < 0 || y < 0 || x >= spread_ || y >= clientHeight_) return -1;
    int column = x * columns_ / spread_;
    // The integer division may land one column early at a share's edge.
    while (column + 1 < columns_ && x >= ColumnX(column + 1)) ++column;
    const int item = (y + scroll) / cellHeight_ * columns_ + column;
    return item < count_ ? item : -1;
}

int GridGeometry::FirstVisible(int scroll) const {
    const int item = std::max(0, scroll) / cellHeight_ * columns_;
    return item < count_ ? item : -1;
}

int GridGeometry::LastVisible(int scroll) const {
    if (FirstVisible(scroll) < 0 || clientHeight_ == 0) return -2;
    const int lastRow = (std::max(0, scroll) + clientHeight_ - 1) / cellHeight_;
    return std::min(count_ - 1, (lastRow + 1) * columns_ - 1);
}

int GridGeometry::PageRows() const { return std::max(1, clientHeight_ / cellHeight_); }

int GridGeometry::Walk(int from, GridKey key) const {
    if (count_ == 0) return -1;
    const int last = count_ - 1;
    if (from < 0 || from >= count_) return key == GridKey::End ? last : 0;
    switch (key) {
    case GridKey::Right: return std::min(from + 1, last);
    case GridKey::Left: return std::max(from - 1, 0);
    case GridKey::Up: return from - columns_ >= 0 ? from - columns_ : from;
    case GridKey::Down: return from + columns_ <= last ? from + columns_ : from;
    case GridKey::Home: return 0;
    case GridKey::End: return last;
    case GridKey::PageUp: return std::max(from - PageRows() * columns_, 0);
    case GridKey::PageDown: return std::min(from + PageRows() * columns_, last);
    }
    return from;
}

int GridGeometry::ScrollToItem(int item, int scroll, bool minimal) const {
    if (item < 0 || item >= count_) return ClampScroll(scroll);
    const GridRect cell = CellRect(item, scroll);
    const bool visible = cell.Bottom() > 0 && cell.y < clientHeight_;
    if (minimal && visible) {
        if (cell.y < 0) return ClampScroll(scroll + cell.y);
        if (cell.Bottom() > clientHeight_) return ClampScroll(scroll + cell.Bottom() - clientHeight_);
        return scroll;
    }
    return ClampScroll(item / columns_ * cellHeight_);
}

int GridGeometry::ScrollToRowOffset(int item, int offset) const {
    if (item < 0 || item >= count_) return 0;
    return ClampScroll(item / columns_ * cellHeight_ - offset);
}

}  // namespace sc
