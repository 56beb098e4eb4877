// The main window driven by keys and clicks as a keyboard user meets it:
// the entries keep the keyboard while the preview pane follows them, text
// fields and mnemonics keep their keys, context menus are the main menu's
// commands, a filter moves the current entry, a header click sorts.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QKeyEvent>
#include <QMouseEvent>

#include <set>

#include "gui/DeclarationBox.h"
#include "gui/EntryBar.h"
#include "gui/FileTreeView.h"
#include "gui/FilterField.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/PictureGridView.h"
#include "gui/TextureListView.h"
#include "GuiTestSupport.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "library/TextureEntry.h"
#include "scanner/TextureSearch.h"
#include "ui/Settings.h"

namespace sc {
namespace {

using test::Click;
using test::DialogRecorder;
using test::KeyClick;
using test::TypeText;
using test::WindowHarness;

// A window shown and active, with six textures loaded and the preview pane shown.
struct KeyboardWindow : testing::Test {
    WindowHarness h;
    DialogRecorder recorder;
    MainWindow& w = *h.window;

    KeyboardWindow() {
        w.show();
        QApplication::setActiveWindow(&w);
        test::StartUpAndSettle(w);
        std::string declarations;
        for (const char* name : {"Aluminum", "Brass", "Copper", "Gold", "Jade", "Silver"})
            declarations += std::string("#declare ") + name + " = texture { pigment { rgb 1 } }\n";
        const std::string inc = h.dir.Write("inc/metals.inc", declarations);
        test::RecordingUserInterface quiet;
        LibraryController other(quiet);
        SearchOptions options;
        options.explicitFiles = {inc};
        SearchTextures(other, options);
        EXPECT_TRUE(SaveLibrary(other, h.dir / "metals.swl", ""));
        h.fileDialogs->answer = h.dir / "metals.swl";
        test::RunAndSettle(w, int(Command::Open));
        EXPECT_TRUE(w.Area().PaneShown());
    }

