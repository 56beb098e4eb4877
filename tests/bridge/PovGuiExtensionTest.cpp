// The bridge's extension side driven in this process, with a fake POV-Ray:
// this process's window plays both POV-Ray's main window and the client.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <tuple>
#include <vector>

#include "TestEnvironment.h"
#include "bridge/BridgeApi.h"
#include "bridge/Endpoint.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"

namespace sc::test {
namespace {

using namespace sc::bridge;

struct FakePov {
    std::vector<int> calls;
    int failCode = 0;
    PovVariables variables{};
    std::vector<std::string> scenesAtStart;
    std::vector<std::string> commandsAtStart;
    std::function<void()> onStart;  // POV-Ray reports the start of each render
};
FakePov* g_pov = nullptr;

unsigned char FakeService(int code, void* data) {
    g_pov->calls.push_back(code);
    if (code == g_pov->failCode) return 0;
    auto* record = static_cast<PovVariables*>(data);
    if (code == kServiceGetVars) std::memcpy(record, &g_pov->variables, sizeof(PovVariables));
    if (code == kServiceSetVars) std::memcpy(&g_pov->variables, record, sizeof(PovVariables));
    if (code == kServiceStartRendering) {
        g_pov->scenesAtStart.push_back(g_pov->variables.sceneFile);
        g_pov->commandsAtStart.push_back(g_pov->variables.commandLine);
        if (g_pov->onStart) g_pov->onStart();
    }
    return 1;
}

class PovGuiExtensionTest : public testing::Test {
protected:
    void SetUp() override {
        g_pov = &pov;
        pov.onStart = [this] { pointers.event(&record, kEventRenderStarted, 0); };
        pov.variables.size = sizeof(PovVariables);
        std::strcpy(pov.variables.sceneFile, "user.pov");
        std::strcpy(pov.variables.commandLine, "+w640");
        SetBridgeMessageSink([this](const std::string& text, const std::string& caption) {
            messages.push_back(text);
            captions.push_back(caption);
        });
        SetMessageHandler([this](const WindowMessage& message) { received.push_back(message); });
        window = ClientWindow();
        ASSERT_NE(window, 0u);
        ASSERT_EQ(PovGuiExtensionGetPointers(sizeof(GuiExtPointers), &pointers), 1);
        record.instance = pointers.instance;
        std::memset(&init, 0, sizeof init);
        init.interfaceVersion = 150;
        init.firstMenuId = 500;
        init.mainWindow = window;
        init.service = &FakeService;
        ASSERT_EQ(pointers.init(pointers.instance, sizeof init, &init), 1);
        record.menu = init.menu;
        record.firstMenuId = init.firstMenuId;
        pointers.fileDrop(&record, "swbridge.EnableExtension", 0);
    }
    void TearDown() override {
        PovStopRender(0);
        pointers.event(&record, kEventClosing, 0);
        pointers.event(&record, kEventRenderFinishing, 0);
        pointers.fileDrop(&record, "swbridge.DisableExtension", 0);
        while (IsPGEEnabled()) EnableExtension(0);
        pointers.destroy(&record);
        Pump();
        SetMessageHandler(nullptr);
        SetBridgeMessageSink(nullptr);
        g_pov = nullptr;
    }
    // Takes what arrived at this process's window.
    void Pump() {
        for (int i = 0; i < 5; ++i) DispatchMessages(20);
    }
    // Hands every command drop that arrived to the extension, as POV-Ray would.
    void DeliverDrops() {
        Pump();
        std::vector<WindowMessage> drops;
        std::vector<WindowMessage> others;
        for (const WindowMessage& message : received)
            (message.message == kWmDropFiles ? drops : others).push_back(message);
        received = others;
        for (const WindowMessage& drop : drops) {
            const std::string name(drop.data.c_str() + 20);
            dropNames.push_back(name);
            dropResults.push_back(pointers.fileDrop(&record, name.c_str(), 0));
        }
        Pump();
    }
    // A render as the client asks for it and POV-Ray begins it; its id.
    int StartFakeRender(WindowId client = 0, const char* scene = "s.pov") {
        const int id = PovStartRender(client ? client : window, scene, "-f");
        DeliverDrops();
        return id;
    }
    // POV-Ray renders a picture of one row, `width` pixels wide, and ends.
    void RenderOneRow(int width, PovWord endValue) {
        pointers.event(&record, kEventImageSize, static_cast<PovWord>(width));
        const PovColour colour{1, 1, 1, 0, 0};
        for (int x = 0; x < width; ++x) pointers.pixelPlot(&record, x, 0, &colour);
        pointers.event(&record, kEventRenderFinishing, 0);
        pointers.event(&record, kEventRenderEnded, endValue);
    }
    // What reached another program's window: (message, lParam) pairs.
    static std::vector<std::pair<std::uint32_t, std::uint32_t>> Arrived(Endpoint& other) {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> arrived;
        WindowMessage message;
        while (other.Receive(message, 50)) arrived.emplace_back(message.message, message.lParam);
        return arrived;
    }
    const PovMenu& Menu() const { return *reinterpret_cast<const PovMenu*>(record.menu); }

