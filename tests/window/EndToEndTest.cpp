// The program end to end on a display, with the real POV-Ray and render
// host: driven through its accessible names as a screen reader would.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>
#include <QWindow>

#include <map>
#include <sstream>

#include "gui/DeclarationBox.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/PictureGridView.h"
#include "gui/PreviewPaneController.h"
#include "gui/PreviewPicture.h"
#include "gui/PreviewWindow.h"
#include "GuiTestSupport.h"
#include "RunningTool.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "scanner/TextureSearch.h"

namespace sc {
namespace {

using test::DialogRecorder;
using test::PressAccessible;
using test::WaitFor;
using test::WindowHarness;

// Counts the large renders that start while the event loop runs (`Watch`), or
// notes the side of each new picture the pane shows (`Shown`).
class PaneWatch {
public:
    explicit PaneWatch(MainWindow& window) : window_(window) {}
    // Runs the event loop in short turns until `done` holds or `ms` have passed, looking after each turn.
    bool Watch(int ms, const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < ms) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            const bool now = window_.Pane().LargeRendering();
            renders += now && !rendering;
            rendering = now;
            const int width = window_.Area().Picture()->ScreenCopy().width();
            if (shown.empty() || shown.back() != width) shown.push_back(width);
        }
        return done();
    }
    void Idle(int ms) { Watch(ms, [] { return false; }); }

    int renders = 0;
    bool rendering = false;
    std::vector<int> shown;

private:
    MainWindow& window_;
};

// The render hosts this test program started and that have not ended.
std::vector<pid_t> OwnRenderHosts() {
    std::vector<pid_t> hosts;
    for (const pid_t pid : test::ChildProcesses()) {
        const std::string stat = test::ReadFile("/proc/" + std::to_string(pid) + "/stat");
        if (stat.find("(swatchcraft-pov") != std::string::npos && stat.find(") Z ") == std::string::npos)
            hosts.push_back(pid);
    }
    return hosts;
}

// Processor ticks POV-Ray processes below `folder` have used so far, by process.
std::map<pid_t, long> PovRayTicksBelow(const std::string& folder) {
    std::map<pid_t, long> ticks;
    for (const pid_t pid : test::ProcessesUsing(folder)) {
        const std::string line = test::ReadFile("/proc/" + std::to_string(pid) + "/stat");
        const size_t close = line.rfind(')');
        if (close == std::string::npos || line.find("(povray)") == std::string::npos) continue;
        std::istringstream fields(line.substr(close + 2));
        std::string state, field;
        fields >> state;
        long used = 0;
        for (int i = 4; i <= 15 && fields >> field; ++i)
            if (i >= 14) used += std::atol(field.c_str());  // user and system time
        if (state != "Z") ticks[pid] = used;
    }
    return ticks;
}

// The POV-Rays below `folder` that compute (rather than wait for a scene):
// those that use a tenth of a processor or more over half a second.
std::vector<pid_t> WorkingPovRays(const std::string& folder) {
    const std::map<pid_t, long> before = PovRayTicksBelow(folder);
    WaitFor([] { return false; }, 500);  // sleeping, so as not to take the processor measured
    std::vector<pid_t> working;
    const long enough = sysconf(_SC_CLK_TCK) / 20;
    for (const auto& [pid, ticks] : PovRayTicksBelow(folder)) {
        const auto was = before.find(pid);
        if (was != before.end() && ticks - was->second >= enough) working.push_back(pid);
    }
    return working;
}

