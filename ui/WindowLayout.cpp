#include "ui/WindowLayout.h"

#include <algorithm>

namespace sc {
namespace {

constexpr int kSplitterGap = 8;
constexpr int kBand = 120;

}  // namespace

Size MinimumTrackSize(int frameWidth, bool paneShown) {
    return {2 * frameWidth + kMinListWidth + (paneShown ? 128 : 0), kMinWindowHeight};
}

Widths FitWidths(int clientWidth, int paneWidth, bool paneShown) {
    if (!paneShown) return {clientWidth, paneWidth};
    const int list = std::max(clientWidth - paneWidth - kSplitterGap, kMinListWidth);
    return {list, clientWidth - list - kSplitterGap};
}

int LargePictureSide(int paneWidth, int paneHeight) {
    // In steps of 32, so that a status line coming and going or a small
    // resize keeps the size, and with it the cached pictures.
    const int side = std::min({kLargestPicture, paneWidth - 8, paneHeight / 2 - 4}) / 32 * 32;
    return side > kPictureSize - 4 ? side : 0;
}

Layout ComputeLayout(const LayoutInput& in) {
    Layout out;
    out.widths = FitWidths(in.clientWidth, in.paneWidth, in.paneShown);
    const int top = in.toolbarHeight;
    const int bottom = in.clientHeight - in.statusHeight;
    const int listTop = in.headingHeight > 0 ? top + 2 + in.headingHeight + 8 : top;
    const int barTop = bottom - in.entryBarHeight;
    out.listArea = {0, listTop, out.widths.list, std::max(0, barTop - listTop)};
    out.entryBar = {0, barTop, out.widths.list, in.entryBarHeight};
    if (!in.paneShown) return out;

    const int paneLeft = in.clientWidth - out.widths.pane;
    out.splitter = {paneLeft - 7, top, 7, bottom - top};
    const int large = in.largePicture && !in.smallPicture ? LargePictureSide(out.widths.pane, bottom - top) : 0;
    const int picture = large > 0 ? large + 4 : in.smallPicture ? kSmallPictureSize : kPictureSize;
    const int band = std::max(kBand, picture);
    out.picture = {paneLeft + (out.widths.pane - picture) / 2, top + (band - picture) / 2, picture, picture};
    const int rowLeft = paneLeft + (out.widths.pane - kBand) / 2;
    const int rowTop = top + band;
    out.arrowButton = {rowLeft, rowTop, in.arrowWidth, in.buttonHeight};
    const int showLeft = rowLeft + in.arrowWidth + 1;
    out.showButton = {showLeft, rowTop, rowLeft + 119 - showLeft, in.buttonHeight};
    const int textTop = rowTop + in.buttonHeight + 8;
    out.textBox = {paneLeft, textTop, out.widths.pane, std::max(0, bottom - textTop)};
    return out;
}

int TrackerLeft(int mouseX, int clientWidth) {
    return std::max(std::min(mouseX - 3, clientWidth - 127), kMinListWidth - 1);
}

Widths ReleasedWidths(int trackerLeft, int clientWidth) {
    const int list = trackerLeft - 9;
    return {list, clientWidth - list - 16};
}

}  // namespace sc
