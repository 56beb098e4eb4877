// The main window's menus and toolbar, built from the menu table, and the
// table of command handlers.
#include <QAction>
#include <QActionGroup>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "gui/MainWindow.h"
#include "gui/QtFileDialogs.h"
#include "platform/FileSystem.h"
#include "ui/LibraryDocument.h"
#include "ui/MainMenuTable.h"
#include "ui/Settings.h"

namespace sc {
namespace {

bool Checkable(int command) {
    return CommandChecked(command, CheckConditions{}).has_value();
}

QStyle::StandardPixmap IconOf(Command command) {
    switch (command) {
    case Command::Open: return QStyle::SP_DialogOpenButton;
    case Command::Save: return QStyle::SP_DialogSaveButton;
    case Command::SearchTextures: return QStyle::SP_DirHomeIcon;
    case Command::FindText: return QStyle::SP_FileDialogContentsView;
    case Command::Overview: return QStyle::SP_FileDialogInfoView;
    case Command::TextureList: return QStyle::SP_FileDialogDetailedView;
    case Command::FileList: return QStyle::SP_DirIcon;
    case Command::PictureList: return QStyle::SP_FileDialogListView;
    case Command::OnlySelected: return QStyle::SP_DialogApplyButton;
    case Command::PreviewPane: return QStyle::SP_TitleBarNormalButton;
    case Command::About: return QStyle::SP_MessageBoxInformation;
    default: return QStyle::SP_CustomBase;
    }
}

}  // namespace

const std::map<int, MainWindow::Handler>& MainWindow::Handlers() {
    static const std::map<int, Handler> handlers = {
        {int(Command::Open), &MainWindow::OnOpen},
        {int(Command::Add), &MainWindow::OnAdd},
        {int(Command::Save), &MainWindow::OnSave},
        {int(Command::SaveAs), &MainWindow::OnSaveAs},
        {int(Command::SearchTextures), &MainWindow::OnSearchTextures},
        {int(Command::PovDirectory), &MainWindow::OnPovDirectory},
        {int(Command::LibraryPaths), &MainWindow::OnLibraryPaths},
        {int(Command::UninstallExtension), &MainWindow::OnUninstallExtension},
        {int(Command::Editor), &MainWindow::OnEditor},
        {int(Command::Colors), &MainWindow::OnColors},
        {int(Command::FlatToolbar), &MainWindow::OnFlatToolbar},
        {int(Command::SaveSettingsOnExit), &MainWindow::OnSaveSettingsOnExit},
        {int(Command::LoadLastFile), &MainWindow::OnLoadLastFile},
        {int(Command::Exit), &MainWindow::OnExit},
        {int(Command::CopyTexture), &MainWindow::OnCopyTexture},
        {int(Command::EditWithPov), &MainWindow::OnEditWithPov},
        {int(Command::DeleteSelected), &MainWindow::OnDeleteSelected},
        {int(Command::DeleteSelectedPreviews), &MainWindow::OnDeleteSelectedPreviews},
        {int(Command::DeleteAll), &MainWindow::OnDeleteAll},
        {int(Command::CollapseAll), &MainWindow::OnCollapseAll},
        {int(Command::ExpandAll), &MainWindow::OnExpandAll},
        {int(Command::CompleteDirectories), &MainWindow::OnCompleteDirectories},
        {int(Command::FindText), &MainWindow::OnFindText},
        {int(Command::FindAgain), &MainWindow::OnFindAgain},
        {int(Command::ChangeCategory), &MainWindow::OnChangeCategory},
        {int(Command::Overview), &MainWindow::OnOverview},
        {int(Command::SelectAll), &MainWindow::OnSelectAll},
        {int(Command::SelectChanged), &MainWindow::OnSelectChanged},
        {int(Command::SelectEmpty), &MainWindow::OnSelectEmpty},
        {int(Command::SelectFaulty), &MainWindow::OnSelectFaulty},
        {int(Command::Select30Incompatible), &MainWindow::OnSelect30Incompatible},
        {int(Command::Select31Incompatible), &MainWindow::OnSelect31Incompatible},
        {int(Command::SelectDuplicates), &MainWindow::OnSelectDuplicates},
        {int(Command::InvertSelection), &MainWindow::OnInvertSelection},
        {int(Command::TextureList), &MainWindow::OnTextureList},
        {int(Command::FileList), &MainWindow::OnFileList},
        {int(Command::PictureList), &MainWindow::OnPictureList},
        {int(Command::OnlySelected), &MainWindow::OnOnlySelected},
        {int(Command::PreviewPane), &MainWindow::OnPreviewPane},
        {int(Command::SmallPreview), &MainWindow::OnSmallPreview},
        {int(Command::Antialias), &MainWindow::OnAntialias},
        {int(Command::Help), &MainWindow::OnHelp},
        {int(Command::TipOfTheDay), &MainWindow::OnTipOfTheDay},
        {int(Command::Website), &MainWindow::OnWebsite},
        {int(Command::About), &MainWindow::OnAbout},
        {int(Command::RenderButton), &MainWindow::OnRenderButton},
        {int(Command::TakeOver), &MainWindow::OnTakeOver},
        {int(Command::BackgroundRender), &MainWindow::OnBackgroundRender},
    };
    return handlers;
}

QAction* MainWindow::AddCommand(QMenu* menu, const std::string& text, int command) {
    QAction* action = ActionFor(command);
    if (!action) {
        action = new QAction(QString::fromStdString(text), this);
        action->setData(command);
        action->setCheckable(Checkable(command));
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        actions_[command] = action;
    } else {
        action->setText(QString::fromStdString(text));
    }
    if (menu) menu->addAction(action);
    return action;
}

void MainWindow::BuildMenus() {
    fileDialogs_ = std::make_unique<QtFileDialogs>(this);
    auto* viewGroup = new QActionGroup(this);
    for (const Menu& table : MainMenuTable()) {
        QMenu* menu = menuBar()->addMenu(QString::fromStdString(table.title));
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::UpdateMenu);
        for (const MenuItem& item : table.items) {
            switch (item.kind) {
            case MenuItem::Kind::Command: AddCommand(menu, item.text, item.command); break;
            case MenuItem::Kind::Separator: menu->addSeparator(); break;
            case MenuItem::Kind::Submenu: {
                QMenu* sub = menu->addMenu(QString::fromStdString(item.text));
                for (const MenuItem& subItem : item.items) {
                    if (subItem.kind == MenuItem::Kind::Separator) sub->addSeparator();
                    else AddCommand(sub, subItem.text, subItem.command);
                }
                break;
            }
            case MenuItem::Kind::RecentFiles: fileMenu_ = menu; break;
            case MenuItem::Kind::SampleScenes: previewMenu_ = menu; break;
            }
        }
    }
    for (Command view : {Command::TextureList, Command::FileList, Command::PictureList})
        viewGroup->addAction(ActionFor(int(view)));
}

