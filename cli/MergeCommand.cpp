// swatchcraft-cli merge A.swl B.swl ... -o OUT.swl: several list files merged
// in add mode into one; pictures are taken over only by entries without one.
#include <iostream>

#include "cli/ArgumentList.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileLock.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"

namespace sc::cli {
namespace {

int RunMerge(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    const auto output = list.TakeValue("-o");
    if (!list.Error().empty() || !list.UnknownOption().empty() || !output ||
        list.Positional().empty()) {
        std::cerr << (list.Error().empty()
                          ? "Aufruf: swatchcraft-cli merge A.swl B.swl ... -o ZIEL.swl"
                          : list.Error())
                  << "\n";
        return 1;
    }
    FileLock lock;
    if (!LockListFile(lock, *output)) return 1;
    ConsoleUserInterface ui;
    LibraryController controller(ui);
    controller.SetDeclarations(&ReaderDeclarations());
    controller.SetPictureCheck(&CodecPictureCheck());
    controller.Library().SetLibraryPaths(libraryPaths);
    std::string povHome;
    for (const std::string& input : list.Positional()) {
        std::string home;
        if (!LoadLibraryReporting(controller, input, true, &home)) return 1;
        if (povHome.empty()) povHome = home;
    }
    if (!SaveLibraryReporting(controller, *output, povHome)) return 1;
    std::cout << controller.EntryCount() << " Einträge in \"" << *output << "\" gespeichert.\n";
    return 0;
}

const CommandRegistration kMerge({"merge", "A.swl B.swl ... -o ZIEL.swl",
                                  "Fügt mehrere Listendateien zu einer zusammen.",
                                  {{"A.swl B.swl ...", "Die Listendateien, in dieser Reihenfolge gelesen."},
                                   {"-o ZIEL.swl", "Die Listendatei, in die alle Einträge geschrieben werden."}},
                                  "merge holz.swl stein.swl -o alles.swl", RunMerge});

}  // namespace
}  // namespace sc::cli
