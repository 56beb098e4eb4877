#pragma once
// Draws the file list's file nodes: the file name in bold, then the
// directory and the entry count in the normal font.
#include <QStyledItemDelegate>

namespace sc {

class FileNodeDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace sc
