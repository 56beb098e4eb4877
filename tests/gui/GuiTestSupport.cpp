#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>

#include "GuiApp.h"
#include "gui/Translation.h"
#include "gui/MessageDialogs.h"
#include "gui/OverviewDialog.h"
#include "gui/QtUserInterface.h"
#include "library/LibraryController.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolders.h"

namespace sc::test {
namespace {

// Qt's German translation for the whole test program, on the one application.
class QtEnvironment : public testing::Environment {
public:
    void SetUp() override { InstallGermanTranslation(GuiApp()); }
};

[[maybe_unused]] testing::Environment* const kQt = testing::AddGlobalTestEnvironment(new QtEnvironment);

QString Plain(QString text) { return text.remove(QLatin1Char('&')); }

}  // namespace

DialogRecorder::DialogRecorder() {
    QtUserInterface::SetBoxHook([this](QMessageBox& box) {
        texts.push_back(box.text().toStdString());
        if (onBox) onBox(box);
        QAbstractButton* chosen = box.defaultButton();
        if (next_ < buttons.size()) {
            for (QAbstractButton* b : box.buttons())
                if (Plain(b->text()).toStdString() == buttons[next_]) chosen = b;
            ++next_;
        }
        if (!chosen && !box.buttons().isEmpty()) chosen = box.buttons().front();
        if (chosen) chosen->click();
    });
    SetDialogHook([this](QDialog& dialog) {
        texts.push_back(dialog.windowTitle().toStdString());
        if (onDialog) onDialog(dialog);
        // The overview is written apart from the window; its dialog is answered once it is.
        if (auto* overview = qobject_cast<OverviewDialog*>(&dialog)) {
            EXPECT_TRUE(WaitFor([overview] { return !overview->Writing(); }));
        }
        if (acceptDialogs) dialog.accept();
        else dialog.reject();
    });
}

DialogRecorder::~DialogRecorder() {
    QtUserInterface::SetBoxHook({});
    SetDialogHook({});
}

WindowHarness::WindowHarness(std::vector<std::string> arguments, bool usablePovRay) {
    SetProgramDataDirOverride(dir / "prog");
    Restart(std::move(arguments), usablePovRay);
}

void WindowHarness::Restart(std::vector<std::string> arguments, bool usablePovRay) {
    window.reset();
    MainWindow::Options options;
    options.settingsFile = dir / "swatchcraft.ini";
    options.programDir = dir / "prog";
    options.executableDir = dir / "exe";
    options.installations = &installations;
    options.arguments = std::move(arguments);
    options.arguments.insert(options.arguments.begin(), "swatchcraft");
    options.fontDirectories = &fonts;
    if (usablePovRay) {
        installations.records.currentHome = "/usr";
        installations.records.currentVersionNo = PovInstallationProbe::VersionTextOf("/usr");
        const PovVersionText version = ParsePovVersionText(*installations.records.currentVersionNo);
        PovInstallation record(version.letter, "/usr", version.version, version.beta);
        WriteIniString(options.settingsFile, "Locations", "PovHome", "/usr");
        WriteIniString(options.settingsFile, "Locations", "PovVersion", std::to_string(record.VersionTimes100()));
        WriteIniString(options.settingsFile, "Locations", "PovMinorVersion", std::to_string(record.Letter()));
    }
    WriteIniString(options.settingsFile, "Tip", "StartUp", "1");
    window = std::make_unique<MainWindow>(options);
    auto dialogs = std::make_unique<ScriptedFileDialogs>();
    fileDialogs = dialogs.get();
    window->SetFileDialogs(std::move(dialogs));
    window->SetUrlOpener([](const QString&) { return true; });
}

WindowHarness::~WindowHarness() {
    window.reset();
    SetProgramDataDirOverride({});
}

std::string WindowHarness::WriteListFile(const std::string& name, const std::string& includeDir) {
    const std::string inc = dir.Write(includeDir + "/stones.inc",
                                      "#declare T_A = texture { pigment { rgb <1, 0, 0> } }\n"
                                      "#declare T_B = texture { pigment { rgb <0, 0, 1> } }\n");
    EXPECT_TRUE(WriteScannedList(dir / name, inc));
    return dir / name;
}

QAccessibleInterface* FindAccessible(QAccessibleInterface* root, const QString& name) {
    if (!root) return nullptr;
    if (root->text(QAccessible::Name) == name) return root;
    for (int i = 0; i < root->childCount(); ++i)
        if (QAccessibleInterface* found = FindAccessible(root->child(i), name)) return found;
    return nullptr;
}

bool PressAccessible(QWidget* window, const QString& name) {
    QAccessibleInterface* target = FindAccessible(QAccessible::queryAccessibleInterface(window), name);
    if (!target || !target->actionInterface()) return false;
    target->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    return true;
}

void RunAndSettle(MainWindow& window, int command) {
    window.RunCommand(command);
    EXPECT_TRUE(WaitFor([&] { return !window.Busy(); }));
}

void StartUpAndSettle(MainWindow& window) {
    window.StartUp();
    EXPECT_TRUE(WaitFor([&] { return !window.Busy(); }));
}

void KeyClick(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

void TypeText(QWidget* target, const QString& text) {
    for (const QChar c : text) KeyClick(target, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

void Click(QWidget* target, const QPoint& at) {
    const QPointF local(at), global(target->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    // A short event loop sleeps until something happens, where processEvents
    // would spin and take a core from the POV-Ray the test waits for.
    while (!done() && clock.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

TextureEntry* EntryNamed(MainWindow& window, const std::string& name) {
    return EntryNamed(window.Controller().Library(), name);
}

std::string WriteLibrary(WindowHarness& harness, const std::string& declarations) {
    EXPECT_TRUE(WriteScannedList(harness.dir / "lib.swl", harness.dir.Write("inc/lib.inc", declarations)));
    return harness.dir / "lib.swl";
}

}  // namespace sc::test