bool Alive(pid_t pid) {
    const std::string line = test::ReadFile("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = line.rfind(')');
    return close != std::string::npos && line.compare(close + 2, 1, "Z") != 0;
}

struct EndToEnd : testing::Test {
    WindowHarness h{{}, true};
    DialogRecorder recorder;
    MainWindow& w = *h.window;

    void SetUp() override {
        w.show();
        test::StartUpAndSettle(w);
        OpenWithSecondCurrent(w, h.WriteListFile("lib.swl"));
        ASSERT_EQ(w.Controller().EntryCount(), 2);
        // The take-over hint is confirmed as it opens.
        recorder.acceptDialogs = true;
    }
    void TearDown() override {
        // Exit ends the render host this window started, without a question.
        h.window->Controller().modified = 0;
        const size_t shown = recorder.texts.size();
        h.window->close();
        EXPECT_EQ(recorder.texts.size(), shown) << recorder.texts.back();
        h.window.reset();
        EXPECT_TRUE(WaitFor([] { return OwnRenderHosts().empty(); }, 5000));
        // The POV-Rays started ahead of a click end with the window, used or not.
        EXPECT_TRUE(WaitFor([&] { return test::PovRaysBelow(h.dir.Path()) == 0; }, 10000));
    }
    // Whether any dialog so far showed `text`.
    bool Shown(const std::string& text) const {
        for (const std::string& shown : recorder.texts)
            if (shown.find(text) != std::string::npos) return true;
        return false;
    }
    bool Rendering() { return w.Rendering(); }
    // Opens `list` through the toolbar and makes its second entry current.
    void OpenWithSecondCurrent(MainWindow& v, const std::string& list) {
        h.fileDialogs->answer = list;
        ASSERT_TRUE(PressAccessible(&v, QStringLiteral("Öffnen")));
        ASSERT_TRUE(WaitFor([&] { return !v.Busy(); }));
        TextureEntry* second = v.Controller().Library().NextEntry(v.Controller().Library().NextEntry(nullptr));
        v.Views().SelectEntries({second});
        ASSERT_TRUE(WaitFor([&] { return v.CurrentEntry() == second; }));
    }
    // Opens a list with a material whose render takes a while (current) and a plain texture.
    void OpenSlowLibrary(const std::string& extra = "");
    // Starts the program again with a wide preview pane and "Groß" on, T_B current.
    MainWindow& RestartWide();
};

MainWindow& EndToEnd::RestartWide() {
    h.window->Controller().modified = 0;
    h.window->close();
    const std::string ini = h.dir / "swatchcraft.ini";
    for (const auto& [key, value] : {std::pair{"cx", "900"}, {"cy", "740"}, {"NormalListWidth", "420"},
                                     {"NormalContentWidth", "460"}})
        WriteIniString(ini, "MainWindow", key, value);
    WriteIniString(ini, "Preview", "Large", "1");
    h.Restart({}, true);
    MainWindow& v = *h.window;
    v.show();
    test::StartUpAndSettle(v);
    OpenWithSecondCurrent(v, h.dir / "lib.swl");
    return v;
}

// How far two pictures of one size lie apart, as the mean difference of their colour values.
double MeanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB888), y = b.convertToFormat(QImage::Format_RGB888);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int i = 0; i < x.width() * 3; ++i) sum += std::abs(x.constScanLine(row)[i] - y.constScanLine(row)[i]);
    return sum / (x.width() * x.height() * 3.0);
}

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
    EXPECT_EQ(w.windowHandle()->title(), QStringLiteral("Swatchcraft [lib.swl]"));
    ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Vorschau übernehmen")));
    EXPECT_FALSE(entry->preview.IsEmpty());
    EXPECT_NE(w.Controller().modified, 0);
    // The title shows the change not saved yet, as every desktop program does.
    EXPECT_TRUE(WaitFor([&] { return w.windowHandle()->title() == QStringLiteral("Swatchcraft [lib.swl]*"); }))
        << w.windowHandle()->title().toStdString();
    ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Speichern")));
    ASSERT_TRUE(WaitFor([&] { return !w.Busy(); }));
    EXPECT_EQ(w.Controller().modified, 0);
    EXPECT_EQ(w.windowHandle()->title(), QStringLiteral("Swatchcraft [lib.swl]"));

    test::RecordingUserInterface quiet;
    LibraryController reread(quiet);
    ASSERT_TRUE(test::LoadListFile(reread, h.dir / "lib.swl"));
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
    EXPECT_EQ(w.Area().ShowButton()->text(), QStringLiteral("Anz&eigen"));
    EXPECT_TRUE(w.CurrentEntry()->preview.IsEmpty());
    ASSERT_FALSE(recorder.texts.empty());
    EXPECT_NE(recorder.texts.back().find("Fehler"), std::string::npos) << recorder.texts.back();
}

