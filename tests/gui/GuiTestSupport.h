#pragma once
// What the window tests share: one QApplication with Qt's German
// translation for the whole program, a main window over private folders and
// a fake POV-Ray probe, and hooks that answer message boxes and dialogs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/MainWindow.h"
#include "TestEnvironment.h"
#include "tests/ui/FakeDesktop.h"

namespace sc::test {

// Records every message box and dialog the window opens and answers them:
// boxes with the button whose text (without '&') is next in `buttons`
// (else the default button), dialogs by rejecting unless `acceptDialogs`.
class DialogRecorder {
public:
    DialogRecorder();
    ~DialogRecorder();
    std::vector<std::string> texts;  // box texts and dialog titles, in order
    std::vector<std::string> buttons;
    bool acceptDialogs = false;
    std::function<void(QDialog&)> onDialog;  // runs before the dialog is answered
    std::function<void(QMessageBox&)> onBox;  // runs before the box is answered
    // Answers the boxes from now on with `next`, forgetting what was left of `buttons`.
    void AnswerWith(std::vector<std::string> next) {
        buttons = std::move(next);
        next_ = 0;
    }

private:
    size_t next_ = 0;
};

// A main window over a private settings file and program folder.
struct WindowHarness {
    explicit WindowHarness(std::vector<std::string> arguments = {}, bool usablePovRay = false);
    ~WindowHarness();
    TempDir dir;
    FakeInstallations installations;
    std::vector<std::string> fonts;
    ScriptedFileDialogs* fileDialogs = nullptr;
    std::unique_ptr<MainWindow> window;

    // Closes the window and starts a new one over the same folders, as a
    // second run of the program would.
    void Restart(std::vector<std::string> arguments = {}, bool usablePovRay = false);
    // A list file with two textures (T_A, T_B) from `includeDir`/stones.inc in the folder.
    std::string WriteListFile(const std::string& name, const std::string& includeDir = "inc");
};

// Starts the window and waits until the list it opens is read.
void StartUpAndSettle(MainWindow& window);

// A started window, shown and active, with every box and dialog answered.
struct StartedWindow : testing::Test {
    WindowHarness h;
    DialogRecorder recorder;
    MainWindow& w = *h.window;
    StartedWindow() {
        w.show();
        QApplication::setActiveWindow(&w);
        StartUpAndSettle(w);
    }
};

// The control of type T inside `root` whose text (a button's) or accessible
// name (any other control's) is `textOrName`; a test failure when none is.
template <typename T>
T* Control(QWidget* root, const QString& textOrName) {
    for (T* w : root->findChildren<T*>()) {
        if constexpr (std::is_base_of_v<QAbstractButton, T>) {
            if (w->text() == textOrName) return w;
        } else if (w->accessibleName() == textOrName) {
            return w;
        }
    }
    ADD_FAILURE() << "no control " << textOrName.toStdString();
    return nullptr;
}

// The accessible object of `root` or a descendant named `name`, or null.
QAccessibleInterface* FindAccessible(QAccessibleInterface* root, const QString& name);
// Presses the control named `name` inside the window through its accessible action.
bool PressAccessible(QWidget* window, const QString& name);

// Key and mouse events as the window system delivers them to a widget: a key
// press is offered to the shortcuts first, as a real one is.
void KeyClick(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {});
void TypeText(QWidget* target, const QString& text);
void Click(QWidget* target, const QPoint& at);

// Lets the event loop run until `done` holds or `ms` have passed; says
// whether it holds.
bool WaitFor(const std::function<bool()>& done, int ms = 60000);
// Runs `command` and waits until the work it started is through: a list
// file is read and written on a worker while the window is busy.
void RunAndSettle(MainWindow& window, int command);
// The entry of that name in the window's library, or null.
TextureEntry* EntryNamed(MainWindow& window, const std::string& name);

// Scans `declarations` as inc/lib.inc and saves them as lib.swl in the
// harness's folder; returns the list file's path.
std::string WriteLibrary(WindowHarness& harness, const std::string& declarations);

}  // namespace sc::test
