// swatchcraft-cli merge A.swl B.swl ... -o OUT.swl: several list files merged
// in add mode into one; pictures are taken over only by entries without one.
#include <iostream>

#include "cli/ArgumentList.h"
#include "cli/CommandHelp.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileLock.h"
#include "platform/Translate.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"

namespace sc::cli {
namespace {

constexpr const char* kUsage = N_("A.swl B.swl ... -o TARGET.swl");

int RunMerge(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    const auto output = list.TakeValue("-o");
    if (!list.Error().empty() || !list.UnknownOption().empty() || !output ||
        list.Positional().empty()) {
        std::cerr << (list.Error().empty() ? UsageLine("merge", kUsage) : list.Error()) << "\n";
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
    const auto count = static_cast<unsigned long>(controller.EntryCount());
    std::cout << FillIn(TrN("%1 entry saved in \"%2\".", "%1 entries saved in \"%2\".", count),
                        {std::to_string(count), *output})
              << "\n";
    return 0;
}

const CommandRegistration kMerge({"merge", kUsage, N_("Merges several list files into one."),
                                  {{"A.swl B.swl ...", N_("The list files, read in this order.")},
                                   {N_("-o TARGET.swl"), N_("The list file that receives every entry.")}},
                                  N_("merge wood.swl stone.swl -o all.swl"), RunMerge});

}  // namespace
}  // namespace sc::cli
