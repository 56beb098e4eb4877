#pragma once
// The preview pane and the renders behind it: the entry bar and the pane
// follow the views' current entry; "&Render"/"&Stop", a double click, the
// take-over arrow and the background render run here, with the core's render
// session driven by Qt's event loop (a socket notifier on the bridge's
// mailbox, one timer re-armed for the session's next deadline). What the
// pane's buttons, the views and the title show comes from DecidePane.
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "preview/LargePreviewCache.h"
#include "preview/PreviewRenderRun.h"
#include "preview/PreviewRenderSession.h"
#include "ui/LivePreviewScheduler.h"

class QSocketNotifier;
class QWidget;

namespace sc {

class BackgroundRendering;
class LibraryController;
class LibraryViewStack;
class MainArea;
class PovInstallation;
class Settings;
class StatusBarWithProgress;
class TextureEntry;

class PreviewPaneController : public QObject, private RenderRunWindow, private PreviewRenderEvents {
    Q_OBJECT
public:
    // Everything is borrowed and must outlive the controller. `busy` tells
    // whether the window runs a long operation.
    struct Parts {
        LibraryController& controller;
        Settings& settings;
        MainArea& area;
        LibraryViewStack& views;
        PovInstallation& installation;
        StatusBarWithProgress& status;
        QWidget& window;
        std::function<bool()> busy;
    };
    explicit PreviewPaneController(Parts parts);
    ~PreviewPaneController() override;

    // The views' current entry changed: the entry bar and the pane show it.
    void FollowCurrentEntry();
    // Reads the shown entry's declaration again (its stored text replaces any edit).
    void ReloadShownEntry();
    TextureEntry* ShownEntry() const { return shown_; }
    // The library is about to delete an entry (or all of them): the pane and the background render let it go.
    void ForgetEntry(TextureEntry* entry);
    void ForgetAll();
    // Sets the buttons, the cursor, the views and the title from the state now.
    void UpdatePane();

    // "&Render" / "&Stop".
    void RenderOrStop();
    // The arrow button: the shown picture becomes the entry's preview.
    void TakeOver();
    // A double click: renders and stores at once, when "&Render" could start.
    void RenderActivated();
    // "Render Previews in the &Background" for `entries` (the selection).
    void StartBackgroundRender(const std::vector<TextureEntry*>& selected);
    bool RenderingInBackground() const;
    // Escape while the background render runs; Hold keeps it still while the window is busy.
    void CancelBackgroundRender();
    void HoldBackgroundRender(bool hold);
    // The picture size, antialiasing, scene and finish colour from the settings.
    void ApplyRenderSettings();

    // "Preview | &Large" changed: the picture area follows it; when on, the shown entry's large picture comes.
    void ApplyLargePreview();
    // The side a large picture would have in the pane as it is now (0: the
    // pane is hidden, too narrow, or the small preview is chosen).
    int FitSide() const;
    // A large or live render of the pane stops; nothing waits to start.
    void StopLargeRenders();
    // Escape or "&Stop" on a large picture: it stops, and the picture it was
    // to replace comes back (the one waiting for the arrow, else the stored one).
    void StopLargeByUser();
    bool LargeRendering() const { return session_ && session_->LargeRendering(); }
    // The side a large picture is rendered at now: FitSide() while "Large" is
    // on or "&Render" asked for the shown entry's large picture; else 0.
    int LargeSide() const;

    bool Running() const { return run_.running; }
    // The title while minimized during a run ("42% Swatchcraft"), else empty.
    const std::string& Caption() const { return caption_; }
    PreviewRenderSession& Session() { return *session_; }

signals:
    // A render run began or ended (the window takes no other command meanwhile).
    void runningChanged(bool running);
    // A run starts while the pane is hidden.
    void paneRequested();
    // The run's caption changed.
    void captionChanged();
    // A run ended or was refused: entries and settings may have changed, the views are redrawn.
    void refreshRequested();
    // The background render ended: the commands' enable states change.
    void commandsChanged();

private:
    void SetUpSession();
    void ArmSessionTimer();
    void ShowInPane(TextureEntry* entry);
    void ShowPicture(TextureEntry* entry, bool available);

    // RenderRunWindow: the run asks and reports here.
    TextureEntry* CurrentEntry() override;
    void ShowEntry(TextureEntry* entry) override;
    std::vector<TextureEntry*> SelectedEntries() override;
    const std::vector<std::string>* DeclarationLines() override;
    bool DeclarationEdited() override;
    void ReloadDeclaration(TextureEntry* entry) override;
    bool ShowHint(const std::string& text) override;
    void RunStateChanged(const RenderRunState& state) override;
    // PreviewRenderEvents
    void RowStored(int row) override;
    void LargeRenderDone(bool succeeded) override;

    // The picture area's resizes (the pane or the window changed size).
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The picture area is large while "Large" is on or the shown entry's large picture was asked for.
    void FitPictureArea();
    // The pane rested at a new size: a shown large picture comes again at the side that fits now.
    void PaneResized();

    // Renders the shown entry at LargeSide(): its stored declaration, or
    // (`live`) the box's text as it stands, at `side` (0: the picture area's).
    void StartLarge(bool live, int side = 0);
    // Shows the large picture "&Render" would bring when the cache has it; true then.
    bool ShowCachedLarge();
    // The picture area's side (at most a large picture's); 0 when the pane is hidden.
    int PaneSide() const;
    void ReadRenderSettings();
    void DeclarationTyped();
    void ArmLiveTimer();
    // The pane's dimming, message and marked line from the live state.
    void ShowLiveState();

    Parts parts_;
    PreviewRenderSettings renderSettings_;
    std::unique_ptr<PreviewRenderSession> session_;
    std::unique_ptr<BackgroundRendering> background_;
    QSocketNotifier* bridgeNotifier_ = nullptr;
    QTimer sessionTimer_;  // fires when the session's next timer is due
    QTimer reloadTimer_;   // a click reloads the declaration only after this ran out
    TextureEntry* shown_ = nullptr;
    std::vector<std::string> declarationLines_;
    RenderRunState run_;
    bool stopShown_ = false;
    LargePreviewCache largeCache_;
    LivePreviewScheduler live_;
    QTimer largeTimer_;  // a new entry's large picture starts once the current entry rests
    QTimer liveTimer_;   // fires when the live preview's start is due
    QTimer resizeTimer_;  // a resize starts no render until the pane rests
    bool liveRender_ = false;  // the large render in flight shows the box's edited text
    bool povRefused_ = false;  // the user would not have POV-Ray's settings changed
    bool largeWanted_ = false;  // "&Render" asked for the shown entry's large picture
    int largeShownSide_ = 0;  // the side of the large picture shown or coming; 0: the stored one is shown
    // A run's picture renders behind the large one of the same text, shown from the cache.
    bool largeCoversRun_ = false;
    bool busyCursor_ = false;
    std::string caption_;
};

}  // namespace sc
