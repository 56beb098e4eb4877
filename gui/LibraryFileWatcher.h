#pragma once
// Watching the open library's files from Qt's event loop: a file system
// watcher on the files (and their folders, so a file replaced by an editor's
// write-to-temp-and-rename or a vanished file that reappears is noticed),
// a short delay so one save gives one re-read, and the re-reading itself in
// small steps between events so the window never freezes.
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include "ui/LibraryFileWatch.h"

namespace sc {

class TextureLibrary;

class LibraryFileWatcher : public QObject {
    Q_OBJECT
public:
    // The library is borrowed and must outlive the watcher.
    explicit LibraryFileWatcher(TextureLibrary& library, QObject* parent = nullptr);

    // Watches the library's files as they are now: call after a library was
    // opened or entries were added, and after each report.
    void Rearm();
    // Stops watching and drops any pending re-read (before the library is
    // closed or replaced).
    void Stop();
    // Holds the re-reading while the window must not see texts change under
    // it (a search, a save); changes noticed meanwhile wait for Resume.
    void Pause();
    void Resume();
    bool Busy() const { return stepTimer_.isActive() || delayTimer_.isActive(); }

    // Milliseconds between a change and its re-read, and entries per step.
    static constexpr int kDelayMs = 150;
    static constexpr int kEntriesPerStep = 16;

signals:
    // A re-read finished, or a file vanished: the window marks the changed
    // entries, shows the status text or the message, refreshes the pane.
    void fileChangeReported(const sc::FileChangeReport& report);

private:
    void Noticed(const QString& path);
    void DirectoryChanged(const QString& directory);
    void WatchFolders();
    void StartReading();
    void Step();

    LibraryFileWatch watch_;
    QFileSystemWatcher watcher_;
    QTimer delayTimer_;
    QTimer stepTimer_;
    QSet<QString> pending_;
    QSet<QString> watchedFiles_;  // everything the library wants watched, present or not
    QSet<QString> presentFiles_;  // those of them that existed at the last look
    QHash<QString, quint64> armedInodes_;  // the file each watch was set on
    bool paused_ = false;
};

}  // namespace sc