    FakePov pov;
    GuiExtPointers pointers{};
    GuiExtRecord record{};
    GuiExtInitStruct init{};
    WindowId window = 0;
    std::vector<std::string> messages;
    std::vector<std::string> captions;
    std::vector<WindowMessage> received;
    std::vector<std::string> dropNames;
    std::vector<int> dropResults;
};

TEST_F(PovGuiExtensionTest, RefusesWrongSizesAndVersionsWithItsMessages) {
    GuiExtPointers other{};
    EXPECT_EQ(PovGuiExtensionGetPointers(576 + 1, &other), 0);
    GuiExtInitStruct wrong{};
    EXPECT_EQ(pointers.init(pointers.instance, sizeof wrong - 4, &wrong), 0);
    wrong.interfaceVersion = 200;
    EXPECT_EQ(pointers.init(pointers.instance, sizeof wrong, &wrong), 0);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].rfind("PointerBlock has invalid size ! (Probable version error)\n\n", 0), 0u);
    EXPECT_EQ(messages[1].rfind("InitStruct has invalid size ! (Probable version error)\n\n", 0), 0u);
    EXPECT_EQ(messages[2].rfind("Version error - this GUI extension cannot be used with your version of "
                                "POV-Ray for Windows\n\n", 0), 0u);
    EXPECT_EQ(captions[0], "Swatchcraft's POV-Communicator");
}

TEST_F(PovGuiExtensionTest, InitDescribesTheExtensionAndBuildsItsMenu) {
    EXPECT_EQ(pointers.signature, 0x434A4321u);
    EXPECT_STREQ(init.name, "Swatchcraft's POV-Communicator");
    EXPECT_EQ(init.version, 100u);
    EXPECT_GT(std::strlen(init.text), 50u);
    EXPECT_EQ(GetPovWindow(), window);
    const std::vector<std::pair<int, std::string>> items = {
        {500, "&Enabled"}, {-1, ""}, {503, "&Uninstall..."}, {-1, ""}, {502, "Start &Swatchcraft"}, {501, "&About..."}};
    ASSERT_EQ(Menu().count, 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Menu().items[i].separator, items[i].first < 0) << i;
        if (items[i].first >= 0) {
            EXPECT_EQ(std::pair(Menu().items[i].id, std::string(Menu().items[i].text)), items[i]);
        }
    }
    EXPECT_STREQ(pointers.menuTip(&record, 0), "Enables/Disables Swatchcraft's POV-Communicator");
    EXPECT_STREQ(pointers.menuTip(&record, 3), "Removes Swatchcraft's POV-Communicator");
    EXPECT_STREQ(pointers.menuTip(&record, 9), "");
}

