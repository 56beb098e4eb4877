// The whole window in the language it starts in: English on an English (or
// plain C) system, German when "Deutsch" is chosen whatever the system says.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QAccessible>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSet>

#include <cstdlib>
#include <optional>

#include "GuiApp.h"
#include "GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/StatusBarWithProgress.h"
#include "gui/Translation.h"
#include "library/LibraryController.h"
#include "preview/SampleScenes.h"
#include "ui/MainCommands.h"
#include "ui/Settings.h"

namespace sc {
namespace {

using test::DialogRecorder;
using test::WindowHarness;

// A system locale for the test's length; the test program's German comes
// back afterwards.
class SystemLocale {
public:
    explicit SystemLocale(const char* lang) {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
        setenv("LANG", lang, 1);
    }
    ~SystemLocale() {
        for (size_t i = 0; i < std::size(kNames); ++i) {
            if (saved_[i]) setenv(kNames[i], saved_[i]->c_str(), 1);
            else unsetenv(kNames[i]);
        }
        InstallGermanTranslation(test::GuiApp());
    }

private:
    static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG", "SWATCHCRAFT_LANGUAGE"};
    std::vector<std::optional<std::string>> saved_;
};

// Every text a person meets in `root` and its children: titles, labels,
// buttons, placeholders, tooltips, and the accessible names and
// descriptions a screen reader reads.
void CollectTexts(QWidget* root, QStringList& texts) {
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        texts << w->windowTitle() << w->toolTip() << w->accessibleName() << w->accessibleDescription();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) texts << b->text();
        if (auto* l = qobject_cast<QLabel*>(w)) texts << l->text();
        if (auto* e = qobject_cast<QLineEdit*>(w)) texts << e->placeholderText();
        if (auto* g = qobject_cast<QGroupBox*>(w)) texts << g->title();
        if (QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w))
            texts << a->text(QAccessible::Name) << a->text(QAccessible::Description);
    }
}

// The menus' items with their shortcut texts as Qt writes them; fails the
// test when two items of one menu share a mnemonic. The sample scenes'
// items are left out: their titles are the scene files' own first lines.
void CollectMenu(const QList<QAction*>& actions, const QString& where, QStringList& texts) {
    QSet<QChar> mnemonics;
    for (QAction* action : actions) {
        const int command = action->data().toInt();
        if (action->isSeparator() ||
            (command >= kFirstSampleSceneCommand && command < kFirstSampleSceneCommand + kMaxSampleScenes))
            continue;
        const QString text = action->text();
        texts << text << action->toolTip() << action->shortcut().toString(QKeySequence::NativeText);
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < text.size()) {
            const QChar key = text[amp + 1].toLower();
            EXPECT_FALSE(mnemonics.contains(key)) << "mnemonic " << QString(key).toStdString() << " twice in "
                                                  << where.toStdString() << ": " << text.toStdString();
            mnemonics.insert(key);
        }
        if (action->menu()) CollectMenu(action->menu()->actions(), text, texts);
    }
}

// German letters, and words German texts are full of but English ones lack.
const QRegularExpression kGerman(QStringLiteral(
    "[ÄÖÜäöüß]|\\b(Datei|Dateien|Ansicht|Bearbeiten|Einstellungen|Hilfe|Vorschau|Abbrechen|Suche|Textur|Texturen|"
    "Verzeichnis|Strg|Umschalt|Entf|Fenster|Liste|Bild|nicht|und|der|die|das|mit|von|zurück|Anzeigen)\\b"));

QStringList GermanAmong(const QStringList& texts) {
    QStringList found;
    for (const QString& text : texts)
        if (kGerman.match(text).hasMatch()) found << text;
    found.removeDuplicates();
    return found;
}

// Starts the window in `language` and goes through its first start (the
// missing POV-Ray is said and asked for), opens a list, and walks its menus,
// the dialogs the menus open without changing anything, the about box and
// the status line; returns what it showed and the texts of Qt's own buttons.
struct Walk {
    QStringList texts;
    QStringList qtButtons;
};

Walk WalkTheWindow(const std::string& language) {
    ApplyLanguage(test::GuiApp(), language);
    Walk walk;
    DialogRecorder recorder;
    recorder.onBox = [&](QMessageBox& box) {
        CollectTexts(&box, walk.texts);
        for (QAbstractButton* b : box.buttons()) walk.qtButtons << b->text();
    };
    recorder.onDialog = [&](QDialog& dialog) {
        CollectTexts(&dialog, walk.texts);
        for (auto* box : dialog.findChildren<QDialogButtonBox*>())
            if (QAbstractButton* cancel = box->button(QDialogButtonBox::Cancel)) walk.qtButtons << cancel->text();
    };
    WindowHarness h;
    MainWindow& w = *h.window;
    w.show();
    test::StartUpAndSettle(w);
    h.fileDialogs->answer = h.WriteListFile("lib.swl");
    test::RunAndSettle(w, int(Command::Open));
    EXPECT_EQ(w.Controller().EntryCount(), 2);
    w.RunCommand(int(Command::SelectAll));
    CollectMenu(w.menuBar()->actions(), QStringLiteral("the menu bar"), walk.texts);
    CollectTexts(&w, walk.texts);
    for (Command c : {Command::SearchTextures, Command::FindText, Command::Colors, Command::Editor,
                      Command::PovDirectory, Command::ChangeCategory, Command::Overview, Command::SelectDuplicates,
                      Command::Language, Command::TipOfTheDay, Command::About})
        w.RunCommand(int(c));
    walk.texts << w.Status().Text();
    walk.texts.removeAll(QString());
    return walk;
}

TEST(WindowLanguage, AnEnglishSystemGetsAnEnglishWindowWithQtsEnglishButtons) {
    for (const char* lang : {"C.UTF-8", "en_US.UTF-8"}) {
        SystemLocale system(lang);
        test::TempDir settings;
        const Walk walk = WalkTheWindow(StartLanguage(settings / "swatchcraft.ini"));
        EXPECT_GT(walk.texts.size(), 400) << lang;
        EXPECT_EQ(GermanAmong(walk.texts).join(QStringLiteral(" | ")).toStdString(), "") << lang;
        EXPECT_TRUE(walk.texts.contains(QStringLiteral("&File"))) << lang;
        EXPECT_TRUE(walk.qtButtons.contains(QStringLiteral("Cancel"))) << walk.qtButtons.join(' ').toStdString();
    }
}

TEST(WindowLanguage, ChoosingGermanGivesTodaysGermanWindowOnAPlainCSystem) {
    SystemLocale system("C.UTF-8");
    test::TempDir folder;
    Settings settings(folder / "swatchcraft.ini", folder / "prog");
    ASSERT_TRUE(settings.SetLanguageChoice("de"));
    const std::string language = StartLanguage(settings.FilePath());
    ASSERT_EQ(language, "de");
    const Walk walk = WalkTheWindow(language);
    for (const char* shown : {"&Datei", "Texturen suchen", "Statuszeile", "Über Swatchcraft"})
        EXPECT_TRUE(walk.texts.contains(QString::fromUtf8(shown))) << shown;
    EXPECT_TRUE(walk.texts.contains(QStringLiteral("Strg+O"))) << "shortcuts as Qt writes them in German";
    EXPECT_TRUE(walk.qtButtons.contains(QStringLiteral("Abbrechen"))) << walk.qtButtons.join(' ').toStdString();
}

}  // namespace
}  // namespace sc
