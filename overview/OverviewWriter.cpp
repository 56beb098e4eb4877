#include "overview/OverviewWriter.h"

#include <chrono>
#include <ctime>
#include <random>

#include "library/DeclarationRecord.h"
#include "library/EntryKind.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "library/TextureLibrary.h"
#include "overview/OverviewSettings.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "platform/UserInterface.h"
#include "preview/FinishColor.h"
#include "preview/PovText.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"
#include "scanner/PovNameText.h"

namespace sc {
namespace {

const char* const kStars74 = " **************************************************************************";
const char* const kStars53 = "// *****************************************************";
const char* const kStars46 = "// **********************************************";
// Comments for people: written in the language in force.
std::string Inserted() { return std::string("// ") + Tr("The following code was inserted by Swatchcraft"); }
std::string InsertedEnd() { return std::string("// ") + Tr("End of the code inserted by Swatchcraft"); }
const char* const kMarker = "#include swatchcraft";

// A POV-Ray concat(...) of a text for people, in which %1, %2 ... stand for
// the POV-Ray expressions given; `escapes` (POV-Ray's own, such as \n) end
// the last piece of text.
std::string PovConcat(std::string_view text, std::initializer_list<std::string_view> expressions,
                      std::string_view escapes = {}) {
    std::string out = "concat(";
    std::string piece;
    const auto put = [&out](std::string_view part) {
        if (out.back() != '(') out += ", ";
        out += part;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t n = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '1') : expressions.size();
        if (text[i] != '%' || n >= expressions.size()) {
            piece += text[i];
            continue;
        }
        if (!piece.empty()) put("\"" + PovStringText(piece) + "\"");
        put(expressions.begin()[n]);
        piece.clear();
        ++i;
    }
    if (!piece.empty() || !escapes.empty()) put("\"" + PovStringText(piece) + std::string(escapes) + "\"");
    return out + ")";
}

// %1 the texture's name, %2 its file; translated where shown.
const char* const kText31Refused =
    N_("The texture \"%1\" holds keywords that POV-Ray 3.1 does not accept (e.g. \"halo\" or \"atmosphere\").");
const char* const kTextNeeds31 =
    N_("The texture \"%1\" holds keywords that only POV-Ray 3.1 and later accept (e.g. \"media\" or "
       "\"interior\").");
const char* const kTextUnwritableName =
    N_("The texture \"%1\" is in the file \"%2\", whose name holds a line break or \"\\\" and so cannot be "
       "written into a POV-Ray file.");
const char* const kTextUnreadable =
    N_("The texture \"%1\" or one of its parts could not be read from the file \"%2\", or the texture has already "
       "caused a render error...");

// Buttons of the two question dialogs, in the order the answers are indexed.
enum WarningButton { kWeiter, kAlleWeiter, kWarnAuslassen, kWarnAlleAuslassen, kWarnAbbrechen };
enum ErrorButton { kAuslassen, kAlleAuslassen, kAbbrechen };

std::string Num(double value) { return FormatGeneral(value); }
std::string Num(unsigned value) { return std::to_string(value); }

int ErrorDialog(UserInterface& ui, const char* format, const std::string& name, const std::string& file) {
    const int answer = ui.Choose(FillIn(Tr(format), {name, file}), {Tr("&Skip"), Tr("Skip &All"), Tr("Cancel")},
                                 kAuslassen, MessageIcon::Stop, Tr("Error"));
    return answer < 0 ? kAbbrechen : answer;
}

int WarningDialog(UserInterface& ui, const char* format, const std::string& name, const std::string& file) {
    const int answer =
        ui.Choose(FillIn(Tr(format), {name, file}),
                  {Tr("&Continue"), Tr("C&ontinue All"), Tr("&Skip"), Tr("Skip &All"), Tr("Cancel")}, kWarnAuslassen,
                  MessageIcon::Exclamation, Tr("Warning"));
    return answer < 0 ? kWarnAbbrechen : answer;
}

std::string FileOf(const TextureEntry& entry) { return entry.sourceFile ? entry.sourceFile->fileName : std::string(); }
std::string DirOf(const TextureEntry& entry) { return entry.sourceFile ? entry.sourceFile->directory : std::string(); }
std::string IncludeNameOf(const TextureEntry& entry, bool withPath) {
    return (withPath ? DirOf(entry) : std::string()) + FileOf(entry);
}

// Copies template lines until (not including) a marker line; true when a
// marker ended the copy.
bool CopyTemplateUntilMarker(std::istream& in, std::ostream& out) {
    std::string line;
    while (std::getline(in, line)) {
        line = WithoutLineEnd(line);
        if (ToLowerAscii(line).find(kMarker) != std::string::npos) return true;
        PutLine(out, line);
    }
    return false;
}

// Every CR LF of a declaration block becomes a line break followed by two
// tabs, so continuation lines keep the indentation.
std::string Reindent(const std::string& block) {
    std::string result;
    for (size_t i = 0; i < block.size(); ++i) {
        if (block[i] == '\r' && i + 1 < block.size() && block[i + 1] == '\n') {
            result += "\n\t\t";
            ++i;
        } else {
            result += block[i];
        }
    }
    return result;
}

std::string LocalTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%d.%m.%Y %H:%Mh", &local);
    return buffer;
}

}  // namespace

