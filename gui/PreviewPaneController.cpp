#include "gui/PreviewPaneController.h"

#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <QSocketNotifier>
#include <QToolButton>

#include <algorithm>
#include <chrono>

#include "bridge/BridgeApi.h"
#include "bridge/BridgeConnection.h"
#include "gui/BackgroundRendering.h"
#include "gui/DeclarationBox.h"
#include "gui/EntryBar.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/MessageDialogs.h"
#include "gui/PreviewWindow.h"
#include "gui/StatusBarWithProgress.h"
#include "gui/Translation.h"
#include "library/LibraryController.h"
#include "library/TextureEntry.h"
#include "preview/FrameBuffer.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"
#include "ui/ClipboardText.h"
#include "ui/EntryBarText.h"
#include "ui/PreviewPaneState.h"
#include "ui/Settings.h"
#include "ui/WindowLayout.h"

namespace sc {
namespace {

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

PreviewPaneController::PreviewPaneController(Parts parts) : parts_(std::move(parts)) {
    reloadTimer_.setSingleShot(true);
    reloadTimer_.setInterval(1000);
    // Arrowing through the list starts no render per key.
    largeTimer_.setSingleShot(true);
    largeTimer_.setInterval(300);
    connect(&largeTimer_, &QTimer::timeout, this, [this] { StartLarge(false); });
    liveTimer_.setSingleShot(true);
    connect(&liveTimer_, &QTimer::timeout, this, [this] {
        if (live_.StartDue(NowMs()))
            StartLarge(true, LivePreviewScheduler::FirstSide(PaneSide()));
        else
            ArmLiveTimer();
    });
    // Dragging the window's edge resizes the pane many times a second: one render once it rests.
    resizeTimer_.setSingleShot(true);
    resizeTimer_.setInterval(400);
    connect(&resizeTimer_, &QTimer::timeout, this, &PreviewPaneController::PaneResized);
    SetUpSession();
    MainArea& area = parts_.area;
    area.Picture()->installEventFilter(this);
    connect(area.ShowButton(), &QPushButton::clicked, this, &PreviewPaneController::RenderOrStop);
    connect(area.ArrowButton(), &QToolButton::clicked, this, &PreviewPaneController::TakeOver);
    connect(area.TextBox(), &DeclarationBox::editedChanged, this, &PreviewPaneController::UpdatePane);
    connect(area.TextBox(), &DeclarationBox::textEdited, this, &PreviewPaneController::DeclarationTyped);
    connect(&parts_.views, &LibraryViewStack::renderRequested, this, &PreviewPaneController::RenderActivated);
}

PreviewPaneController::~PreviewPaneController() {
    background_.reset();
    if (session_) session_->SetLargeCache(nullptr);
    if (busyCursor_) QApplication::restoreOverrideCursor();
}

void PreviewPaneController::SetUpSession() {
    renderSettings_.previewHint = parts_.settings.ReadFlag("Info", "Preview", 1);
    // The pictures of a run of several entries pass through the pane one
    // after another: each stays a second before the next one's render begins.
    renderSettings_.picturePauseMs = 1000;
    // A hung preview is stopped after the same time as in the tool.
    bridge::SetRenderTimeLimit(parts_.settings.PreviewTimeLimit());
    ApplyRenderSettings();
    session_ = std::make_unique<PreviewRenderSession>(parts_.controller, static_cast<RenderRunWindow&>(*this),
                                                      bridge::Connection(), parts_.installation, renderSettings_);
    session_->SetEvents(this);
    session_->SetLargeCache(&largeCache_);
    sessionTimer_.setSingleShot(true);
    connect(&sessionTimer_, &QTimer::timeout, this, [this] {
        session_->RunDueTimers();
        ArmSessionTimer();
    });
    session_->SetTimerChangeHook([this] { QTimer::singleShot(0, this, &PreviewPaneController::ArmSessionTimer); });
    if (session_->Descriptor() < 0) return;
    bridgeNotifier_ = new QSocketNotifier(session_->Descriptor(), QSocketNotifier::Read, this);
    connect(bridgeNotifier_, &QSocketNotifier::activated, this, [this] {
        session_->DeliverMessages();
        ArmSessionTimer();
    });
    bridgeNotifier_->setEnabled(false);
}

void PreviewPaneController::ArmSessionTimer() {
    if (!session_) return;
    // The mailbox is read only while a run goes on: in between, the page
    // preview dialog reads it for its own renders.
    if (bridgeNotifier_) bridgeNotifier_->setEnabled(!session_->Idle());
    const int wait = session_->MillisecondsToNextTimer();
    if (wait < 0)
        sessionTimer_.stop();
    else
        sessionTimer_.start(wait);
}

void PreviewPaneController::ReadRenderSettings() {
    const Settings& s = parts_.settings;
    renderSettings_.antialias = s.Antialias();
    renderSettings_.small = s.SmallPreview();
    renderSettings_.templateIndex = static_cast<int>(s.SampleScene());
    renderSettings_.finishColor = s.FinishBase();
}

void PreviewPaneController::ApplyRenderSettings() {
    ReadRenderSettings();
    if (!session_) return;
    const int side = renderSettings_.small ? 56 : 116;
    session_->Renderer().SetPictureSize(side, side);
}

void PreviewPaneController::FollowCurrentEntry() {
    TextureEntry* entry = parts_.views.CurrentEntry();
    if (entry == shown_ && reloadTimer_.isActive()) return;
    const bool changed = entry != shown_;
    shown_ = entry;
    if (changed) {
        // The pictures of the last entry's text are of no use any more.
        session_->StopLargeRender();
        live_.Reset();
        liveTimer_.stop();
        ShowLiveState();
        largeTimer_.stop();
        // "&Render"'s large picture was the last entry's; "Large" keeps the area large.
        largeWanted_ = false;
        // A picture waiting for the arrow was rendered for the last entry: the arrow must never store it in this one.
        if (!run_.running) session_->DropPendingPicture();
        FitPictureArea();
    }
    parts_.area.Bar()->SetParts(EntryBarParts(entry));
    if (parts_.area.PaneShown()) ShowInPane(entry);
    // The same entry again (its declaration was read anew) shows its large picture at once, mostly from the cache.
    if (LargeSide() > 0 && !run_.running) {
        if (changed)
            largeTimer_.start();
        else
            StartLarge(false);
    }
    reloadTimer_.start();
    UpdatePane();
}

void PreviewPaneController::ReloadShownEntry() { ShowInPane(shown_); }

void PreviewPaneController::ShowInPane(TextureEntry* entry) {
    DeclarationBox* box = parts_.area.TextBox();
    const bool named = entry && !entry->IsFileNode();
    // Reading one declaration is quick: the window stays usable and keeps its focus.
    const bool available = named && !run_.running && LoadDeclaration(parts_.controller.Library(), *entry, true);
    box->ShowText(entry ? DeclarationBoxText(*entry) : std::string(), available);
    // The stored text is back: an error of the edited one no longer applies.
    live_.Reset();
    liveTimer_.stop();
    ShowLiveState();
    box->SetColorVector(available && entry->color ? std::optional(RgbVectorText(*entry->color)) : std::nullopt);
    if (!run_.running) {
        ShowPicture(entry, available);
        largeShownSide_ = 0;
    }
    UpdatePane();
}

// An entry without a picture whose background render failed shows why in the picture's place.
void PreviewPaneController::ShowPicture(TextureEntry* entry, bool available) {
    PreviewWindow* picture = parts_.area.Picture();
    picture->ShowPreview(available ? &entry->preview : nullptr);
    const std::string* failure = entry && background_ ? background_->FailureOf(entry) : nullptr;
    if (failure && picture->ScreenCopy().isNull()) picture->ShowFailure(QString::fromStdString(*failure).trimmed());
}

void PreviewPaneController::ForgetEntry(TextureEntry* entry) {
    if (background_) background_->ForgetEntry(entry);
    if (entry == shown_) shown_ = nullptr;
}

void PreviewPaneController::ForgetAll() {
    if (background_) background_->ForgetAll();
    shown_ = nullptr;
}

void PreviewPaneController::UpdatePane() {
    PaneInputs in;
    in.entry = shown_ != nullptr;
    in.namedEntry = shown_ && !shown_->IsFileNode();
    in.declarationShown = parts_.area.TextBox()->HasDeclaration();
    in.declarationEdited = parts_.area.TextBox()->Edited();
    in.busy = parts_.busy();
    in.backgroundRendering = RenderingInBackground();
    in.minimized = parts_.window.isMinimized();
    in.run = run_;
    in.run.pendingPicture = run_.pendingPicture && session_ && session_->Run().PendingFor(shown_);
    in.largeRendering = session_ && session_->LargeRendering() && !liveRender_;
    const PaneState pane = DecidePane(in);
    QPushButton* button = parts_.area.ShowButton();
    if (pane.stopLabel != stopShown_) {
        stopShown_ = pane.stopLabel;
        button->setText(pane.stopLabel ? QTr("&Stop") : QTr("&Render"));
        button->setAccessibleName(pane.stopLabel ? QTr("Stop") : QTr("Render"));
        // A render has started: its rows are drawn over the cross-hatch (a large one drew its own).
        if (pane.stopLabel && run_.rendering && !largeCoversRun_) {
            const FrameBuffer& frame = session_->Renderer().Frame();
            parts_.area.Picture()->BeginRender(QSize(frame.Width(), frame.Height()));
        }
    }
    button->setEnabled(pane.renderEnabled);
    // A run takes the keyboard to "&Stop"; a large picture leaves it where the user works.
    if (run_.rendering && !button->hasFocus()) button->setFocus();
    parts_.area.ArrowButton()->setEnabled(pane.arrowEnabled);
    if (pane.busyCursor != busyCursor_) {
        busyCursor_ = pane.busyCursor;
        if (busyCursor_)
            QApplication::setOverrideCursor(Qt::BusyCursor);
        else
            QApplication::restoreOverrideCursor();
    }
    if (pane.caption != caption_) {
        caption_ = pane.caption;
        emit captionChanged();
    }
}

void PreviewPaneController::RenderOrStop() {
    // One renderer at a time: not while busy or while the background one renders.
    if (!run_.running && (parts_.busy() || RenderingInBackground())) return;
    if (!run_.running && session_->LargeRendering() && !liveRender_) {
        StopLargeByUser();
        return;
    }
    if (!run_.running) {
        povRefused_ = false;
        StopLargeRenders();
        largeShownSide_ = 0;  // the run's rows come
        ApplyRenderSettings();
        largeCoversRun_ = ShowCachedLarge();
    }
    session_->Step();
    ArmSessionTimer();
}

bool PreviewPaneController::ShowCachedLarge() {
    DeclarationBox* box = parts_.area.TextBox();
    const int side = FitSide();
    const std::vector<TextureEntry*> selected = parts_.views.SelectedEntries();
    if (side <= 0 || !shown_ || !box->HasDeclaration() || selected.size() != 1 || selected[0] != shown_) return false;
    if (!session_->LoadLargeFromCache(shown_, box->Lines(), side)) return false;
    largeWanted_ = true;
    FitPictureArea();
    largeShownSide_ = side;
    parts_.area.Picture()->ShowFrame(session_->LargeFrame());
    return true;
}

void PreviewPaneController::TakeOver() {
    // The picture taken over is the run's, at the stored previews' size; a large one on its way comes again.
    const bool large = session_->LargeRendering() && !liveRender_;
    session_->StopLargeRender();
    session_->TakeOverPending();
    UpdatePane();
    if (large) StartLarge(false);
}

void PreviewPaneController::RenderActivated() {
    TextureEntry* entry = parts_.views.CurrentEntry();
    if (!entry || entry != shown_ || run_.running || parts_.busy() || !parts_.area.ShowButton()->isEnabled()) return;
    StopLargeRenders();
    ApplyRenderSettings();
    session_->StepWithAutoStore();
    ArmSessionTimer();
}

bool PreviewPaneController::RenderingInBackground() const { return background_ && background_->Running(); }

void PreviewPaneController::StartBackgroundRender(const std::vector<TextureEntry*>& selected) {
    const std::vector<TextureEntry*> entries = EntriesToRenderInBackground(parts_.controller.Library(), selected);
    if (entries.empty()) {
        parts_.status.SetText(QTr("All textures already have a preview."));
        return;
    }
    if (!background_) {
        background_ = std::make_unique<BackgroundRendering>(parts_.controller, parts_.installation, parts_.status);
        connect(background_.get(), &BackgroundRendering::finished, this, [this] {
            UpdatePane();
            emit commandsChanged();
        });
        // The entry was updated before the failure was known: the pane shows it now.
        connect(background_.get(), &BackgroundRendering::entryFailed, this, [this](TextureEntry* entry) {
            if (entry == shown_ && !run_.running) ShowInPane(entry);
        });
    }
    BatchRenderSettings settings;
    settings.antialias = renderSettings_.antialias;
    settings.small = renderSettings_.small;
    settings.templateIndex = renderSettings_.templateIndex;
    settings.finishColor = renderSettings_.finishColor;
    ApplyRenderSettings();
    background_->Start(entries, settings);
    UpdatePane();
}

void PreviewPaneController::CancelBackgroundRender() {
    if (background_) background_->Cancel();
}

void PreviewPaneController::HoldBackgroundRender(bool hold) {
    if (background_) background_->Hold(hold);
}

TextureEntry* PreviewPaneController::CurrentEntry() { return parts_.views.CurrentEntry(); }

void PreviewPaneController::ShowEntry(TextureEntry* entry) {
    if (entry != parts_.views.CurrentEntry()) parts_.views.SelectEntries({entry});
    FollowCurrentEntry();
}

std::vector<TextureEntry*> PreviewPaneController::SelectedEntries() { return parts_.views.SelectedEntries(); }

const std::vector<std::string>* PreviewPaneController::DeclarationLines() {
    if (!parts_.area.TextBox()->HasDeclaration()) return nullptr;
    declarationLines_ = parts_.area.TextBox()->Lines();
    return &declarationLines_;
}

bool PreviewPaneController::DeclarationEdited() { return parts_.area.TextBox()->Edited(); }

void PreviewPaneController::ReloadDeclaration(TextureEntry* entry) { ShowInPane(entry); }

bool PreviewPaneController::ShowHint(const std::string& text) {
    HintDialog hint(QString::fromStdString(text), &parts_.window);
    ExecDialog(hint);
    if (hint.DontShowAgain()) parts_.settings.WriteFlag("Info", "Preview", 0);
    return hint.DontShowAgain();
}

void PreviewPaneController::RunStateChanged(const RenderRunState& state) {
    const bool began = state.running && !run_.running, ended = !state.running && run_.running;
    const bool pictureCame = (ended || !run_.pendingPicture) && !state.running && state.pendingPicture;
    run_ = state;
    if (ended) largeCoversRun_ = false;
    if (began && !parts_.area.PaneShown()) emit paneRequested();
    if (began || ended) emit runningChanged(state.running);
    UpdatePane();
    if (!state.running) emit refreshRequested();
    // "&Render" showed the picture at the stored size: a wider pane gets
    // the picture at its own size too, with or without "Large".
    if (pictureCame && FitSide() > 0)
        QTimer::singleShot(0, this, [this] {
            largeWanted_ = true;
            FitPictureArea();
            StartLarge(false);
        });
}

void PreviewPaneController::RowStored(int row) {
    if (largeCoversRun_) return;
    parts_.area.Picture()->DrawRow(session_->Renderer().Frame(), row);
}

int PreviewPaneController::PaneSide() const {
    if (!parts_.area.PaneShown()) return 0;
    return std::min(parts_.area.Picture()->PictureSize().width(), PreviewRenderSession::kLargestSide);
}

int PreviewPaneController::FitSide() const {
    if (!parts_.area.PaneShown() || parts_.settings.SmallPreview()) return 0;
    // The same rule and sizes the pane is laid out with.
    return parts_.area.CurrentLayout().largeSide;
}

int PreviewPaneController::LargeSide() const {
    return parts_.settings.LargePreview() || largeWanted_ ? FitSide() : 0;
}

void PreviewPaneController::FitPictureArea() {
    parts_.area.SetLargePicture(parts_.settings.LargePreview() || largeWanted_);
}

bool PreviewPaneController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parts_.area.Picture() && event->type() == QEvent::Resize) resizeTimer_.start();
    return QObject::eventFilter(watched, event);
}

