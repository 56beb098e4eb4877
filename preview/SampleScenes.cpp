#include "preview/SampleScenes.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "platform/Translate.h"

namespace sc {
namespace {

using Lines = std::vector<std::string>;

void Append(Lines& lines, const Lines& more) { lines.insert(lines.end(), more.begin(), more.end()); }

const Lines kStandard = {
    "// " N_("&Default"),
    "#version 3.0",
    "",
    "camera {",
    "  direction <0, 0,  1.35>",
    "  location  <0, 0, -3.5>",
    "  right x",
    "  look_at 0",
    "}",
    "light_source {<0, 0, -50> color rgb <0.658824, 0.658824, 0.658824> }",
    "light_source {<75, 25, -90> color rgb <1, 1, 1> }",
    "",
    "// " N_("Object with \"Texture\""),
    "merge {",
    "  sphere { 0, 1 }",
    "  box { <-1.5, -1.5, 0> <1.5, 1.5, 0.1> }",
    "  %TEXTURE%",
    "  hollow",
    "}",
    "",
    "// " N_("Checkered plane behind the texture object"),
    "plane {",
    "  z, 15",
    "  texture {",
    "    pigment { checker color red 0.5 green 0.5 blue 0.5 color red 0.847059 green 0.847059 blue 0.74902 }",
    "    finish { ambient 1 diffuse 0 }",
    "    scale 2",
    "  }",
    "  hollow",
    "}",
    "",
    "// " N_("Gray plane in front of the texture object"),
    "plane { z, -100 pigment { rgb 0.5 } hollow }",
};

// The camera shared by the three checkerboard scenes.
const Lines kBoardCamera = {
    "camera {",
    "  location  <0, 1.5, -2.5>",
    "  right x",
    "  look_at <0, 1, 0>",
    "}",
};

// Background and floor shared by the three checkerboard scenes.
const Lines kBoardTail = {
    "",
    "// " N_("White background"),
    "background { color rgb 1 }",
    "",
    "// " N_("Checkered floor"),
    "plane {",
    "  y, 0",
    "  texture {",
    "    pigment { checker color rgb 1 color rgb 0 }",
    "    finish { ambient 0.4 diffuse 0.6 }",
    "    scale 0.75",
    "    rotate y*30",
    "  }",
    "  hollow",
    "}",
};

Lines SphereOnBoard() {
    Lines lines = {"// " N_("Sp&here on Checkerboard"), "", "#version 3.0", "", "global_settings { assumed_gamma 1.5 }", ""};
    Append(lines, kBoardCamera);
    Append(lines, {
                      "light_source { <40, 25, 50> color rgb 1 }",
                      "light_source { <75, 25, -100> color rgb 1 }",
                      "",
                      "// " N_("Sphere with \"Texture\""),
                      "sphere {",
                      "  <0, 0, 0>, 1",
                      "  %TEXTURE% scale 0.5",
                      "  translate y",
                      "  hollow",
                      "}",
                  });
    Append(lines, kBoardTail);
    return lines;
}

Lines CubeOnBoard() {
    Lines lines = {"// " N_("&Cube on Checkerboard"), "", "#version 3.0", "", "global_settings { assumed_gamma 1.5 }", ""};
    Append(lines, kBoardCamera);
    Append(lines, {
                      "",
                      "light_source { <40, 25, 50> color rgb 1 }",
                      "light_source { <75, 25, -100> color rgb 1 }",
                      "light_source { <-75, 25, -100> color rgb 0.75 }",
                      "",
                      "// " N_("Box with \"Texture\""),
                      "box {",
                      "  -1, 1",
                      "  %TEXTURE% scale 0.5",
                      "  scale 0.7",
                      "  rotate <-40, 40, 0>",
                      "  translate <0.1, 1, 0>",
                      "  hollow",
                      "}",
                  });
    Append(lines, kBoardTail);
    return lines;
}

Lines TorusOnBoard() {
    Lines lines = {"// " N_("&Torus on Checkerboard"), "", "#version 3.0", ""};
    Append(lines, kBoardCamera);
    Append(lines, {
                      "light_source { <0, 0, 50> color rgb 1 }",
                      "light_source { <0, 75, -75> color rgb 0.5 }",
                      "light_source { <75, 75, -75> color rgb 1 }",
                      "",
                      "// " N_("Torus with \"Texture\""),
                      "torus {",
                      "  0.65, 0.35",
                      "  %TEXTURE% scale 0.5",
                      "  scale 1.1",
                      "  rotate <-50, -20, 0>",
                      "  translate <0.075, 1.2, 0>",
                      "  hollow",
                      "}",
                  });
    Append(lines, kBoardTail);
    return lines;
}

const Lines kPlaneWithSphere = {
    "// " N_("Pla&ne with Silver Sphere over Checkerboard"),
    "",
    "#version 3.0",
    "",
    "camera {",
    "  location  <0, 2.5, -2.5>",
    "  right x",
    "  look_at <0, 1, 0>",
    "}",
    "light_source { <0, 50, 0> color rgb 0.75 }",
    "light_source { <75, 50, -50> color rgb 1 }",
    "",
    "// " N_("White background"),
    "background { color rgb 1 }",
    "",
    "// " N_("Plane with \"Texture\""),
    "plane {",
    "  y, 0",
    "  %TEXTURE% scale 2",
    "  hollow",
    "}",
    "",
    "// " N_("Checkered plane below the \"Texture\" plane,\n"
             "visible only where \"Texture\" is transparent"),
    "plane {",
    "  y, -10",
    "  texture {",
    "    pigment { checker color rgb 1 color rgb 0 }",
    "    finish { ambient 1 diffuse 0 }",
    "    scale 2",
    "    rotate y*30",
    "  }",
    "  hollow",
    "}",
    "",
    "// " N_("Silver sphere"),
    "sphere {",
    "  <0, 1.2, 0>, 0.75",
    "  texture {",
    "    pigment {",
    "      color rgb <0.90, 0.91, 0.98>",
    "    }",
    "    finish {",
    "      metallic",
    "      ambient 0.2",
    "      diffuse 0.7",
    "      brilliance 6",
    "      reflection 0.25",
    "      phong 0.75",
    "      phong_size 80",
    "    }",
    "  }",
    "}",
};

// The template's comments (its title first) in the language in force: the
// text of a "// " line comes from the catalogue, and a text of several lines
// becomes as many comment lines.
Lines InLanguage(const Lines& lines) {
    Lines out;
    for (const std::string& line : lines) {
        if (line.rfind("// ", 0) != 0) {
            out.push_back(line);
            continue;
        }
        const std::string text = Tr(line.c_str() + 3);
        for (std::size_t start = 0;;) {
            const std::size_t end = text.find('\n', start);
            out.push_back("// " + text.substr(start, end - start));
            if (end == std::string::npos) break;
            start = end + 1;
        }
    }
    return out;
}

Lines RawTemplateLines(int number) {
    switch (number) {
        case 2: return SphereOnBoard();
        case 3: return CubeOnBoard();
        case 4: return TorusOnBoard();
        case 5: return kPlaneWithSphere;
        default: return kStandard;
    }
}

// The titles earlier versions of the program wrote into the built-in
// template files, which are never rewritten.
constexpr const char* kEarlierTitles[kBuiltInSampleScenes] = {
    "&Standard", "&Kugel auf Schachbrett", "&Würfel auf Schachbrett", "&Torus auf Schachbrett",
    "&Ebene mit Silberkugel über Schachbrett"};

// A built-in scene's title in the language in force, whichever language
// wrote its file; any other title as the file has it.
std::string ShownTitle(int number, const std::string& title) {
    if (number < 1 || number > kBuiltInSampleScenes) return title;
    const std::string builtIn = RawTemplateLines(number).front().substr(3);
    if (title == builtIn || title == Tr(builtIn.c_str()) || title == kEarlierTitles[number - 1])
        return Tr(builtIn.c_str());
    return title;
}

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::string PreviewTemplateFolder() { return ProgramFolder("preview", false); }

std::string TemplateFilePath(const std::string& folder, int number) {
    char name[32];
    std::snprintf(name, sizeof name, "TexturePreview%02d.inc", number);
    return JoinPath(folder, name);
}

std::string PreviewSceneFilePath(const std::string& folder) { return JoinPath(folder, "TexturePreview.pov"); }

std::string ClaimPreviewSceneFile(const std::string& folder) {
    constexpr int kMaxSceneFiles = 64;
    static std::mutex mutex;
    static std::map<std::string, std::string> claimed;  // folder -> its scene file, held for the process's life
    const std::lock_guard<std::mutex> lock(mutex);
    const std::string key = WithoutTrailingSeparator(folder);
    if (const auto found = claimed.find(key); found != claimed.end() && FileExists(found->second))
        return found->second;
    for (int number = 1; number <= kMaxSceneFiles; ++number) {
        const std::string path =
            number == 1 ? PreviewSceneFilePath(folder) : JoinPath(folder, "TexturePreview-" + std::to_string(number) + ".pov");
        // Kept open (and so locked) until the process ends; the lock goes with it, even when it is killed.
        const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) return {};
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            claimed[key] = path;
            return path;
        }
        close(fd);
    }
    return {};
}

