// The commands about the tool itself: its version and its help.
#include <iostream>

#include "cli/CommandHelp.h"
#include "cli/CommandRegistry.h"

#ifndef SWATCHCRAFT_VERSION
#define SWATCHCRAFT_VERSION "0.1"
#endif

namespace sc::cli {
namespace {

const CommandRegistration kVersion({"version", "", "Gibt die Version des Programms aus.", {}, "version",
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
    std::cerr << "Unbekannter Befehl \"" << args[0] << "\".\n";
    PrintCommandList(std::cerr);
    return 1;
}

const CommandRegistration kHelp({"help", "[BEFEHL]", "Zeigt die Befehle oder die Hilfe zu einem Befehl.",
                                 {{"BEFEHL", "Der Befehl, dessen Optionen erklärt werden sollen."}}, "help scan",
                                 RunHelp, false});

}  // namespace
}  // namespace sc::cli
