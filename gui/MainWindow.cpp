#include "gui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QToolBar>
#include <QUrl>
#include <QWindow>

#include "gui/BackgroundWork.h"
#include "gui/CommandActions.h"
#include "gui/DeclarationBox.h"
#include "gui/DesktopOpener.h"
#include "gui/EditCommands.h"
#include "gui/EntryBar.h"
#include "gui/FileChangeResponder.h"
#include "gui/FileCommands.h"
#include "gui/FilterField.h"
#include "gui/HelpCommands.h"
#include "gui/LibraryCommands.h"
#include "gui/LibraryNotifications.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/MessageDialogs.h"
#include "gui/PreviewPaneController.h"
#include "gui/PreviewWindow.h"
#include "gui/QtFileDialogs.h"
#include "gui/QtUserInterface.h"
#include "gui/SettingsCommands.h"
#include "gui/SplashWindow.h"
#include "gui/StatusBarWithProgress.h"
#include "gui/ViewCommands.h"
#include "gui/WindowMenus.h"
#include "gui/WindowSelection.h"
#include "gui/WindowStartup.h"
#include "library/LibraryController.h"
#include "library/TextureEntry.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "povray/PovConfiguration.h"
#include "povray/PovInstallationSource.h"
#include "povray/PovLauncher.h"
#include "preview/PreviewCodec.h"
#include "preview/PreviewRenderSession.h"
#include "scanner/DeclarationReader.h"
#include "ui/EntryBarText.h"
#include "ui/EntryTexts.h"
#include "ui/LibraryDocument.h"
#include "ui/Settings.h"
#include "ui/StartupSequence.h"
#include "ui/WindowTitle.h"

