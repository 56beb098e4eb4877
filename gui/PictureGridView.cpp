#include "gui/PictureGridView.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <optional>

#include "gui/EntryIcons.h"
#include "gui/PictureGridAccessible.h"
#include "gui/PreviewPicture.h"
#include "gui/TextureListModel.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "ui/TextFit.h"

namespace sc {
namespace {

constexpr int kPictureSize = 60;
// Decoding time one paint (or one turn of the event loop) may spend, so
// that scrolling stays smooth.
constexpr int kDecodeBudgetMs = 12;

QRect ToQRect(const GridRect& r) { return {r.x, r.y, r.width, r.height}; }

// A frame one pixel wide: `topLeft` on the top and left edges, `bottomRight` on the others.
void Frame(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    p.fillRect(r.left(), r.top(), r.width(), 1, topLeft);
    p.fillRect(r.left(), r.top(), 1, r.height(), topLeft);
    p.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
    p.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
}

std::optional<GridKey> KeyOf(int key) {
    switch (key) {
    case Qt::Key_Left: return GridKey::Left;
    case Qt::Key_Right: return GridKey::Right;
    case Qt::Key_Up: return GridKey::Up;
    case Qt::Key_Down: return GridKey::Down;
    case Qt::Key_Home: return GridKey::Home;
    case Qt::Key_End: return GridKey::End;
    case Qt::Key_PageUp: return GridKey::PageUp;
    case Qt::Key_PageDown: return GridKey::PageDown;
    default: return std::nullopt;
    }
}

// Installs the grid's accessibility factory once, before the first grid is
// built: Qt caches a widget's interface the first time anything asks for it,
// which may happen while the widget is being constructed.
QWidget* WithGridAccessibility(QWidget* parent) {
    static const bool installed = (QAccessible::installFactory(&PictureGridAccessible::Factory), true);
    (void)installed;
    return parent;
}

}  // namespace

PictureGridView::PictureGridView(QWidget* parent) : QListView(WithGridAccessibility(parent)), selection_(*this) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setUniformItemSizes(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setAccessibleName(QStringLiteral("Bilderliste"));
    // Dragging the thumb redraws once, when it is let go.
    verticalScrollBar()->setTracking(false);
    UpdateFonts();
    decodeTimer_.setSingleShot(true);
    decodeTimer_.setInterval(0);
    connect(&decodeTimer_, &QTimer::timeout, this, &PictureGridView::DecodeWaiting);
}

void PictureGridView::UpdateFonts() {
    normalFont_ = QApplication::font("QStatusBar");
    boldFont_ = normalFont_;
    boldFont_.setWeight(QFont::Bold);
    const auto lineHeight = [](const QFont& font) { return QFontMetrics(font).boundingRect(QStringLiteral("Xg")).height(); };
    lineHeights_ = {lineHeight(boldFont_), lineHeight(normalFont_)};
    cellHeight_ = GridGeometry::CellHeight(lineHeights_[0], lineHeights_[1]);
    for (CellCache& cache : cells_) cache.linesMade = false;
    setGridSize(QSize(GridGeometry::kCellWidth, cellHeight_));
}

void PictureGridView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ApplicationFontChange) {
        UpdateFonts();
        updateGeometries();
    }
    QListView::changeEvent(event);
}

GridGeometry PictureGridView::Geometry() const {
    const int count = model() ? model()->rowCount(rootIndex()) : 0;
    return GridGeometry(count, viewport()->width(), viewport()->height(), cellHeight_);
}

int PictureGridView::verticalOffset() const { return verticalScrollBar()->value(); }

QRect PictureGridView::visualRect(const QModelIndex& index) const {
    if (!index.isValid()) return {};
    return ToQRect(Geometry().CellRect(index.row(), verticalOffset()));
}

QModelIndex PictureGridView::indexAt(const QPoint& point) const {
    const int row = Geometry().ItemAt(point.x(), point.y(), verticalOffset());
    return row < 0 ? QModelIndex() : model()->index(row, 0, rootIndex());
}

void PictureGridView::ScrollToItem(int row, bool minimal) {
    const GridGeometry g = Geometry();
    // Rows may have arrived since the last layout: the range must hold them first.
    if (verticalScrollBar()->maximum() != g.MaxScroll()) updateGeometries();
    const int target = g.ScrollToItem(row, verticalOffset(), minimal);
    verticalScrollBar()->setValue(target);
}

void PictureGridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (index.isValid()) ScrollToItem(index.row(), hint == EnsureVisible);
}

QModelIndex PictureGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    static const std::pair<CursorAction, GridKey> keys[] = {
        {MoveLeft, GridKey::Left}, {MoveRight, GridKey::Right},    {MoveUp, GridKey::Up},
        {MoveDown, GridKey::Down}, {MoveHome, GridKey::Home},      {MoveEnd, GridKey::End},
        {MovePageUp, GridKey::PageUp}, {MovePageDown, GridKey::PageDown}, {MovePrevious, GridKey::Left},
        {MoveNext, GridKey::Right}};
    for (const auto& [cursor, key] : keys)
        if (cursor == action) {
            const int row = Geometry().Walk(currentIndex().row(), key);
            return row < 0 ? QModelIndex() : model()->index(row, 0, rootIndex());
        }
    return currentIndex();
}

QItemSelection PictureGridView::RowRange(int first, int last) const {
    const int lastColumn = std::max(0, model()->columnCount(rootIndex()) - 1);
    return QItemSelection(model()->index(std::min(first, last), 0, rootIndex()),
                          model()->index(std::max(first, last), lastColumn, rootIndex()));
}

void PictureGridView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) {
    const GridGeometry g = Geometry();
    QItemSelection selection;
    for (int row = g.FirstVisible(verticalOffset()); row >= 0 && row <= g.LastVisible(verticalOffset()); ++row)
        if (ToQRect(g.CellRect(row, verticalOffset())).intersects(rect)) selection.merge(RowRange(row, row), QItemSelectionModel::Select);
    selectionModel()->select(selection, flags);
}

QRegion PictureGridView::visualRegionForSelection(const QItemSelection& selection) const {
    const GridGeometry g = Geometry();
    const int first = g.FirstVisible(verticalOffset()), last = g.LastVisible(verticalOffset());
    QRegion region;
    for (const QItemSelectionRange& range : selection)
        for (int row = std::max(range.top(), first); row >= 0 && row <= std::min(range.bottom(), last); ++row)
            region += ToQRect(g.CellRect(row, verticalOffset()));
    return region;
}

// The cells are laid out by GridGeometry; the list view's own pass over
// every item (a noticeable pause with 20,000 entries) is not needed.
void PictureGridView::doItemsLayout() { QAbstractItemView::doItemsLayout(); }

// A screen reader follows the focused cell; its child index is the row.
void PictureGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
    QAbstractItemView::currentChanged(current, previous);
}

void PictureGridView::updateGeometries() {
    const GridGeometry g = Geometry();
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, g.MaxScroll());
    bar->setPageStep(std::max(1, viewport()->height()));
    bar->setSingleStep(std::max(1, cellHeight_ / 2));
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void PictureGridView::scrollContentsBy(int, int dy) { viewport()->scroll(0, dy); }

// Selection over the shared selection model: whole rows, so the texture
// list shows the same selection.
int PictureGridView::Count() const { return model() ? model()->rowCount(rootIndex()) : 0; }
bool PictureGridView::IsSelected(int item) const { return selectionModel()->isSelected(model()->index(item, 0, rootIndex())); }
int PictureGridView::Focus() const { return currentIndex().isValid() ? currentIndex().row() : -1; }
void PictureGridView::SetFocus(int item) {
    selectionModel()->setCurrentIndex(model()->index(item, 0, rootIndex()), QItemSelectionModel::NoUpdate);
}
void PictureGridView::SetSelected(int item, bool selected) {
    selectionModel()->select(RowRange(item, item), selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}
void PictureGridView::SelectRange(int first, int last, bool clearOthers) {
    selectionModel()->select(RowRange(first, last),
                             clearOthers ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select);
}

void PictureGridView::DropThumbnail(const TextureEntry* entry) { cells_.remove(entry); }

void PictureGridView::ClearThumbnails() {
    cells_.clear();
    waiting_.clear();
}

void PictureGridView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
    // A changed name, file or category needs its label shortened again.
    for (int row = topLeft.row(); row >= 0 && row <= bottomRight.row(); ++row)
        if (const TextureEntry* e = TextureListModel::EntryOf(model()->index(row, 0, rootIndex())))
            if (const auto it = cells_.find(e); it != cells_.end()) it->linesMade = false;
    QListView::dataChanged(topLeft, bottomRight, roles);
}