std::string KindLetter(int kind) {
    switch (kind) {
        case kKindMaterial: return "M:";
        case kKindTexture: return "T:";
        case kKindPigment: return "P:";
        case kKindColor: return "C:";
        case kKindFinish: return "F:";
        default: return {};
    }
}

OverviewWriter::OverviewWriter(TextureLibrary& library, OverviewOptions& options, UserInterface& ui)
    : library_(library), options_(options), ui_(ui) {}

std::string OverviewWriter::BaseName() const {
    if (options_.previewMode) return "SamplesPreview";
    std::string base = FileNameOf(options_.Name);
    return base;
}

std::vector<TextureEntry*> OverviewWriter::Entries() const {
    if (!entryOrder_.empty()) return entryOrder_;
    std::vector<TextureEntry*> entries;
    for (TextureEntry* e = library_.NextEntry(nullptr); e; e = library_.NextEntry(e)) entries.push_back(e);
    return entries;
}

std::vector<SourceFile*> OverviewWriter::Files() const {
    if (!fileOrder_.empty()) return fileOrder_;
    std::vector<SourceFile*> files;
    for (SourceFile* f = library_.NextFile(nullptr); f; f = library_.NextFile(f)) files.push_back(f);
    return files;
}

bool OverviewWriter::LoadEntry(TextureEntry& entry) {
    if (loader_) return loader_(entry);
    return LoadDeclaration(library_, entry, true);
}

bool OverviewWriter::Aborted() {
    if (ui_.IsCancelled()) options_.abortRequested = true;
    return options_.abortRequested;
}

// A dependency is borrowed when its record lives in a scanned include file
// of the library's cache rather than in the entry's own file index.
bool OverviewWriter::IsBorrowed(const DeclarationRecord* record) {
    if (!borrowedKnown_) {
        for (const auto& index : library_.IncludeCache())
            for (const auto& r : index->records) borrowed_.insert(&r);
        borrowedKnown_ = true;
    }
    return borrowed_.count(record) != 0;
}

// The scene of the 3.0 mode names the entry's own file and the files its
// borrowed constants come from in #include lines.
bool OverviewWriter::IncludeNamesWritable(const TextureEntry& entry) {
    if (!PovIncludeNameWritable(IncludeNameOf(entry, options_.WritePaths))) return false;
    for (const DeclarationRecord* dependency : entry.dependencies)
        if (dependency && dependency->HasOrigin() && IsBorrowed(dependency) &&
            !PovIncludeNameWritable(FileNameOf(dependency->origin)))
            return false;
    return true;
}

void OverviewWriter::Drop(TextureEntry& entry) {
    entry.marked = false;
    entry.overviewDropped = true;
    ++options_.droppedCount;
    if (options_.texturesCount > 0) --options_.texturesCount;
}

int OverviewWriter::ValidateTextures() {
    const int mode = options_.WriteTextures ? 1 : 0;
    if (options_.validatedMode < 0) options_.validatedMode = mode;
    // Nothing left from the completed pass means nothing to write, not one entry.
    if (options_.validated && mode == options_.validatedMode) return options_.texturesCount > 0 ? 1 : 0;

    const std::vector<TextureEntry*> entries = Entries();
    for (TextureEntry* entry : entries) {
        if (!entry->overviewDropped) continue;
        entry->overviewDropped = false;
        entry->marked = true;
    }
    options_.droppedCount = 0;
    options_.validated = false;
    options_.validatedMode = mode;
    // Counted afresh: entries dropped by an earlier pass are offered again,
    // so a count lowered by that pass would be lowered twice.
    unsigned markedAtStart = 0;
    for (const TextureEntry* entry : entries)
        if (entry->marked) ++markedAtStart;
    options_.texturesCount = markedAtStart;

    bool skipAllVersion = false, skipAllRead = false, allContinue = false;
    unsigned running = 0;
    for (TextureEntry* entry : entries) {
        if (!entry->marked) continue;
        if (Aborted()) return 0;
        ++running;
        ui_.SetStatusText(
            FillIn(Tr("Reading textures... (%1/%2)"), {std::to_string(running), std::to_string(markedAtStart)}));
        const bool loaded = LoadEntry(*entry);
        const std::string& name = entry->name;
        const std::string file = FileOf(*entry);
        bool keep = false;
        if (mode == 0 && loaded && !IncludeNamesWritable(*entry)) {
            if (!skipAllRead) {
                const int answer = ErrorDialog(ui_, kTextUnwritableName, name, PovLineText(file));
                if (answer == kAbbrechen) return 0;
                if (answer == kAlleAuslassen) skipAllRead = true;
            }
        } else if (mode == 1 && loaded && !entry->acceptedBy31) {
            if (!skipAllVersion) {
                const int answer = ErrorDialog(ui_, kText31Refused, name, file);
                if (answer == kAbbrechen) return 0;
                if (answer == kAlleAuslassen) skipAllVersion = true;
            }
        } else if (mode == 0 && loaded && !entry->acceptedBy30 && !allContinue) {
            if (!skipAllVersion) {
                const int answer = WarningDialog(ui_, kTextNeeds31, name, file);
                if (answer == kWarnAbbrechen) return 0;
                if (answer == kAlleWeiter) allContinue = true;
                if (answer == kWeiter || answer == kAlleWeiter) keep = true;
                if (answer == kWarnAlleAuslassen) skipAllVersion = true;
            }
        } else {
            bool good = loaded && !entry->previewFaulty && !entry->missingFiles;
            for (const DeclarationRecord* dependency : entry->dependencies)
                if (!dependency || !dependency->text) good = false;
            keep = good;
            if (!good && !skipAllRead) {
                const int answer = ErrorDialog(ui_, kTextUnreadable, name, file);
                if (answer == kAbbrechen) return 0;
                if (answer == kAlleAuslassen) skipAllRead = true;
            }
        }
        if (!keep) Drop(*entry);
        ui_.StepProgress();
    }
    options_.validated = true;
    ui_.SetProgressPosition(0);
    ui_.SetProgressRange(static_cast<int>(options_.texturesCount));
    if (pageCountChanged_) pageCountChanged_();
    return static_cast<int>(options_.texturesCount);
}

