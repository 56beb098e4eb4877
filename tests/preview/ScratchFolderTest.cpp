// Declarations that write files, rendered with the real POV-Ray the way the
// window (one at a time through the render host) and the batch renderer do:
// whatever they write stays in the render's scratch folder, so the sample
// scene, the user's files and the pictures rendered after them stay intact.
#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptedWindow.h"
#include "RunningTool.h"
#include "TestEnvironment.h"
#include "library/EntryKind.h"
#include "library/LibraryController.h"
#include "platform/ProgramFolders.h"
#include "platform/WriteConfinement.h"
#include "povray/PovInstallation.h"
#include "povray/PovRenderProcess.h"
#include "povray/RenderScratch.h"
#include "preview/BatchRenderer.h"
#include "preview/SampleScenes.h"

namespace sc::test {
namespace {

TEST(ScratchFolderTest, AConfinedProcessChangesNothingOutsideItsFolder) {
    if (!WriteConfinement::Supported()) GTEST_SKIP() << "the kernel offers no Landlock";
    TempDir dir;
    const std::string outside = dir.Write("outside.txt", "kept\n");
    ScratchFolder scratch;
    ASSERT_TRUE(scratch.Create(dir.Path(), kRenderScratchPrefix));
    EXPECT_TRUE(IsScratchFolder(scratch.Path()));
    PovRenderProcess process;
    ASSERT_TRUE(process.Start("/bin/sh",
                              {"-c", "echo x > inside.txt; echo y > ../outside.txt; rm -f ../outside.txt; "
                                     "mkdir ../made; mv inside.txt ../moved.txt; echo z > /dev/null && exit 0"},
                              scratch.Path(), 0, true));
    EXPECT_EQ(RunToEnd(process), 0);
    EXPECT_EQ(ReadFile(outside), "kept\n");
    EXPECT_TRUE(FileExists(scratch.File("inside.txt")));
    EXPECT_FALSE(PathExists(dir / "made"));
    EXPECT_FALSE(PathExists(dir / "moved.txt"));
    // A new render starts with nothing an earlier one left behind.
    ASSERT_TRUE(scratch.Clear());
    EXPECT_FALSE(FileExists(scratch.File("inside.txt")));
    const std::string path = scratch.Path();
    scratch.Remove();
    EXPECT_FALSE(PathExists(path));
}

class HostileSceneTest : public testing::Test {
protected:
    HostileSceneTest() : installation(0, "/usr", 3.7f, 0), controller(ui) {}

    void SetUp() override {
        if (!WriteConfinement::Supported()) GTEST_SKIP() << "the kernel offers no Landlock";
        SetProgramDataDirOverride(dir / "data");
        controller.Library().SetLibraryPaths({PovIncludeDir()});
        const std::string folder = ProgramFolder("preview");
        ASSERT_TRUE(CreateDirectories(folder));
        ASSERT_TRUE(EnsureTemplateFile(folder, 1));
        templatePath = TemplateFilePath(folder, 1);
        templateText = ReadFile(templatePath);
        victim = dir / "victim.txt";
        // Every way to name the template from a scratch folder, and a file of the user's.
        // POV-Ray opens a file only under a name not declared: the scanner
        // would take an undeclared one for a missing constant.
        std::string text = "#declare T_Red = texture { pigment { color rgb <0.8, 0.2, 0.1> } }\n#declare WF = 0;\n";
        const std::string targets[] = {"TexturePreview01.inc", "../TexturePreview01.inc",
                                       "../../TexturePreview01.inc", templatePath, victim};
        for (std::size_t i = 0; i < std::size(targets); ++i)
            text += "#declare T_Write" + std::to_string(i) + " = texture { #undef WF #fopen WF \"" + targets[i] +
                    "\" write #write(WF, \"damaged\") #fclose WF pigment { rgb 1 } }\n";
        file = dir.Write("lib.inc", text);
        for (std::size_t i = 0; i < std::size(targets); ++i) writers.push_back(Add("T_Write" + std::to_string(i)));
        red = Add("T_Red");
    }
    void TearDown() override { SetProgramDataDirOverride(""); }

