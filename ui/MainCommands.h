#pragma once
// The main window's commands as one table: for each command its identifier,
// menu text, keys, toolbar icon, and the rules that enable it and set its
// check mark. The window makes one action per row; menus, toolbar, context
// menus and keys all use that action, so they cannot disagree.
#include <optional>
#include <vector>

namespace sc {

enum class Command : int {
    Open = 32867, Add = 32898, Save = 32868, SaveAs = 32869, SearchTextures = 32877,
    PovDirectory = 32908, LibraryPaths = 1048, UninstallExtension = 32856, Editor = 32913,
    Colors = 32910, FlatToolbar = 32897, SaveSettingsOnExit = 32896, LoadLastFile = 32909,
    Exit = 32871,
    CopyTexture = 32918, EditWithPov = 32917, DeleteSelected = 32772, DeleteSelectedPreviews = 32858,
    DeleteAll = 32815, CollapseAll = 32882, ExpandAll = 32881, CompleteDirectories = 32886,
    FindText = 32853, FindAgain = 32854, ChangeCategory = 32857, Overview = 128,
    SelectAll = 32848, SelectChanged = 32915, SelectEmpty = 32916, SelectFaulty = 32892,
    Select30Incompatible = 32919, Select31Incompatible = 32920, SelectDuplicates = 32923,
    InvertSelection = 32894,
    TextureList = 32837, FileList = 32838, PictureList = 32872, OnlySelected = 32924,
    PreviewPane = 32873, SmallPreview = 32845, Antialias = 32911, LargePreview = 32940,
    Help = 9, TipOfTheDay = 32861, Website = 32926, About = 1062,
    RenderButton = 1151, TakeOver = 139,
    BackgroundRender = 32930,
    ExportWebPage = 32931, ExportContactSheet = 32932,
    Language = 32933,
    // The seven sort items of the entry list's context menu, in the order of the sort keys.
    SortByName = 33000, SortByType, SortByCategory, SortByVersion, SortByFile, SortByDirectory, SortByPicture,
};

inline constexpr int kFirstRecentFileCommand = 1300;
inline constexpr int kLastRecentFileCommand = 1304;

// `ListType` values of the three views.
enum ListType { kFileListType = 0, kTextureListType = 1, kPictureListType = 2 };

// What the enable rules look at.
struct MenuConditions {
    bool rendering = false;
    bool busy = false;
    int entryCount = 0;
    int previewCount = 0;
    int faultyCount = 0;
    int noDirectoryCount = 0;
    bool pluginInstalled = false;
    bool onlySelectedMode = false;       // the list area shows only the selected entries
    bool onlySelectedToggleable = false; // the only-selected mode can be entered or left
    int listType = kPictureListType;
    bool backgroundRendering = false;    // previews are being rendered in the background
    bool currentEntry = false;           // a view shows a current entry
    bool namedCurrentEntry = false;      // ... and it has a name (a file node has none)
};

// The settings behind the check marks.
struct CheckConditions {
    bool save = true;
    bool loadLastFile = false;
    bool flatToolbar = true;
    bool paneShown = true;
    bool smallPreview = false;
    bool largePreview = false;
    bool antialias = false;
    int listType = kPictureListType;
    int previewType = 0;
    int sortKey = 0;
};

// The icons of the toolbar's commands.
enum class CommandIcon { None, Open, Save, Search, Find, Overview, TextureList, FileList, PictureList, OnlySelected,
                         PreviewPane, About };

// Where a command's keys act: anywhere in the window, or only while the
// keyboard is in the entries (Entf must not delete entries from a text field).
enum class KeyScope { Window, Entries };

struct CommandRow {
    Command id;
    // With its mnemonic, marked for the catalogue only: Tr() it where shown.
    // The menu writes the key beside it in the words of the language in force.
    const char* text;
    std::vector<const char*> keys;   // the keys that run it, in portable form: "Ctrl+O", "Del"
    CommandIcon icon = CommandIcon::None;
    // Beyond the rules for every command (off while rendering or busy, and
    // off while a background render runs for what would clash with it).
    bool (*enabled)(const MenuConditions&) = nullptr;  // null: always
    std::optional<bool> (*checked)(const CheckConditions&) = nullptr;  // null: no check mark
    KeyScope scope = KeyScope::Window;
    // A key the menu names although the command does not own it (the views'
    // own Ctrl+A, the window manager's Alt+F4), in portable form.
    const char* shownKey = nullptr;
};

// Every command of the menus, the toolbar and the context menus.
const std::vector<CommandRow>& CommandTable();
// The row of a command, or null (recent files, sample scenes, unknown ids).
const CommandRow* FindCommand(int command);

// True when the command (or its toolbar button, context menu item or key)
// may be used now. Every command is off while rendering or busy; recent
// files (1300-1304) and sample scenes (5001 up) follow that rule alone.
bool CommandEnabled(int command, const MenuConditions& conditions);

// The check mark of a command: none for commands without one. The three
// views form a group with exactly one checked; of the sample scenes
// (5001 up) the one of `previewType`; of the sort items the sort key's.
std::optional<bool> CommandChecked(int command, const CheckConditions& conditions);

// The view command of a `ListType` and back (-1 for anything else).
int ViewCommandOf(int listType);
int ListTypeOf(int command);
// The sort key of a sort command (-1 for anything else).
int SortKeyOf(int command);

}  // namespace sc
