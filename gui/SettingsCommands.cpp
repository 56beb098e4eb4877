// The "&Einstellungen" submenu: POV-Ray folder, library paths, plug-in,
// editor, colours and the three switches.
#include <QToolBar>

#include "gui/ColorsDialog.h"
#include "gui/DeclarationBox.h"
#include "gui/LibraryCommands.h"
#include "gui/MainArea.h"
#include "gui/MainWindow.h"
#include "gui/MessageDialogs.h"
#include "gui/PovDirectoryDialog.h"
#include "gui/QtUserInterface.h"
#include "library/LibraryController.h"
#include "povray/LibraryPaths.h"
#include "povray/PovConfiguration.h"
#include "ui/Settings.h"

namespace sc {

void MainWindow::OnPovDirectory() { ChooseInstallation(); }

void MainWindow::ChooseInstallation() {
    installation_ = settings_->Installation();
    PovDirectoryDialog dialog(installation_, options_.installations->Read(), *ui_, this);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    installation_ = dialog.Result();
    settings_->SetInstallation(installation_);
    std::vector<std::string> paths;
    ReadLibraryPaths(installation_.Home(), paths);
    ApplyLibraryPaths(paths);
    if (installation_.Version() <= 0) settings_->editWithPov = 0;
    if (started_) RefreshViews();
}

void MainWindow::ApplyLibraryPaths(const std::vector<std::string>& paths) {
    controller_->Library().SetLibraryPaths(paths);
    // Completing directories reads them again: POV-Ray's ini may have changed since.
    controller_->Library().SetLibraryPathSource([this] {
        std::vector<std::string> current;
        ReadLibraryPaths(installation_.Home(), current);
        return current;
    });
}

void MainWindow::OnLibraryPaths() {
    if (commands_->EditLibraryPaths()) RefreshViews();
}

void MainWindow::OnUninstallExtension() { Configuration().UninstallWithMessages(); }

void MainWindow::OnEditor() { commands_->SetEditor(); }

void MainWindow::OnColors() {
    ColorsDialog dialog(settings_->textureFontNormal, settings_->textureFontChanged, this);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    settings_->textureFontNormal = dialog.Normal();
    settings_->textureFontChanged = dialog.Changed();
    area_->TextBox()->SetColors(settings_->textureFontNormal, settings_->textureFontChanged);
}

void MainWindow::OnFlatToolbar() {
    settings_->flatToolbar = settings_->flatToolbar == 1 ? 0 : 1;
    ApplyFlatToolbar();
    toolbar_->update();
}

void MainWindow::OnSaveSettingsOnExit() { settings_->save = settings_->save == 1 ? 0 : 1; }

void MainWindow::OnLoadLastFile() { settings_->loadLastFile = settings_->loadLastFile == 1 ? 0 : 1; }

}  // namespace sc
