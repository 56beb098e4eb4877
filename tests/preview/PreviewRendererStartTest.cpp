// Starting a render when POV-Ray is busy with another one: the start waits
// in timers, never in a loop of its own, and can be abandoned meanwhile.
#include <gtest/gtest.h>

#include "TestEnvironment.h"
#include "platform/TimerQueue.h"
#include "povray/PovBridge.h"
#include "preview/PreviewRenderer.h"

namespace sc::test {
namespace {

class FakeBridge : public PovBridge {
public:
    std::uint32_t ClientWindow() override { return 42; }
    int ClientDescriptor() override { return -1; }
    int TakeMessages(const std::function<void(const PovMessage&)>&) override { return 0; }
    std::uint32_t PovWindow() override { return pov; }
    bool PovWindowListed() override { return pov != 0; }
    void ShowPovWindow(std::uint32_t, int show) override { shows.push_back(show); }
    void ClosePovWindow(std::uint32_t) override {}
    void EnableExtension(bool enable) override { enabled = enable; }
    bool ExtensionEnabled() override { return enabled; }
    bool EditFile(const std::string&, unsigned, bool) override { return true; }
    bool RenderRunning() override { return running; }
    void RequestRenderStop() override { ++stopRequests; }
    bool StartRender(std::uint32_t, const std::string& scene, const std::string& options) override {
        starts.push_back(scene + " " + options);
        return !running;
    }
    std::uint32_t StopRender(std::uint32_t) override { return 0; }
    std::uint32_t RenderClientWindow() override { return 42; }
    std::string LastRenderError() override { return {}; }
    std::string HostFolder() override { return {}; }
    std::string PluginPath() override { return {}; }

    std::uint32_t pov = 7;
    bool enabled = true, running = false;
    int stopRequests = 0;
    std::vector<std::string> starts;
    std::vector<int> shows;
};

class StartListener : public PreviewRenderListener {
public:
    void OnRenderStarted(int result) override { results.push_back(result); }
    void OnRenderDone(std::uint32_t) override {}
    void OnRenderStep() override {}
    std::vector<int> results;
};

class PreviewRendererStartTest : public testing::Test {
protected:
    PreviewRendererStartTest() : renderer(ui, bridge, timers, nullptr) { renderer.SetListener(&listener); }

    RecordingUserInterface ui;
    FakeBridge bridge;
    TimerQueue timers;
    StartListener listener;
    PreviewRenderer renderer;
};

TEST_F(PreviewRendererStartTest, StartWaitsForAnotherRenderToStopThenStartsOnce) {
    bridge.running = true;
    ASSERT_EQ(renderer.StartRender("a.pov", "-f"), PreviewTarget::kStartPending);
    EXPECT_EQ(bridge.stopRequests, 1);
    EXPECT_TRUE(bridge.starts.empty());
    EXPECT_TRUE(renderer.Starting());
    // Still running after some polls: nothing started, nothing reported.
    RunTimersUntil(timers, [] { return false; }, 60);
    EXPECT_TRUE(bridge.starts.empty());
    EXPECT_TRUE(listener.results.empty());
    bridge.running = false;
    EXPECT_TRUE(RunTimersUntil(timers, [&] { return !listener.results.empty(); }, 5000));
    EXPECT_EQ(listener.results, std::vector<int>{0});
    EXPECT_EQ(bridge.starts, std::vector<std::string>{"a.pov -w116 -h116 -f"});
    EXPECT_EQ(bridge.shows, std::vector<int>{kPovShowMinimize});
    EXPECT_FALSE(renderer.Starting());
    EXPECT_EQ(timers.MillisecondsToNext(), -1);
}

TEST_F(PreviewRendererStartTest, StopAbandonsAPendingStartAndAFreeBridgeStartsAtOnce) {
    bridge.running = true;
    ASSERT_EQ(renderer.StartRender("a.pov", "-f"), PreviewTarget::kStartPending);
    renderer.StopRender();
    EXPECT_FALSE(renderer.Starting());
    EXPECT_EQ(timers.MillisecondsToNext(), -1);
    bridge.running = false;
    EXPECT_EQ(renderer.StartRender("b.pov", "-f"), 0);
    EXPECT_EQ(bridge.starts, std::vector<std::string>{"b.pov -w116 -h116 -f"});
    EXPECT_TRUE(listener.results.empty());  // answered directly, not through the listener
}

TEST_F(PreviewRendererStartTest, SwitchedOffExtensionOrMissingPovRayFailsAtOnce) {
    bridge.enabled = false;
    ui.answers = {Answer::No};
    EXPECT_EQ(renderer.StartRender("a.pov", "-f"), 3);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0], "Die GUI-Extension wurde in POV-Ray ausgeschaltet.\n\nSoll diese wieder aktiviert werden?");
    ui.answers = {Answer::Yes};
    EXPECT_EQ(renderer.StartRender("a.pov", "-f"), 0);
    EXPECT_TRUE(bridge.enabled);
    bridge.pov = 0;  // and no launcher to start it
    EXPECT_EQ(renderer.StartRender("a.pov", "-f"), 1);
    EXPECT_TRUE(listener.results.empty());
}

}  // namespace
}  // namespace sc::test
