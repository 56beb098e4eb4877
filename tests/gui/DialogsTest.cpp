// The dialogs under Qt's offscreen platform: their controls are named,
// and their rules reach the widgets.
#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <thread>

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "GuiApp.h"
#include "GuiTestSupport.h"
#include "gui/AccessibleNames.h"
#include "gui/CategoryDialog.h"
#include "gui/ChangedTexturesDialog.h"
#include "gui/DuplicatesDialog.h"
#include "gui/EditorDialog.h"
#include "gui/FileChooserDialog.h"
#include "gui/FindTextDialog.h"
#include "gui/LibraryPathDialog.h"
#include "gui/OverviewDialog.h"
#include "gui/OverviewScopeDialog.h"
#include "gui/SearchDialog.h"
#include "gui/SearchProgressDialog.h"
#include "library/LibraryController.h"
#include "overview/OverviewSettings.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "povray/LibraryPaths.h"
#include "TestEnvironment.h"
#include "ui/Settings.h"

namespace sc {
namespace {

using test::Control;

using test::ReadFile;
using test::TempDir;

struct DialogFixture : testing::Test {
    QApplication& app = test::GuiApp();
    TempDir dir;
    test::RecordingUserInterface ui;
    Settings settings{dir / "swatchcraft.ini", dir / "prog"};
    LibraryController controller{ui};
    DialogFixture() { settings.Load(); }

