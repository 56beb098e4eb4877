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
#include "ui/RecentFileList.h"

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

    // The switches as what they mean; the fields below keep the file's 0 and 1.
    bool Maximized() const { return maximized == 1; }
    void SetMaximized(bool on) { maximized = on ? 1 : 0; }
    bool SaveOnExit() const { return save == 1; }
    void SetSaveOnExit(bool on) { save = on ? 1 : 0; }
    bool LoadLastFile() const { return loadLastFile == 1; }
    void SetLoadLastFile(bool on) { loadLastFile = on ? 1 : 0; }
    bool FlatToolbar() const { return flatToolbar == 1; }
    void SetFlatToolbar(bool on) { flatToolbar = on ? 1 : 0; }
    bool PaneShown() const { return content == 1; }
    void SetPaneShown(bool on) { content = on ? 1 : 0; }
    bool SmallPreview() const { return smallPreview == 1; }
    void SetSmallPreview(bool on) { smallPreview = on ? 1 : 0; }
    bool SortAscending() const { return sortAscending != 0; }
    void SetSortAscending(bool on) { sortAscending = on ? 1 : 0; }
    bool LargePreview() const { return largePreview == 1; }
    void SetLargePreview(bool on) { largePreview = on ? 1 : 0; }
    bool Antialias() const { return antialias == 1; }
    void SetAntialias(bool on) { antialias = on ? 1 : 0; }
    bool CompareImages() const { return compareImages == 1; }
    void SetCompareImages(bool on) { compareImages = on ? 1 : 0; }
    bool EditWithPov() const { return editWithPov == 1; }
    void SetEditWithPov(bool on) { editWithPov = on ? 1 : 0; }
    // The search's and the overview's switches count any number but 0 as on.
    bool SearchLibraryDirs() const { return libraryDirs != 0; }
    void SetSearchLibraryDirs(bool on) { libraryDirs = on ? 1 : 0; }
    bool SearchSubdirs() const { return scanSubdirs != 0; }
    void SetSearchSubdirs(bool on) { scanSubdirs = on ? 1 : 0; }
    bool FollowIncludes() const { return includedFiles != 0; }
    void SetFollowIncludes(bool on) { includedFiles = on ? 1 : 0; }
    // Whether a search looks for one kind, in the search dialog's order:
    // 0 materials, 1 textures, 2 pigments, 3 colors, 4 finishes, 5 normals.
    static constexpr int kSearchKinds = 6;
    bool SearchesKind(int index) const;
    void SetSearchesKind(int index, bool on);
    bool WriteTextures() const { return writeTextures != 0; }
    void SetWriteTextures(bool on) { writeTextures = on ? 1 : 0; }
    bool WritePaths() const { return writePaths != 0; }
    void SetWritePaths(bool on) { writePaths = on ? 1 : 0; }
    bool ShowType() const { return showType != 0; }
    void SetShowType(bool on) { showType = on ? 1 : 0; }
    bool Images2Local() const { return images2Local != 0; }
    void SetImages2Local(bool on) { images2Local = on ? 1 : 0; }
    bool UseTemplate() const { return templateUse != 0; }
    void SetUseTemplate(bool on) { templateUse = on ? 1 : 0; }

    // MainWindow
    std::optional<int> x, y;             // absent: centred
    unsigned cy = 400;                   // restored height, at least 401 or 400
    int maximized = 0;
    int normalListWidth = 320;
    int normalContentWidth = 120;
    int maximizedContentWidth = 120;
    int pictureSharePercent = 62;  // the large picture's share of the pane's height
    // LastFiles
    RecentFileList recentFiles;
    // Settings
    int save = 1;
    int loadLastFile = 0;
    std::string lastFile;
    // Display
    int flatToolbar = 1;
    int listType = 2;
    int content = 1;
    int previewType = 0;
    int smallPreview = 0;
    int gridZoom = 0;  // the picture list's zoom step, 0: the normal cell
    int sortType = 2;
    int sortAscending = 1;
    // List: column widths; -1 means "width of the sample text"
    int textureWidth = -1, typeWidth = -1, categoryWidth = -1, versionWidth = -1, fileWidth = -1;
    // Preview
    int antialias = 0;
    int largePreview = 0;  // the pane's picture at the pane's size
    int previewTimeLimit = kDefaultPreviewTimeLimit;  // "TimeLimit", seconds, 0: none; read only
    // FinishColor: what finishes and normals are shown on; set by hand only
    FinishColor finishColor;
    // Colors
    RgbColor textureFontNormal = MakeRgb(0, 0, 0);
    RgbColor textureFontChanged = MakeRgb(255, 0, 0);
    // Duplicates
    int compareImages = 1;
    // Tools
    std::string editor;
    int editWithPov = 1;
    // Locations
    std::string povHome;
    int povVersion = 300;
    int povMinorVersion = -1;
    std::string lastSaveDir;
    // Scan
    std::string scanDir;
    int libraryDirs = 1, scanSubdirs = 0, materials = 1, textures = 1, pigments = 1, colors = 0, finishs = 0,
        normals = 0, includedFiles = 1;
    // Output
    std::string extractDir;
    int writeTextures = 0, writePaths = 0, showType = 1, images2Local = 1;
    std::uint8_t type = 1;
    std::uint8_t background = 0;
    std::string textureModifiers;
    std::string outputDirectory;
    // Template
    int templateUse = 0;
    std::string templatePath;
    // Render Options
    std::string renderIniFile;
    int renderWidth = 800, renderHeight = 600;

    // The chosen POV-Ray as a record (beta 0: the beta number is not kept),
    // and storing a record back into PovHome, PovVersion, PovMinorVersion.
    PovInstallation Installation() const;
    void SetInstallation(const PovInstallation& installation);

    // The defaults that depend on the program folder.
    std::string DefaultLastSaveDir() const;     // the user's documents folder
    // Empty: overviews go beside their list file (an untitled list's into the documents folder).
    std::string DefaultOutputDirectory() const;
    // The program's own "samples" folder, where overviews once went by default.
    bool IsEarlierOutputDefault(const std::string& dir) const;
    std::string DefaultTemplatePath() const;    // <program>/templates/templ_1.pov
    std::string DefaultRenderIniFile() const;   // <program>/ini/samples.ini

private:
    void LoadOverview(const IniFile& ini);
    void WriteOverview(IniFile& ini) const;
    void WriteListView(IniFile& ini) const;

    std::string filePath_;
    std::string programDir_;
};

// Where and how large the main window opens.
struct WindowPlacement {
    int x = 0, y = 0, width = 0, height = 0;
    int listWidth = 0, contentWidth = 0;
};
// Width = 2 frames + list (+ pane + 8 when shown), height = cy; too wide
// resets the widths to 320 and 120, too high the height to 400; the window
// is centred when no position is stored and pushed back onto the screen.
WindowPlacement PlaceMainWindow(const Settings& settings, int screenWidth, int screenHeight, int frameWidth);

}  // namespace sc