void PreviewPaneController::PaneResized() {
    const int side = LargeSide();
    if (side <= 0 || side == largeShownSide_ || run_.running) return;
    // An edited text is rendered as it stands, with its error shown as while typing.
    StartLarge(parts_.area.TextBox()->Edited());
}

void PreviewPaneController::ApplyLargePreview() {
    largeWanted_ = false;
    FitPictureArea();
    StopLargeRenders();
    ReloadShownEntry();
    if (LargeSide() > 0) StartLarge(false);
}

void PreviewPaneController::StopLargeRenders() {
    largeTimer_.stop();
    liveTimer_.stop();
    live_.Stop();
    if (!session_->LargeRendering()) return;
    session_->StopLargeRender();
    ArmSessionTimer();
    UpdatePane();
    emit commandsChanged();
}

void PreviewPaneController::StopLargeByUser() {
    const bool wasLarge = session_->LargeRendering() && !liveRender_;
    StopLargeRenders();
    if (!wasLarge) return;
    // No half-drawn cross-hatch stays: the arrow's picture (what the arrow
    // would store) or the stored one comes back, at its own size unless "Large" is on.
    largeWanted_ = false;
    FitPictureArea();
    PreviewWindow* picture = parts_.area.Picture();
    if (session_->Run().PendingFor(shown_))
        picture->ShowFrame(session_->Renderer().Frame());
    else
        ShowPicture(shown_, parts_.area.TextBox()->HasDeclaration());
    largeShownSide_ = 0;
    UpdatePane();
}

