// What a user of a Linux desktop meets first: the list file dialogs open in
// a real folder with a clean filter, the toolbar pictures can be told apart,
// the status text reaches a screen reader, the POV-Ray directory dialog
// takes the preselected installation with one Return, and the preview pane's
// picture stays crisp in the middle of a wide pane.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>

#include "GuiApp.h"
#include "GuiTestSupport.h"
#include "gui/CommandIcons.h"
#include "gui/FileChooserDialog.h"
#include "gui/MessageDialogs.h"
#include "gui/PovDirectoryDialog.h"
#include "gui/QtFileDialogs.h"
#include "gui/StatusBarWithProgress.h"
#include "TestEnvironment.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/PreviewWindow.h"
#include "library/LibraryController.h"
#include "library/TextureLibrary.h"
#include "preview/PreviewCodec.h"
#include "ui/MainCommands.h"
#include "ui/MainMenuTable.h"

namespace sc {
namespace {

using test::TempDir;

struct SeenDialog {
    QString directory, fileName;
    QStringList filters;
};

TEST(DesktopUseTest, ListFileDialogsOpenInAnExistingFolderWithACleanFilter) {
    test::GuiApp();
    TempDir dir;
    dir.Write("lists/keep.txt", "");
    SeenDialog seen;
    test::DialogRecorder recorder;
    recorder.onDialog = [&](QDialog& dialog) {
        auto& files = dynamic_cast<QFileDialog&>(dialog);
        seen.directory = files.directory().absolutePath();
        seen.filters = files.nameFilters();
        if (auto* name = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) seen.fileName = name->text();
    };
    QtFileDialogs dialogs(nullptr);
    // The default folder "libs" does not exist: the dialog opens in its parent, with no name filled in.
    dialogs.ChooseOpenFile(dir / "lists/libs");
    EXPECT_EQ(seen.directory.toStdString(), dir / "lists");
    EXPECT_EQ(seen.fileName, QString());
    EXPECT_EQ(seen.filters, QStringList{QStringLiteral("Swatchcraft Dateien (*.swl)")});
    dialogs.ChooseSaveFile(dir / "gone/deeper", "unbenannt.swl");
    EXPECT_EQ(seen.directory.toStdString(), dir.Path());
    EXPECT_EQ(seen.fileName, QStringLiteral("unbenannt.swl"));

    FileChooserDialog chooser({dir.Path()});
    auto* filter = chooser.findChild<QComboBox*>();
    ASSERT_TRUE(filter && filter->count() >= 2);
    EXPECT_EQ((QStringList{filter->itemText(0), filter->itemText(1)}),
              (QStringList{"POV-Ray Include-Dateien (*.inc)", "POV-Ray Dateien (*.pov, *.inc)"}));
}

TEST(DesktopUseTest, EveryToolbarCommandHasAPictureOfItsOwn) {
    test::GuiApp();
    std::vector<std::pair<int, QImage>> pictures;
    for (const ToolbarButton& button : ToolbarTable()) {
        if (button.command == 0) continue;
        const Command command = static_cast<Command>(button.command);
        EXPECT_FALSE(CommandIcon(command).isNull()) << button.command;
        const QImage picture = OwnCommandIcon(command).pixmap(24, 24).toImage();
        EXPECT_FALSE(picture.isNull()) << button.command;
        for (const auto& [other, seen] : pictures) EXPECT_NE(picture, seen) << button.command << " " << other;
        pictures.emplace_back(button.command, picture);
    }
    EXPECT_GE(pictures.size(), 10u);
    EXPECT_TRUE(CommandIcon(Command::Exit).isNull());
}

// The bus test reads the status from outside; here the places that take
// over the status text.
TEST(DesktopUseTest, StatusTextIsWhatAScreenReaderReads) {
    test::GuiApp();
    StatusBarWithProgress bar;
    const QString text = QStringLiteral("87 Einträge (54 Texturen, 33 Pigments) in 1 Datei, 12 ausgewählt");
    bar.SetText(text);
    QLabel* label = nullptr;
    for (QLabel* l : bar.findChildren<QLabel*>())
        if (l->text() == text) label = l;
    ASSERT_TRUE(label);
    QAccessibleInterface* readable = QAccessible::queryAccessibleInterface(label);
    ASSERT_TRUE(readable && readable->textInterface());
    EXPECT_EQ(readable->text(QAccessible::Description), QStringLiteral("Statuszeile"));

    // The progress label takes its place while work runs, and the text comes back after.
    bar.ShowStatusProgress(true, QStringLiteral("Lade Datei..."));
    EXPECT_EQ(readable->text(QAccessible::Name), QStringLiteral("Lade Datei..."));
    bar.ShowStatusProgress(false);
    EXPECT_EQ(readable->textInterface()->text(0, 2), QStringLiteral("87"));

    // Loading 20,000 entries steps the bar 20,000 times; it moves (and tells
    // assistive technology) only when the change shows, and ends full.
    int moves = 0;
    QObject::connect(bar.Progress(), &QProgressBar::valueChanged, [&] { ++moves; });
    bar.SetProgressRange(20000);
    for (int i = 0; i < 20000; ++i) bar.StepProgress();
    EXPECT_LE(moves, 201);
    EXPECT_EQ(bar.Progress()->value(), 20000);
    bar.SetProgressPosition(10);
    EXPECT_EQ(bar.Progress()->value(), 10);
    bar.ShowStatusProgress(false);

    // A note takes the text's place, read the same way; it outlasts progress
    // and new counts coming meanwhile, and gives the place back when its time is up.
    const QString note = QStringLiteral("POV-Ray 3.7 in \"/usr\" wird benutzt");
    bar.ShowNote(note, 50);
    bar.SetText(QStringLiteral("2 Einträge"));
    EXPECT_EQ(readable->text(QAccessible::Name), note);
    bar.ShowStatusProgress(true, QStringLiteral("Lade Datei..."));
    bar.ShowStatusProgress(false);
    EXPECT_EQ(readable->text(QAccessible::Name), note);
    EXPECT_TRUE(test::WaitFor([&] { return !bar.NoteShown(); }, 5000));
    EXPECT_EQ(readable->text(QAccessible::Name), QStringLiteral("2 Einträge"));
}

TEST(DesktopUseTest, PovDirectoryDialogTakesThePreselectedInstallationWithOneReturn) {
    test::GuiApp();
    TempDir dir;
    for (const char* home : {"old", "new"}) {
        const std::string exe = dir.Write(std::string(home) + "/bin/povray", "#!/bin/sh\n");
        chmod(exe.c_str(), 0755);
    }
    PovInstallationRecords records;
    records.currentHome = dir / "old";
    records.currentVersionNo = "3.6";
    records.versions = {{"v3.7", dir / "new", "3.7"}};
    PovInstallation preselected;
    preselected.SetHome(dir / "new");
    test::RecordingUserInterface ui;
    PovDirectoryDialog dialog(preselected, records, ui);
    dialog.show();
    QApplication::processEvents();
    // The list has the focus: the arrow keys move through the versions, Return takes the one shown.
    EXPECT_EQ(dialog.focusWidget(), dialog.VersionList());
    EXPECT_EQ(dialog.VersionList()->currentRow(), 1);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(dialog.VersionList(), &press);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Result().Home(), dir / "new");
    EXPECT_NEAR(dialog.Result().Version(), 3.7f, 1e-4);
    EXPECT_TRUE(ui.messages.empty());
}


// A stored preview of one colour, `side` pixels square.
void SetSolidPreview(TextureEntry& entry, int side, QColor colour) {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(side * side * 3));
    for (size_t i = 0; i < pixels.size(); i += 3) {
        pixels[i] = static_cast<std::uint8_t>(colour.blue());
        pixels[i + 1] = static_cast<std::uint8_t>(colour.green());
        pixels[i + 2] = static_cast<std::uint8_t>(colour.red());
    }
    ASSERT_TRUE(Encode(entry.preview, pixels.data(), pixels.size(), side, side, 100, nullptr));
    entry.previewValid = true;
}