OverviewOutput::OverviewOutput() {
    for (std::ofstream* stream : {&pov, &inc, &ini}) UseClassicNumbers(*stream);
}

bool OverviewWriter::OpenOverviewFiles(const std::string& povPath, const std::string& incPath,
                                       const std::string& iniPath, OverviewOutput& output) {
    const bool with31 = options_.WriteTextures;
    if (!options_.previewMode) {
        std::vector<std::string> existing;
        for (const std::string* path : {&povPath, &incPath, &iniPath}) {
            if (path == &incPath && !with31) continue;
            if (FileExists(*path)) existing.push_back(FileNameOf(*path));
        }
        if (!existing.empty()) {
            std::string names;
            for (const auto& name : existing) names += "  " + name + "\n";
            // TRANSLATORS: %1 is one file name a line, each line ending in a line break.
            const std::string text = FillIn(TrN("The file\n%1already exists.\n\nOverwrite it?",
                                                "The files\n%1already exist.\n\nOverwrite them?", existing.size()),
                                            {names});
            if (ui_.Ask(text, QuestionButtons::YesNo, Answer::No) != Answer::Yes) return false;
        }
    }
    output.pov.open(povPath, std::ios::binary | std::ios::trunc);
    if (!output.pov) {
        ui_.ShowMessage(FillIn(Tr("The POV-Ray file \"%1\" cannot be made."), {FileNameOf(povPath)}),
                        MessageIcon::Exclamation);
        return false;
    }
    if (with31) {
        output.inc.open(incPath, std::ios::binary | std::ios::trunc);
        if (!output.inc) {
            output.pov.close();
            RemoveFile(povPath);
            ui_.ShowMessage(FillIn(Tr("The include file \"%1\" cannot be made."), {FileNameOf(incPath)}),
                            MessageIcon::Exclamation);
            return false;
        }
    }
    output.ini.open(iniPath, std::ios::binary | std::ios::trunc);
    if (!output.ini) {
        output.pov.close();
        RemoveFile(povPath);
        if (with31) {
            output.inc.close();
            RemoveFile(incPath);
        }
        ui_.ShowMessage(FillIn(Tr("The POV-Ray INI file \"%1\" cannot be made."), {FileNameOf(iniPath)}),
                        MessageIcon::Exclamation);
        return false;
    }
    output.povPath = povPath;
    output.incPath = incPath;
    output.iniPath = iniPath;
    return true;
}

bool OverviewWriter::WriteOverviewFiles(const std::string& directory) {
    const std::string base = BaseName();
    const std::string pov = JoinPath(directory, base + ".pov");
    const std::string inc = JoinPath(directory, base + ".inc");
    const std::string ini = JoinPath(directory, base + ".ini");
    OverviewOutput output;
    if (!OpenOverviewFiles(pov, inc, ini, output)) return false;
    bool ok = WriteOverview(output);
    for (std::ofstream* stream : {&output.pov, &output.inc, &output.ini}) {
        if (!stream->is_open()) continue;
        stream->close();
        if (stream->fail()) ok = false;
    }
    if (!ok) {
        RemoveFile(pov);
        if (options_.WriteTextures) RemoveFile(inc);
        RemoveFile(ini);
    }
    return ok;
}

bool OverviewWriter::WriteOverview(OverviewOutput& output) {
    ui_.SetProgressRange(static_cast<int>(options_.texturesCount));
    ui_.SetProgressPosition(0);
    ui_.SetStatusText("");
    options_.abortRequested = false;
    ui_.SetCancelled(false);
    borrowedKnown_ = false;
    borrowed_.clear();

    if (!PovIncludeNameWritable(BaseName())) {
        ui_.ShowMessage(FillIn(Tr("The name \"%1\" holds a line break or \"\\\"\n"
                                  "and cannot be used as the name of a POV-Ray file."),
                               {PovLineText(BaseName())}),
                        MessageIcon::Exclamation);
        return false;
    }
    if (ValidateTextures() == 0) {
        ui_.HideProgress();
        return false;
    }
    ui_.SetStatusText(Tr("Writing textures..."));
    LayoutCounts(options_.Type, layout_.x, layout_.y);
    layout_.pages = PageCount(options_.texturesCount, options_.samplesPerPage);

    const bool ok = options_.useTemplate ? WriteTemplateScene(output) : WriteBuiltInScene(output);
    ui_.HideProgress();
    ui_.SetStatusText("");
    if (!ok) return false;
    options_.writtenCount += options_.texturesCount;
    return true;
}