namespace sc {

MainWindow::MainWindow(Options options, QWidget* parent) : QMainWindow(parent), options_(std::move(options)) {
    setObjectName(QStringLiteral("SwatchcraftDlg"));
    setAccessibleName(QStringLiteral("Swatchcraft"));
    setAcceptDrops(true);
    BuildCore();
    BuildViews();
    BuildPane();
    BuildCommands();
    BuildActions();
    ConnectLibrary();
    ApplySettings();
}

MainWindow::~MainWindow() {
    fileChanges_.reset();
    pane_.reset();
    controller_->SetViews(nullptr);
    if (QApplication::overrideCursor() && busy_) QApplication::restoreOverrideCursor();
}

void MainWindow::BuildCore() {
    if (options_.executableDir.empty()) options_.executableDir = ExecutableDir();
    settings_ = std::make_unique<Settings>(options_.settingsFile, options_.programDir);
    status_ = new StatusBarWithProgress(this);
    setStatusBar(status_);
    ui_ = std::make_unique<QtUserInterface>(this, status_);
    ui_->SetIdleText([this] { return views_ ? views_->StatusText() : QString(); });
    controller_ = std::make_unique<LibraryController>(*ui_);
    controller_->SetDeclarations(&ReaderDeclarations());
    controller_->SetPictureCheck(&CodecPictureCheck());
    if (!options_.installations) {
        ownInstallations_ = std::make_unique<PovInstallationProbe>();
        options_.installations = ownInstallations_.get();
    }
    // Through xdg-open, so that a page it cannot show is reported rather than lost.
    urlOpener_ = [this](const QString& url) {
        const QUrl address(url);
        const std::string target = (address.isLocalFile() ? address.toLocalFile() : url).toStdString();
        OpenWithProgram(*this, *ui_, "xdg-open", target);
        return true;
    };
    settings_->Load(true);
    installation_ = settings_->Installation();
    widths_ = PaneWidths(settings_->ListWidth(), settings_->PaneWidth(), settings_->MaximizedPaneWidth());
    fileDialogs_ = std::make_unique<QtFileDialogs>(this);
    document_ = std::make_unique<LibraryDocument>(*controller_, *settings_, *fileDialogs_);
    document_->SetBusyHook([this](bool on) { SetBusy(on); });
    // Reading and writing list files (and waiting for another program's
    // lock) run on a worker; the window stays busy and Escape cancels.
    documentWork_ = std::make_unique<BackgroundLongWork>(*ui_, this);
    document_->SetLongWork(*documentWork_);
    statusTimer_.setSingleShot(true);
    statusTimer_.setInterval(50);
    connect(&statusTimer_, &QTimer::timeout, this, &MainWindow::RefreshStatusText);
}

void MainWindow::BuildViews() {
    area_ = new MainArea(widths_, this);
    setCentralWidget(area_);
    connect(area_, &MainArea::splitterMoved, this, &MainWindow::OnSplitterReleased);
    connect(area_, &MainArea::pictureSplitMoved, this, [this] {
        settings_->SetPictureShare(static_cast<int>(area_->PictureShare() * 100 + 0.5));
    });
    views_ = new LibraryViewStack(*controller_, *settings_);
    area_->SetListWidget(views_);
    notifications_ = std::make_unique<LibraryNotifications>(*views_);
    controller_->SetViews(notifications_.get());
    connect(views_, &LibraryViewStack::currentEntryChanged, this, [this] {
        pane_->FollowCurrentEntry();
        statusTimer_.start();
        UpdateActions();
    });
    connect(views_, &LibraryViewStack::selectionChanged, this, &MainWindow::OnSelectionChanged);
    connect(views_, &LibraryViewStack::viewTypeChanged, this, &MainWindow::UpdateActions);
    connect(views_, &LibraryViewStack::categoryChanged, this, [this](TextureEntry* entry) {
        if (entry == views_->CurrentEntry()) area_->Bar()->SetParts(EntryBarParts(entry));
    });
    connect(views_, &LibraryViewStack::onlySelectedChanged, this, [this] {
        UpdateActions();
        area_->Relayout();
    });
    connect(views_, &LibraryViewStack::contextMenuRequested, this, [this](const QPoint& at) {
        ShowContextMenu(views_->ViewType() == kFileListType ? ContextMenuKind::FileList : ContextMenuKind::EntryList, at);
    });
    // A header click sorts exactly as the context menu's sort item does.
    connect(views_, &LibraryViewStack::sortRequested, this,
            [this](int key) { RunCommand(int(Command::SortByName) + key); });
}

void MainWindow::BuildPane() {
    pane_ = std::make_unique<PreviewPaneController>(PreviewPaneController::Parts{
        *controller_, *settings_, *area_, *views_, installation_, *status_, *this, [this] { return busy_; }});
    connect(pane_.get(), &PreviewPaneController::runningChanged, this, &MainWindow::SetRendering);
    connect(pane_.get(), &PreviewPaneController::paneRequested, this, [this] { RunCommand(int(Command::PreviewPane)); });
    connect(pane_.get(), &PreviewPaneController::captionChanged, this, [this] { SetCaption(pane_->Caption()); });
    connect(pane_.get(), &PreviewPaneController::refreshRequested, this, &MainWindow::RefreshViews);
    connect(pane_.get(), &PreviewPaneController::commandsChanged, this, &MainWindow::UpdateActions);
    connect(area_->Picture(), &PreviewWindow::contextMenuRequested, this,
            [this](const QPoint& at) { ShowContextMenu(ContextMenuKind::Picture, at); });
}

void MainWindow::BuildCommands() {
    selection_ = std::make_unique<WindowSelection>(*this, *views_, [this] {
        if (commands_) commands_->SelectionTimerElapsed();
    });
    LibraryCommandsContext c;
    c.controller = controller_.get();
    c.window = selection_.get();
    c.ui = ui_.get();
    c.settings = settings_.get();
    c.configuration = &Configuration();
    c.launcher = &Launcher();
    c.parent = this;
    c.listFilePath = [this] { return document_->Path(); };
    c.renderSelected = [this] { pane_->RenderOrStop(); };
    c.refreshViews = [this] { RefillViews(); };
    c.libraryEmptied = [this] {
        document_->Forget();
        pane_->FollowCurrentEntry();
        UpdateTitle();
    };
    c.hint = [this](const QString& text) {
        HintDialog dialog(text, this);
        ExecDialog(dialog);
        return dialog.DontShowAgain();
    };
    c.help = [this] { RunCommand(int(Command::Help)); };
    commands_ = std::make_unique<LibraryCommands>(c, this);
    const WindowParts parts{*this, *settings_, *controller_, *document_, *views_, *area_, *pane_, *commands_, *ui_};
    fileCommands_ = std::make_unique<FileCommands>(parts);
    editCommands_ = std::make_unique<EditCommands>(parts);
    viewCommands_ = std::make_unique<ViewCommands>(parts);
    settingsCommands_ = std::make_unique<SettingsCommands>(parts, *options_.installations);
    helpCommands_ = std::make_unique<HelpCommands>(parts, options_.executableDir, urlOpener_);
    startup_ = std::make_unique<WindowStartup>(parts, *fileCommands_, *helpCommands_, *settingsCommands_);
}

void MainWindow::BuildActions() {
    actions_ = new CommandActions(
        *this, *views_, [this] { return CurrentMenuConditions(); }, [this] { return CurrentCheckConditions(); });
    // The menu bar takes the keyboard while its menus are walked with it; the
    // control it was taken from is the one a menu command gives it back to.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now && now == menuBar() && old && isAncestorOf(old)) focusBeforeMenu_ = old;
    });
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
        if (window && window != windowHandle()) ownWindowShown_ = true;
    });
    actions_->SetBeforeCommand([this] {
        // The user's command changes what the status bar is about: a note gives way.
        status_->EndNote();
        ownWindowShown_ = false;
        QWidget* focus = focusWidget();
        if (focus && focus == menuBar()) focus = focusBeforeMenu_;
        if (focus && views_->isAncestorOf(focus)) commandFocus_.RememberControl(focus);
    });
    actions_->SetAfterCommand([this] {
        // Some window managers activate no window at all once the command's
        // last dialog or message closed: the keyboard would be nowhere.
        if (ownWindowShown_ && isVisible() && !isMinimized() && !QApplication::activeModalWidget() &&
            QApplication::activeWindow() != this)
            activateWindow();
        ownWindowShown_ = false;
        if (!busy_) RestoreCommandFocus();
        UpdateActions();
    });
    fileCommands_->Bind(*actions_);
    editCommands_->Bind(*actions_);
    viewCommands_->Bind(*actions_);
    settingsCommands_->Bind(*actions_);
    helpCommands_->Bind(*actions_);
    menus_ = new WindowMenus(*this, *actions_, *settings_);
    connect(menus_, &WindowMenus::aboutToShow, this, &MainWindow::UpdateActions);
    escape_ = new QAction(this);
    escape_->setShortcutContext(Qt::WindowShortcut);
    addAction(escape_);
    connect(escape_, &QAction::triggered, this, &MainWindow::OnEscape);
}

