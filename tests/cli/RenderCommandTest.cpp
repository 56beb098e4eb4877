// swatchcraft-cli render with the real POV-Ray through the bridge and the render host.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>

#include "RunningTool.h"
#include "TestEnvironment.h"
#include "WaitUntil.h"
#include "bridge/BridgeApi.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "povray/RenderScratch.h"

extern char** environ;

namespace sc::test {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;


class RenderCommandTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("SWATCHCRAFT_DATA_DIR", (dir / "data").c_str(), 1);
        dir.Write("incs/lib.inc",
                  "#declare T_One = texture { pigment { color rgb <0.8, 0.2, 0.1> } }\n"
                  "#declare P_Two = pigment { checker color rgb 1 color rgb <0, 0, 1> }\n"
                  "#declare C_Three = color rgb <0.1, 0.7, 0.3>;\n"
                  "#declare T_Bad = texture { pigment { rgbx 1 } }\n");
        library = dir / "lib.swl";
        ASSERT_EQ(RunCommand(Cli("scan --kinds mtpcfn " + ShellQuoted(dir / "incs") + " -o " + ShellQuoted(library))), 0);
    }
    void TearDown() override {
        unsetenv("SWATCHCRAFT_DATA_DIR");
        if (host > 0) {
            kill(host, SIGTERM);
            waitpid(host, nullptr, 0);
        }
    }
    static std::string Cli(const std::string& args) {
        return BinaryDir() + "/swatchcraft-cli " + args + " 2>/dev/null";
    }
    // The render command's arguments for `list` (default: the fixture's list file).
    std::string RenderOf(const std::string& args, const std::string& list = "") const {
        return "render --library-path " + PovIncludeDir() + " " + ShellQuoted(list.empty() ? library : list) + " " +
               args;
    }
    int Render(const std::string& args, std::string* out = nullptr) { return RunCommand(Cli(RenderOf(args)), out); }
    // The render command with its error output kept.
    std::string RenderKeepingErrors(const std::string& args, const std::string& list = "") {
        return BinaryDir() + "/swatchcraft-cli " + RenderOf(args, list) + " 2>&1";
    }
    // Makes the list file hold only the entries of a new include file.
    void Rescan(const std::string& name, const std::string& text) {
        dir.Write("incs/" + name, text);
        ASSERT_EQ(RunCommand(Cli("scan --kinds t " + ShellQuoted(dir / ("incs/" + name)) + " -o " + ShellQuoted(library))), 0);
    }
    // The render command for every entry of the list file dir/NAME.swl.
    std::string RenderArgs(const std::string& name, int jobs = 1) {
        return RenderOf("--all --jobs " + std::to_string(jobs), dir / (name + ".swl"));
    }
    // An entry's stored picture as the picture command writes it; empty when it has none.
    std::string Picture(const std::string& list, const std::string& name) {
        const std::string file = dir / (list + "-" + name + ".ppm");
        std::remove(file.c_str());
        RunCommand(Cli("picture " + ShellQuoted(dir / (list + ".swl")) + " " + name + " -o " + ShellQuoted(file)));
        return ReadFile(file);
    }
    std::string Listing() {
        std::string out;
        RunCommand(Cli("list " + ShellQuoted(library)), &out);
        return out;
    }

    TempDir dir;
    std::string library;
    pid_t host = -1;
};

TEST_F(RenderCommandTest, StoresEveryPreviewAndMarksTheBrokenOneFaulty) {
    std::string out;
    EXPECT_EQ(Render("--missing", &out), 1);  // one entry could not be rendered
    for (const char* line : {"OK      T_One (3.1)\n", "OK      P_Two (3.1)\n", "OK      C_Three (3.1)\n",
                             "FEHLER  T_Bad\n", "3 von 4 Vorschauen berechnet, 1 fehlerhaft.\n"})
        EXPECT_THAT(out, HasSubstr(line));
    // The picture can be taken out again.
    EXPECT_EQ(RunCommand(Cli("picture " + ShellQuoted(library) + " T_One -o " + ShellQuoted(dir / "one.ppm"))), 0);
    EXPECT_TRUE(FileExists(dir / "one.ppm"));
    // Only the faulty one is missing now; the host that the command started is gone.
    Render("--missing", &out);
    EXPECT_THAT(out, AllOf(HasSubstr("FEHLER  T_Bad\n"), Not(HasSubstr("T_One"))));
    // One at a time through the render host, the faulty one comes last, to a
    // POV-Ray started ahead, and its report is still POV-Ray's own.
    RunCommand(RenderKeepingErrors("--all --jobs 1"), &out);
    EXPECT_THAT(out, AllOf(HasSubstr("OK      C_Three (3.1)\n"), HasSubstr("FEHLER  T_Bad\n"),
                           HasSubstr("File 'TexturePreview.pov' line "), HasSubstr("Parse Error")));
    EXPECT_EQ(bridge::FindWindowOfClass(bridge::kPovMainWindowClass), 0u);
}

