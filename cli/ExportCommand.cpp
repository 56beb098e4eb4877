// swatchcraft-cli export: the library as a self-contained web page folder,
// and/or its previews as one contact sheet picture.
#include <iostream>
#include <set>

#include "cli/ArgumentList.h"
#include "cli/CommandHelp.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "export/ExportFormat.h"
#include "export/LibraryWebExport.h"
#include "library/LibraryController.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"
#include "ui/StatusText.h"

namespace sc::cli {
namespace {

constexpr const char* kUsage =
    N_("LIBRARY [-o DIR] [--title TEXT] [--sheet IMAGE.png] [--columns N] [--only NAME]... [--force]");

int Usage(const std::string& error) {
    std::cerr << (error.empty() ? UsageLine("export", kUsage) : error) << "\n";
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
        std::cerr << FillIn(Tr("%1 Nothing was written: name a new folder, or use --force to write into it anyway."),
                            {check.foreignFiles})
                  << "\n";
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
        std::cout << FillIn(TrN("The declaration of %1 entry is NOT AVAILABLE (include file missing or changed).",
                                "The declarations of %1 entries are NOT AVAILABLE (include file missing or changed).",
                                static_cast<unsigned long>(result.withoutText)),
                            {std::to_string(result.withoutText)})
                  << "\n";
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
    if (!columnsOk) return Usage(Tr("--columns expects a whole number from 1 to 1000."));
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
        std::cerr << (only.empty() ? Tr("The library has no entries.") : Tr("None of the named textures is in the library."))
                  << "\n";
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
    {"export", kUsage, N_("Shares the library without POV-Ray: as a web page and as a contact sheet."),
     {{N_("LIBRARY"), N_("The list file (or include file) whose entries are exported.")},
      {N_("-o DIR"), N_("Writes a web page (index.html, readable offline) with one PNG picture per preview into "
                        "this folder, which is created if it does not exist. A folder with other files is "
                        "refused; the pictures of an earlier export are replaced.")},
      {N_("--title TEXT"), N_("The heading of the web page (default: the name of the list file).")},
      {N_("--sheet IMAGE.png"), N_("Writes every preview with its name into one contact sheet picture.")},
      {"--columns N", N_("Columns of the contact sheet, 1 to 1000 (default: about square).")},
      {N_("--only NAME"), N_("Only this entry (repeatable); without it: every entry.")},
      {"--force", N_("Writes the web page even into a folder with other files (replacing its index.html).")}},
     N_("export my.swl -o my-textures --sheet my-textures.png"), RunExport});

}  // namespace
}  // namespace sc::cli