// The library's changes: the pane lets an entry go before it is destroyed,
// and follows the current entry the views moved to.
void MainWindow::ConnectLibrary() {
    LibraryNotifications* n = notifications_.get();
    connect(n, &LibraryNotifications::entryUpdated, this, [this](TextureEntry* entry) {
        if (entry == pane_->ShownEntry() && !rendering_) pane_->ReloadShownEntry();
    });
    connect(n, &LibraryNotifications::entryRemoving, this, [this](TextureEntry* entry) { pane_->ForgetEntry(entry); });
    connect(n, &LibraryNotifications::entryRemoved, this, [this] {
        if (!pane_->ShownEntry()) pane_->FollowCurrentEntry();
    });
    connect(n, &LibraryNotifications::clearing, this, [this] { pane_->ForgetAll(); });
    connect(n, &LibraryNotifications::cleared, this, [this] { pane_->FollowCurrentEntry(); });
    // The library counts a change after telling the views, so the title looks once control is back.
    changedTimer_.setSingleShot(true);
    changedTimer_.setInterval(0);
    connect(&changedTimer_, &QTimer::timeout, this, &MainWindow::UpdateTitle);
    connect(n, &LibraryNotifications::libraryChanged, &changedTimer_, qOverload<>(&QTimer::start));
    fileChanges_ = std::make_unique<FileChangeResponder>(
        WindowParts{*this, *settings_, *controller_, *document_, *views_, *area_, *pane_, *commands_, *ui_}, *n);
}

void MainWindow::ApplySettings() {
    area_->TextBox()->SetColors(settings_->NormalTextColor(), settings_->ChangedTextColor());
    area_->SetPaneShown(settings_->PaneShown());
    area_->SetSmallPicture(settings_->SmallPreview());
    area_->SetLargePicture(settings_->LargePreview());
    area_->SetPictureShare(settings_->PictureShare() / 100.0);
    views_->SetViewType(settings_->ViewType());
    ApplyFlatToolbar();
    RebuildRecentFiles();
    menus_->RebuildSampleScenes();
    PlaceWindow();
    SetBusy(true);  // until the start-up steps are through
    views_->Refresh();
    menus_->ToolBar()->addSeparator();
    menus_->ToolBar()->addWidget(views_->CreateFilterField(menus_->ToolBar()));
    UpdateActions();
    UpdateTitle();
}

