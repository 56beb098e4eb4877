#pragma once
// The program's settings file: every section and key with its default, the
// corrections applied when reading, and when each key is written back.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/ExternalEditor.h"
#include "povray/PovCommandLine.h"
#include "povray/PovInstallation.h"
#include "preview/FinishColor.h"
#include "ui/EntrySort.h"
#include "ui/MainCommands.h"
#include "ui/RecentFileList.h"
#include "ui/SettingValues.h"

namespace sc {

class IniFile;

// A colour with red in the low byte, as the settings keep it.
using RgbColor = std::uint32_t;
constexpr RgbColor MakeRgb(int r, int g, int b) {
    return static_cast<RgbColor>((r & 0xff) | ((g & 0xff) << 8) | ((b & 0xff) << 16));
}
// "r,g,b" (each 0 to 255).
std::string FormatColor(RgbColor color);
// The text before the first comma is red, between the first and the last
// comma green, after the last comma blue; each atoi'd and cut to a byte.
RgbColor ParseColor(const std::string& text);

// The settings file's "Preview"/"TimeLimit" (seconds; 0 or less: no limit).
// Set by hand only, so the program never writes it.
int PreviewTimeLimitOf(const IniFile& settingsFile);

// The settings file's "Settings"/"Language": the language chosen for the
// window, taken at its next start: "" as the system's, "de", "en".
std::string LanguageChoiceOf(const IniFile& settingsFile);

class Settings {
public:
    // Binds to a settings file (default: SettingsFilePath()) and a program
    // folder (default: ProgramDataDir()); call Load to read it.
    explicit Settings(std::string filePath = {}, std::string programDir = {});
    virtual ~Settings() = default;

    const std::string& FilePath() const { return filePath_; }
    const std::string& ProgramDir() const { return programDir_; }

    // Reads every key (full) or only the overview group (Output, Template,
    // Render Options) and the finish colour, applying defaults and corrections. Missing folders
    // among the defaults (templates, ini, samples) are created.
    void Load(bool full = true);
    // Writes the keys saved on every exit and, when Save is 1, those saved
    // only then. False when the file could not be written.
    bool Save() const;
    // Writes the overview group (the overview dialog's own keys).
    bool SaveOverview() const;
    // Writes the list view's keys (sort and column widths), when Save is 1.
    bool SaveListView() const;
    // Writes one flag of the groups Info, Ask and Tip at once.
    bool WriteFlag(const char* section, const char* key, int value) const;
    int ReadFlag(const char* section, const char* key, int defaultValue) const;
    // The language choice (see LanguageChoiceOf), read from and written to
    // the file at once: it counts from the next start, whether or not the
    // other settings are saved on exit.
    std::string LanguageChoice() const;
    bool SetLanguageChoice(const std::string& choice) const;

    // Each key of the file has one typed getter and setter here; the file's
    // numbers and texts stay as they were read until a setter changes them,
    // so a file is written back as it was read.

    // MainWindow: where the window was and how its parts were divided.
    std::optional<int> WindowX() const { return x_; }  // absent: centred
    std::optional<int> WindowY() const { return y_; }
    void SetWindowPosition(std::optional<int> x, std::optional<int> y) { x_ = x, y_ = y; }
    unsigned WindowHeight() const { return cy_; }  // at least 401, or 400
    void SetWindowHeight(unsigned height) { cy_ = height; }
    bool Maximized() const { return maximized_.Get() == 1; }
    void SetMaximized(bool on) { maximized_.Set(on ? 1 : 0); }
    int ListWidth() const { return normalListWidth_.Get(); }
    void SetListWidth(int width) { normalListWidth_.Set(width); }
    int PaneWidth() const { return normalContentWidth_.Get(); }
    void SetPaneWidth(int width) { normalContentWidth_.Set(width); }
    int MaximizedPaneWidth() const { return maximizedContentWidth_.Get(); }
    void SetMaximizedPaneWidth(int width) { maximizedContentWidth_.Set(width); }
    // The large picture's share of the pane's height, in percent (15 to 85).
    int PictureShare() const { return pictureShare_.Get(); }
    void SetPictureShare(int percent) { pictureShare_.Set(percent); }

    // LastFiles
    const RecentFileList& RecentFiles() const { return recentFiles_; }
    RecentFileList& RecentFiles() { return recentFiles_; }

