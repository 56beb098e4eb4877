#pragma once
// The commands that change or remove entries from the window ("&Kategorie
// ändern..." and the three delete commands), with their questions and the
// selection they leave behind.
#include <string>
#include <vector>

namespace sc {

class LibraryController;
class SelectionWindow;
class TextureEntry;
class UserInterface;

// The question before a category change ("-" stands for an empty category).
std::string CategoryQuestion(int selectedCount, const std::string& category);

// Gives the entries the category (SetEntryCategory for each) and redraws
// them; true when any entry changed.
bool ChangeCategory(LibraryController& controller, const std::vector<TextureEntry*>& entries,
                    const std::string& category);

// The question before "Alle &löschen" deletes the `shown` entries of `total`.
std::string DeleteAllQuestion(int shown, int total);

// The item to select after deleting the selected ones: the old position of
// the first selected item, or the last item when the list became shorter;
// -1 when the list is empty.
int IndexAfterDelete(int firstSelectedIndex, int remainingCount);

class DeleteCommands {
public:
    // All three are borrowed and must outlive the commands.
    DeleteCommands(LibraryController& controller, SelectionWindow& window, UserInterface& ui);

    // "Ausgewählte l&öschen": no question. With every entry selected (outside
    // the only-selected mode) the same as deleting all. Returns the number deleted.
    int DeleteSelected();
    // "Alle &löschen": deletes the entries the view shows (a filter or the
    // only-selected mode keeps the others), after a question naming how many
    // (No preselected). Entries left over are shown again, the only-selected
    // mode ending. True when deleted.
    bool DeleteAll();
    // "Ausgewählte Vorschau&bilder löschen": asks first (No preselected).
    void DeletePreviews();

private:
    LibraryController& controller_;
    SelectionWindow& window_;
    UserInterface& ui_;
};

}  // namespace sc
