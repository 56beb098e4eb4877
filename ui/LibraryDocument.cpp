#include "ui/LibraryDocument.h"

#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/UserInterface.h"
#include "scanner/DirectoryCompletion.h"
#include "ui/Settings.h"

namespace sc {
namespace {

constexpr const char* kExtension = ".swl";

std::string WithListExtension(const std::string& path) {
    return ToLowerAscii(ExtensionOf(path)) == kExtension ? path : path + kExtension;
}

}  // namespace

LibraryDocument::LibraryDocument(LibraryController& controller, Settings& settings, FileDialogs& dialogs)
    : controller_(controller), settings_(settings), dialogs_(&dialogs) {}

bool LibraryDocument::Modified() const { return controller_.modified != 0; }

std::string LibraryDocument::SaveChangesQuestion(const std::string& path) {
    if (path.empty()) return "Änderungen speichern?";
    return "Änderungen speichern unter \"" + path + "\"?";
}

bool LibraryDocument::ConfirmDiscard() {
    if (!Modified()) return true;
    const Answer answer = controller_.Ui().Ask(SaveChangesQuestion(path_), QuestionButtons::YesNoCancel,
                                               Answer::Yes, MessageIcon::Question);
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::No) return true;
    return Save();
}

bool LibraryDocument::LockFile(ListFileGuard& guard, const std::string& path) {
    UserInterface& ui = controller_.Ui();
    // Waiting for another program makes the window busy: nothing may change
    // the library under the save, and Escape (the cancel flag) ends the wait.
    bool waited = false;
    const bool locked = guard.Lock(
        path,
        [&] {
            waited = true;
            if (busy_) busy_(true);
            ui.SetStatusText("Warte auf \"" + FileNameOf(path) + "\" ...");
        },
        [&] {
            if (wait_) wait_();
            return !ui.IsCancelled();
        });
    if (waited) {
        ui.SetStatusText({});
        if (busy_) busy_(false);
    }
    if (!locked) ui.ShowMessage(FileInUseMessage(path), MessageIcon::Exclamation);
    return locked;
}

bool LibraryDocument::Load(const std::string& path, bool add) {
    ListFileGuard added;
    ListFileGuard& guard = add ? added : guard_;
    if (!LockFile(guard, path)) return false;
    if (busy_) busy_(true);
    const bool ok = LoadLibraryReporting(controller_, path, add);
    if (!add) guard_.Remember(path);
    guard.Unlock();
    controller_.Ui().SetStatusText({});
    controller_.Ui().HideProgress();
    if (busy_) busy_(false);
    return ok;
}

bool LibraryDocument::Open(const std::string& path) {
    if (path.empty() || !ConfirmDiscard()) return false;
    const std::string absolute = MakeAbsolute(path);
    // A missing file leaves the library as it was (the loader says so).
    if (!FileExists(absolute)) return Load(absolute, false);
    const bool ok = Load(absolute, false);
    path_ = ok ? absolute : std::string();
    settings_.RecentFiles().AddRecentFile(absolute, true);
    // What a damaged file gave is no change of the user's.
    if (!ok) controller_.modified = 0;
    OfferDirectoryCompletion();
    return ok;
}

bool LibraryDocument::Add(const std::string& path) {
    if (path.empty()) return false;
    const bool ok = Load(MakeAbsolute(path), true);
    OfferDirectoryCompletion();
    return ok;
}

bool LibraryDocument::OpenWithDialog() {
    const std::string path = dialogs_->ChooseOpenFile(StartDir());
    if (path.empty()) return false;
    RememberDir(path);
    return Open(path);
}

bool LibraryDocument::AddWithDialog() {
    const std::string path = dialogs_->ChooseOpenFile(StartDir());
    if (path.empty()) return false;
    RememberDir(path);
    return Add(path);
}

std::string LibraryDocument::ChooseFolder(const std::string& title) { return dialogs_->ChooseFolder(title, StartDir()); }

std::string LibraryDocument::ChooseExportFile(const std::string& title, const std::string& proposedName,
                                              const std::string& filter, const std::string& extension) {
    std::string chosen = dialogs_->ChooseExportFile(title, StartDir(), proposedName, filter);
    if (chosen.empty()) return {};
    chosen = MakeAbsolute(chosen);
    return ExtensionOf(chosen).empty() ? chosen + extension : chosen;
}

bool LibraryDocument::Save() { return path_.empty() ? SaveAs() : SaveTo(path_); }

bool LibraryDocument::SaveAs() {
    const std::string proposed =
        path_.empty() ? std::string("unbenannt.swl") : WithListExtension(FileNameOf(path_));
    std::string chosen = dialogs_->ChooseSaveFile(StartDir(), proposed);
    if (chosen.empty()) return false;
    chosen = WithListExtension(MakeAbsolute(chosen));
    if (FileExists(chosen) && chosen != path_ &&
        controller_.Ui().Ask(OverwriteQuestion(chosen), QuestionButtons::YesNo, Answer::No) != Answer::Yes)
        return false;
    RememberDir(chosen);
    if (!SaveTo(chosen)) return false;
    path_ = chosen;
    settings_.RecentFiles().AddRecentFile(chosen, true);
    return true;
}

bool LibraryDocument::SaveTo(const std::string& path) {
    if (!LockFile(guard_, path)) return false;
    switch (guard_.AskBeforeSave(path, controller_.Ui())) {
        case ListFileGuard::Choice::Cancel: guard_.Unlock(); return false;
        case ListFileGuard::Choice::Reload: guard_.Unlock(); return Load(path, false);
        case ListFileGuard::Choice::Overwrite:
        case ListFileGuard::Choice::Unchanged: break;
    }
    if (busy_) busy_(true);
    const bool ok = SaveLibraryReporting(controller_, path, settings_.PovHome());
    if (ok) guard_.Remember(path);
    guard_.Unlock();
    controller_.Ui().SetStatusText({});
    controller_.Ui().HideProgress();
    if (busy_) busy_(false);
    return ok;
}

void LibraryDocument::OfferDirectoryCompletion() {
    if (controller_.NoDirectoryCount() == 0 || controller_.Library().LibraryPaths().empty()) return;
    if (controller_.Ui().Ask(CompleteDirectoriesQuestion(controller_.NoDirectoryCount()), QuestionButtons::YesNo,
                             Answer::Yes) == Answer::Yes) {
        if (busy_) busy_(true);
        CompleteDirectories(controller_);
        if (busy_) busy_(false);
    }
}

std::string LibraryDocument::StartDir() const {
    if (!path_.empty()) return DirectoryOf(path_);
    return settings_.LastSaveDir();
}

void LibraryDocument::RememberDir(const std::string& path) {
    const std::string dir = DirectoryOf(MakeAbsolute(path));
    if (!dir.empty()) settings_.SetLastSaveDir(WithoutTrailingSeparator(dir));
}

}  // namespace sc
