#pragma once
// The overview command's steps around its dialog: which entries are
// marked, the question about missing previews, and the offer afterwards to
// select the entries the writer left out.
#include <string>

namespace sc {

class LibraryController;
class SelectionWindow;

// What the scope question "Texturenübersicht" answered.
enum class OverviewScope { Cancelled, All, Restricted };

// True when the scope question is needed (two or more entries selected).
bool NeedsScopeQuestion(SelectionWindow& window);

// Marks the entries of the scope: all; or, restricted, the current entry's
// file in the file tree, else the selected entries. Returns the number marked.
int MarkOverviewScope(LibraryController& controller, SelectionWindow& window, OverviewScope scope);

// True when not every entry has a preview (faulty ones counted as having one).
bool PreviewsMissing(const LibraryController& controller);
// The question asked then (warning icon, Yes/No).
std::string PreviewsMissingQuestion(bool restricted);

// The question after writing when entries were left out.
std::string SkippedEntriesQuestion();

}  // namespace sc