    // Settings
    bool SaveOnExit() const { return save_.Get() == 1; }
    void SetSaveOnExit(bool on) { save_.Set(on ? 1 : 0); }
    bool LoadLastFile() const { return loadLastFile_.Get() == 1; }
    void SetLoadLastFile(bool on) { loadLastFile_.Set(on ? 1 : 0); }
    const std::string& LastFile() const { return lastFile_.Get(); }
    void SetLastFile(std::string path) { lastFile_.Set(std::move(path)); }

    // Display
    bool FlatToolbar() const { return flatToolbar_.Get() == 1; }
    void SetFlatToolbar(bool on) { flatToolbar_.Set(on ? 1 : 0); }
    ListType ViewType() const { return static_cast<ListType>(listType_.Get()); }
    void SetViewType(ListType type) { listType_.Set(type); }
    bool PaneShown() const { return content_.Get() == 1; }
    void SetPaneShown(bool on) { content_.Set(on ? 1 : 0); }
    PreviewScene SampleScene() const { return static_cast<PreviewScene>(previewType_.Get()); }
    void SetSampleScene(PreviewScene scene) { previewType_.Set(static_cast<int>(scene)); }
    bool SmallPreview() const { return smallPreview_.Get() == 1; }
    void SetSmallPreview(bool on) { smallPreview_.Set(on ? 1 : 0); }
    GridZoom Zoom() const { return static_cast<GridZoom>(gridZoom_.Get()); }
    void SetZoom(GridZoom step) { gridZoom_.Set(static_cast<int>(step)); }
    // A stored key outside name to directory reads as name.
    SortKey SortBy() const { return static_cast<SortKey>(sortType_.Get()); }
    void SetSortBy(SortKey key) { sortType_.Set(key); }
    bool SortAscending() const { return sortAscending_.Get() != 0; }
    void SetSortAscending(bool on) { sortAscending_.Set(on ? 1 : 0); }

    // List: the texture list's column widths in its column order (name,
    // type, category, version, file); -1: the width of the sample text.
    static constexpr int kStoredColumns = 5;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    // Preview
    bool Antialias() const { return antialias_.Get() == 1; }
    void SetAntialias(bool on) { antialias_.Set(on ? 1 : 0); }
    bool LargePreview() const { return largePreview_.Get() == 1; }  // the pane's picture at the pane's size
    void SetLargePreview(bool on) { largePreview_.Set(on ? 1 : 0); }
    // "TimeLimit" in seconds, 0: none. Set by hand only, never written.
    int PreviewTimeLimit() const { return previewTimeLimit_; }
    // FinishColor: what finishes and normals are shown on. Set by hand only.
    const FinishColor& FinishBase() const { return finishColor_; }

    // Colors: the text box's normal and changed text.
    RgbColor NormalTextColor() const { return textureFontNormal_; }
    RgbColor ChangedTextColor() const { return textureFontChanged_; }
    void SetTextColors(RgbColor normal, RgbColor changed) { textureFontNormal_ = normal, textureFontChanged_ = changed; }

    // Duplicates
    bool CompareImages() const { return compareImages_.Get() == 1; }
    void SetCompareImages(bool on) { compareImages_.Set(on ? 1 : 0); }

    // Tools
    const std::string& Editor() const { return editor_.Get(); }
    void SetEditor(std::string command) { editor_.Set(std::move(command)); }
    bool EditWithPov() const { return editWithPov_.Get() == 1; }
    void SetEditWithPov(bool on) { editWithPov_.Set(on ? 1 : 0); }

    // Locations
    const std::string& PovHome() const { return povHome_.Get(); }
    // The chosen POV-Ray as a record (beta 0: the beta number is not kept),
    // and storing a record back into PovHome, PovVersion, PovMinorVersion.
    PovInstallation Installation() const;
    void SetInstallation(const PovInstallation& installation);
    const std::string& LastSaveDir() const { return lastSaveDir_.Get(); }
    void SetLastSaveDir(std::string dir) { lastSaveDir_.Set(std::move(dir)); }