// Stop ends the POV-Ray that works on the picture, whether it still parses
// the declaration or already renders rows, by the button or by Escape.
TEST_F(EndToEnd, StopWhileParsingOrRenderingEndsTheWorkingPovRay) {
    OpenSlowLibrary("#declare T_Hang = texture { pigment { rgb 1 } #while (1) #end }\n");
    QApplication::setActiveWindow(&w);
    for (const auto& [name, byButton] : {std::pair{"T_Hang", true}, {"M_Slow", false}}) {
        SCOPED_TRACE(name);
        w.Views().SelectEntries({test::EntryNamed(w, name)});
        ASSERT_TRUE(WaitFor([&] { return w.CurrentEntry() && w.CurrentEntry()->name == name; }));
        ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Anzeigen")));
        std::vector<pid_t> working;
        ASSERT_TRUE(WaitFor([&] { return (working = WorkingPovRays(h.dir.Path())).size() == 1; }, 20000));
        ASSERT_TRUE(Rendering());
        if (byButton)
            ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Stop")));
        else
            test::KeyClick(QApplication::focusWidget(), Qt::Key_Escape);
        ASSERT_TRUE(WaitFor([&] { return !Rendering(); }));
        EXPECT_TRUE(WaitFor([&] { return !Alive(working.front()); }, 5000));
        EXPECT_TRUE(w.CurrentEntry()->preview.IsEmpty());
    }
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
    EXPECT_EQ(w.Area().ShowButton()->text(), QStringLiteral("Anz&eigen"));
    EXPECT_EQ(QApplication::focusWidget(), entries);
}

// A run over several entries renders each with its own declaration, also
// the one the pane never showed before the run.
TEST_F(EndToEnd, ARunOfSeveralEntriesRendersEachWithItsOwnDeclaration) {
    OpenSlowLibrary();
    TextureEntry* plain = test::EntryNamed(w, "T_Plain");
    TextureEntry* pigment = test::EntryNamed(w, "P_Plain");
    ASSERT_TRUE(plain && pigment);
    w.Views().SelectEntries({plain, pigment});
    ASSERT_TRUE(WaitFor([&] { return w.Views().SelectedEntries().size() == 2u; }));
    ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Anzeigen")));
    ASSERT_TRUE(WaitFor([&] { return Rendering(); }));
    ASSERT_TRUE(WaitFor([&] { return !Rendering(); }));
    EXPECT_FALSE(plain->preview.IsEmpty());
    EXPECT_FALSE(pigment->preview.IsEmpty());
    for (const std::string& text : recorder.texts) EXPECT_EQ(text.find("nicht berechnet"), std::string::npos) << text;
}

// The arrow stores only the picture just rendered for the entry shown. The
// pane-sized picture that follows it stops with "&Stop" or Escape, and the
// picture the arrow would store is back in its place, not a cross-hatch.
TEST_F(EndToEnd, LargeFollowUpStopsAndTheArrowNeverStoresAnotherEntrysPicture) {
    OpenSlowLibrary();
    TextureEntry* slow = test::EntryNamed(w, "M_Haze");
    w.Views().SelectEntries({slow});
    ASSERT_TRUE(WaitFor([&] { return w.CurrentEntry() == slow; }));
    TextureEntry* plain = test::EntryNamed(w, "T_Plain");
    ASSERT_TRUE(plain);
    ASSERT_GT(w.Pane().FitSide(), 0);
    QApplication::setActiveWindow(&w);
    PreviewWindow* picture = w.Area().Picture();
    for (const char* stop : {"button", "Escape"}) {
        SCOPED_TRACE(stop);
        ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Anzeigen")));
        ASSERT_TRUE(WaitFor([&] { return !Rendering() && w.Pane().LargeRendering(); }));
        EXPECT_EQ(w.Area().ShowButton()->text(), QStringLiteral("&Stop"));
        EXPECT_TRUE(w.Area().ShowButton()->isEnabled());
        if (std::string(stop) == "button")
            ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Stop")));
        else
            test::KeyClick(QApplication::focusWidget(), Qt::Key_Escape);
        // The accessible press clicks the button a moment later, as a real click would come.
        ASSERT_TRUE(WaitFor([&] { return !w.Pane().LargeRendering(); }));
        EXPECT_EQ(w.Area().ShowButton()->text(), QStringLiteral("Anz&eigen"));
        EXPECT_EQ(picture->ScreenCopy().size(), QSize(116, 116));
        EXPECT_TRUE(w.Area().ArrowButton()->isEnabled());
    }
    EXPECT_TRUE(slow->preview.IsEmpty());

    // Another entry never gets the picture waiting for the arrow, not even with "Groß" rendering its own.
    w.RunCommand(int(Command::LargePreview));
    w.Views().SelectEntries({plain});
    ASSERT_TRUE(WaitFor([&] { return w.CurrentEntry() == plain; }));
    EXPECT_FALSE(w.Area().ArrowButton()->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return !w.Pane().LargeRendering() && picture->ScreenCopy().width() > 116; }));
    EXPECT_FALSE(w.Area().ArrowButton()->isEnabled());
    w.Pane().TakeOver();
    EXPECT_TRUE(plain->preview.IsEmpty());
    EXPECT_EQ(w.Controller().PreviewCount(), 0);
}

