#pragma once
// Writing the scene a preview picture is rendered from: a version line, the
// entry's declaration with its constants, and a sample-scene template whose
// "%TEXTURE%" line is replaced by the entry wrapped to suit its kind.
#include <string>
#include <vector>

#include "preview/FinishColor.h"

namespace sc {

class TextureEntry;

// The language version line for a render attempt: "#version 3.1" for index
// 0 down to "#version 1.0" for index 3, where the index is the attempt plus
// one when the installed POV-Ray is older than 3.1. False (and no text)
// outside that range.
bool PreviewVersionLine(int attemptNumber, double povVersion, std::string& directive, float& version);

// True when declaration lines use an sRGB colour keyword (srgb, srgbt,
// srgbf, srgbft) outside line comments. With POV-Ray 3.7 or newer such a
// scene starts with "#version 3.7;" and the assumed_gamma it requires, set
// so that the scene renders as one without sRGB colours.
bool UsesSrgbColors(const std::vector<std::string>& lines);

// True when an installed POV-Ray version is 3.1 or newer (3.02 is older).
bool PovVersionAtLeast31(double povVersion);

// The line replacing a template line that holds the placeholder (any case):
// what stood before it is dropped, the rest follows the wrapped name. A
// finish is shown on `finishColor`.
std::string WrapTemplateLine(const TextureEntry& entry, const std::string& templateLine,
                             const FinishColor& finishColor);

// The placeholder's position in a line, compared without regard to case.
size_t FindTexturePlaceholder(const std::string& line);

struct SceneRequest {
    TextureEntry* entry = nullptr;
    // The lines of the declaration text box as they stand (edits included);
    // null when there is no box.
    const std::vector<std::string>* declarationLines = nullptr;
    int attemptNumber = 0;
    int templateIndex = 0;     // zero-based, 0 to 99
    double povVersion = 3.7;   // the installed POV-Ray version
    bool templateOnly = false; // only make sure the template file exists
    // The template folder; empty for the program's "preview" folder.
    std::string templateFolder;
    FinishColor finishColor;  // what a finish is shown on (the settings' FinishColor)
    // Where the scene goes; empty for this process's scene file in the
    // template folder (ClaimPreviewSceneFile). Renders running side by side
    // each need their own.
    std::string sceneFile;
};

// Writes the scene (this process's scene file, ClaimPreviewSceneFile, unless
// the request names another) from the chosen template (creating the folder
// and the built-in template as needed) and stores the version used in the
// entry's previewVersion. True on success, with the scene's full path in
// `scenePath` unless only the template was asked for. On failure nothing
// further is written.
bool WriteScene(const SceneRequest& request, std::string* scenePath);

// How many scene lines stand before the first declaration line (the version
// line), so that POV-Ray's line numbers can be traced back to the text box.
int SceneLinesBeforeDeclaration(const SceneRequest& request);

// The positional form the render controller calls.
bool WriteScene(TextureEntry* entry, const std::vector<std::string>* declarationLines, int attemptNumber,
                int templateIndex, double povVersion, bool templateOnly, std::string* scenePath,
                const FinishColor& finishColor);

}  // namespace sc
