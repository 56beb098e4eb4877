// The preview window's render side against a scripted bridge: which
// messages reach the frame buffer, and starts that fail at once.
#include <gtest/gtest.h>

#include "TestEnvironment.h"
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
    std::uint32_t ListedPovWindow() override { return pov; }
    void ShowPovWindow(std::uint32_t, int show) override { shows.push_back(show); }
    void ClosePovWindow(std::uint32_t) override {}
    void EnableExtension(bool enable) override { enabled = enable; }
    bool ExtensionEnabled() override { return enabled; }
    bool EditFile(const std::string&, unsigned, bool) override { return true; }
    std::uint32_t StartRender(std::uint32_t, const std::string& scene, const std::string& options) override {
        starts.push_back(scene + " " + options);
        return ++lastId;
    }
    std::uint32_t StopRender(std::uint32_t) override { return 0; }
    bool RenderRequestActive(std::uint32_t id) override { return id != 0 && id == lastId; }
    void AnnounceRenderUser(std::uint32_t, bool present) override { listed = present; }
    bool OtherRenderUsers(std::uint32_t) override { return false; }
    std::string HostFolder() override { return {}; }
    std::string PluginPath() override { return {}; }

    std::uint32_t pov = 7, lastId = 0;
    bool enabled = true, listed = false;
    std::vector<std::string> starts;
    std::vector<int> shows;
};

class Listener : public PreviewRenderListener {
public:
    void OnRenderStarted(int result) override { started.push_back(result); }
    void OnRenderDone(std::uint32_t value) override { done.push_back(value); }
    void OnRenderStep() override { ++steps; }
    void OnRowStored(int row) override { rows.push_back(row); }
    std::vector<int> started, rows;
    std::vector<std::uint32_t> done;
    int steps = 0;
};

PovMessage Row(std::uint32_t request, int row) {
    PovMessage m;
    m.kind = PovMessage::Kind::Row;
    m.request = request;
    m.row = row;
    m.width = 2;
    m.bytes = std::string(6, '\x7f');
    return m;
}

class PreviewRendererStartTest : public testing::Test {
protected:
    PreviewRendererStartTest() : renderer(ui, bridge, nullptr) {
        renderer.SetListener(&listener);
        renderer.SetPictureSize(2, 2);
    }

    RecordingUserInterface ui;
    FakeBridge bridge;
    Listener listener;
    PreviewRenderer renderer;
};

TEST_F(PreviewRendererStartTest, OnlyTheLastRequestsRowsAndEndReachTheFrame) {
    EXPECT_TRUE(bridge.listed);
    ASSERT_EQ(renderer.StartRender("a.pov", "-f"), 0);
    ASSERT_EQ(renderer.StartRender("b.pov", "-f"), 0);  // replaces the first
    EXPECT_EQ(bridge.starts, (std::vector<std::string>{"a.pov -w2 -h2 -f", "b.pov -w2 -h2 -f"}));
    EXPECT_EQ(bridge.shows, (std::vector<int>{kPovShowMinimize, kPovShowMinimize}));
    EXPECT_FALSE(renderer.RenderTakenOver());
    EXPECT_TRUE(renderer.HandleMessage(Row(1, 0)));  // the replaced render's row: taken, dropped
    EXPECT_TRUE(renderer.HandleMessage(Row(2, 1)));
    EXPECT_EQ(listener.rows, std::vector<int>{1});
    PovMessage done;
    done.kind = PovMessage::Kind::RenderDone;
    done.request = 2;
    done.value = kPovRenderFailed;
    done.bytes = "Parse Error";
    EXPECT_TRUE(renderer.HandleMessage(done));
    EXPECT_EQ(listener.done, std::vector<std::uint32_t>{kPovRenderFailed});
    EXPECT_EQ(renderer.RendererError(), "Parse Error");
    renderer.StopRender();
    EXPECT_TRUE(renderer.RenderTakenOver());
    renderer.HandleMessage(Row(2, 0));
    EXPECT_EQ(listener.rows, std::vector<int>{1});
    PovMessage other;
    other.kind = PovMessage::Kind::Other;
    EXPECT_FALSE(renderer.HandleMessage(other));
    EXPECT_TRUE(listener.started.empty());  // every start answered directly
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
    EXPECT_TRUE(listener.started.empty());
}

}  // namespace
}  // namespace sc::test