void MainWindow::Launch() {
    show();
    if (settings_->Maximized()) showMaximized();
    auto* splash = new SplashWindow();
    splash->setAttribute(Qt::WA_DeleteOnClose);
    connect(splash, &SplashWindow::closed, this, [this] { QTimer::singleShot(0, this, &MainWindow::StartUp); });
    splash->show();
    splash->raise();
    splash->activateWindow();
}

void MainWindow::StartUp() {
    if (started_) return;
    started_ = true;
    StartupContext context{*settings_, *options_.installations, options_.executableDir,
                           CommandLineListFile(options_.arguments), options_.fontDirectories};
    RunDeferredStartup(context, *startup_);
    installation_ = settings_->Installation();
    UpdateActions();
    // Arrow keys walk the entries from the start, without a click first.
    views_->FocusShownView();
}

PovConfiguration& MainWindow::Configuration() { return pane_->Session().Configuration(); }
PovLauncher& MainWindow::Launcher() { return pane_->Session().Launcher(); }
PreviewRenderSession& MainWindow::Session() { return pane_->Session(); }
QToolBar* MainWindow::ToolBar() const { return menus_->ToolBar(); }
QAction* MainWindow::ActionFor(int command) const { return actions_->Action(command); }
void MainWindow::RunCommand(int command) { actions_->Run(command); }
TextureEntry* MainWindow::CurrentEntry() const { return views_->CurrentEntry(); }
bool MainWindow::RenderingInBackground() const { return pane_ && pane_->RenderingInBackground(); }

MenuConditions MainWindow::CurrentMenuConditions() const {
    MenuConditions c;
    c.rendering = rendering_;
    c.busy = busy_;
    c.entryCount = controller_->EntryCount();
    c.previewCount = controller_->PreviewCount();
    c.faultyCount = controller_->FaultyCount();
    c.noDirectoryCount = controller_->NoDirectoryCount();
    c.pluginInstalled = pane_->Session().Configuration().IsInstalled();
    c.onlySelectedMode = controller_->onlyMarkedShown;
    c.onlySelectedToggleable = views_->OnlySelectedShown() || views_->CanShowOnlySelected();
    c.listType = views_->ViewType();
    c.backgroundRendering = RenderingInBackground();
    const TextureEntry* current = CurrentEntry();
    c.currentEntry = current != nullptr;
    c.namedCurrentEntry = current && !current->IsFileNode();
    return c;
}

CheckConditions MainWindow::CurrentCheckConditions() const {
    const Settings& s = *settings_;
    CheckConditions c;
    c.save = s.SaveOnExit();
    c.loadLastFile = s.LoadLastFile();
    c.flatToolbar = s.FlatToolbar();
    c.paneShown = s.PaneShown();
    c.smallPreview = s.SmallPreview();
    c.largePreview = s.LargePreview();
    c.antialias = s.Antialias();
    c.listType = views_->ViewType();
    c.previewType = static_cast<int>(s.SampleScene());
    c.sortKey = views_->UserSortOrder().key;
    return c;
}

void MainWindow::UpdateActions() {
    actions_->Update();
    // Every command ends here; a save or a new library changes no entry but the changed state.
    setWindowModified(document_->Modified());
    const TextureEntry* current = CurrentEntry();
    ActionFor(int(Command::CopyTexture))->setText(QString::fromStdString(CopyItemText(current)));
    const bool editorTakesLine = installation_.Compare(3.1f, 'e') >= 0;
    ActionFor(int(Command::EditWithPov))->setText(QString::fromStdString(EditItemText(current, editorTakesLine)));
    // Escape has something to stop only now; otherwise it stays with the focused control (an editor, a field).
    const bool stoppable = rendering_ || busy_ || RenderingInBackground() || pane_->LargeRendering();
    if (stoppable != !escape_->shortcut().isEmpty()) escape_->setShortcut(stoppable ? QKeySequence(Qt::Key_Escape) : QKeySequence());
}

std::unique_ptr<QMenu> MainWindow::EntriesContextMenu() {
    return menus_->ContextMenu(views_->ViewType() == kFileListType ? ContextMenuKind::FileList
                                                                   : ContextMenuKind::EntryList);
}

void MainWindow::ShowContextMenu(ContextMenuKind kind, const QPoint& globalPos) {
    const std::unique_ptr<QMenu> menu = menus_->ContextMenu(kind);
    menu->exec(globalPos);
}

void MainWindow::OnEscape() {
    if (rendering_)
        pane_->RenderOrStop();
    else if (busy_)
        ui_->SetCancelled(true);
    else if (pane_->LargeRendering())
        pane_->StopLargeByUser();
    else
        pane_->CancelBackgroundRender();
}

