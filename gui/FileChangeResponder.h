#pragma once
// The window's answer to edits of the open library's files. While a library
// is open its files stay watched; each finished re-read marks and selects
// the changed entries as "Select | &Changed Textures" would and says so in the
// status bar, a vanished file is named once, and the pane shows the current
// entry as its file now reads (also when a missing file came back).
// Nothing is rendered or saved here: that stays the user's decision.
#include <QObject>

#include <memory>

#include "gui/WindowParts.h"

namespace sc {

class LibraryFileWatcher;
class LibraryNotifications;
struct FileChangeReport;

class FileChangeResponder : public QObject {
    Q_OBJECT
public:
    // The parts are borrowed and must outlive the responder.
    FileChangeResponder(const WindowParts& parts, LibraryNotifications& notifications);
    ~FileChangeResponder() override;

    // Watches the library's files as they are now: after a library was
    // loaded or entries were added (the views were filled again).
    void Rearm();
    // Holds the re-reading while the window is busy or renders; changes
    // noticed meanwhile are read when the hold ends.
    void Hold(bool hold);
    LibraryFileWatcher& Watcher() { return *watcher_; }

private:
    void Respond(const FileChangeReport& report);

    WindowParts p_;
    std::unique_ptr<LibraryFileWatcher> watcher_;
    bool held_ = false;
};

}  // namespace sc
