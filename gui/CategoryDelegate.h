#pragma once
// The in-place editor of the texture list's "Kategorie" column: an editable
// drop-down of the categories in use, opened over the cell. Enter and losing
// the focus accept, Escape cancels; an empty text means no category.
#include <QStyledItemDelegate>

namespace sc {

class LibraryController;

class CategoryDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    CategoryDelegate(LibraryController& controller, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    LibraryController& controller_;
};

}  // namespace sc
