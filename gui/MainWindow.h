#pragma once
// The program's one main window. It owns the core objects for the session
// (settings, library, POV-Ray installation and configuration) and drives
// them from Qt's event loop. Command handlers are grouped by menu in their
// own files (FileCommands.cpp, EditCommands.cpp, SelectCommands.cpp,
// ViewCommands.cpp, SettingsCommands.cpp, HelpCommands.cpp, RenderCommands.cpp).
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gui/QtUserInterface.h"
#include "library/LibraryViews.h"
#include "povray/PovInstallation.h"
#include "preview/PreviewRenderRun.h"
#include "preview/PreviewRenderSession.h"
#include "preview/SampleScenes.h"
#include "gui/FocusKeeper.h"
#include "ui/MainCommands.h"
#include "ui/MainMenuTable.h"
#include "ui/StartupSequence.h"
#include "ui/WindowLayout.h"

class QAction;
class QActionGroup;
class QMenu;
class QSocketNotifier;
class QToolBar;

namespace sc {

class BackgroundRendering;
class CommandActions;
class LibraryCommands;
class LibraryController;
class LibraryDocument;
class MainArea;
class PreviewWindow;
class LibraryViewStack;
class PovInstallationSource;
class Settings;
class StatusBarWithProgress;
class TextureEntry;
class WindowSelection;
class FileDialogs;

class MainWindow : public QMainWindow,
                   private StartupHost,
                   private LibraryViews,
                   private RenderRunWindow,
                   private PreviewRenderEvents {
    Q_OBJECT
public:
    struct Options {
        std::string settingsFile;   // default: the program's settings file
        std::string programDir;     // default: the program's data folder
        std::string executableDir;  // default: the executable's folder (help, tips, earlier plug-in)
        const PovInstallationSource* installations = nullptr;  // default: the system probe
        std::vector<std::string> arguments;  // the command line, program name first
        const std::vector<std::string>* fontDirectories = nullptr;  // default: fontconfig's
    };

    explicit MainWindow(Options options, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows the window, then the splash; start-up continues when the splash closes.
    void Launch();
    // The start-up steps after the splash (tip window to the list file).
    void StartUp();

    // Runs a command of the menu, the toolbar or a key, when it is enabled now.
    void RunCommand(int command);
    // The one action of a command: the menus, the toolbar, the context menus and its keys use it.
    QAction* ActionFor(int command) const;
    QToolBar* ToolBar() const { return toolbar_; }
    MenuConditions CurrentMenuConditions() const;
    CheckConditions CurrentCheckConditions() const;
    // The context menu of the list area as it would open now.
    std::unique_ptr<QMenu> EntriesContextMenu();

    // Sets every command's enabled state, check mark and entry-dependent text.
    void UpdateActions();
    void UpdateTitle();
    void SetBusy(bool busy) override;
    bool Busy() const { return busy_; }
    bool Rendering() const { return rendering_; }
    // Previews are being rendered in the background.
    bool RenderingInBackground() const;

    // The current entry is the views' (their shared selection model's); the
    // entry bar, the preview pane and the commands follow it.
    TextureEntry* CurrentEntry() const;
    TextureEntry* CurrentEntry() override;
    // Shows the views' current entry in the entry bar and the preview pane.
    void CurrentEntryChanged();
    // Shows an entry in the preview pane (declaration box, picture, buttons).
    void ShowEntryInPane(TextureEntry* entry);
    // Enables the take-over arrow and "&Anzeigen" for what the pane shows.
    void ShowEntryInPaneButtons();

    LibraryController& Controller() { return *controller_; }
    Settings& AppSettings() { return *settings_; }
    LibraryDocument& Document() { return *document_; }
    MainArea& Area() { return *area_; }
    LibraryViewStack& Views() { return *views_; }
    StatusBarWithProgress& Status() { return *status_; }
    PovInstallation& Installation() { return installation_; }
    PovConfiguration& Configuration() { return session_->Configuration(); }
    const PovConfiguration& Configuration() const { return session_->Configuration(); }
    PovLauncher& Launcher() { return session_->Launcher(); }
    PreviewRenderSession& Session() { return *session_; }
    PreviewWindow& Picture();
    QtUserInterface& Ui() override;
    // The selection, search, delete, overview and settings dialog commands.
    LibraryCommands& Commands() { return *commands_; }
    void RefreshStatusText() { UpdateStatusText(); }

    // Replaces the file dialogs (tests answer them).
    void SetFileDialogs(std::unique_ptr<FileDialogs> dialogs);
    // Opens help pages and web addresses (tests replace it).
    void SetUrlOpener(std::function<bool(const QString&)> opener) { urlOpener_ = std::move(opener); }
    // The rendering flag of the render run (menus and keys follow it).
    void SetRendering(bool rendering);
    // The run's caption while the window is minimized ("42% Swatchcraft"); empty: the normal title.
    void SetCaption(const std::string& caption) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Start-up (Startup.cpp)
    void ShowTipWindow() override;
    bool EditingThroughPovWorks() override;
    void ChooseInstallation() override;
    SuppressibleAnswer AskSuppressible(const std::string& text) override;
    void ApplyLibraryPaths(const std::vector<std::string>& paths) override;
    void RefreshViews() override;
    // Fills the views again from the library (after loading or adding) and shows the current entry.
    void RefillViews();
    void OpenListFile(const std::string& path) override;
    void PlaceWindow();

    // Building (MainWindowMenus.cpp)
    void BuildActions();
    void BindHandlers();
    void BuildMenus();
    void BuildToolbar();
    void RebuildRecentFiles();
    void RebuildSampleScenes();
    void ApplyFlatToolbar();
    void ShowContextMenu(ContextMenuKind kind, const QPoint& globalPos);
    // Escape: stops a render, cancels a long operation or the background render.
    void OnEscape();

    // Exit and settings
    bool MayClose();
    void SaveSettings();
    void ApplyPaneWidthsToWindow(bool paneShown);

    // File commands (FileCommands.cpp)
    void OnOpen();
    void OnAdd();
    void OnSave();
    void OnSaveAs();
    void OnRecentFile(int index);
    void OnExit();
    void OpenDroppedFiles(const std::vector<std::string>& listFiles, const std::vector<std::string>& includeFiles);

    // Settings commands (SettingsCommands.cpp)
    void OnPovDirectory();
    void OnLibraryPaths();
    void OnUninstallExtension();
    void OnEditor();
    void OnColors();
    void OnFlatToolbar();
    void OnSaveSettingsOnExit();
    void OnLoadLastFile();

    // Edit commands (EditCommands.cpp)
    void OnCopyTexture();
    void OnEditWithPov();
    void OnDeleteSelected();
    void OnDeleteSelectedPreviews();
    void OnDeleteAll();
    void OnCollapseAll();
    void OnExpandAll();
    void OnCompleteDirectories();
    void OnFindText();
    void OnFindAgain();
    void OnChangeCategory();
    void OnOverview();
    void OnSearchTextures();

    // Selection commands (SelectCommands.cpp)
    void OnSelectAll();
    void OnSelectChanged();
    void OnSelectEmpty();
    void OnSelectFaulty();
    void OnSelect30Incompatible();
    void OnSelect31Incompatible();
    void OnSelectDuplicates();
    void OnInvertSelection();
    void BuildCommands();

    // View and preview commands (ViewCommands.cpp)
    void OnTextureList();
    void OnFileList();
    void OnPictureList();
    void SetListType(int listType);
    void OnOnlySelected();
    void OnPreviewPane();
    void OnSmallPreview();
    void OnAntialias();
    void OnSampleScene(int index);

    // Help commands (HelpCommands.cpp)
    void OnHelp();
    std::string ResourcePath(const char* name) const;
    void OnTipOfTheDay();
    void OnWebsite();
    void OnAbout();

    // The library's changes reach the views through the window, so that the
    // current entry is let go before it is destroyed.
    void EntryInserted(TextureEntry* entry) override;
    void EntryUpdated(TextureEntry* entry) override;
    void EntryRemoving(TextureEntry* entry, bool lastOfFile) override;
    void Clearing() override;
    void Refresh() override;
    std::vector<TextureEntry*> SelectedEntries() override;
    void SelectEntries(const std::vector<TextureEntry*>& entries) override;
    std::vector<TextureEntry*> EntriesInListOrder() override;
    void UpdateStatusText();

    // Rendering (RenderCommands.cpp): the render session driven by Qt's
    // event loop, and the run's view of the window.
    void SetUpRendering();
    void ArmSessionTimer();
    void ApplyRenderSettings();
    void OnRenderButton();
    void OnTakeOver();
    void OnEntryActivated(TextureEntry* entry);
    // "Vorschaubilder im &Hintergrund berechnen" (BackgroundRenderCommand.cpp)
    void OnBackgroundRender();
    void ShowEntry(TextureEntry* entry) override;
    const std::vector<std::string>* DeclarationLines() override;
    bool DeclarationEdited() override;
    void ReloadDeclaration(TextureEntry* entry) override;
    void ShowPreviewPane() override;
    void EnableInterface(bool enable) override;
    void SetArrowEnabled(bool enable) override;
    void SetRenderButton(bool enabled, bool stopLabel) override;
    void SetBusyCursor(bool on) override;
    bool IsMinimized() override;
    bool ShowHint(const std::string& text) override;
    void RowStored(int row) override;

    Options options_;
    std::unique_ptr<Settings> settings_;
    StatusBarWithProgress* status_ = nullptr;
    std::unique_ptr<QtUserInterface> ui_;
    std::unique_ptr<LibraryController> controller_;
    // Declared after the controller, so it ends (stopping its renders) before the library does.
    std::unique_ptr<BackgroundRendering> background_;
    std::unique_ptr<PovInstallationSource> ownInstallations_;
    PovInstallation installation_;
    PreviewRenderSettings renderSettings_;
    std::unique_ptr<PreviewRenderSession> session_;
    QSocketNotifier* bridgeNotifier_ = nullptr;
    QTimer sessionTimer_;  // fires when the session's next timer is due
    std::vector<std::string> declarationLines_;
    std::string caption_;  // the run's caption while minimized; empty: the normal title
    bool renderCursor_ = false;
    std::unique_ptr<FileDialogs> fileDialogs_;
    std::unique_ptr<LibraryDocument> document_;
    std::unique_ptr<WindowSelection> selection_;
    std::unique_ptr<LibraryCommands> commands_;
    PaneWidths widths_{kMinListWidth, kMinPaneWidth, kMinPaneWidth};
    MainArea* area_ = nullptr;
    LibraryViewStack* views_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* previewMenu_ = nullptr;
    CommandActions* actions_ = nullptr;
    QAction* escape_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    int recentCount_ = 0;
    QActionGroup* sceneGroup_ = nullptr;
    SampleSceneList scenes_;
    std::function<bool(const QString&)> urlOpener_;
    bool busy_ = false;
    bool rendering_ = false;
    bool started_ = false;
    TextureEntry* shown_ = nullptr;  // the entry the bar and the pane show
    FocusKeeper busyFocus_;   // the control that had the keyboard before the window became busy
    FocusKeeper renderFocus_; // ... before a render took it to "&Stop"
    QTimer statusTimer_;     // refreshes the status text once after a change of the current entry
    QTimer reloadTimer_;     // a click reloads the declaration only after this ran out
    QRect restored_;         // the window's rectangle when neither minimized nor maximized
};

}  // namespace sc
