#pragma once
// The program's one main window. It owns the core objects for the session
// (settings, library, POV-Ray installation) and the window's parts, builds
// them and wires them together: the command actions and menus
// (CommandActions, WindowMenus), the command groups (FileCommands,
// EditCommands, ViewCommands, SettingsCommands, HelpCommands), the list area
// (LibraryViewStack, fed through LibraryNotifications) and the preview pane
// with its renders (PreviewPaneController). Itself it keeps the busy state,
// the title, the window's geometry, dropped files and closing.
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>

#include <string>
#include <vector>

#include "gui/FocusKeeper.h"
#include "gui/QtUserInterface.h"
#include "povray/PovInstallation.h"
#include "ui/MainCommands.h"
#include "ui/MainMenuTable.h"
#include "ui/WindowLayout.h"

class QAction;
class QMenu;
class QToolBar;

namespace sc {

class BackgroundLongWork;
class CommandActions;
class EditCommands;
class FileChangeResponder;
class FileCommands;
class FileDialogs;
class HelpCommands;
class LibraryCommands;
class LibraryController;
class LibraryDocument;
class LibraryNotifications;
class LibraryViewStack;
class MainArea;
class PovConfiguration;
class PovInstallationSource;
class PovLauncher;
class PreviewPaneController;
class PreviewRenderSession;
class Settings;
class SettingsCommands;
class StatusBarWithProgress;
class TextureEntry;
class ViewCommands;
class WindowMenus;
class WindowSelection;
class WindowStartup;

class MainWindow : public QMainWindow {
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
    bool Started() const { return started_; }

    // Runs a command of the menu, the toolbar or a key, when it is enabled now.
    void RunCommand(int command);
    // The one action of a command: the menus, the toolbar, the context menus and its keys use it.
    QAction* ActionFor(int command) const;
    QToolBar* ToolBar() const;
    MenuConditions CurrentMenuConditions() const;
    CheckConditions CurrentCheckConditions() const;
    // The context menu of the list area as it would open now.
    std::unique_ptr<QMenu> EntriesContextMenu();
    // Sets every command's enabled state, check mark and entry-dependent text.
    void UpdateActions();

    // A long operation runs: commands and views are off, the cursor waits;
    // the control that had the keyboard gets it back at the end.
    void SetBusy(bool busy);
    bool Busy() const { return busy_; }
    // A render run goes on (menus and keys follow it).
    void SetRendering(bool rendering);
    bool Rendering() const { return rendering_; }
    // Previews are being rendered in the background.
    bool RenderingInBackground() const;
    // The run's caption while the window is minimized ("42% Swatchcraft"); empty: the normal title.
    void SetCaption(const std::string& caption);
    void UpdateTitle();

    // The views' current entry (their shared selection model's), or null.
    TextureEntry* CurrentEntry() const;

    // Fills the views again from the library (after loading or adding) and shows the current entry.
    void RefillViews();
    // The same after a list file was read: reading it filled the views, and
    // filling 20,000 entries twice would keep the window from answering.
    void ShowLoadedLibrary();
    // A redraw: entries changed in place (pictures, paths), none came or went.
    void RefreshViews();
    void RebuildRecentFiles();
    void ApplyFlatToolbar();
    // Shows or hides the preview pane, widening or narrowing the window by it.
    void ApplyPaneWidthsToWindow(bool paneShown);
    void ChooseSampleScene(int index);
    void RefreshStatusText();
    // Shows `text` in the status bar until the selection or the current
    // entry changes again (a pending refresh of the counts is dropped).
    void ShowStatus(const std::string& text);

    LibraryController& Controller() { return *controller_; }
    Settings& AppSettings() { return *settings_; }
    LibraryDocument& Document() { return *document_; }
    MainArea& Area() { return *area_; }
    LibraryViewStack& Views() { return *views_; }
    StatusBarWithProgress& Status() { return *status_; }
    PovInstallation& Installation() { return installation_; }
    PovConfiguration& Configuration();
    PovLauncher& Launcher();
    PreviewRenderSession& Session();
    PreviewPaneController& Pane() { return *pane_; }
    FileChangeResponder& FileChanges() { return *fileChanges_; }
    QtUserInterface& Ui() { return *ui_; }
    LibraryCommands& Commands() { return *commands_; }

