#include "overview/OverviewSettings.h"

#include <fstream>
#include <string_view>
#include <unordered_set>

#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "library/TextureLibrary.h"
#include "overview/OverviewWriter.h"
#include "platform/FileSystem.h"
#include "platform/FontFiles.h"
#include "platform/IniFile.h"
#include "platform/NumberText.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "platform/UserInterface.h"
#include "preview/FinishColor.h"
#include "scanner/WordTables.h"

namespace sc {
namespace {

// Tokens of a marker line: runs of letters, digits and underscores, every
// other non-blank character on its own.
std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> tokens;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n') {
            ++i;
        } else if (IsIdentifierChar(text[i])) {
            size_t end = i;
            while (end < text.size() && IsIdentifierChar(text[end])) ++end;
            tokens.push_back(text.substr(i, end - i));
            i = end;
        } else {
            tokens.push_back(text.substr(i++, 1));
        }
    }
    return tokens;
}

std::uint32_t Cut(double value) { return value <= 0 ? 0 : static_cast<std::uint32_t>(value); }

}  // namespace

void LayoutCounts(int type, int& x, int& y) {
    switch (type) {
        case 0: x = 1, y = 1; break;
        case 2: x = 7, y = 5; break;
        case 3: x = 12, y = 9; break;
        default: x = 4, y = 3; break;
    }
}

std::uint32_t SamplesPerPage(const OverviewOptions& options) {
    if (options.useTemplate) return options.templateSamples;
    int x = 1, y = 1;
    LayoutCounts(options.Type, x, y);
    return static_cast<std::uint32_t>(x * y);
}

unsigned PageCount(std::uint32_t samples, std::uint32_t samplesPerPage) {
    if (samplesPerPage == 0) return 0;
    return (samples + samplesPerPage - 1) / samplesPerPage;
}

std::string PageCountLine(const OverviewOptions& options) {
    const unsigned pages = PageCount(options.texturesCount, SamplesPerPage(options));
    return FillIn(TrN("These settings would make %1 overview page.", "These settings would make %1 overview pages.", pages),
                  {std::to_string(pages)});
}

bool ReadTemplateMarker(const std::string& templatePath, std::uint32_t& samples, std::int32_t& aspectA,
                        std::int32_t& aspectB) {
    samples = 0, aspectA = 0, aspectB = 0;
    std::ifstream in(templatePath, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        const size_t at = ToLowerAscii(line).find("#include swatchcraft");
        if (at == std::string::npos) continue;
        const auto tokens = Tokens(line.substr(at + 20));
        if (tokens.size() < 4 || tokens[2] != ":") return false;
        const double n = ParseNumber(tokens[0]), a = ParseNumber(tokens[1]), b = ParseNumber(tokens[3]);
        if (n < 1 || a < 1 || b < 1 || n > 65535 || a > 1e6 || b > 1e6) return false;
        samples = static_cast<std::uint32_t>(n);
        aspectA = static_cast<std::int32_t>(a);
        aspectB = static_cast<std::int32_t>(b);
        return true;
    }
    return false;
}

std::string InvalidTemplateMessage(const std::string& templatePath) {
    return FillIn(Tr("The template file\n\"%1\"\nis missing or not valid.\n\n"
                     "A valid template file must hold a commented-out\n"
                     "line \"#include Swatchcraft n a:b\",\n"
                     "where \"n\" is the number of samples per page and \"a:b\" the\n"
                     "aspect ratio of the page.\n\n"
                     "Example: // #include Swatchcraft 10 3:2"),
                  {templatePath});
}

std::uint32_t HeightForWidth(const OverviewOptions& options, std::uint32_t width) {
    if (options.useTemplate) {
        if (options.aspectA <= 0 || options.aspectB <= 0) return options.Height;
        return Cut(width / (static_cast<double>(options.aspectA) / options.aspectB));
    }
    return HeightForLayout(options.Type, width);
}

