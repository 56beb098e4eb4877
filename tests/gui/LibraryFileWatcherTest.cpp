// Watching the open library's include file from the event loop: an edit in
// place, an editor's write-to-temp-and-rename (twice, so the watch survived
// the first), a removal reported once, and the file's return.
#include "gui/LibraryFileWatcher.h"

#include <gtest/gtest.h>


#include <fstream>
#include <functional>

#include "GuiApp.h"
#include "GuiTestSupport.h"
#include "TestEnvironment.h"
#include "library/LibraryController.h"
#include "platform/FileSystem.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationReader.h"

namespace sc {
namespace {

using test::WaitFor;

std::vector<std::string> Names(const FileChangeReport& report) {
    std::vector<std::string> names;
    for (const EntryKey& e : report.changed) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(LibraryFileWatcherTest, EditsRenamesAndRemovalsReachTheWindowOnce) {
    test::GuiApp();
    test::TempDir dir;
    test::RecordingUserInterface ui;
    LibraryController controller(ui);
    const std::string oak = "#declare Oak = texture { pigment { rgb 0.5 } }\n";
    const std::string pine = "#declare Pine = texture { pigment { rgb 1 } }\n";
    const std::string path = dir.Write("woods.inc", oak + pine);
    for (const char* name : {"Oak", "Pine"}) {
        controller.AddScannedEntry(path, name, kKindTexture, {}, 0);
        TextureEntry* e = controller.Library().FindEntry(dir.Path() + "/", "woods.inc", name);
        ASSERT_NE(e, nullptr);
        e->preview.jpegData = {1, 2, 3};
        ASSERT_TRUE(LoadDeclaration(controller.Library(), *e, true));
        e->previewCrc = DeclarationCrc(*e);
    }
    LibraryFileWatcher watcher(controller.Library());
    std::vector<FileChangeReport> reports;
    QObject::connect(&watcher, &LibraryFileWatcher::fileChangeReported,
                     [&](const FileChangeReport& report) { reports.push_back(report); });
    watcher.Rearm();

    std::ofstream(path, std::ios::trunc) << oak << "#declare Pine = texture { pigment { rgb 0.2 } }\n";
    ASSERT_TRUE(WaitFor([&] { return reports.size() == 1; })) << "an edit in place";
    EXPECT_EQ(Names(reports[0]), (std::vector<std::string>{"Pine"}));
    EXPECT_EQ(reports[0].statusText, "1 Textur in woods.inc geändert");

    ASSERT_TRUE(WriteFileAtomically(path, "#declare Oak = texture { pigment { rgb 0.1 } }\n" + pine));
    ASSERT_TRUE(WaitFor([&] { return reports.size() == 2; })) << "a file replaced by a rename";
    EXPECT_EQ(Names(reports[1]), (std::vector<std::string>{"Oak"}));
    ASSERT_TRUE(WriteFileAtomically(path, oak + pine));
    ASSERT_TRUE(WaitFor([&] { return reports.size() == 3; })) << "still watched after the rename";
    EXPECT_TRUE(reports[2].changed.empty());
    EXPECT_TRUE(reports[2].statusText.empty());

    ASSERT_TRUE(RemoveFile(path));
    ASSERT_TRUE(WaitFor([&] { return reports.size() == 4; })) << "a removal";
    EXPECT_NE(reports[3].message.find("ist nicht mehr vorhanden"), std::string::npos);
    dir.Write("other.inc", "");  // more events in the folder say nothing new
    WaitFor([] { return false; }, 3 * LibraryFileWatcher::kDelayMs);
    EXPECT_EQ(reports.size(), 4u) << "reported once";

    dir.Write("woods.inc", oak + pine);
    ASSERT_TRUE(WaitFor([&] { return reports.size() == 5; })) << "the file back";
    EXPECT_TRUE(reports[4].reappeared);
    EXPECT_EQ(reports[4].reread, 2);
}

// A removed folder is watched through its parent until it is back, and its
// file is watched again then.
TEST(LibraryFileWatcherTest, AFolderRemovedAndMadeAgainIsWatchedAgain) {
    test::GuiApp();
    test::TempDir dir;
    test::RecordingUserInterface ui;
    LibraryController controller(ui);
    const std::string oak = "#declare Oak = texture { pigment { rgb 0.5 } }\n";
    const std::string path = dir.Write("deep/sub/a.inc", oak);
    controller.AddScannedEntry(path, "Oak", kKindTexture, {}, 0);
    TextureEntry* e = controller.Library().FindEntry(dir.Path() + "/deep/sub/", "a.inc", "Oak");
    ASSERT_NE(e, nullptr);
    e->preview.jpegData = {1, 2, 3};
    ASSERT_TRUE(LoadDeclaration(controller.Library(), *e, true));
    e->previewCrc = DeclarationCrc(*e);
    LibraryFileWatcher watcher(controller.Library());
    std::vector<FileChangeReport> reports;
    QObject::connect(&watcher, &LibraryFileWatcher::fileChangeReported,
                     [&](const FileChangeReport& report) { reports.push_back(report); });
    watcher.Rearm();

    ASSERT_EQ(test::RunCommand("rm -rf " + test::ShellQuoted(dir / "deep")), 0);
    ASSERT_TRUE(WaitFor([&] { return reports.size() == 1; })) << "the removal";
    EXPECT_NE(reports[0].message.find("ist nicht mehr vorhanden"), std::string::npos);
    dir.Write("deep/sub/a.inc", oak);
    ASSERT_TRUE(WaitFor([&] { return reports.size() == 2; })) << "the folder and its file back";
    EXPECT_TRUE(reports[1].reappeared);
    std::ofstream(path, std::ios::trunc) << "#declare Oak = texture { pigment { rgb 0.2 } }\n";
    ASSERT_TRUE(WaitFor([&] { return reports.size() == 3; })) << "an edit of the file made again";
    EXPECT_EQ(Names(reports[2]), std::vector<std::string>{"Oak"});
}

}  // namespace
}  // namespace sc
