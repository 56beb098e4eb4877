#include "cli/CommandHelp.h"

#include <algorithm>

#include "platform/Translate.h"

namespace sc::cli {
namespace {

// Every command takes it; it is explained once, with each command.
const OptionHelp kLibraryPath{N_("--library-path DIR"),
                              N_("A POV-Ray library path (repeatable, in this order); without it, the paths in "
                                 "the povray.ini of the configured POV-Ray apply.")};

// Width of a text in characters (UTF-8: umlauts count once).
size_t Columns(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Rows already in the language in force.
void PrintRows(std::ostream& out, const std::vector<OptionHelp>& rows) {
    size_t width = 0;
    for (const OptionHelp& row : rows) width = std::max(width, Columns(row.option));
    for (const OptionHelp& row : rows)
        out << "  " << row.option << std::string(width - Columns(row.option) + 2, ' ') << row.text << "\n";
}

}  // namespace

void PrintCommandList(std::ostream& out) {
    out << Tr("Usage: swatchcraft-cli COMMAND [--library-path DIR]... [ARGUMENTS]\n"
              "       swatchcraft-cli COMMAND --help   (the options of a command, with an example)\n"
              "       swatchcraft-cli --version")
        << "\n\n"
        << Tr("Commands:") << "\n";
    // In the order of a day's work; commands added later come before the tool's own two.
    static const std::vector<std::string> order = {"scan", "show", "list", "merge", "picture", "scene",
                                                   "render", "overview", "export", "povray"};
    const auto rank = [](const CommandInfo& c) {
        const auto at = std::find(order.begin(), order.end(), c.name);
        if (at != order.end()) return static_cast<int>(at - order.begin());
        return c.name == "help" || c.name == "version" ? 1000 : 999;
    };
    std::vector<const CommandInfo*> commands;
    for (const CommandInfo& command : Commands()) commands.push_back(&command);
    std::stable_sort(commands.begin(), commands.end(),
                     [&](const CommandInfo* a, const CommandInfo* b) { return rank(*a) < rank(*b); });
    std::vector<OptionHelp> rows;
    for (const CommandInfo* command : commands) rows.push_back({command->name, TableText(command->summary)});
    PrintRows(out, rows);
}

std::string TableText(const std::string& text) { return text.empty() ? text : Tr(text.c_str()); }

std::string UsageLine(const std::string& name, const std::string& usage) {
    return FillIn(Tr("Usage: swatchcraft-cli %1"), {usage.empty() ? name : name + " " + TableText(usage)});
}

void PrintCommandHelp(std::ostream& out, const CommandInfo& command) {
    out << UsageLine(command.name, command.usage) << "\n\n" << TableText(command.summary) << "\n";
    std::vector<OptionHelp> rows = command.options;
    if (command.usesLibraryPaths) rows.push_back(kLibraryPath);
    for (OptionHelp& row : rows) row = {TableText(row.option), TableText(row.text)};
    if (!rows.empty()) {
        out << "\n" << Tr("Options and arguments:") << "\n";
        PrintRows(out, rows);
    }
    if (!command.example.empty())
        out << "\n" << Tr("Example:") << "\n  swatchcraft-cli " << TableText(command.example) << "\n";
}

const CommandInfo* FindCommand(const std::string& name) {
    for (const CommandInfo& command : Commands())
        if (command.name == name) return &command;
    return nullptr;
}

bool AsksForHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; });
}

}  // namespace sc::cli
