// swatchcraft-cli picture LIB.swl NAME [--file FILE] -o OUT.png|OUT.ppm: an
// entry's stored preview as an ordinary upright RGB picture.
#include <iostream>

#include "cli/ArgumentList.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "cli/ImageFileWriter.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/PathUtil.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"

namespace sc::cli {
namespace {

const char kUsage[] = "Aufruf: swatchcraft-cli picture LISTE.swl NAME [--file DATEI] -o BILD.png|BILD.ppm";

// The stored layout is the preview window's bottom-up blue-green-red
// buffer; ordinary pictures are top-down red-green-blue.
RgbPicture Upright(const DecodedPicture& decoded) {
    RgbPicture picture{decoded.width, decoded.height, {}};
    picture.pixels.resize(decoded.pixels.size());
    const std::size_t rowLength = static_cast<std::size_t>(decoded.width) * 3;
    for (int row = 0; row < decoded.height; ++row) {
        const std::uint8_t* from = decoded.pixels.data() + rowLength * (decoded.height - 1 - row);
        std::uint8_t* to = picture.pixels.data() + rowLength * row;
        for (std::size_t i = 0; i < rowLength; i += 3) {
            to[i] = from[i + 2];
            to[i + 1] = from[i + 1];
            to[i + 2] = from[i];
        }
    }
    return picture;
}

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
    if (!WritePictureFile(*output, Upright(decoded))) {
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
