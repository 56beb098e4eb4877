#include "gui/CategoryDelegate.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include "gui/Translation.h"
#include "library/LibraryController.h"
#include "ui/EntryCategory.h"

namespace sc {

CategoryDelegate::CategoryDelegate(LibraryController& controller, QObject* parent)
    : QStyledItemDelegate(parent), controller_(controller) {}

QWidget* CategoryDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setAccessibleName(QTr("Category"));
    for (const Category& c : controller_.Categories()) combo->addItem(QString::fromStdString(c.name));
    combo->setMaxVisibleItems(std::max(1, static_cast<int>(controller_.Categories().size())));
    return combo;
}

void CategoryDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    combo->setEditText(index.data(Qt::EditRole).toString());
    combo->lineEdit()->selectAll();
}

void CategoryDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    const QString text = static_cast<QComboBox*>(editor)->currentText();
    model->setData(index, QString::fromStdString(CategoryFromEdit(text.toStdString())), Qt::EditRole);
}

void CategoryDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const {
    const QWidget* viewport = editor->parentWidget();
    const ComboPlacement place = PlaceCategoryCombo(option.rect.left(), option.rect.width(),
                                                    viewport ? viewport->width() : option.rect.right(),
                                                    static_cast<int>(controller_.Categories().size()));
    editor->setGeometry(place.x, option.rect.top(), std::max(1, place.width), editor->sizeHint().height());
}

}  // namespace sc
