#include "gui/CommandIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <vector>

namespace sc {
namespace {


const QColor kInk(50, 50, 60);
const QColor kPaper(250, 250, 245);
const QColor kSwatches[] = {QColor(200, 60, 50), QColor(60, 150, 70), QColor(60, 100, 200), QColor(230, 180, 40)};

void Page(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRect(r);
}

void Lens(QPainter& p, QPointF centre, double radius) {
    p.setPen(QPen(kInk, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(radius * 0.7, radius * 0.7), centre + QPointF(radius * 1.8, radius * 1.8));
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(200, 225, 250, 200));
    p.drawEllipse(centre, radius, radius);
}

void Swatch(QPainter& p, const QRectF& r, int colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(kSwatches[colour % 4]);
    p.drawRect(r);
}

void Folder(QPainter& p) {
    p.setPen(QPen(QColor(140, 100, 20), 1.2));
    p.setBrush(QColor(240, 200, 90));
    QPainterPath path;
    path.moveTo(2, 6);
    path.lineTo(9, 6);
    path.lineTo(11, 8);
    path.lineTo(22, 8);
    path.lineTo(22, 20);
    path.lineTo(2, 20);
    path.closeSubpath();
    p.drawPath(path);
    // An arrow out of it: the list comes from here.
    p.setPen(QPen(QColor(30, 110, 40), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(12, 17), QPointF(12, 10));
    p.drawPolyline(QPolygonF({QPointF(9, 13), QPointF(12, 10), QPointF(15, 13)}));
}

void Disk(QPainter& p) {
    p.setPen(QPen(QColor(20, 40, 90), 1.2));
    p.setBrush(QColor(60, 100, 190));
    p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 4, 10, 6));
    p.setBrush(QColor(210, 210, 210));
    p.drawRect(QRectF(6, 13, 12, 7));
}

void SearchFolders(QPainter& p) {
    for (int i = 0; i < 4; ++i) Swatch(p, QRectF(2 + (i % 2) * 8, 2 + (i / 2) * 8, 7, 7), i);
    Lens(p, QPointF(14, 14), 4.5);
}

void FindText(QPainter& p) {
    Page(p, QRectF(2.5, 2.5, 14, 19));
    p.setPen(QPen(kInk, 1.2));
    for (int y = 6; y <= 18; y += 3) p.drawLine(QPointF(5, y), QPointF(14, y));
    Lens(p, QPointF(15, 13), 4.5);
}

void Overview(QPainter& p) {
    Page(p, QRectF(2.5, 1.5, 19, 21));
    for (int i = 0; i < 6; ++i) Swatch(p, QRectF(5 + (i % 2) * 8, 4 + (i / 2) * 6, 6, 4.5), i);
}

void TextureRows(QPainter& p) {
    for (int i = 0; i < 4; ++i) {
        Swatch(p, QRectF(2, 3 + i * 5, 4, 4), i);
        p.setPen(QPen(kInk, 1.6));
        p.drawLine(QPointF(8, 5 + i * 5), QPointF(22, 5 + i * 5));
    }
}

void FileTree(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.drawLine(QPointF(5, 7), QPointF(5, 20));
    for (int y : {12, 19}) p.drawLine(QPointF(5, y), QPointF(9, y));
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(QRectF(2.5, 2.5, 7, 5));
    p.setPen(QPen(kInk, 1.6));
    for (int y : {12, 19}) p.drawLine(QPointF(11, y), QPointF(22, y));
}

void PictureGrid(QPainter& p) {
    for (int i = 0; i < 9; ++i) Swatch(p, QRectF(2 + (i % 3) * 7, 2 + (i / 3) * 7, 6, 6), i);
}

void OnlySelected(QPainter& p) {
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(i == 1 ? QColor(60, 110, 210) : QColor(200, 200, 200));
        p.drawRect(QRectF(2, 3 + i * 7, 20, 5));
    }
    p.setPen(QPen(QColor(30, 140, 50), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(9, 12), QPointF(12, 16), QPointF(20, 6)}));
}

void PreviewPane(QPainter& p) {
    Page(p, QRectF(1.5, 3.5, 21, 17));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 170, 230));
    p.drawRect(QRectF(14, 4, 8, 16));
    p.setBrush(QColor(220, 120, 60));
    p.drawEllipse(QPointF(18, 9), 2.5, 2.5);
    p.setPen(QPen(kInk, 1.2));
    for (int y = 8; y <= 16; y += 4) p.drawLine(QPointF(4, y), QPointF(11, y));
}

void About(QPainter& p) {
    p.setPen(QPen(QColor(20, 60, 130), 1.2));
    p.setBrush(QColor(70, 120, 200));
    p.drawEllipse(QRectF(2, 2, 20, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 7.5), 1.6, 1.6);
    p.drawRoundedRect(QRectF(10.6, 10.5, 2.8, 8), 1, 1);
}

struct IconSource {
    Command command;
    std::vector<const char*> themeNames;  // the first one the theme has wins
    void (*draw)(QPainter&);
};

const std::vector<IconSource>& Sources() {
    static const std::vector<IconSource> sources = {
        {Command::Open, {"document-open", "document-open-symbolic"}, Folder},
        {Command::Save, {"document-save", "document-save-symbolic"}, Disk},
        {Command::SearchTextures, {"folder-saved-search", "system-search", "system-search-symbolic"}, SearchFolders},
        {Command::FindText, {"edit-find", "edit-find-symbolic"}, FindText},
        {Command::Overview, {"x-office-presentation", "view-paged-symbolic"}, Overview},
        {Command::TextureList, {"view-list-details", "view-list-symbolic"}, TextureRows},
        {Command::FileList, {"view-list-tree"}, FileTree},
        {Command::PictureList, {"view-list-icons", "view-grid-symbolic"}, PictureGrid},
        {Command::OnlySelected, {"edit-select-all", "edit-select-all-symbolic"}, OnlySelected},
        {Command::PreviewPane, {"view-dual", "view-dual-symbolic"}, PreviewPane},
        {Command::About, {"help-about", "help-about-symbolic"}, About},
    };
    return sources;
}

const IconSource* SourceOf(Command command) {
    for (const IconSource& source : Sources())
        if (source.command == command) return &source;
    return nullptr;
}

}  // namespace

QIcon OwnCommandIcon(Command command) {
    const IconSource* source = SourceOf(command);
    if (!source) return {};
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 24.0, size / 24.0);
        source->draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon CommandIcon(Command command) {
    const IconSource* source = SourceOf(command);
    if (!source) return {};
    for (const char* name : source->themeNames)
        if (QIcon::hasThemeIcon(QString::fromLatin1(name))) return QIcon::fromTheme(QString::fromLatin1(name));
    return OwnCommandIcon(command);
}

}  // namespace sc
