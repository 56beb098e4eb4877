#include "gui/SettingsCommands.h"

#include "gui/ColorsDialog.h"
#include "gui/CommandActions.h"
#include "gui/DeclarationBox.h"
#include "gui/LanguageDialog.h"
#include "gui/LibraryCommands.h"
#include "gui/MainArea.h"
#include "gui/MainWindow.h"
#include "gui/MessageDialogs.h"
#include "gui/PovDirectoryDialog.h"
#include "gui/QtUserInterface.h"
#include "library/LibraryController.h"
#include "povray/LibraryPaths.h"
#include "povray/PovConfiguration.h"
#include "platform/Translate.h"
#include "povray/PovInstallationSource.h"
#include "ui/Settings.h"

namespace sc {

void SettingsCommands::Bind(CommandActions& actions) {
    Settings& s = p_.settings;
    actions.Bind(Command::PovDirectory, [this] { ChooseInstallation(); });
    actions.Bind(Command::LibraryPaths, [this] { EditLibraryPaths(); });
    actions.Bind(Command::UninstallExtension, [this] { p_.window.Configuration().UninstallWithMessages(); });
    actions.Bind(Command::Editor, [this] { p_.commands.SetEditor(); });
    actions.Bind(Command::Colors, [this] { ChooseColors(); });
    actions.Bind(Command::Language, [this] { ChooseLanguage(); });
    actions.Bind(Command::FlatToolbar, [this] { ToggleFlatToolbar(); });
    actions.Bind(Command::SaveSettingsOnExit, [&s] { s.SetSaveOnExit(!s.SaveOnExit()); });
    actions.Bind(Command::LoadLastFile, [&s] { s.SetLoadLastFile(!s.LoadLastFile()); });
}

bool SettingsCommands::ChooseInstallation() {
    PovInstallation& installation = p_.window.Installation();
    const PovInstallation before = installation;
    installation = p_.settings.Installation();
    PovDirectoryDialog dialog(installation, installations_.Read(), p_.ui, &p_.window);
    if (ExecDialog(dialog) != QDialog::Accepted) {
        installation = before;
        return false;
    }
    installation = dialog.Result();
    p_.settings.SetInstallation(installation);
    std::vector<std::string> paths;
    ReadLibraryPaths(installation.Home(), paths);
    ApplyLibraryPaths(paths);
    if (installation.Version() <= 0) p_.settings.SetEditWithPov(false);
    if (p_.window.Started()) p_.window.RefreshViews();
    return true;
}

void SettingsCommands::ApplyLibraryPaths(const std::vector<std::string>& paths) {
    TextureLibrary& library = p_.controller.Library();
    library.SetLibraryPaths(paths);
    // Completing directories reads them again: POV-Ray's ini may have changed since.
    library.SetLibraryPathSource([this] {
        std::vector<std::string> current;
        ReadLibraryPaths(p_.window.Installation().Home(), current);
        return current;
    });
}

void SettingsCommands::EditLibraryPaths() {
    if (p_.commands.EditLibraryPaths()) p_.window.RefreshViews();
}

void SettingsCommands::ChooseColors() {
    Settings& s = p_.settings;
    ColorsDialog dialog(s.NormalTextColor(), s.ChangedTextColor(), &p_.window);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    s.SetTextColors(dialog.Normal(), dialog.Changed());
    p_.area.TextBox()->SetColors(s.NormalTextColor(), s.ChangedTextColor());
}

void SettingsCommands::ChooseLanguage() {
    LanguageDialog dialog(p_.settings.LanguageChoice(), &p_.window);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    if (!p_.settings.SetLanguageChoice(dialog.Choice()))
        p_.ui.ShowMessage(FillIn(Tr("The language could not be stored in %1."), {p_.settings.FilePath()}),
                          MessageIcon::Stop);
}

void SettingsCommands::ToggleFlatToolbar() {
    p_.settings.SetFlatToolbar(!p_.settings.FlatToolbar());
    p_.window.ApplyFlatToolbar();
}

}  // namespace sc
