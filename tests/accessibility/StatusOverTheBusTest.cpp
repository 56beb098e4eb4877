// The window as a screen reader meets it: through the accessibility bus,
// from another process. Runs under scripts/with-accessibility-bus.sh (a
// private display and session bus, Qt's accessibility on).
#include <gtest/gtest.h>

#include <unistd.h>

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include "gui/LibraryViewStack.h"
#include "gui/MainWindow.h"
#include "gui/StatusBarWithProgress.h"
#include "GuiApp.h"
#include "GuiTestSupport.h"
#include "library/LibraryController.h"
#include "library/TextureEntry.h"

namespace sc {
namespace {

using test::WaitFor;

// What the probe prints about the object described so, read from outside
// while this process goes on serving the bus.
QString ReadThroughTheBus(const QString& description) {
    QProcess probe;
    probe.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral(SWATCHCRAFT_SOURCE_DIR "/tests/accessibility/atspi_probe.py"),
                 QString::number(getpid()), QStringLiteral("read"), description});
    WaitFor([&] { return probe.state() == QProcess::NotRunning; }, 60000);
    return QString::fromUtf8(probe.readAllStandardOutput() + probe.readAllStandardError());
}

TEST(AccessibilityBusTest, StatusTextAfterASelectionIsReadThroughTheBus) {
    test::GuiApp();
    // The bridge comes up once the application has reached the bus.
    ASSERT_TRUE(WaitFor([] { return QAccessible::isActive(); }, 10000)) << "needs scripts/with-accessibility-bus.sh";
    test::DialogRecorder recorder;  // the first start's question about POV-Ray
    test::WindowHarness h;
    MainWindow& w = *h.window;
    w.show();
    test::StartUpAndSettle(w);
    h.fileDialogs->answer = h.WriteListFile("lib.swl");
    ASSERT_TRUE(test::PressAccessible(&w, QStringLiteral("Öffnen")));
    ASSERT_TRUE(test::WaitFor([&] { return !w.Busy(); }));
    ASSERT_EQ(w.Controller().EntryCount(), 2);
    TextureEntry* first = w.Controller().Library().NextEntry(nullptr);
    w.Views().SelectEntries({first, w.Controller().Library().NextEntry(first)});
    ASSERT_TRUE(WaitFor([&] { return w.Status().Text().endsWith(QStringLiteral(", 2 ausgewählt")); }))
        << w.Status().Text().toStdString();

    const QString read = ReadThroughTheBus(QStringLiteral("Statuszeile"));
    EXPECT_TRUE(read.contains(QStringLiteral("name: ") + w.Status().Text())) << read.toStdString();
    EXPECT_TRUE(read.contains(QStringLiteral("text: ") + w.Status().Text())) << read.toStdString();
}

}  // namespace
}  // namespace sc