void OverviewWriter::WriteHeaderComment(std::ostream& out, const std::string& p, bool iniFile) {
    const std::string base = BaseName();
    PutLine(out, p + kStars74);
    // Comments for people, in the language in force; each line of a text gets the comment mark.
    const auto putText = [&](const std::string& text) {
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            PutLine(out, p + " " + text.substr(start, end - start));
        PutLine(out, p + " " + text.substr(start));
    };
    const std::string perPage =
        options_.Type == 0 ? std::string(Tr("1 sample"))
                           : FillIn(Tr("%1x%2 samples"), {std::to_string(layout_.x), std::to_string(layout_.y)});
    putText(FillIn(TrN("This file was written by Swatchcraft on %1 to render\n"
                       "%2 texture samples on %3 page with %4 per page.",
                       "This file was written by Swatchcraft on %1 to render\n"
                       "%2 texture samples on %3 pages with %4 per page.",
                       std::max(layout_.pages, 1u)),
                   {LocalTimeText(), Num(options_.texturesCount), Num(layout_.pages), perPage}));
    PutLine(out, p);
    // The files line up under the first, after the label.
    const std::string label = Tr("Files needed:");
    const size_t indent = 2 + static_cast<size_t>(std::count_if(label.begin(), label.end(), [](char c) {
                              return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
                          }));
    const auto thisFile = [](const std::string& name) { return FillIn(Tr("%1 (this file)"), {name}); };
    PutLine(out, p + " " + label + " " + (iniFile ? thisFile(base + ".ini") : base + ".ini"));
    PutLine(out, p + std::string(indent, ' ') + (iniFile ? base + ".pov" : thisFile(base + ".pov")));
    if (options_.WriteTextures) PutLine(out, p + std::string(indent - 2, ' ') + base + ".inc");
    PutLine(out, p);
    if (!iniFile) {
        putText(FillIn(Tr("Note: To render every page with POV-Ray, please use\n"
                          "      the file \"%1\""),
                       {PovLineText(base) + ".ini"}));
    } else {
        putText(Tr("Note: To have POV-Ray render only some of the pages,\n"
                   "      please use the command-line options +SFx and +EFy.\n"
                   "      For example, +SF3 +EF12 renders the pages 3-12.\n"
                   "      Any other command-line option POV-Ray accepts can be\n"
                   "      given as well (see \"Setting POV-Ray Options\" in your\n"
                   "      POV-Ray documentation)."));
    }
    PutLine(out, p + kStars74);
    PutLine(out, "");
}

void OverviewWriter::WriteColorIncludes(std::ostream& out) {
    if (options_.WriteTextures) return;
    PutLine(out, "#include \"colors.inc\"");
    std::unordered_set<std::string> written;
    for (const TextureEntry* entry : Entries()) {
        if (!entry->marked) continue;
        for (const DeclarationRecord* dependency : entry->dependencies) {
            if (!dependency || !dependency->HasOrigin() || !IsBorrowed(dependency)) continue;
            const std::string fileName = FileNameOf(dependency->origin);
            if (ToLowerAscii(fileName) == "colors.inc") continue;
            if (!PovIncludeNameWritable(fileName) || !written.insert(dependency->origin).second) continue;
            PutLine(out, "#include \"" + PovIncludeNameText(fileName) + "\"");
        }
    }
    if (!written.empty()) PutLine(out, "");
}

std::string OverviewWriter::Label(const TextureEntry& entry) const {
    return PovStringText((options_.ShowType ? KindLetter(entry.kind) : std::string()) + entry.name);
}

std::string OverviewWriter::TextureLine(const TextureEntry& entry) const {
    const std::string& name = entry.name;
    switch (entry.kind) {
        case kKindPigment:
        case kKindColor: return "\t\t#declare Texture = texture { pigment { " + name + " } }";
        case kKindFinish:
            return "\t\t#declare Texture = texture { finish { " + name + " }" + FinishPigment(finishColor_) + " }";
        case kKindNormal:
            return "\t\t#declare Texture = texture { normal { " + name + " }" + FinishPigment(finishColor_) + " }";
        case kKindMaterial: return "\t\t#declare Texture = material { " + name + " }";
        default: return "\t\t#declare Texture = texture { " + name + " }";
    }
}

std::string OverviewWriter::MaterialBody(const TextureEntry& entry) const {
    const std::string& name = entry.name;
    switch (entry.kind) {
        case kKindTexture: return "{ texture { " + name + " } }";
        case kKindPigment:
        case kKindColor: return "{ texture { pigment { " + name + " } } }";
        case kKindFinish: return "{ texture { finish { " + name + " }" + FinishPigment(finishColor_) + " } }";
        case kKindNormal: return "{ texture { normal { " + name + " }" + FinishPigment(finishColor_) + " } }";
        default: return "{ " + name + " }";
    }
}

