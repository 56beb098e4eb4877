// The bridge and the render host together, rendering with the real POV-Ray.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <tuple>

#include "HostProcess.h"
#include "TestEnvironment.h"
#include "WaitUntil.h"
#include "bridge/BridgeApi.h"
#include "bridge/Endpoint.h"
#include "platform/FileSystem.h"

namespace sc::test {
namespace {

const char kJadeScene[] =
    "#version 3.7;\n"
    "global_settings { assumed_gamma 1.0 }\n"
    "#include \"colors.inc\"\n#include \"textures.inc\"\n"
    "camera { location <0, 1, -3> look_at 0 }\n"
    "light_source { <5, 5, -5> color White }\n"
    "sphere { 0, 1 texture { Jade } }\n"
    "plane { y, -1 pigment { checker color Gray50 color White } }\n";

// Many reflecting spheres at a large size: seconds of work, long enough to interrupt.
const char kSlowScene[] =
    "#version 3.7;\n"
    "camera { location <0, 2, -8> look_at 0 }\n"
    "light_source { <5, 5, -5> color rgb 1 }\n"
    "#declare I = 0;\n"
    "#while (I < 400)\n"
    "  sphere { <mod(I, 20) - 10, div(I, 20) - 10, 5 + mod(I, 7)>, 0.6\n"
    "    pigment { rgb <0.8, 0.6, 0.4> } finish { reflection 0.9 } }\n"
    "  #declare I = I + 1;\n"
    "#end\n";

class RenderHostTest : public testing::Test {
protected:
    void SetUp() override {
        WriteHostIni();
        while (IsPGEEnabled()) EnableExtension(0);
        ASSERT_TRUE(host.Start());
        EnableExtension(1);
        ASSERT_NE(GetPovWindow(), 0u);
    }
    void TearDown() override {
        PovStopRender(0);
        host.Stop();
        while (IsPGEEnabled()) EnableExtension(0);
    }
    std::string Scene(const char* name, const char* text) { return dir.Write(name, text); }
    // Starts a render that takes seconds, long enough to interrupt.
    bool StartSlowRender() {
        const std::string slow = Scene("slow.pov", kSlowScene);
        return PovStartRender(bridge::ClientWindow(), slow.c_str(), "-w1600 -h1200 -f +a0.0 -c") != 0;
    }
    // Starts the host anew with `extra` in its settings.
    void RestartHost(const std::string& extra) {
        host.Stop();
        WriteHostIni(true, extra);
        ASSERT_TRUE(host.Start());
        EnableExtension(1);
    }