// With "Groß" the pane renders at its own size, from the cache when it can
// (after a restart too); what the arrow stores stays the normal preview.
TEST_F(EndToEnd, LargePreviewHasThePaneSizeIsCachedAndTakeOverStoresTheNormalPreview) {
    MainWindow& v = RestartWide();
    PreviewWindow* picture = v.Area().Picture();
    const int side = v.Pane().LargeSide();
    ASSERT_GT(side, 200);
    ASSERT_EQ(picture->PictureSize(), QSize(side, side));
    ASSERT_TRUE(WaitFor([&] { return v.Pane().LargeRendering(); }));
    ASSERT_TRUE(WaitFor([&] { return !v.Pane().LargeRendering(); }));
    const QImage large = picture->ScreenCopy();
    ASSERT_EQ(large.size(), QSize(side, side));
    ASSERT_TRUE(picture->Message().isEmpty()) << picture->Message().toStdString();

    // "Anzeigen" renders the normal picture; the large one then comes from the cache.
    TextureEntry* entry = v.CurrentEntry();
    ASSERT_TRUE(PressAccessible(&v, QStringLiteral("Anzeigen")));
    ASSERT_TRUE(WaitFor([&] { return v.Rendering(); }));
    bool largeRendered = false;
    ASSERT_TRUE(WaitFor([&] {
        largeRendered |= v.Pane().LargeRendering();
        return !v.Rendering() && picture->ScreenCopy() == large;
    }));
    EXPECT_FALSE(largeRendered);
    ASSERT_TRUE(PressAccessible(&v, QStringLiteral("Vorschau übernehmen")));
    const auto takenLarge = entry->preview.jpegData;
    const QImage stored = PreviewToImage(entry->preview);
    ASSERT_EQ(stored.size(), QSize(116, 116));
    // Rendered at the pane's size, not the stored picture stretched.
    const QImage stretched = stored.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_GT(MeanDifference(large, stretched), 0.5);

    // Without "Groß", "&Anzeigen" brings the pane-sized picture too (from the cache here)
    // and stores the same normal preview; the next entry shows its stored one.
    v.RunCommand(int(Command::LargePreview));
    EXPECT_EQ(picture->PictureSize(), QSize(116, 116));
    ASSERT_TRUE(PressAccessible(&v, QStringLiteral("Anzeigen")));
    ASSERT_TRUE(WaitFor([&] { return v.Rendering(); }));
    largeRendered = false;
    ASSERT_TRUE(WaitFor([&] {
        largeRendered |= v.Pane().LargeRendering();
        return !v.Rendering() && v.Area().ArrowButton()->isEnabled() && picture->ScreenCopy() == large;
    }));
    EXPECT_FALSE(largeRendered);
    EXPECT_EQ(picture->PictureSize(), QSize(side, side));
    ASSERT_TRUE(PressAccessible(&v, QStringLiteral("Vorschau übernehmen")));
    EXPECT_EQ(entry->preview.jpegData, takenLarge);
    v.Views().SelectEntries({v.Controller().Library().NextEntry(nullptr)});
    ASSERT_TRUE(WaitFor([&] { return v.CurrentEntry() != entry; }));
    EXPECT_EQ(picture->PictureSize(), QSize(116, 116));

    // Strg+Plus on the picture list zooms it, and the zoom is kept with the large picture's cache.
    v.RunCommand(int(Command::PictureList));
    PictureGridView& grid = v.Views().Grid();
    QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::ControlModifier, QStringLiteral("+"));
    QApplication::sendEvent(&grid, &plus);
    EXPECT_EQ(grid.ZoomStep(), 1);
    MainWindow& again = RestartWide();
    EXPECT_EQ(again.Views().Grid().ZoomStep(), 1);
    largeRendered = false;
    EXPECT_TRUE(WaitFor(
        [&] {
            largeRendered |= again.Pane().LargeRendering();
            return again.Area().Picture()->ScreenCopy() == large;
        },
        5000));
    EXPECT_FALSE(largeRendered);
}

