// The "&Datei" menu's list file commands, the recent files, dropped files and exit.
#include <QApplication>

#include "gui/MainWindow.h"
#include "gui/LibraryViewStack.h"
#include "gui/QtUserInterface.h"
#include "library/LibraryController.h"
#include "scanner/TextureSearch.h"
#include "ui/LibraryDocument.h"
#include "ui/Settings.h"

namespace sc {

void MainWindow::OnOpen() {
    document_->OpenWithDialog();
    RefreshViews();
}

void MainWindow::OnAdd() {
    document_->AddWithDialog();
    RefreshViews();
}

void MainWindow::OnSave() {
    document_->Save();
    RebuildRecentFiles();
    UpdateTitle();
}

void MainWindow::OnSaveAs() {
    document_->SaveAs();
    RebuildRecentFiles();
    UpdateTitle();
}

void MainWindow::OnRecentFile(int index) {
    const std::string path = settings_->recentFiles.File(index);
    if (!path.empty()) OpenListFile(path);
}

void MainWindow::OpenListFile(const std::string& path) {
    document_->Open(path);
    RefreshViews();
}

void MainWindow::OnExit() { close(); }

void MainWindow::OpenDroppedFiles(const std::vector<std::string>& listFiles,
                                  const std::vector<std::string>& includeFiles) {
    if (busy_ || rendering_) return;
    for (const std::string& path : listFiles) OpenListFile(path);
    if (includeFiles.empty()) return;
    SearchOptions options;
    options.kinds = {false,
                     settings_->materials == 1,
                     settings_->textures == 1,
                     settings_->pigments == 1,
                     settings_->colors == 1,
                     settings_->finishs == 1,
                     settings_->normals == 1};
    options.followIncludes = settings_->includedFiles == 1;
    options.explicitFiles = includeFiles;
    SetBusy(true);
    TextureSearch(*controller_, options).Run();
    SetBusy(false);
    RefreshViews();
}

void MainWindow::RefreshViews() {
    views_->Refresh();
    RebuildRecentFiles();
    UpdateTitle();
    UpdateMenu();
    UpdateChecks();
    if (!views_->CurrentEntry()) {
        const std::vector<TextureEntry*> entries = views_->EntriesInListOrder();
        if (!entries.empty()) views_->SelectEntries({entries.front()});
    }
    SetCurrentEntry(views_->CurrentEntry());
    UpdateStatusText();
}

}  // namespace sc