void MainWindow::RestoreCommandFocus() {
    QWidget* view = commandFocus_.Take();
    if (!view || rendering_) return;
    // Disabled views hand the keyboard on to the declaration box; a command
    // that chose a control (another view, the filter field) keeps its choice.
    QWidget* now = focusWidget();
    if (now && now != area_->TextBox() && now != menuBar() && now->isEnabled() && now->isVisible()) return;
    view->setFocus(Qt::OtherFocusReason);
    views_->ScrollToCurrent();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A note (the POV-Ray taken at start) gives way once the user works in
    // the entries; a list read at start, which changes the selection by
    // itself whenever it is through, leaves it.
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::MouseButtonPress) && watched->isWidgetType() &&
        views_->isAncestorOf(static_cast<QWidget*>(watched)))
        status_->EndNote();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::OnSelectionChanged() {
    commands_->SelectionChanged();
    UpdateActions();
    RefreshStatusText();
}

// "[*]" is where Qt shows that the library has changes not yet saved.
void MainWindow::UpdateTitle() {
    const std::string fileTitle = MainWindowTitle(document_ ? document_->Path() : std::string());
    // A screen reader names the window as the title does: with its file.
    setAccessibleName(QString::fromStdString(fileTitle));
    const bool minimizedRun = rendering_ && isMinimized() && !caption_.empty();
    setWindowTitle(QString::fromStdString(minimizedRun ? caption_ : fileTitle) + QStringLiteral("[*]"));
    setWindowModified(document_ && document_->Modified());
}

void MainWindow::SetCaption(const std::string& caption) {
    caption_ = caption;
    UpdateTitle();
}

void MainWindow::SetRendering(bool rendering) {
    if (rendering) renderFocus_.Remember(*this);
    rendering_ = rendering;
    if (!rendering) caption_.clear();
    views_->setEnabled(!rendering_);
    if (!rendering) renderFocus_.Restore();
    fileChanges_->Hold(busy_ || rendering_);
    UpdateActions();
    UpdateTitle();
}

void MainWindow::SetBusy(bool busy) {
    if (busy == busy_) return;
    if (busy) busyFocus_.Remember(*this);
    busy_ = busy;
    // Pictures must not change under a save, a load or a search.
    pane_->HoldBackgroundRender(busy);
    if (fileChanges_) fileChanges_->Hold(busy_ || rendering_);
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ui_->SetCancelled(false);
    } else {
        QApplication::restoreOverrideCursor();
    }
    // Long work runs on a worker over its own copy: the views stay usable
    // (scrolling, selecting, the pane) while the commands that would change
    // the library are disabled by the busy rule.
    views_->setEnabled(!rendering_);
    if (!busy) {
        busyFocus_.Restore();
        RestoreCommandFocus();
    }
    pane_->UpdatePane();
    UpdateActions();
}

void MainWindow::RefillViews() {
    views_->Refresh();
    ShowLoadedLibrary();
}

void MainWindow::ShowLoadedLibrary() {
    if (!views_->CurrentEntry()) {
        const std::vector<TextureEntry*> entries = views_->EntriesInListOrder();
        if (!entries.empty()) views_->SelectEntries({entries.front()});
    }
    pane_->FollowCurrentEntry();
    fileChanges_->Rearm();
    RefreshViews();
}

void MainWindow::RefreshViews() {
    for (QWidget* child : views_->findChildren<QWidget*>()) child->update();
    RebuildRecentFiles();
    UpdateTitle();
    UpdateActions();
    RefreshStatusText();
}

void MainWindow::RebuildRecentFiles() { menus_->RebuildRecentFiles(document_->Path()); }
void MainWindow::ApplyFlatToolbar() { menus_->ApplyFlatToolbar(); }

void MainWindow::ChooseSampleScene(int index) {
    if (index >= 0 && index < menus_->SceneCount()) settings_->SetSampleScene(static_cast<PreviewScene>(index));
}

void MainWindow::RefreshStatusText() {
    if (!status_->ProgressShown()) status_->SetText(views_->StatusText());
}

void MainWindow::ShowStatus(const std::string& text) {
    statusTimer_.stop();
    status_->SetText(QString::fromStdString(text));
}

