// The commands about the tool itself: its version and its help.
#include <iostream>

#include "cli/CommandHelp.h"
#include "cli/CommandRegistry.h"
#include "platform/Translate.h"

#ifndef SWATCHCRAFT_VERSION
#define SWATCHCRAFT_VERSION "0.1"
#endif

namespace sc::cli {
namespace {

const CommandRegistration kVersion({"version", "", N_("Prints the program's version."), {}, "version",
                                    [](std::vector<std::string>&) {
                                        std::cout << "swatchcraft-cli " SWATCHCRAFT_VERSION "\n";
                                        return 0;
                                    },
                                    false});

int RunHelp(std::vector<std::string>& args) {
    if (args.empty()) {
        PrintCommandList(std::cout);
        return 0;
    }
    if (const CommandInfo* command = FindCommand(args[0])) {
        PrintCommandHelp(std::cout, *command);
        return 0;
    }
    std::cerr << FillIn(Tr("Unknown command \"%1\"."), {args[0]}) << "\n";
    PrintCommandList(std::cerr);
    return 1;
}

const CommandRegistration kHelp({"help", N_("[COMMAND]"), N_("Lists the commands, or explains one of them."),
                                 {{N_("COMMAND"), N_("The command whose options are explained.")}}, N_("help scan"),
                                 RunHelp, false});

}  // namespace
}  // namespace sc::cli
