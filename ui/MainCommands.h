#pragma once
// The main window's commands: their identifiers, when each is enabled and
// which carry a check mark. The widgets only mirror what this decides.
#include <optional>

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
    PreviewPane = 32873, SmallPreview = 32845, Antialias = 32911,
    Help = 9, TipOfTheDay = 32861, Website = 32926, About = 1062,
    RenderButton = 1151, TakeOver = 139,
    BackgroundRender = 32930,
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
    bool onlySelectedMode = false;      // the list area shows only the selected entries
    bool onlySelectedToggleable = false; // the only-selected mode can be entered or left
    int listType = kPictureListType;
    bool backgroundRendering = false;   // previews are being rendered in the background
};

// True when the main-menu command (or its toolbar button) may be used now.
// Every command is off while rendering or busy; recent files (1300-1304) and
// sample scenes (5001 up) follow that rule alone. While previews are rendered
// in the background, what would replace, delete or render entries is off too.
bool CommandEnabled(int command, const MenuConditions& conditions);

// The settings behind the check marks.
struct CheckConditions {
    int save = 1;
    int loadLastFile = 0;
    int flatToolbar = 1;
    int content = 1;
    int smallPreview = 0;
    int antialias = 0;
    int listType = kPictureListType;
    int previewType = 0;
};

// The check mark of a command: none for commands without one. The three
// views form a group with exactly one checked; of the sample scenes
// (5001 up) the one of `previewType`.
std::optional<bool> CommandChecked(int command, const CheckConditions& conditions);

// The view command of a `ListType` and back (-1 for anything else).
int ViewCommandOf(int listType);
int ListTypeOf(int command);

}  // namespace sc
