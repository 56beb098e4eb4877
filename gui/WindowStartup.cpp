#include "gui/WindowStartup.h"

#include "gui/StatusBarWithProgress.h"

#include "gui/FileCommands.h"
#include "gui/HelpCommands.h"
#include "gui/MainWindow.h"
#include "gui/MessageDialogs.h"
#include "gui/QtUserInterface.h"
#include "gui/SettingsCommands.h"
#include "povray/PovConfiguration.h"

namespace sc {

// Everything the start-up steps show through the interface waits for the
// user, so the wait cursor goes first.
UserInterface& WindowStartup::Ui() {
    WaitForUser();
    return p_.ui;
}

void WindowStartup::WaitForUser() { p_.window.SetBusy(false); }

void WindowStartup::ShowTipWindow() {
    WaitForUser();
    help_.ShowTips();
}

// Editing goes through the render host, which needs the POV-Ray it runs.
bool WindowStartup::EditingThroughPovWorks() { return p_.window.Configuration().ExeExists(); }

bool WindowStartup::ChooseInstallation() {
    WaitForUser();
    return settings_.ChooseInstallation();
}

void WindowStartup::ShowStatusText(const std::string& text) {
    // Shown over the entry counts for a while, then the counts come back.
    constexpr int kShownMs = 20000;
    p_.window.Status().ShowNote(QString::fromStdString(text), kShownMs);
}

SuppressibleAnswer WindowStartup::AskSuppressible(const std::string& text) {
    WaitForUser();
    AskDialog dialog(QString::fromStdString(text), &p_.window);
    ExecDialog(dialog);
    return {dialog.Yes(), dialog.DontAskAgain()};
}

void WindowStartup::ApplyLibraryPaths(const std::vector<std::string>& paths) { settings_.ApplyLibraryPaths(paths); }
void WindowStartup::SetBusy(bool busy) { p_.window.SetBusy(busy); }
void WindowStartup::RefreshViews() { p_.window.RefreshViews(); }
void WindowStartup::OpenListFile(const std::string& path, std::function<void()> then) {
    files_.OpenListFile(path, std::move(then));
}

}  // namespace sc