// The save question may start a save, which runs apart: the window then
// closes when the save is through, or stays when it failed.
bool MainWindow::MayClose() {
    if (rendering_ || busy_) return false;
    if (discardConfirmed_) return true;
    auto answer = std::make_shared<int>(kUnanswered);
    document_->ConfirmDiscard([this, answer](bool mayClose) {
        if (*answer == kAnsweredLater) {
            if (mayClose) {
                discardConfirmed_ = true;
                close();
            }
            return;
        }
        *answer = mayClose ? 1 : 0;
    });
    if (*answer == kUnanswered) *answer = kAnsweredLater;
    return *answer == 1;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!MayClose()) {
        event->ignore();
        return;
    }
    ui_->SetCancelled(true);
    views_->SaveListSettings();
    SaveSettings();
    if (Launcher().StartedPov()) Launcher().EndStartedPov();
    event->accept();
}

void MainWindow::SaveSettings() {
    Settings& s = *settings_;
    s.SetLastFile(document_->Path());
    s.SetViewType(static_cast<ListType>(views_->ViewType()));
    s.SetInstallation(installation_);
    geometry_.maximizedPaneWidth = widths_.For(true).pane;
    geometry_.maximized = isMaximized();
    StoreGeometry(geometry_, s);
    if (!s.Save())
        ui_->ShowMessage(SettingsNotWrittenText(s.FilePath()),
                         MessageIcon::Exclamation);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    area_->SetMaximized(isMaximized());
    pane_->UpdatePane();
    UpdateTitle();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    RememberGeometry();
}

// The pane keeps its share of a growing or shrinking window; a hidden pane
// keeps the width it comes back with.
void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!isMaximized() && !isMinimized() && area_->PaneShown() && !togglingPane_) {
        widths_.For(false) = SharedWidths(width(), paneShare_, true);
        area_->Relayout();
    }
    RememberGeometry();
}

void MainWindow::RememberGeometry() {
    if (isMinimized() || isMaximized() || isFullScreen()) return;
    const QRect frame = frameGeometry();
    RememberRestored(geometry_, {frame.x(), frame.y(), frame.width(), frame.height()}, {width(), height()},
                     widths_.For(false), area_->PaneShown());
}

void MainWindow::OnSplitterReleased() {
    if (isMaximized()) return;
    paneShare_ = PaneShare(widths_.For(false));
    RememberGeometry();
}

void MainWindow::PlaceWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect a = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    geometry_ = SavedGeometryOf(*settings_);
    const Placement p = sc::PlaceWindow(geometry_, {a.x(), a.y(), a.width(), a.height()}, {});
    widths_.For(false) = p.widths;
    paneShare_ = PaneShare(p.widths);
    resize(p.client.width, p.client.height);
    move(p.frame.x, p.frame.y);
    const Size minimum = MinimumTrackSize(0, settings_->PaneShown());
    setMinimumSize(minimum.width, minimum.height);
    RememberGeometry();
}

void MainWindow::ApplyPaneWidthsToWindow(bool paneShown) {
    area_->SetPaneShown(paneShown);
    if (isMaximized() || isFullScreen()) return;
    const PaneToggle t = TogglePane(width(), widths_.For(false), paneShown);
    widths_.For(false) = t.widths;
    togglingPane_ = true;
    setMinimumSize(t.minimumBefore.width, t.minimumBefore.height);
    resize(t.clientWidth, height());
    setMinimumSize(t.minimumAfter.width, t.minimumAfter.height);
    togglingPane_ = false;
    if (paneShown) paneShare_ = PaneShare(t.widths);
    area_->Relayout();
    RememberGeometry();
}

// A drop opens what the menus would open now: while a background render
// runs neither lists nor include files are taken, as Open and the search are
// disabled then.
bool MainWindow::DropTakes(bool listFile) {
    UpdateActions();
    return ActionFor(int(listFile ? Command::Open : Command::SearchTextures))->isEnabled();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !busy_ && !rendering_ && (DropTakes(true) || DropTakes(false)))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> lists, includes;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        const std::string path = url.toLocalFile().toStdString();
        (ToLowerAscii(ExtensionOf(path)) == ".swl" ? lists : includes).push_back(path);
    }
    if (!lists.empty() && !DropTakes(true)) lists.clear();
    if (!includes.empty() && !DropTakes(false)) includes.clear();
    if (lists.empty() && includes.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    fileCommands_->OpenDropped(lists, includes);
}

void MainWindow::SetFileDialogs(std::unique_ptr<FileDialogs> dialogs) {
    fileDialogs_ = std::move(dialogs);
    document_->SetDialogs(*fileDialogs_);
}

}  // namespace sc
