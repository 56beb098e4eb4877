// Previews rendered several to a POV-Ray process, several processes side by
// side, with the real POV-Ray: the pictures and entry fields must be those
// the one-at-a-time render run stores through the bridge, a frame that fails
// must cost only its own entry, and no POV-Ray may outlive a stop, a time
// limit or the renderer.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>
#include <tuple>

#include "RunningTool.h"
#include "ScriptedWindow.h"
#include "TestEnvironment.h"
#include "library/EntryKind.h"
#include "platform/ProgramFolders.h"

namespace sc::test {
namespace {

// POV-Ray processes this test program started that still exist, ended or not.
int PovRayChildren() {
    int count = 0;
    for (pid_t pid : ChildProcesses()) count += ReadFile("/proc/" + std::to_string(pid) + "/comm") == "povray\n";
    return count;
}

bool PrivateFolderLeft() {
    for (const auto& item : std::filesystem::directory_iterator(ProgramFolder("preview")))
        if (item.path().filename().string().rfind(".batch-", 0) == 0) return true;
    return false;
}

// What a stored preview consists of, for comparing two ways of making it.
using Stored = std::tuple<std::string, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, float, int, bool,
                          bool, std::uint32_t>;

Stored StoredOf(const TextureEntry& e) {
    const PreviewImage& p = e.preview;
    return {std::string(reinterpret_cast<const char*>(p.jpegData.data()), p.jpegData.size()),
            p.sumRed, p.sumGreen, p.sumBlue, p.sumMiddleRow, e.previewVersion, e.previewAttempt, e.previewValid,
            e.previewFaulty, e.previewCrc};
}

class BatchRendererTest : public testing::Test {
protected:
    BatchRendererTest() : installation(0, "/usr", 3.7f, 0), controller(ui) {}

    void SetUp() override {
        SetProgramDataDirOverride(dir / "data");
        controller.Library().SetLibraryPaths({PovIncludeDir()});
        // Brackets nested this deep overflow POV-Ray's parser stack.
        std::string crash = "#declare T_Crash = texture { pigment { rgb\n";
        for (int i = 0; i < 100; ++i) crash += std::string(60, '(') + "\n";
        crash += "1\n";
        for (int i = 0; i < 100; ++i) crash += std::string(60, ')') + "\n";
        crash += "} }\n";
        file = dir.Write("lib.inc", crash +
                         "#declare T_Red = texture { pigment { color rgb <0.8, 0.2, 0.1> } }\n"
                         "#declare C_Green = color rgb <0.1, 0.7, 0.3>;\n"
                         "#declare F_Shiny = finish { phong 0.9 }\n"
                         "#declare T_Retry = texture { pigment { color rgb <0,0,1> } "
                         "#if (version > 3.05) #error \"zu neu\" #end }\n"
                         "#declare T_Bad = texture { pigment { rgbx 1 } }\n"
                         "#declare T_Hang = texture { pigment { color rgb 1 } #while (1) #end }\n"
                         "#declare T_Hang2 = texture { pigment { color rgb 1 } #while (1) #end }\n"
                         "#declare T_Hang3 = texture { pigment { color rgb 1 } #while (1) #end }\n");
    }
    void TearDown() override { SetProgramDataDirOverride(""); }

    TextureEntry* Add(const std::string& name, int kind) { return AddFromFile(controller, file, name, kind); }
    static BatchRenderSettings Settings(int jobs, int framesPerProcess, int timeLimit = 60) {
        BatchRenderSettings settings;
        settings.jobs = jobs;
        settings.framesPerProcess = framesPerProcess;
        settings.timeLimitSeconds = timeLimit;
        return settings;
    }
    std::unique_ptr<BatchRenderer> MakeBatch(int jobs, int frames, int timeLimit = 60) {
        auto batch = std::make_unique<BatchRenderer>(controller, installation, Settings(jobs, frames, timeLimit));
        batch->SetListener(&recorder);
        return batch;
    }

