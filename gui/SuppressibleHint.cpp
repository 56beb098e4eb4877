#include "gui/SuppressibleHint.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

namespace sc {

bool ShowSuppressibleHint(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Swatchcraft"), text, QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("Ok"), QMessageBox::AcceptRole);
    auto* dontShow = new QCheckBox(QStringLiteral("Nicht &erneut anzeigen"));
    box.setCheckBox(dontShow);
    box.exec();
    return dontShow->isChecked();
}

}  // namespace sc
