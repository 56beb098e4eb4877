#include "gui/PovConfigurationDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "gui/AccessibleNames.h"
#include "gui/MessageDialogs.h"

namespace sc {

PovConfigurationDialog::PovConfigurationDialog(const PovSettingFlags& right, const PovSettingFlags& keep,
                                               QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Einstellungen für POV-Ray"));
    static const char* const texts[kPovSettingCount] = {
        "1. GUI Extension installieren", "2. GUI Extensions aktivieren", "3. Editor als Drop-Ziel aktivieren",
        "4. Nur eine Instanz zulassen", "5. Nichts tun wenn fertig"};
    auto* grid = new QGridLayout(this);
    auto* intro = new QLabel(QStringLiteral(
        "Um eine korrekte Verbindung zwischen POV-Ray und Swatchcraft herzustellen, müssen die folgenden "
        "Einstellungen für POV-Ray vorgenommen werden:"));
    intro->setWordWrap(true);
    grid->addWidget(intro, 0, 0, 1, 2);
    auto* heading = new QLabel(QStringLiteral("Änderungen\nbeibehalten"));
    heading->setAlignment(Qt::AlignCenter);
    grid->addWidget(heading, 1, 1);
    QFont bold = font();
    bold.setBold(true);
    for (size_t i = 0; i < kPovSettingCount; ++i) {
        labels_[i] = new QLabel(QString::fromUtf8(texts[i]));
        labels_[i]->setFont(bold);
        keep_[i] = new QCheckBox;
        keep_[i]->setAccessibleName(QStringLiteral("Änderung beibehalten: ") + QString::fromUtf8(texts[i]).mid(3));
        keep_[i]->setChecked(keep[i] || right[i]);
        labels_[i]->setEnabled(!right[i]);
        keep_[i]->setEnabled(!right[i]);
        grid->addWidget(labels_[i], static_cast<int>(i) + 2, 0);
        grid->addWidget(keep_[i], static_cast<int>(i) + 2, 1, Qt::AlignHCenter);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, kPovSettingCount + 2, 0, 1, 2);
    setMinimumWidth(440);
    NameControls(this);
}

PovSettingFlags PovConfigurationDialog::Keep() const {
    PovSettingFlags keep{};
    for (size_t i = 0; i < kPovSettingCount; ++i) keep[i] = keep_[i]->isChecked();
    return keep;
}

bool PovConfigurationDialogRunner::Run(const PovSettingFlags& right, PovSettingFlags& keep) {
    PovConfigurationDialog dialog(right, keep, parent_);
    if (ExecDialog(dialog) != QDialog::Accepted) return false;
    keep = dialog.Keep();
    return true;
}

}  // namespace sc
