#pragma once
// The main window as the selection, search and delete commands see it: the
// view stack's order and selection, the window's busy state, the switch to
// the texture list and the one-shot timer after a selection command.
#include <QTimer>

#include <functional>

#include "ui/SelectionWindow.h"

namespace sc {

class LibraryViewStack;
class MainWindow;

class WindowSelection : public SelectionWindow {
public:
    // `timerElapsed` is called when the selection timer goes off.
    WindowSelection(MainWindow& window, LibraryViewStack& views, std::function<void()> timerElapsed);

    std::vector<TextureEntry*> EntriesInViewOrder() override;
    TextureEntry* CurrentEntry() override;
    std::vector<TextureEntry*> SelectedEntries() override;
    void SelectEntries(const std::vector<TextureEntry*>& entries) override;
    void InvertSelection() override;
    bool FileListShown() override;
    void ShowTextureList() override;
    void LeaveOnlySelected() override;
    void SetBusy(bool busy) override;
    void StartSelectionTimer(int milliseconds) override;
    void RefreshStatus() override;

private:
    MainWindow& window_;
    LibraryViewStack& views_;
    QTimer timer_;
};

}  // namespace sc
