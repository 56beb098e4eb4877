#include "gui/PictureGridView.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <optional>

#include "gui/EntryIcons.h"
#include "gui/PictureGridAccessible.h"
#include "gui/PreviewPicture.h"
#include "gui/TextureListModel.h"
#include "gui/Translation.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "ui/TextFit.h"

namespace sc {
namespace {

// The pictures of the larger zoom steps kept per step, in kilobytes.
constexpr int kZoomedCacheKb = 64 * 1024;
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
    setAccessibleName(QTr("Picture list"));
    // Dragging the thumb redraws once, when it is let go.
    verticalScrollBar()->setTracking(false);
    UpdateFonts();
    decodeTimer_.setSingleShot(true);
    decodeTimer_.setInterval(0);
    connect(&decodeTimer_, &QTimer::timeout, this, &PictureGridView::DecodeWaiting);
    for (auto& cache : zoomed_) cache.setMaxCost(kZoomedCacheKb);
}

void PictureGridView::UpdateFonts() {
    normalFont_ = QApplication::font("QStatusBar");
    boldFont_ = normalFont_;
    boldFont_.setWeight(QFont::Bold);
    const auto lineHeight = [](const QFont& font) { return QFontMetrics(font).boundingRect(QStringLiteral("Xg")).height(); };
    lineHeights_ = {lineHeight(boldFont_), lineHeight(normalFont_)};
    cellHeight_ = GridCellSize::Height(zoomStep_, lineHeights_[0], lineHeights_[1]);
    for (CellCache& cache : cells_) cache.linesMade = false;
    setGridSize(QSize(CellWidth(), cellHeight_));
}

void PictureGridView::SetZoomStep(int step) {
    step = GridCellSize::ClampStep(step);
    if (step == zoomStep_) return;
    zoomStep_ = step;
    waiting_.clear();
    UpdateFonts();
    updateGeometries();
    viewport()->update();
    emit zoomStepChanged(step);
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
    return GridGeometry(count, viewport()->width(), viewport()->height(), cellHeight_, CellWidth());
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

// The place of the focused cell when it was in view, else of the first
// visible one, carried over to a new layout.
int PictureGridView::ScrollKeepingPlace(const GridGeometry& before, int scroll, const GridGeometry& after) const {
    const int focus = Focus();
    int item = before.FirstVisible(scroll);
    if (focus >= 0 && focus >= item && focus <= before.LastVisible(scroll)) {
        const GridRect cell = before.CellRect(focus, scroll);
        const int offset = std::clamp(cell.y, 0, std::max(0, viewport()->height() - after.CellHeight()));
        return after.ScrollToRowOffset(focus, offset);
    }
    if (item < 0) return after.ClampScroll(scroll);
    return after.ScrollToRowOffset(item, before.CellRect(item, scroll).y);
}

void PictureGridView::updateGeometries() {
    const GridGeometry g = Geometry();
    QScrollBar* bar = verticalScrollBar();
    const LaidOut now{viewport()->width(), viewport()->height(), CellWidth(), cellHeight_, bar->value()};
    const bool relaid = laidOut_.width > 0 && (now.width != laidOut_.width || now.height != laidOut_.height ||
                                               now.cellWidth != laidOut_.cellWidth || now.cellHeight != laidOut_.cellHeight);
    int scroll = bar->value();
    if (relaid) {
        const GridGeometry before(g.ItemCount(), laidOut_.width, laidOut_.height, laidOut_.cellHeight, laidOut_.cellWidth);
        scroll = ScrollKeepingPlace(before, laidOut_.scroll, g);
    }
    bar->setRange(0, g.MaxScroll());
    if (relaid) bar->setValue(scroll);
    bar->setPageStep(std::max(1, viewport()->height()));
    bar->setSingleStep(std::max(1, cellHeight_ / 2));
    horizontalScrollBar()->setRange(0, 0);
    laidOut_ = {now.width, now.height, now.cellWidth, now.cellHeight, bar->value()};
    QAbstractItemView::updateGeometries();
}

void PictureGridView::scrollContentsBy(int, int dy) {
    laidOut_.scroll = verticalOffset();
    viewport()->scroll(0, dy);
}

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

void PictureGridView::DropThumbnail(const TextureEntry* entry) {
    cells_.remove(entry);
    for (auto& cache : zoomed_) cache.remove(entry);
}

void PictureGridView::ClearThumbnails() {
    cells_.clear();
    for (auto& cache : zoomed_) cache.clear();
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

// Made at the screen's density, so high-density screens show it sharp.
QPixmap PictureGridView::ScaledPreview(const TextureEntry& entry, int side) {
    const QImage image = PreviewToImage(entry.preview);
    ++decoded_;
    if (image.isNull()) return {};
    const qreal ratio = devicePixelRatioF();
    const int pixels = qRound(side * ratio);
    QPixmap pixmap = QPixmap::fromImage(
        image.size() == QSize(pixels, pixels) ? image
                                              : image.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

void PictureGridView::MakeThumbnail(const TextureEntry& entry, CellCache& cache) {
    if (zoomStep_ != GridCellSize::kDefaultStep) {
        QPixmap* pixmap = new QPixmap(ScaledPreview(entry, GridCellSize::PictureSide(zoomStep_)));
        const qsizetype bytes = static_cast<qsizetype>(pixmap->width()) * pixmap->height() * 4;
        zoomed_[static_cast<size_t>(zoomStep_)].insert(&entry, pixmap, static_cast<int>(std::max<qsizetype>(1, bytes / 1024)));
        return;
    }
    cache.thumbnail = ScaledPreview(entry, GridCellSize::PictureSide(zoomStep_));
    cache.thumbnailMade = true;
}

const QPixmap* PictureGridView::Thumbnail(const TextureEntry& entry, CellCache& cache, bool decodeNow, bool& made) {
    auto find = [&]() -> const QPixmap* {
        if (zoomStep_ == GridCellSize::kDefaultStep) return cache.thumbnailMade ? &cache.thumbnail : nullptr;
        return zoomed_[static_cast<size_t>(zoomStep_)].object(&entry);
    };
    const QPixmap* pixmap = find();
    if (!pixmap && decodeNow) {
        MakeThumbnail(entry, cache);
        pixmap = find();
    }
    made = pixmap != nullptr;
    return pixmap && !pixmap->isNull() ? pixmap : nullptr;
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
        bool made = false;
        Thumbnail(*e, Cache(*e), true, made);
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
        const GridRect slot = g.CellRect(row, scroll);
        if (ToQRect(slot).intersects(event->rect())) PaintCell(painter, row, slot, g.DrawnCell(row, scroll));
    }
    if (!waiting_.empty()) decodeTimer_.start();
}

// The classic cell's layout with the picture's side P in place of 60:
// margins of 15 beside the picture, 10 above it and the text from P + 12 down.
void PictureGridView::PaintCell(QPainter& p, int row, const GridRect& slot, const GridRect& c) {
    const TextureEntry* entry = TextureListModel::EntryOf(model()->index(row, 0, rootIndex()));
    if (!entry) return;
    const QPalette& pal = palette();
    const QColor face = pal.color(QPalette::Button), light = pal.color(QPalette::Light), shadow = pal.color(QPalette::Dark);
    const bool selected = IsSelected(row);
    const QColor around = selected ? pal.color(QPalette::Highlight) : face;
    const int x = c.x, y = c.y, h = c.height, w = c.width, side = GridCellSize::PictureSide(zoomStep_);
    // Border (and the column's share beside the cell), then the selection
    // colour around the picture and under the text.
    p.fillRect(ToQRect(slot), face);
    p.fillRect(x + 3, y + 3, 11, h - 6, around);
    p.fillRect(x + side + 16, y + 3, 11, h - 6, around);
    p.fillRect(x + 3, y + 3, w - 6, 6, around);
    p.fillRect(x + 3, y + side + 11, w - 6, h - 3 - side - 11, around);
    Frame(p, QRect(x + 2, y + 2, w - 4, h - 4), light, shadow);
    Frame(p, QRect(x + 14, y + 9, side + 2, side + 2), shadow, light);
    p.fillRect(x + 15, y + 10, side, side, face);
    CellCache& cache = Cache(*entry);
    if (entry->previewFaulty) {
        const QPixmap& faulty = FaultyPicture();
        const QSize size = faulty.deviceIndependentSize().toSize();
        p.drawPixmap(x + 15 + (side - size.width()) / 2, y + 10 + (side - size.height()) / 2, faulty);
    } else if (!entry->preview.IsEmpty()) {
        bool made = false;
        const QPixmap* picture = Thumbnail(*entry, cache, paintClock_.elapsed() < kDecodeBudgetMs, made);
        if (!made) waiting_.push_back(row);
        else if (picture) p.drawPixmap(QRect(x + 15, y + 10, side, side), *picture);
    }
    PaintText(p, *entry, cache, c, selected);
    if (row == Focus()) {
        p.setPen(pal.color(QPalette::HighlightedText));
        p.setBrush(Qt::NoBrush);
        p.drawRect(x + 5, y + 5, w - 10, h - 10);
    }
}

void PictureGridView::PaintText(QPainter& p, const TextureEntry& entry, CellCache& cache, const GridRect& c,
                                bool selected) {
    const QFont* fonts[] = {&boldFont_, &normalFont_, &normalFont_};
    if (!cache.linesMade || cache.linesStep != zoomStep_) {
        const std::string texts[] = {entry.name, entry.sourceFile ? entry.sourceFile->fileName : std::string(),
                                     entry.category};
        for (size_t i = 0; i < 3; ++i) {
            const QFontMetrics metrics(*fonts[i]);
            const auto width = [&metrics](std::string_view s) {
                return metrics.horizontalAdvance(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
            };
            cache.lines[i] = QString::fromStdString(ShortenToWidth(texts[i], width, GridCellSize::LabelLimit(zoomStep_)));
        }
        cache.linesMade = true;
        cache.linesStep = zoomStep_;
    }
    p.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::ButtonText));
    int top = c.y + GridCellSize::PictureSide(zoomStep_) + 12;
    for (size_t i = 0; i < 3; ++i) {
        const int height = lineHeights_[i == 0 ? 0 : 1];
        p.setFont(*fonts[i]);
        p.drawText(QRect(c.x, top, c.width, height), Qt::AlignHCenter | Qt::AlignTop, cache.lines[i]);
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
    dragOutDone_ = false;
    dragOutPending_ = false;
    if (row < 0) return;
    ScrollToItem(row, true);
    const Qt::KeyboardModifiers mods = event->modifiers();
    // A selected cell drags the selection out, as in a file manager (Alt is
    // the window manager's); one that is not part of it starts a range. Alt
    // still drags: an unselected cell joins alone, as a plain click would make it.
    const bool plain = !(mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if ((mods & Qt::AltModifier) || (plain && IsSelected(row))) {
        dragOutPending_ = true;
        clickPending_ = plain;
        if (IsSelected(row)) SetFocus(row);
        else selection_.Press(row, false, false);
    } else {
        selection_.Press(row, mods & Qt::ShiftModifier, mods & Qt::ControlModifier);
    }
    viewport()->update();
}

void PictureGridView::StartDragOut() {
    dragOutPending_ = false;
    dragOutDone_ = true;
    // The drag takes the mouse: the button comes up where the grid no longer sees it.
    selection_.Release();
    emit mouseHeld(false);
    viewport()->update();
    if (selectionModel()->hasSelection()) startDrag(Qt::CopyAction);
}

void PictureGridView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || dragOutDone_) return;
    const QPoint pos = event->position().toPoint();
    if (dragOutPending_) {
        if ((pos - pressPosition_).manhattanLength() >= QApplication::startDragDistance()) StartDragOut();
        return;
    }
    // Carried out sideways, the range selected so far leaves the grid; above
    // and below, the grid scrolls on selecting.
    if (pressedRow_ >= 0 && (pos.x() < 0 || pos.x() >= viewport()->width())) {
        StartDragOut();
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
    // A selected cell pressed and let go without a drag: a plain click, that cell alone.
    if (dragOutPending_ && clickPending_ && pressedRow_ >= 0) selection_.Press(pressedRow_, false, false);
    dragOutPending_ = false;
    clickPending_ = false;
    if (dragOutDone_) return;
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
    // Strg+Plus also comes as Strg+= on layouts where Plus needs Shift.
    if (event->modifiers() & Qt::ControlModifier) {
        const int key = event->key();
        if (key == Qt::Key_Plus || key == Qt::Key_Equal || event->matches(QKeySequence::ZoomIn)) {
            ZoomIn();
            return;
        }
        if (key == Qt::Key_Minus || event->matches(QKeySequence::ZoomOut)) {
            ZoomOut();
            return;
        }
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

namespace sc {

void PictureGridView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        wheelAngle_ = 0;
        QListView::wheelEvent(event);
        return;
    }
    // Fine-grained wheels and touchpads send small steps: a zoom step per notch.
    wheelAngle_ += event->angleDelta().y();
    while (wheelAngle_ >= 120) {
        wheelAngle_ -= 120;
        ZoomIn();
    }
    while (wheelAngle_ <= -120) {
        wheelAngle_ += 120;
        ZoomOut();
    }
    event->accept();
}

QString PictureGridView::ToolTipAt(const QPoint& pos) const {
    const int row = Geometry().ItemAt(pos.x(), pos.y(), verticalOffset());
    const TextureEntry* entry = row < 0 ? nullptr : TextureListModel::EntryOf(model()->index(row, 0, rootIndex()));
    if (!entry) return {};
    QString text = QString::fromStdString(entry->name);
    if (entry->sourceFile) text += QLatin1Char('\n') + QString::fromStdString(entry->sourceFile->path);
    if (!entry->category.empty()) text += QLatin1Char('\n') + QString::fromStdString(entry->category);
    return text;
}

// Every cell names its entry and file in full: the labels are shortened.
bool PictureGridView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip && model()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = ToolTipAt(help->pos());
        if (text.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(help->globalPos(), text, viewport(), visualRect(indexAt(help->pos())));
        return true;
    }
    return QListView::viewportEvent(event);
}

}  // namespace sc
