#include "gui/OverviewScopeDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/AccessibleNames.h"
#include "gui/Translation.h"

namespace sc {

OverviewScopeDialog::OverviewScopeDialog(bool fileListShown, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QTr("Texture Overview"));
    auto* group = new QGroupBox(QTr("Make Overview Of"));
    all_ = new QRadioButton(QTr("&All textures"));
    auto* restricted =
        new QRadioButton(fileListShown ? QTr("Only the current &file") : QTr("Only the &selected textures"));
    restricted->setChecked(true);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(all_);
    groupLayout->addWidget(restricted);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QTr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    NameControls(this);
}

OverviewScope OverviewScopeDialog::Scope() const {
    if (result() != QDialog::Accepted) return OverviewScope::Cancelled;
    return all_->isChecked() ? OverviewScope::All : OverviewScope::Restricted;
}

}  // namespace sc