// Running out of room is said as such: a full disk (here the file-size
// limit) under the batch's pictures ends it without marking any entry
// faulty, and a list that could not be saved is not reported as rendered.
TEST_F(RenderCommandTest, AFullDiskIsNamedAndNoEntryTakesTheBlame) {
    const std::string before = ReadFile(library);
    std::string out;
    // 30 blocks hold every scene, but not one picture of 116 x 116.
    EXPECT_EQ(RunCommand("ulimit -f 30; " + RenderKeepingErrors("--all --jobs 2"), &out), 1);
    EXPECT_THAT(out, AllOf(HasSubstr("Der Datenträger ist voll"), HasSubstr("0 von 4 Vorschauen berechnet, 0 fehlerhaft."),
                           Not(HasSubstr("Signal")), Not(HasSubstr("FEHLER"))));
    EXPECT_EQ(ReadFile(library), before);
    // A list whose name leaves no room for the temporary file of its save.
    const std::string longName = dir / (std::string(250, 'x') + ".swl");
    ASSERT_EQ(std::rename(library.c_str(), longName.c_str()), 0);
    EXPECT_EQ(RunCommand(RenderKeepingErrors("T_One P_Two", longName), &out), 1);
    EXPECT_THAT(out, HasSubstr("Nicht gespeichert: 2 von 2 Vorschauen berechnet, 0 fehlerhaft."));
    EXPECT_EQ(ReadFile(longName), before);
}

TEST_F(RenderCommandTest, NamedEntriesOnlyAndSmallPictures) {
    std::string out;
    EXPECT_EQ(Render("T_One C_Three --small --antialias --template 2 --jobs 1", &out), 0) << out;
    EXPECT_EQ(out, "OK      T_One (3.1)\nOK      C_Three (3.1)\n2 von 2 Vorschauen berechnet, 0 fehlerhaft.\n");
    const std::string oneAtATime = ReadFile(library);
    // Side by side the two finish in either order, with the same pictures to the byte.
    EXPECT_EQ(Render("T_One C_Three --small --antialias --template 2", &out), 0) << out;
    EXPECT_TRUE(ReadFile(library) == oneAtATime);
    EXPECT_THAT(out, AllOf(HasSubstr("OK      T_One (3.1)\n"), HasSubstr("OK      C_Three (3.1)\n"),
                           HasSubstr("2 von 2 Vorschauen berechnet, 0 fehlerhaft.\n")));
    // A single failed entry counts as failed in the summary, also one at a time.
    EXPECT_EQ(Render("T_Bad --jobs 1", &out), 1);
    EXPECT_THAT(out, HasSubstr("0 von 1 Vorschauen berechnet, 1 fehlerhaft.\n"));
    EXPECT_EQ(Render("Nobody"), 1);
    EXPECT_EQ(Render("--missing --all"), 1);
}

TEST_F(RenderCommandTest, RendersWhereHomeAndTheProgramFolderHoldBlanksAndOptionCharacters) {
    // POV-Ray's option parser ends an unquoted path at each of these characters.
    const std::string home = dir / "John Doe";
    const std::string data = home + "/a;b#c=d'e[f]/data";
    CreateDirectories(data);
    // Through the render host, then side by side in private folders below the program folder.
    for (const char* jobs : {" --jobs 1", ""}) {
        std::string out;
        const int status = RunCommand("HOME=" + ShellQuoted(home) + " SWATCHCRAFT_DATA_DIR=" + ShellQuoted(data) + " " +
                                          Cli(RenderOf(std::string("T_One C_Three") + jobs)),
                                      &out);
        EXPECT_EQ(status, 0) << out;
        EXPECT_THAT(out, HasSubstr("2 von 2 Vorschauen berechnet, 0 fehlerhaft."));
    }
    // The scratch folders the renders ran in went with them.
    for (const auto& item : std::filesystem::directory_iterator(data + "/preview"))
        EXPECT_FALSE(IsScratchFolder(item.path().string())) << item.path();
}

