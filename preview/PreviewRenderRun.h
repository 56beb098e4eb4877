#pragma once
// The render run: walks the entries to render one at a time, writes each
// entry's scene, starts its render, waits for its end, stores or keeps the
// picture, retries a failed entry with older language versions, keeps the
// progress and reports errors at the end. The main window's parts it uses sit
// behind RenderRunWindow, the preview window behind PreviewTarget.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "library/TextureLibrary.h"
#include "platform/Translate.h"
#include "preview/FinishColor.h"
#include "preview/PreviewRenderer.h"

namespace sc {

class LibraryController;
class PovInstallation;
class TextureEntry;

// What a run is doing. The window shows it: the render button's label and
// state, the take-over arrow, the cursor, the views and the title.
struct RenderRunState {
    bool running = false;         // a run goes on: nothing but "&Stop" and Escape acts
    bool rendering = false;       // POV-Ray renders an entry now: "&Stop" stops it
    bool pendingPicture = false;  // the last picture waits to be taken over
    int percent = 0;              // the run's progress
};

// "42% Swatchcraft": the title of a minimized window while a run goes on.
std::string RenderRunCaption(int percent);

// The main window as the render run sees it: what the run asks for, and one
// report whenever its state changes.
class RenderRunWindow {
public:
    virtual ~RenderRunWindow() = default;
    virtual TextureEntry* CurrentEntry() = 0;
    // Makes an entry the current one and shows it (its declaration loaded into the box).
    virtual void ShowEntry(TextureEntry* entry) = 0;
    // The selected entries in the order a run walks them.
    virtual std::vector<TextureEntry*> SelectedEntries() = 0;
    // The POV-Ray configuration check before a run (PreviewRenderSession
    // adds the render host's settings check after this one).
    virtual bool CheckPovSettings() { return true; }
    // The declaration text box's lines (null when there is none) and whether the user edited it.
    virtual const std::vector<std::string>* DeclarationLines() = 0;
    virtual bool DeclarationEdited() { return false; }
    virtual void ReloadDeclaration(TextureEntry*) {}
    // Timer 1, calling the run's OnTimer (PreviewRenderSession keeps it itself).
    virtual void StartTimer(int /*milliseconds*/) {}
    virtual void StopTimer() {}
    // The hint dialog with "Nicht &erneut anzeigen"; true when that box was ticked.
    virtual bool ShowHint(const std::string&) { return false; }
    // The run's state changed (also after a refused start: the settings may have changed).
    virtual void RunStateChanged(const RenderRunState&) {}
};

struct PreviewRenderSettings {
    bool antialias = false;
    bool small = false;       // 56 x 56 pictures, colour sums times 4
    int templateIndex = 0;    // the selected sample scene
    int previewHint = 1;      // "Info"/"Preview": show the take-over hint
    FinishColor finishColor;  // what finishes are shown on (the settings' FinishColor)
    // A rest after each picture of a run of several entries, so that someone
    // watching sees every picture before the next render's cross-hatch takes
    // its place; a run of one entry goes on at once.
    int picturePauseMs = 0;
};

// What the user reads when POV-Ray ended before the picture was done.
// Translated where shown.
inline constexpr const char* kPovEndedEarlyText = N_("POV-Ray ended before the picture was finished.");

// The render options of a preview besides its size: no output file (the
// picture comes back row by row), antialiasing as set, no continued render,
// bounding slabs only for scenes of many objects.
const char* PreviewRenderOptions(bool antialias);

class PreviewRenderRun : public PreviewRenderListener {
public:
    // Everything is borrowed and must outlive the run.
    PreviewRenderRun(LibraryController& controller, PreviewTarget& target, RenderRunWindow& window,
                     const PovInstallation& installation, PreviewRenderSettings& settings);

    // "&Anzeigen" / "&Stop", and the step after each render: starts or continues a
    // run when none renders, else ends the current render and moves on.
    void Step();
    // A double click or the picture grid's request: the pictures are stored without asking.
    void StepWithAutoStore();
    // Timer 1 went off.
    void OnTimer();
    // The arrow button: takes over the pending picture into the entry it was
    // rendered for, when that is still the current entry.
    void TakeOverPending();
    // The entry shown is another now: the pending picture is not its own and is dropped.
    void DropPendingPicture();
    // Called now and then while rendering: a renderer that vanished counts as
    // a failed render; a render taken over by another program ends the run
    // as "&Stop" would, telling the user why.
    void CheckRenderer();

