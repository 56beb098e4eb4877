// The render run's state machine with a scripted preview window;
// scenes are written for real, renders are played by the test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedWindow.h"
#include "TestEnvironment.h"
#include "bridge/GuiExtensionInterface.h"
#include "library/EntryKind.h"
#include "platform/ProgramFolders.h"
#include "povray/PovInstallation.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationCrc.h"

namespace sc::test {
namespace {

class FakeTarget : public PreviewTarget {
public:
    FakeTarget() { frame.SetSize(116, 116); }
    int StartRender(const std::string& scene, const std::string& options) override {
        scenes.push_back(scene);
        optionTexts.push_back(options);
        frame.Clear();
        return startResult;
    }
    void StopRender() override { ++stops; }
    const FrameBuffer& Frame() const override { return frame; }
    bool RendererAlive() const override { return alive; }
    std::string RendererError() const override { return error; }
    bool RenderTakenOver() const override { return takenOver; }

    FrameBuffer frame;
    std::vector<std::string> scenes;
    std::vector<std::string> optionTexts;
    int startResult = 0, stops = 0;
    bool alive = true, takenOver = false;
    std::string error;
};

class PreviewRenderRunTest : public testing::Test {
protected:
    PreviewRenderRunTest()
        : controller(ui), window(controller), installation(0, "/usr", 3.7f, 0),
          run(controller, target, window, installation, settings) {
        settings.picturePauseMs = 1000;
    }

    void SetUp() override {
        SetProgramDataDirOverride(dir.Path());
        include = dir.Write("lib.inc",
                            "#declare C_Red = color rgb <1, 0, 0>;\n"
                            "#declare P_Red = pigment { color C_Red }\n"
                            "#declare T_A = texture { pigment { P_Red } }\n"
                            "#declare T_B = texture { pigment { color rgb 0.5 } }\n"
                            "#declare T_C = texture { pigment { color rgb 0.25 } }\n");
    }
    void TearDown() override { SetProgramDataDirOverride(""); }

    TextureEntry* Add(const std::string& name, int kind = kKindTexture) {
        controller.AddScannedEntry(include, name, kind, "", 0);
        return controller.Library().FindEntry(dir.Path() + "/", "lib.inc", name);
    }
    void Select(const std::vector<TextureEntry*>& entries) {
        window.selected = entries;
        window.ShowEntry(entries[0]);
    }
    // Plays a whole render: rows of one colour, then the end notice and the timer.
    void Render(std::uint32_t endValue, std::uint8_t grey = 128, int size = 116) {
        const std::string row(size * 3, static_cast<char>(grey));
        for (int y = 0; endValue == 0 && y < size; ++y) {
            target.frame.PutRow(y, size, reinterpret_cast<const std::uint8_t*>(row.data()), row.size());
            run.OnRenderStep();
        }
        run.OnRenderDone(endValue);
        // Only a run of several rests after a picture, so each one can be seen.
        EXPECT_EQ(window.timer, run.SelectedCount() > 1 ? settings.picturePauseMs : 0);
        run.OnTimer();
    }

