// swatchcraft-cli export: the library as a self-contained web page folder,
// and/or its previews as one contact sheet picture.
#include <algorithm>
#include <iostream>
#include <set>

#include "cli/ArgumentList.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "export/ContactSheet.h"
#include "export/LibraryWebExport.h"
#include "library/LibraryController.h"
#include "library/NaturalCompare.h"
#include "platform/PathUtil.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"
#include "ui/StatusText.h"

namespace sc::cli {
namespace {

constexpr const char* kUsage =
    "BIBLIOTHEK [-o VERZ] [--title TEXT] [--sheet BILD.png] [--columns N] [--only NAME]...";

int Usage(const std::string& error) {
    std::cerr << (error.empty() ? std::string("Aufruf: swatchcraft-cli export ") + kUsage : error) << "\n";
    return 1;
}

// The entries to export: all, or those named by --only.
std::vector<TextureEntry*> ChosenEntries(const TextureLibrary& library, const std::vector<std::string>& only) {
    const std::set<std::string> wanted(only.begin(), only.end());
    std::vector<TextureEntry*> entries;
    for (TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e))
        if (wanted.empty() || wanted.count(e->name)) entries.push_back(e);
    return entries;
}

bool WritePage(TextureLibrary& library, const std::vector<TextureEntry*>& entries, const std::string& directory,
               const std::string& title) {
    LibraryWebExport page(library, {title, StatusText(CountEntries(entries), 0), {}});
    const WebExportResult result = page.Write(entries, directory);
    if (!result.error.empty()) {
        std::cerr << result.error << "\n";
        return false;
    }
    std::cout << LibraryWebExport::SummaryText(result, directory) << "\n";
    if (result.withoutText > 0)
        std::cout << "Bei " << result.withoutText << (result.withoutText == 1 ? " Eintrag" : " Einträgen")
                  << " ist die Deklaration NICHT VERFÜGBAR (Include-Datei fehlt oder geändert).\n";
    return true;
}

bool WriteSheet(std::vector<TextureEntry*> entries, const std::string& path, int columns) {
    std::stable_sort(entries.begin(), entries.end(), [](const TextureEntry* a, const TextureEntry* b) {
        return NaturalCompare(a->name, b->name, false) < 0;
    });
    const ContactSheet layout(std::vector<const TextureEntry*>(entries.begin(), entries.end()), columns);
    RgbPicture sheet;
    std::string error;
    if (!layout.Compose(sheet, error)) {
        std::cerr << error << "\n";
        return false;
    }
    if (!WritePictureFile(path, sheet)) {
        std::cerr << "Die Datei \"" << path << "\" konnte nicht geschrieben werden.\n";
        return false;
    }
    return true;
}

int RunExport(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    const auto directory = list.TakeValue("-o");
    const auto title = list.TakeValue("--title");
    const auto sheet = list.TakeValue("--sheet");
    long columns = 0;
    const bool columnsOk = list.TakeWholeNumber("--columns", 1, 1000, columns);
    const auto only = list.TakeValues("--only");
    if (!columnsOk) return Usage("--columns erwartet eine ganze Zahl von 1 bis 1000.");
    if (!list.Error().empty() || !list.UnknownOption().empty() || list.Positional().size() != 1 ||
        (!directory && !sheet))
        return Usage(list.Error());
    if (sheet && ToLowerAscii(ExtensionOf(*sheet)) != ".png")
        return Usage("Das Kontaktbild wird als PNG geschrieben; der Dateiname muss auf .png enden.");

    const std::string source = list.Positional()[0];
    ConsoleUserInterface ui;
    LibraryController controller(ui);
    controller.SetDeclarations(&ReaderDeclarations());
    controller.SetPictureCheck(&CodecPictureCheck());
    controller.Library().SetLibraryPaths(libraryPaths);
    if (!OpenCommandLibrary(controller, source)) return 1;
    const auto entries = ChosenEntries(controller.Library(), only);
    if (entries.empty()) {
        std::cerr << (only.empty() ? "Die Bibliothek enthält keine Einträge.\n"
                                   : "Keine der genannten Texturen ist in der Bibliothek.\n");
        return 1;
    }
    const std::string pageTitle = title.value_or(LibraryWebExport::DefaultTitle(source));
    if (directory && !WritePage(controller.Library(), entries, MakeAbsolute(*directory), pageTitle)) return 1;
    if (sheet && !WriteSheet(entries, *sheet, static_cast<int>(columns))) return 1;
    return 0;
}

const CommandRegistration kExport(
    {"export", kUsage, "Gibt die Bibliothek ohne POV-Ray weiter: als Webseite und als Kontaktbild.",
     {{"BIBLIOTHEK", "Die Listendatei (oder Include-Datei), deren Einträge weitergegeben werden."},
      {"-o VERZ", "Schreibt eine Webseite (index.html, ohne Netzzugriff lesbar) mit je einem PNG-Bild pro "
                  "Vorschaubild in diesen Ordner."},
      {"--title TEXT", "Die Überschrift der Webseite (Vorgabe: der Name der Listendatei)."},
      {"--sheet BILD.png", "Schreibt alle Vorschaubilder mit ihren Namen als ein Kontaktbild."},
      {"--columns N", "Spaltenzahl des Kontaktbilds, 1 bis 1000 (Vorgabe: etwa quadratisch)."},
      {"--only NAME", "Nur diesen Eintrag aufnehmen (mehrfach möglich); ohne: alle Einträge."}},
     "export meine.swl -o meine-texturen --sheet meine-texturen.png", RunExport});

}  // namespace
}  // namespace sc::cli
