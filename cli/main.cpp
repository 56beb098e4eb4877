// swatchcraft-cli: the headless front end over the Swatchcraft core.
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandRegistry.h"
#include "platform/FileSystem.h"

namespace {

void PrintUsage(std::ostream& out) {
    out << "Aufruf: swatchcraft-cli BEFEHL [--library-path VERZ]... [ARGUMENTE]\n\nBefehle:\n";
    for (const auto& command : sc::cli::Commands())
        out << "  " << command.name << " " << command.usage << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    // The user's locale, as the window takes it: the core must read and
    // write its numbers the same way under any of them.
    std::setlocale(LC_ALL, "");
    // Every file the tool writes reports a failed write; a file-size limit
    // must end in that message, not in a silent kill.
    sc::TreatFileSizeLimitAsWriteError();
    if (argc < 2) {
        PrintUsage(std::cerr);
        return 1;
    }
    const std::string word = argv[1];
    if (word == "--help" || word == "-h" || word == "help") {
        PrintUsage(std::cout);
        return 0;
    }
    for (const auto& command : sc::cli::Commands()) {
        if (command.name != word) continue;
        std::vector<std::string> args(argv + 2, argv + argc);
        return command.run(args);
    }
    std::cerr << "Unbekannter Befehl \"" << word << "\".\n";
    PrintUsage(std::cerr);
    return 1;
}
