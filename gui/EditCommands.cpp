#include "gui/EditCommands.h"

#include "gui/BackgroundWork.h"
#include "gui/CommandActions.h"
#include "gui/DeclarationBox.h"
#include "gui/LibraryCommands.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainWindow.h"
#include "gui/PreviewPaneController.h"
#include "library/LibraryController.h"
#include "library/TextureEntry.h"
#include "scanner/DeclarationText.h"
#include "scanner/DirectoryCompletion.h"
#include "ui/ClipboardText.h"

namespace sc {

EditCommands::EditCommands(const WindowParts& parts)
    : p_(parts), completion_(std::make_unique<BackgroundLongWork>(parts.ui, &parts.window)) {}

EditCommands::~EditCommands() = default;

void EditCommands::Bind(CommandActions& actions) {
    LibraryCommands& c = p_.commands;
    actions.Bind(Command::CopyTexture, [this] { CopyTexture(); });
    actions.Bind(Command::EditWithPov, [&c] { c.EditInPovRay(); });
    actions.Bind(Command::DeleteSelected, [&c] { c.DeleteSelected(); });
    actions.Bind(Command::DeleteSelectedPreviews, [this] { DeleteSelectedPreviews(); });
    actions.Bind(Command::DeleteAll, [&c] { c.DeleteAll(); });
    actions.Bind(Command::CollapseAll, [this] { p_.views.ExpandAll(false); });
    actions.Bind(Command::ExpandAll, [this] { p_.views.ExpandAll(true); });
    actions.Bind(Command::CompleteDirectories, [this] { CompleteDirectories(); });
    actions.Bind(Command::FindText, [&c] { c.FindText(); });
    actions.Bind(Command::FindAgain, [&c] { c.FindAgain(); });
    actions.Bind(Command::ChangeCategory, [&c] { c.ChangeCategory(); });
    actions.Bind(Command::Overview, [&c] { c.CreateOverview(); });
    actions.Bind(Command::SearchTextures, [&c] { c.SearchTextures(); });
    BindSelection(actions);
}

void EditCommands::BindSelection(CommandActions& actions) {
    LibraryCommands& c = p_.commands;
    actions.Bind(Command::SelectAll, [&c] { c.SelectAll(); });
    actions.Bind(Command::SelectChanged, [&c] { c.SelectChanged(); });
    actions.Bind(Command::SelectEmpty, [&c] { c.SelectEmptyPreviews(); });
    actions.Bind(Command::SelectFaulty, [&c] { c.SelectFaultyPreviews(); });
    actions.Bind(Command::Select30Incompatible, [&c] { c.SelectIncompatible30(); });
    actions.Bind(Command::Select31Incompatible, [&c] { c.SelectIncompatible31(); });
    actions.Bind(Command::SelectDuplicates, [&c] { c.SelectDuplicates(); });
    actions.Bind(Command::InvertSelection, [&c] { c.InvertSelection(); });
}

void EditCommands::CopyTexture() {
    TextureEntry* current = p_.views.CurrentEntry();
    if (!current || current->IsFileNode()) return;
    // The stored declaration, not the box's edits: reading it again replaces them.
    p_.pane.FollowCurrentEntry();
    p_.pane.ReloadShownEntry();
    PutOnClipboard(ClipboardTextOfLines(DeclarationBoxLines(*current)));
}

void EditCommands::DeleteSelectedPreviews() {
    p_.commands.DeletePreviews();
    p_.pane.ReloadShownEntry();
}

void EditCommands::CompleteDirectories() {
    p_.window.SetBusy(true);
    auto job = std::make_shared<DirectoryCompletionJob>(PrepareDirectoryCompletion(p_.controller));
    completion_->Run([job](UserInterface& worker) { FindDirectories(*job, worker); },
                     [this, job] {
                         p_.ui.SetCancelled(false);
                         ApplyDirectories(p_.controller, *job);
                         p_.window.SetBusy(false);
                         p_.window.RefillViews();
                     });
}

}  // namespace sc
