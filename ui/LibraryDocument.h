#pragma once
// The open list file as the main window's file commands see it: opening
// (after the save question), adding, saving, saving under a new name, the
// recent files and the question before the library is dropped. The file
// dialogs are the window's.
#include <functional>
#include <string>

#include "library/ListFileGuard.h"

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
    // Runs between the tries while a save or load waits for another
    // program to release the file (the window lets Escape through there);
    // none by default.
    void SetWaitHook(std::function<void()> hook) { wait_ = std::move(hook); }

    // Opens a list file replacing the library, after the save question. A
    // file that loads only in part (damaged) keeps what was read but leaves
    // the library unnamed, so a later save cannot overwrite the damaged file.
    bool Open(const std::string& path);
    bool OpenWithDialog();
    // Adds a list file's entries to the library.
    bool Add(const std::string& path);
    bool AddWithDialog();
    // Saves to the current file; unnamed goes through SaveAs. Like every
    // program on a list file, it waits for another one holding the file;
    // when the file changed on disk since it was read, the user chooses
    // between reloading it, overwriting it and not saving.
    bool Save();
    bool SaveAs();
    // A folder to write into (an export), chosen in the folder dialog that
    // starts where the list dialogs do; empty when cancelled.
    std::string ChooseFolder(const std::string& title);
    // A file to write an export into, likewise; its name gets `extension`
    // when it has none.
    std::string ChooseExportFile(const std::string& title, const std::string& proposedName, const std::string& filter,
                                 const std::string& extension);

    // The question before the library is dropped (exit, opening another
    // file): true when the caller may go on (saved, or the user said No).
    bool ConfirmDiscard();
    static std::string SaveChangesQuestion(const std::string& path);

private:
    bool Load(const std::string& path, bool add);
    void OfferDirectoryCompletion();
    std::string StartDir() const;
    void RememberDir(const std::string& path);
    bool SaveTo(const std::string& path);
    bool LockFile(ListFileGuard& guard, const std::string& path);

    LibraryController& controller_;
    Settings& settings_;
    FileDialogs* dialogs_;
    std::function<void(bool)> busy_;
    std::function<void()> wait_;
    std::string path_;
    ListFileGuard guard_;  // the open file as last read or saved
};

}  // namespace sc
