// swatchcraft-cli overview: validates the library's entries and writes the
// overview scene, include and ini files as "&Schreiben" does.
#include <iostream>
#include <set>

#include "cli/ArgumentList.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "library/LibraryController.h"
#include "overview/OverviewSettings.h"
#include "overview/OverviewWriter.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "preview/FinishColor.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"

namespace sc::cli {
namespace {

constexpr const char* kUsage =
    "BIBLIOTHEK [--mode 30|31] [--type 0-3] [--background 0|1] [--show-type] [--write-paths] [--images-local] "
    "[--width W] [--height H] [--template DATEI] [--ini DATEI] [--transformation TEXT] [--name BASIS] "
    "[--dir VERZ] [--only NAME]... [--yes]";

// Notices (the result text) go to standard output, everything else as usual.
class OverviewConsole : public ConsoleUserInterface {
public:
    using ConsoleUserInterface::ConsoleUserInterface;
    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override {
        if (icon == MessageIcon::Information && text.rfind("Es wurde", 0) == 0)
            std::cout << text << "\n";
        else
            ConsoleUserInterface::ShowMessage(text, icon, title);
    }
};

int Usage(const std::string& error) {
    std::cerr << (error.empty() ? std::string("Aufruf: swatchcraft-cli overview ") + kUsage : error) << "\n";
    return 1;
}

int RunOverview(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    OverviewOptions options;
    long mode = AssumedPovVersion() >= 3.1 - 1e-6 ? 31 : 30, type = 1, background = 0, width = 640, height = 0;
    bool heightGiven = false;
    bool ok = list.TakeWholeNumber("--mode", 30, 31, mode) && list.TakeWholeNumber("--type", 0, 3, type) &&
              list.TakeWholeNumber("--background", 0, 1, background) &&
              list.TakeWholeNumber("--width", 1, 65535, width) &&
              list.TakeWholeNumber("--height", 1, 65535, height, &heightGiven);
    options.ShowType = list.TakeFlag("--show-type");
    options.WritePaths = list.TakeFlag("--write-paths");
    options.Images2Local = list.TakeFlag("--images-local");
    const bool yes = list.TakeFlag("--yes");
    const auto templatePath = list.TakeValue("--template");
    const auto iniFile = list.TakeValue("--ini");
    const auto transformation = list.TakeValue("--transformation");
    const auto name = list.TakeValue("--name");
    const auto directory = list.TakeValue("--dir");
    const auto only = list.TakeValues("--only");
    if (!ok || !list.Error().empty() || !list.UnknownOption().empty() || list.Positional().size() != 1)
        return Usage(list.Error());

    const std::string source = list.Positional()[0];
    options.WriteTextures = mode == 31;
    options.Type = static_cast<std::uint8_t>(type);
    options.Background = static_cast<std::uint8_t>(background);
    options.Width = static_cast<std::uint32_t>(width);
    options.Height = heightGiven ? static_cast<std::uint32_t>(height) : HeightForLayout(options.Type, options.Width);
    options.IniFile = iniFile.value_or("");
    options.transformation = transformation.value_or("");
    const std::string stem = FileNameOf(source).substr(0, FileNameOf(source).size() - ExtensionOf(source).size());
    options.Name = name ? *name : ToLowerAscii(ExtensionOf(source)) == ".swl" ? stem : "textures";
    options.Directory = directory ? *directory : MakeAbsolute(".");
    std::string nameDirectory;
    if (SplitNameAsPath(options.Name, nameDirectory) && !directory) options.Directory = nameDirectory;
    if (templatePath) {
        options.useTemplate = true;
        options.templatePath = MakeAbsolute(*templatePath);
        if (ReadTemplateMarker(options.templatePath, options.templateSamples, options.aspectA, options.aspectB) &&
            !heightGiven)
            options.Height = HeightForWidth(options, options.Width);
    }

    OverviewConsole ui(yes);
    ConsoleUserInterface::CatchInterrupt();
    LibraryController controller(ui);
    controller.SetDeclarations(&ReaderDeclarations());
    controller.SetPictureCheck(&CodecPictureCheck());
    TextureLibrary& library = controller.Library();
    library.SetLibraryPaths(libraryPaths);
    if (!OpenCommandLibrary(controller, source)) return 1;
    const std::set<std::string> wanted(only.begin(), only.end());
    for (TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) {
        e->overviewDropped = false;
        e->marked = wanted.empty() || wanted.count(e->name) != 0;
        if (e->marked) ++options.texturesCount;
    }
    if (options.texturesCount == 0) {
        std::cerr << "Keine der genannten Texturen ist in der Bibliothek.\n";
        return 1;
    }
    // As the window's dialog ticks "Mit Pfadan&gabe": POV-Ray would not find
    // such files by name.
    if (OverviewPathsRequired(library)) options.WritePaths = true;
    FontSearch fonts;
    fonts.libraryPaths = libraryPaths;
    fonts.previewFolder = ProgramFolder("preview", false);
    OverviewWriter writer(library, options, ui);
    writer.SetFinishColor(ReadFinishColor(SettingsFilePath()));
    return WriteOverviewCommand(writer, options, fonts, "", ui) ? 0 : 1;
}

const CommandRegistration kOverview(
    {"overview", kUsage,
     "Schreibt Szene, Include- und INI-Datei einer Texturenübersicht (Musterseiten vieler Texturen).",
     {{"BIBLIOTHEK", "Die Listendatei (oder Include-Datei), deren Einträge auf die Seiten kommen."},
      {"--mode 30|31", "30: die Quelldateien werden eingebunden (POV-Ray 3.0); 31: die vollständigen "
                       "Deklarationen werden geschrieben (Vorgabe ab POV-Ray 3.1)."},
      {"--type 0-3", "Aufteilung einer Seite: 0 = 1x1, 1 = 4x3 (Vorgabe), 2 = 7x5, 3 = 12x9 Muster."},
      {"--background 0|1", "Hintergrund: 0 = kariertes Feld (Vorgabe), 1 = Crackle-Muster."},
      {"--show-type", "Setzt den Kennbuchstaben der Art (M, T, P, ...) vor jeden Namen."},
      {"--write-paths", "Schreibt die Include-Anweisungen mit dem Verzeichnis der Quelldatei."},
      {"--images-local", "Legt benötigte Bilddateien neben die Szene."},
      {"--width W", "Bildbreite in Pixeln (Vorgabe 640)."},
      {"--height H", "Bildhöhe in Pixeln (Vorgabe: passend zu Breite und Aufteilung)."},
      {"--template DATEI", "Eine eigene Vorlagendatei statt der eingebauten Aufteilung."},
      {"--ini DATEI", "Eine POV-Ray-INI-Datei, deren Einstellungen übernommen werden."},
      {"--transformation TEXT", "Eine Zeile POV-Ray-Text, die in jedes Muster geschrieben wird, z. B. "
                                "\"scale 0.5\"."},
      {"--name BASIS", "Grundname der geschriebenen Dateien (Vorgabe: der Name der Listendatei)."},
      {"--dir VERZ", "Verzeichnis, in das die Dateien geschrieben werden (Vorgabe: das aktuelle)."},
      {"--only NAME", "Nur diese Textur aufnehmen (mehrfach möglich); ohne: alle Einträge."},
      {"--yes", "Beantwortet Rückfragen (z. B. das Überschreiben vorhandener Dateien) mit Ja."}},
     "overview meine.swl --type 2 --dir uebersicht --yes", RunOverview});

}  // namespace
}  // namespace sc::cli
