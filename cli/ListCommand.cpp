// swatchcraft-cli list [--json] LIB.swl: a list file's header and every
// entry in library order.
#include <iostream>
#include <sstream>

#include "cli/ArgumentList.h"
#include "cli/CommandHelp.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/JsonText.h"
#include "cli/LibraryPathArguments.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/Translate.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"

namespace sc::cli {
namespace {

const char* KindName(int kind) {
    switch (kind) {
        case kKindMaterial: return "material";
        case kKindTexture: return "texture";
        case kKindPigment: return "pigment";
        case kKindColor: return "color";
        case kKindFinish: return "finish";
        case kKindNormal: return "normal";
        default: return "other";
    }
}

constexpr const char* kUsage = N_("[--json] LIST.swl");

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string EntryJson(const TextureEntry& e) {
    const PreviewImage& p = e.preview;
    std::ostringstream out;
    out << "{\"name\": " << JsonString(e.name) << ", \"kind\": " << e.kind
        << ", \"category\": " << JsonString(e.category)
        << ", \"directory\": " << JsonString(e.sourceFile->directory)
        << ", \"fileName\": " << JsonString(e.sourceFile->fileName)
        << ", \"previewVersion\": " << JsonNumber(e.previewVersion)
        << ", \"previewCrc\": " << e.previewCrc << ", \"previewValid\": " << Bool(e.previewValid)
        << ", \"previewFaulty\": " << Bool(e.previewFaulty)
        << ", \"previewAttempt\": " << int{e.previewAttempt} << ", \"jpegSize\": " << p.jpegSize()
        << ", \"sumRed\": " << p.sumRed << ", \"sumGreen\": " << p.sumGreen
        << ", \"sumBlue\": " << p.sumBlue << ", \"sumMiddleRow\": " << p.sumMiddleRow
        << ", \"statsValid\": " << Bool(p.statsValid);
    if (e.kind == kKindColor && e.color)
        out << ", \"color\": {\"red\": " << JsonNumber(e.color->red)
            << ", \"green\": " << JsonNumber(e.color->green)
            << ", \"blue\": " << JsonNumber(e.color->blue) << "}";
    out << "}";
    return out.str();
}

void PrintJson(const ListFileHeader& header, const TextureLibrary& library) {
    std::cout << "{\"version\": " << JsonNumber(header.version)
              << ", \"povHome\": " << JsonString(header.povHome)
              << ", \"entryCount\": " << header.entryCount << ", \"entries\": [";
    const char* separator = "\n  ";
    for (const TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) {
        std::cout << separator << EntryJson(*e);
        separator = ",\n  ";
    }
    std::cout << "\n]}\n";
}

void PrintText(const ListFileHeader& header, const TextureLibrary& library) {
    std::cout << "Version: " << JsonNumber(header.version) << "\n"
              << "povHome: " << header.povHome << "\n"
              << "entryCount: " << header.entryCount << "\n";
    for (const TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) {
        std::cout << e->name << "\t" << KindName(e->kind) << "\t" << e->category << "\t"
                  << e->sourceFile->directory << e->sourceFile->fileName << "\t";
        const auto size = static_cast<unsigned long>(e->preview.jpegSize());
        if (e->previewValid) std::cout << FillIn(TrN("picture of %1 byte", "picture of %1 bytes", size), {std::to_string(size)});
        else if (e->previewFaulty) std::cout << Tr("faulty picture");
        else std::cout << Tr("no picture");
        std::cout << "\n";
    }
}

int RunList(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    const bool json = list.TakeFlag("--json");
    if (!list.Error().empty() || !list.UnknownOption().empty() || list.Positional().size() != 1) {
        std::cerr << (list.Error().empty() ? UsageLine("list", kUsage) : list.Error()) << "\n";
        return 1;
    }
    const std::string path = list.Positional()[0];
    ConsoleUserInterface ui;
    LibraryController controller(ui);
    controller.SetDeclarations(&ReaderDeclarations());
    controller.SetPictureCheck(&CodecPictureCheck());
    controller.Library().SetLibraryPaths(libraryPaths);
    if (!LoadLibraryReporting(controller, path, false)) return 1;
    ListFileHeader header;
    ReadListFileHeader(path, header);
    // Files before 2.099 store no count: the entries read stand in for it.
    if (!header.hasEntryCount) header.entryCount = static_cast<std::uint32_t>(controller.EntryCount());
    if (json) PrintJson(header, controller.Library());
    else PrintText(header, controller.Library());
    return 0;
}

const CommandRegistration kList({"list", kUsage,
                                 N_("Lists the entries of a list file with kind, category, file and preview."),
                                 {{N_("LIST.swl"), N_("The list file to read.")},
                                  {"--json", N_("Prints the entries as JSON instead of text.")}},
                                 N_("list my.swl"), RunList});

}  // namespace
}  // namespace sc::cli
