#include "gui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWindowStateChangeEvent>

#include "gui/BackgroundRendering.h"
#include "gui/DeclarationBox.h"
#include "gui/EntryBar.h"
#include "gui/MainArea.h"
#include "gui/FilterField.h"
#include "gui/LibraryCommands.h"
#include "gui/LibraryViewStack.h"
#include "gui/WindowSelection.h"
#include "gui/PreviewWindow.h"
#include "gui/QtUserInterface.h"
#include "gui/StatusBarWithProgress.h"
#include "library/LibraryController.h"
#include "library/TextureEntry.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "povray/PovConfiguration.h"
#include "povray/PovInstallationSource.h"
#include "povray/PovLauncher.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"
#include "ui/ClipboardText.h"
#include "ui/EntryBarText.h"
#include "ui/KeyboardShortcuts.h"
#include "ui/LibraryDocument.h"
#include "ui/Settings.h"
#include "ui/WindowTitle.h"

#include "bridge/BridgeConnection.h"

namespace sc {

MainWindow::MainWindow(Options options, QWidget* parent) : QMainWindow(parent), options_(std::move(options)) {
    setObjectName(QStringLiteral("SwatchcraftDlg"));
    setAccessibleName(QStringLiteral("Swatchcraft"));
    setAcceptDrops(true);
    if (options_.executableDir.empty()) options_.executableDir = ExecutableDir();
    settings_ = std::make_unique<Settings>(options_.settingsFile, options_.programDir);
    status_ = new StatusBarWithProgress(this);
    setStatusBar(status_);
    ui_ = std::make_unique<QtUserInterface>(this, status_);
    controller_ = std::make_unique<LibraryController>(*ui_);
    controller_->SetDeclarations(&ReaderDeclarations());
    controller_->Library().SetUserInterface(ui_.get());
    if (!options_.installations) {
        ownInstallations_ = std::make_unique<PovInstallationProbe>();
        options_.installations = ownInstallations_.get();
    }
    urlOpener_ = [](const QString& url) { return QDesktopServices::openUrl(QUrl(url)); };

    area_ = new MainArea(widths_, this);
    setCentralWidget(area_);
    connect(area_->ShowButton(), &QPushButton::clicked, this, [this] { RunCommand(int(Command::RenderButton)); });
    connect(area_->ArrowButton(), &QToolButton::clicked, this, [this] { RunCommand(int(Command::TakeOver)); });
    connect(area_->Picture(), &PreviewWindow::ContextMenuRequested, this, &MainWindow::ShowPictureMenu);
    connect(area_->TextBox(), &DeclarationBox::EditedChanged, this, [this](bool) { ShowEntryInPaneButtons(); });
    statusTimer_.setSingleShot(true);
    statusTimer_.setInterval(50);
    reloadTimer_.setSingleShot(true);
    reloadTimer_.setInterval(1000);

    settings_->Load(true);
    views_ = new LibraryViewStack(*controller_, *settings_);
    area_->SetListWidget(views_);
    controller_->SetViews(this);
    connect(views_, &LibraryViewStack::currentEntryChanged, this, &MainWindow::SetCurrentEntry);
    connect(views_, &LibraryViewStack::renderRequested, this, [this] { OnEntryActivated(views_->CurrentEntry()); });
    connect(views_, &LibraryViewStack::selectionChanged, this, [this] {
        if (commands_) commands_->SelectionChanged();
        UpdateMenu();
        UpdateStatusText();
    });
    connect(views_, &LibraryViewStack::commandRequested, this, &MainWindow::RunCommand);
    connect(views_, &LibraryViewStack::viewTypeChanged, this, [this](int type) {
        settings_->listType = type;
        UpdateChecks();
        UpdateMenu();
    });
    connect(views_, &LibraryViewStack::onlySelectedChanged, this, [this] {
        UpdateMenu();
        area_->Relayout();
    });
    views_->SetMenuState([this] {
        ViewMenuState state;
        state.busy = busy_;
        state.rendering = rendering_;
        state.pluginInstalled = Configuration().IsInstalled();
        state.editorTakesLine = installation_.Compare(3.1f, 'e') >= 0;
        return state;
    });
    connect(&statusTimer_, &QTimer::timeout, this, &MainWindow::UpdateStatusText);
    SetUpRendering();
    BuildToolbar();
    BuildMenus();
    installation_ = settings_->Installation();
    widths_ = PaneWidths(settings_->normalListWidth, settings_->normalContentWidth,
                         settings_->maximizedContentWidth);
    document_ = std::make_unique<LibraryDocument>(*controller_, *settings_, *fileDialogs_);
    document_->SetBusyHook([this](bool on) { SetBusy(on); });
    BuildCommands();
    area_->TextBox()->SetColors(settings_->textureFontNormal, settings_->textureFontChanged);
    area_->SetPaneShown(settings_->content == 1);
    area_->SetSmallPicture(settings_->smallPreview == 1);
    views_->SetViewType(settings_->listType);
    ApplyFlatToolbar();
    RebuildRecentFiles();
    RebuildSampleScenes();
    PlaceWindow();
    qApp->installEventFilter(this);
    SetBusy(true);  // until the start-up steps are through
    views_->Refresh();
    toolbar_->addSeparator();
    toolbar_->addWidget(views_->CreateFilterField(toolbar_));
    UpdateChecks();
    UpdateTitle();
}

MainWindow::~MainWindow() {
    background_.reset();
    qApp->removeEventFilter(this);
    controller_->SetViews(nullptr);
    current_ = nullptr;
    if (QApplication::overrideCursor() && busy_) QApplication::restoreOverrideCursor();
}

QtUserInterface& MainWindow::Ui() { return *ui_; }

QAction* MainWindow::ActionFor(int command) const {
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

void MainWindow::RunCommand(int command) {
    if (command == int(Command::RenderButton) && rendering_) {
        OnRenderButton();  // "&Stop" stays usable while rendering
        return;
    }
    if (!CommandEnabled(command, CurrentMenuConditions())) return;
    if (command >= kFirstRecentFileCommand && command <= kLastRecentFileCommand) {
        OnRecentFile(command - kFirstRecentFileCommand);
    } else if (command >= kFirstSampleSceneCommand && command < kFirstSampleSceneCommand + kMaxSampleScenes) {
        OnSampleScene(command - kFirstSampleSceneCommand);
    } else if (const auto found = Handlers().find(command); found != Handlers().end()) {
        (this->*found->second)();
    }
    UpdateMenu();
    UpdateChecks();
}

MenuConditions MainWindow::CurrentMenuConditions() const {
    MenuConditions c;
    c.rendering = rendering_;
    c.busy = busy_;
    c.entryCount = controller_->entryCount;
    c.previewCount = controller_->previewCount;
    c.faultyCount = controller_->faultyCount;
    c.noDirectoryCount = controller_->noDirectoryCount;
    c.pluginInstalled = Configuration().IsInstalled();
    c.onlySelectedMode = controller_->onlyMarkedShown;
    c.onlySelectedToggleable = views_->OnlySelectedShown() || views_->CanShowOnlySelected();
    c.listType = settings_->listType;
    c.backgroundRendering = RenderingInBackground();
    return c;
}

void MainWindow::UpdateMenu() {
    const MenuConditions conditions = CurrentMenuConditions();
    for (const auto& [command, action] : actions_) action->setEnabled(CommandEnabled(command, conditions));
    for (QAction* action : recentActions_) action->setEnabled(CommandEnabled(action->data().toInt(), conditions));
    for (QAction* action : sceneActions_) action->setEnabled(CommandEnabled(action->data().toInt(), conditions));
}

void MainWindow::UpdateChecks() {
    CheckConditions c;
    c.save = settings_->save;
    c.loadLastFile = settings_->loadLastFile;
    c.flatToolbar = settings_->flatToolbar;
    c.content = settings_->content;
    c.smallPreview = settings_->smallPreview;
    c.antialias = settings_->antialias;
    c.listType = settings_->listType;
    c.previewType = settings_->previewType;
    for (const auto& [command, action] : actions_)
        if (const std::optional<bool> checked = CommandChecked(command, c)) action->setChecked(*checked);
    for (QAction* action : sceneActions_) action->setChecked(CommandChecked(action->data().toInt(), c).value_or(false));
}

void MainWindow::UpdateTitle() {
    if (rendering_ && isMinimized() && !caption_.empty()) {
        setWindowTitle(QString::fromStdString(caption_));
        return;
    }
    setWindowTitle(QString::fromStdString(MainWindowTitle(document_ ? document_->Path() : std::string())));
}

void MainWindow::SetRendering(bool rendering) {
    rendering_ = rendering;
    if (!rendering) caption_.clear();
    UpdateMenu();
    UpdateTitle();
}

void MainWindow::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    // Pictures must not change under a save, a load or a search.
    if (background_) background_->Hold(busy);
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ui_->SetCancelled(false);
    } else {
        QApplication::restoreOverrideCursor();
    }
    views_->setEnabled(!busy);
    ShowEntryInPaneButtons();
    UpdateMenu();
}

