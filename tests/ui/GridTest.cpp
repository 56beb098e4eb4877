// The picture grid's geometry, keyboard walk and selection rules.
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "ui/GridGeometry.h"
#include "ui/GridSelection.h"
#include "ui/TextFit.h"

namespace sc {
namespace {

TEST(GridGeometryTest, ColumnsRowsAndCellsFollowTheClientSize) {
    for (auto [width, columns] : {std::pair{100, 1}, {180, 2}, {40, 1}})
        EXPECT_EQ(GridGeometry(10, width, 300, 120).Columns(), columns) << width;
    const GridGeometry grid(7, 270, 200, 120);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.MaxScroll(), 3 * 120 - 200);
    EXPECT_EQ(grid.CellRect(5, 50), (GridRect{180, 70, 90, 120}));
    // Nothing below the client area (y 230) nor in the empty cells after item 6.
    for (const auto& [x, y, scroll, item] : std::vector<std::tuple<int, int, int, int>>{
             {185, 75, 50, 5}, {100, 150, 50, 4}, {100, 230, 50, -1}, {100, 199, 160, -1}})
        EXPECT_EQ(grid.ItemAt(x, y, scroll), item) << x << ", " << y;
    EXPECT_EQ(std::pair(grid.FirstVisible(50), grid.LastVisible(50)), std::pair(0, 6));
    EXPECT_EQ(GridGeometry(0, 270, 200, 120).MaxScroll(), 0);
    EXPECT_EQ(GridGeometry::CellHeight(15, 13), 119);
}

TEST(GridGeometryTest, KeysWalkSevenItemsInThreeColumns) {
    const GridGeometry grid(7, 270, 250, 120);  // two rows to a page
    using enum GridKey;
    // From, key, to: the walk stops at the edges, a page is two rows clamped
    // to the last item, and without focus a key starts at an end.
    for (const auto& [from, key, to] : std::vector<std::tuple<int, GridKey, int>>{
             {3, Down, 6}, {4, Down, 4}, {5, Down, 5}, {6, Right, 6}, {0, Left, 0}, {2, Right, 3}, {1, Up, 1},
             {5, Up, 2}, {4, Home, 0}, {1, End, 6}, {1, PageDown, 6}, {0, PageDown, 6}, {5, PageUp, 0},
             {-1, Down, 0}, {-1, End, 6}})
        EXPECT_EQ(grid.Walk(from, key), to) << from << " " << static_cast<int>(key);
    EXPECT_EQ(GridGeometry(0, 270, 250, 120).Walk(-1, GridKey::End), -1);
}

TEST(GridGeometryTest, ScrollingToAnItemIsMinimalOnlyForVisibleCells) {
    const GridGeometry grid(30, 270, 300, 100);  // 10 rows, range 0 to 700
    EXPECT_EQ(grid.ScrollToItem(3, 130, true), 100);   // cut off at the top
    EXPECT_EQ(grid.ScrollToItem(12, 130, true), 200);  // cut off at the bottom
    EXPECT_EQ(grid.ScrollToItem(6, 130, true), 130);   // whole: no move
    EXPECT_EQ(grid.ScrollToItem(27, 0, true), 700);    // hidden: row to the top, within the range
    EXPECT_EQ(grid.ScrollToItem(15, 0, false), 500);
}

TEST(GridGeometryTest, ZoomedCellsSpreadOverTheWidthAndKeepTheirPlace) {
    // Steps beyond either end are the end's.
    EXPECT_EQ(GridCellSize::PictureSide(9), GridCellSize::PictureSide(3));
    EXPECT_EQ(GridCellSize::Width(-1), GridGeometry::kCellWidth);

    // 400 pixels hold four classic cells: each column gets 100 of them.
    const GridGeometry classic(9, 400, 300, 120);
    EXPECT_EQ(classic.Columns(), 4);
    EXPECT_EQ(classic.CellRect(3, 0), (GridRect{300, 0, 100, 120}));
    EXPECT_EQ(classic.DrawnCell(3, 0), (GridRect{305, 0, 90, 120}));
    EXPECT_EQ(std::pair(classic.ItemAt(399, 5, 0), classic.ItemAt(299, 5, 0)), std::pair(3, 2));
    // Narrower than a cell: one column, a cell wide.
    EXPECT_EQ(GridGeometry(3, 60, 300, 120).CellRect(1, 0), (GridRect{0, 120, 90, 120}));

    // The same items in cells of 146 pixels: two columns, and the keys follow them.
    const int height = GridCellSize::Height(1, 15, 13);
    const GridGeometry zoomed(9, 400, 300, height, GridCellSize::Width(1));
    EXPECT_EQ(std::pair(zoomed.Columns(), zoomed.Rows()), std::pair(2, 5));
    EXPECT_EQ(std::pair(zoomed.Walk(1, GridKey::Down), zoomed.Walk(7, GridKey::Down)), std::pair(3, 7));
    // An item's row put back where it stood, as far as the range allows.
    EXPECT_EQ(zoomed.ScrollToRowOffset(5, 40), 2 * height - 40);
    EXPECT_EQ(zoomed.ScrollToRowOffset(8, 0), zoomed.MaxScroll());
    EXPECT_EQ(zoomed.ScrollToRowOffset(1, 50), 0);
}

// A selection kept in a plain set, as the grid's shared selection would keep it.
struct Items : SelectableItems {
    int count = 10;
    std::set<int> selected;
    int focus = -1;
    int Count() const override { return count; }
    bool IsSelected(int i) const override { return selected.count(i) > 0; }
    int Focus() const override { return focus; }
    void SetFocus(int i) override { focus = i; }
    void SetSelected(int i, bool on) override {
        if (on) selected.insert(i);
        else selected.erase(i);
    }
    void SelectRange(int a, int b, bool clear) override {
        if (clear) selected.clear();
        for (int i = std::min(a, b); i <= std::max(a, b); ++i) selected.insert(i);
    }
};

TEST(GridSelectionTest, ClicksWithShiftAndCtrlFollowTheAnchor) {
    Items items;
    GridSelection grid(items);
    grid.Press(2, false, false);
    grid.Release();
    EXPECT_EQ(items.selected, (std::set<int>{2}));
    grid.Press(5, true, false);  // no anchor yet: from the focused item
    EXPECT_EQ(items.selected, (std::set<int>{2, 3, 4, 5}));
    EXPECT_EQ(items.focus, 5);
    grid.Press(0, true, false);  // the anchor stays at 2
    EXPECT_EQ(items.selected, (std::set<int>{0, 1, 2}));
    grid.Press(8, false, true);
    grid.Press(6, true, true);  // Ctrl+Shift keeps the rest
    EXPECT_EQ(items.selected, (std::set<int>{0, 1, 2, 6, 7, 8}));
    grid.Release();

    grid.Press(4, false, false);
    grid.Press(4, false, true);  // Ctrl on the only selected item: unselected, still focused
    grid.Release();
    EXPECT_TRUE(items.selected.empty());
    EXPECT_EQ(items.focus, 4);
}

TEST(GridSelectionTest, DraggingRightClicksAndKeysSelectRanges) {
    Items items;
    GridSelection grid(items);
    grid.Press(3, false, false);
    grid.DragOver(6);
    EXPECT_EQ(items.selected, (std::set<int>{3, 4, 5, 6}));
    grid.DragOver(1);
    EXPECT_EQ(items.selected, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(items.focus, 1);
    grid.Release();

    grid.PressRight(2);  // already selected: the selection stays
    EXPECT_EQ(items.selected, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(items.focus, 2);
    grid.PressRight(7);
    EXPECT_EQ(items.selected, (std::set<int>{7}));

    grid.MoveTo(8, true);
    grid.MoveTo(9, true);
    EXPECT_EQ(items.selected, (std::set<int>{7, 8, 9}));
    grid.MoveTo(4, false);
    EXPECT_EQ(items.selected, (std::set<int>{4}));
    // Repeating the last range does nothing, even after the items changed.
    grid.MoveTo(5, true);
    items.selected.insert(0);
    EXPECT_FALSE(grid.SelectRange(4, 5, true));
    EXPECT_EQ(items.selected, (std::set<int>{0, 4, 5}));
}

}  // namespace
}  // namespace sc
