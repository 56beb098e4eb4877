// swatchcraft-cli picture LIB.swl NAME [--file FILE] -o OUT.png|OUT.ppm: an
// entry's stored preview as an ordinary upright RGB picture.
#include <iostream>

#include "cli/ArgumentList.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "export/PictureFile.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/PathUtil.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"

namespace sc::cli {
namespace {

const char kUsage[] = "Aufruf: swatchcraft-cli picture LISTE.swl NAME [--file DATEI] -o BILD.png|BILD.ppm";

int RunPicture(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    const std::string file = list.TakeValue("--file").value_or("");
    const auto output = list.TakeValue("-o");
    if (!list.Error().empty() || !list.UnknownOption().empty() || !output ||
        list.Positional().size() != 2) {
        std::cerr << (list.Error().empty() ? kUsage : list.Error()) << "\n";
        return 1;
    }
    const std::string extension = ToLowerAscii(ExtensionOf(*output));
    if (extension != ".png" && extension != ".ppm") {
        std::cerr << "Das Bild kann nur als .png oder .ppm geschrieben werden.\n";
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
        std::cerr << "Die Liste enthält keinen Eintrag \"" << name << "\".\n";
        return 1;
    }
    if (entries.size() > 1) {
        std::cerr << "Der Eintrag \"" << name << "\" kommt in mehreren Dateien vor:\n";
        for (const TextureEntry* e : entries) std::cerr << "  " << e->sourceFile->path << "\n";
        std::cerr << "Mit --file DATEI wird eine davon gewählt.\n";
        return 1;
    }
    const TextureEntry& entry = *entries.front();
    if (entry.preview.IsEmpty()) {
        std::cerr << "Der Eintrag \"" << name << "\" hat kein Vorschaubild.\n";
        return 1;
    }
    DecodedPicture decoded;
    if (!Decode(entry.preview, decoded, &ui)) return 1;
    if (!WritePictureFile(*output, UprightPicture(decoded))) {
        std::cerr << "Die Datei \"" << *output << "\" konnte nicht geschrieben werden.\n";
        return 1;
    }
    return 0;
}

const CommandRegistration kPicture(
    {"picture", "LISTE.swl NAME [--file DATEI] -o BILD.png|BILD.ppm",
     "Schreibt das gespeicherte Vorschaubild eines Eintrags als Bilddatei.",
     {{"LISTE.swl", "Die Listendatei mit den Vorschaubildern."},
      {"NAME", "Der Name des Eintrags."},
      {"--file DATEI", "Wählt unter gleichnamigen Einträgen den aus dieser Include-Datei."},
      {"-o BILD.png|BILD.ppm", "Die Bilddatei; die Endung bestimmt das Format."}},
     "picture meine.swl Jade -o jade.png", RunPicture});

}  // namespace
}  // namespace sc::cli
