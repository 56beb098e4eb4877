#include "scanner/DeclarationText.h"

#include <set>

#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "scanner/PovNameText.h"

namespace sc {

std::string DependencyLine(const DeclarationRecord& constant) {
    if (constant.IsInclude() && constant.foundElsewhere)
        return "#include \"" + PovIncludeNameText(constant.origin) + "\"";
    return "#declare " + constant.name + " = " + (constant.text ? *constant.text : NotFoundText());
}

std::string NotFoundText() { return Tr("NOT FOUND"); }

std::string NotAvailableText() { return Tr("NOT AVAILABLE"); }

std::string ConstantsFromFileText(const std::string& file) { return FillIn(Tr("Constants from file \"%1\""), {file}); }

std::string DeclarationBoxText(const TextureEntry& entry) {
    if (!entry.record || !entry.record->text) return entry.IsFileNode() ? "" : NotAvailableText();
    // File names stand in comment lines that the preview scene takes over:
    // a line break in one must not end the comment.
    const std::string ownFile = PovLineText(entry.sourceFile ? entry.sourceFile->fileName : std::string());
    std::string text =
        "// >>> " +
        FillIn(Tr("%1 (from file \"%2\", line %3)"),
               {entry.name, ownFile, std::to_string(static_cast<std::uint32_t>(entry.record->line))}) +
        " <<<\r\n";
    if (!entry.dependencies.empty()) {
        std::string previousFile;
        bool first = true;
        std::set<std::string> included;
        for (const DeclarationRecord* constant : entry.dependencies) {
            const std::string file = constant->HasOrigin() ? PovLineText(FileNameOf(constant->origin)) : ownFile;
            if (constant->foundElsewhere) {
                // Each constant from beyond the file's own reach names its file.
                if (constant->IsInclude() && !included.insert(constant->origin).second) continue;
                text += "\r\n// " + FillIn(Tr("Constant from file \"%1\""), {file}) + "\r\n";
                text += DependencyLine(*constant) + "\r\n";
                first = true;
                continue;
            }
            if (first || file != previousFile) text += "\r\n// " + ConstantsFromFileText(file) + "\r\n";
            first = false;
            previousFile = file;
            text += DependencyLine(*constant) + "\r\n";
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
