#include "gui/EntryIcons.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

#include "library/TextureEntry.h"

namespace sc {
namespace {

// A red disc with a white cross: something went wrong with this picture.
void DrawFaulty(QPainter& p, int size) {
    p.setBrush(QColor(200, 30, 30));
    p.setPen(QPen(QColor(120, 0, 0), size / 16.0));
    p.drawEllipse(QRectF(0.5, 0.5, size - 1, size - 1));
    p.setPen(QPen(Qt::white, size / 8.0, Qt::SolidLine, Qt::RoundCap));
    const double a = size * 0.3, b = size * 0.7;
    p.drawLine(QPointF(a, a), QPointF(b, b));
    p.drawLine(QPointF(a, b), QPointF(b, a));
}

// A framed landscape: the entry has a picture.
void DrawPresent(QPainter& p) {
    p.setPen(QColor(60, 60, 60));
    p.setBrush(QColor(120, 180, 230));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 150, 60));
    p.drawPolygon(QPolygonF({QPointF(2, 13), QPointF(7, 7), QPointF(10, 10), QPointF(12, 8), QPointF(14, 13)}));
    p.setBrush(QColor(250, 210, 60));
    p.drawEllipse(QRectF(10, 4, 3, 3));
}

// An empty dashed frame: no picture yet.
void DrawMissing(QPainter& p) {
    p.setPen(QPen(QColor(110, 110, 110), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
}

// A page with a folded corner.
void DrawFile(QPainter& p) {
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(10.5, 1.5);
    page.lineTo(13.5, 4.5);
    page.lineTo(13.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(QColor(70, 70, 70));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(10.5, 1.5), QPointF(10.5, 4.5));
    p.drawLine(QPointF(10.5, 4.5), QPointF(13.5, 4.5));
    p.setPen(QColor(150, 150, 170));
    for (int y = 7; y <= 12; y += 2) p.drawLine(5, y, 11, y);
}

QPixmap Painted(int size, void (*draw)(QPainter&)) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return pixmap;
}

}  // namespace

EntryIcon PreviewIcon(const TextureEntry& entry) {
    if (entry.previewValid) return EntryIcon::Present;
    return entry.previewFaulty ? EntryIcon::Faulty : EntryIcon::Missing;
}

const QIcon& IconOf(EntryIcon icon) {
    // Kept for the whole run: pixmaps must not outlive the application object.
    static const auto* icons = new std::array<QIcon, 4>{
        QIcon(Painted(16, [](QPainter& p) { DrawFaulty(p, 16); })), QIcon(Painted(16, DrawPresent)),
        QIcon(Painted(16, DrawMissing)), QIcon(Painted(16, DrawFile))};
    return (*icons)[static_cast<size_t>(icon)];
}

const QPixmap& FaultyPicture() {
    static const auto* picture = new QPixmap(Painted(32, [](QPainter& p) { DrawFaulty(p, 32); }));
    return *picture;
}

}  // namespace sc
