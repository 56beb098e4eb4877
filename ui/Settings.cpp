#include "ui/Settings.h"

#include <algorithm>

#include <cstdio>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"

namespace sc {
namespace {

int AtLeast(int value, int minimum) {
    const int magnitude = value < 0 ? -value : value;
    return magnitude < minimum ? minimum : magnitude;
}

void SetInt(IniFile& ini, const char* section, const char* key, int value) {
    ini.SetString(section, key, std::to_string(value));
}

std::string ExistingDirOr(const std::string& dir, const std::string& fallback) {
    return !dir.empty() && DirectoryExists(dir) ? dir : fallback;
}

// Integer keys that are read with a plain default and written as they are.
struct IntKey {
    const char* section;
    const char* key;
    int Settings::*field;
    int defaultValue;
};

// Saved only when Save is 1.
const IntKey kDisplayKeys[] = {
    {"Display", "FlatToolbar", &Settings::flatToolbar, 1}, {"Display", "PreviewType", &Settings::previewType, 0},
    {"Display", "SmallPreview", &Settings::smallPreview, 0}, {"Preview", "Antialias", &Settings::antialias, 0},
    {"Display", "Content", &Settings::content, 1},          {"Display", "ListType", &Settings::listType, 2},
    {"Display", "GridZoom", &Settings::gridZoom, 0},        {"Preview", "Large", &Settings::largePreview, 0},
};
const IntKey kScanKeys[] = {
    {"Scan", "LibraryDirs", &Settings::libraryDirs, 1}, {"Scan", "ScanSubdirs", &Settings::scanSubdirs, 0},
    {"Scan", "Materials", &Settings::materials, 1},     {"Scan", "Textures", &Settings::textures, 1},
    {"Scan", "Pigments", &Settings::pigments, 1},       {"Scan", "Colors", &Settings::colors, 0},
    {"Scan", "Finishs", &Settings::finishs, 0},         {"Scan", "Normals", &Settings::normals, 0},
    {"Scan", "IncludedFiles", &Settings::includedFiles, 1},
};
// The overview dialog's own keys (WriteTextures and WritePaths also on exit).
const IntKey kOverviewKeys[] = {
    {"Output", "WriteTextures", &Settings::writeTextures, 0}, {"Output", "WritePaths", &Settings::writePaths, 0},
    {"Output", "ShowType", &Settings::showType, 1},           {"Output", "Images2Local", &Settings::images2Local, 1},
    {"Template", "Use", &Settings::templateUse, 0},           {"Render Options", "Width", &Settings::renderWidth, 800},
    {"Render Options", "Height", &Settings::renderHeight, 600},
};

// The search's kinds in the search dialog's order.
int Settings::* const kSearchKindFields[Settings::kSearchKinds] = {
    &Settings::materials, &Settings::textures, &Settings::pigments,
    &Settings::colors,    &Settings::finishs,  &Settings::normals};

template <size_t N>
void ReadInts(const IniFile& ini, Settings& settings, const IntKey (&keys)[N]) {
    for (const IntKey& k : keys) settings.*k.field = ini.GetInt(k.section, k.key, k.defaultValue);
}

template <size_t N>
void WriteInts(IniFile& ini, const Settings& settings, const IntKey (&keys)[N], size_t count = N) {
    for (size_t i = 0; i < count && i < N; ++i) SetInt(ini, keys[i].section, keys[i].key, settings.*keys[i].field);
}

}  // namespace

std::string FormatColor(RgbColor color) {
    char text[40];
    std::snprintf(text, sizeof text, "%i,%i,%i", static_cast<int>(color & 0xff), static_cast<int>((color >> 8) & 0xff),
                  static_cast<int>((color >> 16) & 0xff));
    return text;
}

RgbColor ParseColor(const std::string& text) {
    const size_t first = text.find(',');
    const size_t last = text.rfind(',');
    if (first == std::string::npos) return MakeRgb(std::atoi(text.c_str()), 0, 0);
    const int red = std::atoi(text.substr(0, first).c_str());
    const int green = std::atoi(text.substr(first + 1, last - first).c_str());
    const int blue = std::atoi(text.substr(last + 1).c_str());
    return MakeRgb(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue));
}

