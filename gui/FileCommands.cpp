#include "gui/FileCommands.h"

#include "gui/BackgroundWork.h"
#include "gui/CommandActions.h"
#include "gui/LibraryCommands.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainWindow.h"
#include "gui/QtUserInterface.h"
#include "export/ExportFormat.h"
#include "export/LibraryWebExport.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "library/LibrarySnapshot.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "platform/UserInterface.h"
#include "ui/LibraryDocument.h"
#include "ui/Settings.h"
#include "ui/StatusText.h"

namespace sc {

FileCommands::FileCommands(const WindowParts& parts) : p_(parts), export_(std::make_unique<BackgroundWork>()) {}

FileCommands::~FileCommands() = default;

void FileCommands::Bind(CommandActions& actions) {
    actions.Bind(Command::Open, [this] { Open(); });
    actions.Bind(Command::Add, [this] { Add(); });
    actions.Bind(Command::Save, [this] { Save(); });
    actions.Bind(Command::SaveAs, [this] { SaveAs(); });
    actions.Bind(Command::ExportWebPage, [this] { Export(WebPageFormat()); });
    actions.Bind(Command::ExportContactSheet, [this] { Export(ContactSheetFormat()); });
    actions.Bind(Command::Exit, [this] { p_.window.close(); });
    actions.BindRange(kFirstRecentFileCommand, kLastRecentFileCommand, [this](int index) { OpenRecent(index); });
}

// The document ends these later, when the file is read or written; the
// window shows the outcome then. `this` outlives the document's work.
void FileCommands::Open() {
    p_.document.OpenWithDialog([this](bool) { p_.window.ShowLoadedLibrary(); });
}

void FileCommands::Add() {
    p_.document.AddWithDialog([this](bool) { p_.window.ShowLoadedLibrary(); });
}

void FileCommands::Save() {
    p_.document.Save([this](bool) { AfterSave(); });
}

void FileCommands::SaveAs() {
    p_.document.SaveAs([this](bool) { AfterSave(); });
}

void FileCommands::AfterSave() {
    p_.window.RebuildRecentFiles();
    p_.window.UpdateTitle();
}

namespace {

// The library's name for what an export writes: the list file's name, or
// the page's default title for an unnamed library.
std::string ExportBaseName(const std::string& listPath) {
    const std::string name = FileNameOf(listPath);
    if (name.empty()) return Tr("Texture library");
    return name.substr(0, name.size() - ExtensionOf(name).size());
}

// A folder in `parent` that does not exist yet, named after the library.
std::string NewFolderIn(const std::string& parent, const std::string& name) {
    std::string folder = JoinPath(parent, name);
    for (int n = 2; PathExists(folder); ++n) folder = JoinPath(parent, name + " " + std::to_string(n));
    return folder;
}

}  // namespace

// A single selected entry is just the current one, rarely what an export
// should show: it then takes every entry in the views.
std::vector<TextureEntry*> FileCommands::EntriesToExport() const {
    std::vector<TextureEntry*> entries = p_.views.SelectedEntries();
    if (entries.size() < 2) entries = p_.views.EntriesInListOrder();
    std::erase_if(entries, [](const TextureEntry* e) { return e->IsFileNode(); });
    return entries;
}

// The target chosen and asked about; empty when the user cancelled or the
// target is refused (said in a message). A folder holding the user's own
// files is not written into unless the user says so: the default is a new
// folder inside it.
std::string FileCommands::ChooseExportTarget(const ExportFormat& format, bool& replaceForeignFiles) {
    const std::string title = FillIn(Tr("Export as %1"), {format.Name()});
    const std::string base = ExportBaseName(p_.document.Path());
    std::string target = format.TargetIsFolder()
                             ? p_.document.ChooseFolder(title)
                             : p_.document.ChooseExportFile(title, base + format.Extension(), format.FileFilter(),
                                                            format.Extension());
    if (target.empty()) return {};
    const ExportTarget check = format.CheckTarget(target);
    if (!check.refusal.empty()) {
        p_.ui.ShowMessage(check.refusal, MessageIcon::Exclamation);
        return {};
    }
    if (!check.foreignFiles.empty()) {
        const std::string fresh = NewFolderIn(target, base);
        const std::string question =
            FillIn(Tr("%1\n\nWrite into the new folder\n\"%2\"?\n\n\"No\" writes into the chosen folder anyway "
                      "and replaces index.html there."),
                   {check.foreignFiles, fresh});
        const Answer answer = p_.ui.Ask(question, QuestionButtons::YesNoCancel, Answer::Yes, MessageIcon::Question);
        if (answer == Answer::Cancel) return {};
        if (answer == Answer::Yes) return fresh;
        replaceForeignFiles = true;
        return target;
    }
    const std::string replaced = format.TargetIsFolder() ? JoinPath(target, "index.html") : target;
    if (check.replacesEarlier &&
        p_.ui.Ask(OverwriteQuestion(replaced), QuestionButtons::YesNo, Answer::No, MessageIcon::Question) !=
            Answer::Yes)
        return {};
    return target;
}

void FileCommands::Export(const ExportFormat& format) {
    const std::vector<TextureEntry*> entries = EntriesToExport();
    if (entries.empty()) return;
    bool replaceForeignFiles = false;
    const std::string target = ChooseExportTarget(format, replaceForeignFiles);
    if (target.empty()) return;
    // The export is written on a worker from copies of the entries; the
    // window stays busy (nothing may change the library meanwhile) and Escape
    // stops it.
    p_.window.SetBusy(true);
    struct Work {
        TextureLibrary library;
        ExportJob job;
        ExportResult result;
    };
    auto work = std::make_shared<Work>();
    work->library.SetLibraryPaths(p_.controller.Library().LibraryPaths());
    work->job.library = &work->library;
    work->job.entries = CopyEntries(entries, work->library);
    work->job.title = LibraryWebExport::DefaultTitle(p_.document.Path());
    work->job.countsText = StatusText(CountEntries(entries), 0);
    work->job.replaceForeignFiles = replaceForeignFiles;
    UserInterface& ui = p_.ui;
    const ExportFormat* chosen = &format;  // the formats live as long as the program
    export_->Start(
        [work, chosen, target, &ui](std::stop_token stop) {
            work->result = chosen->Write(work->job, target, [&ui, stop](int, int) {
                return !stop.stop_requested() && !ui.IsCancelled();
            });
        },
        [this, work] {
            p_.window.SetBusy(false);
            const ExportResult& result = work->result;
            if (!result.error.empty()) p_.ui.ShowMessage(result.error, MessageIcon::Exclamation);
            // Through the window, so a counts text still pending does not replace it.
            else if (!result.cancelled) p_.window.ShowStatus(result.summary);
        });
}

bool FileCommands::Exporting() const { return export_->Running(); }

void FileCommands::OpenRecent(int index) {
    const std::string path = p_.settings.RecentFiles().File(index);
    if (!path.empty()) OpenListFile(path);
}

void FileCommands::OpenListFile(const std::string& path, std::function<void()> then) {
    p_.document.Open(path, [this, then = std::move(then)](bool) {
        p_.window.ShowLoadedLibrary();
        if (then) then();
    });
}

void FileCommands::OpenDropped(const std::vector<std::string>& listFiles, const std::vector<std::string>& includeFiles) {
    if (p_.window.Busy() || p_.window.Rendering()) return;
    OpenInTurn(listFiles, 0, includeFiles);
}

// One list file after the other, each once the one before is read; then
// the include files, which are searched through the search dialog that names them.
void FileCommands::OpenInTurn(std::vector<std::string> listFiles, std::size_t next,
                              std::vector<std::string> includeFiles) {
    if (next < listFiles.size()) {
        const std::string path = listFiles[next];
        OpenListFile(path, [this, listFiles = std::move(listFiles), next, includeFiles = std::move(includeFiles)] {
            OpenInTurn(listFiles, next + 1, includeFiles);
        });
        return;
    }
    if (!includeFiles.empty()) p_.commands.SearchFiles(includeFiles);
}

}  // namespace sc
