#include "ui/WindowLayout.h"

#include <algorithm>
#include <cmath>

#include "ui/Settings.h"

namespace sc {
namespace {

constexpr int kSplitterGap = 8;
constexpr int kBand = 120;
// About two thirds of the desktop for a first window, two fifths of it for
// the pane: room for the declaration's lines beside a useful list.
constexpr double kFirstWindowShare = 2.0 / 3.0;
constexpr double kFirstPaneShare = 0.4;

// `wanted` within [low, high], `low` winning when they cross.
int Clamp(int wanted, int low, int high) { return std::max(low, std::min(wanted, high)); }

// Moves `frame` so that it lies on `available` (its left and top edge first).
Rect PushOnto(Rect frame, const Rect& available) {
    frame.x = std::max(available.x, std::min(frame.x, available.Right() - frame.width));
    frame.y = std::max(available.y, std::min(frame.y, available.Bottom() - frame.height));
    return frame;
}

}  // namespace

Size MinimumTrackSize(int frameWidth, bool paneShown) {
    return {2 * frameWidth + kMinListWidth + (paneShown ? 128 : 0), kMinWindowHeight};
}

Widths FitWidths(int clientWidth, int paneWidth, bool paneShown) {
    if (!paneShown) return {clientWidth, paneWidth};
    const int list = std::max(clientWidth - paneWidth - kSplitterGap, kMinListWidth);
    return {list, clientWidth - list - kSplitterGap};
}

int LargePictureSide(int paneWidth, int paneHeight, double pictureShare, int below) {
    const double share = std::clamp(pictureShare, kMinPictureShare, kMaxPictureShare);
    const int band = std::min(static_cast<int>(paneHeight * share), paneHeight - below - kMinTextBoxHeight);
    // In steps of 32, so that a status line coming and going or a small
    // resize keeps the size, and with it the cached pictures.
    const int side = std::min({kLargestPicture, paneWidth - 8, band - 4}) / 32 * 32;
    return side > kPictureSize - 4 ? side : 0;
}

double PictureShareAt(int bandHeight, int paneHeight) {
    if (paneHeight <= 0) return kDefaultPictureShare;
    return std::clamp(static_cast<double>(bandHeight) / paneHeight, kMinPictureShare, kMaxPictureShare);
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
    const int below = in.buttonHeight + kSplitterGap;
    out.largeSide = in.smallPicture ? 0 : LargePictureSide(out.widths.pane, bottom - top, in.pictureShare, below);
    const int large = in.largePicture ? out.largeSide : 0;
    const int picture = large > 0 ? large + 4 : in.smallPicture ? kSmallPictureSize : kPictureSize;
    const int band = std::max(kBand, picture);
    out.picture = {paneLeft + (out.widths.pane - picture) / 2, top + (band - picture) / 2, picture, picture};
    const int rowLeft = paneLeft + (out.widths.pane - kBand) / 2;
    const int rowTop = top + band;
    out.arrowButton = {rowLeft, rowTop, in.arrowWidth, in.buttonHeight};
    const int showLeft = rowLeft + in.arrowWidth + 1;
    out.showButton = {showLeft, rowTop, rowLeft + 119 - showLeft, in.buttonHeight};
    const int textTop = rowTop + in.buttonHeight + kSplitterGap;
    out.textBox = {paneLeft, textTop, out.widths.pane, std::max(0, bottom - textTop)};
    if (large > 0) out.pictureSplit = {paneLeft, textTop - kSplitterGap, out.widths.pane, kSplitterGap};
    return out;
}

int TrackerLeft(int mouseX, int clientWidth) {
    return std::max(std::min(mouseX - 3, clientWidth - 127), kMinListWidth - 1);
}

Widths ReleasedWidths(int trackerLeft, int clientWidth) {
    const int list = trackerLeft - 9;
    return {list, clientWidth - list - 16};
}

SavedGeometry SavedGeometryOf(const Settings& settings) {
    SavedGeometry g;
    g.x = settings.WindowX();
    g.y = settings.WindowY();
    g.clientHeight = static_cast<int>(std::min(settings.WindowHeight(), 1u << 20));
    g.listWidth = settings.ListWidth();
    g.paneWidth = settings.PaneWidth();
    g.maximizedPaneWidth = settings.MaximizedPaneWidth();
    g.paneShown = settings.PaneShown();
    g.maximized = settings.Maximized();
    return g;
}

void StoreGeometry(const SavedGeometry& g, Settings& settings) {
    settings.SetWindowPosition(g.x, g.y);
    settings.SetWindowHeight(static_cast<unsigned>(g.clientHeight));
    settings.SetListWidth(g.listWidth);
    settings.SetPaneWidth(g.paneWidth);
    settings.SetMaximizedPaneWidth(g.maximizedPaneWidth);
    settings.SetMaximized(g.maximized);
}

double PaneShare(const Widths& widths) {
    return static_cast<double>(widths.pane) / (widths.list + widths.pane + kSplitterGap);
}

Widths SharedWidths(int clientWidth, double share, bool paneShown) {
    const int pane = std::max(kMinPaneWidth, static_cast<int>(std::lround(clientWidth * share)));
    return FitWidths(clientWidth, pane, paneShown);
}

Placement PlaceWindow(const SavedGeometry& saved, const Rect& available, const Decorations& decorations) {
    Placement p;
    const int maxWidth = std::max(1, available.width - decorations.Width());
    const int maxHeight = std::max(1, available.height - decorations.Height());
    const bool first = !saved.x || !saved.y;
    double share = kFirstPaneShare;
    if (first) {
        p.client = {static_cast<int>(available.width * kFirstWindowShare) - decorations.Width(),
                    static_cast<int>(available.height * kFirstWindowShare) - decorations.Height()};
    } else {
        const Widths stored{saved.listWidth, saved.paneWidth};
        share = PaneShare(stored);
        p.client = {saved.listWidth + (saved.paneShown ? saved.paneWidth + kSplitterGap : 0), saved.clientHeight};
    }
    // Never larger than the desktop, even when the minimum size says otherwise.
    const Size minimum = MinimumTrackSize(0, saved.paneShown);
    p.client.width = Clamp(p.client.width, std::min(minimum.width, maxWidth), maxWidth);
    p.client.height = Clamp(p.client.height, std::min(minimum.height, maxHeight), maxHeight);
    const int storedWidth = saved.listWidth + saved.paneWidth + kSplitterGap;
    if (!first && saved.paneShown && p.client.width == storedWidth)
        p.widths = {saved.listWidth, saved.paneWidth};  // exactly as it was left
    else
        p.widths = SharedWidths(p.client.width, share, saved.paneShown);
    // A hidden pane keeps the width it will come back with.
    if (!saved.paneShown && !first) p.widths.pane = saved.paneWidth;
    p.frame = {0, 0, p.client.width + decorations.Width(), p.client.height + decorations.Height()};
    if (first) {
        p.frame.x = available.x + (available.width - p.frame.width) / 2;
        p.frame.y = available.y + (available.height - p.frame.height) / 2;
    } else {
        p.frame.x = *saved.x;
        p.frame.y = *saved.y;
    }
    p.frame = PushOnto(p.frame, available);
    p.maximized = saved.maximized;
    return p;
}

void RememberRestored(SavedGeometry& g, const Rect& frame, const Size& client, const Widths& widths,
                      bool paneShown) {
    g.x = frame.x;
    g.y = frame.y;
    g.clientHeight = client.height;
    g.paneShown = paneShown;
    if (paneShown) {
        g.listWidth = widths.list;
        g.paneWidth = widths.pane;
    } else {
        g.listWidth = client.width;  // the pane keeps the width it comes back with
    }
}

PaneToggle TogglePane(int clientWidth, const Widths& widths, bool showPane) {
    PaneToggle t;
    const int change = widths.pane + kSplitterGap;
    t.clientWidth = showPane ? clientWidth + change : std::max(kMinListWidth, clientWidth - change);
    t.widths = showPane ? Widths{t.clientWidth - change, widths.pane} : Widths{t.clientWidth, widths.pane};
    const Size before = MinimumTrackSize(0, !showPane);
    const Size after = MinimumTrackSize(0, showPane);
    t.minimumBefore = {std::min(before.width, after.width), std::min(before.height, after.height)};
    t.minimumAfter = after;
    return t;
}

}  // namespace sc