int PreviewTimeLimitOf(const IniFile& settingsFile) {
    const int seconds = settingsFile.GetInt("Preview", "TimeLimit", kDefaultPreviewTimeLimit);
    return seconds > 0 ? seconds : 0;
}

Settings::Settings(std::string filePath, std::string programDir)
    : filePath_(filePath.empty() ? SettingsFilePath() : std::move(filePath)),
      programDir_(programDir.empty() ? ProgramDataDir() : WithoutTrailingSeparator(programDir)) {
    editor = DefaultEditorCommand();
    lastSaveDir = DefaultLastSaveDir();
    scanDir = programDir_;
    templatePath = JoinPath(JoinPath(programDir_, "templates"), "templ_1.pov");
    renderIniFile = JoinPath(JoinPath(programDir_, "ini"), "samples.ini");
}

std::string Settings::DefaultLastSaveDir() const { return UserDocumentsDir(); }

std::string Settings::DefaultOutputDirectory() const { return {}; }

bool Settings::IsEarlierOutputDefault(const std::string& dir) const {
    return WithoutTrailingSeparator(dir) == JoinPath(programDir_, "samples");
}

// The shipped template and ini file become the user's own copies, which the
// overview dialog's "Edit" buttons may change.
std::string Settings::DefaultTemplatePath() const {
    const std::string path = JoinPath(JoinPath(programDir_, "templates"), "templ_1.pov");
    CreateDirectories(DirectoryOf(path));
    ProvideUserCopy(path, "templates/templ_1.pov");
    return path;
}

std::string Settings::DefaultRenderIniFile() const {
    const std::string path = JoinPath(JoinPath(programDir_, "ini"), "samples.ini");
    CreateDirectories(DirectoryOf(path));
    ProvideUserCopy(path, "ini/samples.ini");
    return path;
}

void Settings::Load(bool full) {
    IniFile ini(filePath_);
    ini.Load();
    finishColor = FinishColorOf(ini);
    if (full) {
        recentFiles.Clear();
        for (int i = 1; i <= RecentFileList::kSize; ++i)
            recentFiles.AddRecentFile(ini.GetString("LastFiles", "File" + std::to_string(i)), false);
        compareImages = ini.GetInt("Duplicates", "CompareImages", 1);
        editor = ini.GetString("Tools", "Editor", DefaultEditorCommand());
        editWithPov = ini.GetInt("Tools", "EditWithPov", 1);
        save = ini.GetInt("Settings", "Save", 1);
        loadLastFile = ini.GetInt("Settings", "LoadLastFile", 0);
        lastFile = ini.GetString("Settings", "LastFile");

        povHome = ini.GetString("Locations", "PovHome");
        povVersion = ini.GetInt("Locations", "PovVersion", 300);
        povMinorVersion = ini.GetInt("Locations", "PovMinorVersion", -1);
        lastSaveDir = ExistingDirOr(ini.GetString("Locations", "LastSaveDir"), DefaultLastSaveDir());
        ReadInts(ini, *this, kDisplayKeys);
        previewTimeLimit = PreviewTimeLimitOf(ini);
        sortType = ini.GetInt("Display", "SortType", 2);
        if (sortType < 0 || sortType > 5) sortType = 0;
        sortAscending = ini.GetInt("Display", "SortAscending", 1);
        textureWidth = ini.GetInt("List", "TextureWidth", -1);
        typeWidth = ini.GetInt("List", "TypeWidth", -1);
        categoryWidth = ini.GetInt("List", "CategoryWidth", -1);
        versionWidth = ini.GetInt("List", "VersionWidth", -1);
        fileWidth = ini.GetInt("List", "FileWidth", -1);
        extractDir = ini.GetString("Output", "ExtractDir");

        scanDir = ExistingDirOr(ini.GetString("Scan", "ScanDir"), programDir_);
        ReadInts(ini, *this, kScanKeys);

        x.reset();
        y.reset();
        if (ini.HasKey("MainWindow", "x")) x = ini.GetInt("MainWindow", "x", 0);
        if (ini.HasKey("MainWindow", "y")) y = ini.GetInt("MainWindow", "y", 0);
        // Read unsigned: a negative height is huge and falls to 400 on placing.
        cy = static_cast<unsigned>(ini.GetInt("MainWindow", "cy", 400));
        if (cy < 401) cy = 400;
        maximized = ini.GetInt("MainWindow", "Maximized", 0);
        normalListWidth = AtLeast(ini.GetInt("MainWindow", "NormalListWidth", 320), 320);
        normalContentWidth = AtLeast(ini.GetInt("MainWindow", "NormalContentWidth", 120), 120);
        maximizedContentWidth = AtLeast(ini.GetInt("MainWindow", "MaximizedContentWidth", 120), 120);
        pictureSharePercent = std::clamp(ini.GetInt("MainWindow", "PictureShare", 62), 15, 85);
        textureFontNormal = ParseColor(ini.GetString("Colors", "TextureFontNormal", "0,0,0"));
        textureFontChanged = ParseColor(ini.GetString("Colors", "TextureFontChanged", "255,0,0"));
    }
    LoadOverview(ini);
}

