#include "preview/BatchRenderer.h"

#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/epoll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <unordered_set>

#include "library/LibraryController.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "platform/PathUtil.h"
#include "povray/PovCommandLine.h"
#include "povray/PovInstallation.h"
#include "povray/PovRenderProcess.h"
#include "preview/PreviewCodec.h"
#include "preview/PreviewRenderRun.h"
#include "preview/PreviewRenderer.h"
#include "preview/SampleScenes.h"
#include "preview/SceneWriter.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"

namespace sc {
namespace {

constexpr int kJobsPerCore = 8;
constexpr int kMaxJobs = 32;
constexpr std::size_t kMaxLog = 64 * 1024;
constexpr const char* kSceneName = "TexturePreview.pov";
constexpr const char* kFolderPrefix = ".batch-";

// Private folders are named ".batch-<pid>-XXXXXX"; those of processes that
// are gone (killed before they could clean up) are removed.
void RemoveAbandonedFolders(const std::string& parent) {
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(parent, error)) {
        const std::string name = item.path().filename().string();
        if (name.rfind(kFolderPrefix, 0) != 0) continue;
        const long pid = std::strtol(name.c_str() + std::char_traits<char>::length(kFolderPrefix), nullptr, 10);
        if (pid <= 0 || (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH))
            std::filesystem::remove_all(item.path(), error);
    }
}

std::string Duration(double seconds) {
    const long total = std::lround(seconds);
    char text[32];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

}  // namespace

struct BatchRenderer::Slot {
    std::string folder;
    TextureEntry* entry = nullptr;  // null while the slot is free or its entry was forgotten
    std::vector<std::string> declarationLines;
    int attempt = 0;
    float savedVersion = 0;
    bool hadPicture = false;
    bool timedOut = false;
    std::unique_ptr<PovRenderProcess> process;
    PpmStreamReader reader;
    FrameBuffer frame;
    std::string log;
    Clock::time_point deadline;
};

double BatchProgress::PerSecond() const { return elapsedSeconds > 0 ? Finished() / elapsedSeconds : 0; }

double BatchProgress::SecondsLeft() const {
    const double rate = PerSecond();
    return rate > 0 ? (total - Finished()) / rate : -1;
}

std::string BatchProgressText(const BatchProgress& progress) {
    std::string line = std::to_string(progress.Finished()) + " von " + std::to_string(progress.total) + " fertig, " +
                       std::to_string(progress.failed) + " fehlerhaft, " + FormatFixed(progress.PerSecond(), 1) +
                       " Vorschauen/s";
    const double left = progress.SecondsLeft();
    if (left >= 0) line += ", noch " + Duration(left);
    return line;
}

std::vector<TextureEntry*> EntriesToRenderInBackground(const TextureLibrary& library,
                                                       const std::vector<TextureEntry*>& selected) {
    if (selected.size() >= 2) return selected;
    std::vector<TextureEntry*> missing;
    for (TextureEntry* entry = library.NextEntry(nullptr); entry; entry = library.NextEntry(entry))
        if (!entry->previewValid) missing.push_back(entry);
    return missing;
}

BatchRenderer::BatchRenderer(LibraryController& controller, const PovInstallation& installation,
                             BatchRenderSettings settings)
    : controller_(controller), installation_(installation), settings_(std::move(settings)) {
    epoll_ = epoll_create1(EPOLL_CLOEXEC);
}

BatchRenderer::~BatchRenderer() {
    StopAll();
    if (!folder_.empty()) {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    if (epoll_ >= 0) close(epoll_);
}

int BatchRenderer::DefaultJobs() {
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return std::min(kMaxJobs, kJobsPerCore * cores);
}

bool BatchRenderer::MakePrivateFolder() {
    if (!folder_.empty()) return true;
    const std::string parent =
        settings_.templateFolder.empty() ? PreviewTemplateFolder() : settings_.templateFolder;
    if (!DirectoryExists(parent) && !CreateDirectories(parent)) return false;
    RemoveAbandonedFolders(parent);
    std::string pattern =
        JoinPath(parent, kFolderPrefix + std::to_string(static_cast<long>(getpid())) + "-XXXXXX");
    if (!mkdtemp(pattern.data())) return false;
    folder_ = pattern;
    return true;
}

bool BatchRenderer::Start(std::vector<TextureEntry*> entries) {
    if (running_) return false;
    error_.clear();
    if (epoll_ < 0 || !MakePrivateFolder()) {
        error_ = "Die Vorschaudateien konnten nicht erzeugt werden.";
        return false;
    }
    // An entry named twice would be rendered twice at once, each render
    // taking the other's saved fields for its own.
    std::unordered_set<TextureEntry*> seen;
    waiting_.clear();
    for (TextureEntry* entry : entries)
        if (entry && seen.insert(entry).second) waiting_.push_back(entry);
    jobs_ = settings_.jobs > 0 ? settings_.jobs : DefaultJobs();
    jobs_ = std::max(1, std::min(jobs_, static_cast<int>(waiting_.size())));
    slots_.clear();
    for (int i = 0; i < jobs_; ++i) {
        auto slot = std::make_unique<Slot>();
        slot->folder = JoinPath(folder_, std::to_string(i + 1));
        const int size = settings_.small ? 56 : 116;
        slot->frame.SetSize(size, size);
        slots_.push_back(std::move(slot));
    }
    total_ = static_cast<int>(waiting_.size());
    stored_ = failed_ = 0;
    cancelled_ = false;
    running_ = true;
    started_ = Clock::now();
    FillSlots();
    EndIfDone();
    return true;
}

void BatchRenderer::FillSlots() {
    for (auto& slot : slots_) {
        if (!running_ || waiting_.empty()) return;
        if (slot->process) continue;
        Slot& free = *slot;
        free.entry = waiting_.front();
        waiting_.pop_front();
        free.attempt = 0;
        free.savedVersion = free.entry->previewVersion;
        free.hadPicture = free.entry->previewValid;
        // As the render run shows an entry: its declaration with the constants it uses.
        free.declarationLines.clear();
        if (LoadDeclaration(controller_.Library(), *free.entry, true))
            free.declarationLines = DeclarationBoxLines(*free.entry);
        if (!Launch(free)) return;
    }
}

bool BatchRenderer::Launch(Slot& slot) {
    if (!DirectoryExists(slot.folder) && !CreateDirectories(slot.folder)) {
        Abort("Die Vorschaudateien konnten nicht erzeugt werden.");
        return false;
    }
    SceneRequest request;
    request.entry = slot.entry;
    request.declarationLines = &slot.declarationLines;
    request.attemptNumber = slot.attempt;
    request.templateIndex = settings_.templateIndex;
    request.povVersion = installation_.Version();
    request.templateFolder = settings_.templateFolder;
    request.finishColor = settings_.finishColor;
    request.sceneFile = JoinPath(slot.folder, kSceneName);
    if (!WriteScene(request, nullptr)) {
        Abort("Die Vorschaudateien konnten nicht erzeugt werden.");
        return false;
    }
    // The scene is named relative to POV-Ray's working folder, so no blank
    // or other character in the folder's path can reach its option parser.
    const std::string command = PreviewCommandLine(slot.frame.Width(), slot.frame.Height(),
                                                   PreviewRenderOptions(settings_.antialias));
    const std::string executable = PovExecutableOf(installation_.Home());
    auto process = std::make_unique<PovRenderProcess>();
    const std::vector<std::string> arguments = PovArguments(kSceneName, command);
    if (arguments.empty() || !process->Start(executable, arguments, slot.folder)) {
        Abort("POV-Ray konnte nicht gestartet werden: " + executable);
        return false;
    }
    for (int fd : {process->OutputDescriptor(), process->ErrorDescriptor()}) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
    }
    slot.process = std::move(process);
    slot.reader = PpmStreamReader();
    slot.reader.onRow = [&slot](int row, const std::uint8_t* rgb, int width) {
        slot.frame.PutRow(row, width, rgb, static_cast<std::size_t>(width) * 3);
        return true;
    };
    slot.frame.Clear();
    slot.log.clear();
    slot.timedOut = false;
    slot.deadline = settings_.timeLimitSeconds > 0 ? Clock::now() + std::chrono::seconds(settings_.timeLimitSeconds)
                                                   : Clock::time_point::max();
    return true;
}

int BatchRenderer::Descriptor() const { return running_ ? epoll_ : -1; }

int BatchRenderer::MillisecondsToDeadline() const {
    if (!running_) return -1;
    const Clock::time_point now = Clock::now();
    long long nearest = -1;
    for (const auto& slot : slots_) {
        if (!slot->process || slot->timedOut || slot->deadline == Clock::time_point::max()) continue;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(slot->deadline - now).count();
        const long long clamped = std::max<long long>(0, left);
        if (nearest < 0 || clamped < nearest) nearest = clamped;
    }
    return static_cast<int>(nearest);
}

void BatchRenderer::Poll(int timeoutMs) {
    if (!running_) return;
    const int deadline = MillisecondsToDeadline();
    const int wait = deadline >= 0 ? std::min(timeoutMs, deadline) : timeoutMs;
    pollfd descriptor{epoll_, POLLIN, 0};
    poll(&descriptor, 1, wait);
    Process();
}

void BatchRenderer::Process() {
    if (!running_) return;
    const Clock::time_point now = Clock::now();
    for (auto& slot : slots_) {
        if (!slot->process) continue;
        Drain(*slot);
        if (!slot->timedOut && now >= slot->deadline) {
            slot->timedOut = true;
            slot->process->Kill();
        }
        if (slot->process->Finished()) Finish(*slot);
    }
    FillSlots();
    EndIfDone();
}

void BatchRenderer::Drain(Slot& slot) {
    std::string chunk;
    while (slot.process->ReadError(chunk)) {
        slot.log += chunk;
        if (slot.log.size() > kMaxLog) slot.log.erase(0, slot.log.size() - kMaxLog);
        if (slot.process->ErrorDescriptor() >= 0) break;
    }
    while (slot.process->ReadOutput(chunk)) {
        if (!slot.process->Killed()) slot.reader.Feed(chunk);
        if (slot.process->OutputDescriptor() >= 0) break;
    }
}

void BatchRenderer::Finish(Slot& slot) {
    const bool killed = slot.process->Killed();
    const int status = slot.process->Wait();
    slot.process.reset();
    if (!slot.entry) return;
    if (slot.timedOut) {
        GiveUp(slot, PovTimeLimitReport(settings_.timeLimitSeconds));
        return;
    }
    if (!killed && status == 0 && slot.reader.Pictures() > 0 && slot.reader.Complete()) {
        Succeed(slot);
        return;
    }
    // A crash says nothing about the declaration: older language versions would not help.
    if (status > 128) {
        GiveUp(slot, PovCrashReport(status - 128));
        return;
    }
    if (PreviewRenderRun::RetryAllowed(installation_, slot.attempt)) {
        ++slot.attempt;
        Launch(slot);
        return;
    }
    GiveUp(slot, PovFailureReport(slot.log, status));
}

void BatchRenderer::Succeed(Slot& slot) {
    TextureEntry* entry = slot.entry;
    slot.entry = nullptr;
    if (!PreviewRenderRun::StorePicture(controller_, entry, slot.frame, settings_.small)) {
        slot.entry = entry;
        GiveUp(slot, "Das Vorschaubild konnte nicht gespeichert werden.");
        return;
    }
    entry->previewAttempt = static_cast<std::uint8_t>(slot.attempt);
    controller_.SetPreviewState(entry, PreviewState::Present);
    ++stored_;
    if (listener_) listener_->OnEntryFinished(entry, {});
}

void BatchRenderer::GiveUp(Slot& slot, const std::string& failure) {
    TextureEntry* entry = slot.entry;
    slot.entry = nullptr;
    if (slot.hadPicture) {
        // A good picture is worth more than none: it stays with the version it was made with.
        entry->previewVersion = slot.savedVersion;
    } else {
        Clear(entry->preview);
        entry->previewVersion = 0;
        controller_.SetPreviewState(entry, PreviewState::Faulty);
    }
    ++failed_;
    if (listener_) listener_->OnEntryFinished(entry, failure);
}

void BatchRenderer::StopAll() {
    // Every process is told first, so they all end together rather than one after the other.
    for (auto& slot : slots_)
        if (slot->process) slot->process->Kill();
    for (auto& slot : slots_) {
        slot->process.reset();
        if (slot->entry) slot->entry->previewVersion = slot->savedVersion;
        slot->entry = nullptr;
    }
    waiting_.clear();
}

void BatchRenderer::Cancel() {
    if (!running_) return;
    cancelled_ = true;
    StopAll();
    EndIfDone();
}

void BatchRenderer::ForgetEntry(TextureEntry* entry) {
    waiting_.erase(std::remove(waiting_.begin(), waiting_.end(), entry), waiting_.end());
    for (auto& slot : slots_) {
        if (slot->entry != entry) continue;
        slot->entry = nullptr;
        if (slot->process) slot->process->Kill();
    }
}

void BatchRenderer::Abort(const std::string& error) {
    error_ = error;
    StopAll();
}

void BatchRenderer::EndIfDone() {
    if (!running_ || !waiting_.empty()) return;
    for (const auto& slot : slots_)
        if (slot->process) return;
    running_ = false;
    ended_ = Clock::now();
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
    folder_.clear();
    if (listener_) listener_->OnBatchFinished();
}

BatchProgress BatchRenderer::Progress() const {
    BatchProgress progress;
    progress.total = total_;
    progress.stored = stored_;
    progress.failed = failed_;
    for (const auto& slot : slots_) progress.running += slot->process ? 1 : 0;
    const Clock::time_point end = running_ ? Clock::now() : ended_;
    if (total_ > 0) progress.elapsedSeconds = std::chrono::duration<double>(end - started_).count();
    return progress;
}

}  // namespace sc
