#include "ui/Settings.h"

#include <algorithm>
#include <array>
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

template <>
void Settings::Stored<int>::Read(const IniFile& ini) {
    value_ = ini.GetInt(section_, key_, default_);
}
template <>
void Settings::Stored<int>::Write(IniFile& ini) const {
    SetInt(ini, section_, key_, value_);
}
template <>
void Settings::Stored<std::string>::Read(const IniFile& ini) {
    value_ = ini.GetString(section_, key_, default_);
}
template <>
void Settings::Stored<std::string>::Write(IniFile& ini) const {
    ini.SetString(section_, key_, value_);
}

// Saved only when Save is 1.
template <typename Self>
auto Settings::DisplayKeys(Self& s) {
    return std::array{&s.flatToolbar_, &s.previewType_, &s.smallPreview_, &s.antialias_,
                      &s.content_,     &s.listType_,    &s.gridZoom_,     &s.largePreview_};
}
template <typename Self>
auto Settings::ScanKeys(Self& s) {
    return std::array{&s.libraryDirs_, &s.scanSubdirs_, &s.materials_, &s.textures_,     &s.pigments_,
                      &s.colors_,      &s.finishs_,     &s.normals_,   &s.includedFiles_};
}
// The overview dialog's own keys; the first two are also saved on exit.
template <typename Self>
auto Settings::OverviewKeys(Self& s) {
    return std::array{&s.writeTextures_, &s.writePaths_,  &s.showType_,   &s.images2Local_,
                      &s.templateUse_,   &s.renderWidth_, &s.renderHeight_};
}
// In the texture list's column order.
template <typename Self>
auto Settings::ColumnKeys(Self& s) {
    return std::array{&s.textureWidth_, &s.typeWidth_, &s.categoryWidth_, &s.versionWidth_, &s.fileWidth_};
}
// In the search dialog's order.
template <typename Self>
auto Settings::KindKeys(Self& s) {
    return std::array{&s.materials_, &s.textures_, &s.pigments_, &s.colors_, &s.finishs_, &s.normals_};
}

std::string LanguageChoiceOf(const IniFile& settingsFile) {
    // A language code of two or three small letters; anything else reads as
    // "as the system".
    const std::string choice = settingsFile.GetString("Settings", "Language");
    if (choice.size() < 2 || choice.size() > 3) return {};
    for (char c : choice)
        if (c < 'a' || c > 'z') return {};
    return choice;
}

Settings::Settings(std::string filePath, std::string programDir)
    : filePath_(filePath.empty() ? SettingsFilePath() : std::move(filePath)),
      programDir_(programDir.empty() ? ProgramDataDir() : WithoutTrailingSeparator(programDir)) {
    editor_.Set(DefaultEditorCommand());
    lastSaveDir_.Set(DefaultLastSaveDir());
    scanDir_.Set(programDir_);
    templatePath_.Set(JoinPath(JoinPath(programDir_, "templates"), "templ_1.pov"));
    renderIniFile_.Set(JoinPath(JoinPath(programDir_, "ini"), "samples.ini"));
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
    finishColor_ = FinishColorOf(ini);
    if (full) {
        recentFiles_.Clear();
        for (int i = 1; i <= RecentFileList::kSize; ++i)
            recentFiles_.AddRecentFile(ini.GetString("LastFiles", "File" + std::to_string(i)), false);
        compareImages_.Read(ini);
        editor_.Set(ini.GetString("Tools", "Editor", DefaultEditorCommand()));
        editWithPov_.Read(ini);
        save_.Read(ini);
        loadLastFile_.Read(ini);
        lastFile_.Read(ini);

        povHome_.Read(ini);
        povVersion_.Read(ini);
        povMinorVersion_.Read(ini);
        lastSaveDir_.Set(ExistingDirOr(ini.GetString("Locations", "LastSaveDir"), DefaultLastSaveDir()));
        for (IntKey* key : DisplayKeys(*this)) key->Read(ini);
        previewTimeLimit_ = PreviewTimeLimitOf(ini);
        sortType_.Read(ini);
        if (sortType_.Get() < kSortByName || sortType_.Get() > kSortByDirectory) sortType_.Set(kSortByName);
        sortAscending_.Read(ini);
        for (IntKey* key : ColumnKeys(*this)) key->Read(ini);
        extractDir_.Read(ini);

        scanDir_.Set(ExistingDirOr(ini.GetString("Scan", "ScanDir"), programDir_));
        for (IntKey* key : ScanKeys(*this)) key->Read(ini);

        x_.reset();
        y_.reset();
        if (ini.HasKey("MainWindow", "x")) x_ = ini.GetInt("MainWindow", "x", 0);
        if (ini.HasKey("MainWindow", "y")) y_ = ini.GetInt("MainWindow", "y", 0);
        // Read unsigned: a negative height is huge and falls to 400 on placing.
        cy_ = static_cast<unsigned>(ini.GetInt("MainWindow", "cy", 400));
        if (cy_ < 401) cy_ = 400;
        maximized_.Read(ini);
        for (IntKey* width : {&normalListWidth_, &normalContentWidth_, &maximizedContentWidth_}) {
            width->Read(ini);
            width->Set(AtLeast(width->Get(), width->Default()));
        }
        pictureShare_.Read(ini);
        pictureShare_.Set(std::clamp(pictureShare_.Get(), 15, 85));
        textureFontNormal_ = ParseColor(ini.GetString("Colors", "TextureFontNormal", "0,0,0"));
        textureFontChanged_ = ParseColor(ini.GetString("Colors", "TextureFontChanged", "255,0,0"));
    }
    LoadOverview(ini);
}