// Where in the window's `area` (default: the preview pane) lie the pixels `match` accepts.
struct PaneShot {
    QRect pane, found;
    // Twice the distance of the found pixels' middle from the pane's middle, across.
    int CentreOffset() const { return (found.left() + found.right()) - (pane.left() + pane.right()); }
};
PaneShot ShootPane(MainWindow& w, const std::function<bool(QColor)>& match, QRect area = {}) {
    QApplication::processEvents();
    const QImage shot = w.grab().toImage();
    QWidget* pane = w.Area().Pane();
    PaneShot result{QRect(pane->mapTo(&w, QPoint(0, 0)), pane->size()), {}};
    if (area.isEmpty()) area = result.pane;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (match(shot.pixelColor(x, y))) result.found |= QRect(x, y, 1, 1);
    return result;
}

using DesktopUseWindow = test::StartedWindow;

TEST_F(DesktopUseWindow, PreviewPictureStaysCrispInTheMiddleOfAWidePane) {
    w.resize(1200, 800);
    h.fileDialogs->answer = h.WriteListFile("lib.swl");
    test::RunAndSettle(w, int(Command::Open));
    TextureLibrary& library = w.Controller().Library();
    TextureEntry* first = library.NextEntry(nullptr);
    ASSERT_TRUE(first && library.NextEntry(first));
    SetSolidPreview(*first, 116, Qt::red);
    // A list made with small previews: its pictures are 56 pixels.
    SetSolidPreview(*library.NextEntry(first), 56, Qt::green);
    w.Views().FocusShownView();
    const auto red = [](QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; };
    const auto green = [](QColor c) { return c.green() > 200 && c.red() < 60 && c.blue() < 60; };
    const int pictureTop = w.Area().Picture()->mapTo(&w, QPoint(0, 0)).y();

    test::KeyClick(QApplication::focusWidget(), Qt::Key_End);
    PaneShot shot = ShootPane(w, green);
    EXPECT_GT(shot.pane.width(), 300);
    EXPECT_EQ(shot.found.size(), QSize(56, 56));  // its own size, not stretched
    EXPECT_LE(std::abs(shot.CentreOffset()), 2);
    EXPECT_EQ(shot.found.top(), pictureTop + 2 + 30);

    test::KeyClick(QApplication::focusWidget(), Qt::Key_Home);
    shot = ShootPane(w, red);
    EXPECT_EQ(shot.found.size(), QSize(116, 116));
    EXPECT_LE(std::abs(shot.CentreOffset()), 2);
    EXPECT_EQ(shot.found.top(), pictureTop + 2);

    // The large picture area grows with the pane; until its picture is
    // rendered the stored one sits in its middle, as sharp as before.
    w.RunCommand(int(Command::LargePreview));
    EXPECT_GT(w.Area().Picture()->width(), 200);
    shot = ShootPane(w, red);
    EXPECT_EQ(shot.found.size(), QSize(116, 116));
    EXPECT_LE(std::abs(shot.CentreOffset()), 2);
    EXPECT_EQ(shot.found.center().y(), w.Area().Picture()->mapTo(&w, w.Area().Picture()->rect().center()).y());
    w.RunCommand(int(Command::LargePreview));

    // Why a render failed stands in the middle of the picture area too.
    w.Area().Picture()->ShowFailure(QStringLiteral("Parse Error"));
    PreviewWindow* picture = w.Area().Picture();
    const QRect inside(picture->mapTo(&w, picture->contentsRect().topLeft()), picture->contentsRect().size());
    shot = ShootPane(w, [](QColor c) { return c.lightness() < 100; }, inside);
    const QRect& text = shot.found;
    ASSERT_FALSE(text.isEmpty());
    EXPECT_LT(text.width(), inside.width() - 20);
    EXPECT_LE(std::abs(shot.CentreOffset()), 4);
    EXPECT_LE(std::abs((text.top() + text.bottom()) - (inside.top() + inside.bottom())), 4);
}

}  // namespace
}  // namespace sc
