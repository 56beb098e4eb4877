#include "ui/MainCommands.h"

#include <unordered_map>

#include "preview/SampleScenes.h"

namespace sc {
namespace {

using C = MenuConditions;
using K = CheckConditions;

bool Entries(const C& c) { return c.entryCount > 0; }
bool NotOnlySelected(const C& c) { return !c.onlySelectedMode; }
bool PluginInstalled(const C& c) { return c.pluginInstalled; }
bool InFileList(const C& c) { return Entries(c) && c.listType == kFileListType; }
bool NamedCurrent(const C& c) { return Entries(c) && c.namedCurrentEntry; }
// The user's own editor needs nothing of POV-Ray: any current entry's file can be opened.
bool EditableCurrent(const C& c) { return Entries(c) && c.currentEntry; }
bool EmptyPreviews(const C& c) { return Entries(c) && c.previewCount < c.entryCount; }
bool FaultyPreviews(const C& c) { return Entries(c) && c.faultyCount > 0; }
bool NoDirectories(const C& c) { return Entries(c) && c.noDirectoryCount > 0; }
bool OnlySelectedToggleable(const C& c) { return c.onlySelectedToggleable; }

std::optional<bool> SaveChecked(const K& k) { return k.save; }
std::optional<bool> LoadLastChecked(const K& k) { return k.loadLastFile; }
std::optional<bool> FlatChecked(const K& k) { return k.flatToolbar; }
std::optional<bool> PaneChecked(const K& k) { return k.paneShown; }
std::optional<bool> SmallChecked(const K& k) { return k.smallPreview; }
std::optional<bool> LargeChecked(const K& k) { return k.largePreview; }
std::optional<bool> AntialiasChecked(const K& k) { return k.antialias; }
template <ListType type>
std::optional<bool> ViewChecked(const K& k) { return k.listType == type; }
template <int key>
std::optional<bool> SortChecked(const K& k) { return k.sortKey == key; }

constexpr KeyScope kEntries = KeyScope::Entries;

std::vector<CommandRow> BuildTable() {
    using I = CommandIcon;
    using Cm = Command;
    return {
        {Cm::Open, "&Öffnen...\tStrg+O", {"Ctrl+O"}, I::Open},
        {Cm::Add, "&Hinzufügen...", {}},
        {Cm::Save, "&Speichern\tStrg+S", {"Ctrl+S"}, I::Save, Entries},
        {Cm::SaveAs, "Speichern &unter...", {}, I::None, Entries},
        {Cm::ExportWebPage, "Als &Webseite exportieren...", {}, I::None, Entries},
        {Cm::ExportContactSheet, "Als &Kontaktbild exportieren...", {}, I::None, Entries},
        {Cm::SearchTextures, "&Texturen suchen...\tStrg+T", {"Ctrl+T"}, I::Search, NotOnlySelected},
        {Cm::PovDirectory, "&POV-Ray Verzeichnis...", {}},
        {Cm::LibraryPaths, "POV-Ray &Bibliotheksverzeichnisse...", {}},
        {Cm::UninstallExtension, "GUI-Extension &deinstallieren", {}, I::None, PluginInstalled},
        {Cm::Editor, "Edi&tor...", {}},
        {Cm::Colors, "&Farben...", {}},
        {Cm::Language, "Sp&rache...", {}},
        {Cm::FlatToolbar, "Flache &Schalterleiste", {}, I::None, nullptr, FlatChecked},
        {Cm::SaveSettingsOnExit, "&Einstellungen bei Beenden speichern", {}, I::None, nullptr, SaveChecked},
        {Cm::LoadLastFile, "&Letzte Datei beim Starten laden", {}, I::None, nullptr, LoadLastChecked},
        {Cm::Exit, "&Beenden\tAlt+F4", {}},  // the window manager's key; closing asks like this item
        {Cm::CopyTexture, "Kopiere Textur\tStrg+C", {"Ctrl+C", "Ctrl+Ins"}, I::None, NamedCurrent},
        {Cm::EditWithPov, "Ansehen/bearbeiten mit POV-Ray\tStrg+E", {"Ctrl+E"}, I::None, EditableCurrent},
        {Cm::DeleteSelected, "Ausgewählte l&öschen\tEntf", {"Del"}, I::None, Entries, nullptr, kEntries},
        {Cm::DeleteSelectedPreviews, "Ausgewählte Vorschau&bilder löschen", {}, I::None, Entries},
        {Cm::DeleteAll, "Alle &löschen", {}, I::None, Entries},
        {Cm::CollapseAll, "Alle &verstecken", {}, I::None, InFileList},
        {Cm::ExpandAll, "Alle &anzeigen", {}, I::None, InFileList},
        {Cm::CompleteDirectories, "Verzeichnisse ergän&zen", {}, I::None, NoDirectories},
        {Cm::FindText, "Text &suchen\tStrg+F", {"Ctrl+F"}, I::Find, Entries},
        {Cm::FindAgain, "Suche &wiederholen\tF3", {"F3"}, I::None, Entries},
        {Cm::ChangeCategory, "&Kategorie ändern...\tStrg+G", {"Ctrl+G"}, I::None, Entries},
        {Cm::Overview, "&POV-Ray Scripts für Texturenüberischt erzeugen...", {}, I::Overview, Entries},
        // Strg+A is the views' own key: it selects what the view shows.
        {Cm::SelectAll, "&Alle\tStrg+A", {}, I::None, Entries},
        {Cm::SelectChanged, "&Geänderte Texturen", {}, I::None, Entries},
        {Cm::SelectEmpty, "&Leere Vorschauen", {}, I::None, EmptyPreviews},
        {Cm::SelectFaulty, "&Fehlerhafte Vorschauen", {}, I::None, FaultyPreviews},
        {Cm::Select30Incompatible, "POV-Ray 3.&0 inkompatible", {}, I::None, Entries},
        {Cm::Select31Incompatible, "POV-Ray 3.&1 inkompatible", {}, I::None, Entries},
        {Cm::SelectDuplicates, "&Duplikate...", {}, I::None, Entries},
        {Cm::InvertSelection, "Auswahl &invertieren\tStrg+I", {"Ctrl+I"}, I::None, Entries},
        {Cm::TextureList, "&Texturenliste\tStrg+1", {"Ctrl+1"}, I::TextureList, nullptr, ViewChecked<kTextureListType>},
        {Cm::FileList, "&Dateiliste\tStrg+2", {"Ctrl+2"}, I::FileList, NotOnlySelected, ViewChecked<kFileListType>},
        {Cm::PictureList, "&Bilderliste\tStrg+3", {"Ctrl+3"}, I::PictureList, nullptr, ViewChecked<kPictureListType>},
        {Cm::OnlySelected, "Nur &ausgewählte Texturen", {}, I::OnlySelected, OnlySelectedToggleable},
        {Cm::PreviewPane, "&Vorschaufenster\tStrg+V", {"Ctrl+V"}, I::PreviewPane, nullptr, PaneChecked},
        {Cm::SmallPreview, "&Klein", {}, I::None, nullptr, SmallChecked},
        {Cm::LargePreview, "&Groß", {}, I::None, nullptr, LargeChecked},
        {Cm::Antialias, "&Antialiasing", {}, I::None, nullptr, AntialiasChecked},
        {Cm::BackgroundRender, "Vorschaubilder im &Hintergrund berechnen", {}, I::None, Entries},
        {Cm::Help, "&Hilfe...\tF1", {"F1"}},
        {Cm::TipOfTheDay, "&Tip des Tages", {}},
        {Cm::Website, "Swatchcraft &Webseite", {}},
        {Cm::About, "&Über Swatchcraft...", {}, I::About},
        {Cm::RenderButton, "Anz&eigen", {}},
        {Cm::TakeOver, "Vorschau übernehmen", {}},
        {Cm::SortByName, "Sortieren nach &Name", {}, I::None, Entries, SortChecked<0>},
        {Cm::SortByType, "Sortieren nach &Typ", {}, I::None, Entries, SortChecked<1>},
        {Cm::SortByCategory, "Sortieren nach &Kategorie", {}, I::None, Entries, SortChecked<2>},
        {Cm::SortByVersion, "Sortieren nach &Version", {}, I::None, Entries, SortChecked<3>},
        {Cm::SortByFile, "Sortieren nach &Datei", {}, I::None, Entries, SortChecked<4>},
        {Cm::SortByDirectory, "Sortieren nach &Verzeichnis", {}, I::None, Entries, SortChecked<5>},
        {Cm::SortByPicture, "Sortieren nach Bild&ern", {}, I::None, Entries, SortChecked<6>},
    };
}

// The background render holds entries and stores into them: nothing may
// take them away or render them as well meanwhile.
bool ClashesWithBackgroundRender(int command) {
    if (command >= kFirstRecentFileCommand && command <= kLastRecentFileCommand) return true;
    switch (static_cast<Command>(command)) {
    case Command::Open: case Command::Add: case Command::SearchTextures: case Command::DeleteSelected:
    case Command::DeleteAll: case Command::DeleteSelectedPreviews: case Command::CompleteDirectories:
    case Command::RenderButton: case Command::TakeOver: case Command::BackgroundRender:
        return true;
    default:
        return false;
    }
}

}  // namespace

const std::vector<CommandRow>& CommandTable() {
    static const std::vector<CommandRow> table = BuildTable();
    return table;
}

const CommandRow* FindCommand(int command) {
    static const std::unordered_map<int, const CommandRow*> index = [] {
        std::unordered_map<int, const CommandRow*> rows;
        for (const CommandRow& row : CommandTable()) rows[static_cast<int>(row.id)] = &row;
        return rows;
    }();
    const auto found = index.find(command);
    return found == index.end() ? nullptr : found->second;
}

bool CommandEnabled(int command, const MenuConditions& c) {
    if (c.rendering || c.busy) return false;
    if (c.backgroundRendering && ClashesWithBackgroundRender(command)) return false;
    const CommandRow* row = FindCommand(command);
    return !row || !row->enabled || row->enabled(c);
}

std::optional<bool> CommandChecked(int command, const CheckConditions& c) {
    if (command >= kFirstSampleSceneCommand && command < kFirstSampleSceneCommand + kMaxSampleScenes)
        return command - kFirstSampleSceneCommand == c.previewType;
    const CommandRow* row = FindCommand(command);
    if (!row || !row->checked) return std::nullopt;
    return row->checked(c);
}

int ViewCommandOf(int listType) {
    switch (listType) {
    case kFileListType: return static_cast<int>(Command::FileList);
    case kTextureListType: return static_cast<int>(Command::TextureList);
    case kPictureListType: return static_cast<int>(Command::PictureList);
    default: return -1;
    }
}

int ListTypeOf(int command) {
    switch (static_cast<Command>(command)) {
    case Command::FileList: return kFileListType;
    case Command::TextureList: return kTextureListType;
    case Command::PictureList: return kPictureListType;
    default: return -1;
    }
}

int SortKeyOf(int command) {
    const int key = command - static_cast<int>(Command::SortByName);
    return key >= 0 && key <= static_cast<int>(Command::SortByPicture) - static_cast<int>(Command::SortByName) ? key
                                                                                                            : -1;
}

}  // namespace sc