    // Scan. The search's and the overview's switches count any number but 0 as on.
    const std::string& ScanDir() const { return scanDir_.Get(); }
    void SetScanDir(std::string dir) { scanDir_.Set(std::move(dir)); }
    bool SearchLibraryDirs() const { return libraryDirs_.Get() != 0; }
    void SetSearchLibraryDirs(bool on) { libraryDirs_.Set(on ? 1 : 0); }
    bool SearchSubdirs() const { return scanSubdirs_.Get() != 0; }
    void SetSearchSubdirs(bool on) { scanSubdirs_.Set(on ? 1 : 0); }
    bool FollowIncludes() const { return includedFiles_.Get() != 0; }
    void SetFollowIncludes(bool on) { includedFiles_.Set(on ? 1 : 0); }
    // Whether a search looks for one kind, in the search dialog's order:
    // 0 materials, 1 textures, 2 pigments, 3 colors, 4 finishes, 5 normals.
    static constexpr int kSearchKinds = 6;
    bool SearchesKind(int index) const;
    void SetSearchesKind(int index, bool on);

    // Output
    const std::string& ExtractDir() const { return extractDir_.Get(); }
    void SetExtractDir(std::string dir) { extractDir_.Set(std::move(dir)); }
    bool WriteTextures() const { return writeTextures_.Get() != 0; }
    void SetWriteTextures(bool on) { writeTextures_.Set(on ? 1 : 0); }
    bool WritePaths() const { return writePaths_.Get() != 0; }
    void SetWritePaths(bool on) { writePaths_.Set(on ? 1 : 0); }
    bool ShowType() const { return showType_.Get() != 0; }
    void SetShowType(bool on) { showType_.Set(on ? 1 : 0); }
    bool Images2Local() const { return images2Local_.Get() != 0; }
    void SetImages2Local(bool on) { images2Local_.Set(on ? 1 : 0); }
    // The overview's layout and background, each kept as one byte.
    int OverviewLayout() const { return type_.Get(); }
    void SetOverviewLayout(int layout) { type_.Set(layout & 0xff); }
    int OverviewBackground() const { return background_.Get(); }
    void SetOverviewBackground(int background) { background_.Set(background & 0xff); }
    const std::string& TextureModifiers() const { return textureModifiers_.Get(); }
    void SetTextureModifiers(std::string text) { textureModifiers_.Set(std::move(text)); }
    const std::string& OutputDirectory() const { return outputDirectory_.Get(); }
    void SetOutputDirectory(std::string dir) { outputDirectory_.Set(std::move(dir)); }

    // Template
    bool UseTemplate() const { return templateUse_.Get() != 0; }
    void SetUseTemplate(bool on) { templateUse_.Set(on ? 1 : 0); }
    const std::string& TemplatePath() const { return templatePath_.Get(); }
    void SetTemplatePath(std::string path) { templatePath_.Set(std::move(path)); }

    // Render Options
    const std::string& RenderIniFile() const { return renderIniFile_.Get(); }
    void SetRenderIniFile(std::string path) { renderIniFile_.Set(std::move(path)); }
    int RenderWidth() const { return renderWidth_.Get(); }
    int RenderHeight() const { return renderHeight_.Get(); }
    void SetRenderSize(int width, int height) { renderWidth_.Set(width), renderHeight_.Set(height); }

    // The defaults that depend on the program folder.
    std::string DefaultLastSaveDir() const;     // the user's documents folder
    // Empty: overviews go beside their list file (an untitled list's into the documents folder).
    std::string DefaultOutputDirectory() const;
    // The program's own "samples" folder, where overviews once went by default.
    bool IsEarlierOutputDefault(const std::string& dir) const;
    std::string DefaultTemplatePath() const;    // <program>/templates/templ_1.pov
    std::string DefaultRenderIniFile() const;   // <program>/ini/samples.ini

private:
    // One key of the file: where it lives, what a missing key means, and the
    // value as read or set.
    template <typename T>
    class Stored {
    public:
        Stored(const char* section, const char* key, T defaultValue)
            : section_(section), key_(key), default_(defaultValue), value_(std::move(defaultValue)) {}
        const T& Get() const { return value_; }
        void Set(T value) { value_ = std::move(value); }
        const T& Default() const { return default_; }
        void Read(const IniFile& ini);
        void Write(IniFile& ini) const;

    private:
        const char* section_;
        const char* key_;
        T default_;
        T value_;
    };
    using IntKey = Stored<int>;
    using TextKey = Stored<std::string>;

    // The key groups, each in the order it is written.
    template <typename Self>
    static auto DisplayKeys(Self& s);
    template <typename Self>
    static auto ScanKeys(Self& s);
    template <typename Self>
    static auto OverviewKeys(Self& s);
    template <typename Self>
    static auto ColumnKeys(Self& s);
    template <typename Self>
    static auto KindKeys(Self& s);

