// The main window's actions, menus, toolbar and context menus, built from
// the command and menu tables, and which handler each command runs.
#include <QAction>
#include <QActionGroup>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "gui/CommandActions.h"
#include "gui/LibraryCommands.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainWindow.h"
#include "gui/QtFileDialogs.h"
#include "platform/FileSystem.h"
#include "ui/LibraryDocument.h"
#include "ui/Settings.h"

namespace sc {

void MainWindow::BuildActions() {
    actions_ = new CommandActions(
        *this, *views_, [this] { return CurrentMenuConditions(); }, [this] { return CurrentCheckConditions(); });
    escape_ = new QAction(this);
    escape_->setShortcut(Qt::Key_Escape);
    escape_->setShortcutContext(Qt::WindowShortcut);
    escape_->setEnabled(false);
    addAction(escape_);
    connect(escape_, &QAction::triggered, this, &MainWindow::OnEscape);
}

void MainWindow::BindHandlers() {
    using C = Command;
    const auto bind = [this](Command command, void (MainWindow::*handler)()) {
        actions_->Bind(command, [this, handler] { (this->*handler)(); });
    };
    bind(C::Open, &MainWindow::OnOpen);
    bind(C::Add, &MainWindow::OnAdd);
    bind(C::Save, &MainWindow::OnSave);
    bind(C::SaveAs, &MainWindow::OnSaveAs);
    bind(C::SearchTextures, &MainWindow::OnSearchTextures);
    bind(C::PovDirectory, &MainWindow::OnPovDirectory);
    bind(C::LibraryPaths, &MainWindow::OnLibraryPaths);
    bind(C::UninstallExtension, &MainWindow::OnUninstallExtension);
    bind(C::Editor, &MainWindow::OnEditor);
    bind(C::Colors, &MainWindow::OnColors);
    bind(C::FlatToolbar, &MainWindow::OnFlatToolbar);
    bind(C::SaveSettingsOnExit, &MainWindow::OnSaveSettingsOnExit);
    bind(C::LoadLastFile, &MainWindow::OnLoadLastFile);
    bind(C::Exit, &MainWindow::OnExit);
    bind(C::CopyTexture, &MainWindow::OnCopyTexture);
    bind(C::EditWithPov, &MainWindow::OnEditWithPov);
    bind(C::DeleteSelected, &MainWindow::OnDeleteSelected);
    bind(C::DeleteSelectedPreviews, &MainWindow::OnDeleteSelectedPreviews);
    bind(C::DeleteAll, &MainWindow::OnDeleteAll);
    bind(C::CollapseAll, &MainWindow::OnCollapseAll);
    bind(C::ExpandAll, &MainWindow::OnExpandAll);
    bind(C::CompleteDirectories, &MainWindow::OnCompleteDirectories);
    bind(C::FindText, &MainWindow::OnFindText);
    bind(C::FindAgain, &MainWindow::OnFindAgain);
    bind(C::ChangeCategory, &MainWindow::OnChangeCategory);
    bind(C::Overview, &MainWindow::OnOverview);
    bind(C::SelectAll, &MainWindow::OnSelectAll);
    bind(C::SelectChanged, &MainWindow::OnSelectChanged);
    bind(C::SelectEmpty, &MainWindow::OnSelectEmpty);
    bind(C::SelectFaulty, &MainWindow::OnSelectFaulty);
    bind(C::Select30Incompatible, &MainWindow::OnSelect30Incompatible);
    bind(C::Select31Incompatible, &MainWindow::OnSelect31Incompatible);
    bind(C::SelectDuplicates, &MainWindow::OnSelectDuplicates);
    bind(C::InvertSelection, &MainWindow::OnInvertSelection);
    bind(C::TextureList, &MainWindow::OnTextureList);
    bind(C::FileList, &MainWindow::OnFileList);
    bind(C::PictureList, &MainWindow::OnPictureList);
    bind(C::OnlySelected, &MainWindow::OnOnlySelected);
    bind(C::PreviewPane, &MainWindow::OnPreviewPane);
    bind(C::SmallPreview, &MainWindow::OnSmallPreview);
    bind(C::Antialias, &MainWindow::OnAntialias);
    bind(C::BackgroundRender, &MainWindow::OnBackgroundRender);
    bind(C::Help, &MainWindow::OnHelp);
    bind(C::TipOfTheDay, &MainWindow::OnTipOfTheDay);
    bind(C::Website, &MainWindow::OnWebsite);
    bind(C::About, &MainWindow::OnAbout);
    for (int key = 0; key < kSortKeyCount; ++key)
        actions_->Bind(Command(int(C::SortByName) + key), [this, key] { views_->SortBy(key); });
    actions_->BindRange(kFirstRecentFileCommand, kLastRecentFileCommand, [this](int i) { OnRecentFile(i); });
    actions_->BindRange(kFirstSampleSceneCommand, kFirstSampleSceneCommand + kMaxSampleScenes - 1,
                        [this](int i) { OnSampleScene(i); });
}

void MainWindow::BuildMenus() {
    fileDialogs_ = std::make_unique<QtFileDialogs>(this);
    for (const Menu& table : MainMenuTable()) {
        QMenu* menu = menuBar()->addMenu(QString::fromStdString(table.title));
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::UpdateActions);
        actions_->Fill(*menu, table.items, [this](QMenu& place, MenuItem::Kind kind) {
            (kind == MenuItem::Kind::RecentFiles ? fileMenu_ : previewMenu_) = &place;
        });
    }
}

