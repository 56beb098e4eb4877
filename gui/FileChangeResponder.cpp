// Wiring the file watcher into the window: when it is armed, held and
// stopped, and what a report changes on screen.
#include "gui/FileChangeResponder.h"

#include "gui/DeclarationBox.h"
#include "gui/LibraryCommands.h"
#include "gui/LibraryFileWatcher.h"
#include "gui/LibraryNotifications.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/MainWindow.h"
#include "gui/PreviewPaneController.h"
#include "library/LibraryController.h"

namespace sc {

FileChangeResponder::FileChangeResponder(const WindowParts& parts, LibraryNotifications& notifications)
    : p_(parts), watcher_(std::make_unique<LibraryFileWatcher>(parts.controller.Library())) {
    connect(watcher_.get(), &LibraryFileWatcher::fileChangeReported, this, &FileChangeResponder::Respond);
    // Nothing may be read for entries that are about to go.
    connect(&notifications, &LibraryNotifications::clearing, this, [this] { watcher_->Stop(); });
    // The files a declaration includes are known once the pane has read it.
    connect(&p_.views, &LibraryViewStack::currentEntryChanged, this, &FileChangeResponder::Rearm);
}

FileChangeResponder::~FileChangeResponder() = default;

void FileChangeResponder::Rearm() { watcher_->Rearm(); }

void FileChangeResponder::Hold(bool hold) {
    if (hold == held_) return;
    held_ = hold;
    if (hold) watcher_->Pause();
    else watcher_->Resume();
}

void FileChangeResponder::Respond(const FileChangeReport& report) {
    if (!report.message.empty()) p_.window.ShowStatus(report.message);
    // The keys were checked when the report was made, on this turn of the
    // event loop; looking them up again costs little and stays safe.
    std::vector<TextureEntry*> changed;
    for (const EntryKey& key : report.changed)
        if (TextureEntry* entry = p_.controller.Library().FindEntry(key)) changed.push_back(entry);
    if (!changed.empty()) {
        p_.commands.Selection().SelectChangedEntries(changed);
        for (TextureEntry* entry : changed) p_.views.EntryUpdated(entry);
        p_.window.ShowStatus(report.statusText);
    } else if (report.reappeared && report.message.empty()) {
        // The file is back: its "no longer there" note is wrong now.
        p_.window.RefreshStatusText();
    }
    // The pane shows what the file says now ("NOT AVAILABLE" once it
    // vanished); a declaration the user is editing there stays as it is.
    const bool reread = report.reread > 0 || report.reappeared || !report.message.empty();
    if (reread && !p_.window.Rendering() && !p_.area.TextBox()->Edited()) p_.pane.ReloadShownEntry();
    p_.window.UpdateActions();
}

}  // namespace sc
