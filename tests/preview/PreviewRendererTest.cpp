// Previews rendered for real: the render run drives the preview window's
// render side, which starts the render host through the launcher and takes
// the rows the bridge sends. Every picture must match what POV-Ray writes for
// the same scene.
#include <gtest/gtest.h>

#include <chrono>
#include <tuple>
#include <sstream>

#include "ScriptedWindow.h"
#include "TestEnvironment.h"
#include "bridge/BridgeApi.h"
#include "library/EntryKind.h"
#include "library/LibraryController.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "povray/PovConfiguration.h"
#include "povray/PovInstallation.h"
#include "povray/PovLauncher.h"
#include "preview/PreviewImage.h"
#include "preview/PreviewRenderRun.h"
#include "preview/PreviewRenderer.h"

namespace sc::test {
namespace {

using Clock = std::chrono::steady_clock;

class KeepAll : public PovSettingsDialog {
public:
    bool Run(const PovSettingFlags&, PovSettingFlags& keep) override {
        keep.fill(true);
        return true;
    }
};

// The colour sums of a picture POV-Ray wrote, taken as the preview window holds it.
PreviewImage SumsOfPpm(const std::string& ppm) {
    PreviewImage image;
    std::istringstream in(ppm);
    int width = 0, height = 0, maxValue = 0;
    in.ignore(2);  // "P6"
    for (int* field : {&width, &height, &maxValue}) {
        while (in >> std::ws && in.peek() == '#') in.ignore(1 << 20, '\n');
        in >> *field;
    }
    in.get();
    std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * height * 3);
    for (int y = height - 1; y >= 0; --y)  // rows bottom-up, bytes blue-green-red
        for (int x = 0; x < width; ++x)
            for (int c = 2; c >= 0; --c) pixels[(static_cast<size_t>(y) * width + x) * 3 + c] = static_cast<std::uint8_t>(in.get());
    ComputeStats(image, pixels.data(), pixels.size(), width, height);
    return image;
}

class PreviewRendererTest : public testing::Test {
protected:
    PreviewRendererTest()
        : installation(0, "/usr", 3.7f, 0),
          configuration(installation, ui),
          launcher(configuration, ui),
          controller(ui),
          renderer(ui, &launcher),
          window(controller),
          run(controller, renderer, window, installation, settings) {}

    void SetUp() override {
        SetProgramDataDirOverride(dir / "data");
        configuration.SetSettingsDialog(&dialog);
        window.checkSettings = [this] { return configuration.CheckSettings(); };
        configuration.SetPluginPath(bridge::BridgeModulePath());
        configuration.SetPovWindowProbe([] { return bridge::FindWindowOfClass(bridge::kPovMainWindowClass) != 0; });
        controller.Library().SetLibraryPaths({PovIncludeDir()});
        renderer.SetListener(&run);
        bridge::SetMessageHandler([this](const bridge::WindowMessage& m) { renderer.HandleMessage(m); });
    }
    void TearDown() override {
        bridge::SetMessageHandler(nullptr);
        launcher.ClosePov();
        SetProgramDataDirOverride("");
    }
    TextureEntry* Add(const std::string& file, const std::string& name, int kind) {
        std::string directory, fileName;
        SplitPath(file, directory, fileName);
        return controller.Library().AddEntry(directory, fileName, name, kind, {}, 0, nullptr);
    }
    // Runs the render side as the window's event loop would, until the run ends.
    void Drive(bool autoStore, const std::function<void()>& eachTurn = {}) {
        autoStore ? run.StepWithAutoStore() : run.Step();
        const auto start = Clock::now();
        while (!run.Idle() && Clock::now() - start < std::chrono::seconds(120)) {
            if (eachTurn) eachTurn();
            bridge::DispatchMessages(20);
            if (window.TimerDue()) run.OnTimer();
            run.CheckRenderer();
        }
        ASSERT_TRUE(run.Idle());
    }

