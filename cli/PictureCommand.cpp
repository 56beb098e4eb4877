// swatchcraft-cli picture LIB.swl NAME [--file FILE] -o OUT.png|OUT.ppm: an
// entry's stored preview as an ordinary upright RGB picture.
#include <iostream>

#include "cli/ArgumentList.h"
#include "cli/CommandHelp.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "export/PictureFile.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"

namespace sc::cli {
namespace {

constexpr const char* kUsage = N_("LIST.swl NAME [--file FILE] -o IMAGE.png|IMAGE.ppm");

int RunPicture(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    const std::string file = list.TakeValue("--file").value_or("");
    const auto output = list.TakeValue("-o");
    if (!list.Error().empty() || !list.UnknownOption().empty() || !output ||
        list.Positional().size() != 2) {
        std::cerr << (list.Error().empty() ? UsageLine("picture", kUsage) : list.Error()) << "\n";
        return 1;
    }
    const std::string extension = ToLowerAscii(ExtensionOf(*output));
    if (extension != ".png" && extension != ".ppm") {
        std::cerr << Tr("The picture can only be written as .png or .ppm.") << "\n";
        return 1;
    }
    const std::string& name = list.Positional()[1];
    ConsoleUserInterface ui;
    LibraryController controller(ui);
    controller.SetDeclarations(&ReaderDeclarations());
    controller.SetPictureCheck(&CodecPictureCheck());
    controller.Library().SetLibraryPaths(libraryPaths);
    if (!LoadLibraryReporting(controller, list.Positional()[0], false)) return 1;

    const auto entries = FindNamedEntries(controller.Library(), name, file);
    if (entries.empty()) {
        std::cerr << FillIn(Tr("The list has no entry \"%1\"."), {name}) << "\n";
        return 1;
    }
    if (entries.size() > 1) {
        PrintSameNamedEntries(name, entries);
        return 1;
    }
    const TextureEntry& entry = *entries.front();
    if (entry.preview.IsEmpty()) {
        std::cerr << FillIn(Tr("The entry \"%1\" has no preview."), {name}) << "\n";
        return 1;
    }
    DecodedPicture decoded;
    if (!Decode(entry.preview, decoded, &ui)) return 1;
    if (!WritePictureFile(*output, UprightPicture(decoded))) {
        std::cerr << FillIn(Tr("The file \"%1\" could not be written."), {*output}) << "\n";
        return 1;
    }
    return 0;
}

const CommandRegistration kPicture(
    {"picture", kUsage, N_("Writes the stored preview of an entry as an image file."),
     {{N_("LIST.swl"), N_("The list file with the previews.")},
      {"NAME", N_("The name of the entry.")},
      {N_("--file FILE"), N_("Among entries of the same name, chooses the one from this include file.")},
      {N_("-o IMAGE.png|IMAGE.ppm"), N_("The image file; its extension decides the format.")}},
     N_("picture my.swl Jade -o jade.png"), RunPicture});

}  // namespace
}  // namespace sc::cli