void OverviewWriter::WriteCase30(std::ostream& out, const std::string& I, const TextureEntry& entry, unsigned n) {
    const std::string file = FileOf(entry);
    PutLine(out, I + "\t#case (" + Num(n) + ")");
    PutLine(out, I + "\t\t#include \"" + PovIncludeNameText(IncludeNameOf(entry, options_.WritePaths)) + "\"");
    PutLine(out, I + "\t\t#declare TextureFile = \"" + PovStringText(file) + "\"");
    PutLine(out, I + TextureLine(entry));
    PutLine(out, I + "\t\t#declare TextureName = \"" + Label(entry) + "\"");
    PutLine(out, I + "\t\t#declare IsMaterial = " + (entry.kind == kKindMaterial ? "true;" : "false;"));
    PutLine(out, I + "\t\t#break");
}

void OverviewWriter::WriteDeclaration31(std::ostream& out, TextureEntry& entry, unsigned k) {
    LoadEntry(entry);
    if (!entry.record || !entry.record->text) return;
    const std::string& name = entry.name;
    PutLine(out, "");
    PutLine(out, "\t\t// >>> " + name + " <<");
    PutLine(out, "\t\t#local TempVersion = version;");
    if (entry.previewVersion > 0)
        PutLine(out, "\t\t#version " + Num(entry.previewVersion) + ";");
    else if (entry.requiredVersion > 0)
        PutLine(out, "\t\t#version " + Num(entry.requiredVersion) + ";");
    else
        PutLine(out, "\t\t#version 2;");

    const std::string ownPath = entry.sourceFile ? entry.sourceFile->path : std::string();
    std::string block;
    std::string previousFile;
    bool first = true;
    for (const DeclarationRecord* dependency : entry.dependencies) {
        if (!dependency) continue;
        const std::string fileName = FileNameOf(dependency->HasOrigin() ? dependency->origin : ownPath);
        if (first || fileName != previousFile) block += "\t\t// " + ConstantsFromFileText(PovLineText(fileName)) + "\n";
        first = false;
        previousFile = fileName;
        block += "\t\t#local " + dependency->name + " = " +
                 (dependency->text ? *dependency->text : NotFoundText()) + "\n";
    }
    block += "\t\t#local " + name + " = " + *entry.record->text;
    PutLine(out, Reindent(block));

    PutLine(out, "\t\t#version TempVersion;");
    PutLine(out, "\t\t#declare aTextureFile[" + Num(k) + "] = \"" + PovStringText(FileOf(entry)) + "\"");
    PutLine(out, "\t\t#declare aTexture[" + Num(k) + "] = material " + MaterialBody(entry));
    PutLine(out, "\t\t#declare aTextureName[" + Num(k) + "] = \"" + Label(entry) + "\"");
    std::unordered_set<std::string> undone;
    for (auto it = entry.dependencies.rbegin(); it != entry.dependencies.rend(); ++it) {
        if (!*it || !undone.insert((*it)->name).second) continue;
        PutLine(out, "\t\t#undef " + (*it)->name);
    }
    PutLine(out, "\t\t#undef " + name);
}

bool OverviewWriter::WriteSelection(OverviewOutput& output, const std::string& I) {
    const bool with31 = options_.WriteTextures;
    std::ostream& scene = output.pov;
    std::ostream& inc = output.inc;
    const unsigned perPage = options_.samplesPerPage;
    if (with31)
        PutLine(inc, "#switch (TextureNr)");
    else
        PutLine(scene, I + "#switch (TextureNr)");
    unsigned n = 0;
    for (TextureEntry* entry : Entries()) {
        if (!entry->marked) continue;
        if (n == 65535) break;  // the sample numbers are 16-bit
        ++n;
        if (!with31) {
            WriteCase30(scene, I, *entry, n);
        } else if (perPage > 0) {
            if (n % perPage == 1 || perPage == 1) {
                if (n > 1) PutLine(inc, "\t\t#break");
                PutLine(inc, "\t#range (" + Num(n) + "," + Num(n + perPage - 1) + ")");
            }
            WriteDeclaration31(inc, *entry, (n - 1) % perPage);
        }
        if (Aborted()) return false;
        ui_.StepProgress();
    }
    if (with31) {
        PutLine(inc, "#end");
        PutLine(scene, I + "#undef Texture");
        const std::string index = options_.useTemplate ? "[i-1]" : "[XCount*j+i]";
        PutLine(scene, I + "#declare TextureName = aTextureName" + index);
        PutLine(scene, I + "#declare TextureFile = aTextureFile" + index);
        PutLine(scene, I + "#declare Texture = aTexture" + index);
    } else {
        PutLine(scene, I + "#end");
    }
    PutLine(scene, I + "#ifdef (TextureNr)");
    // What POV-Ray prints to the person watching the render.
    // TRANSLATORS: %1 is a number.
    PutLine(scene, I + "\t#debug " + PovConcat(">>>>>>>> " + std::string(Tr("Texture %1: ")), {"str(TextureNr, 0, 0)"}));
    PutLine(scene, I + "#end");
    PutLine(scene, I + "#ifdef (TextureName)");
    // TRANSLATORS: %1 is a texture's name, %2 its file.
    PutLine(scene, I + "\t#debug " + PovConcat(Tr("\"%1\" from file \"%2\""), {"TextureName", "TextureFile"}, "\\n"));
    PutLine(scene, I + "#end");
    return true;
}