PictureGridView::CellCache& PictureGridView::Cache(const TextureEntry& entry) { return cells_[&entry]; }

void PictureGridView::MakeThumbnail(const TextureEntry& entry, CellCache& cache) {
    const QImage image = PreviewToImage(entry.preview);
    ++decoded_;
    cache.thumbnailMade = true;
    if (image.isNull()) return;
    // Made at the screen's density, so high-density screens show it sharp.
    const qreal ratio = devicePixelRatioF();
    const int side = qRound(kPictureSize * ratio);
    cache.thumbnail = QPixmap::fromImage(image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    cache.thumbnail.setDevicePixelRatio(ratio);
}

void PictureGridView::DecodeWaiting() {
    QElapsedTimer clock;
    clock.start();
    const GridGeometry g = Geometry();
    const int first = g.FirstVisible(verticalOffset()), last = g.LastVisible(verticalOffset());
    std::vector<int> rows;
    rows.swap(waiting_);
    size_t i = 0;
    for (; i < rows.size() && clock.elapsed() < kDecodeBudgetMs; ++i) {
        const int row = rows[i];
        if (row < first || row > last) continue;
        const TextureEntry* e = TextureListModel::EntryOf(model()->index(row, 0, rootIndex()));
        if (!e) continue;
        CellCache& cache = Cache(*e);
        if (!cache.thumbnailMade) MakeThumbnail(*e, cache);
        viewport()->update(ToQRect(g.CellRect(row, verticalOffset())));
    }
    waiting_.insert(waiting_.end(), rows.begin() + static_cast<std::ptrdiff_t>(i), rows.end());
    if (!waiting_.empty()) decodeTimer_.start();
}

void PictureGridView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Button));
    if (!model()) return;
    paintClock_.start();
    waiting_.clear();
    const GridGeometry g = Geometry();
    const int scroll = verticalOffset();
    for (int row = g.FirstVisible(scroll); row >= 0 && row <= g.LastVisible(scroll); ++row) {
        const GridRect cell = g.CellRect(row, scroll);
        if (ToQRect(cell).intersects(event->rect())) PaintCell(painter, row, cell);
    }
    if (!waiting_.empty()) decodeTimer_.start();
}

void PictureGridView::PaintCell(QPainter& p, int row, const GridRect& c) {
    const TextureEntry* entry = TextureListModel::EntryOf(model()->index(row, 0, rootIndex()));
    if (!entry) return;
    const QPalette& pal = palette();
    const QColor face = pal.color(QPalette::Button), light = pal.color(QPalette::Light), shadow = pal.color(QPalette::Dark);
    const bool selected = IsSelected(row);
    const QColor around = selected ? pal.color(QPalette::Highlight) : face;
    const int x = c.x, y = c.y, h = c.height;
    // Border, then the selection colour around the picture and under the text.
    p.fillRect(x, y, 90, h, face);
    p.fillRect(x + 3, y + 3, 11, h - 6, around);
    p.fillRect(x + 76, y + 3, 11, h - 6, around);
    p.fillRect(x + 3, y + 3, 84, 6, around);
    p.fillRect(x + 3, y + 71, 84, h - 3 - 71, around);
    Frame(p, QRect(x + 2, y + 2, 86, h - 4), light, shadow);
    Frame(p, QRect(x + 14, y + 9, 62, 62), shadow, light);
    p.fillRect(x + 15, y + 10, kPictureSize, kPictureSize, face);
    CellCache& cache = Cache(*entry);
    if (entry->previewFaulty) {
        p.drawPixmap(x + 29, y + 24, FaultyPicture());
    } else if (!entry->preview.IsEmpty()) {
        if (!cache.thumbnailMade && paintClock_.elapsed() < kDecodeBudgetMs) MakeThumbnail(*entry, cache);
        if (!cache.thumbnailMade) waiting_.push_back(row);
        else if (!cache.thumbnail.isNull())
            p.drawPixmap(QRect(x + 15, y + 10, kPictureSize, kPictureSize), cache.thumbnail);
    }
    PaintText(p, *entry, cache, c, selected);
    if (row == Focus()) {
        p.setPen(pal.color(QPalette::HighlightedText));
        p.setBrush(Qt::NoBrush);
        p.drawRect(x + 5, y + 5, 80, h - 10);
    }
}