std::uint32_t WidthForHeight(const OverviewOptions& options, std::uint32_t height) {
    if (options.useTemplate) {
        if (options.aspectA <= 0 || options.aspectB <= 0) return options.Width;
        return Cut(height * (static_cast<double>(options.aspectA) / options.aspectB));
    }
    if (options.Type == 0) return height;
    return Cut(height * 1.3333333333333333);
}

std::uint32_t HeightForLayout(int type, std::uint32_t width) { return type == 0 ? width : Cut(width * 0.75); }

void TemplateToggle(OverviewOptions& options, std::string& aspectText, UserInterface& ui) {
    const bool found =
        ReadTemplateMarker(options.templatePath, options.templateSamples, options.aspectA, options.aspectB);
    aspectText = std::to_string(options.aspectA) + ":" + std::to_string(options.aspectB);
    if (found) options.Height = HeightForWidth(options, options.Width);
    if (options.useTemplate && !found) {
        ui.ShowMessage(InvalidTemplateMessage(options.templatePath), MessageIcon::Exclamation);
        options.useTemplate = false;
    }
    if (!options.useTemplate) options.Height = HeightForLayout(options.Type, options.Width);
}

bool OverviewPathsRequired(const TextureLibrary& library) {
    std::unordered_set<std::string_view> names;
    for (const TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) {
        if (!e->marked) continue;
        if (e->sourceFile && e->sourceFile->libraryPathIndex == kNoLibraryPath) return true;
        if (!names.insert(e->name).second) return true;
    }
    return false;
}

bool SplitNameAsPath(std::string& name, std::string& directory) {
    if (name.find(kPathSeparator) == std::string::npos) return false;
    std::string folder, file;
    SplitPath(name, folder, file);
    const std::string extension = ExtensionOf(file);
    name = file.substr(0, file.size() - extension.size());
    directory = WithoutTrailingSeparator(folder);
    return true;
}

bool CheckTemplate(OverviewOptions& options, UserInterface& ui) {
    if (!options.useTemplate) return true;
    if (options.templatePath.empty()) {
        ui.ShowMessage(Tr("You must give a template file."), MessageIcon::Exclamation);
        return false;
    }
    if (!ReadTemplateMarker(options.templatePath, options.templateSamples, options.aspectA, options.aspectB)) {
        ui.ShowMessage(InvalidTemplateMessage(options.templatePath), MessageIcon::Exclamation);
        return false;
    }
    if (!FileExists(options.templatePath)) {
        ui.ShowMessage(FillIn(Tr("The POV-Ray template file \"%1\" does not exist."), {FileNameOf(options.templatePath)}),
                       MessageIcon::Exclamation);
        return false;
    }
    return true;
}

bool CheckBeforeWriting(OverviewOptions& options, UserInterface& ui) {
    if (!CheckTemplate(options, ui)) return false;
    if (!options.IniFile.empty() && !FileExists(options.IniFile))
        ui.ShowMessage(FillIn(Tr("The POV-Ray INI file \"%1\" does not exist, so it is not used."),
                              {FileNameOf(options.IniFile)}),
                       MessageIcon::Exclamation);
    options.samplesPerPage = SamplesPerPage(options);
    options.writtenCount = 0;
    if (options.Directory.empty()) {
        ui.ShowMessage(Tr("You must give a target folder."), MessageIcon::Exclamation);
        return false;
    }
    if (!DirectoryExists(options.Directory)) {
        ui.ShowMessage(FillIn(Tr("The target folder\n\"%1\"\ndoes not exist."), {options.Directory}),
                       MessageIcon::Exclamation);
        return false;
    }
    return true;
}

const std::vector<std::string>& OverviewFontNames() {
    static const std::vector<std::string> names = {"courbd.ttf", "FreeMonoBold.ttf"};
    return names;
}

