// The tool explains itself: one line per command, every option of a command
// with an example, and the manual page and the shell completion naming the
// same commands and options as the help does.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <set>

#include "TestEnvironment.h"

namespace sc {
namespace {

using test::RunCommand;

std::string Cli(const std::string& arguments) { return test::BinaryDir() + "/swatchcraft-cli " + arguments; }

// The command words of the command list ("  name  description").
std::vector<std::string> CommandWords(const std::string& list, const std::string& start = "Befehle:\n") {
    std::vector<std::string> words;
    std::istringstream lines(list.substr(list.find(start) + start.size()));
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        EXPECT_TRUE(std::regex_match(line, match, std::regex("  ([a-z]+)  +(\\S.*)"))) << line;
        if (match.empty()) continue;
        words.push_back(match[1]);
    }
    return words;
}

// The options ("--name" or "-o") a command's help explains in its own rows.
std::set<std::string> ExplainedOptions(const std::string& help) {
    std::set<std::string> options;
    const std::regex row("\n  (-[-a-z]+)[^\n]*  +\\S");
    for (auto it = std::sregex_iterator(help.begin(), help.end(), row); it != std::sregex_iterator(); ++it)
        if ((*it)[1] != "--library-path") options.insert((*it)[1]);
    return options;
}

TEST(HelpCommandTest, EveryCommandHasALineAndEveryOptionItsExplanationAnExampleTheManPageAndTheCompletion) {
    std::string list;
    ASSERT_EQ(RunCommand(Cli("--help"), &list), 0);
    const std::vector<std::string> words = CommandWords(list);
    for (const char* expected : {"scan", "show", "list", "merge", "picture", "scene", "overview", "render", "povray"})
        EXPECT_NE(std::find(words.begin(), words.end(), expected), words.end()) << expected;

    const std::string man = test::ReadFile(std::string(SWATCHCRAFT_SOURCE_DIR) + "/packaging/man/swatchcraft-cli.1");
    const std::string completion =
        test::ReadFile(std::string(SWATCHCRAFT_SOURCE_DIR) + "/packaging/swatchcraft-cli.bash-completion");
    const auto manHas = [&](std::string word) {
        for (size_t at = 0; (at = word.find('-', at)) != std::string::npos; at += 2) word.insert(at, "\\");
        return man.find(word) != std::string::npos;
    };
    for (const std::string& word : words) {
        std::string help, again;
        ASSERT_EQ(RunCommand(Cli(word + " --help"), &help), 0) << word;
        ASSERT_EQ(RunCommand(Cli("help " + word), &again), 0) << word;
        EXPECT_EQ(help, again);
        EXPECT_EQ(help.rfind("Aufruf: swatchcraft-cli " + word, 0), 0u) << help;
        // The example is a call of this very command.
        EXPECT_NE(help.find("\nBeispiel:\n  swatchcraft-cli " + word), std::string::npos) << help;
        // Every option of the usage line has its row.
        const std::string usage = help.substr(0, help.find('\n'));
        const std::set<std::string> explained = ExplainedOptions(help);
        const std::regex option("(--[a-z-]+|-o)\\b");
        for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option); it != std::sregex_iterator(); ++it)
            EXPECT_TRUE(explained.count((*it)[1])) << word << " " << (*it)[1] << "\n" << help;
        EXPECT_TRUE(manHas(word)) << word;
        EXPECT_NE(completion.find(word), std::string::npos) << word;
        // The completion's branch of this command ("        word) ... ;;") offers each option.
        const size_t branch = completion.find("\n        " + word + ")");
        const std::string offered =
            branch == std::string::npos ? "" : completion.substr(branch, completion.find(";;", branch) - branch);
        for (const std::string& o : explained) {
            EXPECT_TRUE(manHas(o)) << word << " " << o;
            EXPECT_NE(offered.find(" " + o), std::string::npos) << word << " " << o;
        }
    }

    // The conventions of every command-line tool: -h, --help and --version answer on standard output.
    std::string shortHelp, version, versionWord;
    ASSERT_EQ(RunCommand(Cli("-h"), &shortHelp), 0);
    EXPECT_EQ(shortHelp, list);
    ASSERT_EQ(RunCommand(Cli("--version 2>/dev/null"), &version), 0);
    EXPECT_TRUE(std::regex_match(version, std::regex("swatchcraft-cli [0-9]+\\.[0-9]+(\\.[0-9]+)?\n"))) << version;
    ASSERT_EQ(RunCommand(Cli("version"), &versionWord), 0);
    EXPECT_EQ(version, versionWord);
    EXPECT_NE(list.find("swatchcraft-cli --version"), std::string::npos);
    EXPECT_NE(completion.find("--version"), std::string::npos);

    std::string error;
    EXPECT_EQ(RunCommand(Cli("frobnicate 2>&1"), &error), 1);
    EXPECT_NE(error.find("Unbekannter Befehl \"frobnicate\""), std::string::npos);
}

// Under an English locale the tool speaks English everywhere: the command
// list, every command's help and its errors.
TEST(HelpCommandTest, AnEnglishLocaleGetsEnglishHelpAndErrors) {
    const std::string english = "env LANGUAGE= LC_ALL=C.UTF-8 ";
    std::string list;
    ASSERT_EQ(RunCommand(english + Cli("--help"), &list), 0);
    EXPECT_NE(list.find("Usage: swatchcraft-cli COMMAND"), std::string::npos) << list;
    const std::regex german("[äöüÄÖÜß]|Aufruf|Befehl|Beispiel|Datei|Verz|Liste|Bibliothek|Vorgabe");
    std::string all = list;
    for (const std::string& word : CommandWords(list, "Commands:\n")) {
        std::string help;
        ASSERT_EQ(RunCommand(english + Cli(word + " --help"), &help), 0) << word;
        EXPECT_EQ(help.rfind("Usage: swatchcraft-cli " + word, 0), 0u) << help;
        all += help;
    }
    std::string error;
    EXPECT_EQ(RunCommand(english + Cli("frobnicate 2>&1"), &error), 1);
    EXPECT_NE(error.find("Unknown command \"frobnicate\""), std::string::npos) << error;
    all += error;
    std::smatch found;
    EXPECT_FALSE(std::regex_search(all, found, german)) << found.str(0) << "\n" << all;
}

}  // namespace
}  // namespace sc