    TextureEntry* Add(const std::string& name) { return AddFromFile(controller, file, name, kKindTexture); }
    void Forget(TextureEntry* entry) {
        Clear(entry->preview);
        controller.SetPreviewState(entry, PreviewState::Empty);
    }
    void Batch(const std::vector<TextureEntry*>& entries) {
        BatchRenderSettings settings;
        settings.jobs = 1;
        settings.framesPerProcess = static_cast<int>(entries.size());
        ASSERT_TRUE(RenderInBatch(controller, installation, entries, settings));
    }
    void ExpectNothingOutsideChanged() {
        EXPECT_EQ(ReadFile(templatePath), templateText);
        EXPECT_FALSE(PathExists(victim));
    }

    TempDir dir;
    RecordingUserInterface ui;
    PovInstallation installation;
    LibraryController controller;
    std::string file, templatePath, templateText, victim;
    std::vector<TextureEntry*> writers;
    TextureEntry* red = nullptr;
};

TEST_F(HostileSceneTest, WritesStayInTheScratchFolderInTheBatchAndInTheLivePreview) {
    Batch({red});
    ASSERT_TRUE(red->previewValid);
    const auto reference = Sums(red->preview);
    Forget(red);

    std::vector<TextureEntry*> entries = writers;
    entries.push_back(red);
    Batch(entries);
    ExpectNothingOutsideChanged();
    ASSERT_TRUE(red->previewValid);
    EXPECT_EQ(Sums(red->preview), reference);
    // Writing into its own folder is allowed and harms nobody; the others were refused.
    EXPECT_TRUE(writers[0]->previewValid);
    for (std::size_t i = 1; i < writers.size(); ++i) EXPECT_TRUE(writers[i]->previewFaulty) << i;

    // Through the render host, one at a time (each refused write costs its retries: only a few).
    entries = {writers[0], writers[1], writers[3], red};
    for (TextureEntry* entry : entries) Forget(entry);
    RenderOneAtATime(controller, installation, entries);
    ExpectNothingOutsideChanged();
    ASSERT_TRUE(red->previewValid);
    EXPECT_EQ(Sums(red->preview), reference);
    EXPECT_TRUE(writers[0]->previewValid);
}

// Pictures of every kind beside the include file are found, and a missing
// one is named in the failure.
TEST_F(HostileSceneTest, AJpegBesideItsIncludeRendersAndAMissingOneIsNamed) {
    std::string output;
    const std::string pics = dir / "pics";
    ASSERT_TRUE(CreateDirectories(pics));
    dir.Write("pics/make.pov", "camera { location -z look_at 0 } plane { z, 1 pigment { rgb <0.9, 0.5, 0.1> } }\n");
    ASSERT_EQ(RenderWithPovray(pics, "make.pov", "+FJ +Owood.jpg", &output), 0) << output;
    ASSERT_TRUE(FileExists(pics + "/wood.jpg"));
    file = dir.Write("pics/jpeg.inc",
                     "#declare P_Wood = pigment { image_map { jpeg \"wood.jpg\" } }\n"
                     "#declare P_Gone = pigment { image_map { jpeg \"gone.jpg\" } }\n");
    TextureEntry* wood = AddFromFile(controller, file, "P_Wood", kKindPigment);
    TextureEntry* gone = AddFromFile(controller, file, "P_Gone", kKindPigment);
    BatchRecorder recorder;
    BatchRenderSettings settings;
    settings.jobs = 1;
    ASSERT_TRUE(RenderInBatch(controller, installation, {wood, gone}, settings, &recorder));
    EXPECT_TRUE(wood->previewValid) << recorder.failures[wood];
    EXPECT_GT(wood->preview.sumRed, wood->preview.sumBlue);
    EXPECT_TRUE(gone->previewFaulty);
    EXPECT_EQ(recorder.failures[gone].rfind("Bilddatei \"gone.jpg\" nicht gefunden.", 0), 0u) << recorder.failures[gone];
}

}  // namespace
}  // namespace sc::test