    // A key pressed on whatever has the keyboard, as the window system delivers it.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus) << "nothing has the keyboard";
        KeyClick(focus, key, modifiers);
    }
    std::string Current() { return w.CurrentEntry() ? w.CurrentEntry()->name : std::string("(none)"); }
    bool PaneShows(const std::string& name) {
        return w.Area().TextBox()->toPlainText().contains(QString::fromStdString("#declare " + name + " ")) &&
               w.Area().Bar()->Parts().front() == QString::fromStdString(name);
    }
    std::set<QAction*> MainMenuActions() {
        std::set<QAction*> found;
        std::vector<QMenu*> menus;
        for (QAction* a : w.menuBar()->actions())
            if (a->menu()) menus.push_back(a->menu());
        while (!menus.empty()) {
            QMenu* menu = menus.back();
            menus.pop_back();
            for (QAction* a : menu->actions()) {
                if (a->menu()) menus.push_back(a->menu());
                else if (!a->isSeparator()) found.insert(a);
            }
        }
        return found;
    }
};

// One walk through a view with the pane shown: each key changes the current
// entry (the pane reads its declaration), and the next key still reaches the view.
TEST_F(KeyboardWindow, KeysKeepActingInListTreeAndGridAfterEveryEntryChange) {
    struct View {
        Command command;
        QAbstractItemView* widget;
    };
    const View views[] = {{Command::TextureList, &w.Views().List()},
                          {Command::FileList, &w.Views().Tree()},
                          {Command::PictureList, &w.Views().Grid()}};
    for (const View& view : views) {
        SCOPED_TRACE(int(view.command));
        w.RunCommand(int(view.command));
        if (view.command == Command::FileList) w.RunCommand(int(Command::ExpandAll));
        // A click on the second item.
        const QModelIndex second = view.command == Command::FileList
                                       ? view.widget->model()->index(1, 0, view.widget->model()->index(0, 0))
                                       : view.widget->model()->index(1, 0);
        const QRect cell = view.widget->visualRect(second);
        Click(view.widget->viewport(), cell.center());
        EXPECT_EQ(Current(), "Brass");
        EXPECT_TRUE(PaneShows("Brass"));
        EXPECT_EQ(QApplication::focusWidget(), view.widget);
        Press(view.command == Command::PictureList ? Qt::Key_Right : Qt::Key_Down);
        EXPECT_EQ(Current(), "Copper");
        EXPECT_TRUE(PaneShows("Copper"));
        Press(Qt::Key_End);
        EXPECT_EQ(Current(), "Silver");
        Press(Qt::Key_Home);
        Press(Qt::Key_PageDown);
        EXPECT_EQ(Current(), "Silver");
        Press(Qt::Key_PageUp);
        EXPECT_EQ(Current(), view.command == Command::FileList ? "" : "Aluminum");  // the tree starts with its file
        EXPECT_EQ(QApplication::focusWidget(), view.widget);
        // A long operation disables the views; the keyboard comes back afterwards.
        w.SetBusy(true);
        w.SetBusy(false);
        EXPECT_EQ(QApplication::focusWidget(), view.widget);
    }
}

TEST_F(KeyboardWindow, ShiftRangesF2AndEntfActInTheViewsWithThePaneShown) {
    for (Command command : {Command::TextureList, Command::PictureList}) {
        w.RunCommand(int(command));
        QWidget* view = command == Command::TextureList ? static_cast<QWidget*>(&w.Views().List())
                                                        : static_cast<QWidget*>(&w.Views().Grid());
        view->setFocus();
        Press(Qt::Key_Home);
        Press(command == Command::TextureList ? Qt::Key_Down : Qt::Key_Right, Qt::ShiftModifier);
        Press(command == Command::TextureList ? Qt::Key_Down : Qt::Key_Right, Qt::ShiftModifier);
        EXPECT_EQ(w.Views().SelectedEntries().size(), 3u);
        EXPECT_EQ(Current(), "Copper");
    }
    w.RunCommand(int(Command::TextureList));
    Press(Qt::Key_F2);
    // The category editor opens in the row and has the keyboard.
    ASSERT_TRUE(QApplication::focusWidget());
    EXPECT_TRUE(w.Views().List().viewport()->isAncestorOf(QApplication::focusWidget()));
    KeyClick(QApplication::focusWidget(), Qt::Key_Escape);
    w.Views().List().setFocus();

    // Entf deletes the selected entries after the question, and the pane moves on.
    recorder.buttons = {"Ja"};
    Press(Qt::Key_Delete);
    EXPECT_EQ(w.Controller().EntryCount(), 3);
    EXPECT_NE(Current(), "Copper");
    EXPECT_TRUE(PaneShows(Current()));
    EXPECT_TRUE(w.Views().isAncestorOf(QApplication::focusWidget()));

    // In the file list the keys work the same after a click.
    w.RunCommand(int(Command::FileList));
    recorder.buttons = {"Ja"};
    Press(Qt::Key_Down);
    Press(Qt::Key_Delete);
    EXPECT_EQ(w.Controller().EntryCount(), 2);
    EXPECT_TRUE(w.Views().isAncestorOf(QApplication::focusWidget()));
}

TEST_F(KeyboardWindow, MnemonicsAndTextFieldsKeepTheirKeys) {
    // Alt+V opens "&Vorschau" although Strg+V is the pane's key.
    Press(Qt::Key_V, Qt::AltModifier);
    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(open);
    EXPECT_EQ(open->title(), QStringLiteral("&Vorschau"));
    open->close();

    auto* field = w.findChild<FilterField*>();
    ASSERT_TRUE(field);
    field->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("ja"));
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("ja"));
    EXPECT_TRUE(w.Area().PaneShown());
    field->selectAll();
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ja"));
    Press(Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty());

    // Outside a text field the same keys are the window's (the filter "ja" had moved the current entry).
    w.Views().FocusShownView();
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().contains(QStringLiteral("#declare Jade")));
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(w.Area().PaneShown());
}

