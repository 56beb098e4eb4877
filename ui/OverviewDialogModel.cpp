#include "ui/OverviewDialogModel.h"

#include "overview/OverviewSettings.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "platform/UserInterface.h"
#include "ui/Settings.h"
#include "platform/Translate.h"

namespace sc {
namespace {

constexpr double kVersion31 = 3.1 - 1e-6;

std::string Stem(const std::string& path) {
    const std::string file = FileNameOf(path);
    return file.substr(0, file.size() - ExtensionOf(file).size());
}

}  // namespace

OverviewDialogModel::OverviewDialogModel(const Settings& settings, const std::string& listFilePath,
                                         std::uint32_t markedCount, bool pathsRequired, double povVersion,
                                         UserInterface& ui)
    : pathsRequired_(pathsRequired), povVersion_(povVersion), ui_(ui) {
    OverviewOptions& o = options_;
    o.Name = listFilePath.empty() ? "textures" : Stem(listFilePath);
    o.texturesCount = markedCount;
    o.Type = settings.OverviewLayout() <= 3 ? settings.OverviewLayout() : 1;
    o.Background = settings.OverviewBackground();
    o.WriteTextures = settings.WriteTextures() && povVersion >= kVersion31;
    // Overviews go beside the list they show unless the user chose a folder of their own.
    listDirectory_ = listFilePath.empty() ? UserDocumentsDir() : DirectoryOf(listFilePath);
    o.Directory = settings.OutputDirectory().empty() ? listDirectory_ : settings.OutputDirectory();
    o.templatePath = settings.TemplatePath();
    o.useTemplate = settings.UseTemplate();
    o.IniFile = settings.RenderIniFile();
    o.transformation = settings.TextureModifiers();
    o.Width = static_cast<std::uint32_t>(settings.RenderWidth() > 0 ? settings.RenderWidth() : 800);
    o.Height = static_cast<std::uint32_t>(settings.RenderHeight() > 0 ? settings.RenderHeight() : 600);
    o.ShowType = settings.ShowType();
    o.WritePaths = settings.WritePaths() || pathsRequired;
    o.Images2Local = settings.Images2Local();
    o.validated = false;
    o.templateSamples = 0;
}

void OverviewDialogModel::Opened() {
    options_.WriteTextures = povVersion_ >= kVersion31;
    if (pathsRequired_) options_.WritePaths = true;
}

void OverviewDialogModel::ToggleTemplate() { TemplateToggle(options_, aspectText_, ui_); }

void OverviewDialogModel::ChooseMode(bool writeTextures) {
    if (options_.WriteTextures != writeTextures) options_.validated = false;
    options_.WriteTextures = writeTextures;
    if (!writeTextures) {
        previewAllowed_ = true;
        if (povVersion_ >= kVersion31)
            ui_.ShowMessage(Tr("As you have chosen POV-Ray 3.1 for Swatchcraft,\n"
                               "the second option is recommended:\n\n"
                               "  \"POV-Ray 3.1 (complete declarations)\""),
                            MessageIcon::Exclamation);
        return;
    }
    if (povVersion_ < kVersion31) {
        ui_.ShowMessage(
            Tr("With this option the overview pictures can only be rendered by POV-Ray 3.1 or later.\n\n"
               "As an earlier version is chosen for Swatchcraft, no preview can be rendered."),
            MessageIcon::Exclamation);
        previewAllowed_ = false;
    }
}

bool OverviewDialogModel::SetWritePaths(bool on) {
    if (!on && pathsRequired_) {
        ui_.ShowMessage(Tr("This option cannot be turned off: some textures share a name,\n"
                           "or some are not in one of POV-Ray's library folders."),
                        MessageIcon::Information);
        options_.WritePaths = true;
        return false;
    }
    options_.WritePaths = on;
    return true;
}

void OverviewDialogModel::ChooseLayout(int type) {
    if (options_.useTemplate || type < 0 || type > 3) return;
    options_.Type = static_cast<std::uint8_t>(type);
    options_.Height = HeightForLayout(type, options_.Width);
}

void OverviewDialogModel::WidthLeft(std::uint32_t width) {
    options_.Width = width;
    options_.Height = HeightForWidth(options_, width);
}

void OverviewDialogModel::HeightLeft(std::uint32_t height) {
    options_.Height = height;
    options_.Width = WidthForHeight(options_, height);
}

void OverviewDialogModel::NameLeft(const std::string& name) {
    options_.Name = name;
    std::string directory;
    if (SplitNameAsPath(options_.Name, directory)) options_.Directory = directory.empty() ? "/" : directory;
}

OverviewEnables OverviewDialogModel::Enables() const {
    OverviewEnables e;
    e.layout = !options_.useTemplate;
    e.writePaths = !options_.WriteTextures;
    e.preview = previewAllowed_;
    e.templateEdit = !options_.templatePath.empty();
    e.iniEdit = !options_.IniFile.empty();
    e.write = !options_.Name.empty();
    return e;
}

std::string OverviewDialogModel::PageCountLine() const { return sc::PageCountLine(options_); }

void OverviewDialogModel::StoreInto(Settings& settings) const {
    const OverviewOptions& o = options_;
    settings.SetWriteTextures(o.WriteTextures);
    settings.SetWritePaths(o.WritePaths);
    settings.SetShowType(o.ShowType);
    settings.SetOverviewBackground(o.Background);
    settings.SetImages2Local(o.Images2Local);
    settings.SetOverviewLayout(o.Type);
    settings.SetTextureModifiers(o.transformation);
    settings.SetOutputDirectory(WithoutTrailingSeparator(o.Directory) == listDirectory_ ? std::string() : o.Directory);
    settings.SetUseTemplate(o.useTemplate);
    settings.SetTemplatePath(o.templatePath);
    settings.SetRenderIniFile(o.IniFile);
    settings.SetRenderSize(static_cast<int>(o.Width), static_cast<int>(o.Height));
}

}  // namespace sc