    TempDir dir;
    HostProcess host;
};

TEST_F(RenderHostTest, RendersRowsExactlyAsPovRayWritesThePicture) {
    const std::string scene = Scene("jade.pov", kJadeScene);
    const RenderResult result = RenderThroughBridge(scene, "-w116 -h116 -f -a -c");
    ASSERT_TRUE(result.started && result.done);
    EXPECT_EQ(std::pair(result.doneValue, result.width), std::pair(0u, 116));
    int width = 0, height = 0;
    ASSERT_EQ(RenderWithPovray(dir.Path(), "jade.pov", "+W116 +H116 -A -C +FP +Ojade.ppm", nullptr), 0);
    const auto reference = PpmRows(ReadFile(dir / "jade.ppm"), width, height);
    ASSERT_EQ(reference.size(), 116u);
    ASSERT_EQ(result.rows.size(), 116u);
    EXPECT_TRUE(result.rows == reference);
    EXPECT_EQ(bridge::PovErrorText(), "");
    // "-f" means no picture file is left anywhere near the scene.
    for (const auto& item : ListDirectory(dir.Path()))
        EXPECT_TRUE(item.name == "jade.pov" || item.name == "jade.ppm") << item.name;
}

TEST_F(RenderHostTest, FailedRenderEndsNonzeroAndKeepsPovRaysMessage) {
    const std::string scene = Scene("broken.pov", "sphere { 0, 1 pigment { rgbx 1 } \n");
    const RenderResult result = RenderThroughBridge(scene, "-w32 -h32 -f -a -c");
    ASSERT_TRUE(result.done);
    EXPECT_NE(result.doneValue, 0u);
    EXPECT_TRUE(result.rows.empty());
    const std::string error = bridge::PovErrorText();
    EXPECT_NE(error.find("Parse Error"), std::string::npos) << error;
    EXPECT_NE(error.find("broken.pov"), std::string::npos) << error;
    // The next good render clears the message.
    const RenderResult good = RenderThroughBridge(Scene("ok.pov", kJadeScene), "-w16 -h16 -f -a -c");
    EXPECT_EQ(good.doneValue, 0u);
    EXPECT_EQ(bridge::PovErrorText(), "");
}

// A stopped render ends without notice, and one started while another runs
// stops that one: either way the host is free again at once. Its messages come
// in order, so had a stopped render sent an end or rows, they would have come
// before the next render's own end.
TEST_F(RenderHostTest, StopOrANewRenderEndsTheRunningOneAtOnceWithoutNotice) {
    for (const bool stop : {true, false}) {
        SCOPED_TRACE(stop ? "stopped" : "replaced");
        RenderCollector collector;
        ASSERT_TRUE(StartSlowRender());
        collector.Pump(600);
        const auto start = std::chrono::steady_clock::now();
        if (stop) {
            EXPECT_EQ(PovStopRender(bridge::ClientWindow()), 0u);
            EXPECT_FALSE(collector.result.done);
            EXPECT_TRUE(collector.result.rows.empty());
        }
        const RenderResult next = RenderThroughBridge(Scene("next.pov", kJadeScene), "-w16 -h16 -f -a -c");
        ASSERT_TRUE(next.done);
        EXPECT_EQ(std::tuple(next.doneValue, next.rows.size(), next.width), std::tuple(0u, size_t{16}, 16));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
    }
}

TEST_F(RenderHostTest, PovRayKilledFromOutsideEndsAsCrashedNotAsAFailedScene) {
    RenderCollector collector;
    ASSERT_TRUE(StartSlowRender());
    collector.Pump(500);
    ASSERT_EQ(RunCommand("pkill -KILL -P " + std::to_string(host.Pid())), 0);
    ASSERT_TRUE(collector.WaitDone(10000));
    EXPECT_EQ(collector.result.doneValue, bridge::kRenderCrashed);
    EXPECT_NE(collector.result.doneText.find("POV-Ray wurde unerwartet beendet (Signal 9"), std::string::npos)
        << collector.result.doneText;
}

TEST_F(RenderHostTest, KilledHostIsNoticedAndANewOneTakesOver) {
    RenderCollector collector;
    ASSERT_TRUE(StartSlowRender());
    collector.Pump(500);
    // The host's POV-Rays: the one rendering and those started ahead for the next scene.
    std::string listed;
    ASSERT_EQ(RunCommand("pgrep -x -P " + std::to_string(host.Pid()) + " povray", &listed), 0);
    std::vector<pid_t> povRays;
    std::istringstream pids(listed);
    for (pid_t pid = 0; pids >> pid;) povRays.push_back(pid);
    ASSERT_FALSE(povRays.empty());
    host.Kill();
    EXPECT_EQ(GetPovWindow(), 0u);
    // They went with it.
    const auto ended = [](pid_t pid) {
        const std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
        const size_t close = stat.rfind(')');
        return close == std::string::npos || stat.compare(close + 2, 1, "Z") == 0;
    };
    EXPECT_TRUE(WaitUntil([&] { return std::all_of(povRays.begin(), povRays.end(), ended); }, 5000));
    ASSERT_TRUE(host.Start());
    const RenderResult result = RenderThroughBridge(Scene("again.pov", kJadeScene), "-w12 -h12 -f -a -c");
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.rows.size(), 12u);
}

// A program killed outside its control never closes the host it started:
// the host ends by itself once no program that renders with it is left.
TEST_F(RenderHostTest, EndsOnceTheLastProgramRenderingWithItIsKilled) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t client = fork();
    if (client == 0) {
        bridge::Endpoint own;
        if (own.Open("")) bridge::AnnounceRenderUser(own.Id(), true);
        const char listed = 1;
        if (write(ready[1], &listed, 1) != 1) _exit(1);
        for (;;) pause();
    }
    ASSERT_GT(client, 0);
    char listed = 0;
    ASSERT_EQ(read(ready[0], &listed, 1), 1);
    close(ready[0]);
    close(ready[1]);
    // Killed at once, perhaps before the host ever looked: the stale listing
    // still tells it that a program came and went.
    EXPECT_EQ(kill(host.Pid(), 0), 0);
    kill(client, SIGKILL);
    waitpid(client, nullptr, 0);
    EXPECT_GE(host.WaitForExit(15000), 0) << "the render host outlived its last program";
}

