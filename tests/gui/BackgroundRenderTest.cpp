// "Vorschaubilder im &Hintergrund berechnen" with the real POV-Ray, driven by
// the window's event loop: pictures arrive while the window stays usable,
// files dropped meanwhile are refused, why an entry failed stays with it, and
// Escape stops every render.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

#include "GuiTestSupport.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/PreviewWindow.h"
#include "gui/StatusBarWithProgress.h"
#include "library/LibraryController.h"
#include "library/TextureEntry.h"

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

TEST(BackgroundRenderTest, TheWindowStaysUsableDropsAreRefusedAndFailuresAreKept) {
    WindowHarness h({}, true);
    DialogRecorder recorder;
    MainWindow& w = *h.window;
    w.show();
    QApplication::setActiveWindow(&w);  // keys reach the active window only
    test::StartUpAndSettle(w);
    h.fileDialogs->answer = WriteLibrary(h,
                                         "#declare T_Red = texture { pigment { rgb <1, 0, 0> } }\n"
                                         "#declare T_Bad = texture { pigment { rgb 1 } finish { no_such_thing } }\n"
                                         "#declare T_Hang = texture { pigment { rgb 1 } #while (1) #end }\n");
    test::RunAndSettle(w, int(Command::Open));
    const std::string other = h.WriteListFile("other.swl");
    TextureEntry* bad = EntryNamed(w, "T_Bad");
    TextureEntry* red = EntryNamed(w, "T_Red");
    ASSERT_TRUE(bad && red);
    w.Views().SelectEntries({bad});

    // Fewer than two selected: every entry without a preview.
    w.RunCommand(int(Command::BackgroundRender));
    ASSERT_TRUE(w.RenderingInBackground());
    const auto enabled = [&](Command c) { return w.ActionFor(int(c))->isEnabled(); };
    EXPECT_TRUE(!enabled(Command::Open) && !enabled(Command::BackgroundRender) && enabled(Command::SelectAll));
    EXPECT_TRUE(w.Status().ProgressShown());
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
    ASSERT_TRUE(WaitFor([&] { return red->previewValid; }));
    EXPECT_TRUE(w.RenderingInBackground());  // the endless one still runs
    // The progress text follows within a quarter of a second.
    EXPECT_TRUE(WaitFor([&] { return w.Status().Text().contains(QStringLiteral("2 von 3 fertig")); }))
        << w.Status().Text().toStdString();

    test::KeyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w.Views(), Qt::Key_Escape);
    EXPECT_FALSE(w.RenderingInBackground() || w.Status().ProgressShown());
    EXPECT_TRUE(w.Status().Text().startsWith(
        QStringLiteral("Abgebrochen. 1 von 3 Vorschauen berechnet, 1 fehlerhaft. T_Bad: ")))
        << w.Status().Text().toStdString();
    EXPECT_TRUE(enabled(Command::Open) && red->previewValid);

    w.Views().SelectEntries({red});
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
