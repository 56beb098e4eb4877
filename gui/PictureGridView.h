#pragma once
// The picture grid ("Bilderliste"): the texture list's rows as cells of 90
// pixels with the preview and three lines of text, in rows that fill the
// width. It has no data of its own: it draws the shared model in the list's
// order and reads and writes the list's selection model. Thumbnails are made
// when a cell is first drawn and kept until the entry's preview changes, so
// a large library opens at once and decodes only what is seen.
#include <QHash>
#include <QListView>
#include <QPixmap>

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
    // Scrolls to a row: with `minimal` just enough to show a partly visible
    // cell, otherwise its row to the top.
    void ScrollToItem(int row, bool minimal);

    // Forgets an entry's thumbnail (its preview changed or it goes away).
    void DropThumbnail(const TextureEntry* entry);
    void ClearThumbnails();
    // How many thumbnails were decoded so far.
    int DecodedCount() const { return decoded_; }

    QModelIndex indexAt(const QPoint& point) const override;
    QRect visualRect(const QModelIndex& index) const override;

signals:
    // A cell was double-clicked: render the current entry's preview.
    void renderRequested();
    // The left button went down in the grid (true) or up again (false).
    void mouseHeld(bool held);

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
    void changeEvent(QEvent* event) override;

private:
    // SelectableItems over the shared selection model.
    int Count() const override;
    bool IsSelected(int item) const override;
    int Focus() const override;
    void SetFocus(int item) override;
    void SetSelected(int item, bool selected) override;
    void SelectRange(int first, int last, bool clearOthers) override;

    void UpdateFonts();
    void PaintCell(QPainter& painter, int row, const GridRect& cell);
    void PaintText(QPainter& painter, int row, const GridRect& cell, bool selected);
    const QPixmap& Thumbnail(const TextureEntry& entry);
    QItemSelection RowRange(int first, int last) const;

    QFont boldFont_;
    QFont normalFont_;
    int cellHeight_ = 0;
    GridSelection selection_;
    QHash<const TextureEntry*, QPixmap> thumbnails_;
    int decoded_ = 0;
    bool dragPending_ = false;
    QPoint pressPosition_;
    int pressedRow_ = -1;
};

}  // namespace sc