    TempDir dir;
    RecordingUserInterface ui;
    LibraryController controller;
    FakeTarget target;
    ScriptedWindow window;
    PovInstallation installation;
    PreviewRenderSettings settings;
    PreviewRenderRun run;
    std::string include;
};

TEST_F(PreviewRenderRunTest, SingleEntryKeepsThePictureUntilTakenOver) {
    TextureEntry* entry = Add("T_A");
    window.ShowEntry(entry);
    entry->previewVersion = 2.0f;
    window.minimized = true;
    run.Step();
    EXPECT_EQ(target.optionTexts, std::vector<std::string>{"-f -a -c +MB25"});
    EXPECT_TRUE(window.stopLabel);
    EXPECT_EQ(ui.statusTexts.back(), "Berechne Vorschau:");
    // Progress counts rows (5 of 11 units); a minimized window shows the percentage.
    for (int i = 0; i < 58; ++i) run.OnRenderStep();
    EXPECT_EQ(std::tuple(run.RowCount(), run.ProgressPosition(), window.caption), std::tuple(58, 5, "45% Swatchcraft"));
    Render(0);
    // The arrow offers the picture that waits.
    EXPECT_EQ(std::tuple(run.Idle(), window.arrow, window.stopLabel), std::tuple(true, true, false));
    EXPECT_TRUE(entry->preview.IsEmpty());
    EXPECT_FLOAT_EQ(entry->previewVersion, 2.0f);
    EXPECT_EQ(std::tuple(window.hints.size(), settings.previewHint), std::tuple(1u, 0));
    // Another current entry never gets this entry's picture.
    TextureEntry* other = Add("T_B");
    window.ShowEntry(other);
    run.TakeOverPending();
    EXPECT_TRUE(other->preview.IsEmpty() && !other->previewValid);
    window.ShowEntry(entry);
    run.TakeOverPending();
    EXPECT_EQ(std::tuple(entry->previewValid, entry->preview.statsValid, entry->previewVersion,
                         controller.PreviewCount()), std::tuple(true, true, 3.1f, 1));
    EXPECT_EQ(entry->previewCrc, DeclarationCrc(*entry));
    EXPECT_NE(entry->previewCrc, 0u);
    // The hint is not shown again once its box was ticked.
    run.Step();
    Render(0);
    EXPECT_EQ(window.hints.size(), 1u);
}

TEST_F(PreviewRenderRunTest, AutoStoreKeepsTheFrameAndEditedTextIsNeverTakenOver) {
    TextureEntry* entry = Add("C_Red", kKindColor);
    window.ShowEntry(entry);
    run.StepWithAutoStore();
    Render(0, 200);
    EXPECT_EQ(std::tuple(entry->previewValid, entry->previewVersion, run.PendingPicture()),
              std::tuple(true, 3.1f, false));
    // Stored as the frame buffer holds it.
    PreviewImage expected;
    ComputeStats(expected, target.frame.Pixels(), target.frame.Size(), 116, 116);
    EXPECT_EQ(Sums(entry->preview), Sums(expected));
    DecodedPicture picture;
    ASSERT_TRUE(Decode(entry->preview, picture, nullptr));
    EXPECT_EQ(picture.width, 116);
    window.edited = true;
    run.Step();
    Render(0);
    EXPECT_FALSE(window.arrow);
    run.TakeOverPending();
    EXPECT_EQ(entry->preview.sumRed, expected.sumRed);

    // Small pictures are stored with their sums times four.
    settings.small = settings.antialias = true;
    target.frame.SetSize(56, 56);
    window.edited = false;
    window.ShowEntry(entry = Add("T_B"));
    run.StepWithAutoStore();
    EXPECT_EQ(target.optionTexts.back(), "-f +a -c +MB25");
    Render(0, 0x40, 56);
    ComputeStats(expected, target.frame.Pixels(), target.frame.Size(), 56, 56);
    const auto [red, green, blue, middle] = Sums(expected);
    EXPECT_EQ(Sums(entry->preview), std::tuple(red * 4, green * 4, blue * 4, middle * 4));
}

TEST_F(PreviewRenderRunTest, RunOfSeveralSkipsRenderedEntriesWhenAsked) {
    std::vector<TextureEntry*> entries;
    for (const char* name : {"C_Red", "P_Red", "T_A", "T_B", "T_C", "T_X0", "T_X1", "T_X2", "T_X3", "T_X4"})
        entries.push_back(Add(name));
    for (int i : {1, 4, 6, 9}) controller.SetPreviewState(entries[static_cast<size_t>(i)], PreviewState::Present);
    Select(entries);
    ui.answers = {Answer::No};
    run.Step();
    EXPECT_EQ(ui.questions, std::vector<std::string>{"Es sind bereits einige der ausgewählten\nTexturen berechnet."
                                                     "\n\nSollen diese nochmals berechnet werden?"});
    EXPECT_EQ(std::tuple(run.ProgressTotal(), run.ProgressPosition(), ui.statusTexts.back()),
              std::tuple(116, 116 * 4 / 10 + 1, "Berechne Vorschauen:"));
    int renders = 0;
    for (; !run.Idle() && renders < 20; ++renders) {
        EXPECT_FALSE(run.RunEntry()->previewValid);
        Render(0);
    }
    EXPECT_EQ(std::tuple(renders, controller.PreviewCount(), ui.progressHidden), std::tuple(6, 10, true));
}

TEST_F(PreviewRenderRunTest, RetriesFollowTheInstalledVersion) {
    TextureEntry* entry = Add("T_A");
    window.ShowEntry(entry);
    for (auto [version, letter, renders] : {std::tuple{3.1f, 0, 1}, std::tuple{3.0f, 0, 3}, std::tuple{3.1f, int{'g'}, 4}}) {
        installation.SetVersion(version);
        installation.SetLetter(static_cast<std::int8_t>(letter));
        target.scenes.clear();
        ui.messages.clear();
        entry->previewVersion = 2.0f;
        run.Step();
        int count = 0;
        for (; !run.Idle() && count < 10; ++count) Render(1);
        EXPECT_EQ(count, renders) << version << letter;
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text.rfind("Bei der Berechnung durch POV-Ray ist ein\nFehler aufgetreten.", 0), 0u);
        EXPECT_NE(ui.messages[0].text.find("in der Datei:\n" + include), std::string::npos);
        // A single entry's stored picture stays, and so does its version.
        EXPECT_FLOAT_EQ(entry->previewVersion, 2.0f);
    }
}

TEST_F(PreviewRenderRunTest, AllRenderedAndNoDoesNothingWhileStopEndsTheRun) {
    TextureEntry* a = Add("T_A");
    TextureEntry* b = Add("T_B");
    controller.SetPreviewState(a, PreviewState::Present);
    controller.SetPreviewState(b, PreviewState::Present);
    Select({a, b});
    run.Step();
    EXPECT_EQ(ui.questions.at(0), "Alle ausgewählten Texturen sind bereits berechnet.\n\n"
                                  "Sollen diese erneut berechnet werden?");
    EXPECT_TRUE(target.scenes.empty() && run.Idle());

    controller.SetPreviewState(b, PreviewState::Empty);
    ui.answers = {Answer::Yes};
    run.Step();
    EXPECT_TRUE(a->previewValid);  // kept until a new picture is stored
    run.Step();                    // "&Stop"
    EXPECT_EQ(std::tuple(target.stops, run.Idle(), a->previewValid, target.scenes.size(), ui.messages.size()),
              std::tuple(1, true, true, 1u, 0u));
    // A late notice of the stopped render changes nothing.
    run.OnRenderDone(0);
    EXPECT_EQ(window.timer, -1);
}

TEST_F(PreviewRenderRunTest, FailedReRenderKeepsThePictureAndOnlyARefusedSceneIsRetried) {
    TextureEntry* kept = Add("T_A");
    TextureEntry* none = Add("T_B");
    window.ShowEntry(kept);
    run.StepWithAutoStore();
    Render(0, 200);
    const PreviewImage picture = kept->preview;
    const std::uint32_t crc = kept->previewCrc;
    // A re-render that POV-Ray refuses in every version, one whose POV-Ray was
    // killed, one stopped at its time limit: each entry keeps what it had.
    for (std::uint32_t end : {bridge::kRenderFailed, bridge::kRenderCrashed, bridge::kRenderTimedOut}) {
        SCOPED_TRACE(end);
        target.scenes.clear();
        ui.messages.clear();
        target.error = end == bridge::kRenderFailed ? "Parse Error: x" : "POV-Ray wurde unerwartet beendet (Signal 9).";
        Select({kept, none});
        ui.answers.push_back(Answer::Yes);
        run.Step();
        std::vector<float> versions;
        for (int renders = 0; !run.Idle() && renders < 10; ++renders) {
            if (run.RunEntry() == none) versions.push_back(none->previewVersion);
            Render(end);
        }
        // Older language versions are tried, newest first, only for a refused scene.
        const std::vector<float> tried = end == bridge::kRenderFailed ? std::vector<float>{3.1f, 3.0f, 2.0f, 1.0f}
                                                                      : std::vector<float>{3.1f};
        EXPECT_EQ(versions, tried);
        EXPECT_EQ(target.scenes.size(), end == bridge::kRenderFailed ? 8u : 2u);
        EXPECT_EQ(std::tuple(kept->previewValid, kept->previewFaulty, kept->previewCrc, kept->previewVersion),
                  std::tuple(true, false, crc, 3.1f));
        EXPECT_EQ(kept->preview.jpegData, picture.jpegData);
        EXPECT_EQ(std::tuple(none->previewFaulty, none->previewVersion, controller.PreviewCount(),
                             controller.FaultyCount()), std::tuple(true, 0.0f, 1, 1));
        EXPECT_EQ(run.FailedEntries(), (std::vector<TextureEntry*>{kept, none}));
        // The message blames the declarations only when POV-Ray refused them, and always gives POV-Ray's words.
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text.find("syntaktischen") != std::string::npos, end == bridge::kRenderFailed);
        EXPECT_NE(ui.messages[0].text.find("POV-Ray meldet:\n" + target.error), std::string::npos);
        if (end == bridge::kRenderFailed) {
            EXPECT_EQ(ui.messages[0].text, "Von den 2 ausgewählten Texturen konnten 2 nicht berechnet werden.\n\n"
                                           "Dies liegt wahrscheinlich an syntaktischen Fehlern\n"
                                           "innerhalb der Texturendeklarationen.\n\nPOV-Ray meldet:\nParse Error: x");
        }
    }
}

