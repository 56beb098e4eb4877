#pragma once
// The command table of swatchcraft-cli. Each command file registers itself
// with a static CommandRegistration: one entry holds the command's word,
// its arguments, its one-line description, every option explained and an
// example, so that the help, the manual page and the completion have one
// place to follow.
#include <functional>
#include <string>
#include <vector>

namespace sc::cli {

// A command gets the arguments after its command word and returns the exit status.
using CommandFunction = std::function<int(std::vector<std::string>& args)>;

// The texts of the table are the English ones, marked with N_: the table is
// filled before a language is in force, so they are translated where printed.

// One option or argument of a command and what it does.
struct OptionHelp {
    std::string option;  // as written: "--kinds mtpcfn", "-o LIST.swl", "PATH..."
    std::string text;    // one sentence
};

struct CommandInfo {
    std::string name;
    std::string usage;    // one line: arguments after the command word
    std::string summary;  // one line for the command list
    std::vector<OptionHelp> options;
    std::string example;  // a complete call after "swatchcraft-cli "
    CommandFunction run;
    bool usesLibraryPaths = true;  // takes the common --library-path
};

// All registered commands, in registration order.
std::vector<CommandInfo>& Commands();

struct CommandRegistration {
    explicit CommandRegistration(CommandInfo info);
    // A command without its help rows (the help test names every such one).
    CommandRegistration(std::string name, std::string usage, CommandFunction run);
};

}  // namespace sc::cli
