#include "gui/SortHeader.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace sc {

SortHeader::SortHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setHighlightSections(false);
}

void SortHeader::SetSortColumn(int section, bool ascending) {
    sortSection_ = section;
    ascending_ = ascending;
    viewport()->update();
}

void SortHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (logicalIndex != sortSection_) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    QStyleOptionHeader opt;
    initStyleOptionForIndex(&opt, logicalIndex);
    opt.rect = rect;
    // Room for the arrow: the width of six blanks.
    const int arrowRoom = fontMetrics().horizontalAdvance(QStringLiteral("      "));
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, &opt, this);
    opt.text = fontMetrics().elidedText(opt.text, Qt::ElideRight, std::max(0, rect.width() - arrowRoom - 2 * margin));
    opt.sortIndicator = QStyleOptionHeader::None;
    painter->save();
    style()->drawControl(QStyle::CE_Header, &opt, painter, this);
    painter->restore();

    const int size = std::min(8, rect.height() / 2);
    const int x = rect.right() - arrowRoom / 2 - size / 2, y = rect.center().y() - size / 2;
    if (x <= rect.left() + margin) return;
    const QPoint tip = ascending_ ? QPoint(x + size / 2, y) : QPoint(x + size / 2, y + size);
    const QPoint left = ascending_ ? QPoint(x, y + size) : QPoint(x, y);
    const QPoint right = ascending_ ? QPoint(x + size, y + size) : QPoint(x + size, y);
    painter->save();
    painter->setPen(palette().color(QPalette::Light));
    painter->drawLine(tip, right);
    painter->drawLine(left, right);
    painter->setPen(palette().color(QPalette::Dark));
    painter->drawLine(left, tip);
    painter->restore();
}

}  // namespace sc