void Settings::LoadOverview(const IniFile& ini) {
    for (IntKey* key : OverviewKeys(*this)) key->Read(ini);
    for (IntKey* byte : {&type_, &background_}) {
        byte->Read(ini);
        byte->Set(byte->Get() & 0xff);
    }
    textureModifiers_.Read(ini);
    outputDirectory_.Read(ini);
    // The program's own folder was the place before overviews went beside their list file.
    if (IsEarlierOutputDefault(outputDirectory_.Get())) outputDirectory_.Set(DefaultOutputDirectory());
    templatePath_.Read(ini);
    const std::string defaultTemplate = DefaultTemplatePath();
    if (templatePath_.Get().empty() || !FileExists(templatePath_.Get())) templatePath_.Set(defaultTemplate);
    renderIniFile_.Read(ini);
    const std::string defaultIni = DefaultRenderIniFile();
    if (renderIniFile_.Get().empty() || !FileExists(renderIniFile_.Get())) renderIniFile_.Set(defaultIni);
}

void Settings::WriteOverview(IniFile& ini) const {
    for (const IntKey* key : OverviewKeys(*this)) key->Write(ini);
    type_.Write(ini);
    background_.Write(ini);
    textureModifiers_.Write(ini);
    outputDirectory_.Write(ini);
    templatePath_.Write(ini);
    renderIniFile_.Write(ini);
}

void Settings::WriteListView(IniFile& ini) const {
    sortType_.Write(ini);
    sortAscending_.Write(ini);
    for (const IntKey* width : ColumnKeys(*this))
        if (width->Get() >= 0) width->Write(ini);
}

bool Settings::Save() const {
    IniFile ini(filePath_);
    if (!ini.Load()) return false;
    for (int i = 0; i < RecentFileList::kSize; ++i)
        ini.SetString("LastFiles", "File" + std::to_string(i + 1), recentFiles_.File(i));
    compareImages_.Write(ini);
    editor_.Write(ini);
    editWithPov_.Write(ini);
    save_.Write(ini);
    loadLastFile_.Write(ini);
    lastFile_.Write(ini);
    if (SaveOnExit()) {
        povHome_.Write(ini);
        povVersion_.Write(ini);
        povMinorVersion_.Write(ini);
        lastSaveDir_.Write(ini);
        for (const IntKey* key : DisplayKeys(*this)) key->Write(ini);
        extractDir_.Write(ini);
        scanDir_.Write(ini);
        for (const IntKey* key : ScanKeys(*this)) key->Write(ini);
        writeTextures_.Write(ini);
        writePaths_.Write(ini);
        if (x_) SetInt(ini, "MainWindow", "x", *x_);
        if (y_) SetInt(ini, "MainWindow", "y", *y_);
        SetInt(ini, "MainWindow", "cy", static_cast<int>(cy_));
        normalListWidth_.Write(ini);
        normalContentWidth_.Write(ini);
        maximizedContentWidth_.Write(ini);
        pictureShare_.Write(ini);
        maximized_.Write(ini);
        ini.SetString("Colors", "TextureFontNormal", FormatColor(textureFontNormal_));
        ini.SetString("Colors", "TextureFontChanged", FormatColor(textureFontChanged_));
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

bool Settings::SearchesKind(int index) const { return KindKeys(*this)[index]->Get() != 0; }

void Settings::SetSearchesKind(int index, bool on) { KindKeys(*this)[index]->Set(on ? 1 : 0); }

int Settings::ColumnWidth(int column) const { return ColumnKeys(*this)[column]->Get(); }

void Settings::SetColumnWidth(int column, int width) { ColumnKeys(*this)[column]->Set(width); }

bool Settings::WriteFlag(const char* section, const char* key, int value) const {
    return WriteIniString(filePath_, section, key, std::to_string(value));
}

int Settings::ReadFlag(const char* section, const char* key, int defaultValue) const {
    return GetIniInt(filePath_, section, key, defaultValue);
}

std::string Settings::LanguageChoice() const {
    IniFile ini(filePath_);
    ini.Load();
    return LanguageChoiceOf(ini);
}

bool Settings::SetLanguageChoice(const std::string& choice) const {
    return WriteIniString(filePath_, "Settings", "Language", choice);
}

PovInstallation Settings::Installation() const {
    PovInstallation installation;
    installation.SetVersionTimes100(povVersion_.Get(), static_cast<std::int8_t>(povMinorVersion_.Get()));
    installation.SetHome(povHome_.Get());
    return installation;
}

void Settings::SetInstallation(const PovInstallation& installation) {
    povHome_.Set(installation.Home());
    povVersion_.Set(installation.VersionTimes100());
    povMinorVersion_.Set(installation.Letter());
}

}  // namespace sc
