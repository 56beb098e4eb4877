#include "gui/WindowSelection.h"


#include "gui/LibraryViewStack.h"
#include "gui/MainWindow.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "ui/MainCommands.h"

namespace sc {

WindowSelection::WindowSelection(MainWindow& window, LibraryViewStack& views, std::function<void()> timerElapsed)
    : window_(window), views_(views) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [elapsed = std::move(timerElapsed)] { elapsed(); });
}

std::vector<TextureEntry*> WindowSelection::EntriesInViewOrder() { return views_.EntriesInListOrder(); }

TextureEntry* WindowSelection::CurrentEntry() {
    TextureEntry* entry = views_.CurrentEntry();
    // A file node stands for its file's first entry.
    if (entry && entry->IsFileNode() && entry->sourceFile && entry->sourceFile->placeholder)
        return entry->sourceFile->placeholder->next;
    return entry;
}

std::vector<TextureEntry*> WindowSelection::SelectedEntries() { return views_.SelectedEntries(); }

void WindowSelection::SelectEntries(const std::vector<TextureEntry*>& entries) { views_.SelectEntries(entries); }

void WindowSelection::InvertSelection() { views_.InvertSelection(); }

bool WindowSelection::FileListShown() { return views_.ViewType() == kFileListType; }

void WindowSelection::ShowTextureList() { window_.RunCommand(int(Command::TextureList)); }

void WindowSelection::LeaveOnlySelected() { views_.LeaveOnlySelected(); }

void WindowSelection::SetBusy(bool busy) { window_.SetBusy(busy); }

void WindowSelection::StartSelectionTimer(int milliseconds) { timer_.start(milliseconds); }

void WindowSelection::RefreshStatus() { window_.RefreshStatusText(); }

}  // namespace sc