    TempDir dir;
    RecordingUserInterface ui;
    PovInstallation installation;
    LibraryController controller;
    BatchRecorder recorder;
    std::string file;
};

TEST_F(BatchRendererTest, OneProcessStoresWhatTheRenderRunStoresAndLosesOnlyItsBadFrames) {
    TextureEntry* red = Add("T_Red", kKindTexture);
    TextureEntry* bad = Add("T_Bad", kKindTexture);
    TextureEntry* green = Add("C_Green", kKindColor);
    TextureEntry* retry = Add("T_Retry", kKindTexture);
    TextureEntry* shiny = Add("F_Shiny", kKindFinish);
    const std::vector<TextureEntry*> renderable = {red, bad, green, retry, shiny};
    RenderOneAtATime(controller, installation, renderable);
    std::vector<Stored> sequential;
    for (TextureEntry* entry : renderable) sequential.push_back(StoredOf(*entry));
    ASSERT_EQ(controller.PreviewCount(), 4);
    ASSERT_TRUE(bad->previewFaulty);
    EXPECT_EQ(retry->previewAttempt, 1);  // stored from the second try, under #version 3.0
    for (TextureEntry* entry : renderable) {
        Clear(entry->preview);
        entry->previewVersion = 0;
        entry->previewCrc = 0;
        controller.SetPreviewState(entry, PreviewState::Empty);
    }
    controller.modified = 0;

    // All in one process: a parse error, a crash and an endless loop each
    // end it in the middle of its run, and it goes on after the bad frame.
    TextureEntry* crash = Add("T_Crash", kKindTexture);
    TextureEntry* hang = Add("T_Hang", kKindTexture);
    auto batch = MakeBatch(1, 7, 5);
    ASSERT_TRUE(batch->Start({red, bad, green, crash, shiny, hang, retry}));
    // Nothing of an entry changes before its picture is stored.
    EXPECT_FLOAT_EQ(red->previewVersion, 0.0f);
    DriveUntil(*batch, [&] { return !batch->Running(); });
    for (size_t i = 0; i < renderable.size(); ++i)
        EXPECT_TRUE(StoredOf(*renderable[i]) == sequential[i])
            << renderable[i]->name << " version " << renderable[i]->previewVersion << " attempt "
            << int(renderable[i]->previewAttempt) << " valid " << renderable[i]->previewValid;
    // Four stored and three failed: the crash and the endless loop are faulty too.
    const BatchProgress progress = batch->Progress();
    EXPECT_EQ(std::tuple(progress.total, progress.stored, progress.failed, progress.running, recorder.finishedCalls),
              std::tuple(7, 4, 3, 0, 1));
    EXPECT_EQ(std::tuple(controller.PreviewCount(), controller.FaultyCount()), std::tuple(4, 3));
    EXPECT_GT(controller.modified, 0);
    EXPECT_EQ(recorder.failures[red], "");
    EXPECT_NE(recorder.failures[bad].find("Parse Error"), std::string::npos) << recorder.failures[bad];
    EXPECT_NE(recorder.failures[crash].find("Signal 11"), std::string::npos) << recorder.failures[crash];
    EXPECT_NE(recorder.failures[hang].find("5 Sekunden"), std::string::npos) << recorder.failures[hang];
    EXPECT_EQ(PovRayChildren(), 0);
    EXPECT_FALSE(PrivateFolderLeft());
}

TEST_F(BatchRendererTest, CancelStopsEveryRenderAndKeepsWhatWasFinished) {
    TextureEntry* red = Add("T_Red", kKindTexture);
    TextureEntry* hang = Add("T_Hang", kKindTexture);
    std::vector<TextureEntry*> entries = {red, hang, Add("T_Hang2", kKindTexture), Add("T_Hang3", kKindTexture)};
    // A hanging entry that had a picture keeps it, and its version, when stopped.
    hang->previewVersion = 3.0f;
    hang->preview.jpegData = {1, 2, 3};
    controller.SetPreviewState(hang, PreviewState::Present);
    // Two processes of two frames: the hanging entry follows the quick one in its run.
    auto batch = MakeBatch(2, 2);
    ASSERT_TRUE(batch->Start(entries));
    EXPECT_EQ(batch->Progress().running, 2);
    DriveUntil(*batch, [&] { return red->previewValid; });
    ASSERT_TRUE(red->previewValid);
    batch->Cancel();
    EXPECT_EQ(PovRayChildren(), 0);
    EXPECT_EQ(std::tuple(batch->Running(), batch->Cancelled(), recorder.finishedCalls), std::tuple(false, true, 1));
    EXPECT_EQ(std::tuple(red->previewValid, hang->previewValid, hang->previewVersion, controller.FaultyCount()),
              std::tuple(true, true, 3.0f, 0));
    EXPECT_EQ(hang->preview.jpegData, (std::vector<std::uint8_t>{1, 2, 3}));
    // Stopping by going away works as well.
    ASSERT_TRUE(batch->Start({entries[2], entries[3]}));
    EXPECT_EQ(batch->Progress().running, 2);
    batch.reset();
    EXPECT_EQ(PovRayChildren(), 0);
    EXPECT_FALSE(PrivateFolderLeft());
}

// A declaration in sRGB colours must not change the scene around it: a
// clear colour shows the very backdrop whatever its syntax, and an opaque
// one the colour its numbers name.
TEST_F(BatchRendererTest, SrgbColoursLeaveTheSceneAsItIs) {
    file = dir.Write("srgb.inc",
                     "#declare P_ClearSrgb = pigment { srgbt <1, 1, 1, 1> }\n"
                     "#declare P_Clear = pigment { rgbt <1, 1, 1, 1> }\n");
    TextureEntry* srgb = Add("P_ClearSrgb", kKindPigment);
    TextureEntry* plain = Add("P_Clear", kKindPigment);
    ASSERT_TRUE(RenderInBatch(controller, installation, {srgb, plain}, Settings(1, 2)));
    ASSERT_TRUE(srgb->previewValid && plain->previewValid);
    EXPECT_FLOAT_EQ(srgb->previewVersion, 3.7f);
    EXPECT_EQ(srgb->preview.jpegData, plain->preview.jpegData);
    EXPECT_EQ(Sums(srgb->preview), Sums(plain->preview));
}

// With few file handles left the batch starts fewer processes and still
// renders everything.
TEST_F(BatchRendererTest, FewFileHandlesMeanFewerProcessesNotAFailure) {
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    const std::vector<TextureEntry*> entries = {Add("T_Red", kKindTexture), Add("C_Green", kKindColor),
                                                Add("F_Shiny", kKindFinish), Add("T_Retry", kKindTexture)};
    std::size_t open = 0;
    for ([[maybe_unused]] const auto& item : std::filesystem::directory_iterator("/proc/self/fd")) ++open;
    rlimit few = saved;
    few.rlim_cur = open + 10;  // room for one POV-Ray and its picture, not for four
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
    const auto batch = RenderInBatch(controller, installation, entries, Settings(20, 1));
    setrlimit(RLIMIT_NOFILE, &saved);
    ASSERT_TRUE(batch) << "no process could be started";
    EXPECT_LT(batch->Jobs(), 4);
    EXPECT_EQ(std::tuple(batch->Error(), batch->Progress().stored), std::tuple("", 4));
}

TEST_F(BatchRendererTest, BackgroundChoiceAndProgressLine) {
    TextureEntry* red = Add("T_Red", kKindTexture);
    TextureEntry* green = Add("C_Green", kKindColor);
    TextureEntry* shiny = Add("F_Shiny", kKindFinish);
    controller.SetPreviewState(green, PreviewState::Present);
    controller.SetPreviewState(shiny, PreviewState::Faulty);
    const TextureLibrary& library = controller.Library();
    EXPECT_EQ(EntriesToRenderInBackground(library, {}), (std::vector<TextureEntry*>{red, shiny}));
    EXPECT_EQ(EntriesToRenderInBackground(library, {green}), (std::vector<TextureEntry*>{red, shiny}));
    EXPECT_EQ(EntriesToRenderInBackground(library, {green, red}), (std::vector<TextureEntry*>{green, red}));

    BatchProgress progress;
    progress.total = 2000;
    EXPECT_EQ(BatchProgressText(progress), "0 von 2000 fertig, 0 fehlerhaft, 0.0 Vorschauen/s");
    progress.stored = 95;
    progress.failed = 5;
    progress.elapsedSeconds = 10;
    EXPECT_EQ(BatchProgressText(progress), "100 von 2000 fertig, 5 fehlerhaft, 10.0 Vorschauen/s, noch 3:10");
    progress.elapsedSeconds = 400;
    EXPECT_EQ(BatchProgressText(progress), "100 von 2000 fertig, 5 fehlerhaft, 0.2 Vorschauen/s, noch 2:06:40");
}

}  // namespace
}  // namespace sc::test