TEST_F(PovGuiExtensionTest, EnabledItemAndCommandsSwitchTheExtensionForEveryone) {
    EXPECT_EQ(Menu().items[0].checked, 1);
    pointers.menuSelect(&record, 0);
    EXPECT_EQ(IsPGEEnabled(), 0);
    EXPECT_EQ(Menu().items[0].checked, 0);
    EXPECT_EQ(PovStartRender(window, "a.pov", "-f"), 0);
    EXPECT_EQ(EnableExtension(1), 1);
    DeliverDrops();
    ASSERT_EQ(dropNames, std::vector<std::string>{"swbridge.EnableExtension"});
    EXPECT_EQ(Menu().items[0].checked, 1);
    EXPECT_EQ(IsPGEEnabled(), 1);
    EXPECT_EQ(pointers.fileDrop(&record, "SWBRIDGE.StartRender", 0), 0);  // names compare exactly
    EXPECT_EQ(pointers.fileDrop(&record, "swbridge.StartRender", 1), 1);
    EXPECT_TRUE(pov.calls.empty());
}

TEST_F(PovGuiExtensionTest, RenderStartSwapsPovRaysSettingsAndTheWindowsNextRequestStopsItsLast) {
    const int first = PovStartRender(window, "/scenes/Preview.txt", "-w116 -h116 -f -a -c");
    EXPECT_GT(first, 0);
    DeliverDrops();
    const int second = PovStartRender(window, "/scenes/Overview.INI", "+sf2 +ef2 -a -c -f");
    EXPECT_GT(second, first);
    DeliverDrops();
    // The first render is of no use to the window any more: POV-Ray is asked
    // to stop it, and the second starts once it ended.
    EXPECT_EQ(pov.calls, (std::vector<int>{1, 2, 3, 2}));
    pointers.event(&record, kEventRenderProgress, 0);
    pointers.event(&record, kEventRenderEnded, kRenderStopped);
    DeliverDrops();
    EXPECT_EQ(pov.calls, (std::vector<int>{1, 2, 3, 2, 4, 1, 2, 3, 2}));
    for (const WindowMessage& message : received) EXPECT_NE(message.message, kWmRenderDone);
    EXPECT_EQ(pov.scenesAtStart, (std::vector<std::string>{"/scenes/Preview.pov", "/scenes/Overview.INI"}));
    EXPECT_EQ(pov.commandsAtStart, (std::vector<std::string>{"-w116 -h116 -f -a -c", "+sf2 +ef2 -a -c -f"}));
    EXPECT_STREQ(pov.variables.sceneFile, "user.pov");
    EXPECT_STREQ(pov.variables.commandLine, "+w640");
}

TEST_F(PovGuiExtensionTest, RowsAndTheEndReachTheClientWithTheRendersIdAndPovRaysMessage) {
    const int id = StartFakeRender();
    ASSERT_GT(id, 0);
    pointers.event(&record, kEventImageSize, 3 | (2 << 16));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const PovColour colour{x * 0.5f, 1.0f, y == 0 ? 0.999f : 2.0f, 0, 0};
            pointers.pixelPlot(&record, x, y, &colour);
        }
    WriteFileAtomically(PovErrorFileOf(window), "Parse Error: No matching } in 'pigment'\n");
    pointers.event(&record, kEventRenderFinishing, 0);
    pointers.event(&record, kEventRenderEnded, kRenderFailed);
    Pump();
    ASSERT_EQ(received.size(), 3u);
    for (const WindowMessage& message : received) EXPECT_EQ(message.lParam, static_cast<std::uint32_t>(id));
    // A row carries its number and width; the end carries how it ended.
    const auto row = [](const WindowMessage& m) { return std::tuple(m.message, m.dataWord, m.data); };
    EXPECT_EQ(row(received[0]), std::tuple(kWmCopyData, 3u, std::string("\x00\xff\xfe\x7f\xff\xfe\xff\xff\xfe", 9)));
    EXPECT_EQ(row(received[1]),
              std::tuple(kWmCopyData, (1u << 16) + 3, std::string("\x00\xff\xff\x7f\xff\xff\xff\xff\xff", 9)));
    EXPECT_EQ(std::tuple(received[2].message, received[2].wParam, received[2].data),
              std::tuple(kWmRenderDone, kRenderFailed, std::string("Parse Error: No matching } in 'pigment'\n")));
    // The client is forgotten with the end: a later end goes nowhere.
    received.clear();
    pointers.event(&record, kEventRenderEnded, 0);
    Pump();
    EXPECT_TRUE(received.empty());
}

