// Arbitrary bytes through both recogniser variants, the declaration reader
// and, written to a file, the whole load with dependencies and colours.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "library/TextureLibrary.h"
#include "platform/FileSystem.h"
#include "scanner/ColorEvaluator.h"
#include "scanner/DeclarationBody.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationScanner.h"
#include "scanner/DeclarationText.h"
#include "scanner/LineReader.h"

namespace {

// Never destroyed: the clean-up at exit still needs the path.
const std::string& WorkDirectory() {
    static const std::string* dir = [] {
        std::string pattern = "/tmp/swatchcraft-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        auto* path = new std::string(pattern + "/");
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(WorkDirectory(), ec);
        });
        return path;
    }();
    return *dir;
}

class Hooks : public sc::SearchScanHooks {
public:
    void IncludeFound(const std::string&, const std::string& fileName, int*) override { includes += fileName.size(); }
    size_t includes = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string path = WorkDirectory() + "fuzz.inc";

    sc::ScanStream index(sc::kIndexLineCapacity);
    index.reader.OpenMemory(text);
    std::string name;
    std::int64_t offset = 0;
    std::int32_t line = 0;
    std::vector<std::pair<std::string, int>> names;
    int kind;
    while ((kind = sc::ScanDeclarations(index, name, offset, line)) != sc::kScanEnd) {
        if (offset < 0 || offset > static_cast<std::int64_t>(size)) std::abort();
        if (kind != sc::kScanInclude && names.size() < 16) names.emplace_back(name, kind);
        sc::LineReader body(sc::kIndexLineCapacity);
        body.OpenMemory(text, offset);
        std::string value;
        sc::ReadDeclarationBody(body, path, {}, value, nullptr);
    }

    sc::ScanStream search(sc::kSearchLineCapacity);
    search.reader.OpenMemory(text);
    Hooks hooks;
    int counter = 0;
    while (sc::ScanDeclarationsForSearch(&path, search, &name, &counter, true, hooks) != sc::kScanEnd) {
    }

    if (!sc::WriteFileAtomically(path, text)) return 0;
    sc::TextureLibrary library;
    library.SetLibraryPaths({WorkDirectory()});
    for (const auto& [entryName, entryKind] : names) {
        if (entryName.empty()) continue;
        sc::TextureEntry* entry = library.AddEntry(WorkDirectory(), "fuzz.inc", entryName, entryKind, {}, 0, nullptr);
        sc::LoadDeclaration(library, *entry, true);
        sc::DeclarationCrc(*entry);
        sc::DeclarationBoxText(*entry);
        sc::EntryColor color;
        if (entry->record && entry->record->text)
            sc::EvaluateColor(*entry, *entry->record->text, static_cast<int>(entry->dependencies.size()) - 1, color);
    }
    return 0;
}
