// The "&Datei" menu's list file commands, the recent files, dropped files and exit.
#include <QApplication>

#include "gui/LibraryCommands.h"
#include "gui/MainWindow.h"
#include "gui/LibraryViewStack.h"
#include "gui/QtUserInterface.h"
#include "library/LibraryController.h"
#include "ui/LibraryDocument.h"
#include "ui/Settings.h"

namespace sc {

void MainWindow::OnOpen() {
    document_->OpenWithDialog();
    RefillViews();
}

void MainWindow::OnAdd() {
    document_->AddWithDialog();
    RefillViews();
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
    RefillViews();
}

void MainWindow::OnExit() { close(); }

void MainWindow::OpenDroppedFiles(const std::vector<std::string>& listFiles,
                                  const std::vector<std::string>& includeFiles) {
    if (busy_ || rendering_) return;
    for (const std::string& path : listFiles) OpenListFile(path);
    // Dropped include files are searched through the search dialog, which names them.
    if (!includeFiles.empty()) commands_->SearchFiles(includeFiles);
}

void MainWindow::RefillViews() {
    views_->Refresh();
    if (!views_->CurrentEntry()) {
        const std::vector<TextureEntry*> entries = views_->EntriesInListOrder();
        if (!entries.empty()) views_->SelectEntries({entries.front()});
    }
    CurrentEntryChanged();
    RefreshViews();
}

// A redraw: entries changed in place (pictures, paths), none came or went.
void MainWindow::RefreshViews() {
    for (QWidget* child : views_->findChildren<QWidget*>()) child->update();
    RebuildRecentFiles();
    UpdateTitle();
    UpdateActions();
    UpdateStatusText();
}

}  // namespace sc
