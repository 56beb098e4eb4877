#include "gui/TruncatedToolTip.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyleOptionViewItem>
#include <QToolTip>

namespace sc {

bool HandleTruncatedToolTip(QAbstractItemView& view, QEvent* event) {
    if (event->type() != QEvent::ToolTip) return false;
    auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = view.indexAt(help->pos());
    const QString tip = index.data(Qt::ToolTipRole).toString();
    const QRect cell = view.visualRect(index);
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.rect = cell;
    option.decorationSize = view.iconSize().isValid() ? view.iconSize() : QSize(16, 16);
    option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    const bool cut = index.isValid() && view.itemDelegateForIndex(index)->sizeHint(option, index).width() > cell.width();
    if (cut && !tip.isEmpty())
        QToolTip::showText(help->globalPos(), tip, view.viewport(), cell);
    else
        QToolTip::hideText();
    return true;
}

}  // namespace sc
