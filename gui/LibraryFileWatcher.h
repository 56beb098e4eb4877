#pragma once
// Watching the open library's files from Qt's event loop: a file system
// watcher on the files (and their folders, so a file replaced by an editor's
// write-to-temp-and-rename or a vanished file that reappears is noticed),
// a short delay so one save gives one re-read, and the re-reading itself on
// a worker thread, so the window never waits for it; the result is applied
// on the window's thread in one step.
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <optional>
#include <thread>

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
    // Stops watching and drops any pending re-read and report (before the
    // library is closed or replaced); a re-read under way is told to stop
    // and its result is never applied.
    void Stop();
    // Holds the re-reading while the window must not see texts change under
    // it (a search, a save); changes noticed meanwhile wait for Resume.
    void Pause();
    void Resume();
    bool Busy() const { return delayTimer_.isActive() || running_ != 0 || watch_.Pending(); }
    ~LibraryFileWatcher() override;

    // Milliseconds between a change and its re-read.
    static constexpr int kDelayMs = 150;

signals:
    // A re-read of a changed file went to the worker.
    void readingStarted();
    // A re-read finished, or a file vanished: the window marks the changed
    // entries, shows the status text or the message, refreshes the pane.
    void fileChangeReported(const sc::FileChangeReport& report);

private:
    void Noticed(const QString& path);
    void DirectoryChanged(const QString& directory);
    void WatchFolders();
    void StartReading();
    void StartJob();
    void JobDone(quint64 serial, const std::optional<std::vector<EntryKey>>& changed);
    void Deliver();

    LibraryFileWatch watch_;
    QFileSystemWatcher watcher_;
    QTimer delayTimer_;
    // The job on the worker, and which one it is: a result whose serial is
    // no longer running_ (Stop, or the same file changed again) is dropped.
    std::optional<RereadJob> job_;
    quint64 running_ = 0;
    quint64 serial_ = 0;
    std::jthread worker_;
    QSet<QString> pending_;
    QSet<QString> watchedFiles_;  // everything the library wants watched, present or not
    QSet<QString> presentFiles_;  // those of them that existed at the last look
    QHash<QString, quint64> armedInodes_;  // the file each watch was set on
    bool paused_ = false;
};

}  // namespace sc
