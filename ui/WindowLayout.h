#pragma once
// Where the main window's parts lie: the list area on the left, the preview
// pane on the right with the splitter between them, the minimum window size,
// the splitter's tracker limits and the pair of widths kept per window state.
// All values are logical pixels of the window's client area.

namespace sc {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    bool Contains(int px, int py) const { return px >= x && px < Right() && py >= y && py < Bottom(); }
    bool operator==(const Rect&) const = default;
};

inline constexpr int kMinListWidth = 320;
inline constexpr int kMinPaneWidth = 120;
inline constexpr int kPictureSize = 120;
inline constexpr int kSmallPictureSize = 60;
inline constexpr int kMinWindowHeight = 400;
inline constexpr int kLargestPicture = 512;

// The side of the large picture area in a pane of this size: as wide as the
// pane, at most half its height and kLargestPicture, in steps of 32; 0 when
// that is no larger than the normal picture.
int LargePictureSide(int paneWidth, int paneHeight);

// Smallest size the user may give the window.
struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};
Size MinimumTrackSize(int frameWidth, bool paneShown);

// The widths in effect: without the pane the list takes the whole width;
// with it the list keeps at least 320 and the pane gets the rest but 8.
struct Widths {
    int list = 0;
    int pane = 0;
    bool operator==(const Widths&) const = default;
};
Widths FitWidths(int clientWidth, int paneWidth, bool paneShown);

// What the layout needs besides the widths.
struct LayoutInput {
    int clientWidth = 0, clientHeight = 0;
    int toolbarHeight = 0, statusHeight = 0;
    int paneWidth = kMinPaneWidth;  // the wanted pane width of the current window state
    bool paneShown = true;
    bool smallPicture = false;
    bool largePicture = false;  // the picture grows with the pane (up to kLargestPicture)
    int entryBarHeight = 0;
    int arrowWidth = 0, buttonHeight = 0;
    int headingHeight = 0;  // the only-selected heading, 0 when not shown
};

struct Layout {
    Widths widths;
    Rect listArea, entryBar, splitter;
    Rect picture, arrowButton, showButton, textBox;  // of the pane, when shown
};
Layout ComputeLayout(const LayoutInput& in);

// The tracker's left edge while the splitter is dragged: mouse x − 3, kept
// between 319 and client width − 127.
int TrackerLeft(int mouseX, int clientWidth);
// The widths stored when the splitter is let go at `trackerLeft`.
Widths ReleasedWidths(int trackerLeft, int clientWidth);

// The list and pane widths of the restored and the maximized window.
class PaneWidths {
public:
    PaneWidths(int normalList, int normalPane, int maximizedPane)
        : normal_{normalList, normalPane}, maximized_{normalList, maximizedPane} {}
    Widths& For(bool maximized) { return maximized ? maximized_ : normal_; }
    const Widths& For(bool maximized) const { return maximized ? maximized_ : normal_; }

private:
    Widths normal_;
    Widths maximized_;
};

}  // namespace sc