void MainWindow::BuildToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Schalterleiste"));
    toolbar_->setObjectName(QStringLiteral("Schalterleiste"));
    toolbar_->setAccessibleName(QStringLiteral("Schalterleiste"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void MainWindow::ApplyFlatToolbar() {
    if (toolbar_->actions().isEmpty()) {
        for (const ToolbarButton& button : ToolbarTable()) {
            if (button.command == 0) {
                toolbar_->addSeparator();
                continue;
            }
            QAction* action = ActionFor(button.command);
            const QString tip = QString::fromUtf8(button.tooltip).left(80);
            // The toolbar shows the same command as the menu through its own
            // action, so that its tooltip does not change the menu's text.
            auto* toolAction = new QAction(style()->standardIcon(IconOf(Command(button.command))), tip, toolbar_);
            toolAction->setToolTip(tip);
            toolAction->setData(button.command);
            toolAction->setCheckable(action && action->isCheckable());
            connect(toolAction, &QAction::triggered, this, [this, command = button.command] { RunCommand(command); });
            if (action) {
                const auto follow = [action, toolAction] {
                    toolAction->setEnabled(action->isEnabled());
                    toolAction->setChecked(action->isChecked());
                };
                follow();
                connect(action, &QAction::changed, toolAction, follow);
            }
            toolbar_->addAction(toolAction);
            if (QWidget* widget = toolbar_->widgetForAction(toolAction)) widget->setAccessibleName(tip);
        }
    }
    for (QAction* action : toolbar_->actions())
        if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(action)))
            button->setAutoRaise(settings_->flatToolbar == 1);
}

void MainWindow::RebuildRecentFiles() {
    for (QAction* action : recentActions_) {
        fileMenu_->removeAction(action);
        delete action;
    }
    recentActions_.clear();
    if (recentSeparator_) {
        fileMenu_->removeAction(recentSeparator_);
        delete recentSeparator_;
        recentSeparator_ = nullptr;
    }
    const QFontMetrics metrics(fileMenu_->font());
    const auto width = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    };
    const std::vector<std::string> texts =
        settings_->recentFiles.MenuTexts(document_ ? document_->Path() : std::string(), width);
    if (texts.empty()) return;
    recentSeparator_ = fileMenu_->addSeparator();
    for (size_t i = 0; i < texts.size(); ++i) {
        const int command = kFirstRecentFileCommand + static_cast<int>(i);
        QAction* action = fileMenu_->addAction(QString::fromStdString(texts[i]));
        action->setData(command);
        action->setToolTip(QString::fromStdString(settings_->recentFiles.File(static_cast<int>(i))));
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        recentActions_.push_back(action);
    }
}

void MainWindow::RebuildSampleScenes() {
    for (QAction* action : sceneActions_) delete action;
    sceneActions_.clear();
    delete sceneGroup_;
    sceneGroup_ = new QActionGroup(this);
    const std::string folder = PreviewTemplateFolder();
    CreateDirectories(folder);
    scenes_ = BuildSampleSceneList(folder, settings_->previewType);
    settings_->previewType = scenes_.selectedIndex;
    for (int i = 0; i < scenes_.Count(); ++i) {
        const int command = kFirstSampleSceneCommand + i;
        QAction* action = previewMenu_->addAction(QString::fromStdString(scenes_.titles[static_cast<size_t>(i)]));
        action->setData(command);
        action->setCheckable(true);
        sceneGroup_->addAction(action);
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        sceneActions_.push_back(action);
    }
}

void MainWindow::SetFileDialogs(std::unique_ptr<FileDialogs> dialogs) {
    fileDialogs_ = std::move(dialogs);
    document_->SetDialogs(*fileDialogs_);
}

}  // namespace sc
