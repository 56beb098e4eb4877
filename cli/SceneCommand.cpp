// swatchcraft-cli scene: writes the preview scene of one entry as a preview
// render would and prints its path.
#include <iostream>

#include "cli/ArgumentList.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "library/LibraryController.h"
#include "platform/NumberText.h"
#include "platform/ProgramFolders.h"
#include "preview/FinishColor.h"
#include "preview/PreviewCodec.h"
#include "preview/SceneWriter.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"

namespace sc::cli {
namespace {

constexpr const char* kUsage =
    "BIBLIOTHEK NAME [--file DATEI] [--template N] [--attempt N] [--pov-version V]";

int RunScene(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    const auto file = list.TakeValue("--file");
    long templateNumber = 1, attempt = 0;
    const bool numbersOk =
        list.TakeWholeNumber("--template", 1, 20, templateNumber) && list.TakeWholeNumber("--attempt", 0, 3, attempt);
    const auto versionText = list.TakeValue("--pov-version");
    if (!numbersOk || !list.Error().empty() || !list.UnknownOption().empty() || list.Positional().size() != 2) {
        std::cerr << (list.Error().empty() ? std::string("Aufruf: swatchcraft-cli scene ") + kUsage : list.Error())
                  << "\n";
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
        std::cerr << "Die Textur \"" << name << "\" ist nicht in der Bibliothek.\n";
        return 1;
    }
    if (!LoadDeclaration(controller.Library(), *entry, true)) {
        std::cerr << "Die Deklaration \"" << name << "\" konnte nicht gelesen werden.\n";
        return 1;
    }
    const std::vector<std::string> box = DeclarationBoxLines(*entry);
    std::string scenePath;
    const int templateIndex = static_cast<int>(templateNumber) - 1;
    if (!WriteScene(entry, &box, static_cast<int>(attempt), templateIndex, povVersion, false, &scenePath,
                    ReadFinishColor(SettingsFilePath()))) {
        std::cerr << "Die Vorschaudateien konnten nicht erzeugt werden.\n";
        return 1;
    }
    std::cout << scenePath << "\n";
    return 0;
}

const CommandRegistration kScene(
    {"scene", kUsage, "Gibt die Vorschauszene aus, mit der ein Eintrag berechnet würde.",
     {{"BIBLIOTHEK", "Die Listendatei oder Include-Datei mit dem Eintrag."},
      {"NAME", "Der Name des Eintrags."},
      {"--file DATEI", "Wählt unter gleichnamigen Einträgen den aus dieser Include-Datei."},
      {"--template N", "Die Vorschauszene Nummer N (1 bis 20, Vorgabe 1)."},
      {"--attempt N", "Der Versuch 0 bis 3: jeder weitere schreibt eine ältere #version-Zeile."},
      {"--pov-version V", "Die POV-Ray-Version, für die geschrieben wird, z. B. 3.7."}},
     "scene meine.swl Jade --template 2", RunScene});

}  // namespace
}  // namespace sc::cli