    // Replaces the file dialogs (tests answer them).
    void SetFileDialogs(std::unique_ptr<FileDialogs> dialogs);
    // Opens help pages and web addresses (tests replace it).
    void SetUrlOpener(std::function<bool(const QString&)> opener) { urlOpener_ = std::move(opener); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // True when a dropped list file (else include file) would be opened now.
    bool DropTakes(bool listFile);
    void BuildCore();
    void BuildViews();
    void BuildPane();
    void BuildCommands();
    void BuildActions();
    void ConnectLibrary();
    void ApplySettings();
    void PlaceWindow();
    void RememberGeometry();
    void OnSplitterReleased();
    void ShowContextMenu(ContextMenuKind kind, const QPoint& globalPos);
    // Escape: stops a render, cancels a long operation or the background render.
    void OnEscape();
    void OnSelectionChanged();
    // A command ended (or the busy work it started did): the entry view that
    // had the keyboard gets it back, unless the command gave it to another control of its own.
    void RestoreCommandFocus();
    bool MayClose();
    void SaveSettings();

    static constexpr int kUnanswered = -1;
    static constexpr int kAnsweredLater = -2;

    Options options_;
    std::unique_ptr<Settings> settings_;
    StatusBarWithProgress* status_ = nullptr;
    std::unique_ptr<QtUserInterface> ui_;
    std::unique_ptr<LibraryController> controller_;
    std::unique_ptr<PovInstallationSource> ownInstallations_;
    PovInstallation installation_;
    std::unique_ptr<FileDialogs> fileDialogs_;
    std::unique_ptr<LibraryDocument> document_;
    PaneWidths widths_{kMinListWidth, kMinPaneWidth, kMinPaneWidth};
    MainArea* area_ = nullptr;
    LibraryViewStack* views_ = nullptr;
    std::unique_ptr<LibraryNotifications> notifications_;
    // Declared after the controller, so it ends (stopping its renders) before the library does.
    std::unique_ptr<PreviewPaneController> pane_;
    // Watches the library's files; ends before the library does.
    std::unique_ptr<FileChangeResponder> fileChanges_;
    std::unique_ptr<WindowSelection> selection_;
    std::unique_ptr<LibraryCommands> commands_;
    CommandActions* actions_ = nullptr;
    WindowMenus* menus_ = nullptr;
    QAction* escape_ = nullptr;
    std::unique_ptr<FileCommands> fileCommands_;
    std::unique_ptr<EditCommands> editCommands_;
    std::unique_ptr<ViewCommands> viewCommands_;
    std::unique_ptr<SettingsCommands> settingsCommands_;
    std::unique_ptr<HelpCommands> helpCommands_;
    std::unique_ptr<WindowStartup> startup_;
    std::function<bool(const QString&)> urlOpener_;
    std::string caption_;  // the run's caption while minimized; empty: the normal title
    bool busy_ = false;
    bool rendering_ = false;
    bool started_ = false;
    QTimer statusTimer_;     // refreshes the status text once after a change of the current entry
    QTimer changedTimer_;    // marks the title after the library's changes, once the change is counted
    SavedGeometry geometry_;    // what is stored of the window; follows every move and resize of the restored window
    double paneShare_ = 0.4;    // the pane's share of a resized window, until the splitter is dragged
    bool togglingPane_ = false; // the pane toggle sets the widths itself
    FocusKeeper busyFocus_;   // the control that had the keyboard before the window became busy
    FocusKeeper renderFocus_; // ... before a render took it to "&Stop"
    FocusKeeper commandFocus_; // the entry view that had the keyboard when a command began
    QPointer<QWidget> focusBeforeMenu_; // the control the menu bar took the keyboard from
    bool ownWindowShown_ = false; // a dialog or message of ours had the keyboard during the command
    bool discardConfirmed_ = false;  // the save question was answered (or the save made) for closing
    // Last, so it ends first: a read or write still running is stopped and
    // its end dropped before the document and the library go.
    std::unique_ptr<BackgroundLongWork> documentWork_;
};

}  // namespace sc