// A window resized in many small steps renders the large picture once, at
// the side that fits when it rests; back at the old size it comes from the cache.
TEST_F(EndToEnd, ResizedPaneRendersTheLargePictureOnceAtTheNewSide) {
    MainWindow& v = RestartWide();
    PreviewWindow* picture = v.Area().Picture();
    const int side = v.Pane().LargeSide();
    // Rendered, or from the cache an earlier test filled.
    ASSERT_TRUE(WaitFor([&] {
        return !v.Pane().LargeRendering() && picture->ScreenCopy().size() == QSize(side, side);
    }));
    const QImage first = picture->ScreenCopy();
    const QSize size = v.size();
    PaneWatch pane(v);
    // Shorter in steps, as a drag of the lower edge does it.
    for (int step = 1; step <= 8; ++step) {
        v.resize(size.width(), size.height() - 20 * step);
        pane.Idle(60);
    }
    ASSERT_TRUE(pane.Watch(60000, [&] { return v.Pane().LargeSide() != side && pane.renders == 1 && !pane.rendering; }));
    pane.Idle(600);
    EXPECT_EQ(pane.renders, 1);
    const int smaller = v.Pane().LargeSide();
    EXPECT_LT(smaller, side);
    EXPECT_EQ(picture->PictureSize(), QSize(smaller, smaller));
    EXPECT_EQ(picture->ScreenCopy().size(), QSize(smaller, smaller));

    v.resize(size);
    EXPECT_TRUE(pane.Watch(5000, [&] { return picture->ScreenCopy() == first; }));
    EXPECT_EQ(pane.renders, 1);
}