TEST_F(KeyboardWindow, ContextMenusHoldTheMainMenusActionsInEveryState) {
    const std::set<QAction*> main = MainMenuActions();
    const auto expectShared = [&](const char* state) {
        for (int type : {kFileListType, kTextureListType}) {
            w.Views().SetViewType(type);
            const std::unique_ptr<QMenu> menu = w.EntriesContextMenu();
            std::vector<QMenu*> menus{menu.get()};
            while (!menus.empty()) {
                QMenu* m = menus.back();
                menus.pop_back();
                for (QAction* a : m->actions()) {
                    if (a->menu()) {
                        menus.push_back(a->menu());
                    } else if (!a->isSeparator() && !a->text().startsWith(QStringLiteral("Sortieren"))) {
                        EXPECT_TRUE(main.count(a)) << state << ": " << a->text().toStdString();
                    }
                }
            }
        }
    };
    expectShared("idle");
    EXPECT_TRUE(w.ActionFor(int(Command::DeleteAll))->isEnabled());
    // The menu writes the action's key beside the text, in the language in force.
    EXPECT_EQ(w.ActionFor(int(Command::CopyTexture))->text(), QStringLiteral("Kopiere \"Aluminum\""));
    EXPECT_EQ(w.ActionFor(int(Command::CopyTexture))->shortcut().toString(QKeySequence::NativeText),
              QStringLiteral("Strg+C"));
    EXPECT_EQ(w.ActionFor(int(Command::SelectAll))->text(), QStringLiteral("&Alle\tStrg+A"));
    w.SetBusy(true);
    expectShared("busy");
    EXPECT_FALSE(w.ActionFor(int(Command::DeleteAll))->isEnabled());
    w.SetBusy(false);
    w.SetRendering(true);
    expectShared("rendering");
    EXPECT_FALSE(w.ActionFor(int(Command::SortByName))->isEnabled());
    w.SetRendering(false);

    // A header click sorts as the sort item does, and the item's check follows.
    w.RunCommand(int(Command::TextureList));
    QHeaderView* header = w.Views().List().header();
    const auto clickSection = [header](int section) {
        Click(header->viewport(), QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
    };
    clickSection(0);
    EXPECT_EQ(w.Views().UserSortOrder().key, kSortByName);
    EXPECT_TRUE(w.Views().UserSortOrder().ascending);
    clickSection(0);
    EXPECT_EQ(w.Views().EntriesInListOrder().front()->name, "Silver");  // by name, now descending
    clickSection(1);
    w.UpdateActions();
    EXPECT_TRUE(w.ActionFor(int(Command::SortByType))->isChecked());
    EXPECT_FALSE(w.ActionFor(int(Command::SortByName))->isChecked());
}

TEST_F(KeyboardWindow, AFilterHidingTheCurrentEntryMovesThePaneWithIt) {
    w.RunCommand(int(Command::TextureList));
    EXPECT_EQ(Current(), "Aluminum");
    auto* field = w.findChild<FilterField*>();
    field->setFocus();
    TypeText(field, QStringLiteral("Jade"));
    EXPECT_EQ(Current(), "Jade");
    EXPECT_TRUE(PaneShows("Jade"));
    QApplication::clipboard()->clear();
    w.RunCommand(int(Command::CopyTexture));
    EXPECT_TRUE(QApplication::clipboard()->text().contains(QStringLiteral("#declare Jade")));

    TypeText(field, QStringLiteral("x"));  // nothing matches "Jadex"
    EXPECT_EQ(w.CurrentEntry(), nullptr);
    EXPECT_FALSE(w.ActionFor(int(Command::CopyTexture))->isEnabled());
    EXPECT_FALSE(w.Area().ShowButton()->isEnabled());
    EXPECT_TRUE(w.Area().TextBox()->toPlainText().isEmpty());
}

}  // namespace
}  // namespace sc
