#pragma once
// A library of hand-made entries for the overview tests: declaration texts
// and dependencies are filled in directly, so no include file is read.
#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "TestEnvironment.h"
#include "library/DeclarationRecord.h"
#include "library/EntryKind.h"
#include "library/TextureEntry.h"
#include "library/TextureLibrary.h"
#include "overview/OverviewOptions.h"
#include "overview/OverviewWriter.h"

namespace sc::test {

class OverviewFixture {
public:
    OverviewFixture() {
        options.Directory = out.Path();
        options.Name = "sheet";
        options.WriteTextures = true;
        options.Type = 1;
        options.samplesPerPage = 12;
        options.fontPath = "courbd.ttf";
    }

    // Adds a marked entry with a declaration text in file `file`.
    TextureEntry* Add(const std::string& name, int kind, const std::string& text = "texture { pigment { Red } }",
                      const std::string& file = "my.inc") {
        const EntryColor red{1, 0, 0};
        TextureEntry* entry = library.AddEntry("/lib/", file, name, kind, "", 0, &red);
        records.push_back(DeclarationRecord{});
        records.back().name = name;
        records.back().text = text;
        entry->record = &records.back();
        entry->marked = true;
        ++options.texturesCount;
        return entry;
    }

    // A dependency record (constant) with an origin file and value text.
    DeclarationRecord* Constant(const std::string& name, const std::string& origin, const char* text = "1") {
        records.push_back(DeclarationRecord{});
        records.back().name = name;
        records.back().origin = origin;
        if (text) records.back().text = text;
        return &records.back();
    }

    std::unique_ptr<OverviewWriter> Writer() {
        auto writer = std::make_unique<OverviewWriter>(library, options, ui);
        writer->SetDeclarationLoader([](TextureEntry& entry) { return entry.record != nullptr; });
        writer->SetFinishColor(FinishColor{});
        return writer;
    }

    bool Write() { return Writer()->WriteOverviewFiles(WithSlash()); }
    std::string WithSlash() const { return out.Path() + "/"; }
    std::string File(const std::string& extension) const { return ReadFile(out / ("sheet" + extension)); }

    TempDir out;
    TextureLibrary library;
    OverviewOptions options;
    RecordingUserInterface ui;
    std::deque<DeclarationRecord> records;
};

// True when `lines` holds `wanted` as consecutive lines.
inline bool HasRun(const std::vector<std::string>& lines, const std::vector<std::string>& wanted) {
    return std::search(lines.begin(), lines.end(), wanted.begin(), wanted.end()) != lines.end();
}

}  // namespace sc::test
