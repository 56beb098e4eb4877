#include "povray/PovCommandLine.h"

#include <algorithm>
#include <cerrno>

#include "platform/PathUtil.h"
#include "platform/Translate.h"

namespace sc {
namespace {

bool ContainsAny(const std::string& text, std::initializer_list<const char*> needles) {
    for (const char* needle : needles)
        if (text.find(needle) != std::string::npos) return true;
    return false;
}

// "Image file "x.jpg" not found." for the first file POV-Ray could not find; empty when none.
std::string MissingFileNote(const std::vector<std::string>& lines) {
    constexpr std::string_view kCannotFind = "Cannot find file '";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t at = lines[i].find(kCannotFind);
        if (at == std::string::npos) continue;
        // POV-Ray breaks its lines at 80 columns, a long path's in the middle.
        std::string text = lines[i].substr(at + kCannotFind.size());
        std::size_t next = i + 1;
        while (text.find('\'') == std::string::npos && next < lines.size() && next <= i + 8) text += lines[next++];
        const std::size_t end = text.find('\'');
        if (end == std::string::npos) continue;
        const std::string name = text.substr(0, end);
        // The next error line says what kind of file it was.
        const char* note = N_("File \"%1\" not found.");
        for (std::size_t j = next; j < lines.size() && j <= next + 3; ++j) {
            if (lines[j].find("image file") != std::string::npos) note = N_("Image file \"%1\" not found.");
            if (lines[j].find("font file") != std::string::npos) note = N_("Font file \"%1\" not found.");
        }
        return FillIn(Tr(note), {name});
    }
    return {};
}

}  // namespace

std::string QuotePovValue(std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos) return {};
    const char quote = value.find('"') == std::string_view::npos ? '"' : '\'';
    if (value.find(quote) != std::string_view::npos) return {};
    return quote + std::string(value) + quote;
}

std::vector<std::string> PovArguments(const std::string& scene, const std::string& options) {
    const bool ini = ToLowerAscii(ExtensionOf(scene)) == ".ini";
    const std::string sceneValue = QuotePovValue(scene);
    if (sceneValue.empty() || (ini && scene.find('[') != std::string::npos)) return {};
    std::vector<std::string> arguments;
    arguments.push_back(ini ? sceneValue : "+I" + sceneValue);
    std::string word;
    bool inWord = false;
    bool quoted = false;
    auto flush = [&] {
        if (!inWord) return;
        if (ToLowerAscii(word) == "-f") {
            // No file: the picture comes through the pipe instead.
            arguments.push_back("+FP");
            arguments.push_back("+O-");
        } else {
            arguments.push_back(word);
        }
        word.clear();
        inWord = false;
    };
    for (char c : options) {
        if (c == '"') {
            quoted = !quoted;
            word += c;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            flush();
        } else {
            word += c;
            inWord = true;
        }
    }
    flush();
    arguments.push_back("-D");
    return arguments;
}

std::string PovErrorReport(const std::string& consoleOutput) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= consoleOutput.size()) {
        std::size_t end = consoleOutput.find('\n', start);
        if (end == std::string::npos) end = consoleOutput.size();
        std::string line = consoleOutput.substr(start, end - start);
        // Progress lines overwrite themselves with carriage returns.
        const std::size_t cr = line.rfind('\r');
        if (cr != std::string::npos) line = line.substr(cr + 1);
        lines.push_back(line);
        start = end + 1;
    }
    std::string report;
    std::size_t first = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (ContainsAny(lines[i], {"Error:", "error:", "Fatal error"}) && lines[i].find("Possible") == std::string::npos) {
            first = i;
            break;
        }
    }
    if (first == lines.size()) {
        // No error line: the last lines POV-Ray wrote say the most.
        first = lines.size() > 8 ? lines.size() - 8 : 0;
    }
    for (std::size_t i = first, taken = 0; i < lines.size() && taken < 20; ++i) {
        if (lines[i].rfind("Render failed", 0) == 0) break;
        if (lines[i].empty() || lines[i].rfind("====", 0) == 0) continue;
        report += lines[i] + "\n";
        ++taken;
    }
    // POV-Ray names a file it could not find only in a "Possible Parse Error"
    // line before its fatal error, which just says "Cannot open file".
    const std::string missing = MissingFileNote(lines);
    if (!missing.empty()) report = missing + "\n" + report;
    if (ContainsAny(consoleOutput, {"I/O restriction", "IO restriction", "IO-restriction", "I/O Restriction",
                                    "Permission denied", "permission denied", "not permitted"})) {
        report += "\n";
        report += Tr("POV-Ray was not allowed to read or write a file it needs: the file lies outside the folders "
                     "POV-Ray allows in its file povray.conf.\n"
                     "Add the file's folder to the section [Permitted Paths] of the file "
                     "~/.povray/3.7/povray.conf, for example with the line\n"
                     "read* = /path/to/folder\n"
                     "or put the file into your home folder.");
    }
    return report;
}

bool PovStartLackedResources(int error) {
    return error == EMFILE || error == ENFILE || error == EAGAIN || error == ENOMEM;
}

std::string PovStartFailure(const std::string& executable, int error) {
    const char* head = N_("POV-Ray could not be started: %1");
    if (error == EMFILE || error == ENFILE)
        return FillIn(Tr(head), {Tr("the program may not open any more files (the limit of open files, \"ulimit -n\").")});
    if (error == EAGAIN || error == ENOMEM)
        return FillIn(Tr(head), {Tr("no more processes may be started, or memory is short.")});
    return FillIn(Tr(head), {executable});
}

std::string PovTimeLimitReport(int seconds) {
    return FillIn(TrN("POV-Ray had not finished the preview after %1 second and was stopped. "
                      "The declaration probably holds an endless loop.",
                      "POV-Ray had not finished the preview after %1 seconds and was stopped. "
                      "The declaration probably holds an endless loop.",
                      static_cast<unsigned long>(std::max(seconds, 0))),
                  {std::to_string(seconds)});
}

std::string PovCrashReport(int signal) {
    return FillIn(Tr("POV-Ray ended unexpectedly (signal %1)."), {std::to_string(signal)});
}

std::string PovFailureReport(const std::string& consoleOutput, int exitStatus) {
    std::string report = PovErrorReport(consoleOutput);
    if (report.empty()) report = FillIn(Tr("POV-Ray ended with status %1."), {std::to_string(exitStatus)}) + "\n";
    return report;
}

}  // namespace sc
