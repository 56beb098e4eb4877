#pragma once
// The open list file as the main window's file commands see it: opening
// (after the save question), adding, saving, saving under a new name, the
// recent files and the question before the library is dropped. The file
// dialogs are the window's.
//
// Reading and writing the file (and waiting for another program's lock on
// it) is long work: it runs through a LongWork, so in the window it runs on
// a worker while the window stays busy, and each operation ends by calling
// its `done` with the outcome. Without a LongWork given, everything runs at
// once and `done` is called before the operation returns.
#include <functional>
#include <memory>
#include <string>

#include "library/ListFileGuard.h"
#include "ui/LongWork.h"

namespace sc {

class LibraryController;
class Settings;

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // "Texturenliste öffnen": an existing list file, or empty when cancelled.
    virtual std::string ChooseOpenFile(const std::string& startDir) = 0;
    // "Texturenliste speichern" proposing `proposedName`; empty when cancelled.
    virtual std::string ChooseSaveFile(const std::string& startDir, const std::string& proposedName) = 0;
    // A folder, under the dialog title `title`; empty when cancelled.
    virtual std::string ChooseFolder(const std::string& title, const std::string& startDir) = 0;
    // A file to write an export into, under the dialog title `title`, shown
    // with `filter` ("Kontaktbild (*.png)") and proposing `proposedName`;
    // empty when cancelled.
    virtual std::string ChooseExportFile(const std::string& title, const std::string& startDir,
                                         const std::string& proposedName, const std::string& filter) = 0;
};

class LibraryDocument {
public:
    // All borrowed; they must outlive the document.
    LibraryDocument(LibraryController& controller, Settings& settings, FileDialogs& dialogs);
    virtual ~LibraryDocument() = default;

    // The list file of the library; empty for an unnamed one.
    const std::string& Path() const { return path_; }
    // The library was emptied: it no longer stands for its file.
    void Forget() {
        path_.clear();
        guard_.Forget();
    }
    bool Modified() const;
    // Replaces the file dialogs (borrowed).
    void SetDialogs(FileDialogs& dialogs) { dialogs_ = &dialogs; }

    // Called with true before and false after loading and saving.
    void SetBusyHook(std::function<void(bool)> hook) { busy_ = std::move(hook); }
    // Where reading and writing run from now on (borrowed).
    void SetLongWork(LongWork& work) { work_ = &work; }

    // What an operation ends with: true when it did what it was asked.
    using Done = std::function<void(bool)>;

    // Opens a list file replacing the library, after the save question. A
    // file that loads only in part (damaged) keeps what was read but leaves
    // the library unnamed, so a later save cannot overwrite the damaged file.
    // Cancelled while reading (Escape), it leaves the library as it was.
    void Open(const std::string& path, Done done = {});
    void OpenWithDialog(Done done = {});
    // Adds a list file's entries to the library.
    void Add(const std::string& path, Done done = {});
    void AddWithDialog(Done done = {});
    // Saves to the current file; unnamed goes through SaveAs. Like every
    // program on a list file, it waits for another one holding the file;
    // when the file changed on disk since it was read, the user chooses
    // between reloading it, overwriting it and not saving.
    void Save(Done done = {});
    void SaveAs(Done done = {});
    // A folder to write into (an export), chosen in the folder dialog that
    // starts where the list dialogs do; empty when cancelled.
    std::string ChooseFolder(const std::string& title);
    // A file to write an export into, likewise; its name gets `extension`
    // when it has none.
    std::string ChooseExportFile(const std::string& title, const std::string& proposedName, const std::string& filter,
                                 const std::string& extension);

    // The question before the library is dropped (exit, opening another
    // file): `done(true)` when the caller may go on (saved, or the user said No).
    void ConfirmDiscard(Done done);
    static std::string SaveChangesQuestion(const std::string& path);

private:
    enum class Outcome { Done, Failed, Cancelled };
    void Load(const std::string& path, bool add, std::function<void(Outcome)> done);
    // Offers to complete the folders the library lacks, then goes on with `then`.
    void OfferDirectoryCompletion(std::function<void()> then);
    std::string StartDir() const;
    void RememberDir(const std::string& path);
    void SaveTo(const std::string& path, Done done);
    void WriteLocked(const std::string& path, Done done);
    // Takes `guard`'s lock on `path` as long work, waiting while another
    // program holds it; `done(false)` after the message when it stays held.
    void LockFile(ListFileGuard& guard, const std::string& path, Done done);
    void SetBusy(bool on);

    LibraryController& controller_;
    Settings& settings_;
    FileDialogs* dialogs_;
    std::function<void(bool)> busy_;
    std::unique_ptr<DirectWork> directWork_;
    LongWork* work_;
    std::string path_;
    ListFileGuard guard_;  // the open file as last read or saved
    ListFileGuard addGuard_;  // a file being added
};

}  // namespace sc
