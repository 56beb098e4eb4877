// "Datei | Einstellungen | Sprache...": the choice is stored at once for the
// next start, and the dialog shows what was stored.
#include <gtest/gtest.h>

#include <QRadioButton>

#include "GuiTestSupport.h"
#include "gui/AccessibleNames.h"
#include "gui/LanguageDialog.h"
#include "platform/IniFile.h"
#include "ui/MainCommands.h"
#include "ui/Settings.h"

namespace sc {
namespace {

TEST(LanguageChoiceTest, StoredAtOnceAndShownAgain) {
    test::WindowHarness h;
    test::DialogRecorder recorder;
    test::StartUpAndSettle(*h.window);
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
    h.window->RunCommand(int(Command::Language));
    EXPECT_EQ(recorder.texts, (std::vector<std::string>{"Sprache"}));
    EXPECT_EQ(checked, "Wie das System");
    IniFile ini(h.window->AppSettings().FilePath());
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(LanguageChoiceOf(ini), "en");

    pick = QStringLiteral("Wie das System");
    h.window->RunCommand(int(Command::Language));
    EXPECT_EQ(checked, "English");
    EXPECT_EQ(h.window->AppSettings().LanguageChoice(), "");
}

}  // namespace
}  // namespace sc