void PreviewPaneController::StartLarge(bool live, int side) {
    DeclarationBox* box = parts_.area.TextBox();
    if (side <= 0) side = live ? PaneSide() : LargeSide();
    if (!shown_ || side <= 0 || !box->HasDeclaration() || run_.running || parts_.busy() || RenderingInBackground()) {
        if (live) live_.Stop();
        return;
    }
    // POV-Ray's own settings are put right first, as for "&Render"; once
    // the user said no, only "&Render" asks again.
    if (povRefused_ || !session_->Configuration().CheckSettings()) {
        povRefused_ = true;
        if (live) live_.Stop();
        return;
    }
    ReadRenderSettings();
    liveRender_ = live;
    PreviewWindow* picture = parts_.area.Picture();
    switch (session_->StartLargeRender(shown_, box->Lines(), side)) {
    case LargeRenderStart::FromCache:
        largeShownSide_ = side;
        LargeRenderDone(true);
        return;
    case LargeRenderStart::Rendering:
        largeShownSide_ = side;
        // While typing, the rows replace the last picture in place; else they come over the cross-hatch.
        if (!live) picture->BeginRender(QSize(side, side));
        picture->SetMessage({});
        ArmSessionTimer();
        UpdatePane();
        emit commandsChanged();
        return;
    case LargeRenderStart::Failed:
        if (live) live_.Stop();
        return;
    }
}

