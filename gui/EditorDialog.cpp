#include "gui/EditorDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gui/AccessibleNames.h"
#include "gui/MessageDialogs.h"
#include "gui/Translation.h"
#include "ui/Settings.h"

namespace sc {

EditorDialog::EditorDialog(bool editWithPov, const QString& editorCommand, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QTr("Set Editor"));
    pov_ = new QRadioButton(QTr("&POV-Ray"));
    other_ = new QRadioButton(QTr("&Command line of another editor:"));
    (editWithPov ? pov_ : other_)->setChecked(true);
    command_ = new QLineEdit(editorCommand);
    command_->setAccessibleName(QTr("Command line of another editor"));
    auto* browse = new QPushButton(QStringLiteral("..."));
    browse->setToolTip(QTr("Choose an editor"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QTr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, &EditorDialog::Browse);
    connect(other_, &QRadioButton::toggled, this, &EditorDialog::UpdateEnables);
    auto* grid = new QGridLayout(this);
    grid->addWidget(pov_, 0, 0, 1, 2);
    grid->addWidget(other_, 1, 0, 1, 2);
    grid->addWidget(command_, 2, 0);
    grid->addWidget(browse, 2, 1);
    grid->addWidget(buttons, 3, 0, 1, 2);
    setMinimumWidth(420);
    UpdateEnables();
    NameControls(this);
}

void EditorDialog::UpdateEnables() { command_->setEnabled(other_->isChecked()); }

void EditorDialog::Browse() {
    const QString file = QFileDialog::getOpenFileName(this, QTr("Choose Editor"), QStringLiteral("/usr/bin"));
    // A path with blanks must stay one word of the command line.
    if (!file.isEmpty()) command_->setText(file.contains(QLatin1Char(' ')) ? QLatin1Char('"') + file + QLatin1Char('"') : file);
}

bool EditorDialog::EditWithPov() const { return pov_->isChecked(); }

QString EditorDialog::EditorCommand() const { return command_->text().trimmed(); }

bool EditorDialog::Run(Settings& settings, QWidget* parent, const std::function<bool(const QString&)>& hint) {
    if (settings.ReadFlag("Info", "SetEditor", 1) != 0) {
        const bool suppress = hint(QTr(
            "Swatchcraft uses the editor chosen here to edit INI files and the template file for texture "
            "overviews.\n\n"
            "An installed POV-Ray can serve as the editor as well."));
        settings.WriteFlag("Info", "SetEditor", suppress ? 0 : 1);
    }
    EditorDialog dialog(settings.EditWithPov(), QString::fromStdString(settings.Editor()), parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return false;
    settings.SetEditWithPov(dialog.EditWithPov());
    settings.SetEditor(dialog.EditorCommand().toStdString());
    return true;
}

}  // namespace sc