TEST_F(PovGuiExtensionTest, StopRequestIsCarriedOutAtTheNextPixelOrProgress) {
    ASSERT_GT(StartFakeRender(), 0);
    pointers.event(&record, kEventImageSize, 4);
    EXPECT_EQ(PovStopRender(window + 1), window + 1);  // someone else's render: untouched
    EXPECT_EQ(PovStopRender(window), 0u);
    pov.calls.clear();
    const PovColour colour{1, 1, 1, 0, 0};
    pointers.pixelPlot(&record, 0, 0, &colour);
    EXPECT_EQ(pov.calls, std::vector<int>{4});
    pointers.event(&record, kEventRenderEnded, 2);
    Pump();
    for (const WindowMessage& message : received) EXPECT_NE(message.message, kWmRenderDone);
    // A render nobody asked for through the bridge is stopped at the next progress report.
    pov.calls.clear();
    pointers.event(&record, kEventRenderStarted, 0);
    PovStopRender(0);
    pointers.event(&record, kEventRenderProgress, 0);
    EXPECT_EQ(pov.calls, std::vector<int>{4});
}

TEST_F(PovGuiExtensionTest, FailedServiceRequestsAreReportedToBothSides) {
    for (int failing : {kServiceGetVars, kServiceSetVars, kServiceStartRendering}) {
        pov.failCode = failing;
        messages.clear();
        ASSERT_GT(PovStartRender(window, "s.pov", "-f"), 0);
        DeliverDrops();
        int steps = 0;
        int ends = 0;
        for (const WindowMessage& message : received) {
            steps += message.message == kWmRenderStep;
            ends += message.message == kWmRenderDone && message.wParam == kRenderFailed;
        }
        EXPECT_GE(steps, 1) << failing;
        // The requester is not left waiting for a render that never began.
        EXPECT_EQ(ends, 1) << failing;
        ASSERT_FALSE(messages.empty());
        const char* request = failing == kServiceGetVars   ? "GetVars"
                              : failing == kServiceSetVars ? "SetVars"
                                                           : "StartRendering";
        EXPECT_EQ(messages[0].rfind("Function \"Request" + std::string(request) + "\" failed!", 0), 0u) << messages[0];
        received.clear();
    }
    // A failed start still puts the user's settings back.
    EXPECT_STREQ(pov.variables.sceneFile, "user.pov");
    pov.failCode = kServiceStopRendering;
    messages.clear();
    ASSERT_GT(StartFakeRender(), 0);
    PovStopRender(0);
    const PovColour colour{1, 1, 1, 0, 0};
    pointers.pixelPlot(&record, 0, 0, &colour);
    pointers.pixelPlot(&record, 1, 0, &colour);
    ASSERT_EQ(messages.size(), 1u);  // asked once, told once
    EXPECT_EQ(messages[0].rfind("Function \"RequestStopRendering\" failed! (Probable version error)", 0), 0u);
}

TEST_F(PovGuiExtensionTest, EditRequestsCarryFileAndLinesByTheLineRule) {
    // The request text the extension hands on for an edit request, or "(none)".
    auto request = [&](const char* file, unsigned line, int lineToEditor) {
        received.clear();
        EXPECT_EQ(PovEditFile(file, line, lineToEditor), 1);
        DeliverDrops();
        for (const WindowMessage& message : received)
            if (message.message == kWmEditorRequest) {
                EXPECT_EQ(message.wParam, message.data.size());
                return message.data;
            }
        return std::string("(none)");
    };
    EXPECT_EQ(request("/inc/a.inc", 2, 1), "/inc/a.inc,2");
    EXPECT_EQ(request("/inc/a.inc", 10, 1), "/inc/a.inc,10,0,8");
    EXPECT_EQ(request("/inc/a.inc", 3, 1), "/inc/a.inc,3,0,1");
    EXPECT_EQ(request("/inc/plain.inc", 5, 0), "(none)");
    EXPECT_EQ(dropNames, (std::vector<std::string>{"swbridge.EditFile", "swbridge.EditFile", "swbridge.EditFile",
                                                   "/inc/plain.inc"}));
    EXPECT_EQ(dropResults, (std::vector<int>{1, 1, 1, 0}));  // an ordinary file goes back to POV-Ray
    // A request that would not fit is refused rather than cut short.
    EXPECT_EQ(PovEditFile(std::string(800, 'x').c_str(), 10, 1), 0);
}

