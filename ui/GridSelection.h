#pragma once
// The selection rules of the picture grid: clicks with and without Shift and
// Ctrl, the anchor of Shift selections, dragging over cells, the right
// button and keyboard moves. The items and their selection live elsewhere
// (the shared selection of the texture list); this class only decides.
namespace sc {

// The items the rules act on, by index in list order.
class SelectableItems {
public:
    virtual ~SelectableItems() = default;
    virtual int Count() const = 0;
    virtual bool IsSelected(int item) const = 0;
    // The focused item, or -1.
    virtual int Focus() const = 0;
    virtual void SetFocus(int item) = 0;
    virtual void SetSelected(int item, bool selected) = 0;
    // Selects first..last (either order, both included); with `clearOthers`
    // every other item is unselected.
    virtual void SelectRange(int first, int last, bool clearOthers) = 0;
};

class GridSelection {
public:
    explicit GridSelection(SelectableItems& items) : items_(items) {}
    virtual ~GridSelection() = default;

    int Anchor() const { return anchor_; }
    void ClearAnchor();

    // Left button pressed on an item.
    void Press(int item, bool shift, bool ctrl);
    // The left button moved over an item while held.
    void DragOver(int item);
    // The left button was released.
    void Release();
    // Right button pressed on an item: it becomes focused, and the only
    // selected one unless it already was selected.
    void PressRight(int item);
    // A key moved the focus to `item`; with Shift the selection extends from
    // the anchor, else the item becomes the only selected one.
    void MoveTo(int item, bool shift);
    // Selects anchor..target, makes the target focused; repeating the last
    // range does nothing. Returns whether anything was done.
    bool SelectRange(int anchor, int target, bool clearOthers);

private:
    int AnchorOrFocus();
    void SelectOnly(int item);

    SelectableItems& items_;
    int anchor_ = -1;
    int rangeAnchor_ = -1;
    int rangeTarget_ = -1;
    bool toggledOff_ = false;
};

}  // namespace sc
