#pragma once
// Where the picture grid puts its cells, which cell lies under a point, where
// the keyboard moves the focus and how far the grid scrolls. Pixels are the
// grid's client coordinates; `scroll` is the vertical scroll position.
//
// The grid zooms in steps. Step 0 is the classic cell: a 60-pixel picture in
// a cell 90 pixels wide. Larger steps show the picture at 116 (the stored
// preview's own size), 174 and 232 pixels, with the frames, margins and text
// area around it kept as they are.

namespace sc {

struct GridRect {
    int x = 0, y = 0, width = 0, height = 0;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    bool operator==(const GridRect&) const = default;
};

enum class GridKey { Left, Right, Up, Down, Home, End, PageUp, PageDown };

// The cell of one zoom step: the picture's side and what follows from it.
struct GridCellSize {
    static constexpr int kSteps = 4;
    static constexpr int kDefaultStep = 0;

    // The step limited to 0 .. kSteps - 1.
    static int ClampStep(int step);
    // The picture's side in pixels: 60, 116, 174, 232.
    static int PictureSide(int step);
    // Frames and selection margins take 30 pixels beside the picture.
    static int Width(int step) { return PictureSide(step) + 30; }
    // Frames and margins take 18 pixels above and below the picture; three
    // text lines (one bold, two normal) follow.
    static int Height(int step, int boldLineHeight, int normalLineHeight) {
        return PictureSide(step) + 18 + boldLineHeight + 2 * normalLineHeight;
    }
    // Labels stay narrower than this many pixels.
    static int LabelLimit(int step) { return Width(step) - 13; }
};

class GridGeometry {
public:
    static constexpr int kCellWidth = 90;
    static int CellHeight(int boldLineHeight, int normalLineHeight) {
        return GridCellSize::Height(GridCellSize::kDefaultStep, boldLineHeight, normalLineHeight);
    }

    // Columns are as many cells as fit the width; when that leaves pixels
    // over, the columns share them, so the cells spread over the whole width.
    GridGeometry(int itemCount, int clientWidth, int clientHeight, int cellHeight, int cellWidth = kCellWidth);

    int ItemCount() const { return count_; }
    int CellHeight() const { return cellHeight_; }
    int CellWidth() const { return cellWidth_; }
    int Columns() const { return columns_; }
    int Rows() const;
    // The scroll range: 0 to MaxScroll, a page being the client height.
    int ContentHeight() const { return Rows() * cellHeight_; }
    int MaxScroll() const;
    int ClampScroll(int scroll) const;

    // The item's share of the width and its row's height (at least a cell
    // wide); the cell is drawn centred in it.
    GridRect CellRect(int item, int scroll) const;
    // Where the cell of cell-width pixels sits inside CellRect.
    GridRect DrawnCell(int item, int scroll) const;
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
    // The scroll position that puts the item's row `offset` pixels below
    // the top (a negative offset: above it), limited to the range. Keeps an
    // item where it was when the columns or the cell size change.
    int ScrollToRowOffset(int item, int offset) const;

private:
    int ColumnX(int column) const;

    int count_;
    int clientWidth_;
    int clientHeight_;
    int cellHeight_;
    int cellWidth_;
    int columns_;
    // The width the columns share: the client width, or one cell when narrower.
    int spread_;
};

}  // namespace sc
