#pragma once
// The command table of swatchcraft-cli. Each command file registers itself
// with a static CommandRegistration.
#include <functional>
#include <string>
#include <vector>

namespace sc::cli {

// A command gets the arguments after its command word and returns the exit status.
using CommandFunction = std::function<int(std::vector<std::string>& args)>;

struct CommandInfo {
    std::string name;
    std::string usage;  // one line: arguments after the command word
    CommandFunction run;
};

// All registered commands, in registration order.
std::vector<CommandInfo>& Commands();

struct CommandRegistration {
    CommandRegistration(std::string name, std::string usage, CommandFunction run);
};

}  // namespace sc::cli