TEST_F(PovGuiExtensionTest, UninstallRemovesOnlyItsOwnKeysInTheUpperRange) {
    TempDir dir;
    const std::string ini = dir.Write("pvengine.ini",
                                      "[GuiExtensions]\nExtDll05=/a/swbridge.pge\nExtDll17=/b/SwBridge.PGE\n"
                                      "ExtDll18=/c/other.pge\n");
    std::strcpy(pov.variables.iniPath, ini.c_str());
    pointers.menuSelect(&record, 3);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "\"Swatchcraft's POV-Communicator\" has been removed succesfully.\n\n"
              "POV-Ray for Windows needs to re-start for this to take effect.");
    std::vector<std::string> kept;
    for (const char* key : {"ExtDll05", "ExtDll17", "ExtDll18"})
        kept.push_back(GetIniString(ini, "GuiExtensions", key, "gone"));
    EXPECT_EQ(kept, (std::vector<std::string>{"/a/swbridge.pge", "gone", "/c/other.pge"}));
    // Only the entry below 16 is left: nothing to remove, and the user hears so.
    pointers.menuSelect(&record, 3);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].rfind("Removing \"Swatchcraft's POV-Communicator\" failed!\n\n", 0), 0u);
    // Cancel leaves everything.
    SetBridgeQuestionSink([](const std::string&, const std::string&) { return false; });
    WriteIniString(ini, "GuiExtensions", "ExtDll20", "/d/swbridge.pge");
    pointers.menuSelect(&record, 3);
    SetBridgeQuestionSink(nullptr);
    EXPECT_EQ(GetIniString(ini, "GuiExtensions", "ExtDll20"), "/d/swbridge.pge");
}

TEST_F(PovGuiExtensionTest, ProgramsTakeTurnsAndEachGetsOnlyItsOwnRender) {
    Endpoint other;
    ASSERT_TRUE(other.Open());
    // POV-Ray renders a scene nobody asked for through the bridge; two programs ask, neither waits.
    pointers.event(&record, kEventRenderStarted, 0);
    const auto asked = std::chrono::steady_clock::now();
    const int mine = PovStartRender(window, "mine.pov", "-f");
    const int theirs = PovStartRender(other.Id(), "theirs.pov", "-f");
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(1));
    ASSERT_GT(mine, 0);
    ASSERT_GT(theirs, mine);
    DeliverDrops();
    EXPECT_TRUE(pov.calls.empty());
    // The unasked render gives way; then each request in turn, with its own scene.
    pointers.event(&record, kEventRenderProgress, 0);
    pointers.event(&record, kEventRenderEnded, kRenderStopped);
    DeliverDrops();
    EXPECT_EQ(pov.scenesAtStart, std::vector<std::string>{"mine.pov"});
    EXPECT_EQ(PovStopRender(other.Id() + 1), other.Id() + 1);
    RenderOneRow(4, kRenderCompleted);
    DeliverDrops();
    EXPECT_EQ(pov.scenesAtStart, (std::vector<std::string>{"mine.pov", "theirs.pov"}));
    RenderOneRow(2, kRenderCompleted);
    Pump();
    using Arrival = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    Arrival mineArrived;
    for (const WindowMessage& message : received) mineArrived.emplace_back(message.message, message.lParam);
    const auto id = [](int value) { return static_cast<std::uint32_t>(value); };
    EXPECT_EQ(mineArrived, (Arrival{{kWmCopyData, id(mine)}, {kWmRenderDone, id(mine)}}));
    EXPECT_EQ(Arrived(other), (Arrival{{kWmCopyData, id(theirs)}, {kWmRenderDone, id(theirs)}}));
    EXPECT_FALSE(RenderRequestActive(id(mine)) || RenderRequestActive(id(theirs)));
}

}  // namespace
}  // namespace sc::test
