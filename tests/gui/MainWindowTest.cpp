// The main window under Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/MainWindow.h"

namespace sc {
namespace {

TEST(MainWindowTest, CarriesTheProgramName) {
    int argc = 1;
    char name[] = "test_gui";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    MainWindow window;
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("Swatchcraft")));
}

}  // namespace
}  // namespace sc
