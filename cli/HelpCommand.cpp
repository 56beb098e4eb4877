#include <iostream>

#include "cli/CommandRegistry.h"

namespace sc::cli {
namespace {

const CommandRegistration kVersion("version", "", [](std::vector<std::string>&) {
    std::cout << "swatchcraft-cli 0.1\n";
    return 0;
});

}  // namespace
}  // namespace sc::cli
