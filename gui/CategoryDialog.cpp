#include "gui/CategoryDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/AccessibleNames.h"
#include "gui/Translation.h"

namespace sc {

CategoryDialog::CategoryDialog(const std::vector<std::string>& categories, const std::string& initial,
                               QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QTr("Texture Category"));
    auto* label = new QLabel(QTr("New &category:"));
    combo_ = new QComboBox;
    combo_->setEditable(true);
    combo_->setInsertPolicy(QComboBox::NoInsert);
    for (const auto& c : categories) combo_->addItem(QString::fromStdString(c));
    combo_->setEditText(QString::fromStdString(initial));
    label->setBuddy(combo_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QTr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(combo_);
    layout->addWidget(buttons);
    NameControls(this);
}

std::string CategoryDialog::Category() const { return combo_->currentText().trimmed().toStdString(); }

}  // namespace sc
