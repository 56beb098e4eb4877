// "Vorschaubilder im &Hintergrund berechnen" with the real POV-Ray, driven by
// the window's event loop: pictures arrive while the window stays usable,
// and Escape stops every render.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>

#include <functional>

#include "GuiTestSupport.h"
#include "gui/LibraryViewStack.h"
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

TEST(BackgroundRenderTest, PicturesArriveWhileTheWindowStaysUsableAndEscapeStopsTheRest) {
    WindowHarness h({}, true);
    DialogRecorder recorder;
    MainWindow& w = *h.window;
    w.show();
    QApplication::setActiveWindow(&w);  // keys reach the active window only
    test::StartUpAndSettle(w);
    h.fileDialogs->answer = WriteLibrary(h,
                                         "#declare T_Red = texture { pigment { rgb <1, 0, 0> } }\n"
                                         "#declare T_Hang = texture { pigment { rgb 1 } #while (1) #end }\n");
    test::RunAndSettle(w, int(Command::Open));
    TextureEntry* red = EntryNamed(w, "T_Red");
    ASSERT_TRUE(red);

    // Fewer than two selected: every entry without a preview.
    w.RunCommand(int(Command::BackgroundRender));
    ASSERT_TRUE(w.RenderingInBackground());
    EXPECT_FALSE(w.ActionFor(int(Command::Open))->isEnabled());
    EXPECT_FALSE(w.ActionFor(int(Command::BackgroundRender))->isEnabled());
    EXPECT_TRUE(w.ActionFor(int(Command::SelectAll))->isEnabled());
    EXPECT_TRUE(w.Status().ProgressShown());
    ASSERT_TRUE(WaitFor([&] { return red->previewValid; }));
    EXPECT_TRUE(w.RenderingInBackground());  // the endless one still runs
    // The progress text follows within a quarter of a second.
    EXPECT_TRUE(WaitFor([&] { return w.Status().Text().contains(QStringLiteral("1 von 2 fertig")); }));

    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &w.Views();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &escape);
    EXPECT_FALSE(w.RenderingInBackground());
    EXPECT_FALSE(w.Status().ProgressShown());
    EXPECT_EQ(w.Status().Text(), QStringLiteral("Abgebrochen. 1 von 2 Vorschauen berechnet, 0 fehlerhaft."));
    EXPECT_EQ(w.Controller().FaultyCount(), 0);
    EXPECT_TRUE(w.ActionFor(int(Command::Open))->isEnabled());
    EXPECT_TRUE(red->previewValid);
}

}  // namespace
}  // namespace sc
