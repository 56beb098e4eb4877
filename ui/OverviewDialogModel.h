#pragma once
// What the dialog "Texturenübersichten" decides, without widgets: the
// options it edits, the mode radios with their advice, the locked
// "Mit Pfadan&gabe", the layout and size couplings, the template toggle,
// the enable states and the page-count line.
#include <cstdint>
#include <string>

#include "overview/OverviewOptions.h"

namespace sc {

class Settings;
class UserInterface;

// Which controls the dialog enables.
struct OverviewEnables {
    bool layout = true;       // layout buttons, background, "T&yp anzeigen", transformation, group
    bool writePaths = true;   // "Mit Pfadan&gabe"
    bool preview = true;      // "&Vorschau..."
    bool templateEdit = true; // the template's "Edit"
    bool iniEdit = true;      // the ini file's "Edit"
    bool write = true;        // "&Schreiben"
};

class OverviewDialogModel {
public:
    // `listFilePath` names the files ("textures" without one); `markedCount`
    // entries are to be written; `povVersion` is the configured version
    // (3.0, 3.1, 3.7 ...).
    OverviewDialogModel(const Settings& settings, const std::string& listFilePath, std::uint32_t markedCount,
                        bool pathsRequired, double povVersion, UserInterface& ui);

    OverviewOptions& Options() { return options_; }
    const OverviewOptions& Options() const { return options_; }
    bool PathsRequired() const { return pathsRequired_; }

    // The window opened: the mode follows the POV-Ray version alone.
    void Opened();
    // The template toggle (the check box, leaving the template edit, a
    // chosen template file, and once after opening).
    void ToggleTemplate();
    // The mode radios, with the advice when they do not suit the version.
    void ChooseMode(bool writeTextures);
    // "Mit Pfadan&gabe" changed; false (and a message) when it may not be cleared.
    bool SetWritePaths(bool on);
    // A layout button: only without a template.
    void ChooseLayout(int type);
    // The size edits lost the focus.
    void WidthLeft(std::uint32_t width);
    void HeightLeft(std::uint32_t height);
    // The Name edit lost the focus: a path splits into Name and Directory.
    void NameLeft(const std::string& name);

    OverviewEnables Enables() const;
    std::string PageCountLine() const;
    const std::string& AspectText() const { return aspectText_; }

    // "als Standard &speichern": the options into the settings' overview group.
    void StoreInto(Settings& settings) const;

private:
    OverviewOptions options_;
    bool pathsRequired_;
    double povVersion_;
    UserInterface& ui_;
    std::string aspectText_;
    bool previewAllowed_ = true;
    std::string listDirectory_;  // the list file's folder, or the documents folder for an untitled list
};

}  // namespace sc