void OverviewWriter::WriteOverviewIni(std::ostream& out) {
    WriteHeaderComment(out, ";", true);
    if (!options_.previewMode && !options_.IniFile.empty() && FileExists(options_.IniFile)) {
        std::ifstream in(options_.IniFile, std::ios::binary);
        if (in) {
            PutLine(out, ";" + FillIn(Tr("Settings from %1"), {PovLineText(options_.IniFile)}));
            // Lines are copied whole: a long Library_Path split in two
            // would no longer mean anything to POV-Ray.
            std::string line;
            while (std::getline(in, line)) PutLine(out, WithoutLineEnd(line));
            PutLine(out, std::string(";") + Tr("Settings by Swatchcraft"));
        }
    }
    const std::string base = PovLineText(BaseName());
    PutLine(out, "Width=" + Num(options_.Width));
    PutLine(out, "Height=" + Num(options_.Height));
    PutLine(out, "Input_File_Name=" + base + ".pov");
    if (options_.Images2Local) PutLine(out, "Output_File_Name=" + base);
    PutLine(out, "Initial_Frame=1");
    PutLine(out, "Final_Frame=" + Num(layout_.pages));
    PutLine(out, "Initial_Clock=0");
    PutLine(out, "Final_Clock=1.00");
    PutLine(out, "Cyclic_Animation=on");
}

