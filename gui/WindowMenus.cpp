#include "gui/WindowMenus.h"

#include <QAction>
#include <QActionGroup>
#include <QFontMetrics>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "gui/CommandActions.h"
#include "gui/Translation.h"
#include "platform/FileSystem.h"
#include "ui/Settings.h"

namespace sc {

WindowMenus::WindowMenus(QMainWindow& window, CommandActions& actions, Settings& settings)
    : QObject(&window), window_(window), actions_(actions), settings_(settings) {
    BuildToolbar();
    BuildMenus();
}

void WindowMenus::BuildMenus() {
    for (const Menu& table : MainMenuTable()) {
        QMenu* menu = window_.menuBar()->addMenu(QTr(table.title.c_str()));
        connect(menu, &QMenu::aboutToShow, this, &WindowMenus::aboutToShow);
        actions_.Fill(*menu, table.items, [this](QMenu& place, MenuItem::Kind kind) {
            (kind == MenuItem::Kind::RecentFiles ? fileMenu_ : previewMenu_) = &place;
        });
    }
}

void WindowMenus::BuildToolbar() {
    toolbar_ = window_.addToolBar(QTr("Toolbar"));
    toolbar_->setObjectName(QStringLiteral("toolbar"));
    toolbar_->setAccessibleName(QTr("Toolbar"));
    // Qt's own button for the buttons a narrow window cannot show has no name.
    if (auto* more = toolbar_->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QTr("More buttons"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ToolbarButton& button : ToolbarTable()) {
        if (button.command == 0) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* action = actions_.Action(button.command);
        const QString tip = QTr(button.tooltip).left(80);
        action->setToolTip(tip);
        toolbar_->addAction(action);
        if (QWidget* widget = toolbar_->widgetForAction(action)) widget->setAccessibleName(tip);
    }
}

void WindowMenus::ApplyFlatToolbar() {
    for (QAction* action : toolbar_->actions())
        if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(action)))
            button->setAutoRaise(settings_.FlatToolbar());
    toolbar_->update();
}

std::unique_ptr<QMenu> WindowMenus::ContextMenu(ContextMenuKind kind) {
    auto menu = std::make_unique<QMenu>(&window_);
    actions_.Fill(*menu, ContextMenuTable(kind), [this](QMenu& place, MenuItem::Kind) {
        for (int i = 0; i < scenes_.Count(); ++i) place.addAction(actions_.Action(kFirstSampleSceneCommand + i));
    });
    emit aboutToShow();
    return menu;
}

void WindowMenus::RebuildRecentFiles(const std::string& openFile) {
    for (int i = 0; i < recentCount_; ++i) actions_.RemoveRunTimeItem(kFirstRecentFileCommand + i);
    recentCount_ = 0;
    delete recentSeparator_;
    recentSeparator_ = nullptr;
    const QFontMetrics metrics(fileMenu_->font());
    const auto width = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    };
    const std::vector<std::string> texts = settings_.RecentFiles().MenuTexts(openFile, width);
    if (texts.empty()) return;
    recentSeparator_ = fileMenu_->addSeparator();
    for (const std::string& text : texts) {
        const int index = recentCount_++;
        QAction* action = actions_.AddRunTimeItem(kFirstRecentFileCommand + index, QString::fromStdString(text), false);
        action->setToolTip(QString::fromStdString(settings_.RecentFiles().File(index)));
        fileMenu_->addAction(action);
    }
    actions_.Update();
}

void WindowMenus::RebuildSampleScenes() {
    for (int i = 0; i < scenes_.Count(); ++i) actions_.RemoveRunTimeItem(kFirstSampleSceneCommand + i);
    delete sceneGroup_;
    sceneGroup_ = new QActionGroup(this);
    const std::string folder = PreviewTemplateFolder();
    CreateDirectories(folder);
    scenes_ = BuildSampleSceneList(folder, static_cast<int>(settings_.SampleScene()));
    settings_.SetSampleScene(static_cast<PreviewScene>(scenes_.selectedIndex));
    for (int i = 0; i < scenes_.Count(); ++i) {
        QAction* action = actions_.AddRunTimeItem(kFirstSampleSceneCommand + i,
                                                  QString::fromStdString(scenes_.titles[static_cast<size_t>(i)]), true);
        sceneGroup_->addAction(action);
        previewMenu_->addAction(action);
    }
    actions_.Update();
}

}  // namespace sc
