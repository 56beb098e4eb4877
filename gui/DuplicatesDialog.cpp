#include "gui/DuplicatesDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/AccessibleNames.h"
#include "gui/Translation.h"

namespace sc {

DuplicatesDialog::DuplicatesDialog(bool compareImages, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QTr("Show Duplicates"));
    names_ = new QRadioButton(QTr("Compare &names"));
    images_ = new QRadioButton(QTr("Compare &pictures"));
    QRadioButton* chosen = compareImages ? images_ : names_;
    chosen->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QTr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(names_);
    layout->addWidget(images_);
    layout->addWidget(buttons);
    NameControls(this);
    // The keyboard starts on the choice that is checked, as arrow keys and a screen reader expect.
    chosen->setFocus();
}

bool DuplicatesDialog::CompareImages() const { return images_->isChecked(); }

}  // namespace sc
