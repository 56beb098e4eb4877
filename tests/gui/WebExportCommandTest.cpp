// "Als &Webseite exportieren..." in the window: which entries the page
// shows, the question before a page is replaced, and a folder that cannot
// be written.
#include <gtest/gtest.h>

#include <QAction>

#include "gui/LibraryViewStack.h"
#include "gui/StatusBarWithProgress.h"
#include "GuiTestSupport.h"
#include "library/LibraryController.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"

namespace sc {
namespace {

// The page is written on a worker: the command returns while the window is busy.
void Export(MainWindow& w, Command command = Command::ExportWebPage) {
    w.RunCommand(int(command));
    ASSERT_TRUE(test::WaitFor([&] { return !w.Busy(); }));
}

bool Shows(const std::string& page, const std::string& name) { return page.find("<h4>" + name + "</h4>") != std::string::npos; }

struct WebExportCommandTest : test::StartedWindow {
    // Opens a library of `declarations`, forgetting the boxes so far.
    void OpenLibrary(const std::string& declarations) {
        h.fileDialogs->answer = test::WriteLibrary(h, declarations);
        test::RunAndSettle(w, int(Command::Open));
        recorder.texts.clear();
    }
};

TEST_F(WebExportCommandTest, WritesTheSelectedEntriesOrAllAndAsksBeforeReplacingAPage) {
    EXPECT_FALSE(w.ActionFor(int(Command::ExportWebPage))->isEnabled());  // nothing to export yet
    OpenLibrary("#declare Alpha = texture { pigment { rgb 1 } }\n"
                "#declare Beta = texture { pigment { rgb 0.5 } }\n"
                "#declare Gamma = texture { pigment { rgb 0 } }\n");

    std::vector<TextureEntry*> chosen;
    for (TextureEntry* e : w.Views().EntriesInListOrder())
        if (e->name != "Beta") chosen.push_back(e);
    w.Views().SelectEntries(chosen);
    w.RunCommand(int(Command::ExportWebPage));  // the folder dialog is cancelled
    EXPECT_EQ(h.fileDialogs->folderTitles, std::vector<std::string>{"Als Webseite exportieren"});
    const std::string folder = h.dir / "seite";
    EXPECT_FALSE(FileExists(folder + "/index.html"));

    h.fileDialogs->folder = folder;
    Export(w);
    std::string page = test::ReadFile(folder + "/index.html");
    EXPECT_TRUE(Shows(page, "Alpha") && Shows(page, "Gamma")) << page;
    EXPECT_FALSE(Shows(page, "Beta"));
    EXPECT_EQ(w.Status().Text().toStdString(), "2 Einträge mit 0 Vorschaubildern nach \"" + folder + "\" exportiert.");
    EXPECT_TRUE(recorder.texts.empty());

    // One selected entry is only the current one: the page then shows them all, after asking.
    w.Views().SelectEntries({chosen.front()});
    recorder.buttons = {"Nein", "Ja"};
    Export(w);
    ASSERT_EQ(recorder.texts.size(), 1u);
    EXPECT_NE(recorder.texts[0].find("existiert bereits"), std::string::npos);
    EXPECT_FALSE(Shows(test::ReadFile(folder + "/index.html"), "Beta"));
    Export(w);
    page = test::ReadFile(folder + "/index.html");
    EXPECT_TRUE(Shows(page, "Alpha") && Shows(page, "Beta") && Shows(page, "Gamma"));

    // A file where the folder should be: a German message, no page.
    h.fileDialogs->folder = h.dir.Write("blocked", "");
    Export(w);
    ASSERT_EQ(recorder.texts.size(), 3u);
    EXPECT_NE(recorder.texts[2].find("konnte nicht angelegt werden"), std::string::npos) << recorder.texts[2];
    EXPECT_FALSE(w.Busy());
}

// A folder of the user's own files gets a new folder for the page unless the
// user says otherwise; the contact sheet goes through the same seam.
TEST_F(WebExportCommandTest, ForeignFoldersGetANewFolderAndTheContactSheetIsWritten) {
    OpenLibrary("#declare Alpha = texture { pigment { rgb 1 } }\n");

    const std::string mine = h.dir.Path() + "/mine";
    h.dir.Write("mine/index.html", "my own page");
    h.fileDialogs->folder = mine;
    recorder.AnswerWith({"Ja"});
    Export(w);
    ASSERT_EQ(recorder.texts.size(), 1u);
    EXPECT_NE(recorder.texts[0].find("nicht von einem Export stammen (index.html)"), std::string::npos)
        << recorder.texts[0];
    EXPECT_EQ(test::ReadFile(mine + "/index.html"), "my own page");
    EXPECT_TRUE(Shows(test::ReadFile(mine + "/lib/index.html"), "Alpha"));
    recorder.AnswerWith({"Nein"});
    Export(w);
    EXPECT_TRUE(Shows(test::ReadFile(mine + "/index.html"), "Alpha")) << "the user said to write there";

    EXPECT_TRUE(w.ActionFor(int(Command::ExportContactSheet))->isEnabled());
    // Not beside the list file: a change there is a change to the library's folder.
    h.fileDialogs->exportFile = mine + "/blatt";
    Export(w, Command::ExportContactSheet);
    EXPECT_EQ(h.fileDialogs->folderTitles.back(), "Als Kontaktbild exportieren");
    EXPECT_EQ(test::ReadFile(mine + "/blatt.png").substr(1, 3), "PNG");
    EXPECT_EQ(w.Status().Text().toStdString(), "1 Eintrag als Kontaktbild \"" + mine + "/blatt.png\" gespeichert.");
}

}  // namespace
}  // namespace sc