std::unique_ptr<QMenu> MainWindow::EntriesContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    const bool fileList = views_->ViewType() == kFileListType;
    actions_->Fill(*menu, ContextMenuTable(fileList ? ContextMenuKind::FileList : ContextMenuKind::EntryList));
    UpdateActions();
    return menu;
}

void MainWindow::ShowContextMenu(ContextMenuKind kind, const QPoint& globalPos) {
    std::unique_ptr<QMenu> menu;
    if (kind == ContextMenuKind::Picture) {
        menu = std::make_unique<QMenu>(this);
        actions_->Fill(*menu, ContextMenuTable(kind), [this](QMenu& place, MenuItem::Kind) {
            for (int i = 0; i < scenes_.Count(); ++i) place.addAction(ActionFor(kFirstSampleSceneCommand + i));
        });
        UpdateActions();
    } else {
        menu = EntriesContextMenu();
    }
    menu->exec(globalPos);
}

void MainWindow::BuildToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Schalterleiste"));
    toolbar_->setObjectName(QStringLiteral("Schalterleiste"));
    toolbar_->setAccessibleName(QStringLiteral("Schalterleiste"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ToolbarButton& button : ToolbarTable()) {
        if (button.command == 0) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* action = ActionFor(button.command);
        const QString tip = QString::fromUtf8(button.tooltip).left(80);
        action->setToolTip(tip);
        toolbar_->addAction(action);
        if (QWidget* widget = toolbar_->widgetForAction(action)) widget->setAccessibleName(tip);
    }
}

void MainWindow::ApplyFlatToolbar() {
    for (QAction* action : toolbar_->actions())
        if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(action)))
            button->setAutoRaise(settings_->flatToolbar == 1);
}

void MainWindow::RebuildRecentFiles() {
    for (int i = 0; i < recentCount_; ++i) actions_->RemoveRunTimeItem(kFirstRecentFileCommand + i);
    recentCount_ = 0;
    delete recentSeparator_;
    recentSeparator_ = nullptr;
    const QFontMetrics metrics(fileMenu_->font());
    const auto width = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    };
    const std::vector<std::string> texts =
        settings_->recentFiles.MenuTexts(document_ ? document_->Path() : std::string(), width);
    if (texts.empty()) return;
    recentSeparator_ = fileMenu_->addSeparator();
    for (size_t i = 0; i < texts.size(); ++i) {
        QAction* action =
            actions_->AddRunTimeItem(kFirstRecentFileCommand + recentCount_++, QString::fromStdString(texts[i]), false);
        action->setToolTip(QString::fromStdString(settings_->recentFiles.File(static_cast<int>(i))));
        fileMenu_->addAction(action);
    }
    actions_->Update();
}

void MainWindow::RebuildSampleScenes() {
    for (int i = 0; i < scenes_.Count(); ++i) actions_->RemoveRunTimeItem(kFirstSampleSceneCommand + i);
    delete sceneGroup_;
    sceneGroup_ = new QActionGroup(this);
    const std::string folder = PreviewTemplateFolder();
    CreateDirectories(folder);
    scenes_ = BuildSampleSceneList(folder, settings_->previewType);
    settings_->previewType = scenes_.selectedIndex;
    for (int i = 0; i < scenes_.Count(); ++i) {
        QAction* action = actions_->AddRunTimeItem(kFirstSampleSceneCommand + i,
                                                   QString::fromStdString(scenes_.titles[static_cast<size_t>(i)]), true);
        sceneGroup_->addAction(action);
        previewMenu_->addAction(action);
    }
    actions_->Update();
}

void MainWindow::SetFileDialogs(std::unique_ptr<FileDialogs> dialogs) {
    fileDialogs_ = std::move(dialogs);
    document_->SetDialogs(*fileDialogs_);
}

}  // namespace sc
