#include "gui/LibraryCommands.h"

#include "gui/CategoryDialog.h"
#include "gui/MessageDialogs.h"
#include "gui/ChangedTexturesDialog.h"
#include "gui/DesktopOpener.h"
#include "gui/DuplicatesDialog.h"
#include "gui/EditorDialog.h"
#include "gui/FindTextDialog.h"
#include "gui/LibraryPathDialog.h"
#include "gui/OverviewDialog.h"
#include "gui/OverviewScopeDialog.h"
#include "gui/SearchDialog.h"
#include "gui/Translation.h"
#include "library/LibraryController.h"
#include "overview/OverviewSettings.h"
#include "platform/FileSystem.h"
#include "platform/FontFiles.h"
#include "platform/ProgramFolders.h"
#include "platform/UserInterface.h"
#include "povray/LibraryPaths.h"
#include "povray/PovConfiguration.h"
#include "povray/PovLauncher.h"
#include "scanner/DeclarationReader.h"
#include "ui/OverviewCommand.h"
#include "ui/SelectionWindow.h"
#include "ui/Settings.h"

namespace sc {

LibraryCommands::LibraryCommands(LibraryCommandsContext context, QObject* parent)
    : QObject(parent), context_(std::move(context)),
      selection_(*context_.controller, *context_.window, *context_.ui),
      search_(*context_.controller, *context_.window, *context_.ui),
      deletes_(*context_.controller, *context_.window, *context_.ui),
      searchWork_(std::make_unique<BackgroundLongWork>(*context_.ui, this)) {
    search_.SetLongWork(*searchWork_);
}

LibraryCommands::~LibraryCommands() = default;

std::string LibraryCommands::PovHome() const { return context_.settings->PovHome(); }

double LibraryCommands::PovVersion() const { return context_.settings->Installation().Version(); }

void LibraryCommands::AfterChange() {
    if (context_.refreshViews) context_.refreshViews();
    if (context_.controller->EntryCount() == 0 && context_.libraryEmptied) context_.libraryEmptied();
}

bool LibraryCommands::Hint(const char* key, const QString& text) {
    const bool suppress = context_.hint && context_.hint(text);
    if (suppress) context_.settings->WriteFlag("Info", key, 0);
    return suppress;
}

void LibraryCommands::SelectAll() { selection_.SelectAll(); }

void LibraryCommands::SelectChanged() {
    const int found = selection_.SelectByCheck(SelectionKind::Changed);
    if (found <= 0) return;
    ChangedTexturesDialog dialog(found, context_.parent);
    ExecDialog(dialog);
    if (dialog.Chosen() == ChangedTexturesDialog::Render && context_.renderSelected) context_.renderSelected();
    if (dialog.Chosen() == ChangedTexturesDialog::MarkUnchanged) selection_.MarkAllUnchanged();
}

void LibraryCommands::SelectEmptyPreviews() { selection_.SelectByMark(SelectionKind::EmptyPreviews); }
void LibraryCommands::SelectFaultyPreviews() { selection_.SelectFaulty(); }
void LibraryCommands::SelectIncompatible30() { selection_.SelectByCheck(SelectionKind::IncompatibleWith30); }
void LibraryCommands::SelectIncompatible31() { selection_.SelectByCheck(SelectionKind::IncompatibleWith31); }
void LibraryCommands::InvertSelection() { selection_.InvertSelection(); }
void LibraryCommands::SelectSkipped() { selection_.SelectByMark(SelectionKind::Skipped); }

void LibraryCommands::SelectDuplicates() {
    if (!selection_.SwitchToListIfNeeded()) return;
    DuplicatesDialog dialog(context_.settings->CompareImages(), context_.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    const bool images = dialog.CompareImages();
    context_.settings->SetCompareImages(images);
    if (selection_.SelectDuplicates(images) <= 0) return;
    if (duplicatesHint_ < 0) duplicatesHint_ = context_.settings->ReadFlag("Info", "Duplicates", 1);
    if (duplicatesHint_ != 0 && Hint("Duplicates", QString::fromStdString(DuplicatesHintText(images))))
        duplicatesHint_ = 0;
}

void LibraryCommands::FindText() {
    FindTextDialog dialog(search_.Settings(), context_.window->FileListShown(), context_.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    dialog.StoreInto(search_.Settings());
    search_.Start(dialog.Action());
}

void LibraryCommands::FindAgain() {
    if (search_.Settings().text.empty()) FindText();
    else search_.Again();
}

void LibraryCommands::ChangeCategory() {
    const auto selected = context_.window->SelectedEntries();
    if (selected.empty()) return;
    std::vector<std::string> categories;
    for (const Category& c : context_.controller->Categories()) categories.push_back(c.name);
    CategoryDialog dialog(categories, selected.size() == 1 ? selected.front()->category : std::string(),
                          context_.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    const std::string category = dialog.Category();
    if (context_.ui->Ask(CategoryQuestion(static_cast<int>(selected.size()), category), QuestionButtons::YesNo,
                         Answer::Yes) != Answer::Yes)
        return;
    std::vector<TextureEntry*> targets = selected;
    if (context_.window->FileListShown()) {
        TextureEntry* current = context_.window->CurrentEntry();
        targets = current ? std::vector<TextureEntry*>{current} : std::vector<TextureEntry*>{};
    }
    if (sc::ChangeCategory(*context_.controller, targets, category)) AfterChange();
}

void LibraryCommands::DeleteSelected() {
    deletes_.DeleteSelected();
    AfterChange();
}

void LibraryCommands::DeleteAll() {
    if (deletes_.DeleteAll()) AfterChange();
}

void LibraryCommands::DeletePreviews() {
    deletes_.DeletePreviews();
    AfterChange();
}

void LibraryCommands::EditInPovRay() {
    TextureEntry* entry = context_.window->CurrentEntry();
    if (!entry || !entry->sourceFile) return;
    const std::string path = entry->sourceFile->directory + entry->sourceFile->fileName;
    if (!FileExists(path)) {
        context_.ui->ShowMessage(FillIn(Tr("The file\n\"%1\"\ndoes not exist."), {path}), MessageIcon::Exclamation);
        return;
    }
    LoadDeclaration(context_.controller->Library(), *entry, false);
    const unsigned line = entry->record ? static_cast<unsigned>(entry->record->line) : 0;
    if (!context_.launcher || !context_.settings->EditWithPov()) {
        // Without the render host the user's own editor opens the file, at the entry's line where it can.
        OpenWithProgram(*context_.parent, *context_.ui, context_.settings->Editor(), path, line, true);
        return;
    }
    if (editHint_ < 0) editHint_ = context_.settings->ReadFlag("Info", "Edit", 1);
    if (editHint_ != 0 && context_.settings->Installation().Compare(3.1f, 'e') < 0 &&
        Hint("Edit", QTr("Your POV-Ray version cannot put the cursor on the current texture, so please go to "
                             "line %1 yourself.\n\nTo have the cursor put there, please install POV-Ray for "
                             "Windows 3.1e or later.")
                         .arg(line)))
        editHint_ = 0;
    context_.launcher->ShowPovAndEdit(path, line);
}

void LibraryCommands::OpenInEditor(const std::string& path) {
    if (context_.launcher && context_.settings->EditWithPov()) {
        // Not at all when POV-Ray cannot be reached: the launcher has told why.
        context_.launcher->ShowPovAndEdit(path, 0);
        return;
    }
    OpenWithProgram(*context_.parent, *context_.ui, context_.settings->Editor(), path, 0, true);
}

void LibraryCommands::SearchTextures() { SearchFiles({}); }

void LibraryCommands::SearchFiles(const std::vector<std::string>& files) {
    SearchDialog dialog(*context_.settings, PovHome(), files, *context_.ui, [this] { return EditLibraryPaths(); },
                        context_.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    dialog.StoreInto(*context_.settings);
    // Busy until the worker is done: nothing may change the library the
    // found entries are added to.
    context_.window->SetBusy(true);
    backgroundSearch_ = std::make_unique<BackgroundSearch>(*context_.controller, *context_.ui, context_.parent);
    BackgroundSearch* search = backgroundSearch_.get();
    search->Start(dialog.Options(), [this, search](const SearchCounts&) {
        context_.window->SetBusy(false);
        AfterChange();
        // Not here and now: this runs inside the search's own end.
        QMetaObject::invokeMethod(
            this, [this, search] { if (backgroundSearch_.get() == search) backgroundSearch_.reset(); },
            Qt::QueuedConnection);
    });
}

bool LibraryCommands::EditLibraryPaths() {
    LibraryPathDialog dialog(PovHome(), *context_.ui, [this](const std::string& p) { OpenInEditor(p); },
                             context_.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return false;
    if (dialog.Changed()) context_.controller->Library().SetLibraryPaths(dialog.Paths());
    return true;
}

void LibraryCommands::UninstallExtension() {
    if (context_.configuration) context_.configuration->UninstallWithMessages();
}

void LibraryCommands::SetEditor() {
    if (!EditorDialog::Run(*context_.settings, context_.parent,
                           [this](const QString& text) { return context_.hint && context_.hint(text); }))
        return;
    if (context_.launcher) context_.launcher->SetEditorCommand(context_.settings->Editor());
}

void LibraryCommands::CreateOverview() {
    LibraryController& controller = *context_.controller;
    SelectionWindow& window = *context_.window;
    OverviewScope scope = OverviewScope::All;
    if (NeedsScopeQuestion(window)) {
        OverviewScopeDialog dialog(window.FileListShown(), context_.parent);
        ExecDialog(dialog);
        scope = dialog.Scope();
        if (scope == OverviewScope::Cancelled) return;
    }
    MarkOverviewScope(controller, window, scope);
    if (PreviewsMissing(controller) &&
        context_.ui->Ask(PreviewsMissingQuestion(scope == OverviewScope::Restricted), QuestionButtons::YesNo,
                         Answer::Yes, MessageIcon::Exclamation) != Answer::Yes)
        return;
    OverviewDialogContext c;
    c.controller = &controller;
    c.settings = context_.settings;
    c.ui = context_.ui;
    c.listFilePath = context_.listFilePath ? context_.listFilePath() : std::string();
    c.pathsRequired = OverviewPathsRequired(controller.Library());
    c.povVersion = PovVersion();
    c.entryOrder = window.EntriesInViewOrder();
    if (context_.fileOrder) c.fileOrder = context_.fileOrder();
    c.fonts.libraryPaths = controller.Library().LibraryPaths();
    c.previewFolder = ProgramFolder("preview", false);
    c.launcher = context_.launcher;
    c.openFile = [this](const std::string& p) { OpenInEditor(p); };
    c.help = context_.help;
    c.restoreMessageHandler = context_.restoreMessageHandler;
    OverviewDialog dialog(std::move(c), context_.parent);
    if (ExecDialog(dialog) == QDialog::Accepted) {
        dialog.Model().StoreInto(*context_.settings);
        if (dialog.Model().Options().droppedCount != 0 &&
            context_.ui->Ask(SkippedEntriesQuestion(), QuestionButtons::YesNo, Answer::Yes,
                             MessageIcon::Information) == Answer::Yes)
            selection_.SelectByMark(SelectionKind::Skipped);
    } else {
        context_.settings->Load(false);
    }
    if (context_.refreshViews) context_.refreshViews();
}

}  // namespace sc
