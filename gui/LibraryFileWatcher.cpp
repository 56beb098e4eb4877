// The file watcher's event handling; the meaning of a change lives in
// ui/LibraryFileWatch.
#include "gui/LibraryFileWatcher.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>

namespace sc {
namespace {

// The file a path names now; 0 when there is none. A write-to-temp-and-
// rename gives the path a new one, and the old watch sees nothing more.
quint64 InodeOf(const QString& path) {
    struct stat status {};
    return stat(QFile::encodeName(path).constData(), &status) == 0 ? static_cast<quint64>(status.st_ino) : 0;
}

}  // namespace

LibraryFileWatcher::LibraryFileWatcher(TextureLibrary& library, QObject* parent)
    : QObject(parent), watch_(library) {
    delayTimer_.setSingleShot(true);
    delayTimer_.setInterval(kDelayMs);
    stepTimer_.setInterval(0);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &LibraryFileWatcher::Noticed);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &LibraryFileWatcher::DirectoryChanged);
    connect(&delayTimer_, &QTimer::timeout, this, &LibraryFileWatcher::StartReading);
    connect(&stepTimer_, &QTimer::timeout, this, &LibraryFileWatcher::Step);
}

void LibraryFileWatcher::Rearm() {
    QSet<QString> files;
    for (const std::string& path : watch_.WatchedFiles()) files.insert(QString::fromStdString(path));
    watchedFiles_ = files;
    presentFiles_.clear();
    // Watches stay on files that are still the same, so no change is lost
    // while the others are set again; a file an editor replaced gets a new one.
    QStringList remove, add;
    for (const QString& file : watcher_.files())
        if (!files.contains(file) || InodeOf(file) != armedInodes_.value(file)) remove << file;
    if (!remove.isEmpty()) watcher_.removePaths(remove);
    const QStringList armedList = watcher_.files();
    const QSet<QString> armed(armedList.begin(), armedList.end());
    for (const QString& file : files) {
        const quint64 inode = InodeOf(file);
        if (inode == 0) continue;
        presentFiles_.insert(file);
        if (armed.contains(file)) continue;
        armedInodes_[file] = inode;
        add << file;
    }
    if (!add.isEmpty()) watcher_.addPaths(add);
    WatchFolders();
}

// The folders of the watched files, or while one is gone the nearest folder
// above it, where its return shows.
void LibraryFileWatcher::WatchFolders() {
    QSet<QString> wanted;
    for (const std::string& folder : watch_.WatchedFolders()) wanted.insert(QString::fromStdString(folder));
    QStringList remove, add;
    const QStringList watchedList = watcher_.directories();
    const QSet<QString> watched(watchedList.begin(), watchedList.end());
    for (const QString& folder : watched)
        if (!wanted.contains(folder)) remove << folder;
    for (const QString& folder : wanted)
        if (!watched.contains(folder)) add << folder;
    if (!remove.isEmpty()) watcher_.removePaths(remove);
    if (!add.isEmpty()) watcher_.addPaths(add);
}

void LibraryFileWatcher::Stop() {
    delayTimer_.stop();
    stepTimer_.stop();
    pending_.clear();
    watchedFiles_.clear();
    presentFiles_.clear();
    armedInodes_.clear();
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
}

void LibraryFileWatcher::Pause() {
    paused_ = true;
    stepTimer_.stop();
}

void LibraryFileWatcher::Resume() {
    paused_ = false;
    if (!pending_.isEmpty()) delayTimer_.start();
    else if (watch_.Pending()) stepTimer_.start();
}

void LibraryFileWatcher::Noticed(const QString& path) {
    if (!watchedFiles_.contains(path)) return;
    pending_.insert(path);
    delayTimer_.start();  // restarts: a burst of writes gives one re-read
}

void LibraryFileWatcher::DirectoryChanged(const QString& directory) {
    // A folder that went or came back changes which folder stands in for it;
    // the files are looked at only after that, so one created meanwhile is seen.
    WatchFolders();
    // A file that appeared, vanished or was replaced by a rename in the
    // folder or, where the folder stands in for a removed one, below it.
    const QString below = directory.endsWith(QLatin1Char('/')) ? directory : directory + QLatin1Char('/');
    for (const QString& file : watchedFiles_) {
        if (!file.startsWith(below)) continue;
        const bool present = QFileInfo::exists(file);
        if (present != presentFiles_.contains(file) || (present && !watcher_.files().contains(file)))
            Noticed(file);
    }
}

void LibraryFileWatcher::StartReading() {
    if (paused_) return;
    for (const QString& path : pending_) watch_.FileChanged(path.toStdString());
    pending_.clear();
    stepTimer_.start();
}

void LibraryFileWatcher::Step() {
    if (paused_) return;
    if (watch_.ReadSome(kEntriesPerStep)) return;
    stepTimer_.stop();
    const auto reports = watch_.TakeReports();
    Rearm();
    for (const FileChangeReport& report : reports) emit fileChangeReported(report);
}

}  // namespace sc