    OverviewDialogContext OverviewContext(int marked) {
        std::string text;
        for (int i = 0; i < marked; ++i) text += "#declare T" + std::to_string(i) + " = texture { pigment { rgb 1 } }\n";
        const std::string file = dir.Write("lib/a.inc", text);
        for (int i = 0; i < marked; ++i) controller.AddScannedEntry(file, "T" + std::to_string(i), 2, {}, 0);
        controller.MarkAll(true);
        OverviewDialogContext c;
        c.controller = &controller;
        c.settings = &settings;
        c.ui = &ui;
        c.listFilePath = dir / "stones.swl";
        for (TextureEntry* e = controller.Library().NextEntry(nullptr); e; e = controller.Library().NextEntry(e))
            c.entryOrder.push_back(e);
        c.fonts.fontFiles = std::vector<std::string>{};
        c.previewFolder = dir / "preview";
        return c;
    }
};

TEST_F(DialogFixture, EveryControlHasAReadableName) {
    SearchSettings search;
    std::vector<std::unique_ptr<QWidget>> dialogs;
    dialogs.emplace_back(new FindTextDialog(search, false));
    dialogs.emplace_back(new CategoryDialog({"Holz", "Stein"}, "Holz"));
    dialogs.emplace_back(new DuplicatesDialog(true));
    dialogs.emplace_back(new ChangedTexturesDialog(3));
    dialogs.emplace_back(new OverviewScopeDialog(true));
    dialogs.emplace_back(new EditorDialog(true, "vi"));
    dialogs.emplace_back(new LibraryPathDialog("/usr", ui, {}));
    dialogs.emplace_back(new FileChooserDialog({dir.Path()}));
    dialogs.emplace_back(new SearchDialog(settings, "/usr", {}, ui, {}));
    dialogs.emplace_back(new SearchProgressDialog(ui));
    dialogs.emplace_back(new OverviewDialog(OverviewContext(3)));
    for (const auto& d : dialogs)
        EXPECT_TRUE(UnnamedControls(d.get()).isEmpty())
            << d->windowTitle().toStdString() << ": " << UnnamedControls(d.get()).join(", ").toStdString();
}

TEST_F(DialogFixture, FindTextOffersSelectAllOnlyOutsideTheFileListAndConstantsOnlyForText) {
    SearchSettings s;
    s.text = "Red";
    FindTextDialog inTree(s, true);
    EXPECT_FALSE(Control<QPushButton>(&inTree, "Alle ausw&ählen")->isEnabled());
    FindTextDialog dialog(s, false);
    auto* constants = Control<QCheckBox>(&dialog, "Auch in &Konstanten");
    EXPECT_FALSE(constants->isEnabled());
    Control<QRadioButton>(&dialog, "Texturente&xt")->setChecked(true);
    EXPECT_TRUE(constants->isEnabled());
    constants->setChecked(true);
    Control<QRadioButton>(&dialog, "Auf&wärts")->setChecked(true);
    Control<QPushButton>(&dialog, "Alle ausw&ählen")->click();
    SearchSettings out;
    dialog.StoreInto(out);
    EXPECT_EQ(out.field, SearchField::TextureText);
    EXPECT_TRUE(out.inConstants && out.up);
    EXPECT_EQ(out.action, SearchAction::SelectAll);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// povray.ini of the home /usr as the user's copy, so the test never touches the system file.
struct LibraryPathDialogFixture : DialogFixture {
    std::string ini;
    std::string a = dir.Write("A/x", ""), b = dir.Write("B/x", "");
    LibraryPathDialogFixture() {
        ini = UserPovrayIniPath("/usr");
        dir.Write("unused", "");
        CreateDirectories(DirectoryOf(ini));
        WriteFileAtomically(ini, "; mine\nLibrary_Path=" + dir / "A" + "\nWidth=80\nLibrary_Path=" + dir / "B" + "\n");
    }
    QStringList Rows(LibraryPathDialog& d) {
        QStringList rows;
        auto* list = d.findChild<QListWidget*>();
        for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
        return rows;
    }
};

TEST_F(LibraryPathDialogFixture, ListRulesAndTheSafeRewrite) {
    LibraryPathDialog dialog("/usr", ui, {});
    ASSERT_EQ(Rows(dialog), (QStringList{QString::fromStdString(dir / "A"), QString::fromStdString(dir / "B")}));
    auto* up = Control<QPushButton>(&dialog, "Auf");
    auto* down = Control<QPushButton>(&dialog, "Ab");
    EXPECT_FALSE(up->isEnabled());
    EXPECT_TRUE(down->isEnabled());
    down->click();  // only reordering counts as a change
    EXPECT_TRUE(up->isEnabled() && !down->isEnabled());
    dialog.AddDirectory(dir / "A/");
    EXPECT_EQ(ui.messages.back().text, "Das Verzeichnis \"" + dir / "A" + "\" ist bereits in der Liste.");
    EXPECT_EQ(dialog.findChild<QListWidget*>()->currentRow(), 1);

    ui.answers = {Answer::Yes};
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.Changed());
    EXPECT_NE(ui.questions.back().find("Die Bibliotheksverzeichnisse wurden geändert."), std::string::npos);
    // B keeps its own line byte for byte; A moves behind it in the writer's spelling
    EXPECT_EQ(ReadFile(ini), "; mine\nWidth=80\nLibrary_Path=" + dir / "B" + "\nLibrary_Path = " + dir / "A" + "\n");
    EXPECT_TRUE(FileExists(DirectoryOf(ini) + "povray.bak"));
}

TEST_F(LibraryPathDialogFixture, AMissingDirectoryIsNamedAndCancelKeepsTheDialogOpen) {
    LibraryPathDialog dialog("/usr", ui, {});
    dialog.AddDirectory(dir / "gone");
    const std::string before = ReadFile(ini);
    ui.answers = {Answer::Cancel};
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ui.questions.back(), "Das Bibliotheksverzeichnis \"" + dir / "gone" + "\" existiert nicht!");
    EXPECT_EQ(dialog.findChild<QListWidget*>()->currentItem()->text().toStdString(), dir / "gone");
    Control<QPushButton>(&dialog, "&Löschen")->click();
    EXPECT_EQ(dialog.findChild<QListWidget*>()->count(), 2);
    EXPECT_EQ(ReadFile(ini), before);
}

// Without a povray.ini of the user's own the paths come from the system
// file, but a change is written into a new user file: that one is named.
TEST_F(LibraryPathDialogFixture, NamesTheFileItWrites) {
    const std::string home = dir / "pov";
    const std::string system = dir.Write("pov/etc/povray/3.7/povray.ini", "Library_Path=" + dir / "A" + "\n");
    const std::string systemText = ReadFile(system);
    const std::string user = UserPovrayIniPath(home);
    RemoveFile(user);
    LibraryPathDialog dialog(home, ui, {});
    EXPECT_EQ(Control<QLineEdit>(&dialog, "POV-Ray Ini-Datei")->text().toStdString(), user);
    dialog.AddDirectory(dir / "B");
    ui.answers = {Answer::Yes};
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_NE(ui.questions.back().find("in die Datei\n\"" + user + "\"\ngeschrieben"), std::string::npos)
        << ui.questions.back();
    EXPECT_EQ(ReadFile(system), systemText);
    EXPECT_NE(ReadFile(user).find(dir / "B"), std::string::npos);
    RemoveFile(user);
}

TEST_F(DialogFixture, OverviewDialogSelectsItsPathsAndChecksTheTemplateHoweverTheBoxIsTicked) {
    OverviewDialog dialog(OverviewContext(3));
    for (const char* name : {"Name", "Verzeichnis", "POV-Ray Ini-Datei"}) {
        auto* field = Control<QLineEdit>(&dialog, name);
        EXPECT_FALSE(field->text().isEmpty()) << name;
        EXPECT_EQ(field->selectedText(), field->text()) << name;
    }
    Control<QLineEdit>(&dialog, "Vorlagendatei")->setText(QString::fromStdString(dir / "kein-template.pov"));

    // A screen reader ticks the box through its toggle action, which never clicks.
    QCheckBox* box = Control<QCheckBox>(&dialog, "&Vorlagendatei:");
    ASSERT_TRUE(box && !box->isChecked());
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
    ASSERT_TRUE(accessible && accessible->actionInterface());
    accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(box->isChecked());
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_NE(ui.messages.back().text.find(dir / "kein-template.pov"), std::string::npos);
}

// The couplings themselves are the model's; here they must reach the widgets.
TEST_F(DialogFixture, OverviewDialogCouplesItsControls) {
    OverviewDialog dialog(OverviewContext(25));
    EXPECT_EQ(Control<QLineEdit>(&dialog, "Name")->text(), "stones");
    for (QAction* a : dialog.findChildren<QAction*>())
        if (a->text() == "7x5") a->trigger();
    EXPECT_EQ(dialog.PageCountText(), "Die Einstellungen würden 1 Übersichtsseite ergeben.");
    auto* width = Control<QLineEdit>(&dialog, "Breite");
    width->setText("801");
    emit width->editingFinished();
    EXPECT_EQ(Control<QLineEdit>(&dialog, "Höhe")->text(), "600");
    // 3.7 is configured: full declarations, and the path option is the 3.0 mode's.
    EXPECT_TRUE(Control<QRadioButton>(&dialog, "POV-Ray 3.1 (Vollständige &Deklarationen)")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(&dialog, "Mit Pfadan&gabe")->isEnabled());
    auto* name = Control<QLineEdit>(&dialog, "Name");
    name->clear();
    emit name->editingFinished();
    EXPECT_FALSE(Control<QPushButton>(&dialog, "&Schreiben")->isEnabled());

    auto context = OverviewContext(2);
    context.pathsRequired = true;
    context.povVersion = 3.0;
    OverviewDialog older(std::move(context));
    auto* paths = Control<QCheckBox>(&older, "Mit Pfadan&gabe");
    paths->click();
    EXPECT_TRUE(paths->isChecked());  // required: stays ticked
    Control<QRadioButton>(&older, "POV-Ray 3.1 (Vollständige &Deklarationen)")->click();
    EXPECT_FALSE(Control<QPushButton>(&older, "&Vorschau...")->isEnabled());
}

TEST_F(DialogFixture, OverviewBadTemplateAndUnwritableFolderLeaveNothingBehind) {
    OverviewDialog dialog(OverviewContext(3));
    Control<QLineEdit>(&dialog, "Vorlagendatei")->setText(QString::fromStdString(dir.Write("t.pov", "// no marker\n")));
    Control<QCheckBox>(&dialog, "&Vorlagendatei:")->click();
    EXPECT_FALSE(Control<QCheckBox>(&dialog, "&Vorlagendatei:")->isChecked());
    EXPECT_NE(ui.messages.back().text.find("ist entweder nicht vorhanden oder ungültig."), std::string::npos);

    // A folder nobody may create files in, whoever runs the test.
    const std::string locked = "/proc";
    Control<QLineEdit>(&dialog, "Verzeichnis")->setText(QString::fromStdString(locked));
    dialog.Write();
    ASSERT_TRUE(test::WaitFor([&] { return !dialog.Writing(); }));
    EXPECT_FALSE(FileExists("/proc/stones.pov"));
    EXPECT_EQ(ui.messages.back().text, "Die POV-Ray Datei \"stones.pov\" kann nicht erzeugt werden!");
    EXPECT_EQ(dialog.result(), 0);
}

// An interface that holds the writer at its first look at the cancel flag
// until the test has pressed Escape: the key arrives while the work runs.
struct HoldingInterface : test::RecordingUserInterface {
    std::promise<void> reached, pressed;
    mutable std::once_flag once;
    const std::thread::id window = std::this_thread::get_id();
    bool IsCancelled() const override {
        if (std::this_thread::get_id() != window) std::call_once(once, [this] {
            const_cast<std::promise<void>&>(reached).set_value();
            const_cast<std::promise<void>&>(pressed).get_future().wait();
        });
        return RecordingUserInterface::IsCancelled();
    }
};

TEST_F(DialogFixture, EscapeWhileWritingStopsTheWriterAndKeepsTheDialog) {
    HoldingInterface holding;
    auto context = OverviewContext(30);
    context.ui = &holding;
    OverviewDialog dialog(std::move(context));
    const std::string out = dir / "out";
    CreateDirectories(out);
    Control<QLineEdit>(&dialog, "Verzeichnis")->setText(QString::fromStdString(out));
    std::future<void> reached = holding.reached.get_future();
    dialog.Write();
    // The window answers the writer's messages meanwhile.
    ASSERT_TRUE(test::WaitFor([&] { return reached.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    EXPECT_FALSE(Control<QPushButton>(&dialog, "&Schreiben")->isEnabled());
    dialog.reject();
    holding.pressed.set_value();
    ASSERT_TRUE(test::WaitFor([&] { return !dialog.Writing(); }));
    EXPECT_TRUE(ListDirectory(out).empty());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(Control<QPushButton>(&dialog, "&Schreiben")->isEnabled());
    for (const auto& m : holding.messages) EXPECT_EQ(m.text.find("geschrieben"), std::string::npos) << m.text;
}

TEST_F(DialogFixture, SearchDialogStoresItsOptions) {
    settings.SetSearchLibraryDirs(false);
    settings.SetScanDir(dir.Path());
    SearchDialog dialog(settings, "/usr", {}, ui, {});
    Control<QCheckBox>(&dialog, "&Colors")->setChecked(true);
    Control<QCheckBox>(&dialog, "&Unterverzeichnisse einschließen")->setChecked(true);
    const SearchOptions o = dialog.Options();
    EXPECT_FALSE(o.libraryDirectories);
    EXPECT_EQ(o.otherDirectory, dir.Path());
    EXPECT_TRUE(o.subdirectories && o.WantsKind(4));
    dialog.StoreInto(settings);
    EXPECT_TRUE(settings.SearchesKind(3));  // colours
    EXPECT_TRUE(settings.SearchSubdirs());

    SearchDialog dropped(settings, "/usr", {dir / "x.inc"}, ui, {});
    EXPECT_FALSE(Control<QLineEdit>(&dropped, "Dateien für Suche")->isEnabled());
    EXPECT_EQ(dropped.Options().explicitFiles, (std::vector<std::string>{dir / "x.inc"}));
}

TEST_F(DialogFixture, SearchOfAFolderThatVanishesKeepsWhatWasFound) {
    for (int i = 0; i < 6; ++i)
        dir.Write("tree/d" + std::to_string(i) + "/f.inc", "#declare T" + std::to_string(i) + " = texture { pigment { rgb 1 } }\n");
    SearchOptions options;
    options.otherDirectory = dir / "tree";
    options.subdirectories = true;
    test::RecordingUserInterface windowUi;
    LibraryController library(windowUi);
    // The search's checks of the cancel flag delete the searched tree part-way.
    struct Progress : SearchProgressDialog {
        using SearchProgressDialog::SearchProgressDialog;
        std::function<void()> onCheck;
        bool IsCancelled() const override {
            if (onCheck) onCheck();
            return SearchProgressDialog::IsCancelled();
        }
    } progress(windowUi);
    progress.onCheck = [&] {
        if (library.EntryCount() == 2) test::RunCommand("rm -rf '" + dir / "tree" + "'");
    };
    TextureSearch search(library, options, progress);
    search.RunPasses();
    EXPECT_EQ(search.Counts().filesCounted, 6);
    EXPECT_GE(library.EntryCount(), 2);
    EXPECT_LT(library.EntryCount(), 6);
    EXPECT_TRUE(progress.Line(3).startsWith(QString::number(library.EntryCount()) + " Textur"));
    EXPECT_TRUE(windowUi.messages.empty());
}

}  // namespace
}  // namespace sc
