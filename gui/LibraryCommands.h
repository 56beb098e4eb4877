#pragma once
// The window's commands that pick, search, change and remove entries, and
// the dialogs of the settings menu and the overview: each menu action's
// handler calls one of these. The window hands over what they work on.
#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/BackgroundWork.h"
#include "ui/EntryCommands.h"
#include "ui/SelectionCommands.h"
#include "ui/TextSearch.h"

class QWidget;

namespace sc {

class BackgroundSearch;
class LibraryController;
class PovConfiguration;
class PovLauncher;
class SelectionWindow;
class Settings;
class SourceFile;
class TextureEntry;
class UserInterface;

struct LibraryCommandsContext {
    LibraryController* controller = nullptr;
    SelectionWindow* window = nullptr;
    UserInterface* ui = nullptr;
    Settings* settings = nullptr;
    PovConfiguration* configuration = nullptr;  // may be null: no POV-Ray
    PovLauncher* launcher = nullptr;            // may be null: no POV-Ray
    QWidget* parent = nullptr;
    std::function<std::string()> listFilePath;              // the open list file, empty when untitled
    std::function<std::vector<SourceFile*>()> fileOrder;    // the file tree's top level
    std::function<void()> renderSelected;                   // "Neu &Berechnen"
    std::function<void()> refreshViews;                     // after a change of entries
    std::function<void()> libraryEmptied;                   // untitled, pane cleared
    std::function<bool(const QString&)> hint;               // hint with "Nicht &erneut anzeigen"
    std::function<void()> restoreMessageHandler;            // after the page preview
    std::function<void()> help;
};

class LibraryCommands : public QObject {
    Q_OBJECT
public:
    // The library commands over the window's controller and document.
    explicit LibraryCommands(LibraryCommandsContext context, QObject* parent = nullptr);
    ~LibraryCommands() override;

    SelectionCommands& Selection() { return selection_; }
    TextSearch& Search() { return search_; }
    // The texture search running on its worker, or null.
    BackgroundSearch* RunningSearch() const { return backgroundSearch_.get(); }

public slots:
    // "&Select".
    void SelectAll();
    void SelectChanged();
    void SelectEmptyPreviews();
    void SelectFaultyPreviews();
    void SelectIncompatible30();
    void SelectIncompatible31();
    void SelectDuplicates();
    void InvertSelection();
    void SelectSkipped();

    // "&Edit".
    void FindText();
    void FindAgain();
    void ChangeCategory();
    void DeleteSelected();
    void DeleteAll();
    void DeletePreviews();
    void EditInPovRay();
    void CreateOverview();

    // "&File" and its settings.
    void SearchTextures();
    void SearchFiles(const std::vector<std::string>& files);
    bool EditLibraryPaths();
    void UninstallExtension();
    void SetEditor();

    // Opens a file in POV-Ray's editor or the user's, as "Tools"/"EditWithPov" says.
    void OpenInEditor(const std::string& path);

    // The window's selection timer went off / the texture list's selection changed.
    void SelectionTimerElapsed() { selection_.SelectionTimerElapsed(); }
    void SelectionChanged() { selection_.SelectionChanged(); }

private:
    std::string PovHome() const;
    double PovVersion() const;
    void AfterChange();
    bool Hint(const char* key, const QString& text);

    LibraryCommandsContext context_;
    SelectionCommands selection_;
    TextSearch search_;
    DeleteCommands deletes_;
    int duplicatesHint_ = -1;  // read once per run
    int editHint_ = -1;
    std::unique_ptr<BackgroundSearch> backgroundSearch_;  // the running "Search Textures", if any
    // Reads declarations for "Text suchen"; after the search, so it ends first.
    std::unique_ptr<BackgroundLongWork> searchWork_;
};

}  // namespace sc
