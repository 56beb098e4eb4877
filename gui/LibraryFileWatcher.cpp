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
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &LibraryFileWatcher::Noticed);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &LibraryFileWatcher::DirectoryChanged);
    connect(&delayTimer_, &QTimer::timeout, this, &LibraryFileWatcher::StartReading);
}

// The worker holds only its own copy of the job; stopping and joining it here
// means no result is posted to a watcher that is gone.
LibraryFileWatcher::~LibraryFileWatcher() {
    worker_.request_stop();
    if (worker_.joinable()) worker_.join();
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
    worker_.request_stop();
    running_ = 0;
    job_.reset();
    watch_.Drop();
    pending_.clear();
    watchedFiles_.clear();
    presentFiles_.clear();
    armedInodes_.clear();
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
}

void LibraryFileWatcher::Pause() { paused_ = true; }

void LibraryFileWatcher::Resume() {
    paused_ = false;
    Deliver();  // what finished while held
    if (!pending_.isEmpty()) delayTimer_.start();
    else if (running_ == 0) StartJob();
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
    // A file changed again while it is being read: that reading is stale.
    if (job_ && pending_.contains(QString::fromStdString(job_->path))) {
        worker_.request_stop();
        running_ = 0;
        job_.reset();
    }
    for (const QString& path : pending_) watch_.FileChanged(path.toStdString());
    pending_.clear();
    if (running_ == 0) StartJob();
}

void LibraryFileWatcher::StartJob() {
    if (paused_ || running_ != 0) return;
    job_ = watch_.TakeJob();
    if (!job_) {
        Deliver();  // vanished files are reported without reading
        return;
    }
    running_ = ++serial_;
    // Assigning joins the previous worker, which has finished or was told to stop.
    worker_ = std::jthread([this, job = *job_, serial = running_](std::stop_token stop) {
        auto changed = LibraryFileWatch::Reread(job, stop);
        if (stop.stop_requested()) return;
        QMetaObject::invokeMethod(
            this, [this, serial, changed = std::move(changed)] { JobDone(serial, changed); }, Qt::QueuedConnection);
    });
    emit readingStarted();
}

void LibraryFileWatcher::JobDone(quint64 serial, const std::optional<std::vector<EntryKey>>& changed) {
    if (serial != running_ || !job_) return;
    running_ = 0;
    if (changed) watch_.Finish(*job_, *changed);
    job_.reset();
    if (paused_) return;  // reported when the hold ends
    if (watch_.Pending()) {
        StartJob();
        // Reports of finished files are not held back by the next file.
        if (running_ == 0) return;
    }
    Deliver();
}

void LibraryFileWatcher::Deliver() {
    if (paused_) return;
    const auto reports = watch_.TakeReports();
    if (reports.empty()) return;
    Rearm();
    for (const FileChangeReport& report : reports) emit fileChangeReported(report);
}

}  // namespace sc
