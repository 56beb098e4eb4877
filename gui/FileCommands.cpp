#include "gui/FileCommands.h"

#include "gui/CommandActions.h"
#include "gui/LibraryCommands.h"
#include "gui/MainWindow.h"
#include "ui/LibraryDocument.h"
#include "ui/Settings.h"

namespace sc {

void FileCommands::Bind(CommandActions& actions) {
    actions.Bind(Command::Open, [this] { Open(); });
    actions.Bind(Command::Add, [this] { Add(); });
    actions.Bind(Command::Save, [this] { Save(); });
    actions.Bind(Command::SaveAs, [this] { SaveAs(); });
    actions.Bind(Command::Exit, [this] { p_.window.close(); });
    actions.BindRange(kFirstRecentFileCommand, kLastRecentFileCommand, [this](int index) { OpenRecent(index); });
}

void FileCommands::Open() {
    p_.document.OpenWithDialog();
    p_.window.RefillViews();
}

void FileCommands::Add() {
    p_.document.AddWithDialog();
    p_.window.RefillViews();
}

void FileCommands::Save() {
    p_.document.Save();
    p_.window.RebuildRecentFiles();
    p_.window.UpdateTitle();
}

void FileCommands::SaveAs() {
    p_.document.SaveAs();
    p_.window.RebuildRecentFiles();
    p_.window.UpdateTitle();
}

void FileCommands::OpenRecent(int index) {
    const std::string path = p_.settings.recentFiles.File(index);
    if (!path.empty()) OpenListFile(path);
}

void FileCommands::OpenListFile(const std::string& path) {
    p_.document.Open(path);
    p_.window.RefillViews();
}

void FileCommands::OpenDropped(const std::vector<std::string>& listFiles, const std::vector<std::string>& includeFiles) {
    if (p_.window.Busy() || p_.window.Rendering()) return;
    for (const std::string& path : listFiles) OpenListFile(path);
    // Dropped include files are searched through the search dialog, which names them.
    if (!includeFiles.empty()) p_.commands.SearchFiles(includeFiles);
}

}  // namespace sc
