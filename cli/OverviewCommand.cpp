// swatchcraft-cli overview: validates the library's entries and writes the
// overview scene, include and ini files as "&Schreiben" does.
#include <iostream>
#include <set>

#include "cli/ArgumentList.h"
#include "cli/CommandHelp.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "library/LibraryController.h"
#include "overview/OverviewSettings.h"
#include "overview/OverviewWriter.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "platform/Translate.h"
#include "preview/FinishColor.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"

namespace sc::cli {
namespace {

constexpr const char* kUsage =
    N_("LIBRARY [--mode 30|31] [--type 0-3] [--background 0|1] [--show-type] [--write-paths] [--images-local] "
       "[--width W] [--height H] [--template FILE] [--ini FILE] [--transformation TEXT] [--name BASE] "
       "[--dir DIR] [--only NAME]... [--yes]");

// The result text goes to standard output, everything else as usual.
class OverviewConsole : public ConsoleUserInterface {
public:
    OverviewConsole(bool answerYes, const OverviewOptions& options)
        : ConsoleUserInterface(answerYes), options_(options) {}
    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override {
        if (icon == MessageIcon::Information && text == WrittenTexturesText(options_.writtenCount))
            std::cout << text << "\n";
        else
            ConsoleUserInterface::ShowMessage(text, icon, title);
    }

private:
    const OverviewOptions& options_;
};

int Usage(const std::string& error) {
    std::cerr << (error.empty() ? UsageLine("overview", kUsage) : error) << "\n";
    return 1;
}

int RunOverview(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    OverviewOptions options;
    long mode = AssumedPovVersion() >= 3.1 - 1e-6 ? 31 : 30, type = 1, background = 0, width = 640, height = 0;
    bool heightGiven = false;
    bool ok = list.TakeWholeNumber("--mode", 30, 31, mode) && list.TakeWholeNumber("--type", 0, 3, type) &&
              list.TakeWholeNumber("--background", 0, 1, background) &&
              list.TakeWholeNumber("--width", 1, 65535, width) &&
              list.TakeWholeNumber("--height", 1, 65535, height, &heightGiven);
    options.ShowType = list.TakeFlag("--show-type");
    options.WritePaths = list.TakeFlag("--write-paths");
    options.Images2Local = list.TakeFlag("--images-local");
    const bool yes = list.TakeFlag("--yes");
    const auto templatePath = list.TakeValue("--template");
    const auto iniFile = list.TakeValue("--ini");
    const auto transformation = list.TakeValue("--transformation");
    const auto name = list.TakeValue("--name");
    const auto directory = list.TakeValue("--dir");
    const auto only = list.TakeValues("--only");
    if (!ok || !list.Error().empty() || !list.UnknownOption().empty() || list.Positional().size() != 1)
        return Usage(list.Error());

    const std::string source = list.Positional()[0];
    options.WriteTextures = mode == 31;
    options.Type = static_cast<std::uint8_t>(type);
    options.Background = static_cast<std::uint8_t>(background);
    options.Width = static_cast<std::uint32_t>(width);
    options.Height = heightGiven ? static_cast<std::uint32_t>(height) : HeightForLayout(options.Type, options.Width);
    options.IniFile = iniFile.value_or("");
    options.transformation = transformation.value_or("");
    const std::string stem = FileNameOf(source).substr(0, FileNameOf(source).size() - ExtensionOf(source).size());
    options.Name = name ? *name : ToLowerAscii(ExtensionOf(source)) == ".swl" ? stem : "textures";
    options.Directory = directory ? *directory : MakeAbsolute(".");
    std::string nameDirectory;
    if (SplitNameAsPath(options.Name, nameDirectory) && !directory) options.Directory = nameDirectory;
    if (templatePath) {
        options.useTemplate = true;
        options.templatePath = MakeAbsolute(*templatePath);
        if (ReadTemplateMarker(options.templatePath, options.templateSamples, options.aspectA, options.aspectB) &&
            !heightGiven)
            options.Height = HeightForWidth(options, options.Width);
    }

    OverviewConsole ui(yes, options);
    ConsoleUserInterface::CatchInterrupt();
    LibraryController controller(ui);
    controller.SetDeclarations(&ReaderDeclarations());
    controller.SetPictureCheck(&CodecPictureCheck());
    TextureLibrary& library = controller.Library();
    library.SetLibraryPaths(libraryPaths);
    if (!OpenCommandLibrary(controller, source)) return 1;
    const std::set<std::string> wanted(only.begin(), only.end());
    for (TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) {
        e->overviewDropped = false;
        e->marked = wanted.empty() || wanted.count(e->name) != 0;
        if (e->marked) ++options.texturesCount;
    }
    if (options.texturesCount == 0) {
        std::cerr << Tr("None of the named textures is in the library.") << "\n";
        return 1;
    }
    // As the window's dialog ticks "Mit Pfadan&gabe": POV-Ray would not find
    // such files by name.
    if (OverviewPathsRequired(library)) options.WritePaths = true;
    FontSearch fonts;
    fonts.libraryPaths = libraryPaths;
    fonts.previewFolder = ProgramFolder("preview", false);
    OverviewWriter writer(library, options, ui);
    writer.SetFinishColor(ReadFinishColor(SettingsFilePath()));
    return WriteOverviewCommand(writer, options, fonts, "", ui) ? 0 : 1;
}

const CommandRegistration kOverview(
    {"overview", kUsage,
     N_("Writes the scene, include and INI file of a texture overview (sample pages of many textures)."),
     {{N_("LIBRARY"), N_("The list file (or include file) whose entries go on the pages.")},
      {"--mode 30|31", N_("30: the source files are included (POV-Ray 3.0); 31: the full declarations are "
                          "written (default from POV-Ray 3.1 on).")},
      {"--type 0-3", N_("Layout of a page: 0 = 1x1, 1 = 4x3 (default), 2 = 7x5, 3 = 12x9 samples.")},
      {"--background 0|1", N_("Background: 0 = checkered floor (default), 1 = crackle pattern.")},
      {"--show-type", N_("Puts the letter of the kind (M, T, P, ...) before every name.")},
      {"--write-paths", N_("Writes the include statements with the folder of the source file.")},
      {"--images-local", N_("Puts the image files needed beside the scene.")},
      {"--width W", N_("Image width in pixels (default 640).")},
      {"--height H", N_("Image height in pixels (default: to suit the width and layout).")},
      {N_("--template FILE"), N_("A template file of your own instead of the built-in layout.")},
      {N_("--ini FILE"), N_("A POV-Ray INI file whose settings are taken over.")},
      {N_("--transformation TEXT"), N_("A line of POV-Ray code written into every sample, e.g. \"scale 0.5\".")},
      {N_("--name BASE"), N_("Base name of the files written (default: the name of the list file).")},
      {N_("--dir DIR"), N_("Folder the files are written to (default: the current one).")},
      {N_("--only NAME"), N_("Only this texture (repeatable); without it: every entry.")},
      {"--yes", N_("Answers questions (such as overwriting existing files) with Yes.")}},
     N_("overview my.swl --type 2 --dir overview --yes"), RunOverview});

}  // namespace
}  // namespace sc::cli
