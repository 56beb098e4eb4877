#include "gui/FileNodeDelegate.h"

#include <QApplication>
#include <QPainter>

#include "gui/FileTreeModel.h"

namespace sc {
namespace {

QFont Bold(QFont font) {
    font.setBold(true);
    return font;
}

// The file name: the label up to its rest.
QString FileNamePart(const QModelIndex& index) {
    const QString label = index.data(Qt::DisplayRole).toString();
    const QString rest = index.data(FileTreeModel::kLabelRestRole).toString();
    return label.left(label.size() - rest.size());
}

}  // namespace

void FileNodeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (!index.data(FileTreeModel::kIsFileRole).toBool()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString name = FileNamePart(index), rest = index.data(FileTreeModel::kLabelRestRole).toString();
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const bool selected = opt.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    painter->save();
    painter->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QFont bold = Bold(opt.font);
    painter->setFont(bold);
    const int nameWidth = QFontMetrics(bold).horizontalAdvance(name);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, name);
    painter->setFont(opt.font);
    painter->drawText(textRect.adjusted(nameWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, rest);
    painter->restore();
}

QSize FileNodeDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.data(FileTreeModel::kIsFileRole).toBool())
        size.rwidth() += QFontMetrics(Bold(option.font)).horizontalAdvance(FileNamePart(index)) -
                         option.fontMetrics.horizontalAdvance(FileNamePart(index));
    return size;
}

}  // namespace sc