void Settings::LoadOverview(const IniFile& ini) {
    ReadInts(ini, *this, kOverviewKeys);
    type = static_cast<std::uint8_t>(ini.GetInt("Output", "Type", 1));
    background = static_cast<std::uint8_t>(ini.GetInt("Output", "Background", 0));
    textureModifiers = ini.GetString("Output", "Texture modifiers");
    outputDirectory = ini.GetString("Output", "Directory");
    // The program's own folder was the place before overviews went beside their list file.
    if (IsEarlierOutputDefault(outputDirectory)) outputDirectory = DefaultOutputDirectory();
    templatePath = ini.GetString("Template", "Path");
    const std::string defaultTemplate = DefaultTemplatePath();
    if (templatePath.empty() || !FileExists(templatePath)) templatePath = defaultTemplate;
    renderIniFile = ini.GetString("Render Options", "IniFile");
    const std::string defaultIni = DefaultRenderIniFile();
    if (renderIniFile.empty() || !FileExists(renderIniFile)) renderIniFile = defaultIni;
}

void Settings::WriteOverview(IniFile& ini) const {
    WriteInts(ini, *this, kOverviewKeys);
    SetInt(ini, "Output", "Type", type);
    SetInt(ini, "Output", "Background", background);
    ini.SetString("Output", "Texture modifiers", textureModifiers);
    ini.SetString("Output", "Directory", outputDirectory);
    ini.SetString("Template", "Path", templatePath);
    ini.SetString("Render Options", "IniFile", renderIniFile);
}

void Settings::WriteListView(IniFile& ini) const {
    SetInt(ini, "Display", "SortType", sortType);
    SetInt(ini, "Display", "SortAscending", sortAscending);
    const std::pair<const char*, int> widths[] = {{"TextureWidth", textureWidth}, {"TypeWidth", typeWidth},
                                                  {"CategoryWidth", categoryWidth}, {"VersionWidth", versionWidth},
                                                  {"FileWidth", fileWidth}};
    for (const auto& [key, width] : widths)
        if (width >= 0) SetInt(ini, "List", key, width);
}

