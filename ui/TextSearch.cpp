#include "ui/TextSearch.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include <map>
#include <tuple>
#include <memory>

#include "library/LibraryController.h"
#include "library/LibrarySnapshot.h"
#include "platform/UserInterface.h"
#include "scanner/DeclarationReader.h"
#include "ui/SelectionWindow.h"
#include "platform/Translate.h"

namespace sc {
namespace {

// Bytes above 127 are parts of letters in UTF-8 text (umlauts).
bool IsWordLetter(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool Continues(unsigned char outside, unsigned char edge) {
    return (IsWordLetter(outside) && IsWordLetter(edge)) || (IsDigit(outside) && IsDigit(edge));
}

bool SameChar(char a, char b, bool matchCase) {
    if (matchCase) return a == b;
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

std::size_t FindAt(std::string_view haystack, std::string_view needle, bool matchCase, std::size_t from) {
    auto it = std::search(haystack.begin() + static_cast<std::ptrdiff_t>(from), haystack.end(), needle.begin(),
                          needle.end(), [matchCase](char a, char b) { return SameChar(a, b, matchCase); });
    return it == haystack.end() ? std::string_view::npos : static_cast<std::size_t>(it - haystack.begin());
}

// The declaration as searched in: with `inConstants`, the values of the
// constants it uses follow it.
std::string DeclarationText(TextureLibrary& library, TextureEntry& entry, bool inConstants) {
    LoadDeclaration(library, entry, inConstants);
    std::string text = entry.record && entry.record->text ? *entry.record->text : std::string();
    if (inConstants)
        for (const DeclarationRecord* d : entry.dependencies)
            if (d && d->text) text += " " + *d->text;
    return text;
}

bool KeyLess(const EntryKey& a, const EntryKey& b) {
    return std::tie(a.directory, a.fileName, a.name) < std::tie(b.directory, b.fileName, b.name);
}

int IndexOf(const std::vector<TextureEntry*>& order, const TextureEntry* entry) {
    auto it = std::find(order.begin(), order.end(), entry);
    return it == order.end() ? -1 : static_cast<int>(it - order.begin());
}

}  // namespace

std::size_t FindOccurrence(std::string_view haystack, std::string_view needle, bool matchCase, bool wholeWords,
                           std::size_t from) {
    if (needle.empty()) return std::string_view::npos;
    for (std::size_t at = from; at + needle.size() <= haystack.size(); ++at) {
        at = FindAt(haystack, needle, matchCase, at);
        if (at == std::string_view::npos) return at;
        if (!wholeWords) return at;
        const std::size_t end = at + needle.size();
        const bool before = at > 0 && Continues(haystack[at - 1], needle.front());
        const bool after = end < haystack.size() && Continues(haystack[end], needle.back());
        if (!before && !after) return at;
    }
    return std::string_view::npos;
}

std::string NotFoundText(const std::string& text) { return FillIn(Tr("\"%1\"\nnot found."), {text}); }

// Which entries hold the text, by key, as the worker found them.
struct TextSearch::Matches {
    std::map<EntryKey, bool, decltype(&KeyLess)> byKey{&KeyLess};
};

TextSearch::TextSearch(LibraryController& controller, SelectionWindow& window, UserInterface& ui)
    : controller_(controller),
      window_(window),
      ui_(ui),
      directWork_(std::make_unique<DirectWork>(ui)),
      work_(directWork_.get()) {}

TextSearch::~TextSearch() = default;

std::string TextSearch::SearchableText(TextureEntry& entry) {
    switch (settings_.field) {
        case SearchField::FileName:
            return entry.sourceFile ? entry.sourceFile->directory + entry.sourceFile->fileName : std::string();
        case SearchField::TextureName: return entry.name;
        case SearchField::TextureText: break;
    }
    return DeclarationText(controller_.Library(), entry, settings_.inConstants);
}

bool TextSearch::Holds(TextureEntry& entry, const Matches* matches) {
    if (matches) {
        const auto it = matches->byKey.find(KeyOf(entry));
        return it != matches->byKey.end() && it->second;
    }
    return FindOccurrence(SearchableText(entry), settings_.text, settings_.matchCase, settings_.wholeWords) !=
           std::string::npos;
}

void TextSearch::Start(SearchAction action) {
    settings_.action = action;
    if (settings_.text.empty()) return;
    settings_.startEntry = nullptr;  // a new pass from the current entry
    Run();
}

void TextSearch::Again() {
    lastFound_ = false;
    if (!settings_.text.empty()) Run();
}

// Names and file names are at hand; declarations are read from their
// files, which takes long in a large library: that runs on a worker over a
// copy of the library's names, and the walk below looks up what it found.
void TextSearch::Run() {
    ui_.SetCancelled(false);
    window_.SetBusy(true);
    if (settings_.field != SearchField::TextureText) return Walk(nullptr);
    struct Work {
        TextureLibrary library;
        std::vector<EntryKey> keys;
        SearchSettings settings;
        Matches matches;
        bool cancelled = false;
    };
    auto work = std::make_shared<Work>();
    CopyEntryNames(controller_.Library(), work->library);
    for (const TextureEntry* e : window_.EntriesInViewOrder()) work->keys.push_back(KeyOf(*e));
    work->settings = settings_;
    work_->Run(
        [work](UserInterface& ui) {
            const SearchSettings& s = work->settings;
            ui.SetStatusText(Tr("Searching:"));
            ui.SetProgressRange(static_cast<int>(work->keys.size()));
            ui.SetProgressPosition(0);
            for (const EntryKey& key : work->keys) {
                TextureEntry* e = work->library.FindEntry(key);
                work->matches.byKey[key] =
                    e && FindOccurrence(DeclarationText(work->library, *e, s.inConstants), s.text, s.matchCase,
                                        s.wholeWords) != std::string::npos;
                ui.StepProgress();
                if (ui.IsCancelled()) {
                    work->cancelled = true;
                    return;
                }
            }
        },
        [this, work] {
            if (work->cancelled) return End(false, true);
            Walk(&work->matches);
        });
}

void TextSearch::Walk(const Matches* matches) {
    const auto order = window_.EntriesInViewOrder();
    const int n = static_cast<int>(order.size());
    TextureEntry* current = window_.CurrentEntry();
    if (IndexOf(order, current) < 0) current = n > 0 ? order.front() : nullptr;
    SearchSettings& s = settings_;
    if (!s.startEntry || s.changeCounter != controller_.modified || current != s.lastFound ||
        IndexOf(order, s.startEntry) < 0) {
        s.startEntry = current;
        s.changeCounter = controller_.modified;
        s.visited = 0;
        s.foundSinceStart = false;
    }
    const bool selectAll = s.action == SearchAction::SelectAll;
    const int step = s.up ? -1 : 1;
    int pos = IndexOf(order, current);
    if (s.visited == 0 || selectAll) {
        s.visited = 0;
        pos = IndexOf(order, s.startEntry) - step;
    }
    ui_.SetStatusText(Tr("Searching:"));
    ui_.SetProgressRange(n);
    ui_.SetProgressPosition(0);
    std::vector<TextureEntry*> hits;
    bool found = false;
    while (n > 0) {
        pos = ((pos + step) % n + n) % n;
        TextureEntry* e = order[static_cast<size_t>(pos)];
        if (e == s.startEntry && s.visited > 0) {
            s.visited = 0;
            if (!s.foundSinceStart || selectAll) break;
            ui_.SetProgressPosition(0);
        }
        e->marked = false;
        ++s.visited;
        ui_.StepProgress();
        if (ui_.IsCancelled()) break;
        if (!Holds(*e, matches)) continue;
        s.foundSinceStart = true;
        if (!selectAll) {
            window_.SelectEntries({e});
            s.lastFound = e;
            found = true;
            break;
        }
        e->marked = true;
        hits.push_back(e);
    }
    const bool cancelled = ui_.IsCancelled();
    ui_.SetCancelled(false);
    if (selectAll && !hits.empty() && !cancelled) {
        std::vector<TextureEntry*> marked;
        for (TextureEntry* e : order)
            if (e->marked) marked.push_back(e);
        window_.SelectEntries(marked);
        found = true;
    }
    End(found, cancelled);
}

void TextSearch::End(bool found, bool cancelled) {
    settings_.action = SearchAction::FindNext;
    ui_.SetCancelled(false);
    ui_.HideProgress();
    ui_.SetStatusText({});
    window_.SetBusy(false);
    window_.RefreshStatus();
    lastFound_ = found;
    if (!found && !cancelled) ui_.ShowMessage(NotFoundText(settings_.text), MessageIcon::Information);
}

}  // namespace sc
