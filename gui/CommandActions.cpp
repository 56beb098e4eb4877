#include "gui/CommandActions.h"

#include "gui/CommandIcons.h"
#include "gui/Translation.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QWidget>

namespace sc {
CommandActions::CommandActions(QWidget& window, QWidget& entries, std::function<MenuConditions()> conditions,
                               std::function<CheckConditions()> checks)
    : QObject(&window), conditions_(std::move(conditions)), checks_(std::move(checks)) {
    views_ = new QActionGroup(this);
    for (const CommandRow& row : CommandTable()) actions_[static_cast<int>(row.id)] = Make(row, window, entries);
}

QAction* CommandActions::Make(const CommandRow& row, QWidget& window, QWidget& entries) {
    const int id = static_cast<int>(row.id);
    QString text = QTr(row.text);
    if (row.shownKey) {
        const auto key = QKeySequence::fromString(QString::fromLatin1(row.shownKey), QKeySequence::PortableText);
        text += QLatin1Char('\t') + key.toString(QKeySequence::NativeText);
    }
    auto* action = new QAction(text, this);
    action->setData(id);
    action->setCheckable(row.checked != nullptr);
    const QIcon icon = CommandIcon(row.id);
    if (!icon.isNull()) {
        action->setIcon(icon);
        action->setIconVisibleInMenu(false);
    }
    QList<QKeySequence> keys;
    for (const char* key : row.keys) keys << QKeySequence::fromString(QString::fromLatin1(key), QKeySequence::PortableText);
    action->setShortcuts(keys);
    // A key of the entries acts only while they have the keyboard; the others
    // act anywhere in the window, except where a text field claims the key.
    const bool entriesOnly = row.scope == KeyScope::Entries;
    action->setShortcutContext(entriesOnly ? Qt::WidgetWithChildrenShortcut : Qt::WindowShortcut);
    (entriesOnly ? entries : window).addAction(action);
    if (ListTypeOf(id) >= 0) views_->addAction(action);
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    return action;
}

void CommandActions::Bind(Command command, std::function<void()> handler) {
    handlers_[static_cast<int>(command)] = std::move(handler);
}

void CommandActions::BindRange(int first, int last, std::function<void(int)> handler) {
    ranges_.push_back({first, last, std::move(handler)});
}

void CommandActions::Run(int command) {
    if (!CommandEnabled(command, conditions_())) {
        Update();  // a triggered checkable action flipped its mark: put it back
        return;
    }
    if (beforeCommand_) beforeCommand_();
    if (const auto found = handlers_.find(command); found != handlers_.end()) {
        found->second();
    } else {
        for (const Range& range : ranges_)
            if (command >= range.first && command <= range.last) range.handler(command - range.first);
    }
    if (afterCommand_)
        afterCommand_();
    else
        Update();
}

QAction* CommandActions::Action(int command) const {
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

QAction* CommandActions::AddRunTimeItem(int command, const QString& text, bool checkable) {
    RemoveRunTimeItem(command);
    auto* action = new QAction(text, this);
    action->setData(command);
    action->setCheckable(checkable);
    connect(action, &QAction::triggered, this, [this, command] { Run(command); });
    actions_[command] = action;
    return action;
}

void CommandActions::RemoveRunTimeItem(int command) {
    if (FindCommand(command)) return;
    const auto found = actions_.find(command);
    if (found == actions_.end()) return;
    delete found->second;
    actions_.erase(found);
}

void CommandActions::Fill(QMenu& menu, const std::vector<MenuItem>& items,
                          const std::function<void(QMenu&, MenuItem::Kind)>& placeholder) {
    for (const MenuItem& item : items) {
        switch (item.kind) {
        case MenuItem::Kind::Command: menu.addAction(Action(item.command)); break;
        case MenuItem::Kind::Separator: menu.addSeparator(); break;
        case MenuItem::Kind::Submenu: Fill(*menu.addMenu(QTr(item.title.c_str())), item.items, placeholder); break;
        case MenuItem::Kind::RecentFiles:
        case MenuItem::Kind::SampleScenes:
            if (placeholder) placeholder(menu, item.kind);
            break;
        }
    }
}

void CommandActions::Update() {
    const MenuConditions conditions = conditions_();
    const CheckConditions checks = checks_();
    for (const auto& [command, action] : actions_) {
        action->setEnabled(CommandEnabled(command, conditions));
        if (const std::optional<bool> checked = CommandChecked(command, checks)) action->setChecked(*checked);
    }
}

}  // namespace sc
