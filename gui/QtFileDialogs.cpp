#include "gui/QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>

#include "gui/MessageDialogs.h"
#include "gui/Translation.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

namespace sc {
namespace {

// Qt shows the patterns in brackets itself: the name alone reads cleanly.
QString ListFileFilter() { return QTr("Swatchcraft files (*.swl)"); }

// A folder that does not exist (yet) would be taken for a file name to
// fill in; the dialog opens in its nearest existing parent instead.
QString ExistingFolder(const std::string& wanted) {
    const std::string existing = NearestExistingDirectory(wanted);
    return existing.empty() ? QDir::homePath() : QString::fromStdString(existing);
}

}  // namespace

std::string QtFileDialogs::ChooseOpenFile(const std::string& startDir) {
    QFileDialog dialog(parent_, QTr("Open Texture List"));
    dialog.setDirectory(ExistingFolder(startDir));
    dialog.setNameFilter(ListFileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("swl"));
    if (ExecDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

std::string QtFileDialogs::ChooseSaveFile(const std::string& startDir, const std::string& proposedName) {
    QFileDialog dialog(parent_, QTr("Save Texture List"));
    dialog.setDirectory(ExistingFolder(startDir));
    dialog.setNameFilter(ListFileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("swl"));
    // The overwrite question is the program's own, asked after the extension is added.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.selectFile(QString::fromStdString(FileNameOf(proposedName)));
    if (ExecDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

std::string QtFileDialogs::ChooseFolder(const std::string& title, const std::string& startDir) {
    QFileDialog dialog(parent_, QString::fromStdString(title));
    dialog.setDirectory(ExistingFolder(startDir));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (ExecDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

std::string QtFileDialogs::ChooseExportFile(const std::string& title, const std::string& startDir,
                                           const std::string& proposedName, const std::string& filter) {
    QFileDialog dialog(parent_, QString::fromStdString(title));
    dialog.setDirectory(ExistingFolder(startDir));
    dialog.setNameFilter(QString::fromStdString(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The overwrite question is the program's own, asked after the extension is added.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.selectFile(QString::fromStdString(FileNameOf(proposedName)));
    if (ExecDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace sc
