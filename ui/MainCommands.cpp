#include "ui/MainCommands.h"

#include <unordered_map>

#include "platform/Translate.h"
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
        {Cm::Open, N_("&Open..."), {"Ctrl+O"}, I::Open},
        {Cm::Add, N_("A&dd..."), {}},
        {Cm::Save, N_("&Save"), {"Ctrl+S"}, I::Save, Entries},
        {Cm::SaveAs, N_("Save &As..."), {}, I::None, Entries},
        {Cm::ExportWebPage, N_("Export as &Web Page..."), {}, I::None, Entries},
        {Cm::ExportContactSheet, N_("Export as &Contact Sheet..."), {}, I::None, Entries},
        {Cm::SearchTextures, N_("Search &Textures..."), {"Ctrl+T"}, I::Search, NotOnlySelected},
        {Cm::PovDirectory, N_("&POV-Ray Folder..."), {}},
        {Cm::LibraryPaths, N_("POV-Ray &Library Folders..."), {}},
        {Cm::UninstallExtension, N_("&Uninstall GUI Extension"), {}, I::None, PluginInstalled},
        {Cm::Editor, N_("&Editor..."), {}},
        {Cm::Colors, N_("&Colors..."), {}},
        {Cm::Language, N_("Lan&guage..."), {}},
        {Cm::FlatToolbar, N_("&Flat Toolbar"), {}, I::None, nullptr, FlatChecked},
        {Cm::SaveSettingsOnExit, N_("&Save Settings on Exit"), {}, I::None, nullptr, SaveChecked},
        {Cm::LoadLastFile, N_("&Reopen Last File at Start"), {}, I::None, nullptr, LoadLastChecked},
        // The window manager's key, shown only; closing asks like this item.
        {Cm::Exit, N_("&Quit"), {}, I::None, nullptr, nullptr, KeyScope::Window, "Alt+F4"},
        {Cm::CopyTexture, N_("Copy Texture"), {"Ctrl+C", "Ctrl+Ins"}, I::None, NamedCurrent},
        {Cm::EditWithPov, N_("View/Edit with POV-Ray"), {"Ctrl+E"}, I::None, EditableCurrent},
        {Cm::DeleteSelected, N_("&Delete Selected"), {"Del"}, I::None, Entries, nullptr, kEntries},
        {Cm::DeleteSelectedPreviews, N_("Delete Selected &Previews"), {}, I::None, Entries},
        {Cm::DeleteAll, N_("Delete &All"), {}, I::None, Entries},
        {Cm::CollapseAll, N_("&Collapse All"), {}, I::None, InFileList},
        {Cm::ExpandAll, N_("&Expand All"), {}, I::None, InFileList},
        {Cm::CompleteDirectories, N_("Complete Fo&lders"), {}, I::None, NoDirectories},
        {Cm::FindText, N_("&Find Text..."), {"Ctrl+F"}, I::Find, Entries},
        {Cm::FindAgain, N_("Find &Next"), {"F3"}, I::None, Entries},
        {Cm::ChangeCategory, N_("Change Ca&tegory..."), {"Ctrl+G"}, I::None, Entries},
        {Cm::Overview, N_("Create &Overview Scripts for POV-Ray..."), {}, I::Overview, Entries},
        // Ctrl+A is the views' own key: it selects what the view shows.
        {Cm::SelectAll, N_("&All"), {}, I::None, Entries, nullptr, KeyScope::Window, "Ctrl+A"},
        {Cm::SelectChanged, N_("&Changed Textures"), {}, I::None, Entries},
        {Cm::SelectEmpty, N_("&Empty Previews"), {}, I::None, EmptyPreviews},
        {Cm::SelectFaulty, N_("&Failed Previews"), {}, I::None, FaultyPreviews},
        {Cm::Select30Incompatible, N_("POV-Ray 3.&0 Incompatible"), {}, I::None, Entries},
        {Cm::Select31Incompatible, N_("POV-Ray 3.&1 Incompatible"), {}, I::None, Entries},
        {Cm::SelectDuplicates, N_("&Duplicates..."), {}, I::None, Entries},
        {Cm::InvertSelection, N_("&Invert Selection"), {"Ctrl+I"}, I::None, Entries},
        {Cm::TextureList, N_("&Texture List"), {"Ctrl+1"}, I::TextureList, nullptr, ViewChecked<kTextureListType>},
        {Cm::FileList, N_("&File List"), {"Ctrl+2"}, I::FileList, NotOnlySelected, ViewChecked<kFileListType>},
        {Cm::PictureList, N_("&Picture List"), {"Ctrl+3"}, I::PictureList, nullptr, ViewChecked<kPictureListType>},
        {Cm::OnlySelected, N_("&Only Selected Textures"), {}, I::OnlySelected, OnlySelectedToggleable},
        {Cm::PreviewPane, N_("Preview &Pane"), {"Ctrl+V"}, I::PreviewPane, nullptr, PaneChecked},
        {Cm::SmallPreview, N_("&Small"), {}, I::None, nullptr, SmallChecked},
        {Cm::LargePreview, N_("&Large"), {}, I::None, nullptr, LargeChecked},
        {Cm::Antialias, N_("&Antialiasing"), {}, I::None, nullptr, AntialiasChecked},
        {Cm::BackgroundRender, N_("Render Previews in the &Background"), {}, I::None, Entries},
        {Cm::Help, N_("Swatchcraft &Handbook..."), {"F1"}},
        {Cm::TipOfTheDay, N_("&Tip of the Day"), {}},
        {Cm::Website, N_("Swatchcraft &Website"), {}},
        {Cm::About, N_("&About Swatchcraft..."), {}, I::About},
        {Cm::RenderButton, N_("&Render"), {}},
        {Cm::TakeOver, N_("Use as Preview"), {}},
        {Cm::SortByName, N_("Sort by &Name"), {}, I::None, Entries, SortChecked<0>},
        {Cm::SortByType, N_("Sort by &Type"), {}, I::None, Entries, SortChecked<1>},
        {Cm::SortByCategory, N_("Sort by &Category"), {}, I::None, Entries, SortChecked<2>},
        {Cm::SortByVersion, N_("Sort by &Version"), {}, I::None, Entries, SortChecked<3>},
        {Cm::SortByFile, N_("Sort by &File"), {}, I::None, Entries, SortChecked<4>},
        {Cm::SortByDirectory, N_("Sort by F&older"), {}, I::None, Entries, SortChecked<5>},
        {Cm::SortByPicture, N_("Sort by P&icture"), {}, I::None, Entries, SortChecked<6>},
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
