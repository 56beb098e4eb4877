// Rendering in the window: "&Anzeigen"/"&Stop", a double click and the
// take-over arrow, with the core's render session driven by Qt's event loop
// (a socket notifier on the bridge's mailbox, one timer re-armed for the
// session's next deadline), and the run's view of the window.
#include <QApplication>
#include <QPushButton>
#include <QSocketNotifier>
#include <QToolButton>

#include "bridge/BridgeApi.h"
#include "bridge/BridgeConnection.h"
#include "gui/DeclarationBox.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/MainWindow.h"
#include "gui/MessageDialogs.h"
#include "gui/PreviewWindow.h"
#include "library/TextureEntry.h"
#include "ui/Settings.h"

namespace sc {

void MainWindow::SetUpRendering() {
    renderSettings_.previewHint = settings_->ReadFlag("Info", "Preview", 1);
    // A hung preview is stopped after the same time as in the tool.
    bridge::SetRenderTimeLimit(settings_->previewTimeLimit);
    ApplyRenderSettings();
    session_ = std::make_unique<PreviewRenderSession>(*controller_, static_cast<RenderRunWindow&>(*this), bridge::Connection(), installation_,
                                                      renderSettings_);
    session_->SetEvents(this);
    sessionTimer_.setSingleShot(true);
    connect(&sessionTimer_, &QTimer::timeout, this, [this] {
        session_->RunDueTimers();
        ArmSessionTimer();
    });
    session_->SetTimerChangeHook([this] { QTimer::singleShot(0, this, &MainWindow::ArmSessionTimer); });
    if (session_->Descriptor() >= 0) {
        bridgeNotifier_ = new QSocketNotifier(session_->Descriptor(), QSocketNotifier::Read, this);
        connect(bridgeNotifier_, &QSocketNotifier::activated, this, [this] {
            session_->DeliverMessages();
            ArmSessionTimer();
        });
        bridgeNotifier_->setEnabled(false);
    }
}

void MainWindow::ArmSessionTimer() {
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

void MainWindow::ApplyRenderSettings() {
    renderSettings_.antialias = settings_->antialias == 1;
    renderSettings_.small = settings_->smallPreview == 1;
    renderSettings_.templateIndex = settings_->previewType;
    renderSettings_.finishColor = settings_->finishColor;
    if (!session_) return;
    const int side = renderSettings_.small ? 56 : 116;
    session_->Renderer().SetPictureSize(side, side);
}

PreviewWindow& MainWindow::Picture() { return *area_->Picture(); }

void MainWindow::OnRenderButton() {
    // One renderer at a time: not while busy or while the background one renders.
    if (!rendering_ && (busy_ || RenderingInBackground())) return;
    if (!rendering_) ApplyRenderSettings();
    session_->Step();
    ArmSessionTimer();
}

void MainWindow::OnTakeOver() {
    session_->TakeOverPending();
    ShowEntryInPaneButtons();
}

// A double click renders and stores at once, when "&Anzeigen" could start.
void MainWindow::OnEntryActivated(TextureEntry* entry) {
    if (!entry || entry != shown_ || rendering_ || busy_ || !area_->ShowButton()->isEnabled()) return;
    ApplyRenderSettings();
    session_->StepWithAutoStore();
    ArmSessionTimer();
}

void MainWindow::ShowEntry(TextureEntry* entry) {
    if (entry != views_->CurrentEntry()) views_->SelectEntries({entry});
    CurrentEntryChanged();
}

const std::vector<std::string>* MainWindow::DeclarationLines() {
    if (!area_->TextBox()->HasDeclaration()) return nullptr;
    declarationLines_ = area_->TextBox()->Lines();
    return &declarationLines_;
}

bool MainWindow::DeclarationEdited() { return area_->TextBox()->Edited(); }

void MainWindow::ReloadDeclaration(TextureEntry* entry) { ShowEntryInPane(entry); }

void MainWindow::ShowPreviewPane() {
    if (settings_->content != 1) OnPreviewPane();
}

void MainWindow::EnableInterface(bool enable) {
    SetRendering(!enable);
    views_->setEnabled(enable);
    ShowEntryInPaneButtons();
}

void MainWindow::SetArrowEnabled(bool) { ShowEntryInPaneButtons(); }

void MainWindow::SetRenderButton(bool enabled, bool stopLabel) {
    QPushButton* button = area_->ShowButton();
    button->setText(stopLabel ? QStringLiteral("&Stop") : QStringLiteral("&Anzeigen"));
    button->setAccessibleName(stopLabel ? QStringLiteral("Stop") : QStringLiteral("Anzeigen"));
    button->setEnabled(enabled);
    if (stopLabel) {
        // A render has started: its rows are drawn over the cross-hatch.
        area_->Picture()->BeginRender();
        button->setFocus();
    }
}

void MainWindow::SetBusyCursor(bool on) {
    if (on == renderCursor_) return;
    renderCursor_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool MainWindow::IsMinimized() { return isMinimized(); }

void MainWindow::SetCaption(const std::string& caption) {
    caption_ = caption;
    UpdateTitle();
}

bool MainWindow::ShowHint(const std::string& text) {
    HintDialog hint(QString::fromStdString(text), this);
    ExecDialog(hint);
    if (hint.DontShowAgain()) settings_->WriteFlag("Info", "Preview", 0);
    return hint.DontShowAgain();
}

void MainWindow::RowStored(int row) { area_->Picture()->DrawRow(session_->Renderer().Frame(), row); }

}  // namespace sc
