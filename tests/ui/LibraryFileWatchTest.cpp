// Watching an open library's include files: what a change marks, and how a
// vanished file is reported.
#include "ui/LibraryFileWatch.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "FakeSelectionWindow.h"
#include "library/LibraryFile.h"
#include "preview/PreviewCodec.h"
#include "platform/FileSystem.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationReader.h"

namespace sc {
namespace {

using Names = std::vector<std::string>;

Names NamesOf(const std::vector<EntryKey>& entries) {
    Names names;
    for (const EntryKey& e : entries) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

struct LibraryFileWatchTest : test::LibraryFixture, testing::Test {
    LibraryFileWatch watch{controller.Library()};
    std::string colors, woods;

    void SetUp() override {
        colors = dir.Write("colors2.inc", "#declare Brown = rgb <0.5, 0.3, 0.1>;\n");
        woods = AddFile("woods.inc",
                        "#include \"colors2.inc\"\n"
                        "#declare Oak = texture { pigment { color Brown } }\n"
                        "#declare Pine = texture { pigment { rgb 1 } }\n"
                        "#declare Ash = texture { pigment { rgb 0.5 } }\n",
                        {{"Oak", kKindTexture}, {"Pine", kKindTexture}, {"Ash", kKindTexture}});
        // Previews rendered from the texts as they are now; Ash has none.
        for (const char* name : {"Oak", "Pine"}) {
            TextureEntry* e = Entry(name);
            e->preview.jpegData = {1, 2, 3};
            ASSERT_TRUE(LoadDeclaration(controller.Library(), *e, true));
            e->previewCrc = DeclarationCrc(*e);
        }
    }

    // Rewrites a file with a later modification time, as an editor's save would.
    void Edit(const std::string& path, const std::string& from, const std::string& to) {
        std::string text = test::ReadFile(path);
        text.replace(text.find(from), from.size(), to);
        ASSERT_TRUE(WriteFileAtomically(path, text));
        struct timespec times[2] = {{0, UTIME_NOW}, {++clock_, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    time_t clock_ = 1700000000;
};

TEST_F(LibraryFileWatchTest, ChangesMarkExactlyTheEntriesThatNowDifferFromTheirPreviews) {
    const auto watched = watch.WatchedFiles();
    EXPECT_NE(std::find(watched.begin(), watched.end(), woods), watched.end());
    EXPECT_NE(std::find(watched.begin(), watched.end(), colors), watched.end()) << "included files are watched too";

    // A constant in an included file changes the texture using it only.
    Edit(colors, "0.5, 0.3", "0.6, 0.3");
    auto reports = watch.Process(colors);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(NamesOf(reports[0].changed), (Names{"Oak"}));
    EXPECT_EQ(reports[0].statusText, "1 Textur in colors2.inc geändert");
    EXPECT_EQ(reports[0].reread, 3);
    EXPECT_TRUE(reports[0].message.empty());

    // Compared with the previews, as "&Geänderte Texturen" does: Oak still
    // counts; Ash, without a preview, never does.
    Edit(woods, "rgb 0.5 }", "rgb 0.7 }");
    Edit(woods, "rgb 1 }", "rgb 0.9 }");
    reports = watch.Process(woods);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(NamesOf(reports[0].changed), (Names{"Oak", "Pine"}));
    EXPECT_EQ(reports[0].statusText, "2 Texturen in woods.inc geändert");

    // A save that changes nothing the previews show reports no change.
    Edit(woods, "rgb 0.9 }", "rgb 1 }");
    Edit(colors, "0.6, 0.3", "0.5, 0.3");
    reports = watch.Process(woods);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].changed.empty());
    EXPECT_TRUE(reports[0].statusText.empty());
}

// A list just opened has read no declaration yet: the files its include
// files include, at any depth, are watched all the same, and their change
// marks the entries that use them.
TEST_F(LibraryFileWatchTest, IncludedFilesCountBeforeAnyDeclarationWasRead) {
    const std::string d = dir.Write("consts/d.inc", "#declare D1 = rgb 0.25;\n");
    const std::string c = dir.Write("consts/c.inc", "#include \"d.inc\"\n#declare C1 = rgb 0.5;\n");
    AddFile("b.inc",
            "#include \"consts/c.inc\"\n"
            "#declare T_B1 = texture { pigment { color C1 } }\n"
            "#declare T_B2 = texture { pigment { color D1 } }\n",
            {{"T_B1", kKindTexture}, {"T_B2", kKindTexture}});
    const std::vector<std::uint8_t> pixels(4 * 4 * 3, 128);
    for (const char* name : {"T_B1", "T_B2"}) {
        TextureEntry* e = Entry(name);
        ASSERT_TRUE(Encode(e->preview, pixels.data(), pixels.size(), 4, 4, 90, nullptr));  // kept by the list file
        e->previewValid = true;
        ASSERT_TRUE(LoadDeclaration(controller.Library(), *e, true));
        e->previewCrc = DeclarationCrc(*e);
    }
    ASSERT_TRUE(SaveLibrary(controller, dir / "b.swl", ""));
    test::RecordingUserInterface quiet;
    LibraryController opened(quiet);
    ASSERT_TRUE(test::LoadListFile(opened, dir / "b.swl"));
    LibraryFileWatch fresh(opened.Library());
    const auto watched = fresh.WatchedFiles();
    EXPECT_NE(std::find(watched.begin(), watched.end(), c), watched.end());
    EXPECT_NE(std::find(watched.begin(), watched.end(), d), watched.end()) << "an include of an include";

    Edit(d, "0.25", "0.75");
    auto reports = fresh.Process(d);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].reread, 2);
    EXPECT_EQ(NamesOf(reports[0].changed), (Names{"T_B2"}));
    Edit(c, "rgb 0.5", "rgb 0.6");
    reports = fresh.Process(c);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(NamesOf(reports[0].changed), (Names{"T_B1", "T_B2"}));
}

TEST_F(LibraryFileWatchTest, ReadingApartSurvivesEntriesDeletedAndTheLibraryReplacedMeanwhile) {
    Edit(woods, "rgb 1 }", "rgb 0.2 }");
    Edit(colors, "0.5, 0.3", "0.6, 0.3");
    watch.FileChanged(woods);
    watch.FileChanged(woods);  // a burst of events reads the file once
    auto job = watch.TakeJob();
    ASSERT_TRUE(job);
    EXPECT_FALSE(watch.Pending());
    // The job reads nothing of the library: its entries may go meanwhile.
    const std::string oakText = *Entry("Oak")->record->text;
    const auto changed = LibraryFileWatch::Reread(*job);
    ASSERT_TRUE(changed);
    EXPECT_EQ(NamesOf(*changed), (Names{"Oak", "Pine"}));
    EXPECT_EQ(*Entry("Oak")->record->text, oakText) << "the library's own entries were not touched";
    controller.DeleteEntry(Entry("Pine"));
    watch.Finish(*job, *changed);
    auto reports = watch.TakeReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(NamesOf(reports[0].changed), Names{"Oak"}) << "Pine was deleted before the report";
    EXPECT_EQ(reports[0].reread, 3);

    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(LibraryFileWatch::Reread(*job, stop.get_token())) << "a stopped reading gives nothing";

    // A library replaced under queued work and reports drops both.
    ASSERT_TRUE(RemoveFile(colors));
    watch.FileChanged(colors);
    watch.FileChanged(woods);
    watch.Drop();
    EXPECT_FALSE(watch.Pending());
    EXPECT_TRUE(watch.TakeReports().empty());
}

}  // namespace
}  // namespace sc
