#pragma once
// The picture grid ("Bilderliste"): the texture list's rows as cells of 90
// pixels with the preview and three lines of text, in rows that fill the
// width. It has no data of its own: it draws the shared model in the list's
// order and reads and writes the list's selection model. Thumbnails are made
// when a cell is first drawn and kept until the entry's preview changes, so
// a large library opens at once and decodes only what is seen. The cells
// zoom in steps (Strg+Plus, Strg+Minus, Strg+wheel); the larger pictures are
// scaled from the stored preview and kept in a bounded cache per step.
//
// Dragging over cells selects a range. Entries are dragged out of the grid
// by pressing Alt before dragging, or by carrying a range selection out of
// the grid's left or right edge.
#include <QCache>
#include <QElapsedTimer>
#include <QHash>
#include <QListView>
#include <QPixmap>
#include <QTimer>

#include <array>

#include "ui/GridGeometry.h"
#include "ui/GridSelection.h"

namespace sc {

class TextureEntry;

class PictureGridView : public QListView, private SelectableItems {
    Q_OBJECT
public:
    explicit PictureGridView(QWidget* parent = nullptr);

    GridGeometry Geometry() const;
    int CellHeight() const { return cellHeight_; }
    int CellWidth() const { return GridCellSize::Width(zoomStep_); }

    // The zoom step, 0 (the classic 90-pixel cell) to GridCellSize::kSteps - 1.
    int ZoomStep() const { return zoomStep_; }
    // Sets the step (limited to the range); the focused cell stays in view.
    void SetZoomStep(int step);
    void ZoomIn() { SetZoomStep(zoomStep_ + 1); }
    void ZoomOut() { SetZoomStep(zoomStep_ - 1); }
    // Scrolls to a row: with `minimal` just enough to show a partly visible
    // cell, otherwise its row to the top.
    void ScrollToItem(int row, bool minimal);

    // Forgets an entry's thumbnail (its preview changed or it goes away).
    void DropThumbnail(const TextureEntry* entry);
    void ClearThumbnails();
    // How many thumbnails were decoded so far, and how many shown cells
    // still wait for theirs.
    int DecodedCount() const { return decoded_; }
    int WaitingCount() const { return static_cast<int>(waiting_.size()); }

    QModelIndex indexAt(const QPoint& point) const override;
    QRect visualRect(const QModelIndex& index) const override;

signals:
    // A cell was double-clicked: render the current entry's preview.
    void renderRequested();
    // The left button went down in the grid (true) or up again (false).
    void mouseHeld(bool held);
    // The zoom step changed (the window keeps it in the settings).
    void zoomStepChanged(int step);

protected:
    void scrollTo(const QModelIndex& index, ScrollHint hint) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override { return 0; }
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

public:
    void doItemsLayout() override;

protected:

private:
    // SelectableItems over the shared selection model.
    int Count() const override;
    bool IsSelected(int item) const override;
    int Focus() const override;
    void SetFocus(int item) override;
    void SetSelected(int item, bool selected) override;
    void SelectRange(int first, int last, bool clearOthers) override;

    // What a cell shows that is costly to make: the thumbnail and the
    // shortened label lines.
    struct CellCache {
        QPixmap thumbnail;
        bool thumbnailMade = false;
        std::array<QString, 3> lines;
        bool linesMade = false;
        int linesStep = 0;
    };
    // Where the cells were laid out last, so that a new layout can keep the
    // focused cell (or the first visible one) where it was.
    struct LaidOut {
        int width = 0, height = 0, cellWidth = 0, cellHeight = 0, scroll = 0;
    };

    void UpdateFonts();
    void PaintCell(QPainter& painter, int row, const GridRect& slot, const GridRect& cell);
    void PaintText(QPainter& painter, const TextureEntry& entry, CellCache& cache, const GridRect& cell,
                   bool selected);
    CellCache& Cache(const TextureEntry& entry);
    void MakeThumbnail(const TextureEntry& entry, CellCache& cache);
    // The entry's picture at the current step; null when none was made yet
    // (`made` false) or the preview does not decode.
    const QPixmap* Thumbnail(const TextureEntry& entry, CellCache& cache, bool decodeNow, bool& made);
    QPixmap ScaledPreview(const TextureEntry& entry, int side);
    int ScrollKeepingPlace(const GridGeometry& before, int scroll, const GridGeometry& after) const;
    void StartDragOut();
    QString ToolTipAt(const QPoint& pos) const;
    void DecodeWaiting();
    QItemSelection RowRange(int first, int last) const;

    QFont boldFont_;
    QFont normalFont_;
    int cellHeight_ = 0;
    GridSelection selection_;
    QHash<const TextureEntry*, CellCache> cells_;
    int zoomStep_ = GridCellSize::kDefaultStep;
    // The larger steps' pictures, bounded: they are many times the classic size.
    std::array<QCache<const TextureEntry*, QPixmap>, GridCellSize::kSteps> zoomed_;
    LaidOut laidOut_;
    int wheelAngle_ = 0;
    int decoded_ = 0;
    // A paint decodes for a limited time; cells left without their picture
    // wait for the next turn of the event loop.
    QElapsedTimer paintClock_;
    std::vector<int> waiting_;
    QTimer decodeTimer_;
    std::array<int, 2> lineHeights_{};
    bool dragOutPending_ = false;  // a press on the selection becomes a drag out once the mouse moves
    bool clickPending_ = false;    // ... and a release without a drag selects the pressed cell alone
    bool dragOutDone_ = false;
    QPoint pressPosition_;
    int pressedRow_ = -1;
};

}  // namespace sc
