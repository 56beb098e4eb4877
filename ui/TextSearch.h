#pragma once
// "Text suchen" and "Suche &wiederholen": finds a text in the entries'
// file names, names or declarations, walking the view's order with
// wrap-around, and continues across calls where the last one stopped.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "ui/LongWork.h"

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
    ~TextSearch();

    // Where declarations are read from now on (borrowed); without one they
    // are read here and now and each search ends before it returns.
    void SetLongWork(LongWork& work) { work_ = &work; }

    SearchSettings& Settings() { return settings_; }

    // The dialog's buttons: starts a new pass from the current entry. The
    // window is busy until the search ends; Escape ends it early.
    void Start(SearchAction action);
    // F3: continues with the stored settings (the caller opens the dialog
    // when there is no text yet).
    void Again();
    // Whether the last search that ended found something.
    bool LastFound() const { return lastFound_; }

    // The text searched in for an entry, by the field chosen.
    std::string SearchableText(TextureEntry& entry);

private:
    struct Matches;
    void Run();
    void Walk(const Matches* matches);
    void End(bool found, bool cancelled);
    bool Holds(TextureEntry& entry, const Matches* matches);

    LibraryController& controller_;
    SelectionWindow& window_;
    UserInterface& ui_;
    SearchSettings settings_;
    bool lastFound_ = false;
    std::unique_ptr<DirectWork> directWork_;
    LongWork* work_;
};

}  // namespace sc
