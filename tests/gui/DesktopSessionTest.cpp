// A desktop user's session in the main window, with the preview pane shown
// and keys and clicks going to whatever has the keyboard: the entries keep
// the keyboard while the pane follows them, text fields and mnemonics keep
// their keys, context menus are the main menu's commands. A window manager
// hands the keyboard back to the main window only some time after a dialog
// closed; the tests take it away while a dialog is open and give it back
// after the command, as one does.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include <map>
#include <set>

#include "gui/DeclarationBox.h"
#include "gui/EntryBar.h"
#include "gui/FileTreeView.h"
#include "gui/FilterField.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/PictureGridView.h"
#include "gui/StatusBarWithProgress.h"
#include "gui/TextureListView.h"
#include "GuiTestSupport.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "library/TextureEntry.h"
#include "scanner/TextureSearch.h"

namespace sc {
namespace {

using test::Click;
using test::DialogRecorder;
using test::KeyClick;
using test::TypeText;
using test::WindowHarness;

// The commands of `menus` and of every submenu in them, without separators.
std::set<QAction*> CommandsIn(std::vector<QMenu*> menus) {
    std::set<QAction*> found;
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

// The file dialog takes the keyboard from the main window while it is open.
class LeavingFileDialogs : public test::ScriptedFileDialogs {
public:
    std::string ChooseOpenFile(const std::string& start) override {
        QApplication::setActiveWindow(nullptr);
        return ScriptedFileDialogs::ChooseOpenFile(start);
    }
};

struct DesktopSession : test::StartedWindow {
    LeavingFileDialogs* files = nullptr;

    DesktopSession() {
        std::string declarations;
        for (const char* name : {"Aluminum", "Brass", "Copper", "Gold", "Jade", "Silver"})
            declarations += std::string("#declare ") + name + " = texture { pigment { rgb 1 } }\n";
        const std::string list = test::WriteLibrary(h, declarations);
        auto dialogs = std::make_unique<LeavingFileDialogs>();
        files = dialogs.get();
        files->answer = list;
        w.SetFileDialogs(std::move(dialogs));
        test::RunAndSettle(w, int(Command::Open));
        QApplication::setActiveWindow(&w);
        EXPECT_TRUE(w.Area().PaneShown());
        // Every dialog and message box is a window of its own.
        recorder.onDialog = [](QDialog&) { QApplication::setActiveWindow(nullptr); };
        recorder.onBox = [](QMessageBox&) { QApplication::setActiveWindow(nullptr); };
    }

    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus) << "nothing has the keyboard";
        KeyClick(focus, key, modifiers);
        // The window manager activates the main window again.
        QApplication::setActiveWindow(&w);
        // The user waits while the window is busy (a list file is read or written).
        EXPECT_TRUE(test::WaitFor([this] { return !w.Busy(); }));
    }
    std::string Current() { return w.CurrentEntry() ? w.CurrentEntry()->name : std::string("(none)"); }
    std::vector<std::string> Selected() {
        std::vector<std::string> names;
        for (TextureEntry* e : w.Views().SelectedEntries()) names.push_back(e->name);
        return names;
    }
    QWidget* ViewOf(Command command) {
        if (command == Command::FileList) return &w.Views().Tree();
        if (command == Command::TextureList) return &w.Views().List();
        return &w.Views().Grid();
    }
    bool PaneShows(const std::string& name) {
        return w.Area().TextBox()->toPlainText().contains(QString::fromStdString("#declare " + name + " ")) &&
               w.Area().Bar()->Parts().front() == QString::fromStdString(name);
    }
    // The entry bar holds its line under the list and names the current entry.
    void ExpectEntryBar(const char* after) {
        QApplication::processEvents();
        EntryBar* bar = w.Area().Bar();
        EXPECT_GE(bar->height(), bar->fontMetrics().height()) << after;
        EXPECT_EQ(bar->height(), bar->sizeHint().height()) << after;
        const QLabel* first = bar->findChild<QLabel*>();
        ASSERT_TRUE(first) << after;
        EXPECT_TRUE(first->isVisible()) << after;
        if (w.CurrentEntry()) {
            EXPECT_EQ(bar->Parts().front().toStdString(), Current()) << after;
        }
    }
};

// Commands that open a dialog and then work busy give the keyboard back to
// the list, tree or grid that had it, with the found entry current; no two
// controls of the window share a mnemonic.
TEST_F(DesktopSession, KeyboardStaysWithTheViewThroughDialogsAndBusyWork) {
    const auto typeIntoFind = [](const char* text) {
        return [text](QDialog& dialog) {
            QApplication::setActiveWindow(nullptr);
            if (dialog.windowTitle() != QStringLiteral("Text suchen")) return;
            dialog.findChild<QLineEdit*>()->setText(QString::fromUtf8(text));
            test::Control<QRadioButton>(&dialog, QStringLiteral("&Texturenname"))->setChecked(true);
        };
    };
    const auto writeOverview = [](QDialog& dialog) {
        QApplication::setActiveWindow(nullptr);
        if (dialog.windowTitle() != QStringLiteral("Texturenübersichten")) return;
        test::Control<QPushButton>(&dialog, QStringLiteral("&Schreiben"))->click();
    };
    struct Step {
        const char* name;
        int key;  // 0: the command below from the menu
        Qt::KeyboardModifiers modifiers;
        std::function<void(QDialog&)> dialog;
        bool accept;
        const char* current;  // the entry current afterwards; null: any
        Command command = Command::Open;
    };
    const Step steps[] = {
        {"Strg+O", Qt::Key_O, Qt::ControlModifier, {}, false, nullptr},
        {"Strg+F, gefunden", Qt::Key_F, Qt::ControlModifier, typeIntoFind("Gold"), true, "Gold"},
        {"Strg+F, nicht gefunden", Qt::Key_F, Qt::ControlModifier, typeIntoFind("Zinn"), true, "Gold"},
        {"F3", Qt::Key_F3, Qt::NoModifier, typeIntoFind("Silver"), true, nullptr},
        {"Duplikate", 0, Qt::NoModifier, {}, true, nullptr, Command::SelectDuplicates},
        {"Geänderte Texturen, Abbrechen", 0, Qt::NoModifier, {}, false, nullptr, Command::SelectChanged},
        {"Übersicht schreiben", 0, Qt::NoModifier, writeOverview, false, nullptr, Command::Overview},
    };
    for (Command view : {Command::TextureList, Command::FileList, Command::PictureList}) {
        // The keyboard goes from view to view without passing through another control.
        std::vector<QWidget*> passed;
        const QMetaObject::Connection watch = QObject::connect(
            qApp, &QApplication::focusChanged, [&](QWidget*, QWidget* now) { if (now) passed.push_back(now); });
        Press(view == Command::TextureList ? Qt::Key_1 : view == Command::FileList ? Qt::Key_2 : Qt::Key_3,
              Qt::ControlModifier);
        QObject::disconnect(watch);
        EXPECT_EQ(passed, (std::vector<QWidget*>{ViewOf(view)}));
        ASSERT_EQ(QApplication::focusWidget(), ViewOf(view));
        for (const Step& step : steps) {
            SCOPED_TRACE(std::string(step.name) + " in view " + std::to_string(int(view)));
            if (step.dialog) recorder.onDialog = step.dialog;
            recorder.acceptDialogs = step.accept;
            if (step.key != 0) {
                Press(step.key, step.modifiers);
            } else {
                // Alt alone takes the keyboard to the menu bar, where the menus are walked.
                QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
                QApplication::sendEvent(QApplication::focusWidget(), &alt);
                QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
                QApplication::sendEvent(QApplication::focusWidget(), &altUp);
                ASSERT_EQ(QApplication::focusWidget(), w.menuBar());
                w.ActionFor(int(step.command))->trigger();
                QApplication::setActiveWindow(&w);
                EXPECT_TRUE(test::WaitFor([this] { return !w.Busy(); }));
            }
            // "Duplikate" and "Geänderte Texturen" show the texture list instead of the file list.
            const Command shown = w.Views().ViewType() == kFileListType      ? Command::FileList
                                  : w.Views().ViewType() == kTextureListType ? Command::TextureList
                                                                             : Command::PictureList;
            EXPECT_EQ(QApplication::focusWidget(), ViewOf(shown))
                << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "none");
            if (step.current) {
                EXPECT_EQ(Current(), step.current);
            }
            // Down walks the entries, it does not move a caret in the declaration box.
            EXPECT_FALSE(w.Area().TextBox()->hasFocus());
        }
    }

