#pragma once
// Writing overview scripts: a scene (and in 3.1 mode an include file) that
// renders pages of labelled samples of the marked entries, one page per
// animation frame, and the ini file that sets size and frame range.
#include <fstream>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "overview/OverviewOptions.h"
#include "preview/FinishColor.h"

namespace sc {

class SourceFile;
class TextureEntry;
class TextureLibrary;
class UserInterface;
struct DeclarationRecord;

// One writing run: the three paths and their streams.
struct OverviewOutput {
    std::string povPath;
    std::string incPath;
    std::string iniPath;
    std::ofstream pov;
    std::ofstream inc;  // open only in 3.1 mode
    std::ofstream ini;

    OverviewOutput();
};

class OverviewWriter {
public:
    // All three are borrowed and must outlive the writer.
    OverviewWriter(TextureLibrary& library, OverviewOptions& options, UserInterface& ui);
    virtual ~OverviewWriter() = default;

    // The entries in the order of the main window's current view; without
    // one, the library's own order stands for it.
    void SetEntryOrder(std::vector<TextureEntry*> entries) { entryOrder_ = std::move(entries); }
    // The source files at the top level of the file tree, in tree order.
    void SetFileOrder(std::vector<SourceFile*> files) { fileOrder_ = std::move(files); }
    // How an entry's declaration is loaded (defaults to LoadDeclaration with force).
    void SetDeclarationLoader(std::function<bool(TextureEntry&)> loader) { loader_ = std::move(loader); }
    // The colour finishes are shown on: the settings' FinishColor (white
    // when not set).
    void SetFinishColor(const FinishColor& color) { finishColor_ = color; }
    // Called when the validation changed the number of entries (page-count line).
    void SetPageCountChanged(std::function<void()> callback) { pageCountChanged_ = std::move(callback); }

    // Writes BASE.pov, BASE.inc (3.1 mode) and BASE.ini into `directory`
    // (BASE is "SamplesPreview" in preview mode). On failure or cancel the
    // output files are deleted and false is returned.
    bool WriteOverviewFiles(const std::string& directory);

    // Creates the three files, asking before overwriting (never in preview
    // mode). False after No or when a file cannot be created (with its
    // message); files created so far are deleted then.
    bool OpenOverviewFiles(const std::string& povPath, const std::string& incPath, const std::string& iniPath,
                           OverviewOutput& output);

    // Validates and writes everything into open files; false when nothing
    // was left, a file vanished, or the user cancelled.
    bool WriteOverview(OverviewOutput& output);

    // Decides which marked entries are written, asking about unusable ones.
    // Returns the number left; 0 when cancelled; without work, 1 (0 when
    // none is left) when a pass already completed in the same mode.
    int ValidateTextures();

    // The base name of the files in this run.
    std::string BaseName() const;

private:
    struct Pages {
        int x = 1, y = 1;
        unsigned pages = 0;
    };

    std::vector<TextureEntry*> Entries() const;
    std::vector<SourceFile*> Files() const;
    bool LoadEntry(TextureEntry& entry);
    void Drop(TextureEntry& entry);
    bool IsBorrowed(const DeclarationRecord* record);
    bool IncludeNamesWritable(const TextureEntry& entry);
    bool Aborted();

    void WriteHeaderComment(std::ostream& out, const std::string& prefix, bool iniFile);
    void WriteColorIncludes(std::ostream& out);
    bool WriteBuiltInScene(OverviewOutput& output);
    bool WriteTemplateScene(OverviewOutput& output);
    bool WriteSelection(OverviewOutput& output, const std::string& indent);
    void WriteCase30(std::ostream& out, const std::string& indent, const TextureEntry& entry, unsigned n);
    void WriteDeclaration31(std::ostream& out, TextureEntry& entry, unsigned k);
    void WriteOverviewIni(std::ostream& out);
    void WriteSampleObject(std::ostream& out);
    std::string TextureLine(const TextureEntry& entry) const;
    std::string MaterialBody(const TextureEntry& entry) const;
    std::string Label(const TextureEntry& entry) const;

    TextureLibrary& library_;
    OverviewOptions& options_;
    UserInterface& ui_;
    std::vector<TextureEntry*> entryOrder_;
    std::vector<SourceFile*> fileOrder_;
    std::function<bool(TextureEntry&)> loader_;
    std::function<void()> pageCountChanged_;
    FinishColor finishColor_;
    Pages layout_;
    std::unordered_set<const DeclarationRecord*> borrowed_;
    bool borrowedKnown_ = false;
};

// The kind letter shown before a label ("M:", "T:", "P:", "C:", "F:"; none
// for other kinds).
std::string KindLetter(int kind);

}  // namespace sc
