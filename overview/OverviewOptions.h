#pragma once
// Everything an overview run reads and the counters it reports back. The
// overview dialog holds one; field names follow the settings keys.
#include <cstdint>
#include <string>

namespace sc {

struct OverviewOptions {
    std::uint8_t Type = 1;        // built-in layout: 0 = 1x1, 1 = 4x3, 2 = 7x5, 3 = 12x9
    std::uint8_t Background = 0;  // 0 checkered plane, otherwise crackle
    bool WriteTextures = true;    // false: include the source files; true: full declarations
    std::string Name = "textures";  // base name of the files; only its file-name part is used
    std::string Directory;          // output directory
    std::string templatePath;
    std::uint32_t templateSamples = 0;  // samples per page from the template's marker
    bool useTemplate = false;
    std::string IniFile;         // the user's POV-Ray ini copied into ours; may be empty
    std::string transformation;  // one line of SDL inside every sample's material
    std::uint32_t Width = 640;
    std::uint32_t Height = 480;
    bool ShowType = false;      // kind letter before every label
    bool WritePaths = false;    // #include lines carry the source file's directory
    bool Images2Local = false;  // pictures are written beside the scene
    std::int32_t aspectA = 0;
    std::int32_t aspectB = 0;
    std::string fontPath = "courbd.ttf";

    std::uint32_t texturesCount = 0;   // marked entries still to be written
    std::uint32_t samplesPerPage = 12;
    std::uint32_t writtenCount = 0;
    std::int32_t droppedCount = 0;
    bool validated = false;
    // The mode (WriteTextures) of the last validation begun with these
    // options; -1 before the first. A completed pass of another mode counts
    // for nothing.
    int validatedMode = -1;
    bool previewMode = false;     // writing "SamplesPreview" for the page preview
    bool abortRequested = false;  // the progress window's cancel button
};

}  // namespace sc
