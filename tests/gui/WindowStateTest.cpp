// The window keeps its state straight around deletes, drops and background
// renders: "Alle löschen" in the only-selected mode, files dropped while the
// background render runs, why background renders failed, and the menu items
// that name the current entry.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <functional>

#include "GuiTestSupport.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/PreviewPaneController.h"
#include "gui/PreviewWindow.h"
#include "gui/StatusBarWithProgress.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "library/TextureEntry.h"
#include "scanner/TextureSearch.h"

namespace sc {
namespace {

using test::DialogRecorder;
using test::EntryNamed;
using test::WaitFor;
using test::WindowHarness;
using test::WriteLibrary;

// Sends a drag of `path` and, when the window takes it, the drop; true when taken.
bool Drop(MainWindow& w, const std::string& path) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    const QPointF at(w.width() / 2.0, w.height() / 2.0);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    // A dropped list file is read on a worker.
    EXPECT_TRUE(test::WaitFor([&] { return !w.Busy(); }));
    return enter.isAccepted() && drop.isAccepted();
}

std::string Names(const std::vector<TextureEntry*>& entries) {
    std::string names;
    for (const TextureEntry* e : entries) names += e->name + " ";
    return names;
}

TEST(WindowStateTest, DeletingAllShownInTheOnlySelectedModeShowsWhatIsLeft) {
    WindowHarness h;
    DialogRecorder recorder;
    MainWindow& w = *h.window;
    test::StartUpAndSettle(w);
    h.fileDialogs->answer = WriteLibrary(h,
                                         "#declare T_A = texture { pigment { rgb 1 } }\n"
                                         "#declare T_B = texture { pigment { rgb 0 } }\n"
                                         "#declare T_C = texture { pigment { rgb 0.5 } }\n");
    test::RunAndSettle(w, int(Command::Open));
    w.RunCommand(int(Command::TextureList));
    w.Views().SelectEntries({EntryNamed(w, "T_A"), EntryNamed(w, "T_B")});
    w.RunCommand(int(Command::OnlySelected));
    ASSERT_TRUE(w.Views().OnlySelectedShown());
    ASSERT_EQ(Names(w.Views().EntriesInListOrder()), "T_A T_B ");

    recorder.buttons = {"Ja"};
    w.RunCommand(int(Command::DeleteAll));
    EXPECT_EQ(w.Controller().EntryCount(), 1);
    EXPECT_FALSE(w.Views().OnlySelectedShown());
    EXPECT_FALSE(w.Controller().onlyMarkedShown);
    EXPECT_FALSE(w.ActionFor(int(Command::OnlySelected))->isChecked());
    EXPECT_EQ(Names(w.Views().EntriesInListOrder()), "T_C ");
    w.RefreshStatusText();
    EXPECT_TRUE(w.Status().Text().startsWith(QStringLiteral("1 Eintrag"))) << w.Status().Text().toStdString();
}

TEST(WindowStateTest, MenuItemsNameTheCurrentEntry) {
    WindowHarness h;
    DialogRecorder recorder;
    MainWindow& w = *h.window;
    test::StartUpAndSettle(w);
    h.fileDialogs->answer = h.WriteListFile("lib.swl");
    test::RunAndSettle(w, int(Command::Open));
    QAction* copy = w.ActionFor(int(Command::CopyTexture));
    QAction* edit = w.ActionFor(int(Command::EditWithPov));
    QMenu* menu = nullptr;
    for (QAction* top : w.menuBar()->actions())
        if (top->menu() && top->menu()->actions().contains(copy)) menu = top->menu();
    ASSERT_TRUE(menu);
    for (const char* name : {"T_B", "T_A"}) {
        w.Views().SelectEntries({EntryNamed(w, name)});
        menu->popup(QPoint(0, 0));
        EXPECT_TRUE(copy->text().startsWith(QStringLiteral("Kopiere \"%1\"").arg(name))) << copy->text().toStdString();
        EXPECT_TRUE(edit->text().startsWith(QStringLiteral("\"%1\"").arg(name)) ||
                    edit->text().startsWith(QStringLiteral("\"stones.inc\"")))
            << edit->text().toStdString();
        menu->hide();
    }
}

TEST(WindowStateTest, BackgroundRenderRefusesDropsAndKeepsWhyEntriesFailed) {
    WindowHarness h({}, true);
    DialogRecorder recorder;
    MainWindow& w = *h.window;
    w.show();
    test::StartUpAndSettle(w);
    h.fileDialogs->answer = WriteLibrary(h,
                                         "#declare T_Red = texture { pigment { rgb <1, 0, 0> } }\n"
                                         "#declare T_Bad = texture { pigment { rgb 1 } finish { no_such_thing } }\n"
                                         "#declare T_Hang = texture { pigment { rgb 1 } #while (1) #end }\n");
    test::RunAndSettle(w, int(Command::Open));
    const std::string other = h.WriteListFile("other.swl");
    TextureEntry* bad = EntryNamed(w, "T_Bad");
    ASSERT_TRUE(bad);
    w.Views().SelectEntries({bad});

    w.RunCommand(int(Command::BackgroundRender));
    ASSERT_TRUE(w.RenderingInBackground());
    const size_t questions = recorder.texts.size();
    EXPECT_FALSE(Drop(w, other));
    EXPECT_FALSE(Drop(w, h.dir / "inc/stones.inc"));
    EXPECT_EQ(w.Document().Path(), h.dir / "lib.swl");
    EXPECT_EQ(recorder.texts.size(), questions);

    // The failed entry shows POV-Ray's report where its picture would be, as soon as it failed.
    ASSERT_TRUE(WaitFor([&] { return !w.Area().Picture()->FailureText().isEmpty(); }));
    const QString report = w.Area().Picture()->FailureText();
    EXPECT_TRUE(report.contains(QStringLiteral("no_such_thing")) || report.contains(QStringLiteral("rror")))
        << report.toStdString();
    w.Pane().CancelBackgroundRender();
    ASSERT_TRUE(WaitFor([&] { return !w.RenderingInBackground(); }));
    EXPECT_TRUE(w.Status().Text().contains(QStringLiteral("T_Bad: "))) << w.Status().Text().toStdString();

    w.Views().SelectEntries({EntryNamed(w, "T_Red")});
    EXPECT_TRUE(w.Area().Picture()->FailureText().isEmpty());
    w.Views().SelectEntries({bad});
    EXPECT_EQ(w.Area().Picture()->FailureText(), report);

    // Once the render is over, drops open files again; the failures go with the old entries.
    recorder.buttons = {"Nein"};  // the stored picture is not saved
    EXPECT_TRUE(Drop(w, other));
    EXPECT_EQ(w.Document().Path(), other);
    EXPECT_TRUE(w.Area().Picture()->FailureText().isEmpty());
}

}  // namespace
}  // namespace sc
