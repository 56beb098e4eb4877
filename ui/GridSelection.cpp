#include "ui/GridSelection.h"

namespace sc {

void GridSelection::ClearAnchor() {
    anchor_ = -1;
    rangeAnchor_ = rangeTarget_ = -1;
}

int GridSelection::AnchorOrFocus() {
    if (anchor_ < 0 || anchor_ >= items_.Count()) anchor_ = items_.Focus() >= 0 ? items_.Focus() : 0;
    return anchor_;
}

void GridSelection::SelectOnly(int item) {
    items_.SelectRange(item, item, true);
    items_.SetFocus(item);
}

bool GridSelection::SelectRange(int anchor, int target, bool clearOthers) {
    if (anchor == rangeAnchor_ && target == rangeTarget_) return false;
    rangeAnchor_ = anchor;
    rangeTarget_ = target;
    items_.SelectRange(anchor, target, clearOthers);
    items_.SetFocus(target);
    return true;
}

void GridSelection::Press(int item, bool shift, bool ctrl) {
    toggledOff_ = false;
    if (item < 0 || item >= items_.Count()) return;
    if (shift) {
        rangeAnchor_ = rangeTarget_ = -1;
        SelectRange(AnchorOrFocus(), item, !ctrl);
        return;
    }
    ClearAnchor();
    if (!ctrl) {
        SelectOnly(item);
    } else {
        const bool selected = items_.IsSelected(item);
        items_.SetSelected(item, !selected);
        items_.SetFocus(item);
        toggledOff_ = selected;
    }
}

void GridSelection::DragOver(int item) {
    if (item < 0 || item >= items_.Count()) return;
    const int anchor = AnchorOrFocus();
    if (item == rangeTarget_ || (rangeTarget_ < 0 && item == anchor)) return;
    SelectRange(anchor, item, true);
}

void GridSelection::Release() {
    const int focus = items_.Focus();
    // A Ctrl click that took the item out of the selection keeps it out.
    if (focus >= 0 && !toggledOff_) {
        items_.SetSelected(focus, true);
        items_.SetFocus(focus);
    }
    toggledOff_ = false;
}

void GridSelection::PressRight(int item) {
    if (item < 0 || item >= items_.Count()) return;
    ClearAnchor();
    if (items_.IsSelected(item)) items_.SetFocus(item);
    else SelectOnly(item);
}

void GridSelection::MoveTo(int item, bool shift) {
    if (item < 0 || item >= items_.Count()) return;
    if (shift) {
        SelectRange(AnchorOrFocus(), item, true);
        return;
    }
    ClearAnchor();
    SelectOnly(item);
}

}  // namespace sc
