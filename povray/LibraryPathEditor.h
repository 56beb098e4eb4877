#pragma once
// What the dialog "POV-Ray Bibliotheks-Verzeichnisse" decides, without the
// dialog: the list with its selection, the button states, adding, deleting
// and moving entries, and the checks and questions of OK.
#include <functional>
#include <string>
#include <vector>

#include "platform/UserInterface.h"

namespace sc {

class LibraryPathEditor {
public:
    // Writes the list into POV-Ray's ini file; true on success.
    using Rewriter = std::function<bool(const std::vector<std::string>& paths)>;

    // Opens on the paths read from `iniPath` (shown in the dialog and named
    // in its questions); the first entry is selected.
    LibraryPathEditor(std::vector<std::string> paths, std::string iniPath, UserInterface& ui);
    virtual ~LibraryPathEditor() = default;

    const std::vector<std::string>& Entries() const { return entries_; }
    int Selected() const { return selected_; }
    void Select(int index);

    bool CanDelete() const { return !entries_.empty(); }
    bool CanMoveUp() const { return selected_ > 0; }
    bool CanMoveDown() const { return selected_ >= 0 && selected_ + 1 < static_cast<int>(entries_.size()); }

    // "&Löschen": removes the selected entry and selects its successor (or
    // the new last entry).
    void Delete();
    // "&Hinzufügen...": inserts `directory` before the selection (or at the
    // end) and selects it; a directory already listed is reported and selected.
    void Add(const std::string& directory);
    // "Auf" / "Ab".
    void MoveUp();
    void MoveDown();

    // OK: asks about missing folders, an empty list and writing a changed
    // list (through `rewrite`). True when the dialog closes; Changed() then
    // tells whether the list differs from the one read at opening.
    bool Ok(const Rewriter& rewrite);
    bool Changed() const { return changed_; }

    // The rewriter for a POV-Ray home: the user's povray.ini of that home.
    static Rewriter ForHome(std::string home);

private:
    bool DiffersFromOriginal() const;

    std::vector<std::string> entries_;
    std::vector<std::string> original_;
    std::string iniPath_;
    UserInterface& ui_;
    int selected_ = -1;
    bool changed_ = false;
};

}  // namespace sc
