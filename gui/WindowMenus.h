#pragma once
// The main window's menu bar, toolbar and context menus, filled from the
// menu tables with the command actions, and the items that change at run
// time: the recent files and the sample scenes.
#include <QObject>
#include <QPoint>

#include <functional>
#include <memory>
#include <string>

#include "preview/SampleScenes.h"
#include "ui/MainMenuTable.h"

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QToolBar;

namespace sc {

class CommandActions;
class Settings;

class WindowMenus : public QObject {
    Q_OBJECT
public:
    // Builds the menu bar and the toolbar of `window`.
    WindowMenus(QMainWindow& window, CommandActions& actions, Settings& settings);

    QToolBar* ToolBar() const { return toolbar_; }
    // Flat or raised toolbar buttons, as the settings say.
    void ApplyFlatToolbar();
    // The recent files at the end of "&File" (`openFile`: the list file open now).
    void RebuildRecentFiles(const std::string& openFile);
    // The sample scenes at the end of "&Preview", from the template folder.
    void RebuildSampleScenes();
    int SceneCount() const { return scenes_.Count(); }
    // A context menu of the same actions, as it would open now.
    std::unique_ptr<QMenu> ContextMenu(ContextMenuKind kind);

signals:
    // A menu is about to open: the actions must be up to date.
    void aboutToShow();

private:
    void BuildMenus();
    void BuildToolbar();

    QMainWindow& window_;
    CommandActions& actions_;
    Settings& settings_;
    QToolBar* toolbar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* previewMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    int recentCount_ = 0;
    QActionGroup* sceneGroup_ = nullptr;
    SampleSceneList scenes_;
};

}  // namespace sc