    std::map<QChar, QString> taken;
    const auto take = [&](const QString& text) {
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        if (at < 0 || at + 1 >= text.size()) return;
        const QChar key = text.at(at + 1).toLower();
        EXPECT_FALSE(taken.count(key)) << text.toStdString() << " and " << taken[key].toStdString();
        taken[key] = text;
    };
    for (QAction* menu : w.menuBar()->actions()) take(menu->text());
    for (QAbstractButton* button : w.findChildren<QAbstractButton*>())
        if (button->window() == &w) take(button->text());
}

// Status texts give way to the counts, the entry bar keeps its line, and
// inverting the selection or a look at the file list leaves the current
// entry and the selection as the user made them.
TEST_F(DesktopSession, StatusEntryBarAndSelectionFollowTheUser) {
    const auto counts = [this] { return w.Views().StatusText(); };
    const QString note = QStringLiteral("POV-Ray 3.7 in \"/usr\" wird benutzt.");
    w.Status().ShowNote(note, 20000);
    // A selection the window makes by itself (a list read at start) leaves the note; the user's own ends it.
    w.Views().SelectEntries({test::EntryNamed(w, "Jade")});
    EXPECT_EQ(w.Status().Text(), note);
    Press(Qt::Key_Home);
    EXPECT_EQ(w.Status().Text(), counts());
    w.Status().ShowNote(note, 20000);
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w.Status().Text(), counts());
    EXPECT_TRUE(counts().contains(QStringLiteral("6 ausgewählt"))) << counts().toStdString();

    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(w.Status().Text(), counts());
    recorder.acceptDialogs = false;
    recorder.onDialog = [](QDialog& dialog) {
        if (dialog.windowTitle() != QStringLiteral("Texturenübersichten")) return;
        test::Control<QPushButton>(&dialog, QStringLiteral("&Schreiben"))->click();
    };
    w.RunCommand(int(Command::Overview));
    EXPECT_NE(w.Status().Text(), QStringLiteral("Schreibe Texturen..."));
    EXPECT_FALSE(w.Status().Text().isEmpty());
    recorder.onDialog = {};

    // Three entries selected from Brass on, the current one is Gold.
    Press(Qt::Key_1, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), &w.Views().List());
    Press(Qt::Key_Home);
    ASSERT_EQ(Current(), "Aluminum");
    Press(Qt::Key_Down);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    const std::vector<std::string> three{"Brass", "Copper", "Gold"};
    ASSERT_EQ(std::pair(Current(), Selected()), std::pair(std::string("Gold"), three));
    Press(Qt::Key_2, Qt::ControlModifier);
    Press(Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(std::pair(Current(), Selected()), std::pair(std::string("Gold"), three));
    Press(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(std::pair(Current(), Selected()),
              std::pair(std::string("Gold"), std::vector<std::string>{"Aluminum", "Jade", "Silver"}));
    EXPECT_EQ(w.Status().Text(), counts());
    ExpectEntryBar("Strg+I");

    // Entf in each view; Strg+O then Strg+1; "Alle löschen" among only the selected.
    for (Command view : {Command::PictureList, Command::FileList, Command::TextureList}) {
        w.RunCommand(int(view));
        if (view == Command::FileList) Press(Qt::Key_Down);
        recorder.AnswerWith({"Ja"});
        Press(Qt::Key_Delete);
        ExpectEntryBar("Entf");
    }
    // The changes are not kept: the list comes back whole.
    recorder.AnswerWith({"Nein"});
    Press(Qt::Key_O, Qt::ControlModifier);
    Press(Qt::Key_1, Qt::ControlModifier);
    ExpectEntryBar("Strg+O, Strg+1");
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w.Status().Text(), counts());
    EXPECT_TRUE(counts().contains(QStringLiteral("6 ausgewählt"))) << counts().toStdString();
    // Deleting all shown in the only-selected mode ends the mode on what is left.
    w.Views().SelectEntries({test::EntryNamed(w, "Jade"), test::EntryNamed(w, "Silver")});
    w.RunCommand(int(Command::OnlySelected));
    ASSERT_TRUE(w.Views().OnlySelectedShown());
    ExpectEntryBar("Nur ausgewählte");
    recorder.AnswerWith({"Ja"});
    w.RunCommand(int(Command::DeleteAll));
    ExpectEntryBar("Alle löschen");
    EXPECT_EQ(std::pair(w.Controller().EntryCount(), w.Views().EntriesInListOrder().size()), std::pair(4, size_t{4}));
    EXPECT_FALSE(w.Views().OnlySelectedShown() || w.Controller().onlyMarkedShown ||
                 w.ActionFor(int(Command::OnlySelected))->isChecked());
    w.RefreshStatusText();
    EXPECT_TRUE(w.Status().Text().startsWith(QStringLiteral("4 Einträge"))) << w.Status().Text().toStdString();
}


