#include "gui/FileCommands.h"

#include "gui/BackgroundWork.h"
#include "gui/CommandActions.h"
#include "gui/LibraryCommands.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainWindow.h"
#include "gui/QtUserInterface.h"
#include "export/LibraryWebExport.h"
#include "library/LibraryController.h"
#include "library/LibrarySnapshot.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
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
    actions.Bind(Command::ExportWebPage, [this] { ExportWebPage(); });
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

// A single selected entry is just the current one, rarely what a page
// should show: the page then shows every entry in the views.
void FileCommands::ExportWebPage() {
    std::vector<TextureEntry*> entries = p_.views.SelectedEntries();
    if (entries.size() < 2) entries = p_.views.EntriesInListOrder();
    std::erase_if(entries, [](const TextureEntry* e) { return e->IsFileNode(); });
    if (entries.empty()) return;
    const std::string folder = p_.document.ChooseFolder("Als Webseite exportieren");
    if (folder.empty()) return;
    const std::string page = JoinPath(folder, "index.html");
    if (FileExists(page) &&
        p_.ui.Ask("Die Datei\n\"" + page + "\"\nexistiert bereits.\n\nÜberschreiben?", QuestionButtons::YesNo,
                  Answer::No, MessageIcon::Question) != Answer::Yes)
        return;
    // The page is written on a worker from copies of the entries; the window
    // stays busy (nothing may change the library meanwhile) and Escape stops it.
    p_.window.SetBusy(true);
    struct Work {
        TextureLibrary library;
        std::vector<TextureEntry*> entries;
        WebExportResult result;
    };
    auto work = std::make_shared<Work>();
    work->library.SetLibraryPaths(p_.controller.Library().LibraryPaths());
    work->entries = CopyEntries(entries, work->library);
    WebExportOptions options{LibraryWebExport::DefaultTitle(p_.document.Path()), StatusText(CountEntries(entries), 0), {}};
    UserInterface& ui = p_.ui;
    export_->Start(
        [work, options, folder, &ui](std::stop_token stop) mutable {
            options.stopRequested = [&ui, stop] { return stop.stop_requested() || ui.IsCancelled(); };
            work->result = LibraryWebExport(work->library, options).Write(work->entries, folder);
        },
        [this, work, folder] {
            p_.window.SetBusy(false);
            const WebExportResult& result = work->result;
            if (!result.error.empty()) p_.ui.ShowMessage(result.error, MessageIcon::Exclamation);
            else if (!result.stopped) p_.ui.SetStatusText(LibraryWebExport::SummaryText(result, folder));
        });
}

bool FileCommands::Exporting() const { return export_->Running(); }

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
