#include "preview/SceneWriter.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string_view>

#include "library/EntryKind.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "platform/PathUtil.h"
#include "preview/FinishColor.h"
#include "preview/PovText.h"
#include "preview/SampleScenes.h"

namespace sc {
namespace {

constexpr const char* kPlaceholder = "%texture%";
constexpr const char* kNewLine = "\r\n";

struct VersionRow {
    const char* directive;
    float value;
};
constexpr VersionRow kVersions[] = {
    {"#version 3.1", 3.1f}, {"#version 3.0", 3.0f}, {"#version 2.0", 2.0f}, {"#version 1.0", 1.0f}};

// sRGB colours need POV-Ray 3.7's language and a gamma set before them. A
// gamma of sRGB leaves the scene as the older versions render it (without
// gamma handling): a preview with sRGB colours looks like its neighbours,
// only its colours are read as sRGB.
constexpr const char* kSrgbVersionLine = "#version 3.7;";
constexpr const char* kSrgbGammaLine = "global_settings { assumed_gamma srgb }";
constexpr float kSrgbVersion = 3.7f;

bool IsSrgbWord(std::string_view word) {
    return word == "srgb" || word == "srgbt" || word == "srgbf" || word == "srgbft";
}

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// True when a line names an sRGB colour keyword outside its line comment.
bool LineUsesSrgb(std::string_view line) {
    const size_t comment = line.find("//");
    if (comment != std::string_view::npos) line = line.substr(0, comment);
    for (size_t i = 0; i < line.size();) {
        if (!IsWordChar(line[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < line.size() && IsWordChar(line[end])) ++end;
        if (IsSrgbWord(line.substr(i, end - i))) return true;
        i = end;
    }
    return false;
}

// The lines before the declaration: the version line (empty when the
// attempt has no version), with the version it sets in `version` (0: none).
std::string SceneHead(const SceneRequest& request, float& version) {
    if (request.povVersion >= kSrgbVersion - 1e-6 && request.declarationLines &&
        UsesSrgbColors(*request.declarationLines)) {
        version = kSrgbVersion;
        return std::string(kSrgbVersionLine) + kNewLine + kSrgbGammaLine + kNewLine;
    }
    std::string directive;
    version = 0;
    std::string head;
    if (PreviewVersionLine(request.attemptNumber, request.povVersion, directive, version))
        head = directive + (PovVersionAtLeast31(request.povVersion) ? ";" : "");
    return head + kNewLine;
}

}  // namespace

bool UsesSrgbColors(const std::vector<std::string>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const std::string& line) { return LineUsesSrgb(line); });
}

int SceneLinesBeforeDeclaration(const SceneRequest& request) {
    float version = 0;
    const std::string head = SceneHead(request, version);
    return static_cast<int>(std::count(head.begin(), head.end(), '\n'));
}

bool PovVersionAtLeast31(double povVersion) { return povVersion >= 3.1 - 1e-6; }

bool PreviewVersionLine(int attemptNumber, double povVersion, std::string& directive, float& version) {
    const int index = attemptNumber + (PovVersionAtLeast31(povVersion) ? 0 : 1);
    if (index < 0 || index > 3) return false;
    directive = kVersions[index].directive;
    version = kVersions[index].value;
    return true;
}

size_t FindTexturePlaceholder(const std::string& line) { return ToLowerAscii(line).find(kPlaceholder); }

std::string WrapTemplateLine(const TextureEntry& entry, const std::string& templateLine,
                             const FinishColor& finishColor) {
    const size_t at = FindTexturePlaceholder(templateLine);
    const std::string rest = at == std::string::npos ? std::string() : templateLine.substr(at + 9);
    std::string line;
    switch (entry.kind) {
        case kKindMaterial: line = "material { " + entry.name; break;
        case kKindColor: line = "pigment { color " + entry.name; break;
        case kKindFinish:
            line = "texture { finish { " + entry.name + " }" + FinishPigment(finishColor);
            break;
        // Without a pigment of its own the object is black and its bumps invisible.
        case kKindNormal:
            line = "texture { normal { " + entry.name + " }" + FinishPigment(finishColor);
            break;
        default: line = "texture { " + entry.name; break;
    }
    return line + rest + " }";
}

bool WriteScene(const SceneRequest& request, std::string* scenePath) {
    if (request.templateIndex < 0 || request.templateIndex > 99) return false;
    const std::string folder = request.templateFolder.empty() ? PreviewTemplateFolder() : request.templateFolder;
    if (!DirectoryExists(folder) && !CreateDirectories(folder)) return false;
    const int number = request.templateIndex + 1;
    if (!EnsureTemplateFile(folder, number)) return false;
    if (request.templateOnly) return true;
    if (!request.entry) return false;

    const std::string scene = request.sceneFile.empty() ? ClaimPreviewSceneFile(folder) : request.sceneFile;
    if (scene.empty()) return false;
    std::ofstream out(scene, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    UseClassicNumbers(out);
    std::ifstream in(TemplateFilePath(folder, number), std::ios::binary);
    if (!in) return false;

    float version = 0;
    out << SceneHead(request, version);
    if (version != 0) request.entry->previewVersion = version;
    if (request.declarationLines)
        for (const auto& line : *request.declarationLines) out << WithoutLineEnd(line) << kNewLine;
    out << kNewLine;
    std::string line;
    bool placed = false;
    while (std::getline(in, line)) {
        line = WithoutLineEnd(line);
        if (FindTexturePlaceholder(line) == std::string::npos) {
            out << line << kNewLine;
        } else {
            out << WrapTemplateLine(*request.entry, line, request.finishColor) << kNewLine;
            placed = true;
        }
    }
    out.close();
    // A template without the entry's place is damaged: its picture would
    // show the scene without the entry and pass for a good one.
    if (!out || !placed) return false;
    if (scenePath) *scenePath = scene;
    return true;
}

bool WriteScene(TextureEntry* entry, const std::vector<std::string>* declarationLines, int attemptNumber,
                int templateIndex, double povVersion, bool templateOnly, std::string* scenePath,
                const FinishColor& finishColor) {
    SceneRequest request;
    request.entry = entry;
    request.declarationLines = declarationLines;
    request.attemptNumber = attemptNumber;
    request.templateIndex = templateIndex;
    request.povVersion = povVersion;
    request.templateOnly = templateOnly;
    request.finishColor = finishColor;
    return WriteScene(request, scenePath);
}

}  // namespace sc
