// swatchcraft-cli export: the library as a self-contained web page folder,
// and/or its previews as one contact sheet picture.
#include <iostream>
#include <set>

#include "cli/ArgumentList.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "export/ExportFormat.h"
#include "export/LibraryWebExport.h"
#include "library/LibraryController.h"
#include "platform/PathUtil.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"
#include "ui/StatusText.h"

namespace sc::cli {
namespace {

constexpr const char* kUsage =
    "BIBLIOTHEK [-o VERZ] [--title TEXT] [--sheet BILD.png] [--columns N] [--only NAME]... [--force]";

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

// Asked before anything is written, so a refused target leaves no half export.
bool TargetAccepted(const ExportFormat& format, const std::string& target, bool force) {
    const ExportTarget check = format.CheckTarget(target);
    if (!check.refusal.empty()) {
        std::cerr << check.refusal << "\n";
        return false;
    }
    if (!check.foreignFiles.empty() && !force) {
        std::cerr << check.foreignFiles
                  << " Nichts wurde geschrieben: einen neuen Ordner angeben, oder mit --force trotzdem hineinschreiben.\n";
        return false;
    }
    return true;
}

bool Write(const ExportFormat& format, ExportJob job, const std::string& target, bool force) {
    job.replaceForeignFiles = force;
    const ExportResult result = format.Write(job, target);
    if (!result.error.empty()) {
        std::cerr << result.error << "\n";
        return false;
    }
    std::cout << result.summary << "\n";
    if (result.withoutText > 0)
        std::cout << "Bei " << result.withoutText << (result.withoutText == 1 ? " Eintrag" : " Einträgen")
                  << " ist die Deklaration NICHT VERFÜGBAR (Include-Datei fehlt oder geändert).\n";
    return true;
}

int RunExport(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    const auto directory = list.TakeValue("-o");
    const auto title = list.TakeValue("--title");
    const auto sheet = list.TakeValue("--sheet");
    const bool force = list.TakeFlag("--force");
    long columns = 0;
    const bool columnsOk = list.TakeWholeNumber("--columns", 1, 1000, columns);
    const auto only = list.TakeValues("--only");
    if (!columnsOk) return Usage("--columns erwartet eine ganze Zahl von 1 bis 1000.");
    if (!list.Error().empty() || !list.UnknownOption().empty() || list.Positional().size() != 1 ||
        (!directory && !sheet))
        return Usage(list.Error());
    // An empty -o would otherwise mean the current folder, which nobody asks for that way.
    const std::string folder = directory ? (directory->empty() ? std::string() : MakeAbsolute(*directory)) : "";
    if (directory && !TargetAccepted(WebPageFormat(), folder, force)) return 1;
    if (sheet && !TargetAccepted(ContactSheetFormat(), *sheet, force)) return 1;

    const std::string source = list.Positional()[0];
    ConsoleUserInterface ui;
    LibraryController controller(ui);
    controller.SetDeclarations(&ReaderDeclarations());
    controller.SetPictureCheck(&CodecPictureCheck());
    controller.Library().SetLibraryPaths(libraryPaths);
    if (!OpenCommandLibrary(controller, source)) return 1;
    ExportJob job;
    job.library = &controller.Library();
    job.entries = ChosenEntries(controller.Library(), only);
    if (job.entries.empty()) {
        std::cerr << (only.empty() ? "Die Bibliothek enthält keine Einträge.\n"
                                   : "Keine der genannten Texturen ist in der Bibliothek.\n");
        return 1;
    }
    job.title = title.value_or(LibraryWebExport::DefaultTitle(source));
    job.countsText = StatusText(CountEntries(job.entries), 0);
    job.columns = static_cast<int>(columns);
    if (directory && !Write(WebPageFormat(), job, folder, force)) return 1;
    if (sheet && !Write(ContactSheetFormat(), job, *sheet, force)) return 1;
    return 0;
}

const CommandRegistration kExport(
    {"export", kUsage, "Gibt die Bibliothek ohne POV-Ray weiter: als Webseite und als Kontaktbild.",
     {{"BIBLIOTHEK", "Die Listendatei (oder Include-Datei), deren Einträge weitergegeben werden."},
      {"-o VERZ", "Schreibt eine Webseite (index.html, ohne Netzzugriff lesbar) mit je einem PNG-Bild pro "
                  "Vorschaubild in diesen Ordner; er wird angelegt, wenn es ihn nicht gibt. Ein Ordner mit "
                  "fremden Dateien wird abgelehnt, Bilder eines früheren Exports werden ersetzt."},
      {"--title TEXT", "Die Überschrift der Webseite (Vorgabe: der Name der Listendatei)."},
      {"--sheet BILD.png", "Schreibt alle Vorschaubilder mit ihren Namen als ein Kontaktbild."},
      {"--columns N", "Spaltenzahl des Kontaktbilds, 1 bis 1000 (Vorgabe: etwa quadratisch)."},
      {"--only NAME", "Nur diesen Eintrag aufnehmen (mehrfach möglich); ohne: alle Einträge."},
      {"--force", "Schreibt die Webseite auch in einen Ordner mit fremden Dateien (ersetzt dort index.html)."}},
     "export meine.swl -o meine-texturen --sheet meine-texturen.png", RunExport});

}  // namespace
}  // namespace sc::cli