// In a large picture area the edited text comes first as a draft at half
// the side, then whole; nothing more follows.
TEST_F(EndToEnd, TypingInAWidePaneShowsADraftThenTheWholePicture) {
    MainWindow& v = RestartWide();
    PreviewWindow* picture = v.Area().Picture();
    DeclarationBox* box = v.Area().TextBox();
    v.resize(v.width() + 300, v.height() + 200);
    ASSERT_TRUE(WaitFor([&] { return v.Pane().LargeSide() > 320; }));
    const int side = v.Pane().LargeSide();
    ASSERT_TRUE(WaitFor([&] {
        return !v.Pane().LargeRendering() && picture->ScreenCopy().size() == QSize(side, side);
    }));
    // The sides of the pictures shown, in turn (a live render keeps the last picture until it is done).
    PaneWatch pane(v);
    QApplication::setActiveWindow(&v);
    box->setFocus();
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(box->toPlainText().indexOf(QStringLiteral("<0")) + 1);
    box->setTextCursor(cursor);
    for (const auto& [key, text] : {std::pair{Qt::Key_Delete, QString()}, {Qt::Key_1, QStringLiteral("1")}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(box, &press);
        pane.Idle(100);
    }
    EXPECT_EQ(pane.shown, (std::vector<int>{side}));
    ASSERT_TRUE(pane.Watch(60000, [&] { return pane.shown.size() == 3 && !v.Pane().LargeRendering(); }))
        << ::testing::PrintToString(pane.shown);
    pane.Idle(1000);
    EXPECT_EQ(pane.shown, (std::vector<int>{side, side / 2 / 32 * 32, side}));
    EXPECT_FALSE(v.Pane().LargeRendering());
    EXPECT_FALSE(picture->Dimmed());
}

// Typing renders the text once it rests, never per key; a text POV-Ray
// refuses shows its message at the box's line over the last good picture.
TEST_F(EndToEnd, TypingRendersTheEditedTextOnceAndAnErrorKeepsTheLastPicture) {
    DeclarationBox* box = w.Area().TextBox();
    PreviewWindow* picture = w.Area().Picture();
    TextureEntry* entry = w.CurrentEntry();
    QApplication::setActiveWindow(&w);
    box->setFocus();
    PaneWatch pane(w);
    int& renders = pane.renders;
    const auto type = [&](Qt::Key key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(box, &press);
        pane.Idle(120);
    };
    // "rgb <0, 0, 1>" becomes "rgb <1.0, 0, 1>", passing through texts that do not parse.
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(box->toPlainText().indexOf(QStringLiteral("<0")) + 1);
    box->setTextCursor(cursor);
    type(Qt::Key_Delete, {});
    type(Qt::Key_1, QStringLiteral("1"));
    type(Qt::Key_Period, QStringLiteral("."));
    type(Qt::Key_0, QStringLiteral("0"));
    EXPECT_EQ(renders, 0);
    ASSERT_TRUE(pane.Watch(60000, [&] { return renders == 1 && !w.Pane().LargeRendering(); }));
    pane.Idle(700);
    EXPECT_EQ(renders, 1) << ::testing::PrintToString(recorder.texts);
    const QImage good = picture->ScreenCopy();
    const QColor middle = good.pixelColor(good.width() / 2, good.height() / 2);
    EXPECT_GT(middle.red(), 60);
    EXPECT_GT(middle.blue(), 60);
    EXPECT_FALSE(picture->Dimmed());
    EXPECT_TRUE(box->Edited());
    EXPECT_TRUE(entry->preview.IsEmpty());

    cursor.setPosition(box->toPlainText().indexOf(QStringLiteral("pigment")) + 7);
    box->setTextCursor(cursor);
    type(Qt::Key_X, QStringLiteral("x"));
    ASSERT_TRUE(pane.Watch(60000, [&] { return !picture->Message().isEmpty(); }));
    const int line = box->toPlainText().left(box->toPlainText().indexOf(QStringLiteral("pigmentx"))).count('\n') + 1;
    EXPECT_TRUE(picture->Message().startsWith(QStringLiteral("Zeile %1: ").arg(line))) << picture->Message().toStdString();
    EXPECT_TRUE(picture->Dimmed());
    EXPECT_EQ(picture->ScreenCopy(), good);
    EXPECT_EQ(box->extraSelections().size(), 1);
    EXPECT_EQ(renders, 2);
}

void EndToEnd::OpenSlowLibrary(const std::string& extra) {
    // Media makes the render take long enough to be cut short.
    const std::string inc = h.dir.Write(
        "slow/slow.inc",
        "#declare M_Slow = material { texture { pigment { rgbt <1, 1, 1, 0.9> } }\n"
        "  interior { media { scattering { 1, 0.3 } samples 100, 100 intervals 20 } } }\n"
        "#declare T_Plain = texture { pigment { rgb <0.3, 0.6, 0.2> } }\n"
        "#declare P_Plain = pigment { rgb <0.8, 0.2, 0.2> }\n"
        // Quick at the stored size, slow at the pane's.
        "#declare M_Haze = material { texture { pigment { rgbt <1, 1, 1, 0.9> } }\n"
        "  interior { media { scattering { 1, 0.3 } samples 20, 20 intervals 4 } } }\n" +
            extra);
    ASSERT_TRUE(test::WriteScannedList(h.dir / "slow.swl", inc));
    h.fileDialogs->answer = h.dir / "slow.swl";
    ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Öffnen")));
    ASSERT_TRUE(WaitFor([&] { return !w.Busy(); }));
    w.Views().SelectEntries({test::EntryNamed(w, "M_Slow")});
    ASSERT_TRUE(WaitFor([&] { return w.CurrentEntry() && w.CurrentEntry()->name == "M_Slow"; }));
}

}  // namespace
}  // namespace sc
