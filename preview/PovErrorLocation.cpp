#include "preview/PovErrorLocation.h"

#include <regex>
#include <sstream>
#include <vector>

#include "platform/PathUtil.h"
#include "platform/Translate.h"

namespace sc {
namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

PovErrorLocation LocatePovError(const std::string& report, const std::string& sceneFile, int linesBefore,
                                int boxLineCount) {
    static const std::regex located(R"(^File '(.*)' line (\d+): *(.*)$)");
    PovErrorLocation location;
    const std::vector<std::string> lines = LinesOf(report);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::smatch match;
        if (!std::regex_match(lines[i], match, located)) continue;
        if (match[3].str().find("Error") == std::string::npos) continue;  // a warning before the error
        location.file = match[1].str();
        location.sceneLine = std::stoi(match[2].str().substr(0, 9));
        location.message = Trimmed(match[3].str());
        // POV-Ray wraps long messages onto lines that begin with a space.
        for (std::size_t j = i + 1; j < lines.size() && !lines[j].empty() && lines[j][0] == ' '; ++j)
            location.message.append(1, ' ').append(Trimmed(lines[j]));
        std::string directory, name, sceneName;
        SplitPath(location.file, directory, name);
        SplitPath(sceneFile, directory, sceneName);
        const int boxLine = location.sceneLine - linesBefore;
        if (name == sceneName && boxLine >= 1 && boxLine <= boxLineCount) location.boxLine = boxLine;
        location.afterBox = name == sceneName && boxLine > boxLineCount;
        return location;
    }
    location.message = Trimmed(report);
    return location;
}

std::string PovErrorLocation::Text() const {
    if (boxLine > 0) return FillIn(Tr("Line %1: %2"), {std::to_string(boxLine), message});
    // Past the box's end POV-Ray noticed what the declaration left open.
    if (afterBox) return FillIn(Tr("After the last line: %1"), {message});
    if (sceneLine > 0) return FillIn(Tr("In %1, line %2: %3"), {file, std::to_string(sceneLine), message});
    return message;
}

}  // namespace sc