void MainWindow::SetCurrentEntry(TextureEntry* entry) {
    if (entry == current_ && reloadTimer_.isActive()) return;
    current_ = entry;
    area_->Bar()->SetParts(EntryBarParts(entry));
    if (area_->PaneShown()) ShowEntryInPane(entry);
    statusTimer_.start();
    reloadTimer_.start();
    UpdateMenu();
}

void MainWindow::ShowEntryInPane(TextureEntry* entry) {
    DeclarationBox* box = area_->TextBox();
    const bool named = entry && !entry->name.empty();
    bool available = false;
    if (named && !rendering_) {
        const bool wasBusy = busy_;
        SetBusy(true);
        available = LoadDeclaration(controller_->Library(), *entry, true);
        SetBusy(wasBusy);
    }
    if (!entry) {
        box->ShowText({}, false);
    } else {
        box->ShowText(DeclarationBoxText(*entry), available);
    }
    box->SetColorVector(available && entry->color ? std::optional(RgbVectorText(*entry->color)) : std::nullopt);
    if (!rendering_) area_->Picture()->ShowPreview(available && entry ? &entry->preview : nullptr);
    ShowEntryInPaneButtons();
}

void MainWindow::ShowEntryInPaneButtons() {
    const bool hasText = current_ && area_->TextBox()->HasDeclaration();
    // One renderer at a time: the background one stores into the entries the pane would render.
    const bool free = !busy_ && !RenderingInBackground();
    const bool pending = session_ && session_->Run().PendingPicture();
    area_->ArrowButton()->setEnabled(hasText && pending && !area_->TextBox()->Edited() && free && !rendering_);
    const bool showable = current_ && (hasText || current_->name.empty());
    area_->ShowButton()->setEnabled(rendering_ || (showable && free));
}