    TempDir dir;
    RecordingUserInterface ui;
    PovInstallation installation;
    PovConfiguration configuration;
    PovLauncher launcher;
    KeepAll dialog;
    LibraryController controller;
    PreviewRenderer renderer;
    PreviewRenderSettings settings;
    ScriptedWindow window;
    PreviewRenderRun run;
};

TEST_F(PreviewRendererTest, EveryKindRendersAsPovRayRendersTheSameScene) {
    const std::string normals = dir.Write("normals.inc", "#declare N_Bumps = normal { bumps 0.5 scale 0.1 }\n");
    const std::string inc = PovIncludeDir() + "/";
    struct Sample {
        std::string file;
        const char* name;
        int kind;
    } samples[] = {{inc + "textures.inc", "M_Glass", kKindMaterial}, {inc + "stones1.inc", "T_Stone1", kKindTexture},
                   {inc + "textures.inc", "Jade", kKindPigment},     {inc + "colors.inc", "DimGray", kKindColor},
                   {inc + "finish.inc", "Shiny", kKindFinish},       {normals, "N_Bumps", kKindNormal}};
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.name);
        TextureEntry* entry = Add(sample.file, sample.name, sample.kind);
        window.ShowEntry(entry);
        window.selected = {entry};
        Drive(true);
        ASSERT_TRUE(entry->previewValid) << (ui.messages.empty() ? "" : ui.messages.back().text);
        EXPECT_TRUE(launcher.StartedPov());
        std::string output;
        ASSERT_EQ(RenderWithPovray(ProgramFolder("preview"), "TexturePreview.pov", "+W116 +H116 -A +FP +Ooracle.ppm",
                                   &output),
                  0)
            << output;
        const PreviewImage expected = SumsOfPpm(ReadFile(ProgramFolder("preview") + "/oracle.ppm"));
        const PreviewImage& got = entry->preview;
        EXPECT_EQ(std::tuple(got.sumRed, got.sumGreen, got.sumBlue, got.sumMiddleRow),
                  std::tuple(expected.sumRed, expected.sumGreen, expected.sumBlue, expected.sumMiddleRow));
        // A normal alone gets POV-Ray's default black pigment: only the others show colour.
        if (sample.kind != kKindNormal) {
            EXPECT_GT(got.sumRed + got.sumGreen + got.sumBlue, 0u);
        }
    }
}

TEST_F(PreviewRendererTest, BrokenDeclarationIsTriedFourTimesAndEndsFaulty) {
    const std::string file = dir.Write("bad.inc",
                                       "#declare T_Bad = texture { pigment { rgbx 1 } }\n"
                                       "#declare T_Good = texture { pigment { color rgb <0.2, 0.4, 0.6> } }\n");
    TextureEntry* bad = Add(file, "T_Bad", kKindTexture);
    TextureEntry* good = Add(file, "T_Good", kKindTexture);
    window.selected = {bad, good};
    window.ShowEntry(bad);
    int attempts = 0, lastAttempt = -1;
    Drive(false, [&] {
        if (run.RunEntry() != bad || run.Attempt() == lastAttempt) return;
        lastAttempt = run.Attempt();
        ++attempts;
    });
    EXPECT_EQ(attempts, 4);
    EXPECT_TRUE(bad->previewFaulty);
    EXPECT_FLOAT_EQ(bad->previewVersion, 0.0f);
    EXPECT_TRUE(good->previewValid);
    // Besides the notice that the render host's settings were made: one error message.
    std::vector<std::string> errors;
    for (const auto& message : ui.messages)
        if (message.icon == MessageIcon::Exclamation) errors.push_back(message.text);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Von den 2 ausgewählten Texturen konnten 1 nicht berechnet werden.", 0), 0u);
    EXPECT_NE(errors[0].find("Parse Error"), std::string::npos) << errors[0];
}

}  // namespace
}  // namespace sc::test