    void LoadOverview(const IniFile& ini);
    void WriteOverview(IniFile& ini) const;
    void WriteListView(IniFile& ini) const;

    // MainWindow
    std::optional<int> x_, y_;
    unsigned cy_ = 400;
    IntKey maximized_{"MainWindow", "Maximized", 0};
    IntKey normalListWidth_{"MainWindow", "NormalListWidth", 320};
    IntKey normalContentWidth_{"MainWindow", "NormalContentWidth", 120};
    IntKey maximizedContentWidth_{"MainWindow", "MaximizedContentWidth", 120};
    IntKey pictureShare_{"MainWindow", "PictureShare", 62};
    // LastFiles
    RecentFileList recentFiles_;
    // Settings
    IntKey save_{"Settings", "Save", 1};
    IntKey loadLastFile_{"Settings", "LoadLastFile", 0};
    TextKey lastFile_{"Settings", "LastFile", {}};
    // Display
    IntKey flatToolbar_{"Display", "FlatToolbar", 1};
    IntKey listType_{"Display", "ListType", kPictureListType};
    IntKey content_{"Display", "Content", 1};
    IntKey previewType_{"Display", "PreviewType", 0};
    IntKey smallPreview_{"Display", "SmallPreview", 0};
    IntKey gridZoom_{"Display", "GridZoom", 0};
    IntKey sortType_{"Display", "SortType", kSortByCategory};
    IntKey sortAscending_{"Display", "SortAscending", 1};
    // List
    IntKey textureWidth_{"List", "TextureWidth", -1};
    IntKey typeWidth_{"List", "TypeWidth", -1};
    IntKey categoryWidth_{"List", "CategoryWidth", -1};
    IntKey versionWidth_{"List", "VersionWidth", -1};
    IntKey fileWidth_{"List", "FileWidth", -1};
    // Preview
    IntKey antialias_{"Preview", "Antialias", 0};
    IntKey largePreview_{"Preview", "Large", 0};
    int previewTimeLimit_ = kDefaultPreviewTimeLimit;
    // FinishColor
    FinishColor finishColor_;
    // Colors
    RgbColor textureFontNormal_ = MakeRgb(0, 0, 0);
    RgbColor textureFontChanged_ = MakeRgb(255, 0, 0);
    // Duplicates
    IntKey compareImages_{"Duplicates", "CompareImages", 1};
    // Tools
    TextKey editor_{"Tools", "Editor", {}};
    IntKey editWithPov_{"Tools", "EditWithPov", 1};
    // Locations
    TextKey povHome_{"Locations", "PovHome", {}};
    IntKey povVersion_{"Locations", "PovVersion", 300};
    IntKey povMinorVersion_{"Locations", "PovMinorVersion", -1};
    TextKey lastSaveDir_{"Locations", "LastSaveDir", {}};
    // Scan
    TextKey scanDir_{"Scan", "ScanDir", {}};
    IntKey libraryDirs_{"Scan", "LibraryDirs", 1};
    IntKey scanSubdirs_{"Scan", "ScanSubdirs", 0};
    IntKey materials_{"Scan", "Materials", 1};
    IntKey textures_{"Scan", "Textures", 1};
    IntKey pigments_{"Scan", "Pigments", 1};
    IntKey colors_{"Scan", "Colors", 0};
    IntKey finishs_{"Scan", "Finishs", 0};
    IntKey normals_{"Scan", "Normals", 0};
    IntKey includedFiles_{"Scan", "IncludedFiles", 1};
    // Output
    TextKey extractDir_{"Output", "ExtractDir", {}};
    IntKey writeTextures_{"Output", "WriteTextures", 0};
    IntKey writePaths_{"Output", "WritePaths", 0};
    IntKey showType_{"Output", "ShowType", 1};
    IntKey images2Local_{"Output", "Images2Local", 1};
    IntKey type_{"Output", "Type", 1};
    IntKey background_{"Output", "Background", 0};
    TextKey textureModifiers_{"Output", "Texture modifiers", {}};
    TextKey outputDirectory_{"Output", "Directory", {}};
    // Template
    IntKey templateUse_{"Template", "Use", 0};
    TextKey templatePath_{"Template", "Path", {}};
    // Render Options
    TextKey renderIniFile_{"Render Options", "IniFile", {}};
    IntKey renderWidth_{"Render Options", "Width", 800};
    IntKey renderHeight_{"Render Options", "Height", 600};

    std::string filePath_;
    std::string programDir_;
};

}  // namespace sc
