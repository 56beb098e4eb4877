// The window and the real swatchcraft-cli on one list file at the same time:
// whoever saves first, nothing the other one stored is written away without
// the user's word, the window's own change survives a render of the tool,
// and each side waits while the other holds the file. The save is pressed
// at times spread over the tool's run, so every order of the two comes up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <set>
#include <signal.h>

#include "gui/LibraryViewStack.h"
#include "gui/StatusBarWithProgress.h"
#include "GuiTestSupport.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "library/ListFileGuard.h"
#include "library/TextureEntry.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "RunningTool.h"
#include "scanner/TextureSearch.h"

namespace sc {
namespace {

using test::DialogRecorder;
using test::PressAccessible;
using test::RunningTool;
using test::WaitFor;
using test::WindowHarness;
using Names = std::set<std::string>;

void Pause(int ms) { WaitFor([] { return false; }, ms); }

// What a library holds: its entries and those with a valid picture.
struct Contents {
    Names entries, pictured;
    bool operator==(const Contents&) const = default;
};

void PrintTo(const Contents& c, std::ostream* out) {
    *out << ::testing::PrintToString(c.entries) << " pictured " << ::testing::PrintToString(c.pictured);
}

Contents ContentsOf(const TextureLibrary& library) {
    Contents contents;
    for (const TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) {
        contents.entries.insert(e->name);
        if (e->previewValid) contents.pictured.insert(e->name);
    }
    return contents;
}

const Names kAll{"T_A", "T_B", "T_C", "T_D"};
const Names kRendered{"T_A", "T_B"};

// A moment in the tool's run, `ms` after it: started, printed its first or
// last picture, replaced the list file by its save (it holds the old file
// until it ends), or ended. Clustered where the two programs meet.
struct Moment {
    enum When { Started, FirstPicture, LastPicture, Saved, Ended } when;
    int ms;
};
const std::vector<Moment> kMoments{{Moment::Started, 0},      {Moment::Started, 15},     {Moment::Started, 30},
                                   {Moment::Started, 80},     {Moment::FirstPicture, 0}, {Moment::LastPicture, 0},
                                   {Moment::LastPicture, 40}, {Moment::Saved, 0},        {Moment::Saved, 15},
                                   {Moment::Ended, 0}};

std::string Describe(const Moment& m) {
    static const char* const names[] = {"started", "printed its first picture", "printed its last picture",
                                        "saved", "ended"};
    return std::to_string(m.ms) + " ms after the tool " + names[m.when];
}

struct ToolBesideWindow : testing::Test {
    WindowHarness h;
    DialogRecorder recorder;
    MainWindow& w = *h.window;
    std::string path = h.dir / "lib.swl";
    std::string fresh;    // the list file as written, no pictures
    std::string hanging;  // the same with T_Hang

    void SetUp() override {
        const std::string inc = h.dir.Write("inc/stones.inc",
                                            "#declare T_A = texture { pigment { rgb <1, 0, 0> } }\n"
                                            "#declare T_B = texture { pigment { rgb <0, 0, 1> } }\n"
                                            "#declare T_C = texture { pigment { rgb <0, 1, 0> } }\n"
                                            "#declare T_D = texture { pigment { rgb <1, 1, 0> } }\n"
                                            // Never parsed to its end: a render that holds the file.
                                            "#declare T_Hang = texture { pigment { rgb 1 } #while (1) #end }\n");
        test::RecordingUserInterface quiet;
        LibraryController other(quiet);
        SearchOptions options;
        options.explicitFiles = {inc};
        SearchTextures(other, options);
        ASSERT_TRUE(SaveLibrary(other, path, ""));
        hanging = test::ReadFile(path);
        other.DeleteEntry(other.Library().FindEntry(h.dir / "inc/", "stones.inc", "T_Hang"));
        ASSERT_TRUE(SaveLibrary(other, path, ""));
        fresh = test::ReadFile(path);
        w.show();
        test::StartUpAndSettle(w);
        recorder.texts.clear();
    }
    void TearDown() override {
        w.Controller().modified = 0;
        w.close();
        h.window.reset();
        // Every tool and POV-Ray this test started has ended.
        EXPECT_EQ(test::ChildProcesses(), std::vector<pid_t>{});
        EXPECT_EQ(test::ProcessesUsing(h.dir.Path()), std::vector<pid_t>{});
    }