void MainWindow::EntryInserted(TextureEntry* entry) { views_->EntryInserted(entry); }
void MainWindow::EntryUpdated(TextureEntry* entry) {
    views_->EntryUpdated(entry);
    if (entry == current_ && !rendering_) ShowEntryInPane(entry);
}
void MainWindow::EntryRemoving(TextureEntry* entry, bool lastOfFile) {
    if (background_) background_->ForgetEntry(entry);
    if (entry == current_) SetCurrentEntry(nullptr);
    views_->EntryRemoving(entry, lastOfFile);
}
void MainWindow::Clearing() {
    if (background_) background_->Cancel();
    SetCurrentEntry(nullptr);
    views_->Clearing();
}
void MainWindow::Refresh() { views_->Refresh(); }
std::vector<TextureEntry*> MainWindow::SelectedEntries() { return views_->SelectedEntries(); }
void MainWindow::SelectEntries(const std::vector<TextureEntry*>& entries) { views_->SelectEntries(entries); }
std::vector<TextureEntry*> MainWindow::EntriesInListOrder() { return views_->EntriesInListOrder(); }

void MainWindow::UpdateStatusText() {
    if (!status_->ProgressShown()) status_->SetText(views_->StatusText());
}

bool MainWindow::FocusInViews() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == views_ || views_->isAncestorOf(focus));
}

namespace {

ShortcutKey KeyOf(int key) {
    switch (key) {
    case Qt::Key_O: return ShortcutKey::O;
    case Qt::Key_S: return ShortcutKey::S;
    case Qt::Key_T: return ShortcutKey::T;
    case Qt::Key_1: return ShortcutKey::Digit1;
    case Qt::Key_2: return ShortcutKey::Digit2;
    case Qt::Key_3: return ShortcutKey::Digit3;
    case Qt::Key_F: return ShortcutKey::F;
    case Qt::Key_F3: return ShortcutKey::F3;
    case Qt::Key_I: return ShortcutKey::I;
    case Qt::Key_C: return ShortcutKey::C;
    case Qt::Key_Insert: return ShortcutKey::Insert;
    case Qt::Key_G: return ShortcutKey::G;
    case Qt::Key_V: return ShortcutKey::V;
    case Qt::Key_E: return ShortcutKey::E;
    case Qt::Key_Delete: return ShortcutKey::Delete;
    case Qt::Key_Escape: return ShortcutKey::Escape;
    case Qt::Key_F1: return ShortcutKey::F1;
    default: return ShortcutKey::Other;
    }
}

}  // namespace

