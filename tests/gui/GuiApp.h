#pragma once
// The one application object of the widget tests: Qt allows one per
// process, and pictures made by one test must stay valid for the next.
#include <QApplication>

namespace sc::test {

inline QApplication& GuiApp() {
    static int argc = 1;
    static char name[] = "test_gui";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace sc::test