void PictureGridView::PaintText(QPainter& p, const TextureEntry& entry, CellCache& cache, const GridRect& c,
                                bool selected) {
    const QFont* fonts[] = {&boldFont_, &normalFont_, &normalFont_};
    if (!cache.linesMade) {
        const std::string texts[] = {entry.name, entry.sourceFile ? entry.sourceFile->fileName : std::string(),
                                     entry.category};
        for (size_t i = 0; i < 3; ++i) {
            const QFontMetrics metrics(*fonts[i]);
            const auto width = [&metrics](std::string_view s) {
                return metrics.horizontalAdvance(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
            };
            cache.lines[i] = QString::fromStdString(ShortenToWidth(texts[i], width));
        }
        cache.linesMade = true;
    }
    p.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::ButtonText));
    int top = c.y + 72;
    for (size_t i = 0; i < 3; ++i) {
        const int height = lineHeights_[i == 0 ? 0 : 1];
        p.setFont(*fonts[i]);
        p.drawText(QRect(c.x, top, GridGeometry::kCellWidth, height), Qt::AlignHCenter | Qt::AlignTop, cache.lines[i]);
        top += height;
    }
}

void PictureGridView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    const int row = Geometry().ItemAt(pos.x(), pos.y(), verticalOffset());
    if (event->button() == Qt::RightButton) {
        if (row >= 0) {
            ScrollToItem(row, true);
            selection_.PressRight(row);
        }
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    emit mouseHeld(true);
    pressPosition_ = pos;
    pressedRow_ = row;
    if (row < 0) return;
    ScrollToItem(row, true);
    const Qt::KeyboardModifiers mods = event->modifiers();
    // A plain press on a selected cell may start dragging the selection out;
    // it becomes a plain click when the button comes up without a drag.
    dragPending_ = mods == Qt::NoModifier && IsSelected(row);
    if (dragPending_) SetFocus(row);
    else selection_.Press(row, mods & Qt::ShiftModifier, mods & Qt::ControlModifier);
    viewport()->update();
}

void PictureGridView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint pos = event->position().toPoint();
    if (dragPending_) {
        if ((pos - pressPosition_).manhattanLength() >= QApplication::startDragDistance()) {
            dragPending_ = false;
            startDrag(Qt::CopyAction);
        }
        return;
    }
    const GridGeometry g = Geometry();
    const int half = cellHeight_ / 2;
    if (pos.y() < 0) verticalScrollBar()->setValue(std::max(0, verticalOffset() - half));
    else if (pos.y() >= viewport()->height()) verticalScrollBar()->setValue(std::min(g.MaxScroll(), verticalOffset() + half));
    const int y = std::clamp(pos.y(), 0, std::max(0, viewport()->height() - 1));
    const int row = Geometry().ItemAt(pos.x(), y, verticalOffset());
    if (row >= 0) selection_.DragOver(row);
}

void PictureGridView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (dragPending_ && pressedRow_ >= 0) selection_.Press(pressedRow_, false, false);
    dragPending_ = false;
    selection_.Release();
    emit mouseHeld(false);
    viewport()->update();
}

void PictureGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid()) return;
    emit doubleClicked(index);
    emit renderRequested();
}

void PictureGridView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    const std::optional<GridKey> key = KeyOf(event->key());
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (!key || (mods & ~Qt::ShiftModifier)) {
        QListView::keyPressEvent(event);
        return;
    }
    const GridGeometry g = Geometry();
    const int from = Focus(), to = g.Walk(from, *key);
    if (to < 0) return;
    if (to != from || !IsSelected(to)) selection_.MoveTo(to, mods & Qt::ShiftModifier);
    if (*key == GridKey::PageUp || *key == GridKey::PageDown) {
        const int rows = g.PageRows() * (*key == GridKey::PageUp ? -1 : 1);
        verticalScrollBar()->setValue(g.ClampScroll(verticalOffset() + rows * cellHeight_));
    }
    ScrollToItem(to, true);
    viewport()->update();
}

}  // namespace sc