// A copied program folder must not reach back into the folder it was built
// in: its own bridge is loaded and named in the render host's settings.
TEST_F(RenderCommandTest, ACopiedProgramFolderUsesItsOwnBridge) {
    const std::string copy = dir / "copied bin";
    ASSERT_TRUE(CreateDirectories(copy));
    for (const char* name : {"swatchcraft-cli", "swatchcraft-povhost", "swbridge.pge"})
        std::filesystem::copy_file(BinaryDir() + "/" + name, copy + "/" + name);
    // Settings and the host's meeting place of their own: no host of another test is reused.
    ASSERT_TRUE(CreateDirectories(dir / "run"));
    chmod((dir / "run").c_str(), 0700);
    const std::string environment =
        "XDG_CONFIG_HOME=" + ShellQuoted(dir / "config") + " XDG_RUNTIME_DIR=" + ShellQuoted(dir / "run") + " ";
    std::string out;
    const std::string render = ShellQuoted(copy + "/swatchcraft-cli") + " " + RenderOf("T_One --jobs 1") + " 2>&1";
    EXPECT_EQ(RunCommand(environment + render, &out), 0) << out;
    // The first render with fresh settings sets the host up without a word.
    EXPECT_THAT(out, Not(HasSubstr("Einstellungen")));
    const std::string settings = ReadFile(dir / "config/swatchcraft/pvengine.ini");
    EXPECT_THAT(settings, HasSubstr("=" + copy + "/swbridge.pge"));
    EXPECT_THAT(settings, Not(HasSubstr(BinaryDir())));
}

TEST_F(RenderCommandTest, SecondProgramUsesTheRunningHostAndLeavesItRunning) {
    // The host's settings as a first run leaves them, then a host of its own.
    ASSERT_EQ(Render("T_One --jobs 1"), 0);
    const std::string hostPath = BinaryDir() + "/swatchcraft-povhost";
    char* argv[] = {const_cast<char*>(hostPath.c_str()), nullptr};
    ASSERT_EQ(posix_spawn(&host, hostPath.c_str(), nullptr, nullptr, argv, environ), 0);
    WaitUntil([] { return GetPovWindow() != 0; }, 4000);
    const std::uint32_t window = GetPovWindow();
    ASSERT_NE(window, 0u);
    EXPECT_EQ(Render("P_Two C_Three --jobs 1"), 0);
    EXPECT_EQ(GetPovWindow(), window);
    EXPECT_EQ(waitpid(host, nullptr, WNOHANG), 0);  // still running
}

TEST_F(RenderCommandTest, TwoProgramsAtOnceTakeTurnsAndStoreOnlyTheirOwnPictures) {
    // Two list files of distinct entries, and the picture each entry gets when rendered alone.
    const std::vector<std::pair<std::string, std::vector<std::string>>> lists = {
        {"a", {"T_Red", "T_Green", "T_Blue"}}, {"b", {"T_Cyan", "T_Magenta", "T_Yellow"}}};
    const char* const colours[] = {"1, 0, 0", "0, 1, 0", "0, 0, 1", "0, 1, 1", "1, 0, 1", "1, 1, 0"};
    std::map<std::string, std::string> alone;
    int colour = 0;
    for (const auto& [list, names] : lists) {
        std::string declarations;
        for (const std::string& name : names)
            declarations += "#declare " + name + " = texture { pigment { color rgb <" + colours[colour++] + "> } }\n";
        const std::string include = dir.Write("incs/" + list + ".inc", declarations);
        ASSERT_EQ(RunCommand(Cli("scan " + ShellQuoted(include) + " -o " + ShellQuoted(dir / (list + ".empty.swl")))), 0);
        ASSERT_EQ(RunCommand("cp " + ShellQuoted(dir / (list + ".empty.swl")) + " " + ShellQuoted(dir / (list + ".swl"))), 0);
        ASSERT_EQ(RunCommand(Cli(RenderArgs(list))), 0);
        for (const std::string& name : names) alone[name] = Picture(list, name);
    }
    // Started within milliseconds of each other, many times over, through the
    // render host and side by side: each program gets its turn, and every
    // picture is its own entry's.
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        const int jobs = round < 2 ? 1 : 4;
        for (const auto& [list, names] : lists)
            ASSERT_EQ(RunCommand("cp " + ShellQuoted(dir / (list + ".empty.swl")) + " " + ShellQuoted(dir / (list + ".swl"))), 0);
        std::string outA;
        std::string outB;
        int statusA = -1;
        std::thread other([&] { statusA = RunCommand(Cli(RenderArgs("a", jobs)), &outA); });
        const int statusB = RunCommand(Cli(RenderArgs("b", jobs)), &outB);
        other.join();
        EXPECT_EQ(statusA, 0) << outA;
        EXPECT_EQ(statusB, 0) << outB;
        for (const auto& [list, names] : lists)
            for (const std::string& name : names) EXPECT_TRUE(Picture(list, name) == alone[name]) << name;
    }
    // The last program to finish closed the host.
    EXPECT_TRUE(WaitUntil([] { return bridge::FindWindowOfClass(bridge::kPovMainWindowClass) == 0; }, 10000));
}

// A declaration that never ends: POV-Ray parses it forever.
const char kEndlessLoop[] = "#declare T_X = texture { pigment { color rgb <0.2, 0.4, 0.8>\n#while (true) #end\n} }\n";