    // The list file as first written (`text`), opened in the window.
    void OpenFresh(const std::string& text) {
        ASSERT_TRUE(WriteFileAtomically(path, text));
        h.fileDialogs->answer = path;
        ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Öffnen")));
        ASSERT_TRUE(WaitFor([&] { return !w.Busy(); }));
        ASSERT_EQ(w.Controller().modified, 0);
    }
    void OpenFresh() {
        OpenFresh(fresh);
        ASSERT_EQ(InWindow().entries, kAll);
    }
    // The tool's command line, in a data folder of its own, its errors on its output too.
    std::string Tool(const std::string& args) const {
        return "env SWATCHCRAFT_DATA_DIR=" + test::ShellQuoted(h.dir / "tool") + " " + test::BinaryDir() +
               "/swatchcraft-cli " + args + " 2>&1";
    }
    std::string Render(const std::string& names) const {
        return Tool("render --library-path " + test::PovIncludeDir() + " " + test::ShellQuoted(path) + " " + names +
                    " --jobs 2");
    }
    // Lets the window work until the tool has ended; its exit status.
    int WaitForTool(RunningTool& tool) {
        EXPECT_TRUE(WaitFor([&] {
            tool.ReadAvailable();
            return !tool.Running();
        }));
        return tool.Finish();
    }
    Contents OnDisk() const {
        test::RecordingUserInterface quiet;
        LibraryController reread(quiet);
        EXPECT_TRUE(test::LoadListFile(reread, path));
        return ContentsOf(reread.Library());
    }
    Contents InWindow() { return ContentsOf(w.Controller().Library()); }
    // Strg+S, as the user saves.
    void PressSave() {
        QApplication::setActiveWindow(&w);
        w.Views().FocusShownView();
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
        QKeyEvent key(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
        QApplication::sendEvent(target, &key);
        // The file is written on a worker.
        EXPECT_TRUE(WaitFor([&] { return !w.Busy(); }));
    }
    void Delete(const std::string& name) {
        TextureEntry* entry = w.Controller().Library().FindEntry(h.dir / "inc/", "stones.inc", name);
        ASSERT_TRUE(entry);
        w.Views().SelectEntries({entry});
        ASSERT_TRUE(WaitFor([&] { return w.CurrentEntry() == entry; }));
        w.RunCommand(int(Command::DeleteSelected));
    }
    int Questions() const {
        return static_cast<int>(std::count(recorder.texts.begin(), recorder.texts.end(), ChangedOnDiskQuestion(path)));
    }
    // The views show the library's entries, one of them current.
    void ExpectViewsShowTheLibrary() {
        std::vector<TextureEntry*> shown = w.Views().EntriesInListOrder();
        std::vector<TextureEntry*> held;
        for (TextureEntry* e = w.Controller().Library().NextEntry(nullptr); e; e = w.Controller().Library().NextEntry(e))
            held.push_back(e);
        std::sort(shown.begin(), shown.end());
        std::sort(held.begin(), held.end());
        EXPECT_EQ(shown, held);
        EXPECT_TRUE(std::find(held.begin(), held.end(), w.CurrentEntry()) != held.end());
    }
    // Lets the window work until the tool reached `moment`.
    void Reach(RunningTool& tool, const Moment& moment) {
        const ListFileStamp read = ListFileStamp::Of(path);
        WaitFor(
            [&] {
                tool.ReadAvailable();
                const std::string& out = tool.Output();
                switch (moment.when) {
                    case Moment::Started: return true;
                    case Moment::FirstPicture: return out.find("OK  ") != std::string::npos;
                    case Moment::LastPicture: return out.find("OK  ") != out.rfind("OK  ");
                    case Moment::Saved: return !(ListFileStamp::Of(path) == read);
                    case Moment::Ended: return !tool.Running();
                }
                return true;
            },
            20000);
        Pause(moment.ms);
    }
};

// The window open and unchanged; the tool stores two pictures; the window's
// save asks, and neither "Neu laden" nor "Abbrechen" loses a picture.
TEST_F(ToolBesideWindow, PicturesTheToolStoredAreNeverSavedAwaySilently) {
    OpenFresh();
    std::string out;
    ASSERT_EQ(test::RunCommand(Render("T_A T_B"), &out), 0) << out;
    const std::string theirs = test::ReadFile(path);
    ASSERT_EQ(OnDisk().pictured, kRendered);

    PressSave();  // "Abbrechen" is preselected
    ASSERT_EQ(Questions(), 1) << ::testing::PrintToString(recorder.texts);
    EXPECT_EQ(test::ReadFile(path), theirs);
    EXPECT_EQ(w.Controller().modified, 0);
    recorder.AnswerWith({"Neu laden"});
    PressSave();
    EXPECT_EQ(Questions(), 2);
    EXPECT_EQ(test::ReadFile(path), theirs);
    EXPECT_EQ(InWindow().pictured, kRendered);
    ExpectViewsShowTheLibrary();
    PressSave();  // as read now: no question
    EXPECT_EQ(Questions(), 2);
    EXPECT_EQ(OnDisk().pictured, kRendered);

    // Saved before, during and after the tool's run: the pictures stay on
    // disk, and the window has them once it saves again.
    recorder.AnswerWith(std::vector<std::string>(50, "Neu laden"));
    for (const Moment& moment : kMoments) {
        SCOPED_TRACE("saved " + Describe(moment));
        OpenFresh();
        RunningTool tool(Render("T_A T_B"));
        Reach(tool, moment);
        PressSave();
        EXPECT_EQ(WaitForTool(tool), 0) << tool.Output();
        EXPECT_EQ(OnDisk().pictured, kRendered);
        PressSave();
        EXPECT_EQ(OnDisk().pictured, kRendered);
        EXPECT_EQ(InWindow().pictured, kRendered);
        EXPECT_EQ(w.Controller().modified, 0);
    }
}

// The window deletes an entry and saves while the tool renders: the
// deletion is never undone by the tool's copy, and the window knows
// whether it saved (asked, "Abbrechen" keeps it unsaved until it is).
TEST_F(ToolBesideWindow, TheWindowsDeletionOutlivesAToolRenderingMeanwhile) {
    const Names left{"T_A", "T_B", "T_C"};
    int asked = 0;
    for (size_t round = 0; round < kMoments.size(); ++round) {
        SCOPED_TRACE("deleted and saved " + Describe(kMoments[round]));
        OpenFresh();
        RunningTool tool(Render("T_A T_B"));
        Reach(tool, kMoments[round]);
        Delete("T_D");
        ASSERT_NE(w.Controller().modified, 0);
        const bool overwrite = round % 2 == 1;
        recorder.AnswerWith({overwrite ? "Überschreiben" : "Abbrechen"});
        const int before = Questions();
        PressSave();
        const bool question = Questions() > before;
        asked += question;
        EXPECT_EQ(WaitForTool(tool), 0) << tool.Output();
        // Saved before the tool read the file, the tool stored on top of the deletion.
        if (!question) {
            EXPECT_EQ(OnDisk(), (Contents{left, kRendered}));
        }
        if (w.Controller().modified != 0) {
            EXPECT_TRUE(question && !overwrite);
            EXPECT_EQ(OnDisk().entries, kAll);  // the tool's copy, read before the deletion
            recorder.AnswerWith({"Überschreiben"});
            PressSave();
            EXPECT_TRUE(Questions() > before + 1) << "asked again";
        }
        EXPECT_EQ(w.Controller().modified, 0);
        EXPECT_EQ(OnDisk().entries, left);
        EXPECT_EQ(InWindow().entries, left);
    }
    RecordProperty("asked", asked);
}

// While the window asks, it holds the file: a tool started then waits and
// afterwards works on what the window saved.
TEST_F(ToolBesideWindow, TheToolWaitsWhileTheWindowAsksAndWorksOnWhatItSaved) {
    OpenFresh();
    Delete("T_D");
    ASSERT_EQ(test::RunCommand(Render("T_A T_B")), 0);
    std::unique_ptr<RunningTool> waiting;
    recorder.onBox = [&](QMessageBox& box) {
        if (box.text().toStdString() != ChangedOnDiskQuestion(path) || waiting) return;
        waiting = std::make_unique<RunningTool>(Render("T_C"));
        waiting->ReadUntil("warte");
    };
    recorder.AnswerWith({"Überschreiben"});
    PressSave();
    ASSERT_TRUE(waiting);
    recorder.onBox = {};
    EXPECT_NE(waiting->Output().find("wird gerade von einem anderen Programm bearbeitet; warte"), std::string::npos)
        << waiting->Output();
    EXPECT_EQ(WaitForTool(*waiting), 0) << waiting->Output();
    // The window overwrote the tool's first pictures as told; the waiting tool rendered into the window's save.
    EXPECT_EQ(OnDisk(), (Contents{{"T_A", "T_B", "T_C"}, {"T_C"}}));
    recorder.AnswerWith({"Neu laden"});
    PressSave();
    EXPECT_EQ(Questions(), 2);
    EXPECT_EQ(InWindow(), (Contents{{"T_A", "T_B", "T_C"}, {"T_C"}}));
    ExpectViewsShowTheLibrary();
}

// While a render that never ends holds the file, the window's save waits as
// a busy window that changes nothing, and Escape ends the wait unsaved.
TEST_F(ToolBesideWindow, EscapeEndsTheWindowsWaitForARenderThatHoldsTheFile) {
    OpenFresh(hanging);
    const std::string before = test::ReadFile(path);
    RunningTool endless(Render("T_Hang"));
    ASSERT_TRUE(WaitFor([&] { return test::PovRaysBelow(h.dir / "tool") > 0; }));
    Delete("T_D");
    // Once the save waits for the file, a look at the window and then Escape.
    bool waited = false, busyWhileWaiting = false, deleteOffered = true;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &w, [&] {
        if (w.Status().Text() != QStringLiteral("Warte auf \"lib.swl\" ...")) return;
        look.stop();
        waited = true;
        busyWhileWaiting = w.Busy();
        deleteOffered = w.ActionFor(int(Command::DeleteSelected))->isEnabled();
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(target, &escape);
    });
    look.start(20);
    recorder.texts.clear();
    QElapsedTimer clock;
    clock.start();
    PressSave();
    EXPECT_LT(clock.elapsed(), 10000) << "Escape ended the wait";
    EXPECT_TRUE(busyWhileWaiting);
    EXPECT_TRUE(waited) << "the status said the save waits";
    EXPECT_FALSE(deleteOffered) << "nothing changes the library while it waits";
    EXPECT_EQ(recorder.texts, std::vector<std::string>{FileInUseMessage(path)});
    EXPECT_NE(w.Controller().modified, 0);
    EXPECT_EQ(test::ReadFile(path), before);
    EXPECT_FALSE(w.Busy());

    EXPECT_FALSE(test::ProcessesUsing(h.dir.Path()).empty()) << "the tool and its POV-Ray are seen";
    kill(endless.Pid(), SIGINT);
    EXPECT_EQ(endless.Finish(), 1);
    EXPECT_TRUE(WaitFor([&] { return test::PovRaysBelow(h.dir.Path()) == 0; }));
    PressSave();
    EXPECT_EQ(w.Controller().modified, 0);
    EXPECT_EQ(OnDisk().entries, (Names{"T_A", "T_B", "T_C", "T_Hang"}));
}

}  // namespace
}  // namespace sc
