#include "ui/LibraryDocument.h"

#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/UserInterface.h"
#include "scanner/DirectoryCompletion.h"
#include "ui/Settings.h"
#include "platform/Translate.h"

namespace sc {
namespace {

constexpr const char* kExtension = ".swl";

std::string WithListExtension(const std::string& path) {
    return ToLowerAscii(ExtensionOf(path)) == kExtension ? path : path + kExtension;
}

}  // namespace

LibraryDocument::LibraryDocument(LibraryController& controller, Settings& settings, FileDialogs& dialogs)
    : controller_(controller),
      settings_(settings),
      dialogs_(&dialogs),
      directWork_(std::make_unique<DirectWork>(controller.Ui())),
      work_(directWork_.get()) {}

bool LibraryDocument::Modified() const { return controller_.modified != 0; }

std::string LibraryDocument::SaveChangesQuestion(const std::string& path) {
    if (path.empty()) return Tr("Save changes?");
    return FillIn(Tr("Save changes to \"%1\"?"), {path});
}

void LibraryDocument::SetBusy(bool on) {
    if (busy_) busy_(on);
}

void LibraryDocument::ConfirmDiscard(Done done) {
    if (!Modified()) return done(true);
    const Answer answer = controller_.Ui().Ask(SaveChangesQuestion(path_), QuestionButtons::YesNoCancel,
                                               Answer::Yes, MessageIcon::Question);
    if (answer == Answer::Cancel) return done(false);
    if (answer == Answer::No) return done(true);
    Save(std::move(done));
}

void LibraryDocument::LockFile(ListFileGuard& guard, const std::string& path, Done done) {
    // Waiting for another program makes the window busy: nothing may change
    // the library under the save, and Escape (the cancel flag) ends the wait.
    auto locked = std::make_shared<bool>(false);
    auto waited = std::make_shared<bool>(false);
    work_->Run(
        [&guard, path, locked, waited](UserInterface& ui) {
            *locked = guard.Lock(
                path,
                [&] {
                    *waited = true;
                    ui.SetStatusText(FillIn(Tr("Waiting for \"%1\" ..."), {FileNameOf(path)}));
                },
                [&] { return !ui.IsCancelled(); });
        },
        [this, path, locked, waited, done = std::move(done)] {
            UserInterface& ui = controller_.Ui();
            if (*waited) ui.SetStatusText({});
            if (!*locked) ui.ShowMessage(FileInUseMessage(path), MessageIcon::Exclamation);
            done(*locked);
        });
}

void LibraryDocument::Load(const std::string& path, bool add, std::function<void(Outcome)> done) {
    ListFileGuard& guard = add ? addGuard_ : guard_;
    SetBusy(true);
    LockFile(guard, path, [this, &guard, path, add, done = std::move(done)](bool locked) {
        if (!locked) {
            SetBusy(false);
            return done(Outcome::Failed);
        }
        UserInterface& ui = controller_.Ui();
        const auto finish = [this, &guard, &ui, done](Outcome outcome) {
            guard.Unlock();
            ui.SetStatusText({});
            ui.HideProgress();
            SetBusy(false);
            done(outcome);
        };
        if (!FileExists(path)) {
            ui.ShowMessage(NoFileMessage(path), MessageIcon::Exclamation);
            if (!add) guard_.Remember(path);
            return finish(Outcome::Failed);
        }
        // The library is replaced (or added to) only when the reading is
        // through, in one step: the window goes on with it meanwhile.
        auto contents = std::make_shared<ListFileContents>();
        work_->Run([path, contents](UserInterface& worker) { ReadListFile(path, *contents, worker); },
                   [this, path, add, contents, finish] {
                       if (contents->Cancelled()) return finish(Outcome::Cancelled);
                       const bool ok = ApplyListFile(controller_, *contents, add);
                       if (!ok) controller_.Ui().ShowMessage(OpenFailedMessage(path), MessageIcon::Exclamation);
                       if (!add) guard_.Remember(path);
                       finish(ok ? Outcome::Done : Outcome::Failed);
                   });
    });
}

void LibraryDocument::Open(const std::string& path, Done done) {
    if (!done) done = [](bool) {};
    if (path.empty()) return done(false);
    ConfirmDiscard([this, path, done](bool mayGoOn) {
        if (!mayGoOn) return done(false);
        const std::string absolute = MakeAbsolute(path);
        // A missing file leaves the library as it was (the loader says so).
        const bool exists = FileExists(absolute);
        Load(absolute, false, [this, absolute, exists, done](Outcome outcome) {
            if (!exists || outcome == Outcome::Cancelled) return done(false);
            const bool ok = outcome == Outcome::Done;
            path_ = ok ? absolute : std::string();
            settings_.RecentFiles().AddRecentFile(absolute, true);
            // What a damaged file gave is no change of the user's.
            if (!ok) controller_.modified = 0;
            OfferDirectoryCompletion([done, ok] { done(ok); });
        });
    });
}

void LibraryDocument::Add(const std::string& path, Done done) {
    if (!done) done = [](bool) {};
    if (path.empty()) return done(false);
    Load(MakeAbsolute(path), true, [this, done](Outcome outcome) {
        const bool ok = outcome == Outcome::Done;
        if (outcome == Outcome::Cancelled) return done(false);
        OfferDirectoryCompletion([done, ok] { done(ok); });
    });
}

void LibraryDocument::OpenWithDialog(Done done) {
    const std::string path = dialogs_->ChooseOpenFile(StartDir());
    if (path.empty()) {
        if (done) done(false);
        return;
    }
    RememberDir(path);
    Open(path, std::move(done));
}

void LibraryDocument::AddWithDialog(Done done) {
    const std::string path = dialogs_->ChooseOpenFile(StartDir());
    if (path.empty()) {
        if (done) done(false);
        return;
    }
    RememberDir(path);
    Add(path, std::move(done));
}

std::string LibraryDocument::ChooseFolder(const std::string& title) { return dialogs_->ChooseFolder(title, StartDir()); }

std::string LibraryDocument::ChooseExportFile(const std::string& title, const std::string& proposedName,
                                              const std::string& filter, const std::string& extension) {
    std::string chosen = dialogs_->ChooseExportFile(title, StartDir(), proposedName, filter);
    if (chosen.empty()) return {};
    chosen = MakeAbsolute(chosen);
    return ExtensionOf(chosen).empty() ? chosen + extension : chosen;
}

void LibraryDocument::Save(Done done) {
    if (!done) done = [](bool) {};
    if (path_.empty()) return SaveAs(std::move(done));
    SaveTo(path_, std::move(done));
}

void LibraryDocument::SaveAs(Done done) {
    if (!done) done = [](bool) {};
    const std::string proposed =
        path_.empty() ? std::string("unbenannt.swl") : WithListExtension(FileNameOf(path_));
    std::string chosen = dialogs_->ChooseSaveFile(StartDir(), proposed);
    if (chosen.empty()) return done(false);
    chosen = WithListExtension(MakeAbsolute(chosen));
    if (FileExists(chosen) && chosen != path_ &&
        controller_.Ui().Ask(OverwriteQuestion(chosen), QuestionButtons::YesNo, Answer::No) != Answer::Yes)
        return done(false);
    RememberDir(chosen);
    SaveTo(chosen, [this, chosen, done](bool ok) {
        if (ok) {
            path_ = chosen;
            settings_.RecentFiles().AddRecentFile(chosen, true);
        }
        done(ok);
    });
}

void LibraryDocument::SaveTo(const std::string& path, Done done) {
    SetBusy(true);
    LockFile(guard_, path, [this, path, done = std::move(done)](bool locked) {
        if (!locked) {
            SetBusy(false);
            return done(false);
        }
        switch (guard_.AskBeforeSave(path, controller_.Ui())) {
            case ListFileGuard::Choice::Cancel:
                guard_.Unlock();
                SetBusy(false);
                return done(false);
            case ListFileGuard::Choice::Reload:
                guard_.Unlock();
                SetBusy(false);
                return Load(path, false, [done](Outcome outcome) { done(outcome == Outcome::Done); });
            case ListFileGuard::Choice::Overwrite:
            case ListFileGuard::Choice::Unchanged: break;
        }
        WriteLocked(path, done);
    });
}

// The bytes are put together here (quick: the pictures are copied), the
// writing, which is what takes long, runs as long work.
void LibraryDocument::WriteLocked(const std::string& path, Done done) {
    UserInterface& ui = controller_.Ui();
    ui.SetStatusText(SavingStatusText());
    auto bytes = std::make_shared<std::string>(EncodeListFile(controller_.Library(), settings_.PovHome()));
    auto written = std::make_shared<bool>(false);
    const int changesBefore = controller_.modified;
    work_->Run([path, bytes, written](UserInterface&) { *written = WriteListFile(path, *bytes); },
               [this, path, written, changesBefore, done] {
                   UserInterface& ui = controller_.Ui();
                   if (*written) {
                       guard_.Remember(path);
                       // Nothing may change the library while it is busy; should
                       // something have, that change is still to be saved.
                       if (controller_.modified == changesBefore) controller_.modified = 0;
                   }
                   guard_.Unlock();
                   ui.SetStatusText({});
                   ui.HideProgress();
                   SetBusy(false);
                   if (!*written) ui.ShowMessage(SaveFailedMessage(path), MessageIcon::Exclamation);
                   done(*written);
               });
}

void LibraryDocument::OfferDirectoryCompletion(std::function<void()> then) {
    if (controller_.NoDirectoryCount() == 0 || controller_.Library().LibraryPaths().empty() ||
        controller_.Ui().Ask(CompleteDirectoriesQuestion(controller_.NoDirectoryCount()), QuestionButtons::YesNo,
                             Answer::Yes) != Answer::Yes)
        return then();
    SetBusy(true);
    auto job = std::make_shared<DirectoryCompletionJob>(PrepareDirectoryCompletion(controller_));
    controller_.Ui().SetCancelled(false);
    work_->Run([job](UserInterface& worker) { FindDirectories(*job, worker); },
               [this, job, then = std::move(then)] {
                   controller_.Ui().SetCancelled(false);
                   ApplyDirectories(controller_, *job);
                   SetBusy(false);
                   then();
               });
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
