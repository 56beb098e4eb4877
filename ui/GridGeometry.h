#pragma once
// Where the picture grid puts its cells, which cell lies under a point, where
// the keyboard moves the focus and how far the grid scrolls. Pixels are the
// grid's client coordinates; `scroll` is the vertical scroll position.

namespace sc {

struct GridRect {
    int x = 0, y = 0, width = 0, height = 0;
    int Bottom() const { return y + height; }
    bool operator==(const GridRect&) const = default;
};

enum class GridKey { Left, Right, Up, Down, Home, End, PageUp, PageDown };

class GridGeometry {
public:
    static constexpr int kCellWidth = 90;
    // The picture, its frames and margins take 78 pixels; three text lines
    // (one bold, two normal) follow.
    static int CellHeight(int boldLineHeight, int normalLineHeight) { return 78 + boldLineHeight + 2 * normalLineHeight; }

    GridGeometry(int itemCount, int clientWidth, int clientHeight, int cellHeight);

    int ItemCount() const { return count_; }
    int CellHeight() const { return cellHeight_; }
    int Columns() const { return columns_; }
    int Rows() const;
    // The scroll range: 0 to MaxScroll, a page being the client height.
    int ContentHeight() const { return Rows() * cellHeight_; }
    int MaxScroll() const;
    int ClampScroll(int scroll) const;

    GridRect CellRect(int item, int scroll) const;
    // The item whose cell holds the point, or -1.
    int ItemAt(int x, int y, int scroll) const;
    // The first and last item with a cell inside the client area (-1, -2 when none).
    int FirstVisible(int scroll) const;
    int LastVisible(int scroll) const;

    // The item the key moves the focus to from `from` (-1: no focus yet).
    int Walk(int from, GridKey key) const;
    // Rows moved by Page Up and Page Down (at least one).
    int PageRows() const;

    // The scroll position that shows the item: with `minimal` and the cell
    // at least partly visible, just enough to show the whole cell; otherwise
    // the item's row at the top, limited to the range.
    int ScrollToItem(int item, int scroll, bool minimal) const;

private:
    int count_;
    int clientWidth_;
    int clientHeight_;
    int cellHeight_;
    int columns_;
};

}  // namespace sc
