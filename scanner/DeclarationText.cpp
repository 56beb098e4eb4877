#include "scanner/DeclarationText.h"

#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "platform/PathUtil.h"
#include "scanner/PovNameText.h"

namespace sc {

std::string DeclarationBoxText(const TextureEntry& entry) {
    if (!entry.record || !entry.record->text) return entry.name.empty() ? "" : "NICHT VERFÜGBAR";
    // File names stand in comment lines that the preview scene takes over:
    // a line break in one must not end the comment.
    const std::string ownFile = PovLineText(entry.sourceFile ? entry.sourceFile->fileName : std::string());
    std::string text = "// >>> " + entry.name + " (aus Datei \"" + ownFile + "\", Zeile " +
                       std::to_string(static_cast<std::uint32_t>(entry.record->line)) + ") <<<\r\n";
    if (!entry.dependencies.empty()) {
        std::string previousFile;
        bool first = true;
        for (const DeclarationRecord* constant : entry.dependencies) {
            const std::string file = constant->HasOrigin() ? PovLineText(FileNameOf(constant->origin)) : ownFile;
            if (first || file != previousFile) text += "\r\n// Konstanten aus Datei \"" + file + "\"\r\n";
            first = false;
            previousFile = file;
            text += "#declare " + constant->name + " = " + (constant->text ? *constant->text : "NICHT GEFUNDEN") + "\r\n";
        }
        text += "\r\n";
    }
    text += "#declare " + entry.name + " = " + *entry.record->text;
    return text;
}

std::vector<std::string> DeclarationBoxLines(const TextureEntry& entry) {
    std::vector<std::string> lines;
    const std::string text = DeclarationBoxText(entry);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

}  // namespace sc
