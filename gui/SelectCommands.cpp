// The "Aus&wählen" menu, and the commands object that the selection, search,
// delete, overview and settings dialog commands go through.
#include "gui/LibraryCommands.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/MainWindow.h"
#include "gui/MessageDialogs.h"
#include "gui/WindowSelection.h"
#include "library/LibraryController.h"
#include "ui/LibraryDocument.h"

namespace sc {

void MainWindow::BuildCommands() {
    selection_ = std::make_unique<WindowSelection>(*this, *views_, [this] {
        if (commands_) commands_->SelectionTimerElapsed();
    });
    LibraryCommandsContext c;
    c.controller = controller_.get();
    c.window = selection_.get();
    c.ui = ui_.get();
    c.settings = settings_.get();
    c.configuration = &Configuration();
    c.launcher = &Launcher();
    c.parent = this;
    c.listFilePath = [this] { return document_->Path(); };
    c.renderSelected = [this] { OnRenderButton(); };
    c.refreshViews = [this] { RefillViews(); };
    c.libraryEmptied = [this] {
        document_->Forget();
        ShowEntryInPane(nullptr);
        UpdateTitle();
    };
    c.hint = [this](const QString& text) {
        HintDialog dialog(text, this);
        ExecDialog(dialog);
        return dialog.DontShowAgain();
    };
    c.help = [this] { RunCommand(int(Command::Help)); };
    commands_ = std::make_unique<LibraryCommands>(c, this);
}

void MainWindow::OnSelectAll() { commands_->SelectAll(); }
void MainWindow::OnSelectChanged() { commands_->SelectChanged(); }
void MainWindow::OnSelectEmpty() { commands_->SelectEmptyPreviews(); }
void MainWindow::OnSelectFaulty() { commands_->SelectFaultyPreviews(); }
void MainWindow::OnSelect30Incompatible() { commands_->SelectIncompatible30(); }
void MainWindow::OnSelect31Incompatible() { commands_->SelectIncompatible31(); }
void MainWindow::OnSelectDuplicates() { commands_->SelectDuplicates(); }
void MainWindow::OnInvertSelection() { commands_->InvertSelection(); }

}  // namespace sc