TEST_F(RenderCommandTest, FailedReRenderKeepsTheOldPictureAndAHungOneEndsAtTheTimeLimit) {
    Rescan("change.inc", "#declare T_X = texture { pigment { color rgb <0.2, 0.4, 0.8> } }\n");
    ASSERT_EQ(Render("T_X --jobs 1"), 0);
    const std::string before = Picture("lib", "T_X");
    ASSERT_FALSE(before.empty());
    // The declaration now loops forever; the settings file allows two seconds.
    dir.Write("incs/change.inc", kEndlessLoop);
    dir.Write("data/swatchcraft.ini", "[Preview]\nTimeLimit=2\n");
    std::string out;
    EXPECT_EQ(RunCommand(RenderKeepingErrors("T_X --jobs 1"), &out), 1);
    EXPECT_THAT(out, AllOf(HasSubstr("FEHLER  T_X"), HasSubstr("nach 2 Sekunden noch nicht fertig berechnet"),
                           HasSubstr("0 von 1 Vorschauen berechnet, 1 fehlerhaft."), Not(HasSubstr("syntaktisch"))));
    EXPECT_TRUE(Picture("lib", "T_X") == before);
}

// Ctrl+C right after a picture is stored ends the run there: the finished
// picture is kept, the next one is not stored and no POV-Ray is left behind.
TEST_F(RenderCommandTest, InterruptAfterAStoredPictureStoresNothingMore) {
    Rescan("two.inc",
           "#declare T_First = texture { pigment { color rgb <1, 0, 0> } }\n"
           "#declare T_Second = texture { pigment { granite scale 0.2 } normal { bumps 1 scale 0.05 } "
           "finish { reflection 0.5 } }\n");
    const std::string data = dir / "data";
    RunningTool tool(Cli(RenderOf("--all --antialias --jobs 1")));
    ASSERT_TRUE(tool.Started());
    tool.ReadUntil("OK ");  // the first picture is stored
    kill(tool.Pid(), SIGINT);
    tool.Finish();
    EXPECT_EQ(PovRaysBelow(data), 0);
    EXPECT_THAT(tool.Output(), HasSubstr("Abgebrochen. 1 von 2 Vorschauen berechnet"));
    EXPECT_THAT(Listing(), HasSubstr("T_Second\ttexture\t-\t" + dir.Path() + "/incs/two.inc\tkein Bild"));
}

TEST_F(RenderCommandTest, NoPovRayOutlivesAnInterruptedOrKilledTool) {
    std::string entries = "#declare T_Quick = texture { pigment { color rgb <1, 0.5, 0> } }\n";
    for (int i = 0; i < 3; ++i)
        entries += "#declare T_Hang" + std::to_string(i) + " = texture { pigment { rgb 1 } #while (1) #end }\n";
    Rescan("hang.inc", entries);
    // No time limit: only the tool's end may end its POV-Rays.
    dir.Write("data/swatchcraft.ini", "[Preview]\nTimeLimit=0\n");
    const std::string data = dir / "data";
    // Side by side, three hang at once; one at a time through the render host,
    // one hangs and at least the next one's POV-Ray waits, started ahead (the
    // host may start more meanwhile, so the count is a floor).
    for (auto [jobs, signal] : {std::pair{4, SIGINT}, {4, SIGKILL}, {1, SIGINT}, {1, SIGKILL}}) {
        SCOPED_TRACE(std::to_string(jobs) + " jobs, signal " + std::to_string(signal));
        RunningTool tool(Cli(RenderOf("--all --jobs " + std::to_string(jobs))));
        ASSERT_TRUE(tool.Started());
        tool.ReadUntil("OK ");
        EXPECT_TRUE(WaitUntil([&] { return PovRaysBelow(data) >= (jobs == 4 ? 3 : 2); }, 60000));
        kill(tool.Pid(), signal);
        const int status = tool.Finish();
        EXPECT_TRUE(WaitUntil([&] { return PovRaysBelow(data) == 0; }, 60000));
        if (signal == SIGINT) {
            EXPECT_EQ(status, 1);
            EXPECT_THAT(tool.Output(), HasSubstr("Abgebrochen. 1 von 4 Vorschauen berechnet, 0 fehlerhaft."));
            // The finished picture is saved; the stopped ones are not taken for faulty.
            EXPECT_THAT(Listing(), AllOf(HasSubstr("T_Quick\ttexture\t-\t" + dir.Path() + "/incs/hang.inc\tBild "),
                                         HasSubstr("T_Hang0\ttexture\t-\t" + dir.Path() + "/incs/hang.inc\tkein Bild")));
        }
    }
}

}  // namespace
}  // namespace sc::test
