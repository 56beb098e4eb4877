// The main window under Qt's offscreen platform: start-up, keys, the
// splitter, the preview pane, the title, accessibility and the language choice.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>

#include "gui/AccessibleNames.h"
#include "gui/DeclarationBox.h"
#include "gui/LanguageDialog.h"
#include "gui/MainArea.h"
#include "gui/LibraryViewStack.h"
#include "gui/PreviewWindow.h"
#include "gui/StatusBarWithProgress.h"
#include "gui/PreviewPicture.h"
#include "GuiTestSupport.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "library/TextureLibrary.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "povray/LibraryPaths.h"
#include "preview/PreviewCodec.h"
#include "ui/Settings.h"
#include "ui/StartupSequence.h"

namespace sc {
namespace {

using test::DialogRecorder;
using test::WindowHarness;
using Strings = std::vector<std::string>;

bool Enabled(MainWindow& w, Command c) { return w.ActionFor(int(c))->isEnabled(); }

void Key(MainWindow& w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    test::KeyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w.Views(), key, modifiers);
}

using StartedWindow = test::StartedWindow;

TEST(MainWindowTest, StartUpAsksForPovRayAndReportsADamagedCommandLineFile) {
    WindowHarness h;
    std::string bytes = test::ReadFile(h.WriteListFile("lib.swl"));
    bytes.resize(bytes.size() - 10);
    const std::string damaged = h.dir.Write("damaged.swl", bytes);
    WindowHarness started({damaged});
    DialogRecorder recorder;
    MainWindow& w = *started.window;
    EXPECT_TRUE(w.Busy());
    EXPECT_FALSE(Enabled(w, Command::Open));
    test::StartUpAndSettle(w);
    EXPECT_EQ(recorder.texts, (Strings{NoInstallationMessage(), "POV-Ray Verzeichnis ändern", OpenFailedMessage(damaged)}));
    EXPECT_FALSE(w.Busy());
    EXPECT_TRUE(Enabled(w, Command::Open));
    EXPECT_EQ(w.Document().Path(), "");  // what the damaged file gave can only be saved elsewhere
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Swatchcraft[*]"));
}

// Which installation is taken or offered is the start-up sequence's own
// test; here what the window adds around it.
TEST(MainWindowTest, FirstStartTakesTheOnlyPovRayQuietlyAndOffersTheNewestOfTwo) {
    WindowHarness h;
    for (const char* home : {"a", "b"}) h.dir.Write(std::string(home) + "/bin/povray", "#!/bin/sh\n");
    h.installations.records.currentHome = h.dir / "a";
    h.installations.records.currentVersionNo = "3.6";
    h.Restart({h.WriteListFile("lib.swl")});
    DialogRecorder recorder;
    test::StartUpAndSettle(*h.window);
    EXPECT_TRUE(recorder.texts.empty());
    // The list file named on the command line is loaded after the choice: its progress does not take the note away.
    EXPECT_TRUE(h.window->CurrentEntry());
    EXPECT_TRUE(h.window->Status().Text().startsWith(QStringLiteral("POV-Ray 3.6 in")));

    // Two found: the dialog opens without the wait cursor, and cancelling it keeps nothing.
    h.installations.records.versions = {{"v3.7", h.dir / "b", "3.7"}};
    h.Restart();
    bool waitCursor = true;
    recorder.onDialog = [&](QDialog&) { waitCursor = QApplication::overrideCursor() != nullptr; };
    test::StartUpAndSettle(*h.window);
    EXPECT_EQ(recorder.texts, (Strings{"POV-Ray Verzeichnis ändern"}));
    EXPECT_FALSE(waitCursor);
    EXPECT_TRUE(h.window->AppSettings().PovHome().empty());
}

// The list named on the command line is there behind the tip, and the title
// marks a library with unsaved changes the desktop way: set by a delete,
// cleared by opening another list and by emptying the library.
TEST(MainWindowTest, TipOpensOverTheLoadedListAndTheTitleMarksUnsavedChanges) {
    WindowHarness h;
    const std::string list = h.WriteListFile("lib.swl");
    h.Restart({list});
    WriteIniString(h.dir / "swatchcraft.ini", "Tip", "StartUp", "0");
    MainWindow& w = *h.window;
    DialogRecorder recorder;
    size_t entriesBehindTip = 0;
    QString statusBehindTip;
    recorder.onDialog = [&](QDialog& d) {
        if (d.windowTitle() != QStringLiteral("Tip des Tages")) return;
        entriesBehindTip = w.Views().EntriesInListOrder().size();
        statusBehindTip = w.Status().Text();
    };
    w.show();
    test::StartUpAndSettle(w);
    EXPECT_EQ(recorder.texts, (Strings{NoInstallationMessage(), "POV-Ray Verzeichnis ändern", "Tip des Tages"}));
    EXPECT_EQ(entriesBehindTip, 2u);
    EXPECT_TRUE(statusBehindTip.startsWith(QStringLiteral("2 "))) << statusBehindTip.toStdString();
    const auto shownTitle = [&] { return w.windowHandle()->title().toStdString(); };
    EXPECT_EQ(shownTitle(), "Swatchcraft [lib.swl]");

    const auto deleteEntry = [&](const char* name) {
        w.Views().SelectEntries({test::EntryNamed(w, name)});
        w.RunCommand(int(Command::DeleteSelected));
    };
    deleteEntry("T_A");
    ASSERT_EQ(w.Controller().EntryCount(), 1);
    EXPECT_EQ(shownTitle(), "Swatchcraft [lib.swl]*");
    const std::string other = h.WriteListFile("other.swl");
    h.fileDialogs->answer = other;
    recorder.AnswerWith({"Nein"});  // the save question
    test::RunAndSettle(w, int(Command::Open));
    EXPECT_EQ(shownTitle(), "Swatchcraft [other.swl]");
    deleteEntry("T_B");
    EXPECT_EQ(shownTitle(), "Swatchcraft [other.swl]*");
    recorder.AnswerWith({"Ja"});  // "Wirklich alles löschen"
    w.RunCommand(int(Command::DeleteAll));
    EXPECT_EQ(w.Controller().EntryCount(), 0);
    EXPECT_EQ(shownTitle(), "Swatchcraft");  // a new, empty library has nothing to save
}

// The window comes back where and as large as it was left, and hiding and
// showing the pane gives the window its width back.
TEST_F(StartedWindow, SizePositionAndPaneWidthSurviveARestartAndThePaneToggle) {
    w.resize(760, 520);
    w.move(20, 10);
    QApplication::processEvents();
    const int pane = w.Area().CurrentLayout().widths.pane;
    ASSERT_TRUE(w.close());
    h.Restart();
    MainWindow& again = *h.window;
    test::StartUpAndSettle(again);
    again.show();
    QApplication::processEvents();
    EXPECT_EQ(again.size(), QSize(760, 520));
    EXPECT_EQ(again.frameGeometry().topLeft(), QPoint(20, 10));
    EXPECT_EQ(again.Area().CurrentLayout().widths.pane, pane);

    again.RunCommand(int(Command::PreviewPane));
    EXPECT_EQ(again.width(), 760 - pane - 8);
    again.RunCommand(int(Command::PreviewPane));
    EXPECT_EQ(again.width(), 760);
    EXPECT_EQ(again.Area().CurrentLayout().widths.pane, pane);
}

// Directory completion must see library paths added to POV-Ray's ini after start-up.
TEST(MainWindowTest, LibraryPathsAreReadAgainWhenCompletionAsks) {
    WindowHarness h({}, true);
    DialogRecorder recorder;
    MainWindow& w = *h.window;
    test::StartUpAndSettle(w);
    const std::string added = h.dir / "added";
    CreateDirectories(added);
    const std::string ini = UserPovrayIniPath("/usr");
    CreateDirectories(DirectoryOf(ini));
    WriteFileAtomically(ini, "Library_Path=" + added + "\n");
    TextureLibrary& library = w.Controller().Library();
    EXPECT_EQ(std::count(library.LibraryPaths().begin(), library.LibraryPaths().end(), added), 0);
    library.RereadLibraryPaths();
    EXPECT_EQ(library.LibraryPaths(), (Strings{added}));
}

TEST_F(StartedWindow, KeysFollowTheTableAndOnlyEscapeActsWhileBusyOrRendering) {
    w.Views().FocusShownView();
    const int width = w.width();
    const int pane = w.Area().CurrentLayout().widths.pane;
    Key(w, Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(w.AppSettings().PaneShown());
    EXPECT_FALSE(w.Area().PaneShown());
    EXPECT_EQ(w.width(), width - (pane + 8));
    EXPECT_FALSE(w.ActionFor(int(Command::PreviewPane))->isChecked());
    Key(w, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(w.Views().ViewType(), kTextureListType);

    w.SetBusy(true);
    EXPECT_FALSE(Enabled(w, Command::Open));
    EXPECT_FALSE(w.Area().ShowButton()->isEnabled());
    Key(w, Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(w.AppSettings().PaneShown());
    Key(w, Qt::Key_Escape);
    EXPECT_TRUE(w.Ui().IsCancelled());
    w.SetBusy(false);
    w.SetRendering(true);
    Key(w, Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(w.AppSettings().PaneShown());
    EXPECT_FALSE(w.close());  // closing does nothing while rendering
    w.SetRendering(false);
    Key(w, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(w.AppSettings().PaneShown());
}

TEST_F(StartedWindow, SplitterDragStoresTheWidthsOfTheWindowState) {
    w.resize(900, 600);
    QApplication::processEvents();
    MainArea& area = w.Area();
    area.Relayout();
    const Rect splitter = area.CurrentLayout().splitter;
    const QPointF start(splitter.x + 3, splitter.y + 50);
    QMouseEvent press(QEvent::MouseButtonPress, start, area.mapToGlobal(start), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&area, &press);
    const QPointF end(503, splitter.y + 50);
    QMouseEvent move(QEvent::MouseMove, end, area.mapToGlobal(end), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&area, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, end, area.mapToGlobal(end), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&area, &release);
    EXPECT_EQ(area.CurrentLayout().splitter.x, 500);
    EXPECT_EQ(area.CurrentLayout().widths.pane, area.width() - 507);
    EXPECT_GE(w.minimumWidth(), 320 + 128);
}

TEST_F(StartedWindow, PreviewPaneShowsTheDeclarationAndCopiesItWithLineFeeds) {
    // The keyboard starts in the entries, and Tab leaves the declaration box.
    ASSERT_TRUE(QApplication::focusWidget());
    EXPECT_TRUE(w.Views().isAncestorOf(QApplication::focusWidget()));
    EXPECT_TRUE(w.Area().TextBox()->tabChangesFocus());
    h.fileDialogs->answer = h.WriteListFile("lib.swl");
    test::RunAndSettle(w, int(Command::Open));
    ASSERT_TRUE(w.CurrentEntry());
    DeclarationBox& box = *w.Area().TextBox();
    EXPECT_TRUE(box.toPlainText().contains(QStringLiteral("#declare T_A = texture")));
    EXPECT_FALSE(box.isReadOnly());
    box.insertPlainText(QStringLiteral("// edited\n"));
    EXPECT_TRUE(box.Edited());
    QApplication::clipboard()->clear();
    w.RunCommand(int(Command::CopyTexture));
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith(QStringLiteral("// >>> T_A (aus Datei \"stones.inc\", Zeile 1) <<<\n")));
    EXPECT_TRUE(copied.endsWith(QStringLiteral("\n")));
    EXPECT_FALSE(copied.contains(QLatin1Char('\r')));
    EXPECT_FALSE(copied.contains(QStringLiteral("edited")));  // the stored declaration, not the edit
    EXPECT_FALSE(box.Edited());

    w.RunCommand(int(Command::SmallPreview));
    EXPECT_EQ(w.Area().CurrentLayout().picture.width, 60);
    EXPECT_TRUE(w.ActionFor(int(Command::SmallPreview))->isChecked());
}

TEST(MainWindowTest, StoredPreviewIsShownUprightWithItsColours) {
    // A 16 x 16 frame buffer: bottom-up rows of blue-green-red pixels; the upper half is red.
    std::vector<std::uint8_t> pixels(16 * 16 * 3);
    for (int row = 0; row < 16; ++row)
        for (int x = 0; x < 16; ++x) pixels[static_cast<size_t>((row * 16 + x) * 3 + (row < 8 ? 0 : 2))] = 255;
    PreviewImage image;
    ASSERT_TRUE(Encode(image, pixels.data(), pixels.size(), 16, 16, 100, nullptr));
    PreviewWindow window;
    window.ShowPreview(&image);
    const QImage shown = window.ScreenCopy();
    ASSERT_EQ(shown.size(), QSize(16, 16));  // not blurred up to the picture area's size
    EXPECT_GT(qRed(shown.pixel(0, 0)), 200);
    EXPECT_LT(qBlue(shown.pixel(0, 0)), 60);
    EXPECT_GT(qBlue(shown.pixel(15, 15)), 200);
    window.ShowPreview(nullptr);
    EXPECT_TRUE(window.ScreenCopy().isNull());
}

TEST(MainWindowTest, TitleShowsTheProgressWhileRenderingMinimized) {
    WindowHarness h;
    MainWindow& w = *h.window;
    w.SetRendering(true);
    w.setWindowState(Qt::WindowMinimized);
    w.SetCaption("42% Swatchcraft");
    EXPECT_EQ(w.windowTitle(), QStringLiteral("42% Swatchcraft[*]"));
    w.SetRendering(false);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Swatchcraft[*]"));
}

// Every control a screen reader or a test meets carries a name, also those
// Qt shows only at times (the filter's clear button, the toolbar's overflow).
void ExpectNamed(QAccessibleInterface* node, Strings& unnamed) {
    if (!node) return;
    static const QList<QAccessible::Role> controls = {QAccessible::PushButton, QAccessible::CheckBox,
                                                      QAccessible::RadioButton, QAccessible::EditableText,
                                                      QAccessible::List, QAccessible::ProgressBar,
                                                      QAccessible::ButtonMenu};
    if (controls.contains(node->role()) && node->text(QAccessible::Name).isEmpty())
        unnamed.push_back(node->object() ? node->object()->metaObject()->className() : "?");
    for (int i = 0; i < node->childCount(); ++i) ExpectNamed(node->child(i), unnamed);
}

TEST_F(StartedWindow, EveryControlHasAnAccessibleName) {
    Strings unnamed;
    ExpectNamed(QAccessible::queryAccessibleInterface(&w), unnamed);
    EXPECT_EQ(unnamed, Strings{});
    EXPECT_TRUE(test::FindAccessible(QAccessible::queryAccessibleInterface(&w), QStringLiteral("Vorschau übernehmen")));
    EXPECT_TRUE(test::FindAccessible(QAccessible::queryAccessibleInterface(&w), QStringLiteral("Öffnen")));
}

// "Datei | Einstellungen | Sprache...": the choice is stored at once for the
// next start, and the dialog shows what was stored.
TEST_F(StartedWindow, LanguageChoiceIsStoredAtOnceAndShownAgain) {
    recorder.texts.clear();
    recorder.acceptDialogs = true;
    std::string checked;
    QString pick;
    recorder.onDialog = [&](QDialog& d) {
        ASSERT_TRUE(dynamic_cast<LanguageDialog*>(&d));
        EXPECT_TRUE(UnnamedControls(&d).isEmpty());
        const QList<QRadioButton*> buttons = d.findChildren<QRadioButton*>();
        for (QRadioButton* b : buttons)
            if (b->isChecked()) checked = PlainText(b->text()).toStdString();
        for (QRadioButton* b : buttons)
            if (PlainText(b->text()) == pick) b->setChecked(true);
    };
    pick = QStringLiteral("English");
    w.RunCommand(int(Command::Language));
    EXPECT_EQ(recorder.texts, (std::vector<std::string>{"Sprache"}));
    EXPECT_EQ(checked, "Wie das System");
    IniFile ini(w.AppSettings().FilePath());
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(LanguageChoiceOf(ini), "en");

    pick = QStringLiteral("Wie das System");
    w.RunCommand(int(Command::Language));
    EXPECT_EQ(checked, "English");
    EXPECT_EQ(w.AppSettings().LanguageChoice(), "");
}

}  // namespace
}  // namespace sc
