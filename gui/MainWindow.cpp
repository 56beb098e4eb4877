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
#include "gui/CommandActions.h"
#include "ui/EntryTexts.h"
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
    connect(area_->ShowButton(), &QPushButton::clicked, this, &MainWindow::OnRenderButton);
    connect(area_->ArrowButton(), &QToolButton::clicked, this, &MainWindow::OnTakeOver);
    connect(area_->Picture(), &PreviewWindow::ContextMenuRequested, this,
            [this](const QPoint& at) { ShowContextMenu(ContextMenuKind::Picture, at); });
    connect(area_->TextBox(), &DeclarationBox::EditedChanged, this, [this](bool) { ShowEntryInPaneButtons(); });
    statusTimer_.setSingleShot(true);
    statusTimer_.setInterval(50);
    reloadTimer_.setSingleShot(true);
    reloadTimer_.setInterval(1000);

    settings_->Load(true);
    views_ = new LibraryViewStack(*controller_, *settings_);
    area_->SetListWidget(views_);
    controller_->SetViews(this);
    connect(views_, &LibraryViewStack::currentEntryChanged, this, &MainWindow::CurrentEntryChanged);
    connect(views_, &LibraryViewStack::renderRequested, this, [this] { OnEntryActivated(views_->CurrentEntry()); });
    connect(views_, &LibraryViewStack::selectionChanged, this, [this] {
        if (commands_) commands_->SelectionChanged();
        UpdateActions();
        UpdateStatusText();
    });
    connect(views_, &LibraryViewStack::viewTypeChanged, this, &MainWindow::UpdateActions);
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
    connect(&statusTimer_, &QTimer::timeout, this, &MainWindow::UpdateStatusText);
    SetUpRendering();
    BuildActions();
    BuildToolbar();
    BuildMenus();
    installation_ = settings_->Installation();
    widths_ = PaneWidths(settings_->normalListWidth, settings_->normalContentWidth,
                         settings_->maximizedContentWidth);
    document_ = std::make_unique<LibraryDocument>(*controller_, *settings_, *fileDialogs_);
    document_->SetBusyHook([this](bool on) { SetBusy(on); });
    BuildCommands();
    BindHandlers();
    area_->TextBox()->SetColors(settings_->textureFontNormal, settings_->textureFontChanged);
    area_->SetPaneShown(settings_->content == 1);
    area_->SetSmallPicture(settings_->smallPreview == 1);
    views_->SetViewType(settings_->listType);
    ApplyFlatToolbar();
    RebuildRecentFiles();
    RebuildSampleScenes();
    PlaceWindow();
    SetBusy(true);  // until the start-up steps are through
    views_->Refresh();
    toolbar_->addSeparator();
    toolbar_->addWidget(views_->CreateFilterField(toolbar_));
    UpdateActions();
    UpdateTitle();
}

MainWindow::~MainWindow() {
    background_.reset();
    controller_->SetViews(nullptr);
    shown_ = nullptr;
    if (QApplication::overrideCursor() && busy_) QApplication::restoreOverrideCursor();
}

QtUserInterface& MainWindow::Ui() { return *ui_; }

QAction* MainWindow::ActionFor(int command) const { return actions_->Action(command); }

void MainWindow::RunCommand(int command) { actions_->Run(command); }

TextureEntry* MainWindow::CurrentEntry() const { return views_->CurrentEntry(); }
TextureEntry* MainWindow::CurrentEntry() { return views_->CurrentEntry(); }

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
    c.listType = views_->ViewType();
    c.backgroundRendering = RenderingInBackground();
    const TextureEntry* current = CurrentEntry();
    c.currentEntry = current != nullptr;
    c.namedCurrentEntry = current && !current->name.empty();
    return c;
}

CheckConditions MainWindow::CurrentCheckConditions() const {
    CheckConditions c;
    c.save = settings_->save == 1;
    c.loadLastFile = settings_->loadLastFile == 1;
    c.flatToolbar = settings_->flatToolbar == 1;
    c.paneShown = settings_->content == 1;
    c.smallPreview = settings_->smallPreview == 1;
    c.antialias = settings_->antialias == 1;
    c.listType = views_->ViewType();
    c.previewType = settings_->previewType;
    c.sortKey = views_->UserSortOrder().key;
    return c;
}

