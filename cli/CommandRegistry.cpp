#include "cli/CommandRegistry.h"

namespace sc::cli {

std::vector<CommandInfo>& Commands() {
    static std::vector<CommandInfo> commands;
    return commands;
}

CommandRegistration::CommandRegistration(CommandInfo info) { Commands().push_back(std::move(info)); }

CommandRegistration::CommandRegistration(std::string name, std::string usage, CommandFunction run) {
    Commands().push_back({std::move(name), std::move(usage), {}, {}, {}, std::move(run)});
}

}  // namespace sc::cli