// Stop while a finished render waits for its step; a scene that cannot be
// written after a failure; a caption that must follow failed entries too; a
// picture of edited text that must not count as current.
TEST_F(PreviewRenderRunTest, StopInTheWaitAndLaterFailuresKeepWhatWasDoneAndSaid) {
    TextureEntry* a = Add("T_A");
    TextureEntry* b = Add("T_B");
    controller.SetPreviewState(b, PreviewState::Present);
    const std::vector<unsigned char> kept{1, 2, 3};
    b->preview.jpegData = kept;
    Select({a, b});
    ui.answers.push_back(Answer::Yes);
    run.Step();
    const std::string row(116 * 3, '\x50');
    for (int y = 0; y < 116; ++y) target.frame.PutRow(y, 116, reinterpret_cast<const std::uint8_t*>(row.data()), row.size());
    run.OnRenderDone(0);
    run.Step();  // "&Stop" during the rest after a picture
    // The next entry was never started; the finished one is kept, and so is the other's old picture.
    EXPECT_EQ(std::tuple(run.Idle(), window.timer, target.scenes.size(), a->previewValid, b->previewValid),
              std::tuple(true, -1, 1u, true, true));
    EXPECT_EQ(b->preview.jpegData, kept);

    // The first entry fails (no retries with 3.1), the second's scene cannot be
    // written: both messages come, the summary included, and the caption of the
    // minimized window has followed the failed entry's rows.
    installation.SetVersion(3.1f);
    window.minimized = true;
    Select({a, b});
    ui.answers.push_back(Answer::Yes);
    run.Step();
    settings.templateIndex = 150;
    Render(bridge::kRenderFailed);
    EXPECT_EQ(std::tuple(run.Idle(), window.caption), std::tuple(true, ""));  // put back at the end ...
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Die Vorschaudateien konnten nicht erzeugt werden.");
    EXPECT_EQ(ui.messages[1].text.rfind("Von den 2 ausgewählten Texturen konnten 1 nicht berechnet werden.", 0), 0u);
    settings.templateIndex = 0;
    window.selected = {a, b};
    ui.answers.push_back(Answer::Yes);
    run.Step();
    window.caption.clear();
    run.OnRenderDone(bridge::kRenderFailed);
    run.OnTimer();
    EXPECT_EQ(window.caption, "47% Swatchcraft");  // ... and set while it ran: 11 of 23 units
    run.Step();

    // A picture rendered from edited text is stored, but not as current.
    window.minimized = false;
    window.ShowEntry(a);
    window.lines.back() += " // edited";
    window.edited = true;
    window.selected = {a};
    run.StepWithAutoStore();
    Render(0);
    EXPECT_TRUE(a->previewValid);
    EXPECT_TRUE(IsChanged(*a));
    window.edited = false;
    run.StepWithAutoStore();
    Render(0);
    EXPECT_FALSE(IsChanged(*a));
}