void PreviewPaneController::LargeRenderDone(bool succeeded) {
    PreviewWindow* picture = parts_.area.Picture();
    const int side = session_->LargeFrame().Width();
    if (succeeded) {
        picture->ShowFrame(session_->LargeFrame());
        if (liveRender_) live_.Succeeded();
    } else if (liveRender_) {
        live_.Failed(session_->LargeError().Text());
    }
    ShowLiveState();
    if (!succeeded && !liveRender_) picture->SetMessage(QString::fromStdString(session_->LargeError().Text()));
    ArmSessionTimer();
    UpdatePane();
    emit commandsChanged();
    // The draft of the edited text is shown: the picture at the area's side follows.
    if (succeeded && liveRender_ && side < PaneSide()) StartLarge(true);
}

void PreviewPaneController::DeclarationTyped() {
    if (!shown_ || run_.running || PaneSide() <= 0) return;
    // The render in flight shows text that is gone.
    if (live_.Edited(NowMs()) || session_->LargeRendering()) {
        session_->StopLargeRender();
        ArmSessionTimer();
        UpdatePane();
        emit commandsChanged();
    }
    largeTimer_.stop();
    ArmLiveTimer();
}

void PreviewPaneController::ArmLiveTimer() {
    const int wait = live_.MillisecondsToStart(NowMs());
    if (wait < 0)
        liveTimer_.stop();
    else
        liveTimer_.start(wait);
}

void PreviewPaneController::ShowLiveState() {
    PreviewWindow* picture = parts_.area.Picture();
    picture->SetDimmed(live_.Dimmed());
    picture->SetMessage(QString::fromStdString(live_.Error()));
    parts_.area.TextBox()->MarkFaultyLine(live_.Dimmed() ? session_->LargeError().boxLine : 0);
}

}  // namespace sc