bool MainWindow::HandleKey(QKeyEvent* event) {
    const ShortcutKey key = KeyOf(event->key());
    if (key == ShortcutKey::Other) return false;
    if (key == ShortcutKey::Escape && !rendering_ && !busy_ && RenderingInBackground()) {
        background_->Cancel();
        return true;
    }
    KeyConditions c;
    c.rendering = rendering_;
    c.busy = busy_;
    c.hasEntries = controller_->entryCount > 0;
    c.namedCurrentEntry = current_ && !current_->name.empty();
    c.focusInViews = FocusInViews();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const std::optional<KeyAction> action = KeyActionFor(key, ctrl, c);
    if (!action) return rendering_ || busy_;  // nothing else acts while rendering or busy
    switch (action->kind) {
    case KeyActionKind::StopRender: OnRenderButton(); break;
    case KeyActionKind::Cancel: ui_->SetCancelled(true); break;
    case KeyActionKind::Command: RunCommand(action->command); break;
    }
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys of the table are the window's, not the focused control's.
        if (KeyOf(key->key()) != ShortcutKey::Other) event->accept();
        return false;
    }
    return HandleKey(key);
}

bool MainWindow::MayClose() {
    if (rendering_ || busy_) return false;
    return document_->ConfirmDiscard();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!MayClose()) {
        event->ignore();
        return;
    }
    ui_->SetCancelled(true);
    views_->SaveListSettings();
    SaveSettings();
    if (Launcher().StartedPov()) Launcher().AskClosePov("Swatchcraft");
    event->accept();
}

void MainWindow::SaveSettings() {
    Settings& s = *settings_;
    s.lastFile = document_->Path();
    s.SetInstallation(installation_);
    s.x = restored_.x();
    s.y = restored_.y();
    s.cy = static_cast<unsigned>(restored_.height());
    s.normalListWidth = widths_.For(false).list;
    s.normalContentWidth = widths_.For(false).pane;
    s.maximizedContentWidth = widths_.For(true).pane;
    s.maximized = isMaximized() ? 1 : 0;
    if (!s.Save())
        ui_->ShowMessage("Die Einstellungen konnten nicht in die Datei\n\"" + s.FilePath() +
                             "\"\ngeschrieben werden.",
                         MessageIcon::Exclamation);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    area_->SetMaximized(isMaximized());
    UpdateTitle();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (!isMinimized() && !isMaximized() && isVisible()) restored_.moveTopLeft(geometry().topLeft());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!isMinimized() && !isMaximized()) restored_ = geometry();
    const Size minimum = MinimumTrackSize(0, area_->PaneShown());
    setMinimumSize(minimum.width, minimum.height);
}

void MainWindow::PlaceWindow() {
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect(0, 0, 1024, 768);
    const WindowPlacement p = PlaceMainWindow(*settings_, screen.width(), screen.height(), 0);
    widths_.For(false) = {p.listWidth, p.contentWidth};
    const Size minimum = MinimumTrackSize(0, settings_->content == 1);
    setMinimumSize(minimum.width, minimum.height);
    // The pane widths are for the client area; toolbar, menu and status bar add their height to it.
    resize(p.width, p.height);
    move(screen.x() + p.x, screen.y() + p.y);
    restored_ = QRect(screen.x() + p.x, screen.y() + p.y, p.width, p.height);
}

void MainWindow::ApplyPaneWidthsToWindow(bool paneShown) {
    area_->SetPaneShown(paneShown);
    if (isMaximized() || isFullScreen()) return;
    const int delta = widths_.For(false).pane + 8;
    const Size minimum = MinimumTrackSize(0, paneShown);
    setMinimumSize(minimum.width, minimum.height);
    resize(width() + (paneShown ? delta : -delta), height());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !busy_ && !rendering_) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> lists, includes;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        const std::string path = url.toLocalFile().toStdString();
        (ToLowerAscii(ExtensionOf(path)) == ".swl" ? lists : includes).push_back(path);
    }
    event->acceptProposedAction();
    OpenDroppedFiles(lists, includes);
}

}  // namespace sc