void MainWindow::UpdateActions() {
    actions_->Update();
    const TextureEntry* current = CurrentEntry();
    ActionFor(int(Command::CopyTexture))->setText(QString::fromStdString(CopyItemText(current)));
    const bool editorTakesLine = installation_.Compare(3.1f, 'e') >= 0;
    ActionFor(int(Command::EditWithPov))->setText(QString::fromStdString(EditItemText(current, editorTakesLine)));
    escape_->setEnabled(rendering_ || busy_ || RenderingInBackground());
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
    if (!rendering) renderFocus_.Restore();
    UpdateActions();
    UpdateTitle();
}

void MainWindow::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    // Pictures must not change under a save, a load or a search.
    if (background_) background_->Hold(busy);
    if (busy) {
        busyFocus_.Remember(*this);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ui_->SetCancelled(false);
    } else {
        QApplication::restoreOverrideCursor();
    }
    views_->setEnabled(!busy);
    if (!busy) busyFocus_.Restore();
    ShowEntryInPaneButtons();
    UpdateActions();
}

void MainWindow::CurrentEntryChanged() {
    TextureEntry* entry = CurrentEntry();
    if (entry == shown_ && reloadTimer_.isActive()) return;
    shown_ = entry;
    area_->Bar()->SetParts(EntryBarParts(entry));
    if (area_->PaneShown()) ShowEntryInPane(entry);
    statusTimer_.start();
    reloadTimer_.start();
    UpdateActions();
}

void MainWindow::ShowEntryInPane(TextureEntry* entry) {
    DeclarationBox* box = area_->TextBox();
    const bool named = entry && !entry->name.empty();
    bool available = false;
    // Reading one declaration is quick: the window stays usable and keeps its focus.
    if (named && !rendering_) available = LoadDeclaration(controller_->Library(), *entry, true);
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
    const TextureEntry* current = shown_;
    const bool hasText = current && area_->TextBox()->HasDeclaration();
    // One renderer at a time: the background one stores into the entries the pane would render.
    const bool free = !busy_ && !RenderingInBackground();
    const bool pending = session_ && session_->Run().PendingPicture();
    area_->ArrowButton()->setEnabled(hasText && pending && !area_->TextBox()->Edited() && free && !rendering_);
    const bool showable = current && (hasText || current->name.empty());
    area_->ShowButton()->setEnabled(rendering_ || (showable && free));
}

void MainWindow::EntryInserted(TextureEntry* entry) { views_->EntryInserted(entry); }
void MainWindow::EntryUpdated(TextureEntry* entry) {
    views_->EntryUpdated(entry);
    if (entry == shown_ && !rendering_) ShowEntryInPane(entry);
}
void MainWindow::EntryRemoving(TextureEntry* entry, bool lastOfFile) {
    if (background_) background_->ForgetEntry(entry);
    if (entry == shown_) shown_ = nullptr;
    // The views move their current item to a neighbour, and the pane follows.
    views_->EntryRemoving(entry, lastOfFile);
    if (!shown_) CurrentEntryChanged();
}
void MainWindow::Clearing() {
    if (background_) background_->Cancel();
    shown_ = nullptr;
    views_->Clearing();
    CurrentEntryChanged();
}
void MainWindow::Refresh() { views_->Refresh(); }
std::vector<TextureEntry*> MainWindow::SelectedEntries() { return views_->SelectedEntries(); }
void MainWindow::SelectEntries(const std::vector<TextureEntry*>& entries) { views_->SelectEntries(entries); }
std::vector<TextureEntry*> MainWindow::EntriesInListOrder() { return views_->EntriesInListOrder(); }

void MainWindow::UpdateStatusText() {
    if (!status_->ProgressShown()) status_->SetText(views_->StatusText());
}

void MainWindow::OnEscape() {
    if (rendering_)
        OnRenderButton();
    else if (busy_)
        ui_->SetCancelled(true);
    else if (RenderingInBackground())
        background_->Cancel();
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
    s.listType = views_->ViewType();
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
