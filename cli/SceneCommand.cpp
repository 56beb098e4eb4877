// swatchcraft-cli scene: writes the preview scene of one entry as a preview
// render would and prints its path.
#include <iostream>

#include "cli/ArgumentList.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "library/LibraryController.h"
#include "preview/FinishColor.h"
#include "preview/SceneWriter.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"

namespace sc::cli {
namespace {

constexpr const char* kUsage =
    "BIBLIOTHEK NAME [--file DATEI] [--template N] [--attempt N] [--pov-version V]";

// The declaration text box's lines for the entry.
std::vector<std::string> BoxLines(const TextureEntry& entry) {
    std::vector<std::string> lines;
    const std::string text = DeclarationBoxText(entry);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

TextureEntry* FindNamed(const TextureLibrary& library, const std::string& name, const std::string& file) {
    for (TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e))
        if (e->name == name && (file.empty() || e->sourceFile->fileName == file || e->sourceFile->path == file))
            return e;
    return nullptr;
}

bool ParseInt(const std::optional<std::string>& text, int low, int high, int& value) {
    if (!text) return true;
    const double number = LeadingNumber(*text);
    if (number < low || number > high || number != static_cast<int>(number)) return false;
    value = static_cast<int>(number);
    return true;
}

int RunScene(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    const auto file = list.TakeValue("--file");
    const auto templateText = list.TakeValue("--template");
    const auto attemptText = list.TakeValue("--attempt");
    const auto versionText = list.TakeValue("--pov-version");
    int templateNumber = 1, attempt = 0;
    if (!list.Error().empty() || !list.UnknownOption().empty() || list.Positional().size() != 2 ||
        !ParseInt(templateText, 1, 20, templateNumber) || !ParseInt(attemptText, 0, 3, attempt)) {
        std::cerr << (list.Error().empty() ? std::string("Aufruf: swatchcraft-cli scene ") + kUsage : list.Error())
                  << "\n";
        return 1;
    }
    const double povVersion = versionText ? LeadingNumber(*versionText) : AssumedPovVersion();
    ConsoleUserInterface ui;
    LibraryController controller(ui);
    controller.Library().SetLibraryPaths(libraryPaths);
    if (!OpenCommandLibrary(controller, list.Positional()[0])) return 1;
    const std::string& name = list.Positional()[1];
    TextureEntry* entry = FindNamed(controller.Library(), name, file.value_or(""));
    if (!entry) {
        std::cerr << "Die Textur \"" << name << "\" ist nicht in der Bibliothek.\n";
        return 1;
    }
    if (!LoadDeclaration(controller.Library(), *entry, true)) {
        std::cerr << "Die Deklaration \"" << name << "\" konnte nicht gelesen werden.\n";
        return 1;
    }
    const std::vector<std::string> box = BoxLines(*entry);
    std::string scenePath;
    if (!WriteScene(entry, &box, attempt, templateNumber - 1, povVersion, false, &scenePath)) {
        std::cerr << "Die Vorschaudateien konnten nicht erzeugt werden.\n";
        return 1;
    }
    std::cout << scenePath << "\n";
    return 0;
}

const CommandRegistration kScene("scene", kUsage, RunScene);

}  // namespace
}  // namespace sc::cli
