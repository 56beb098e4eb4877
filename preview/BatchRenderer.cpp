#include "preview/BatchRenderer.h"

#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unordered_set>

#include "library/LibraryController.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "povray/PovCommandLine.h"
#include "povray/PovInstallation.h"
#include "povray/PpmStreamReader.h"
#include "povray/PovRenderProcess.h"
#include "povray/RenderScratch.h"
#include "preview/PreviewCodec.h"
#include "preview/PreviewRenderRun.h"
#include "preview/PreviewRenderer.h"
#include "preview/SampleScenes.h"
#include "preview/SceneWriter.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"

namespace sc {
namespace {

// A preview frame takes POV-Ray about a quarter second, of which it computes
// for about 40 ms and waits for the rest: one process keeps a sixth of a core
// busy, so 12 per core keep every core busy with room for frames that wait longer.
constexpr int kJobsPerCore = 12;
constexpr int kMaxJobs = 32;
// Starting POV-Ray costs about 0.4 s of waiting and 10 ms of processor time;
// 16 frames spread that thinly without making the last runs drag on (runs
// shrink anyway towards the end of a batch).
constexpr int kFramesPerProcess = 16;
constexpr std::size_t kMaxLog = 64 * 1024;
// Frame numbers all have six digits, so the name POV-Ray gives a frame's
// picture (the name of +O with the frame number padded to the width of the
// last frame's) never depends on the run it belongs to.
constexpr int kFirstFrame = 100000;
constexpr int kLastFrame = 999999;
// POV-Ray works in the folder "out" of the batch's scratch folder and may
// change files there only: the scenes beside it are beyond the reach of a
// declaration that writes files. The driver includes the scene of the frame
// being rendered: frame 100001 renders "../f100001.pov".
constexpr const char* kWorkFolder = "out";
constexpr const char* kDriverName = "../Batch.pov";
constexpr const char* kDriverFile = "Batch.pov";
constexpr const char* kDriverText = "#include concat(\"../f\", str(frame_number, 0, 0), \".pov\")\n";
constexpr const char* kPictureOption = "+Of.ppm";

// Each running POV-Ray holds two pipes here, and reading a finished picture
// takes one more handle: processes beyond what the handle limit leaves room
// for would fail to start, or leave their pictures unread.
int ProcessesTheFileHandlesAllow() {
    constexpr int kReserve = 8;
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kMaxJobs;
    int open = 0;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++open;
    const long free = static_cast<long>(limit.rlim_cur) - open - kReserve;
    return static_cast<int>(std::clamp<long>(free / 2, 1, kMaxJobs));
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

// POV-Ray's console text from where it began the `index`th frame of its run
// (counted from 1), so that a failed frame is explained by its own report.
std::string FrameText(const std::string& log, int index) {
    const std::size_t at = log.rfind("Rendering frame " + std::to_string(index) + " of ");
    return at == std::string::npos ? log : log.substr(at);
}

// The file holds a whole picture of the expected size; false while POV-Ray
// is still writing it, or when it wrote something else.
bool ReadPicture(const std::string& path, FrameBuffer& picture) {
    std::string bytes;
    if (!ReadWholePpmFile(path, bytes)) return false;
    bool sizeMatches = false;
    PpmStreamReader reader;
    reader.onImage = [&](int width, int height) {
        sizeMatches = width == picture.Width() && height == picture.Height();
    };
    reader.onRow = [&](int row, const std::uint8_t* rgb, int width) {
        picture.PutRow(row, width, rgb, static_cast<std::size_t>(width) * 3);
        return sizeMatches;
    };
    picture.Clear();
    return reader.Feed(bytes) && sizeMatches && reader.Pictures() == 1 && reader.Complete();
}

}  // namespace

// One POV-Ray process and the run of entries it renders as frames.
struct BatchRenderer::Slot {
    std::vector<Job> run;
    int firstFrame = 0;     // the frame number of run[0]
    std::size_t next = 0;   // the first frame of the run whose picture has not arrived
    std::size_t launchedAt = 0;  // the frame the process began with
    std::unique_ptr<PovRenderProcess> process;
    std::string log;
    bool timedOut = false;
    std::size_t timedOutAt = 0;  // the frame that was rendering when the time ran out
    Clock::time_point deadline;  // when frame `next` reaches its time limit
};

double BatchProgress::PerSecond() const { return elapsedSeconds > 0 ? Finished() / elapsedSeconds : 0; }

double BatchProgress::SecondsLeft() const {
    const double rate = PerSecond();
    return rate > 0 ? (total - Finished()) / rate : -1;
}

std::string BatchProgressText(const BatchProgress& progress) {
    const std::string line = FillIn(Tr("%1 of %2 done, %3 failed, %4 previews/s"),
                                    {std::to_string(progress.Finished()), std::to_string(progress.total),
                                     std::to_string(progress.failed), FormatFixed(progress.PerSecond(), 1)});
    const double left = progress.SecondsLeft();
    return left >= 0 ? FillIn(Tr("%1, %2 left"), {line, Duration(left)}) : line;
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
    if (epoll_ >= 0) close(epoll_);
}

int BatchRenderer::DefaultJobs() {
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return std::min(kMaxJobs, kJobsPerCore * cores);
}

int BatchRenderer::DefaultFramesPerProcess() { return kFramesPerProcess; }

bool BatchRenderer::MakePrivateFolder() {
    if (scratch_.Exists()) return true;
    const std::string parent =
        settings_.templateFolder.empty() ? PreviewTemplateFolder() : settings_.templateFolder;
    if (!scratch_.Create(parent, kBatchScratchPrefix)) return false;
    // A scratch file in a private folder: forcing it onto the disk would only
    // keep the window waiting for a busy disk when a batch starts.
    std::ofstream driver(scratch_.File(kDriverFile), std::ios::binary);
    driver << kDriverText;
    driver.close();
    if (!driver || !CreateDirectories(scratch_.File(kWorkFolder))) {
        scratch_.Remove();
        return false;
    }
    return true;
}

bool BatchRenderer::Start(std::vector<TextureEntry*> entries) {
    if (running_) return false;
    error_.clear();
    if (epoll_ < 0 || !MakePrivateFolder()) {
        error_ = Tr("The preview files could not be made.");
        return false;
    }
    // An entry named twice would be rendered twice at once, each render
    // taking the other's saved fields for its own.
    std::unordered_set<TextureEntry*> seen;
    waiting_.clear();
    for (TextureEntry* entry : entries) {
        if (!entry || !seen.insert(entry).second) continue;
        Job job;
        job.entry = entry;
        job.savedVersion = entry->previewVersion;
        job.hadPicture = entry->previewValid;
        waiting_.push_back(job);
    }
    jobs_ = settings_.jobs > 0 ? settings_.jobs : DefaultJobs();
    jobs_ = std::max(1, std::min({jobs_, static_cast<int>(waiting_.size()), ProcessesTheFileHandlesAllow()}));
    framesPerProcess_ = std::max(1, settings_.framesPerProcess > 0 ? settings_.framesPerProcess : kFramesPerProcess);
    slots_.clear();
    for (int i = 0; i < jobs_; ++i) slots_.push_back(std::make_unique<Slot>());
    const int size = settings_.small ? 56 : 116;
    picture_.SetSize(size, size);
    nextFrame_ = kFirstFrame + 1;
    total_ = static_cast<int>(waiting_.size());
    stored_ = failed_ = 0;
    cancelled_ = false;
    running_ = true;
    started_ = Clock::now();
    FillSlots();
    EndIfDone();
    return true;
}

// Runs shrink towards the end of a batch so that every process still gets a share.
int BatchRenderer::RunLength() const {
    const int waiting = static_cast<int>(waiting_.size());
    return std::max(1, std::min(framesPerProcess_, (waiting + jobs_ - 1) / jobs_));
}

void BatchRenderer::FillSlots() {
    for (auto& slot : slots_) {
        if (!running_ || waiting_.empty()) return;
        if (slot->process) continue;
        const int length = RunLength();
        if (nextFrame_ + length > kLastFrame) nextFrame_ = kFirstFrame + 1;
        slot->run.clear();
        slot->firstFrame = nextFrame_;
        slot->next = 0;
        for (int i = 0; i < length && !waiting_.empty(); ++i) {
            Job job = waiting_.front();
            waiting_.pop_front();
            if (!WriteJobScene(job, nextFrame_)) {
                Abort(RoomToWrite(scratch_.Path(), PictureBytes()) ? Tr("The preview files could not be made.")
                                                                  : DiskFullText(scratch_.Path()));
                return;
            }
            slot->run.push_back(job);
            ++nextFrame_;
        }
        if (!Launch(*slot)) return;
    }
}

// Writes the scene the render run would write for the job's entry and try;
// the entry itself stays as it is until its picture is stored.
bool BatchRenderer::WriteJobScene(Job& job, int frame) {
    TextureEntry& entry = *job.entry;
    // As the render run shows an entry: its declaration with the constants it uses.
    std::vector<std::string> lines;
    if (LoadDeclaration(controller_.Library(), entry, true)) lines = DeclarationBoxLines(entry);
    SceneRequest request;
    request.entry = &entry;
    request.declarationLines = &lines;
    request.attemptNumber = job.attempt;
    request.templateIndex = settings_.templateIndex;
    request.povVersion = installation_.Version();
    request.templateFolder = settings_.templateFolder;
    request.finishColor = settings_.finishColor;
    request.sceneFile = FramePath(frame, ".pov");
    const float before = entry.previewVersion;
    const bool written = WriteScene(request, nullptr);
    job.version = entry.previewVersion;
    entry.previewVersion = before;
    return written;
}

// Room for one more picture file and a little more, to tell a full disk from a failed render.
std::size_t BatchRenderer::PictureBytes() const {
    return static_cast<std::size_t>(picture_.Width()) * picture_.Height() * 3 + 16 * 1024;
}

std::string BatchRenderer::FramePath(int frame, const char* extension) const {
    // Appended piece by piece: GCC 12 at -O3 misreads "f" + number (a prepend) as an overlapping copy.
    std::string name(1, 'f');
    name += std::to_string(frame);
    name += extension;
    return std::string(extension) == ".pov" ? scratch_.File(name) : JoinPath(scratch_.File(kWorkFolder), name);
}

bool BatchRenderer::Launch(Slot& slot) {
    // Every name is relative to POV-Ray's working folder, so no blank or
    // other character in the folder's path can reach its option parser.
    const std::string command =
        PreviewCommandLine(picture_.Width(), picture_.Height(), PreviewRenderOptions(settings_.antialias));
    std::vector<std::string> arguments = PovArguments(kDriverName, command);
    // The clock stays 0, as in a render of one picture: a scene that uses it looks the same.
    const int first = slot.firstFrame + static_cast<int>(slot.next);
    const int last = slot.firstFrame + static_cast<int>(slot.run.size()) - 1;
    for (const std::string& option : {std::string(kPictureOption), "+KFI" + std::to_string(first),
                                      "+KFF" + std::to_string(last), std::string("+KI0"), std::string("+KF0")})
        arguments.push_back(option);
    const std::string executable = PovExecutableOf(installation_.Home());
    auto process = std::make_unique<PovRenderProcess>();
    if (!process->Start(executable, arguments, scratch_.File(kWorkFolder), settings_.niceness, true)) {
        const int error = process->StartError();
        const bool othersRun = std::any_of(slots_.begin(), slots_.end(), [](const auto& other) { return other->process != nullptr; });
        if (othersRun && PovStartLackedResources(error)) {
            // Fewer processes at once: the run waits for one of the others to end.
            for (std::size_t i = slot.run.size(); i > slot.next; --i) {
                RemoveFile(FramePath(slot.firstFrame + static_cast<int>(i - 1), ".pov"));
                if (slot.run[i - 1].entry) waiting_.push_front(slot.run[i - 1]);
            }
            slot.run.clear();
            slot.next = 0;
            return false;
        }
        Abort(PovStartFailure(executable, error));
        return false;
    }
    for (int fd : {process->OutputDescriptor(), process->ErrorDescriptor()}) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
    }
    slot.process = std::move(process);
    slot.launchedAt = slot.next;
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
    for (auto& slot : slots_) {
        // A listener told of a stored picture may have cancelled the batch.
        if (slot->process) Drain(*slot);
        if (slot->process) TakePictures(*slot);
        if (!slot->process) continue;
        if (slot->next == slot->run.size()) {
            EndFinishedRun(*slot);
            continue;
        }
        // The pictures written so far were taken first: only the frame still rendering is at fault.
        if (!slot->timedOut && Clock::now() >= slot->deadline) {
            slot->timedOut = true;
            slot->timedOutAt = slot->next;
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
    // The pictures go to files; whatever else POV-Ray prints is of no use.
    while (slot.process->ReadOutput(chunk))
        if (slot.process->OutputDescriptor() >= 0) break;
}

void BatchRenderer::TakePictures(Slot& slot) {
    while (slot.process && slot.next < slot.run.size()) {
        const int frame = slot.firstFrame + static_cast<int>(slot.next);
        const std::string path = FramePath(frame, ".ppm");
        if (!ReadPicture(path, picture_)) return;
        RemoveFile(path);
        RemoveFile(FramePath(frame, ".pov"));
        const Job job = slot.run[slot.next++];
        if (settings_.timeLimitSeconds > 0)
            slot.deadline = Clock::now() + std::chrono::seconds(settings_.timeLimitSeconds);
        if (job.entry) Succeed(job);
    }
}

// Every picture of the run is in: what POV-Ray does before it exits (about
// a third of a second, mostly waiting) is of no use, and the slot is wanted
// for the next run.
void BatchRenderer::EndFinishedRun(Slot& slot) {
    slot.process->Kill();
    slot.process.reset();
}

void BatchRenderer::Finish(Slot& slot) {
    // The process has ended: a picture it finished is complete now or never.
    TakePictures(slot);
    if (!slot.process) return;
    const int status = slot.process->Wait();
    slot.process.reset();
    // A frame that finished just as its time ran out leaves the next one
    // stopped through no fault of its own: that one is simply started again.
    const bool innocent = slot.timedOut && slot.next != slot.timedOutAt;
    if (slot.next < slot.run.size() && !innocent) {
        // POV-Ray that could not write its picture (it aborts) says nothing
        // about the entry: with the disk full the batch ends, its entries as they were.
        if (!RoomToWrite(scratch_.File(kWorkFolder), PictureBytes())) {
            Abort(DiskFullText(scratch_.Path()));
            return;
        }
        FailFrame(slot, status);
    }
    if (running_ && slot.next < slot.run.size()) Launch(slot);
}

// The first frame without a picture is the one POV-Ray failed on; its entry
// is retried or given up, and the frames after it are rendered anew.
void BatchRenderer::FailFrame(Slot& slot, int status) {
    const int frame = slot.firstFrame + static_cast<int>(slot.next);
    RemoveFile(FramePath(frame, ".pov"));
    Job job = slot.run[slot.next++];
    if (!job.entry) return;
    if (slot.timedOut) {
        GiveUp(job, PovTimeLimitReport(settings_.timeLimitSeconds));
        return;
    }
    // A crash says nothing about the declaration: older language versions would not help.
    if (status > 128) {
        GiveUp(job, PovCrashReport(status - 128));
        return;
    }
    if (PreviewRenderRun::RetryAllowed(installation_, job.attempt)) {
        ++job.attempt;
        waiting_.push_front(job);
        return;
    }
    const int index = static_cast<int>(slot.next - slot.launchedAt);
    GiveUp(job, PovFailureReport(FrameText(slot.log, index), status));
}

void BatchRenderer::Succeed(const Job& job) {
    TextureEntry* entry = job.entry;
    entry->previewVersion = job.version;
    if (!PreviewRenderRun::StorePicture(controller_, entry, picture_, settings_.small)) {
        GiveUp(job, Tr("The preview could not be stored."));
        return;
    }
    entry->previewAttempt = static_cast<std::uint8_t>(job.attempt);
    controller_.SetPreviewState(entry, PreviewState::Present);
    ++stored_;
    if (listener_) listener_->OnEntryFinished(entry, {});
}

void BatchRenderer::GiveUp(const Job& job, const std::string& failure) {
    TextureEntry* entry = job.entry;
    if (job.hadPicture) {
        // A good picture is worth more than none: it stays with the version it was made with.
        entry->previewVersion = job.savedVersion;
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
        slot->run.clear();
        slot->next = 0;
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
    waiting_.erase(std::remove_if(waiting_.begin(), waiting_.end(), [&](const Job& job) { return job.entry == entry; }),
                   waiting_.end());
    for (auto& slot : slots_)
        for (Job& job : slot->run)
            if (job.entry == entry) job.entry = nullptr;
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
    scratch_.Remove();
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