void OverviewWriter::WriteSampleObject(std::ostream& out) {
    static const char* const kObject[] = {
        "union {",
        "\tmerge {",
        "\t\tbox     { <-SampleWidth/2, -SampleHeight/2, 0>, <SampleWidth/2, SampleHeight/2, 0.2> }",
        "\t\tsphere  { SphereYPos*y, SphereRadius }",
    };
    for (const char* line : kObject) PutLine(out, std::string("\t\t") + line);
    if (options_.WriteTextures) {
        PutLine(out, "\t\t\t\tmaterial {");
    } else {
        for (const char* line : {"\t\t#if (IsMaterial = true)", "\t\t\tmaterial {", "\t\t#else", "\t\t\ttexture {",
                                 "\t\t#end"})
            PutLine(out, std::string("\t\t") + line);
    }
    PutLine(out, "\t\t\t\t\tTexture");
    PutLine(out, "\t\t\t\t\tscale TextureScale");
    if (!options_.transformation.empty()) {
        PutLine(out, std::string("\t\t\t\t\t// ") + Tr("Custom transformations"));
        PutLine(out, "\t\t\t\t\t" + options_.transformation);
    }
    static const char* const kRest[] = {
        "\t\t\ttranslate SphereYPos*y",
        "\t\t}",
        "\t\thollow",
        "\t}",
        "\t#declare FileNameHasDescent = 0;",
        "\t#declare TextureNameHasDescent = 0;",
        "\t#declare k = 0;",
        "\t#while (k <= 1)",
        "\t\t#if (k = 0)",
        "\t\t\t#declare String = TextureFile",
        "\t\t#else",
        "\t\t\t#declare String = TextureName",
        "\t\t#end",
        "\t\t#declare TextPos = 0;",
        "\t\t#while (TextPos < strlen(String))",
        "\t\t#switch(asc(substr(String, TextPos, 1)))",
        "\t\t\t#case (95)  // _",
        "\t\t\t#case (103) // g",
        "\t\t\t#case (106) // j",
        "\t\t\t#case (112) // p",
        "\t\t\t#case (113) // q",
        "\t\t\t\t#if (k = 0)",
        "\t\t\t\t\t#declare FileNameHasDescent = 1;",
        "\t\t\t\t#else",
        "\t\t\t\t\t#declare TextureNameHasDescent = 1;",
        "\t\t\t\t#end",
        "\t\t\t#end",
        "\t\t\t#declare TextPos = TextPos+1;",
        "\t\t#end",
        "\t\t#declare k = k + 1;",
        "\t#end",
        "\t#declare FileScale = 0.8 + FileNameHasDescent*0.125;",
        "\t#declare NameScale = 0.8 + TextureNameHasDescent*0.125;",
        "\t#declare FileFontScale = min(TextBoxWidth/(strlen(TextureFile)*FontWidth), "
        "(TextBoxHeight/2)/(FontAscent+FileNameHasDescent*FontDescent));",
        "\t#declare NameFontScale = min(TextBoxWidth/(strlen(TextureName)*FontWidth), "
        "(TextBoxHeight/2)/(FontAscent+TextureNameHasDescent*FontDescent));",
        "\t#declare ShortenedTextBoxWidth = max(strlen(TextureFile)*FontWidth*FileFontScale*FileScale, "
        "strlen(TextureName)*FontWidth*NameFontScale*NameScale)+TextBoxWidth*0.08;",
        "\tunion {",
        "\t\tbox {",
        "\t\t\t<-ShortenedTextBoxWidth/2, -TextBoxHeight/2, 0>, <ShortenedTextBoxWidth/2, 0, 0.1>",
        "\t\t\tpigment { color rgb <1, 1, 1> }",
        "\t\t\tfinish { ambient 1 diffuse 0 }",
        "\t\t}",
        "\t\tbox {",
        "\t\t\t<-ShortenedTextBoxWidth/2, 0, 0>, <ShortenedTextBoxWidth/2, TextBoxHeight/2, 0.1>",
        "\t\t\tpigment { color rgb <0, 0, 0> }",
        "\t\t\tfinish { ambient 1 diffuse 0 }",
        "\t\t}",
        "\t\ttext {",
        "\t\t\tttf Font,",
        "\t\t\tTextureFile,",
        "\t\t\t0.1, 0",
        "\t\t\ttranslate <-strlen(TextureFile)*0.5*FontWidth, -FontAscent/2+FileNameHasDescent*0.25*FontDescent, -0.1>",
        "\t\t\tscale <FileFontScale*FileScale, FileFontScale*FileScale, 1>",
        "\t\t\ttranslate TextBoxHeight/4*y",
        "\t\t\tpigment { color rgb <1, 1, 1> }",
        "\t\t\tfinish { ambient 1 diffuse 0 }",
        "\t\t}",
        "\t\ttext {",
        "\t\t\tttf Font,",
        "\t\t\tTextureName,",
        "\t\t\t0.1, 0",
        "\t\t\ttranslate <-strlen(TextureName)*0.5*FontWidth, -FontAscent/2+TextureNameHasDescent*0.25*FontDescent, "
        "-0.1>",
        "\t\t\tscale <NameFontScale*NameScale, NameFontScale*NameScale, 1>",
        "\t\t\ttranslate -TextBoxHeight/4*y",
        "\t\t\tpigment { color rgb <0, 0, 0 > }",
        "\t\t\tfinish { ambient 1 diffuse 0 }",
        "\t\t}",
        "\t\ttranslate <0, -SampleHeight/2+TextBoxOffset+TextBoxHeight/2, -0.1>",
        "\t}",
        "\ttranslate <FirstX+i*(SampleWidth+D), FirstY-j*(SampleHeight+D), 0>+ScenePos",
        "}",
    };
    for (const char* line : kRest) PutLine(out, std::string("\t\t") + line);

    for (const char* line : {"\t\t#declare TextureNr = TextureNr + 1;", "\t\t#declare i = i + 1;", "\t#end",
                             "\t#declare j = j + 1;", "#end", "", ""})
        PutLine(out, line);

    if (options_.Background == 0) {
        for (const char* line :
             {"plane {", "  z, 15", "  texture {",
              "\t\tpigment { checker color red 0.5 green 0.5 blue 0.5 color red 0.847059 green 0.847059 blue 0.74902 }",
              "\t\tfinish { ambient 1 diffuse 0 }", "\t\tscale TextureScale*1.5"})
            PutLine(out, line);
    } else {
        for (const char* line :
             {"plane {", "\tz, 15", "\ttexture {", "\t\tpigment {", "\t\t\tcrackle", "\t\t\tturbulence 0.2",
              "\t\t\tcolour_map {", "\t\t\t\t[0.00 color rgb<0.322, 0.235, 0.063>*1.2]",
              "\t\t\t\t[0.05 color rgb<0.322, 0.235, 0.063>*1.2]", "\t\t\t\t[0.08 color rgb<0.824, 0.784, 0.655>*1.25]",
              "\t\t\t\t[0.10 color rgb<0.824, 0.784, 0.655>*1.25]", "\t\t\t\t[1.00 color rgb<0.596, 0.529, 0.357>*1.25]",
              "\t\t\t}", "\t\t}", "\t\tfinish { ambient 1 diffuse 0 }", "\t\tscale TextureScale*1.5"})
            PutLine(out, line);
        std::mt19937 generator(static_cast<unsigned>(std::time(nullptr)));
        const unsigned r1 = generator() % 360, r2 = generator() % 360, r3 = generator() % 360;
        PutLine(out, "\t\trotate <" + Num(r1) + ", " + Num(r2) + ", " + Num(r3) + ">*TextureNr");
    }
    for (const char* line : {"\t}", "\trotate 15*x", "\ttranslate ScenePos", "\thollow", "}", "", "camera {",
                             "\tdirection <0, 0,  1.35>", "\t#if (XCount*YCount != 1)", "\t\tlocation  <0, 0, -61>",
                             "\t\tright 4/3*x", "\t#else", "\t\tlocation  <0, 0, -57.5>", "\t\tright x", "\t#end",
                             "\tlook_at   0", "\ttranslate ScenePos", "}", "",
                             "plane { z, -101 pigment { rgb 0.5 } translate ScenePos hollow }"})
        PutLine(out, line);
}