    void OnRenderStarted(int result) override;
    void OnRenderDone(std::uint32_t value) override;
    void OnRenderStep() override;

    bool Busy() const { return runBusy_; }
    // True while the current entry's render is being started (POV-Ray coming up, another render stopping).
    bool Starting() const { return starting_; }
    bool Idle() const { return runPosition_ < 0 && !runBusy_; }
    bool RenderFinished() const { return renderFinished_; }
    int Position() const { return runPosition_; }
    int SelectedCount() const { return selectedCount_; }
    int ErrorCount() const { return errorCount_; }
    int Attempt() const { return attempt_; }
    bool PendingPicture() const { return pendingPicture_; }
    // Whether the picture waiting for the arrow was rendered for `entry`.
    bool PendingFor(const TextureEntry* entry) const;
    RenderRunState State() const;
    int RowCount() const { return rowCount_; }
    int ProgressTotal() const { return progressTotal_; }
    int ProgressPosition() const { return progressPosition_; }
    int Percent() const { return percent_; }
    TextureEntry* RunEntry() const { return runEntry_; }
    // The entries whose render failed in the last run (a picture they had stays).
    const std::vector<TextureEntry*>& FailedEntries() const { return failedEntries_; }

    // Stores the frame buffer as the entry's picture: its declaration CRC,
    // colour sums (times 4 when small) and JPEG stream (quality 90 for colors, 60 else).
    // A picture made from `editedLines` (the user's edit of the text box) gets a
    // CRC that never matches the declaration, so it does not count as current.
    static bool StorePicture(LibraryController& controller, TextureEntry* entry, const FrameBuffer& frame, bool small,
                             const std::vector<std::string>* editedLines = nullptr);
    // Whether a render that failed on `attempt` is tried again with the next older language version.
    static bool RetryAllowed(const PovInstallation& installation, int attempt);

private:
    void Advance();
    void UpdatePercent();
    const std::vector<std::string>* EditedLines();
    void StepIdle();
    void StepBusy();
    bool BeginRun();
    void EndRun();
    bool AdvanceToNextEntry(int from);
    void AddProgressRows(int rows);
    void FinalMessages();
    void AbortStart();
    void GiveUpEntry();
    void RenderStarted(int result);
    void Report();

    LibraryController& controller_;
    PreviewTarget& target_;
    RenderRunWindow& window_;
    const PovInstallation& installation_;
    PreviewRenderSettings& settings_;

    std::vector<TextureEntry*> entries_;
    bool runBusy_ = false;
    bool running_ = false;    // from the run's start to its end, as the window sees it
    bool rendering_ = false;  // a render of the run is under way
    bool starting_ = false;
    TextureEntry* runEntry_ = nullptr;
    int runPosition_ = -1;
    bool skipRendered_ = false;
    int selectedCount_ = 0;
    int errorCount_ = 0;
    int errorsBefore_ = 0;
    bool renderFinished_ = false;
    int attempt_ = 0;
    bool autoStore_ = false;
    bool stopAfterEntry_ = false;     // the user stopped while a finished render waited for its step
    float savedVersion_ = 0;
    bool hadPicture_ = false;         // runEntry_ had a valid preview before its first attempt
    std::uint32_t lastEndValue_ = 0;  // how the last render ended (a RenderEndValue)
    bool onlySceneErrors_ = true;     // every failure of this run was a scene POV-Ray refused
    std::vector<TextureEntry*> failedEntries_;
    float pendingVersion_ = 0;
    bool pendingPicture_ = false;
    // Whose the pending picture is; by key, as the entry may go while the picture waits.
    std::optional<EntryKey> pendingKey_;
    int rowCount_ = 0;
    int progressTotal_ = 0;
    int progressPosition_ = 0;
    int percent_ = 0;
    std::string lastError_;
    int lostChecks_ = 0;  // checks in a row that found the render not served
};

}  // namespace sc