TEST_F(RenderHostTest, SwitchedOffExtensionForwardsNothingAndItsCountStaysAtZero) {
    RenderCollector collector;
    ASSERT_TRUE(PovStartRender(bridge::ClientWindow(), Scene("off.pov", kJadeScene).c_str(), "-w16 -h16 -f -a -c"));
    // Switched off before the picture arrives: no rows, no notice.
    EnableExtension(0);
    collector.Pump(3000);
    EXPECT_TRUE(collector.result.rows.empty());
    EXPECT_FALSE(collector.result.done);
    // More switching off than on never takes the count below zero.
    EnableExtension(0);
    EnableExtension(0);
    EXPECT_EQ(IsPGEEnabled(), 0);
    EXPECT_EQ(PovStartRender(bridge::ClientWindow(), (dir / "x.pov").c_str(), "-w8 -h8 -f"), 0);
    EnableExtension(1);
    // The host applies each switch drop in order; the last one (on) must win
    // once the earlier "off" drops have been handled.
    collector.Pump(500);
    for (int i = 0; i < 100 && IsPGEEnabled() != 1; ++i) collector.Pump(50);
    EXPECT_EQ(IsPGEEnabled(), 1);
    EXPECT_TRUE(RenderThroughBridge(Scene("on.pov", kJadeScene), "-w8 -h8 -f -a -c").done);
}

TEST_F(RenderHostTest, OneInstanceKeepsTheFirstHostAndACloseRequestEndsItCleanly) {
    const std::uint32_t first = GetPovWindow();
    WriteHostIni(true, "[General]\nOneInstance=1\n");
    HostProcess second;
    ASSERT_TRUE(second.Start(false));
    EXPECT_EQ(second.WaitForExit(5000), 0);
    EXPECT_EQ(GetPovWindow(), first);
    bridge::WindowMessage close;
    close.message = bridge::kWmClose;
    ASSERT_TRUE(bridge::PostToWindow(first, close));
    EXPECT_EQ(host.WaitForExit(5000), 0);
    EXPECT_EQ(GetPovWindow(), 0u);
    EXPECT_EQ(bridge::FindWindowOfClass("PovMainWinClass"), 0u);
}

TEST_F(RenderHostTest, EditorRequestsOpenTheEditorAtTheLine) {
    const std::string log = dir / "editor.log";
    const std::string editor = dir.Write("bin/vi", "#!/bin/sh\necho \"$@\" >> '" + log + "'\n");
    RunCommand("chmod +x '" + editor + "'");
    setenv("EDITOR", editor.c_str(), 1);
    RestartHost("[General]\nDropToEditor=1\n");
    unsetenv("EDITOR");
    const std::string file = dir.Write("a,b.inc", "// x\n");
    std::string text;
    auto waitForLines = [&](long count) {
        WaitUntil([&] {
            text = ReadFile(log);
            return std::count(text.begin(), text.end(), '\n') >= count;
        }, 5000);
    };
    // One request at a time: the request text has one place in the shared block.
    ASSERT_TRUE(PovEditFile(file.c_str(), 10, 1));
    waitForLines(1);
    ASSERT_TRUE(PovEditFile(file.c_str(), 2, 1));
    waitForLines(2);
    ASSERT_TRUE(PovEditFile(file.c_str(), 0, 0));
    waitForLines(3);
    // The three editors run side by side: their order is not fixed.
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"+10 " + file, "+2 " + file, file}));
}

TEST_F(RenderHostTest, DroppedSceneIsRenderedToItsFileWhenNotForTheEditor) {
    RestartHost("[General]\nDropToEditor=0\n");
    const std::string scene = Scene("dropped.pov", kJadeScene);
    ASSERT_TRUE(PovEditFile(scene.c_str(), 0, 0));
    EXPECT_TRUE(WaitUntil([&] { return FileExists(dir / "dropped.png"); }, 15000));
}

}  // namespace
}  // namespace sc::test
