// The program end to end on a display, with the real POV-Ray and render
// host: driven through its accessible names as a screen reader would.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

#include <fstream>

#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "GuiTestSupport.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"
#include "scanner/TextureSearch.h"

namespace sc {
namespace {

using test::DialogRecorder;
using test::PressAccessible;
using test::WindowHarness;

// Lets the event loop run until `done` holds or a minute has passed.
bool WaitFor(const std::function<bool()>& done, int ms = 60000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

// The render hosts this test program started (its children of that name).
std::vector<pid_t> OwnRenderHosts() {
    std::vector<pid_t> hosts;
    DIR* proc = opendir("/proc");
    while (dirent* item = proc ? readdir(proc) : nullptr) {
        const pid_t pid = static_cast<pid_t>(std::atoi(item->d_name));
        if (pid <= 0) continue;
        std::ifstream stat("/proc/" + std::string(item->d_name) + "/stat");
        std::string line;
        std::getline(stat, line);
        const size_t close = line.rfind(')');
        if (close == std::string::npos || line.find("(swatchcraft-pov") == std::string::npos) continue;
        int parent = 0;
        char state = 0;
        std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent);
        if (parent == getpid() && state != 'Z') hosts.push_back(pid);
    }
    if (proc) closedir(proc);
    return hosts;
}

struct EndToEnd : testing::Test {
    WindowHarness h{{}, true};
    DialogRecorder recorder;
    MainWindow& w = *h.window;

    void SetUp() override {
        w.show();
        w.StartUp();
        h.fileDialogs->answer = h.WriteListFile("lib.swl");
        ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Öffnen")));
        ASSERT_EQ(w.Controller().entryCount, 2);
        TextureEntry* second = w.Controller().Library().NextEntry(w.Controller().Library().NextEntry(nullptr));
        w.Views().SelectEntries({second});
        ASSERT_TRUE(WaitFor([&] { return w.CurrentEntry() == second; }));
        // The take-over hint is confirmed as it opens.
        recorder.acceptDialogs = true;
    }
    void TearDown() override {
        // Exit ends the render host this window started, without a question.
        w.Controller().modified = 0;
        const size_t shown = recorder.texts.size();
        w.close();
        EXPECT_EQ(recorder.texts.size(), shown) << recorder.texts.back();
        h.window.reset();
        EXPECT_TRUE(WaitFor([] { return OwnRenderHosts().empty(); }, 5000));
    }
    // Whether any dialog so far showed `text`.
    bool Shown(const std::string& text) const {
        for (const std::string& shown : recorder.texts)
            if (shown.find(text) != std::string::npos) return true;
        return false;
    }
    bool Rendering() { return w.Rendering(); }
    // Opens a list with one material whose render takes a while.
    void OpenSlowLibrary();
};

TEST_F(EndToEnd, RenderedPictureIsTakenOverSavedAndTheCloseQuestionAsked) {
    TextureEntry* entry = w.CurrentEntry();
    ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Anzeigen")));
    ASSERT_TRUE(WaitFor([&] { return Rendering(); })) << ::testing::PrintToString(recorder.texts);
    ASSERT_TRUE(WaitFor([&] { return !Rendering() && w.Area().ArrowButton()->isEnabled(); }))
        << ::testing::PrintToString(recorder.texts);
    EXPECT_TRUE(entry->preview.IsEmpty());  // shown, not stored
    // The render host's settings were written without a word.
    EXPECT_FALSE(Shown("Einstellungen")) << ::testing::PrintToString(recorder.texts);
    EXPECT_EQ(recorder.texts.back(), "Swatchcraft");  // the take-over hint
    ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Vorschau übernehmen")));
    EXPECT_FALSE(entry->preview.IsEmpty());
    EXPECT_NE(w.Controller().modified, 0);
    ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Speichern")));
    EXPECT_EQ(w.Controller().modified, 0);

    test::RecordingUserInterface quiet;
    LibraryController reread(quiet);
    std::string home;
    float version = 0;
    ASSERT_TRUE(LoadLibrary(reread, h.dir / "lib.swl", home, version, false));
    const TextureEntry* stored = reread.Library().NextEntry(reread.Library().NextEntry(nullptr));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->name, entry->name);
    EXPECT_EQ(stored->preview.jpegData, entry->preview.jpegData);
    EXPECT_TRUE(stored->previewValid);