bool OverviewWriter::WriteBuiltInScene(OverviewOutput& output) {
    std::ostream& out = output.pov;
    const std::string base = BaseName();
    WriteHeaderComment(out, "//", false);
    WriteColorIncludes(out);
    for (const std::string& line : std::vector<std::string>{
             "", "global_settings { assumed_gamma 1.7 }", "", "#declare XCount = " + std::to_string(layout_.x) + ";",
             "#declare YCount = " + std::to_string(layout_.y) + ";", "",
             "#declare TexturesCount = " + Num(options_.texturesCount) + ";",
             "#declare FramesCount = int(TexturesCount/(XCount*YCount));",
             "#if (FramesCount * XCount * YCount < TexturesCount)", " #declare FramesCount = FramesCount + 1;",
             "#end", "", "#declare TextureNr = int(clock*FramesCount*XCount*YCount+1.5);", "",
             "#declare Font = \"" + PovStringText(options_.fontPath) + "\"", "#declare FontWidth = 0.6;",
             "#declare FontAscent = 0.6;", "#declare FontDescent = 0.3;", "", "#declare ScenePos = 10000;", "",
             "#declare D = 0.05;", "", "", "#if (XCount*YCount != 1)", "\t#declare ViewWidth = 60;", "#else",
             "\t#declare ViewWidth = 45;", "#end", "#declare ViewHeight = 45;",
             "#declare D = min(ViewWidth/XCount, ViewHeight/YCount)*D;",
             "#declare SampleWidth = (ViewWidth-XCount*D)/XCount;",
             "#declare SampleHeight = (ViewHeight-YCount*D)/YCount;",
             "#declare TextBoxOffset = min(SampleWidth, SampleHeight)*0.05;",
             "#declare TextBoxWidth = SampleWidth-2*TextBoxOffset;", "#declare TextBoxHeight = 0.25*SampleHeight;",
             "#declare SphereRadius = min(SampleWidth, SampleHeight-TextBoxHeight-TextBoxOffset)/2*0.9;",
             "#declare SphereYPos = (TextBoxHeight+TextBoxOffset/2)/2;", "#declare TextureScale = SphereRadius/2;",
             "", "light_source {<0, 0, -50>+ScenePos color rgb <0.658824, 0.658824, 0.658824> }",
             "light_source {<75, 25, -100>+ScenePos color rgb <1, 1, 1> }", "", "", "",
             "#declare FirstX =  -(XCount*SampleWidth + (XCount-1)*D)/2 + SampleWidth/2;",
             "#declare FirstY =  (YCount*SampleHeight + (YCount-1)*D)/2 - SampleHeight/2;", ""})
        PutLine(out, line);
    if (!options_.WriteTextures && options_.samplesPerPage != 1) {
        const std::string note = Tr("For the first picture every include file\n"
                                    "is read first, to point out any errors\n"
                                    "in the files...");
        size_t start = 0;
        for (size_t end; (end = note.find('\n', start)) != std::string::npos; start = end + 1)
            PutLine(out, "// " + note.substr(start, end - start));
        PutLine(out, "// " + note.substr(start));
        PutLine(out, "#if (TextureNr = 1)");
        for (const SourceFile* file : Files()) {
            const std::string name = (options_.WritePaths ? file->directory : std::string()) + file->fileName;
            // Entries of a file that cannot be named here were left out.
            if (PovIncludeNameWritable(name)) PutLine(out, "\t#include \"" + PovIncludeNameText(name) + "\"");
        }
        PutLine(out, "#end");
        PutLine(out, "");
    }
    if (options_.WriteTextures) {
        PutLine(out, "#declare aTextureFile = array[XCount*YCount]");
        PutLine(out, "#declare aTexture = array[XCount*YCount]");
        PutLine(out, "#declare aTextureName = array[XCount*YCount]");
        PutLine(out, "#include \"" + PovIncludeNameText(base) + ".inc\"");
        PutLine(out, "");
    }
    for (const char* line : {"#declare j = 0;", "#while ( j < YCount & TextureNr <= TexturesCount)",
                             "\t#declare i = 0;", "\t#while ( i < XCount & TextureNr <= TexturesCount)", ""})
        PutLine(out, line);
    if (!WriteSelection(output, "\t\t")) return false;
    WriteOverviewIni(output.ini);
    WriteSampleObject(out);
    return true;
}

bool OverviewWriter::WriteTemplateScene(OverviewOutput& output) {
    if (!FileExists(options_.templatePath)) return false;
    std::ifstream in(options_.templatePath, std::ios::binary);
    if (!in) return false;
    std::ostream& out = output.pov;
    const unsigned perPage = options_.samplesPerPage;
    if (perPage > 1) {
        PutLine(out, kStars53);
        PutLine(out, Inserted());
    }
    WriteColorIncludes(out);
    PutLine(out, "#declare TexturesCount = " + Num(options_.texturesCount) + ";");
    PutLine(out, "#declare TextureNr = int(" + Num(layout_.pages * perPage) + "*clock+1.5);");
    if (options_.WriteTextures) {
        PutLine(out, "#declare aTextureFile = array[" + Num(perPage) + "]");
        PutLine(out, "#declare aTexture = array[" + Num(perPage) + "]");
        PutLine(out, "#declare aTextureName = array[" + Num(perPage) + "]");
        PutLine(out, "#include \"" + PovIncludeNameText(BaseName()) + ".inc\"");
        PutLine(out, "#declare IsMaterial = true;");
        PutLine(out, "");
    }
    if (perPage > 1) {
        PutLine(out, InsertedEnd());
        PutLine(out, kStars46);
        PutLine(out, "");
    }
    CopyTemplateUntilMarker(in, out);
    PutLine(out, "");
    PutLine(out, kStars53);
    PutLine(out, Inserted());
    if (!WriteSelection(output, perPage > 1 ? "\t" : "")) return false;
    WriteOverviewIni(output.ini);
    PutLine(out, InsertedEnd());
    PutLine(out, kStars46);
    PutLine(out, "");
    CopyTemplateUntilMarker(in, out);
    return true;
}

}  // namespace sc