bool Settings::Save() const {
    IniFile ini(filePath_);
    if (!ini.Load()) return false;
    for (int i = 0; i < RecentFileList::kSize; ++i)
        ini.SetString("LastFiles", "File" + std::to_string(i + 1), recentFiles.File(i));
    SetInt(ini, "Duplicates", "CompareImages", compareImages);
    ini.SetString("Tools", "Editor", editor);
    SetInt(ini, "Tools", "EditWithPov", editWithPov);
    SetInt(ini, "Settings", "Save", save);
    SetInt(ini, "Settings", "LoadLastFile", loadLastFile);
    ini.SetString("Settings", "LastFile", lastFile);
    if (SaveOnExit()) {
        ini.SetString("Locations", "PovHome", povHome);
        SetInt(ini, "Locations", "PovVersion", povVersion);
        SetInt(ini, "Locations", "PovMinorVersion", povMinorVersion);
        ini.SetString("Locations", "LastSaveDir", lastSaveDir);
        WriteInts(ini, *this, kDisplayKeys);
        ini.SetString("Output", "ExtractDir", extractDir);
        ini.SetString("Scan", "ScanDir", scanDir);
        WriteInts(ini, *this, kScanKeys);
        WriteInts(ini, *this, kOverviewKeys, 2);  // WriteTextures, WritePaths
        if (x) SetInt(ini, "MainWindow", "x", *x);
        if (y) SetInt(ini, "MainWindow", "y", *y);
        SetInt(ini, "MainWindow", "cy", static_cast<int>(cy));
        SetInt(ini, "MainWindow", "NormalListWidth", normalListWidth);
        SetInt(ini, "MainWindow", "NormalContentWidth", normalContentWidth);
        SetInt(ini, "MainWindow", "MaximizedContentWidth", maximizedContentWidth);
        SetInt(ini, "MainWindow", "PictureShare", pictureSharePercent);
        SetInt(ini, "MainWindow", "Maximized", maximized);
        ini.SetString("Colors", "TextureFontNormal", FormatColor(textureFontNormal));
        ini.SetString("Colors", "TextureFontChanged", FormatColor(textureFontChanged));
    }
    return ini.Save();
}

bool Settings::SaveOverview() const {
    IniFile ini(filePath_);
    if (!ini.Load()) return false;
    WriteOverview(ini);
    return ini.Save();
}

bool Settings::SaveListView() const {
    if (!SaveOnExit()) return true;
    IniFile ini(filePath_);
    if (!ini.Load()) return false;
    WriteListView(ini);
    return ini.Save();
}

bool Settings::SearchesKind(int index) const { return this->*kSearchKindFields[index] != 0; }

void Settings::SetSearchesKind(int index, bool on) { this->*kSearchKindFields[index] = on ? 1 : 0; }

bool Settings::WriteFlag(const char* section, const char* key, int value) const {
    return WriteIniString(filePath_, section, key, std::to_string(value));
}

int Settings::ReadFlag(const char* section, const char* key, int defaultValue) const {
    return GetIniInt(filePath_, section, key, defaultValue);
}

PovInstallation Settings::Installation() const {
    PovInstallation installation;
    installation.SetVersionTimes100(povVersion, static_cast<std::int8_t>(povMinorVersion));
    installation.SetHome(povHome);
    return installation;
}

void Settings::SetInstallation(const PovInstallation& installation) {
    povHome = installation.Home();
    povVersion = installation.VersionTimes100();
    povMinorVersion = installation.Letter();
}

WindowPlacement PlaceMainWindow(const Settings& settings, int screenWidth, int screenHeight, int frameWidth) {
    WindowPlacement p;
    p.listWidth = settings.normalListWidth;
    p.contentWidth = settings.normalContentWidth;
    const auto width = [&] { return 2 * frameWidth + p.listWidth + (settings.content ? p.contentWidth + 8 : 0); };
    p.width = width();
    if (p.width > screenWidth) {
        p.listWidth = 320;
        p.contentWidth = 120;
        p.width = width();
    }
    p.height = settings.cy > static_cast<unsigned>(screenHeight) ? 400 : static_cast<int>(settings.cy);
    p.x = settings.x.value_or((screenWidth - p.width) / 2);
    p.y = settings.y.value_or((screenHeight - p.height) / 2);
    if (p.x + p.width > screenWidth) p.x -= p.x + p.width - screenWidth;
    if (p.y + p.height > screenHeight) p.y -= p.y + p.height - screenHeight;
    return p;
}

}  // namespace sc
