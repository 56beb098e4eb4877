#include "gui/QtFileDialogs.h"

#include <QFileDialog>

#include "gui/MessageDialogs.h"

namespace sc {
namespace {

const QString kFilter = QStringLiteral("Swatchcraft Dateien: *.swl (*.swl)");

}  // namespace

std::string QtFileDialogs::ChooseOpenFile(const std::string& startDir) {
    QFileDialog dialog(parent_, QStringLiteral("Texturenliste öffnen"), QString::fromStdString(startDir), kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("swl"));
    if (ExecDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

std::string QtFileDialogs::ChooseSaveFile(const std::string& startDir, const std::string& proposedName) {
    QFileDialog dialog(parent_, QStringLiteral("Texturenliste speichern"), QString::fromStdString(startDir), kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("swl"));
    // The overwrite question is the program's own, asked after the extension is added.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.selectFile(QString::fromStdString(proposedName));
    if (ExecDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

std::string QtFileDialogs::ChooseFolder(const std::string& title, const std::string& startDir) {
    QFileDialog dialog(parent_, QString::fromStdString(title), QString::fromStdString(startDir));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (ExecDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace sc
