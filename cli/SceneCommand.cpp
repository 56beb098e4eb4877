// swatchcraft-cli scene: writes the preview scene of one entry as a preview
// render would and prints its path.
#include <iostream>

#include "cli/ArgumentList.h"
#include "cli/CommandHelp.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "library/LibraryController.h"
#include "platform/NumberText.h"
#include "platform/ProgramFolders.h"
#include "platform/Translate.h"
#include "preview/FinishColor.h"
#include "preview/PreviewCodec.h"
#include "preview/SceneWriter.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"

namespace sc::cli {
namespace {

constexpr const char* kUsage =
    N_("LIBRARY NAME [--file FILE] [--template N] [--attempt N] [--pov-version V]");

int RunScene(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    const auto file = list.TakeValue("--file");
    long templateNumber = 1, attempt = 0;
    const bool numbersOk =
        list.TakeWholeNumber("--template", 1, 20, templateNumber) && list.TakeWholeNumber("--attempt", 0, 3, attempt);
    const auto versionText = list.TakeValue("--pov-version");
    if (!numbersOk || !list.Error().empty() || !list.UnknownOption().empty() || list.Positional().size() != 2) {
        std::cerr << (list.Error().empty() ? UsageLine("scene", kUsage) : list.Error()) << "\n";
        return 1;
    }
    const double povVersion = versionText ? ParseNumber(*versionText) : AssumedPovVersion();
    ConsoleUserInterface ui;
    LibraryController controller(ui);
    controller.SetDeclarations(&ReaderDeclarations());
    controller.SetPictureCheck(&CodecPictureCheck());
    controller.Library().SetLibraryPaths(libraryPaths);
    if (!OpenCommandLibrary(controller, list.Positional()[0])) return 1;
    const std::string& name = list.Positional()[1];
    const auto named = FindNamedEntries(controller.Library(), name, file.value_or(""));
    TextureEntry* entry = named.empty() ? nullptr : named.front();
    if (!entry) {
        std::cerr << FillIn(Tr("The texture \"%1\" is not in the library."), {name}) << "\n";
        return 1;
    }
    if (!LoadDeclaration(controller.Library(), *entry, true)) {
        std::cerr << FillIn(Tr("The declaration \"%1\" could not be read."), {name}) << "\n";
        return 1;
    }
    const std::vector<std::string> box = DeclarationBoxLines(*entry);
    std::string scenePath;
    const int templateIndex = static_cast<int>(templateNumber) - 1;
    if (!WriteScene(entry, &box, static_cast<int>(attempt), templateIndex, povVersion, false, &scenePath,
                    ReadFinishColor(SettingsFilePath()))) {
        std::cerr << Tr("The preview files could not be made.") << "\n";
        return 1;
    }
    std::cout << scenePath << "\n";
    return 0;
}

const CommandRegistration kScene(
    {"scene", kUsage, N_("Prints the preview scene an entry would be rendered with."),
     {{N_("LIBRARY"), N_("The list file or include file with the entry.")},
      {"NAME", N_("The name of the entry.")},
      {N_("--file FILE"), N_("Among entries of the same name, chooses the one from this include file.")},
      {"--template N", N_("Preview scene number N (1 to 20, default 1).")},
      {"--attempt N", N_("Attempt 0 to 3: each later one writes an older #version line.")},
      {"--pov-version V", N_("The POV-Ray version to write for, e.g. 3.7.")}},
     N_("scene my.swl Jade --template 2"), RunScene});

}  // namespace
}  // namespace sc::cli
