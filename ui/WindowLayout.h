#pragma once
// Where the main window's parts lie: the list area on the left, the preview
// pane on the right with the splitter between them, the minimum window size,
// the splitter's tracker limits and the pair of widths kept per window state;
// and where the window itself goes on the desktop: its first size, the
// restored size and position, the pane that grows with the window, and the
// pane toggle. All values are logical pixels.
#include <optional>

namespace sc {

class Settings;

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

// The share of the pane's height the large picture's band takes above the
// buttons and the declaration box, until the user drags the split between them.
inline constexpr double kDefaultPictureShare = 0.62;
inline constexpr double kMinPictureShare = 0.15;
inline constexpr double kMaxPictureShare = 0.85;
// The declaration box keeps at least this height under a large picture.
inline constexpr int kMinTextBoxHeight = 64;

// The side of the large picture area in a pane of this size: as wide as the
// pane, as high as `pictureShare` of its height (the buttons and the smallest
// declaration box `below` it still fit), at most kLargestPicture, in steps of
// 32; 0 when that is no larger than the normal picture.
int LargePictureSide(int paneWidth, int paneHeight, double pictureShare = kDefaultPictureShare, int below = 0);
// The picture share for a split between picture and declaration box dragged
// to `bandHeight` pixels in a pane `paneHeight` high.
double PictureShareAt(int bandHeight, int paneHeight);

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
    double pictureShare = kDefaultPictureShare;  // the large picture's share of the pane's height
};

struct Layout {
    Widths widths;
    Rect listArea, entryBar, splitter;
    Rect picture, arrowButton, showButton, textBox;  // of the pane, when shown
    // The split between the large picture and the declaration box (empty while the picture is not large).
    Rect pictureSplit;
    int largeSide = 0;  // the side a large picture has in this pane (0: none fits)
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

// ---- The window on the desktop ----

// The window manager's decorations around the client area.
struct Decorations {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return left + right; }
    int Height() const { return top + bottom; }
};

// What the settings file keeps of the window, and what its keys mean here:
// `x`, `y` = the top-left corner of the frame (decorations included), so
// moving the frame back there restores the position exactly under any
// window manager; `cy` = the client height; `NormalListWidth` and
// `NormalContentWidth` = the list and pane widths of the restored window
// as it was last seen (they add up, with the 8-pixel splitter, to its
// client width; without the pane the list width alone is that width);
// `MaximizedContentWidth` = the pane width of the maximized window;
// `Maximized`, `Content` as before. No position stored means a first start.
struct SavedGeometry {
    std::optional<int> x, y;
    int clientHeight = kMinWindowHeight;
    int listWidth = kMinListWidth;
    int paneWidth = kMinPaneWidth;
    int maximizedPaneWidth = kMinPaneWidth;
    bool paneShown = true;
    bool maximized = false;
};
SavedGeometry SavedGeometryOf(const Settings& settings);
// Writes `geometry` into the settings' MainWindow and Display/Content fields.
void StoreGeometry(const SavedGeometry& geometry, Settings& settings);

// The share of the client width the pane takes; it grows and shrinks with
// the window in this proportion until the user drags the splitter.
double PaneShare(const Widths& widths);
// The widths for `clientWidth` at `share`: the pane at least 120, the list
// at least 320, the splitter's 8 pixels between them.
Widths SharedWidths(int clientWidth, double share, bool paneShown);

// Where the window opens on the desktop area `available` (the screen
// without panels).
struct Placement {
    Rect frame;        // the outer frame: move() to frame.x, frame.y
    Size client;       // resize() to this
    Widths widths;     // list and pane
    bool maximized = false;
};
// A first start (no stored position) opens about two thirds of `available`,
// centred, with a pane about two fifths wide; a stored window comes back
// with its size and frame position. Never larger than `available`, and
// pushed back onto it when it lies outside.
Placement PlaceWindow(const SavedGeometry& saved, const Rect& available, const Decorations& decorations);

// What a move or resize of the restored (neither maximized nor minimized)
// window leaves in `geometry`: frame position, client height, and the
// widths, so that the window's size is remembered however it was changed.
void RememberRestored(SavedGeometry& geometry, const Rect& frame, const Size& client, const Widths& widths,
                      bool paneShown);

// Toggling the pane of the restored window: its client width changes by
// the pane and the splitter, the list keeps its width, and showing it again
// gives exactly the width it had. The minimum size must be lowered before
// the window shrinks and raised only after it has grown, else the window
// manager clamps the resize.
struct PaneToggle {
    int clientWidth = 0;
    Widths widths;
    Size minimumBefore;  // set before resizing
    Size minimumAfter;   // set after resizing
};
PaneToggle TogglePane(int clientWidth, const Widths& widths, bool showPane);

}  // namespace sc
