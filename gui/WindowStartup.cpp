#include "gui/WindowStartup.h"

#include "gui/FileCommands.h"
#include "gui/HelpCommands.h"
#include "gui/MainWindow.h"
#include "gui/MessageDialogs.h"
#include "gui/QtUserInterface.h"
#include "gui/SettingsCommands.h"
#include "povray/PovConfiguration.h"

namespace sc {

UserInterface& WindowStartup::Ui() { return p_.ui; }
void WindowStartup::ShowTipWindow() { help_.ShowTips(); }

// Editing goes through the render host, which needs the POV-Ray it runs.
bool WindowStartup::EditingThroughPovWorks() { return p_.window.Configuration().ExeExists(); }

void WindowStartup::ChooseInstallation() { settings_.ChooseInstallation(); }

SuppressibleAnswer WindowStartup::AskSuppressible(const std::string& text) {
    AskDialog dialog(QString::fromStdString(text), &p_.window);
    ExecDialog(dialog);
    return {dialog.Yes(), dialog.DontAskAgain()};
}

void WindowStartup::ApplyLibraryPaths(const std::vector<std::string>& paths) { settings_.ApplyLibraryPaths(paths); }
void WindowStartup::SetBusy(bool busy) { p_.window.SetBusy(busy); }
void WindowStartup::RefreshViews() { p_.window.RefreshViews(); }
void WindowStartup::OpenListFile(const std::string& path) { files_.OpenListFile(path); }

}  // namespace sc
