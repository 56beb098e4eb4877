// swatchcraft-cli show: one declaration as the declaration text box shows it,
// with its dependencies, flags, colour and CRC.
#include <iostream>
#include <sstream>

#include "cli/ArgumentList.h"
#include "cli/CommandHelp.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/JsonText.h"
#include "cli/LibraryPathArguments.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationScanner.h"
#include "scanner/DeclarationText.h"

namespace sc::cli {
namespace {

// The kind of the last declaration of `name` in the file itself, or -1.
int DeclaredKind(const std::string& path, const std::string& name) {
    ScanStream stream(kIndexLineCapacity);
    if (!stream.reader.Open(path)) return -1;
    int found = -1, kind;
    std::string declared;
    std::int64_t offset = 0;
    std::int32_t line = 0;
    while ((kind = ScanDeclarations(stream, declared, offset, line)) != kScanEnd)
        if (kind != kScanInclude && declared == name) found = kind;
    return found;
}

constexpr const char* kUsage = N_("[--json] FILE|LIST.swl NAME [--file FILE]");

std::string Bool(bool value) { return value ? "true" : "false"; }

void PrintJson(const TextureEntry& e) {
    std::ostringstream out;
    out << "{\"name\": " << JsonString(e.name) << ", \"kind\": " << e.kind
        << ", \"line\": " << (e.record ? e.record->line : 0)
        << ", \"text\": " << JsonString(e.record && e.record->text ? *e.record->text : "")
        << ", \"dependencies\": [";
    const char* separator = "";
    for (const DeclarationRecord* d : e.dependencies) {
        out << separator << "{\"name\": " << JsonString(d->name) << ", \"origin\": " << JsonString(d->origin)
            << ", \"text\": " << (d->text ? JsonString(*d->text) : "null") << "}";
        separator = ", ";
    }
    out << "], \"acceptedBy30\": " << Bool(e.acceptedBy30) << ", \"acceptedBy31\": " << Bool(e.acceptedBy31)
        << ", \"requiredVersion\": " << JsonNumber(e.requiredVersion) << ", \"missingFiles\": " << Bool(e.missingFiles);
    if (e.kind == kKindColor && e.color)
        out << ", \"color\": [" << JsonNumber(e.color->red) << ", " << JsonNumber(e.color->green) << ", "
            << JsonNumber(e.color->blue) << "]";
    out << ", \"crc\": " << DeclarationCrc(e) << ", \"box\": " << JsonString(DeclarationBoxText(e)) << "}\n";
    std::cout << out.str();
}

// The entry named `name` in a list file; null, with the reason printed,
// when there is none or several (then `file` chooses one).
TextureEntry* ListFileEntry(LibraryController& controller, const std::string& listFile, const std::string& name,
                            const std::string& file) {
    if (!OpenCommandLibrary(controller, MakeAbsolute(listFile))) return nullptr;
    const auto entries = FindNamedEntries(controller.Library(), name, file);
    if (entries.empty()) {
        std::cerr << FillIn(Tr("The list has no entry \"%1\"."), {name}) << "\n";
        return nullptr;
    }
    if (entries.size() > 1) {
        PrintSameNamedEntries(name, entries);
        return nullptr;
    }
    return entries.front();
}

// The entry for `name` declared in the include file `file`; null, with the
// reason printed, when the file or the declaration is missing.
TextureEntry* IncludeFileEntry(TextureLibrary& library, const std::string& file, const std::string& name) {
    if (!FileExists(file)) {
        std::cerr << NoFileMessage(file) << "\n";
        return nullptr;
    }
    const std::string path = MakeAbsolute(file);
    const int kind = DeclaredKind(path, name);
    if (kind < 0) {
        std::cerr << FillIn(Tr("The declaration \"%1\" was not found in the file \"%2\"."), {name, file}) << "\n";
        return nullptr;
    }
    std::string directory, fileName;
    SplitPath(path, directory, fileName);
    return library.AddEntry(directory, fileName, name, kind, {}, 0, nullptr);
}

int RunShow(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    const bool json = list.TakeFlag("--json");
    const auto chosenFile = list.TakeValue("--file");
    if (!list.Error().empty() || !list.UnknownOption().empty() || list.Positional().size() != 2) {
        std::cerr << (list.Error().empty() ? UsageLine("show", kUsage) : list.Error()) << "\n";
        return 1;
    }
    const std::string file = list.Positional()[0];
    const std::string name = list.Positional()[1];
    ConsoleUserInterface ui;
    LibraryController controller(ui);
    controller.SetDeclarations(&ReaderDeclarations());
    controller.SetPictureCheck(&CodecPictureCheck());
    TextureLibrary& library = controller.Library();
    library.SetLibraryPaths(libraryPaths);
    const bool listFile = ToLowerAscii(ExtensionOf(file)) == ".swl";
    TextureEntry* entry = listFile ? ListFileEntry(controller, file, name, chosenFile.value_or(""))
                                   : IncludeFileEntry(library, file, name);
    if (!entry) return 1;
    if (!LoadDeclaration(library, *entry, true)) {
        std::cerr << FillIn(Tr("The declaration \"%1\" could not be read."), {name}) << "\n";
        return 1;
    }
    if (json) PrintJson(*entry);
    else std::cout << DeclarationBoxText(*entry) << "\n";
    return 0;
}

const CommandRegistration kShow(
    {"show", kUsage, N_("Prints the text of a declaration with every constant it needs."),
     {{N_("FILE|LIST.swl"), N_("An include file or a list file.")},
      {"NAME", N_("The name of the declaration.")},
      {N_("--file FILE"), N_("In a list file, chooses among entries of the same name the one from this include file.")},
      {"--json", N_("Prints the declaration and its details as JSON.")}},
     "show /usr/share/povray-3.7/include/stones1.inc T_Stone1", RunShow});

}  // namespace
}  // namespace sc::cli
