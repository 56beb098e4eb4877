#pragma once
// The plain rules behind the overview dialog: page count, template marker,
// size couplings, the Name field, and the checks before writing or
// previewing. The dialog calls these; they show their messages through the
// core's user interface.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "overview/OverviewOptions.h"

namespace sc {

class OverviewWriter;
class TextureLibrary;
class UserInterface;

// X and Y of a built-in layout (0 = 1x1, 1 = 4x3, 2 = 7x5, 3 = 12x9; others 4x3).
void LayoutCounts(int type, int& x, int& y);

// Samples per page: the template's count with a template, else 1, 12, 35, 108.
std::uint32_t SamplesPerPage(const OverviewOptions& options);

// Pages for a number of samples, rounded up; 0 when a page holds none.
unsigned PageCount(std::uint32_t samples, std::uint32_t samplesPerPage);

// "Die Einstellungen würden ... ergeben." for the options' entries.
std::string PageCountLine(const OverviewOptions& options);

// Reads the first marker line ("#include Swatchcraft n a:b", usually in a
// comment) of a template. True when it holds three non-zero numbers n, a, b.
bool ReadTemplateMarker(const std::string& templatePath, std::uint32_t& samples, std::int32_t& aspectA,
                        std::int32_t& aspectB);

// The template toggle: reads the marker into the options, sets the height
// from the aspect when found, and without a valid marker shows the message
// and switches the template off; without a template the height follows the
// layout. The aspect text becomes "a:b" (0:0 when not found).
void TemplateToggle(OverviewOptions& options, std::string& aspectText, UserInterface& ui);

// The message for a template without a valid marker.
std::string InvalidTemplateMessage(const std::string& templatePath);

// Width and height couplings when one of the two edits loses the focus;
// every result is cut toward zero.
std::uint32_t HeightForWidth(const OverviewOptions& options, std::uint32_t width);
std::uint32_t WidthForHeight(const OverviewOptions& options, std::uint32_t height);

// The height without a template after a layout change (1x1: equal to the
// width, else three quarters of it).
std::uint32_t HeightForLayout(int type, std::uint32_t width);

// True when the overview must name each include file with its folder: a
// marked entry's file lies outside every library path, or two marked
// entries share a name (byte for byte). The window's overview command and
// the tool both decide by this.
bool OverviewPathsRequired(const TextureLibrary& library);

// A Name typed as a path: Name keeps the file name without extension and
// Directory becomes its folder (the root "/" when it was directly below it).
// False when Name held no folder; nothing changes then.
bool SplitNameAsPath(std::string& name, std::string& directory);

// The checks of "&Schreiben" before anything is written (template, ini
// file, directory), each with its message. Sets samplesPerPage and clears
// writtenCount. False ends the command.
bool CheckBeforeWriting(OverviewOptions& options, UserInterface& ui);

// The template checks shared by writing and previewing.
bool CheckTemplate(OverviewOptions& options, UserInterface& ui);

// Where the overview's TrueType font is looked for.
struct FontSearch {
    std::vector<std::string> libraryPaths;  // POV-Ray's library paths
    // The system's font files; none given: ask fontconfig.
    std::optional<std::vector<std::string>> fontFiles;
    std::string previewFolder;              // the program's preview folder
};

// The font names tried in turn: the Windows name first, then the free
// stand-in installed with fonts-freefont-ttf.
const std::vector<std::string>& OverviewFontNames();

// Finds the font and sets options.fontPath: a bare name when POV-Ray finds
// it along its library paths, else a full path. For writing the output
// directory is the last place (message A, information, the check fails but
// writing goes on); for the preview the preview folder (message B,
// exclamation, the preview is refused).
bool CheckOverviewFont(OverviewOptions& options, const FontSearch& search, bool forPreview, UserInterface& ui);

// The result message of a write: how many textures it wrote.
std::string WrittenTexturesText(unsigned long count);

// "&Schreiben" after the checks: font check, WriteOverviewFiles into the
// directory, the result message and the Directory written to the settings.
// True when files were written (the dialog closes with OK).
bool WriteOverviewCommand(OverviewWriter& writer, OverviewOptions& options, const FontSearch& fonts,
                          const std::string& settingsPath, UserInterface& ui);

// What writing the page preview's files came to.
enum class PreviewWriteResult { Failed, NothingLeft, Written };

// The preview's files: creates the preview folder, writes "SamplesPreview.*"
// in preview mode (cleared again before returning) and tells the user when
// no entry is left.
PreviewWriteResult WritePreviewFiles(OverviewWriter& writer, OverviewOptions& options, const std::string& previewFolder,
                                     UserInterface& ui);

}  // namespace sc
