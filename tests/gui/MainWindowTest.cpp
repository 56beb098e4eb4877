// The main window under Qt's offscreen platform.
#include <gtest/gtest.h>

#include "GuiApp.h"
#include "gui/MainWindow.h"

namespace sc {
namespace {

TEST(MainWindowTest, CarriesTheProgramName) {
    test::GuiApp();
    MainWindow window;
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("Swatchcraft")));
}

}  // namespace
}  // namespace sc