std::vector<std::string> BuiltInTemplateLines(int number) {
    return InLanguage(RawTemplateLines(number));
}

bool EnsureTemplateFile(const std::string& folder, int number) {
    const std::string path = TemplateFilePath(folder, number);
    if (FileExists(path)) return true;
    if (DirectoryExists(path)) return false;
    std::string text;
    for (const auto& line : BuiltInTemplateLines(number)) text += line + "\r\n";
    return WriteFileAtomically(path, text);
}

std::optional<std::string> ReadTemplateTitle(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line.rfind("//", 0) != 0) return std::nullopt;
    return TrimBlanks(line.substr(2));
}

SampleSceneList BuildSampleSceneList(const std::string& folder, int selectedIndex) {
    SampleSceneList list;
    CreateDirectories(folder);
    for (int number = 1; number <= kMaxSampleScenes; ++number) {
        const std::string path = TemplateFilePath(folder, number);
        if (!FileExists(path) && number <= kBuiltInSampleScenes) EnsureTemplateFile(folder, number);
        if (!FileExists(path) && number > kBuiltInSampleScenes) break;
        const auto title = ReadTemplateTitle(path);
        list.titles.push_back(title ? ShownTitle(number, *title) : FillIn(Tr("Untitled %1"), {std::to_string(number)}));
    }
    list.selectedIndex = selectedIndex >= 0 && selectedIndex < list.Count() ? selectedIndex : 0;
    return list;
}

}  // namespace sc
