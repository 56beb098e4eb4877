#include "preview/PreviewRenderRun.h"

#include <cstdio>

#include "library/EntryKind.h"
#include "library/LibraryController.h"
#include "library/PreviewImage.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "platform/UserInterface.h"
#include "povray/PovBridge.h"
#include "povray/PovInstallation.h"
#include "povray/RenderScratch.h"
#include "preview/PreviewCodec.h"
#include "preview/SampleScenes.h"
#include "preview/SceneWriter.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"

namespace sc {
namespace {

constexpr int kColorQuality = 90;
constexpr int kOtherQuality = 60;

}  // namespace

// A sample scene holds a handful of objects, and POV-Ray's bounding slabs,
// on from three objects, only cost time there (a sixth of a preview's
// processor time) without changing a pixel; a scene of a user's with more
// than 25 objects keeps them.
const char* PreviewRenderOptions(bool antialias) { return antialias ? "-f +a -c +MB25" : "-f -a -c +MB25"; }

PreviewRenderRun::PreviewRenderRun(LibraryController& controller, PreviewTarget& target, RenderRunWindow& window,
                                   const PovInstallation& installation, PreviewRenderSettings& settings)
    : controller_(controller), target_(target), window_(window), installation_(installation), settings_(settings) {}

bool PreviewRenderRun::StorePicture(LibraryController& controller, TextureEntry* entry, const FrameBuffer& frame,
                                    bool small, const std::vector<std::string>* editedLines) {
    if (!entry || frame.Empty()) return false;
    // The picture counts as made from the declaration as it is now; one made
    // from text the user edited never does, so the changed-entries search finds it.
    std::uint32_t crc = DeclarationCrc(*entry);
    if (editedLines) {
        std::string text;
        for (const std::string& line : *editedLines) text += line + '\n';
        const std::uint32_t edited = Crc32(text);
        crc = edited != crc ? edited : ~crc;
    }
    controller.SetPreviewCrc(entry, crc);
    ComputeStats(entry->preview, frame.Pixels(), frame.Size(), frame.Width(), frame.Height());
    if (small) ScaleStats(entry->preview, 4);
    const int quality = entry->kind == kKindColor ? kColorQuality : kOtherQuality;
    return Encode(entry->preview, frame.Pixels(), frame.Size(), frame.Width(), frame.Height(), quality,
                  &controller.Ui());
}

void PreviewRenderRun::Step() {
    // A press while a finished render waits for its step: that entry is
    // settled, and the run ends there instead of starting the next one.
    if (runBusy_ && renderFinished_) {
        stopAfterEntry_ = true;
        window_.StopTimer();
    }
    Advance();
}

void PreviewRenderRun::Advance() {
    if (runBusy_)
        StepBusy();
    else
        StepIdle();
}

void PreviewRenderRun::StepWithAutoStore() {
    autoStore_ = true;
    Step();
}

void PreviewRenderRun::OnTimer() {
    window_.StopTimer();
    Advance();
}

bool PreviewRenderRun::AdvanceToNextEntry(int from) {
    for (int i = from; i < static_cast<int>(entries_.size()); ++i) {
        TextureEntry* entry = entries_[static_cast<std::size_t>(i)];
        if (skipRendered_ && entry->previewValid) continue;
        runPosition_ = i;
        runEntry_ = entry;
        // The current entry is already shown (perhaps with an edited declaration).
        if (entry != window_.CurrentEntry()) window_.ShowEntry(entry);
        return true;
    }
    return false;
}

bool PreviewRenderRun::BeginRun() {
    attempt_ = 0;
    entries_ = window_.SelectedEntries();
    if (entries_.empty() && runEntry_) entries_.push_back(runEntry_);
    selectedCount_ = static_cast<int>(entries_.size());
    if (selectedCount_ == 0) return false;
    if (selectedCount_ > 1 && window_.DeclarationEdited()) window_.ReloadDeclaration(runEntry_);
    UserInterface& ui = controller_.Ui();
    int rendered = 0;
    if (selectedCount_ == 1) {
        skipRendered_ = false;
    } else {
        for (const TextureEntry* entry : entries_) rendered += entry->previewValid ? 1 : 0;
        if (rendered == selectedCount_) {
            if (ui.Ask(Tr("Every selected texture has been rendered already.\n\nRender them again?"),
                       QuestionButtons::YesNo, Answer::No, MessageIcon::Question) != Answer::Yes)
                return false;
            skipRendered_ = false;
        } else if (rendered > 0) {
            skipRendered_ = ui.Ask(Tr("Some of the selected\ntextures have been rendered already.\n\n"
                                      "Render them again?"),
                                   QuestionButtons::YesNo, Answer::No, MessageIcon::Question) != Answer::Yes;
        }
    }
    runBusy_ = true;
    stopAfterEntry_ = false;
    errorCount_ = 0;
    errorsBefore_ = 0;
    const int height = target_.Frame().Height();
    progressTotal_ = height * selectedCount_ / 10;
    progressPosition_ = skipRendered_ ? height * rendered / 10 + 1 : 0;
    ui.SetProgressRange(progressTotal_);
    ui.SetProgressPosition(progressPosition_);
    rowCount_ = 0;
    percent_ = 0;
    lastError_.clear();
    onlySceneErrors_ = true;
    failedEntries_.clear();
    running_ = true;
    Report();
    ui.SetStatusText(selectedCount_ == 1 ? Tr("Rendering preview:") : Tr("Rendering previews:"));
    if (!AdvanceToNextEntry(0)) {
        runBusy_ = false;
        EndRun();
        return false;
    }
    return true;
}

void PreviewRenderRun::StepIdle() {
    pendingPicture_ = false;
    Report();
    if (!window_.CheckPovSettings()) {
        Report();
        return;
    }
    runEntry_ = runPosition_ >= 0 ? entries_[static_cast<std::size_t>(runPosition_)] : window_.CurrentEntry();
    if (runPosition_ < 0 && !BeginRun()) return;
    if (!runEntry_) return;
    runBusy_ = true;
    if (attempt_ == 0) {
        savedVersion_ = runEntry_->previewVersion;
        hadPicture_ = runEntry_->previewValid;
    }
    rendering_ = false;
    Report();
    std::string scene;
    SceneRequest request;
    request.entry = runEntry_;
    // The pane shows a run's later entries without their text: the scene
    // reads it as the command-line tool does, else it would name an entry it never declared.
    const std::vector<std::string>* lines = window_.DeclarationLines();
    std::vector<std::string> ownLines;
    if (!lines && !runEntry_->IsFileNode() && LoadDeclaration(controller_.Library(), *runEntry_, true)) {
        ownLines = DeclarationBoxLines(*runEntry_);
        lines = &ownLines;
    }
    request.declarationLines = lines;
    request.attemptNumber = attempt_;
    request.templateIndex = settings_.templateIndex;
    request.povVersion = installation_.Version();
    request.finishColor = settings_.finishColor;
    // Each render in an emptied scratch folder of its own, the only place POV-Ray may write to.
    request.sceneFile = FreshRenderScene(PreviewTemplateFolder());
    if (request.sceneFile.empty() || !WriteScene(request, &scene)) {
        const std::string folder = PreviewTemplateFolder();
        controller_.Ui().ShowMessage(RoomToWrite(folder, 64 * 1024) ? Tr("The preview files could not be made.")
                                                                     : DiskFullText(folder),
                                     MessageIcon::Exclamation);
        AbortStart();
        return;
    }
    renderFinished_ = false;
    lostChecks_ = 0;
    const int started = target_.StartRender(scene, PreviewRenderOptions(settings_.antialias));
    if (started == PreviewTarget::kStartPending) {
        starting_ = true;
        return;
    }
    RenderStarted(started);
}

void PreviewRenderRun::OnRenderStarted(int result) {
    if (!starting_) return;
    starting_ = false;
    RenderStarted(result);
}

void PreviewRenderRun::RenderStarted(int result) {
    if (result != 0) {
        // Whoever failed has told the user already.
        AbortStart();
        return;
    }
    // The entry keeps what it has until a new picture is stored: a render that
    // fails or is stopped must not cost it a good preview.
    rendering_ = true;
    Report();
}

// A render that could not begin ends the whole run, so the next press starts afresh.
void PreviewRenderRun::AbortStart() {
    runBusy_ = false;
    if (runEntry_) runEntry_->previewVersion = savedVersion_;
    EndRun();
    // Entries that failed before this start still get their summary.
    if (errorCount_ > 0) FinalMessages();
    errorCount_ = 0;
    stopAfterEntry_ = false;
    attempt_ = 0;
    autoStore_ = false;
}

void PreviewRenderRun::StepBusy() {
    runBusy_ = false;
    starting_ = false;
    target_.StopRender();
    rendering_ = false;
    const bool newError = errorCount_ != errorsBefore_;
    const bool several = selectedCount_ > 1;
    const bool finished = renderFinished_;
    if (!several && !autoStore_ && !newError && renderFinished_) {
        pendingPicture_ = true;
        pendingKey_.reset();
        if (runEntry_->sourceFile) pendingKey_ = KeyOf(*runEntry_);
    }
    if (!newError && (autoStore_ || several) && renderFinished_) {
        StorePicture(controller_, runEntry_, target_.Frame(), settings_.small, EditedLines());
        runEntry_->previewAttempt = static_cast<std::uint8_t>(attempt_);
    }
    if (renderFinished_) {
        renderFinished_ = false;
        if (newError) {
            // Only a scene POV-Ray refused may parse in an older language
            // version; a killed, crashed or timed-out POV-Ray says nothing about it.
            if (!stopAfterEntry_ && lastEndValue_ == kPovRenderFailed && RetryAllowed(installation_, attempt_)) {
                ++attempt_;
                --errorCount_;
                Advance();
                return;
            }
            GiveUpEntry();
            AddProgressRows(target_.Frame().Height());
        } else if (!several && !autoStore_) {
            pendingVersion_ = runEntry_->previewVersion;
            runEntry_->previewVersion = savedVersion_;
        } else {
            controller_.SetPreviewState(runEntry_, PreviewState::Present);
        }
        errorsBefore_ = errorCount_;
        attempt_ = 0;
        if (!stopAfterEntry_ && AdvanceToNextEntry(runPosition_ + 1)) {
            Advance();
            return;
        }
    }
    // Stopped: the entry keeps its picture, and with it the version it was made with.
    if (!finished && runEntry_) runEntry_->previewVersion = savedVersion_;
    EndRun();
    FinalMessages();
    errorCount_ = 0;
    autoStore_ = false;
    stopAfterEntry_ = false;
}

const std::vector<std::string>* PreviewRenderRun::EditedLines() {
    return window_.DeclarationEdited() ? window_.DeclarationLines() : nullptr;
}

void PreviewRenderRun::GiveUpEntry() {
    failedEntries_.push_back(runEntry_);
    if (hadPicture_ || selectedCount_ == 1) {
        // A good picture is worth more than none: it stays with the version it was made with.
        runEntry_->previewVersion = savedVersion_;
        return;
    }
    Clear(runEntry_->preview);
    runEntry_->previewVersion = 0;
    controller_.SetPreviewState(runEntry_, PreviewState::Faulty);
}

void PreviewRenderRun::AddProgressRows(int rows) {
    progressPosition_ += rows / 10;
    controller_.Ui().SetProgressPosition(progressPosition_);
    UpdatePercent();
}

void PreviewRenderRun::UpdatePercent() {
    const int percent = progressTotal_ > 0 ? 100 * progressPosition_ / progressTotal_ : 0;
    const bool grew = percent > percent_;
    percent_ = percent;
    if (grew) Report();
}

std::string RenderRunCaption(int percent) {
    char caption[64];
    std::snprintf(caption, sizeof caption, "%i%c Swatchcraft", percent, '%');
    return caption;
}

RenderRunState PreviewRenderRun::State() const {
    RenderRunState state;
    state.running = running_;
    state.rendering = rendering_;
    state.pendingPicture = pendingPicture_;
    state.percent = percent_;
    return state;
}

void PreviewRenderRun::Report() { window_.RunStateChanged(State()); }

void PreviewRenderRun::EndRun() {
    UserInterface& ui = controller_.Ui();
    ui.HideProgress();
    ui.SetStatusText("");
    running_ = false;
    rendering_ = false;
    runPosition_ = -1;
    Report();
    skipRendered_ = false;
    errorsBefore_ = 0;
}

void PreviewRenderRun::FinalMessages() {
    UserInterface& ui = controller_.Ui();
    if (errorCount_ == 0) {
        if (selectedCount_ == 1 && !autoStore_ && !window_.DeclarationEdited() && settings_.previewHint &&
            pendingPicture_) {
            if (window_.ShowHint(Tr("Press the small arrow button to keep the preview just rendered")))
                settings_.previewHint = 0;
        }
        return;
    }
    // POV-Ray for Windows showed its message in its own window; here it comes with ours.
    const std::string povMessage =
        lastError_.empty() ? "" : "\n\n" + FillIn(Tr("POV-Ray reports:\n%1"), {lastError_});
    // A killed, crashed or timed-out POV-Ray is no sign of a syntax error: its own report says what happened.
    if (!onlySceneErrors_ && selectedCount_ == 1) {
        ui.ShowMessage(Tr("An error occurred while\nPOV-Ray was rendering.") + povMessage,
                       MessageIcon::Exclamation);
        return;
    }
    if (selectedCount_ == 1) {
        const std::string source = runEntry_ && runEntry_->sourceFile ? runEntry_->sourceFile->path : "";
        ui.ShowMessage(FillIn(Tr("An error occurred while\nPOV-Ray was rendering.\n\n"
                                 "POV-Ray's report tells more about the\n"
                                 "error. Most likely it is a syntax error\n"
                                 "in the file:\n%1"),
                              {source}) +
                           povMessage,
                       MessageIcon::Exclamation);
        return;
    }
    const std::string text =
        FillIn(TrN("%2 of the %1 selected texture could not be rendered.",
                   "%2 of the %1 selected textures could not be rendered.", static_cast<unsigned long>(selectedCount_)),
               {std::to_string(selectedCount_), std::to_string(errorCount_)}) +
        "\n\n";
    if (!onlySceneErrors_) {
        ui.ShowMessage(text + povMessage.substr(2), MessageIcon::Exclamation);
        return;
    }
    ui.ShowMessage(text + Tr("This is most likely due to syntax errors\nin the texture declarations.") + povMessage,
                   MessageIcon::Exclamation);
}

bool PreviewRenderRun::RetryAllowed(const PovInstallation& installation, int attempt) {
    // "Older than 3.1" is the scene writer's call, so that the versions tried
    // and the number of tries agree; a 3.1 without release letter has no older
    // version to fall back on.
    if (!PovVersionAtLeast31(installation.Version())) return attempt < 2;
    if (installation.Compare(3.1f, 0) == 0) return false;
    return attempt < 3;
}

void PreviewRenderRun::OnRenderDone(std::uint32_t value) {
    if (!runBusy_ || renderFinished_ || starting_) return;
    lastEndValue_ = value;
    if (value != 0) {
        ++errorCount_;
        lastError_ = target_.RendererError();
        if (value != kPovRenderFailed) onlySceneErrors_ = false;
    }
    renderFinished_ = true;
    // POV-Ray's end is known exactly, so the next step needs no wait for it:
    // it comes at once, only not from inside the delivery of this notice.
    window_.StartTimer(selectedCount_ > 1 ? settings_.picturePauseMs : 0);
}

void PreviewRenderRun::OnRenderStep() {
    ++rowCount_;
    if (rowCount_ % 10 != 0) return;
    ++progressPosition_;
    controller_.Ui().StepProgress();
    UpdatePercent();
}

void PreviewRenderRun::CheckRenderer() {
    // While a start is under way POV-Ray may not be up yet: nothing to check.
    if (!runBusy_ || renderFinished_ || starting_) return;
    if (!target_.RendererAlive()) {
        OnRenderDone(kPovRenderCrashed);
        lastError_ = Tr(kPovEndedEarlyText);
        return;
    }
    // Right after a render's end the bridge no longer serves it either, but
    // then the end notice arrives within moments; two checks in a row (a
    // second apart) without it mean another program has taken POV-Ray over.
    // No end notice will come for the stopped render, and retrying would only
    // stop that program's render in turn.
    lostChecks_ = target_.RenderTakenOver() ? lostChecks_ + 1 : 0;
    if (lostChecks_ < 2) return;
    lostChecks_ = 0;
    Step();
    controller_.Ui().ShowMessage(Tr("Rendering the previews was stopped because another program took over POV-Ray "
                                    "for a render of its own."),
                                 MessageIcon::Exclamation);
}

void PreviewRenderRun::TakeOverPending() {
    TextureEntry* entry = window_.CurrentEntry();
    // The frame holds the picture of the entry it was rendered for: any other entry would get a stranger's picture.
    if (!PendingFor(entry) || window_.DeclarationEdited()) return;
    StorePicture(controller_, entry, target_.Frame(), settings_.small);
    entry->previewVersion = pendingVersion_;
    controller_.SetPreviewState(entry, PreviewState::Present);
    entry->previewAttempt = static_cast<std::uint8_t>(attempt_);
    pendingPicture_ = false;
    Report();
}

bool PreviewRenderRun::PendingFor(const TextureEntry* entry) const {
    return pendingPicture_ && entry && entry->sourceFile && pendingKey_ && *pendingKey_ == KeyOf(*entry);
}

void PreviewRenderRun::DropPendingPicture() {
    if (!pendingPicture_) return;
    pendingPicture_ = false;
    pendingKey_.reset();
    Report();
}

}  // namespace sc
