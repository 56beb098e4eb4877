// List files in folders whose names hold blanks and umlauts, as a file
// manager hands them over: saved through the window's own save dialog,
// reopened from the command line and from the recent-file menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>

#include <filesystem>

#include "GuiTestSupport.h"
#include "gui/QtFileDialogs.h"
#include "library/LibraryController.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "ui/MainCommands.h"

namespace sc {
namespace {

using Strings = std::vector<std::string>;

// The recent-file entries in menu order, as text and full path.
std::vector<std::pair<std::string, std::string>> RecentEntries(MainWindow& w) {
    std::vector<std::pair<int, std::pair<std::string, std::string>>> found;
    for (QAction* a : w.findChildren<QAction*>())
        if (a->data().toInt() >= 1300 && a->data().toInt() <= 1304)
            found.push_back({a->data().toInt(), {a->text().toStdString(), a->toolTip().toStdString()}});
    std::sort(found.begin(), found.end());
    std::vector<std::pair<std::string, std::string>> entries;
    for (auto& [command, entry] : found) entries.push_back(entry);
    return entries;
}

// "name (folder of its include file)" for every entry of the window's library.
Strings Entries(MainWindow& w) {
    Strings names;
    const TextureLibrary& library = w.Controller().Library();
    for (TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e))
        names.push_back(e->name + " (" + e->Directory() + ")");
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FilePathsTest, ListFileWithBlanksAndUmlautsSurvivesSaveAsCommandLineAndRecentFiles) {
    test::WindowHarness h;
    test::DialogRecorder recorder;
    test::StartUpAndSettle(*h.window);
    const std::string includeDir = h.dir / "Eigene Steine ö";
    h.fileDialogs->answer = h.WriteListFile("lib.swl", "Eigene Steine ö");
    test::RunAndSettle(*h.window, int(Command::Open));
    const Strings expected = {"T_A (" + includeDir + "/)", "T_B (" + includeDir + "/)"};
    ASSERT_EQ(Entries(*h.window), expected);

    // The real save dialog, given the name as typed: without its extension.
    const std::string folder = h.dir / "Meine Texturen";
    std::filesystem::create_directories(folder);
    const std::string target = folder + "/Überblick ä.swl";
    h.window->SetFileDialogs(std::make_unique<QtFileDialogs>(h.window.get()));
    recorder.acceptDialogs = true;
    recorder.onDialog = [&folder](QDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        ASSERT_NE(files, nullptr);
        files->selectFile(QString::fromStdString(folder + "/Überblick ä"));
    };
    test::RunAndSettle(*h.window, int(Command::SaveAs));
    EXPECT_EQ(recorder.texts.back(), "Texturenliste speichern");
    ASSERT_TRUE(FileExists(target));
    EXPECT_EQ(h.window->Document().Path(), target);
    EXPECT_EQ(h.window->windowTitle(), QStringLiteral("Swatchcraft [Überblick ä.swl][*]"));
    EXPECT_TRUE(h.window->close());
    const std::string ini = h.dir / "swatchcraft.ini";
    EXPECT_EQ((Strings{GetIniString(ini, "LastFiles", "File1"), GetIniString(ini, "Settings", "LastFile"),
                       GetIniString(ini, "Locations", "LastSaveDir")}),
              (Strings{target, target, folder}));

    // A second run, handed the file as a file manager starts the program.
    recorder.onDialog = nullptr;
    recorder.acceptDialogs = false;
    h.Restart({target});
    MainWindow& again = *h.window;
    test::StartUpAndSettle(again);
    EXPECT_EQ(again.Document().Path(), target);
    EXPECT_EQ(Entries(again), expected);
    EXPECT_EQ(again.windowTitle(), QStringLiteral("Swatchcraft [Überblick ä.swl][*]"));
    auto recent = RecentEntries(again);
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0], std::pair(std::string("&1 Überblick ä.swl"), target));

    // Once another list is open, the menu shows the folder shortened to fit
    // and still reopens the file from there.
    h.fileDialogs->answer = h.dir / "lib.swl";
    test::RunAndSettle(again, int(Command::Open));
    recent = RecentEntries(again);
    ASSERT_EQ(recent.size(), 2u);
    const QString shown = QString::fromStdString(recent[1].first);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("&2 "))) << recent[1].first;
    EXPECT_TRUE(shown.endsWith(QStringLiteral("/Überblick ä.swl"))) << recent[1].first;
    EXPECT_EQ(shown.toStdString(), recent[1].first);  // whole UTF-8 characters only
    EXPECT_EQ(recent[1].second, target);
    test::RunAndSettle(again, 1301);
    EXPECT_EQ(again.Document().Path(), target);
    EXPECT_EQ(Entries(again), expected);
}

}  // namespace
}  // namespace sc