    w.Controller().modified = 1;
    recorder.buttons = {"Abbrechen"};
    EXPECT_FALSE(w.close());
    EXPECT_EQ(recorder.texts.back(), "Änderungen speichern unter \"" + h.dir / "lib.swl" + "\"?");
    EXPECT_TRUE(w.isVisible());
}

TEST_F(EndToEnd, RenderHostDyingEndsTheRunAndLeavesTheWindowUsable) {
    OpenSlowLibrary();
    ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Anzeigen")));
    // The render is handed to the host once the button offers to stop it.
    ASSERT_TRUE(WaitFor([&] { return w.Area().ShowButton()->text() == QStringLiteral("&Stop"); }));
    const std::vector<pid_t> hosts = OwnRenderHosts();
    ASSERT_FALSE(hosts.empty());
    for (const pid_t host : hosts) kill(host, SIGKILL);
    ASSERT_TRUE(WaitFor([&] { return !Rendering(); }));
    EXPECT_TRUE(w.ActionFor(int(Command::Open))->isEnabled());
    EXPECT_EQ(w.Area().ShowButton()->text(), QStringLiteral("&Anzeigen"));
    EXPECT_TRUE(w.CurrentEntry()->preview.IsEmpty());
    ASSERT_FALSE(recorder.texts.empty());
    EXPECT_NE(recorder.texts.back().find("Fehler"), std::string::npos) << recorder.texts.back();
}

// Alt+S is "&Stop"'s mnemonic, although Strg+S saves; the keyboard goes back to the entries afterwards.
TEST_F(EndToEnd, AltSStopsTheRenderAndTheKeyboardReturnsToTheEntries) {
    OpenSlowLibrary();
    QApplication::setActiveWindow(&w);
    w.Views().FocusShownView();
    QWidget* entries = QApplication::focusWidget();
    ASSERT_TRUE(entries && w.Views().isAncestorOf(entries));
    ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Anzeigen")));
    ASSERT_TRUE(WaitFor([&] { return w.Area().ShowButton()->text() == QStringLiteral("&Stop"); }));
    QKeyEvent altS(QEvent::KeyPress, Qt::Key_S, Qt::AltModifier, QStringLiteral("s"));
    QApplication::sendEvent(QApplication::focusWidget(), &altS);
    ASSERT_TRUE(WaitFor([&] { return !Rendering(); }));
    EXPECT_EQ(w.Area().ShowButton()->text(), QStringLiteral("&Anzeigen"));
    EXPECT_EQ(QApplication::focusWidget(), entries);
}

void EndToEnd::OpenSlowLibrary() {
    // Media makes the render take long enough to be cut short.
    const std::string inc = h.dir.Write(
        "slow/slow.inc",
        "#declare M_Slow = material { texture { pigment { rgbt <1, 1, 1, 0.9> } }\n"
        "  interior { media { scattering { 1, 0.3 } samples 100, 100 intervals 20 } } }\n");
    test::RecordingUserInterface quiet;
    LibraryController slow(quiet);
    SearchOptions options;
    options.kinds = {false, true, false, false, false, false, false};
    options.explicitFiles = {inc};
    SearchTextures(slow, options);
    ASSERT_TRUE(SaveLibrary(slow, h.dir / "slow.swl", ""));
    h.fileDialogs->answer = h.dir / "slow.swl";
    ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Öffnen")));
    ASSERT_TRUE(WaitFor([&] { return w.CurrentEntry() && w.CurrentEntry()->name == "M_Slow"; }));
}

}  // namespace
}  // namespace sc
