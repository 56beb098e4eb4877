// swatchcraft-cli: the headless front end over the Swatchcraft core.
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandHelp.h"
#include "cli/CommandRegistry.h"
#include "platform/FileSystem.h"
#include "platform/Translate.h"

int main(int argc, char** argv) {
    // The user's locale, as the window takes it: the core must read and
    // write its numbers the same way under any of them.
    std::setlocale(LC_ALL, "");
    sc::UseLanguage(sc::SystemLanguage());
    // Every file the tool writes reports a failed write; a file-size limit
    // must end in that message, not in a silent kill.
    sc::TreatFileSizeLimitAsWriteError();
    if (argc < 2) {
        sc::cli::PrintCommandList(std::cerr);
        return 1;
    }
    std::string word = argv[1];
    if (word == "--help" || word == "-h") {
        sc::cli::PrintCommandList(std::cout);
        return 0;
    }
    // As every command-line tool answers it, besides the command word.
    if (word == "--version") word = "version";
    const sc::cli::CommandInfo* command = sc::cli::FindCommand(word);
    if (!command) {
        std::cerr << sc::FillIn(sc::Tr("Unknown command \"%1\"."), {word}) << "\n";
        sc::cli::PrintCommandList(std::cerr);
        return 1;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    if (sc::cli::AsksForHelp(args)) {
        sc::cli::PrintCommandHelp(std::cout, *command);
        return 0;
    }
    return command->run(args);
}