// One walk through a view with the pane shown: each key changes the current
// entry (the pane reads its declaration), and the next key still reaches the view.
TEST_F(DesktopSession, KeysKeepActingInListTreeAndGridAfterEveryEntryChange) {
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

TEST_F(DesktopSession, MnemonicsAndTextFieldsKeepTheirKeys) {
    // Alt+V opens "&Vorschau" although Strg+V is the pane's key.
    KeyClick(QApplication::focusWidget(), Qt::Key_V, Qt::AltModifier);
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

TEST_F(DesktopSession, ContextMenusHoldTheMainMenusActionsInEveryState) {
    std::vector<QMenu*> menus;
    for (QAction* a : w.menuBar()->actions())
        if (a->menu()) menus.push_back(a->menu());
    const std::set<QAction*> main = CommandsIn(menus);
    const auto expectShared = [&](const char* state) {
        for (int type : {kFileListType, kTextureListType}) {
            w.Views().SetViewType(type);
            const std::unique_ptr<QMenu> menu = w.EntriesContextMenu();
            for (QAction* a : CommandsIn({menu.get()})) {
                if (a->text().startsWith(QStringLiteral("Sortieren"))) continue;
                EXPECT_TRUE(main.count(a)) << state << ": " << a->text().toStdString();
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
    // A menu names the entry current when it opens.
    QAction* copy = w.ActionFor(int(Command::CopyTexture));
    w.Views().SelectEntries({test::EntryNamed(w, "Gold")});
    for (QAction* top : w.menuBar()->actions())
        if (top->menu() && top->menu()->actions().contains(copy)) {
            top->menu()->popup(QPoint(0, 0));
            top->menu()->hide();
        }
    EXPECT_EQ(copy->text(), QStringLiteral("Kopiere \"Gold\""));
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

TEST_F(DesktopSession, AFilterHidingTheCurrentEntryMovesThePaneWithIt) {
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
