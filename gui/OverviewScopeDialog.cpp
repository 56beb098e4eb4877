#include "gui/OverviewScopeDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/AccessibleNames.h"

namespace sc {

OverviewScopeDialog::OverviewScopeDialog(bool fileListShown, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Texturenübersicht"));
    auto* group = new QGroupBox(QStringLiteral("Erzeugen von"));
    all_ = new QRadioButton(QStringLiteral("&allen"));
    auto* restricted =
        new QRadioButton(fileListShown ? QStringLiteral("nur aktueller &Datei") : QStringLiteral("nur ausge&wählten"));
    restricted->setChecked(true);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(all_);
    groupLayout->addWidget(restricted);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
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
