// The preview window's render side: against a scripted bridge, which messages
// reach the frame buffer and which starts fail at once; and previews rendered
// for real through the render set-up every front end uses:
// the render run drives the preview window's render side, which starts the
// render host through the launcher and takes the rows the bridge sends, all
// driven by a plain poll loop. Every picture must match what POV-Ray writes
// for the same scene.
#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <tuple>

#include "ScriptedWindow.h"
#include "TestEnvironment.h"
#include "bridge/BridgeApi.h"
#include "bridge/BridgeConnection.h"
#include "library/EntryKind.h"
#include "library/LibraryController.h"
#include "library/PreviewImage.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFolders.h"
#include "povray/PovBridge.h"
#include "povray/PovInstallation.h"
#include "povray/PpmStreamReader.h"
#include "povray/RenderScratch.h"
#include "preview/LargePreviewCache.h"
#include "preview/PreviewRenderSession.h"
#include "preview/PreviewRenderer.h"

namespace sc::test {
namespace {

using Clock = std::chrono::steady_clock;

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

PovMessage Row(std::uint32_t request, int row) { return {PovMessage::Kind::Row, 0, request, row, 2, std::string(6, '\x7f')}; }

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
    EXPECT_TRUE(renderer.HandleMessage({PovMessage::Kind::RenderDone, kPovRenderFailed, 2, 0, 0, "Parse Error"}));
    EXPECT_EQ(listener.done, std::vector<std::uint32_t>{kPovRenderFailed});
    EXPECT_EQ(renderer.RendererError(), "Parse Error");
    renderer.StopRender();
    EXPECT_TRUE(renderer.RenderTakenOver());
    renderer.HandleMessage(Row(2, 0));
    EXPECT_EQ(listener.rows, std::vector<int>{1});
    EXPECT_FALSE(renderer.HandleMessage(PovMessage{}));  // not the renderer's
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

// The colour sums of the picture POV-Ray itself renders, at `side` pixels,
// from the scene of the last single render. With POV-Rays waiting for their
// scenes there may be several scratch folders: the newest scene is the one.
PreviewImage PovRaysOwnSums(int side) {
    std::string newest = ProgramFolder("preview");
    auto newestTime = std::filesystem::file_time_type::min();
    for (const auto& item : std::filesystem::directory_iterator(ProgramFolder("preview"))) {
        const std::string path = item.path().string();
        if (!IsScratchFolder(path) || item.path().filename().string().rfind(kRenderScratchPrefix, 0) != 0) continue;
        std::error_code error;
        const auto time = std::filesystem::last_write_time(item.path() / "TexturePreview.pov", error);
        if (!error && time >= newestTime) {
            newest = path;
            newestTime = time;
        }
    }
    std::string output;
    const std::string size = "+W" + std::to_string(side) + " +H" + std::to_string(side);
    EXPECT_EQ(RenderWithPovray(newest, "TexturePreview.pov", size + " -A +FP +Ooracle.ppm", &output), 0) << output;
    // Taken as the preview window holds a picture.
    FrameBuffer frame;
    PpmStreamReader reader;
    reader.onImage = [&](int width, int height) { frame.SetSize(width, height); };
    reader.onRow = [&](int y, const std::uint8_t* rgb, int width) { return frame.PutRow(y, width, rgb, width * 3u); };
    EXPECT_TRUE(reader.Feed(ReadFile(newest + "/oracle.ppm")) && reader.Complete());
    PreviewImage image;
    ComputeStats(image, frame.Pixels(), frame.Size(), frame.Width(), frame.Height());
    return image;
}

// The real bridge, watched: where the core takes messages from it, and
// whether one posted while a render is being started is handled inside that start.
class WatchedBridge : public PovBridge {
public:
    static constexpr std::uint32_t kMarker = bridge::kWmUser + 77;