TEST_F(PreviewRenderRunTest, FailuresBeforeTheRenderEndTheRun) {
    TextureEntry* entry = Add("T_A");
    window.ShowEntry(entry);
    settings.templateIndex = 150;
    run.Step();
    EXPECT_EQ(std::tuple(run.Idle(), window.buttonEnabled), std::tuple(true, true));
    settings.templateIndex = 0;
    target.startResult = 3;  // a start that fails says nothing more
    entry->previewVersion = 2.0f;
    run.Step();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Die Vorschaudateien konnten nicht erzeugt werden.");
    // Neither a failed start nor a stop leaves the version tried with the old picture.
    EXPECT_EQ(std::tuple(run.Idle(), entry->previewVersion), std::tuple(true, 2.0f));
    target.startResult = 0;
    run.Step();
    run.Step();  // "&Stop"
    EXPECT_EQ(std::tuple(run.Idle(), entry->previewVersion), std::tuple(true, 2.0f));
    target.scenes.clear();
    window.settingsRight = false;
    run.Step();
    EXPECT_TRUE(target.scenes.empty());
}

TEST_F(PreviewRenderRunTest, VanishedRendererFailsTheRenderAndATakenOverOneEndsTheRun) {
    TextureEntry* a = Add("T_A");
    TextureEntry* b = Add("T_B");
    window.ShowEntry(a);
    installation.SetVersion(3.1f);  // no retries
    run.Step();
    run.CheckRenderer();
    EXPECT_FALSE(run.RenderFinished());
    target.alive = false;
    run.CheckRenderer();
    EXPECT_TRUE(run.RenderFinished());
    run.OnTimer();

    // Another program's render ends the run after a second look, without a
    // retry that would stop that render.
    installation.SetVersion(3.7f);
    target.alive = true;
    target.scenes.clear();
    window.selected = {a, b};
    run.Step();
    target.takenOver = true;
    run.CheckRenderer();  // could still be the end of its own render
    EXPECT_TRUE(run.Busy());
    run.CheckRenderer();
    EXPECT_EQ(std::tuple(run.Idle(), target.scenes.size()), std::tuple(true, 1u));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_THAT(ui.messages[0].text, testing::HasSubstr("POV-Ray wurde beendet"));
    EXPECT_THAT(ui.messages[1].text, testing::HasSubstr("weil ein anderes Programm POV-Ray"));
}

}  // namespace
}  // namespace sc::test
