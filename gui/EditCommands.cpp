// The "&Bearbeiten" menu. Copying the current declaration lives here; the
// delete, search, category, overview and editor commands go through the
// window's LibraryCommands.
#include "gui/DeclarationBox.h"
#include "gui/LibraryCommands.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/MainWindow.h"
#include "library/LibraryController.h"
#include "library/TextureEntry.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"
#include "scanner/DirectoryCompletion.h"
#include "ui/ClipboardText.h"

namespace sc {

void MainWindow::OnCopyTexture() {
    TextureEntry* current = CurrentEntry();
    if (!current || current->name.empty()) return;
    // The stored declaration, not the box's edits: reading it again replaces them.
    ShowEntryInPane(current);
    PutOnClipboard(ClipboardTextOfLines(DeclarationBoxLines(*current)));
}

void MainWindow::OnEditWithPov() { commands_->EditInPovRay(); }
void MainWindow::OnDeleteSelected() { commands_->DeleteSelected(); }

void MainWindow::OnDeleteSelectedPreviews() {
    commands_->DeletePreviews();
    ShowEntryInPane(shown_);
}

void MainWindow::OnDeleteAll() { commands_->DeleteAll(); }
void MainWindow::OnCollapseAll() { views_->ExpandAll(false); }
void MainWindow::OnExpandAll() { views_->ExpandAll(true); }

void MainWindow::OnCompleteDirectories() {
    SetBusy(true);
    CompleteDirectories(*controller_);
    SetBusy(false);
    RefillViews();
}

void MainWindow::OnFindText() { commands_->FindText(); }
void MainWindow::OnFindAgain() { commands_->FindAgain(); }
void MainWindow::OnChangeCategory() { commands_->ChangeCategory(); }
void MainWindow::OnOverview() { commands_->CreateOverview(); }
void MainWindow::OnSearchTextures() { commands_->SearchTextures(); }

}  // namespace sc
