#pragma once
// The "Aus&wählen" commands: they compute marks over all entries and turn
// them into the list's selection in one step, remember which kind of
// selection was made (the heading of the only-selected mode), and report
// when nothing was found.
#include <string>
#include <vector>

namespace sc {

class LibraryController;
class SelectionWindow;
class TextureEntry;
class UserInterface;

// What the last selection command selected.
enum class SelectionKind {
    Other = 0,
    FaultyPreviews = 1,
    EmptyPreviews = 2,
    Skipped = 3,
    Changed = 4,
    IncompatibleWith30 = 5,
    IncompatibleWith31 = 6,
    Duplicates = 7,
};

// The guidance shown after duplicates were found, by the comparison used.
std::string DuplicatesHintText(bool compareImages);

// Marks both entries of every neighbouring pair of duplicates in `entries`
// (sorted here by name, byte for byte, or by picture) and returns the
// number of pairs. Entries without preview never pair by picture.
int MarkDuplicates(std::vector<TextureEntry*> entries, bool compareImages);

class SelectionCommands {
public:
    // All three are borrowed and must outlive the commands.
    SelectionCommands(LibraryController& controller, SelectionWindow& window, UserInterface& ui);

    // The checks that read every declaration (Changed, IncompatibleWith30,
    // IncompatibleWith31); the number found, 0 when cancelled.
    int SelectByCheck(SelectionKind kind);
    // The checks over the entries' own flags (EmptyPreviews, Skipped,
    // Duplicates); the number found (pairs for duplicates).
    int SelectByMark(SelectionKind kind);
    // "&Duplikate..." after its dialog: the duplicates by name or picture.
    int SelectDuplicates(bool compareImages);
    // "&Fehlerhafte Vorschauen".
    int SelectFaulty();
    // "&Alle" and "Auswahl &invertieren".
    void SelectAll();
    void InvertSelection();

    // "Als ungeändert &markieren": takes the current declaration checksum of
    // every entry with a preview as its preview's checksum.
    int MarkAllUnchanged();

    // Marks and selects exactly `entries` (all other marks are cleared) as
    // "&Geänderte Texturen" would, without reading or asking anything: the
    // window found them changed while watching their files.
    void SelectChangedEntries(const std::vector<TextureEntry*>& entries);

    // Asks to switch from the file tree to the texture list; false when the
    // user cancelled (the command ends).
    bool SwitchToListIfNeeded();

    // The texture list reported a selection change: after the command's
    // timer has gone off it resets the kind.
    void SelectionChanged();
    void SelectionTimerElapsed() { timerRunning_ = false; }
    // Any other selection command (the window's own) resets the kind.
    void SetLastKind(SelectionKind kind) { lastKind_ = kind; }
    SelectionKind LastKind() const { return lastKind_; }

private:
    void ApplyMarks(SelectionKind kind, int timerMs);
    void EndBusy();

    LibraryController& controller_;
    SelectionWindow& window_;
    UserInterface& ui_;
    SelectionKind lastKind_ = SelectionKind::Other;
    bool timerRunning_ = false;
    bool compareImages_ = true;
};

}  // namespace sc
