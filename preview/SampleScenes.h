#pragma once
// The sample scenes a preview is rendered in: editable template files
// TexturePreview01.inc ... in the program's "preview" folder, five of which
// are built in and written out whenever they are missing.
#include <optional>
#include <string>
#include <vector>

namespace sc {

// Templates the sample-scene menu looks for, and the built-in ones among them.
inline constexpr int kMaxSampleScenes = 20;
inline constexpr int kBuiltInSampleScenes = 5;
// The menu command of the first template; template n has this + (n - 1).
inline constexpr int kFirstSampleSceneCommand = 5001;

// The program's template folder ("preview" in the program's data folder);
// not created here.
std::string PreviewTemplateFolder();

// The template file of a one-based template number in `folder`
// (TexturePreview01.inc for 1; numbers above 99 keep all their digits).
std::string TemplateFilePath(const std::string& folder, int number);

// The scene file preview renders use: TexturePreview.pov in `folder`.
std::string PreviewSceneFilePath(const std::string& folder);

// The scene file this process writes its preview scenes to in `folder`:
// TexturePreview.pov, or, while other running programs hold that one,
// TexturePreview-2.pov, -3 and so on, so that no program ever renders a scene
// another one wrote. The file is held (an advisory lock on it, so it must be
// rewritten in place) until the process ends. Empty when none can be had.
std::string ClaimPreviewSceneFile(const std::string& folder);

// The lines of built-in template 1 to 5, their comments in the language in
// force; any other number gives template 1.
std::vector<std::string> BuiltInTemplateLines(int number);

// Makes sure the template file of `number` exists in `folder` (which must
// exist), writing the built-in template when it does not. An existing file
// is never touched, so the user's edits survive. False when it cannot be
// written.
bool EnsureTemplateFile(const std::string& folder, int number);

// The title of a template file: the rest of a first line starting with
// "//", without surrounding blanks; none when the line does not start so or
// the file cannot be read.
std::optional<std::string> ReadTemplateTitle(const std::string& path);

// The sample-scene list the preview menu is built from.
struct SampleSceneList {
    std::vector<std::string> titles;  // the menu's, one per template found, in number order
    int selectedIndex = 0;            // zero-based; reset to 0 when out of range
    int Count() const { return static_cast<int>(titles.size()); }
};

// Collects templates 1 to 20 of `folder` (built-in ones written when
// missing), stopping at the first missing number above 5. A built-in
// template keeps its title in the language in force; one without a title is
// called "Untitled" and its number.
SampleSceneList BuildSampleSceneList(const std::string& folder, int selectedIndex);

}  // namespace sc
