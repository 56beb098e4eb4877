#include "ui/MainMenuTable.h"

#include "ui/MainCommands.h"

namespace sc {
namespace {

MenuItem Item(const char* text, Command command) {
    return {MenuItem::Kind::Command, text, static_cast<int>(command), {}};
}
MenuItem Separator() { return {MenuItem::Kind::Separator, {}, 0, {}}; }

std::vector<Menu> BuildTable() {
    const MenuItem settings{MenuItem::Kind::Submenu, "&Einstellungen", 0,
                            {Item("&POV-Ray Verzeichnis...", Command::PovDirectory),
                             Item("POV-Ray &Bibliotheksverzeichnisse...", Command::LibraryPaths),
                             Item("GUI-Extension &deinstallieren", Command::UninstallExtension),
                             Item("Edi&tor...", Command::Editor), Item("&Farben...", Command::Colors), Separator(),
                             Item("Flache &Schalterleiste", Command::FlatToolbar),
                             Item("&Einstellungen bei Beenden speichern", Command::SaveSettingsOnExit),
                             Item("&Letzte Datei beim Starten laden", Command::LoadLastFile)}};
    return {
        {"&Datei",
         {Item("&Öffnen...\tStrg+O", Command::Open), Item("&Hinzufügen...", Command::Add),
          Item("&Speichern\tStrg+S", Command::Save), Item("Speichern &unter...", Command::SaveAs), Separator(),
          Item("&Texturen suchen...\tStrg+T", Command::SearchTextures), Separator(), settings, Separator(),
          Item("&Beenden\tAlt+F4", Command::Exit), {MenuItem::Kind::RecentFiles, {}, 0, {}}}},
        {"&Bearbeiten",
         {Item("Kopiere Textur\tStrg+C", Command::CopyTexture),
          Item("Ansehen/bearbeiten mit POV-Ray\tStrg+E", Command::EditWithPov), Separator(),
          Item("Ausgewählte l&öschen\tEntf", Command::DeleteSelected),
          Item("Ausgewählte Vorschau&bilder löschen", Command::DeleteSelectedPreviews),
          Item("Alle &löschen", Command::DeleteAll), Separator(), Item("Alle &verstecken", Command::CollapseAll),
          Item("Alle &anzeigen", Command::ExpandAll), Item("Verzeichnisse ergän&zen", Command::CompleteDirectories),
          Separator(), Item("Text &suchen\tStrg+F", Command::FindText),
          Item("Suche &wiederholen\tF3", Command::FindAgain), Separator(),
          Item("&Kategorie ändern...\tStrg+G", Command::ChangeCategory), Separator(),
          Item("&POV-Ray Scripts für Texturenüberischt erzeugen...", Command::Overview)}},
        {"Aus&wählen",
         {Item("&Alle\tStrg+A", Command::SelectAll), Separator(), Item("&Geänderte Texturen", Command::SelectChanged),
          Item("&Leere Vorschauen", Command::SelectEmpty), Item("&Fehlerhafte Vorschauen", Command::SelectFaulty),
          Item("POV-Ray 3.&0 inkompatible", Command::Select30Incompatible),
          Item("POV-Ray 3.&1 inkompatible", Command::Select31Incompatible),
          Item("&Duplikate...", Command::SelectDuplicates), Separator(),
          Item("Auswahl &invertieren\tStrg+I", Command::InvertSelection)}},
        {"&Ansicht",
         {Item("&Texturenliste\tStrg+1", Command::TextureList), Item("&Dateiliste\tStrg+2", Command::FileList),
          Item("&Bilderliste\tStrg+3", Command::PictureList), Separator(),
          Item("Nur &ausgewählte Texturen", Command::OnlySelected)}},
        {"&Vorschau",
         {Item("&Vorschaufenster\tStrg+V", Command::PreviewPane), Item("&Klein", Command::SmallPreview),
          Item("&Antialiasing", Command::Antialias), Separator(),
          Item("Vorschaubilder im &Hintergrund berechnen", Command::BackgroundRender), Separator(),
          {MenuItem::Kind::SampleScenes, {}, 0, {}}}},
        {"&?",
         {Item("&Hilfe...\tF1", Command::Help), Item("&Tip des Tages", Command::TipOfTheDay),
          Item("Swatchcraft &Webseite", Command::Website), Separator(),
          Item("&Über Swatchcraft...", Command::About)}},
    };
}

}  // namespace

const std::vector<Menu>& MainMenuTable() {
    static const std::vector<Menu> table = BuildTable();
    return table;
}

const std::vector<ToolbarButton>& ToolbarTable() {
    static const std::vector<ToolbarButton> table = {
        {static_cast<int>(Command::Open), "Öffnen"},
        {static_cast<int>(Command::Save), "Speichern"},
        {0, ""},
        {static_cast<int>(Command::SearchTextures), "Texturen suchen"},
        {static_cast<int>(Command::FindText), "Text suchen"},
        {0, ""},
        {static_cast<int>(Command::Overview), "POV-Ray Scripts für Texturenübersicht erzeugen"},
        {0, ""},
        {static_cast<int>(Command::TextureList), "Texturenliste"},
        {static_cast<int>(Command::FileList), "Dateienliste"},
        {static_cast<int>(Command::PictureList), "Bilderliste"},
        {0, ""},
        {static_cast<int>(Command::OnlySelected), "Nur ausgewählte anzeigen"},
        {0, ""},
        {static_cast<int>(Command::PreviewPane), "Vorschaufenster anzeigen"},
        {0, ""},
        {static_cast<int>(Command::About), "Über Swatchcraft"},
    };
    return table;
}

}  // namespace sc