    std::uint32_t ClientWindow() override { return real_.ClientWindow(); }
    int ClientDescriptor() override { return real_.ClientDescriptor(); }
    int TakeMessages(const std::function<void(const PovMessage&)>& handler) override {
        if (!loopDelivering) ++takenOutsideTheLoop;
        return real_.TakeMessages([&](const PovMessage& message) {
            if (message.kind == PovMessage::Kind::Other && message.value == kMarker) {
                ++markersHandled;
                if (starting) ++markersHandledDuringStart;
            }
            handler(message);
        });
    }
    std::uint32_t PovWindow() override { return real_.PovWindow(); }
    std::uint32_t ListedPovWindow() override { return real_.ListedPovWindow(); }
    void ShowPovWindow(std::uint32_t pov, int show) override { real_.ShowPovWindow(pov, show); }
    void ClosePovWindow(std::uint32_t pov) override { real_.ClosePovWindow(pov); }
    void EnableExtension(bool enable) override { real_.EnableExtension(enable); }
    bool ExtensionEnabled() override { return real_.ExtensionEnabled(); }
    bool EditFile(const std::string& file, unsigned line, bool withLine) override {
        return real_.EditFile(file, line, withLine);
    }
    std::uint32_t StartRender(std::uint32_t window, const std::string& scene, const std::string& options) override {
        starting = true;
        ++starts;
        bridge::WindowMessage marker;
        marker.message = kMarker;
        bridge::PostToWindow(real_.ClientWindow(), marker);
        // Until the marker has arrived: a start that pumped would handle it now.
        pollfd socket{real_.ClientDescriptor(), POLLIN, 0};
        poll(&socket, 1, 1000);
        const std::uint32_t id = real_.StartRender(window, scene, options);
        starting = false;
        return id;
    }
    std::uint32_t StopRender(std::uint32_t window) override { return real_.StopRender(window); }
    bool RenderRequestActive(std::uint32_t id) override { return real_.RenderRequestActive(id); }
    void AnnounceRenderUser(std::uint32_t window, bool present) override { real_.AnnounceRenderUser(window, present); }
    bool OtherRenderUsers(std::uint32_t window) override { return real_.OtherRenderUsers(window); }
    std::string HostFolder() override { return real_.HostFolder(); }
    std::string PluginPath() override { return real_.PluginPath(); }

    bool loopDelivering = false;
    bool starting = false;
    int takenOutsideTheLoop = 0;
    int starts = 0;
    int markersHandled = 0;
    int markersHandledDuringStart = 0;

private:
    PovBridge& real_ = bridge::Connection();
};

class PreviewRendererTest : public testing::Test {
protected:
    PreviewRendererTest()
        : installation(0, "/usr", 3.7f, 0),
          controller(ui),
          window(controller),
          session(controller, window, watched, installation, settings) {}

    void SetUp() override {
        SetProgramDataDirOverride(dir / "data");
        controller.Library().SetLibraryPaths({PovIncludeDir()});
    }
    void TearDown() override {
        bool closed = false;
        session.Launcher().ClosePov([&] { closed = true; });
        while (!closed) Turn();
        SetProgramDataDirOverride("");
    }
    // One turn of a plain event loop: sleep on the bridge's socket until the next timer.
    void Turn() {
        pollfd socket{session.Descriptor(), POLLIN, 0};
        const int next = session.MillisecondsToNextTimer();
        poll(&socket, 1, next < 0 || next > 50 ? 50 : next);
        if (socket.revents & POLLIN) {
            watched.loopDelivering = true;
            session.DeliverMessages();
            watched.loopDelivering = false;
        }
        session.RunDueTimers();
    }
    // Runs the session as a window's event loop would, until the run ends.
    void Drive(bool autoStore, const std::function<void()>& eachTurn = {}) {
        autoStore ? session.StepWithAutoStore() : session.Step();
        const auto start = Clock::now();
        while (!session.Idle() && Clock::now() - start < std::chrono::seconds(120)) {
            if (eachTurn) eachTurn();
            Turn();
        }
        ASSERT_TRUE(session.Idle());
    }