bool CheckOverviewFont(OverviewOptions& options, const FontSearch& search, bool forPreview, UserInterface& ui) {
    const auto& names = OverviewFontNames();
    for (const auto& name : names)
        for (const auto& path : search.libraryPaths)
            if (FileExists(JoinPath(path, name))) {
                options.fontPath = name;
                return true;
            }
    const std::vector<std::string>& fonts = search.fontFiles ? *search.fontFiles : InstalledFontFiles();
    for (const auto& name : names)
        for (const auto& file : fonts)
            if (FileNameOf(file) == name && FileExists(file)) {
                options.fontPath = file;
                return true;
            }
    const std::string folder = forPreview ? search.previewFolder : options.Directory;
    for (const auto& name : names) {
        const std::string candidate = JoinPath(folder, name);
        if (!folder.empty() && FileExists(candidate)) {
            options.fontPath = candidate;
            return true;
        }
    }
    if (!forPreview) {
        ui.ShowMessage(Tr("The TrueType font \"courbd.ttf\" is not in any of the POV-Ray library folders. "
                          "POV-Ray may therefore be unable to render the overviews written.\n\n"
                          "Either add the folder that holds it (probably \"FONTS\" in the Windows folder) "
                          "to the library folders, or copy the file \"courbd.ttf\" "
                          "into the folder of the overview file written."),
                       MessageIcon::Information);
    } else {
        ui.ShowMessage(Tr("The TrueType font \"courbd.ttf\" is neither in the Windows fonts folder nor in any of "
                          "the POV-Ray library folders. The overviews therefore cannot be previewed.\n\n"
                          "Either install the font in the fonts folder, add the folder that holds "
                          "the file \"courbd.ttf\" to the library folders, or copy the file \"courbd.ttf\" "
                          "into the subfolder \"preview\" of this program."),
                       MessageIcon::Exclamation);
    }
    return false;
}

std::string WrittenTexturesText(unsigned long count) {
    return FillIn(TrN("%1 texture was written.", "%1 textures were written.", count), {std::to_string(count)});
}

bool WriteOverviewCommand(OverviewWriter& writer, OverviewOptions& options, const FontSearch& fonts,
                          const std::string& settingsPath, UserInterface& ui) {
    if (!CheckBeforeWriting(options, ui)) return false;
    CheckOverviewFont(options, fonts, false, ui);
    if (!writer.WriteOverviewFiles(WithTrailingSeparator(options.Directory))) {
        // Left silent, a run whose every entry was dropped would look like nothing happened.
        if (options.texturesCount == 0 && !options.abortRequested)
            ui.ShowMessage(Tr("There are no valid textures left to write."),
                           MessageIcon::Information);
        return false;
    }
    if (options.abortRequested) return false;
    ui.ShowMessage(WrittenTexturesText(options.writtenCount), MessageIcon::Information);
    if (!settingsPath.empty()) WriteIniString(settingsPath, "Output", "Directory", options.Directory);
    return true;
}

PreviewWriteResult WritePreviewFiles(OverviewWriter& writer, OverviewOptions& options, const std::string& previewFolder,
                                     UserInterface& ui) {
    if (!DirectoryExists(previewFolder) && !CreateDirectories(previewFolder)) {
        ui.ShowMessage(Tr("The preview folder could not be made."), MessageIcon::Exclamation);
        return PreviewWriteResult::Failed;
    }
    // Only for this write: left set, the next "&Schreiben" would write the
    // preview's files again, without asking, instead of the overview.
    options.previewMode = true;
    const bool written = writer.WriteOverviewFiles(WithTrailingSeparator(previewFolder));
    options.previewMode = false;
    if (options.texturesCount == 0) {
        ui.ShowMessage(Tr("There are no valid textures left to write.\n\nThis dialog closes now."),
                       MessageIcon::Information);
        return PreviewWriteResult::NothingLeft;
    }
    return written && !options.abortRequested ? PreviewWriteResult::Written : PreviewWriteResult::Failed;
}

}  // namespace sc
