// The window's words come from the catalogue: English as written in the code
// when no catalogue is in force, and the German users know with "de".
#include <gtest/gtest.h>

#include <cctype>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "platform/Translate.h"
#include "ui/EntryCommands.h"
#include "ui/EntryTexts.h"
#include "ui/LibraryFileWatch.h"
#include "ui/MainCommands.h"
#include "ui/MainMenuTable.h"
#include "ui/TextSearch.h"

namespace sc {
namespace {

// Puts back the language the test program runs in.
class WindowLanguageTest : public testing::Test {
protected:
    void SetUp() override { before_ = CurrentLanguage(); }
    void TearDown() override { UseLanguage(before_); }
    std::string before_;
};

// The context menus' texts as shown, one list per menu; the main menus and
// the toolbar are walked in the running window.
std::vector<std::vector<std::string>> ContextMenus() {
    std::vector<std::vector<std::string>> menus;
    const auto add = [&](const std::vector<MenuItem>& items, auto& self) -> void {
        std::vector<std::string> texts;
        for (const MenuItem& item : items) {
            if (item.kind == MenuItem::Kind::Command) texts.push_back(Tr(FindCommand(item.command)->text));
            if (item.kind == MenuItem::Kind::Submenu) {
                texts.push_back(Tr(item.title.c_str()));
                self(item.items, self);
            }
        }
        menus.push_back(texts);
    };
    for (ContextMenuKind kind : {ContextMenuKind::FileList, ContextMenuKind::EntryList, ContextMenuKind::Picture})
        add(ContextMenuTable(kind), add);
    return menus;
}

TEST_F(WindowLanguageTest, EnglishWithoutACatalogueAndTodaysGermanWithOne) {
    SourceFile file("/usr/share/inc/", "stones.inc");
    TextureEntry entry("Jade", kKindTexture);
    entry.sourceFile = &file;

    ASSERT_TRUE(UseLanguage(""));
    const std::regex german("[ÄÖÜäöüß]|\\b(und|oder|nicht|Datei|Textur|Texturen|Einträge?|löschen|suchen)\\b");
    for (const auto& menu : ContextMenus()) {
        std::set<char> mnemonics;
        for (const std::string& text : menu) {
            EXPECT_FALSE(std::regex_search(text, german)) << text;
            // Every item of an English menu can be reached by its own letter.
            const size_t at = text.find('&');
            if (at == std::string::npos || at + 1 >= text.size()) continue;
            EXPECT_TRUE(mnemonics.insert(static_cast<char>(std::tolower(text[at + 1]))).second) << text;
        }
    }
    for (const std::string& text :
         {CopyItemText(&entry), EditItemText(&entry, false), DeleteAllQuestion(2, 5), CategoryQuestion(1, "Holz"),
          LibraryFileWatch::VanishedText("/inc/woods.inc", 2), NotFoundText("Gold"), OnlySelectedHeading(7, true)})
        EXPECT_FALSE(std::regex_search(text, german)) << text;
    EXPECT_EQ(DeleteAllQuestion(1, 2), "Really delete the entry shown?\n\nThe entry not shown is kept.");
    EXPECT_EQ(CopyItemText(&entry), "Copy \"Jade\"");

    // The German of the texts no other test shows in both forms.
    ASSERT_TRUE(UseLanguage("de"));
    EXPECT_EQ(EditItemText(&entry, false), "\"stones.inc\" ansehen/bearbeiten mit POV-Ray");
    EXPECT_EQ(LibraryFileWatch::VanishedText("/inc/woods.inc", 1),
              "Die Datei \"/inc/woods.inc\" ist nicht mehr vorhanden. Ihre 1 Textur bleibt in der Liste, ihre "
              "Deklarationen sind NICHT VERFÜGBAR.");
}

}  // namespace
}  // namespace sc
