#pragma once
// One QAction per row of the command table, made once. Menus, toolbar,
// context menus and keys all use these objects, so a command has one text,
// one enabled state and one check mark wherever it appears. Triggering an
// action runs the command's handler when the enable rules allow it now.
#include <QObject>

#include <functional>
#include <map>
#include <vector>

#include "ui/MainCommands.h"
#include "ui/MainMenuTable.h"

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace sc {

class CommandActions : public QObject {
    Q_OBJECT
public:
    // The actions belong to `window`, whose keys they answer; `entries` is
    // the widget whose focus the entries-only keys (Entf) need.
    CommandActions(QWidget& window, QWidget& entries, std::function<MenuConditions()> conditions,
                   std::function<CheckConditions()> checks);

    // The handler of a command (one per command).
    void Bind(Command command, std::function<void()> handler);
    // The handler of a run-time range of commands (recent files, sample scenes), given the index in the range.
    void BindRange(int first, int last, std::function<void(int index)> handler);

    // Runs a command when it is enabled now, then brings every action up to date.
    void Run(int command);
    // The action of a command of the table or of a run-time item; null for unknown ids.
    QAction* Action(int command) const;

    // Adds a run-time item (a recent file, a sample scene) that follows the same rules.
    QAction* AddRunTimeItem(int command, const QString& text, bool checkable);
    void RemoveRunTimeItem(int command);

    // Fills a menu from a menu table's items; the run-time places are left to `placeholder`.
    void Fill(QMenu& menu, const std::vector<MenuItem>& items,
              const std::function<void(QMenu&, MenuItem::Kind)>& placeholder = {});

    // Sets every action's enabled state and check mark from the window's state now.
    void Update();
    // What runs after every command instead of Update (the window's own update, which calls Update).
    void SetAfterCommand(std::function<void()> update) { afterCommand_ = std::move(update); }
    // What runs before every enabled command's handler.
    void SetBeforeCommand(std::function<void()> hook) { beforeCommand_ = std::move(hook); }

private:
    QAction* Make(const CommandRow& row, QWidget& window, QWidget& entries);

    std::function<MenuConditions()> conditions_;
    std::function<CheckConditions()> checks_;
    std::function<void()> afterCommand_;
    std::function<void()> beforeCommand_;
    std::map<int, QAction*> actions_;
    std::map<int, std::function<void()>> handlers_;
    struct Range {
        int first, last;
        std::function<void(int)> handler;
    };
    std::vector<Range> ranges_;
    QActionGroup* views_ = nullptr;
};

}  // namespace sc
