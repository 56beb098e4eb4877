#pragma once
// "Text suchen" and "Suche &wiederholen": finds a text in the entries'
// file names, names or declarations, walking the view's order with
// wrap-around, and continues across calls where the last one stopped.
#include <cstddef>
#include <string>
#include <string_view>

namespace sc {

class LibraryController;
class SelectionWindow;
class TextureEntry;
class UserInterface;

enum class SearchField { FileName = 0, TextureName = 1, TextureText = 2 };
enum class SearchAction { FindNext = 1, SelectAll = 2 };

struct SearchSettings {
    std::string text;
    SearchField field = SearchField::TextureName;
    bool inConstants = false;  // with TextureText: the constants' values too
    bool matchCase = false;
    bool wholeWords = false;
    bool up = false;
    SearchAction action = SearchAction::FindNext;

    // Where the walk stands between calls. The entries are only compared,
    // never dereferenced: one of them may have been deleted meanwhile.
    const TextureEntry* startEntry = nullptr;
    int changeCounter = 0;
    int visited = 0;
    const TextureEntry* lastFound = nullptr;
    bool foundSinceStart = false;
};

// The position of the first occurrence of `needle` in `haystack` from
// `from` on, or npos. With `wholeWords` an occurrence counts only when the
// characters around it do not continue the word: before it and the first
// character of the needle may not both be word letters (letters and "_")
// or both digits; likewise after it and the needle's last character.
std::size_t FindOccurrence(std::string_view haystack, std::string_view needle, bool matchCase, bool wholeWords,
                           std::size_t from = 0);

// The message when nothing was found.
std::string NotFoundText(const std::string& text);

class TextSearch {
public:
    // All are borrowed and must outlive the search.
    TextSearch(LibraryController& controller, SelectionWindow& window, UserInterface& ui);

    SearchSettings& Settings() { return settings_; }

    // The dialog's buttons: starts a new pass from the current entry.
    void Start(SearchAction action);
    // F3: continues with the stored settings (the caller opens the dialog
    // when there is no text yet). True when something was found.
    bool Again();

    // The text searched in for an entry, by the field chosen.
    std::string SearchableText(TextureEntry& entry);

private:
    bool Run();

    LibraryController& controller_;
    SelectionWindow& window_;
    UserInterface& ui_;
    SearchSettings settings_;
};

}  // namespace sc
