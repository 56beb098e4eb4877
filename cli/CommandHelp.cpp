#include "cli/CommandHelp.h"

#include <algorithm>

namespace sc::cli {
namespace {

// Every command takes it; it is explained once, with each command.
const OptionHelp kLibraryPath{"--library-path VERZ",
                              "Ein Bibliothekspfad von POV-Ray (mehrfach, in dieser Reihenfolge); ohne diese "
                              "Angabe gelten die Pfade aus der povray.ini des eingestellten POV-Ray."};

// Width of a text in characters (UTF-8: umlauts count once).
size_t Columns(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

void PrintRows(std::ostream& out, const std::vector<OptionHelp>& rows) {
    size_t width = 0;
    for (const OptionHelp& row : rows) width = std::max(width, Columns(row.option));
    for (const OptionHelp& row : rows)
        out << "  " << row.option << std::string(width - Columns(row.option) + 2, ' ') << row.text << "\n";
}

}  // namespace

void PrintCommandList(std::ostream& out) {
    out << "Aufruf: swatchcraft-cli BEFEHL [--library-path VERZ]... [ARGUMENTE]\n"
           "        swatchcraft-cli BEFEHL --help   (Optionen und ein Beispiel zu einem Befehl)\n"
           "        swatchcraft-cli --version\n\nBefehle:\n";
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
    for (const CommandInfo* command : commands) rows.push_back({command->name, command->summary});
    PrintRows(out, rows);
}

void PrintCommandHelp(std::ostream& out, const CommandInfo& command) {
    out << "Aufruf: swatchcraft-cli " << command.name << (command.usage.empty() ? "" : " ") << command.usage
        << "\n\n"
        << command.summary << "\n";
    std::vector<OptionHelp> rows = command.options;
    if (command.usesLibraryPaths) rows.push_back(kLibraryPath);
    if (!rows.empty()) {
        out << "\nOptionen und Argumente:\n";
        PrintRows(out, rows);
    }
    if (!command.example.empty()) out << "\nBeispiel:\n  swatchcraft-cli " << command.example << "\n";
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