    TempDir dir;
    RecordingUserInterface ui;
    PovInstallation installation;
    LibraryController controller;
    PreviewRenderSettings settings;
    ScriptedWindow window;
    WatchedBridge watched;
    PreviewRenderSession session;
};

// Every kind renders as POV-Ray renders the same scene; the starts go on in
// the loop and nothing runs nested in them.
TEST_F(PreviewRendererTest, EveryKindRendersAsPovRayRendersTheSameSceneWithoutNestedStarts) {
    int turnsWhileStarting = 0;
    for (const KindSample& sample : OneOfEachKind(dir)) {
        SCOPED_TRACE(sample.name);
        TextureEntry* entry = AddFromFile(controller, sample.file, sample.name, sample.kind);
        window.ShowEntry(entry);
        window.selected = {entry};
        Drive(true, [&] { turnsWhileStarting += session.Run().Starting() ? 1 : 0; });
        ASSERT_TRUE(entry->previewValid) << (ui.messages.empty() ? "" : ui.messages.back().text);
        EXPECT_TRUE(session.Launcher().StartedPov());
        EXPECT_EQ(Sums(entry->preview), Sums(PovRaysOwnSums(116)));
        // Every picture shows its sample; a normal is lit on the finish
        // colour, so its bumps show as many light shades, not one black.
        const FrameBuffer& frame = session.Renderer().Frame();
        const std::set<std::uint8_t> shades(frame.Pixels(), frame.Pixels() + frame.Size());
        EXPECT_GT(shades.size(), 20u);
        EXPECT_GT(*shades.rbegin(), sample.kind == kKindNormal ? 150 : 0);
    }
    // Each step returned to the loop before the render host was up, and the
    // message posted in the middle of each start was handled by the loop after it.
    EXPECT_GE(turnsWhileStarting, 1);
    EXPECT_EQ(watched.markersHandled, watched.starts);
    EXPECT_EQ(watched.markersHandledDuringStart, 0);
    EXPECT_EQ(watched.takenOutsideTheLoop, 0);
}

// What a front end hears of large renders.
struct LargeEvents : PreviewRenderEvents {
    void RowStored(int) override { ++rows; }
    void LargeRenderDone(bool succeeded) override { results.push_back(succeeded); }
    int rows = 0;
    std::vector<bool> results;
};

TEST_F(PreviewRendererTest, LargePicturesRenderAtTheirSizeApartFromTheStoredPreview) {
    TextureEntry* entry = AddFromFile(controller, PovIncludeDir() + "/textures.inc", "Jade", kKindPigment);
    window.ShowEntry(entry);
    window.selected = {entry};
    Drive(true);
    ASSERT_TRUE(entry->previewValid) << (ui.messages.empty() ? "" : ui.messages.back().text);
    const FrameBuffer small = session.Renderer().Frame();
    const std::vector<std::uint8_t> storedJpeg = entry->preview.jpegData;
    const float storedVersion = entry->previewVersion;

    LargePreviewCache cache(dir / "cache");
    session.SetLargeCache(&cache);
    LargeEvents events;
    session.SetEvents(&events);
    const auto finish = [&] {
        const auto start = Clock::now();
        while (session.LargeRendering() && Clock::now() - start < std::chrono::seconds(60)) Turn();
        ASSERT_FALSE(session.LargeRendering());
    };
    ASSERT_EQ(session.StartLargeRender(entry, window.lines, 256), LargeRenderStart::Rendering);
    finish();
    ASSERT_EQ(events.results, std::vector<bool>{true});
    const FrameBuffer large = session.LargeFrame();
    ASSERT_EQ(std::tuple(large.Width(), large.Height(), events.rows), std::tuple(256, 256, 256));
    // The stored preview and the run's picture size are untouched.
    EXPECT_EQ(entry->preview.jpegData, storedJpeg);
    EXPECT_EQ(std::tuple(entry->previewVersion, session.Renderer().Frame().Width()), std::tuple(storedVersion, 116));

    // The very picture POV-Ray renders from the same scene at that size...
    PreviewImage got;
    ComputeStats(got, large.Pixels(), large.Size(), large.Width(), large.Height());
    EXPECT_EQ(Sums(got), Sums(PovRaysOwnSums(256)));
    // ...with more detail than the small one scaled up.
    long difference = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256 * 3; ++x) {
            const size_t smallAt = (static_cast<size_t>(y * 116 / 256) * 116 + static_cast<size_t>(x / 3 * 116 / 256)) * 3 + x % 3;
            difference += std::abs(large.Pixels()[static_cast<size_t>(y) * 256 * 3 + x] - small.Pixels()[smallAt]);
        }
    EXPECT_GT(difference / (256 * 256 * 3), 2) << "mean difference per byte";

    // Back to the entry: from the cache, the same picture, no render.
    ASSERT_EQ(session.StartLargeRender(entry, window.lines, 256), LargeRenderStart::FromCache);
    EXPECT_TRUE(std::equal(large.Pixels(), large.Pixels() + large.Size(), session.LargeFrame().Pixels()));
    EXPECT_TRUE(session.Idle());

    // An edited sample scene is another picture: the cache does not answer.
    const std::string sample = ProgramFolder("preview") + "/TexturePreview01.inc";
    ASSERT_TRUE(WriteFileAtomically(sample, ReadFile(sample) + "light_source { <0, 0, -50> color rgb <1, 0, 0> }\r\n"));
    ASSERT_EQ(session.StartLargeRender(entry, window.lines, 256), LargeRenderStart::Rendering);
    finish();
    EXPECT_FALSE(std::equal(large.Pixels(), large.Pixels() + large.Size(), session.LargeFrame().Pixels()));

    // An edit POV-Ray refuses: its message names the line in the box.
    std::vector<std::string> edited = window.lines;
    edited.push_back("#declare Broken = pigment { colr rgb 1 }");
    ASSERT_EQ(session.StartLargeRender(entry, edited, 128), LargeRenderStart::Rendering);
    finish();
    EXPECT_EQ(events.results, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(session.LargeError().boxLine, static_cast<int>(edited.size())) << session.LargeError().Text();
    EXPECT_NE(session.LargeError().message.find("Parse Error"), std::string::npos) << session.LargeError().Text();
    EXPECT_FALSE(cache.Contains(LargePreviewKey::For(edited, 128, settings, installation.Version())));
}

}  // namespace
}  // namespace sc::test
