#pragma once
// The tool's help texts, made from the command table: the list of commands
// with one line each, and one command's help with every option explained.
#include <ostream>
#include <string>

#include "cli/CommandRegistry.h"

namespace sc::cli {

// "Usage: ..." and one line per command.
void PrintCommandList(std::ostream& out);

// The usage line, the description, every option with its explanation and an example.
void PrintCommandHelp(std::ostream& out, const CommandInfo& command);

// "Usage: swatchcraft-cli NAME USAGE" in the language in force; `usage` is a
// text of the command table.
std::string UsageLine(const std::string& name, const std::string& usage);

// A text of the command table in the language in force ("" stays "").
std::string TableText(const std::string& text);

// The command named `name`, or null.
const CommandInfo* FindCommand(const std::string& name);

// True when the arguments after a command word ask for its help.
bool AsksForHelp(const std::vector<std::string>& args);

}  // namespace sc::cli
