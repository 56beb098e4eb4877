#pragma once
// Renders the previews of many entries with several POV-Ray processes side
// by side, each rendering a run of previews as the frames of one animation.
// A POV-Ray process spends far longer starting and waiting between its
// threads than computing a preview's pixels, so a process that renders
// several previews, and several such processes at once, use the processor
// time that one preview per process leaves idle. What is left is POV-Ray's
// own work on each picture (re-reading a frame's scene costs little: it
// includes nothing but the declaration and the sample scene). Each entry's
// scene is the one the render run would write (a small driver scene includes
// the scene of the current frame), each render gets the render run's options
// and retries, and each picture is stored as the render run stores it; only
// the way there differs (each frame's picture is a file in the batch's
// private folder).
//
// A frame that fails (a parse error, a crash, its time limit) costs only its
// own entry: the process is started again after it for the rest of its run,
// and the entry goes back to the queue with the next older language version.
//
// Driven from outside: the caller waits until Descriptor() is readable or
// MillisecondsToDeadline() has passed and then calls Process(); Poll() does
// both for callers with a loop of their own. Nothing blocks and nothing
// waits in a nested loop.
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "povray/RenderScratch.h"
#include "preview/FinishColor.h"
#include "preview/FrameBuffer.h"

namespace sc {

class LibraryController;
class PovInstallation;
class PovRenderProcess;
class TextureEntry;
class TextureLibrary;

struct BatchRenderSettings {
    bool antialias = false;
    bool small = false;          // 56 x 56 pictures, colour sums times 4
    int templateIndex = 0;       // the selected sample scene
    std::string templateFolder;  // empty: the program's "preview" folder
    int jobs = 0;                // POV-Ray processes at once; 0: DefaultJobs()
    int framesPerProcess = 0;    // previews one process renders at most; 0: DefaultFramesPerProcess()
    int timeLimitSeconds = 60;   // a preview still rendering then is stopped as failed; 0: no limit
    FinishColor finishColor;     // what finishes are shown on (the settings' FinishColor)
    int niceness = 0;            // POV-Ray runs this many steps below the program's priority
};

// Where a batch stands.
struct BatchProgress {
    int total = 0;    // entries handed to Start
    int stored = 0;   // pictures stored
    int failed = 0;   // entries given up
    int running = 0;  // POV-Ray processes under way
    double elapsedSeconds = 0;

    int Finished() const { return stored + failed; }
    // Finished entries per second so far (0 before the first).
    double PerSecond() const;
    // Seconds the rest will take at that rate; negative while unknown.
    double SecondsLeft() const;
};

// The progress as one line: "12 von 200 fertig, 1 fehlerhaft, 11.3 Vorschauen/s, noch 0:17".
std::string BatchProgressText(const BatchProgress& progress);

// What "Vorschaubilder im &Hintergrund berechnen" renders: the selected
// entries, or every entry without a preview when fewer than two are selected.
std::vector<TextureEntry*> EntriesToRenderInBackground(const TextureLibrary& library,
                                                       const std::vector<TextureEntry*>& selected);

class BatchRenderListener {
public:
    virtual ~BatchRenderListener() = default;
    // An entry is done: its picture stored (`failure` empty) or given up,
    // with the German reason in `failure`. The entry is already updated.
    virtual void OnEntryFinished(TextureEntry* entry, const std::string& failure) = 0;
    // No render runs any more and none will start (all done, cancelled or stopped by an error).
    virtual void OnBatchFinished() = 0;
};

class BatchRenderer {
public:
    // Everything is borrowed and must outlive the renderer.
    BatchRenderer(LibraryController& controller, const PovInstallation& installation, BatchRenderSettings settings);
    // Stops every render still running and removes the private folder.
    ~BatchRenderer();
    BatchRenderer(const BatchRenderer&) = delete;
    BatchRenderer& operator=(const BatchRenderer&) = delete;

    // Processes at once when none are set: what measured fastest here, a few
    // per processor core since each process mostly waits.
    static int DefaultJobs();
    // The longest run of previews one process renders when none is set:
    // long enough that starting POV-Ray costs little per preview, short
    // enough that the last runs of a batch end together.
    static int DefaultFramesPerProcess();

    void SetListener(BatchRenderListener* listener) { listener_ = listener; }

    // Begins rendering `entries` (in their order). False, with the reason in
    // Error(), when no private folder could be made or a batch already runs.
    bool Start(std::vector<TextureEntry*> entries);

    // Readable whenever a render has something to hand over; -1 when idle.
    int Descriptor() const;
    // Milliseconds until the next preview reaches its time limit; -1 when idle.
    int MillisecondsToDeadline() const;
    // Takes what the processes wrote, stores finished pictures, retries or
    // gives up failed ones, stops processes whose preview is past its time
    // limit (restarting them after it) and starts waiting entries. Never blocks.
    void Process();
    // Waits up to `timeoutMs` for Descriptor() (less when a time limit runs
    // out first), then Process().
    void Poll(int timeoutMs);

    // Stops every running render at once; finished pictures stay, entries
    // not finished keep what they had.
    void Cancel();
    // The entry is about to go away: it is dropped from the batch (a
    // picture of it still being rendered is thrown away) without being
    // touched again.
    void ForgetEntry(TextureEntry* entry);

    bool Running() const { return running_; }
    bool Cancelled() const { return cancelled_; }
    // Why the batch stopped early (a scene could not be written, POV-Ray
    // could not be started); empty otherwise.
    const std::string& Error() const { return error_; }
    BatchProgress Progress() const;
    int Jobs() const { return jobs_; }

private:
    // One try at one entry's picture.
    struct Job {
        TextureEntry* entry = nullptr;  // null once the entry was forgotten
        int attempt = 0;                // 0, then one more for each older language version
        float savedVersion = 0;         // the entry's previewVersion before the batch
        bool hadPicture = false;        // the entry had a valid preview before the batch
        float version = 0;              // the language version its scene was written with
    };
    struct Slot;
    using Clock = std::chrono::steady_clock;

    bool MakePrivateFolder();
    int RunLength() const;
    void FillSlots();
    bool WriteJobScene(Job& job, int frame);
    bool Launch(Slot& slot);
    void Drain(Slot& slot);
    void TakePictures(Slot& slot);
    void EndFinishedRun(Slot& slot);
    void Finish(Slot& slot);
    void FailFrame(Slot& slot, int status);
    void Succeed(const Job& job);
    void GiveUp(const Job& job, const std::string& failure);
    void StopAll();
    void EndIfDone();
    void Abort(const std::string& error);
    std::string FramePath(int frame, const char* extension) const;
    std::size_t PictureBytes() const;

    LibraryController& controller_;
    const PovInstallation& installation_;
    BatchRenderSettings settings_;
    BatchRenderListener* listener_ = nullptr;
    int jobs_ = 1;
    int framesPerProcess_ = 1;
    int epoll_ = -1;
    ScratchFolder scratch_;  // the batch's scenes and pictures; POV-Ray may change nothing outside it
    std::vector<std::unique_ptr<Slot>> slots_;
    std::deque<Job> waiting_;
    FrameBuffer picture_;
    int nextFrame_ = 0;
    bool running_ = false;
    bool cancelled_ = false;
    std::string error_;
    int total_ = 0;
    int stored_ = 0;
    int failed_ = 0;
    Clock::time_point started_;
    Clock::time_point ended_;
};

}  // namespace sc
