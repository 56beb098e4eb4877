// The web page export: sorting, pictures and the page's markup.
#include "export/LibraryWebExport.h"

#include <algorithm>
#include <optional>
#include <regex>
#include <set>

#include "export/HtmlText.h"
#include "export/PictureFile.h"
#include "library/NaturalCompare.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "library/TextureLibrary.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"

namespace sc {

struct LibraryWebExport::Item {
    TextureEntry* entry = nullptr;
    std::string filePath;     // the source file as shown
    std::string category;     // as shown ("No category" when empty)
    std::string pictureFile;  // relative to index.html; empty without picture
    int width = 0;
    int height = 0;
    std::optional<std::string> declaration;
    bool fileMissing = false;
};

namespace {

constexpr const char* kNoCategory = N_("No category");

// The page's styles: readable in the user's light or dark scheme.
constexpr const char* kStyle = R"css(:root { color-scheme: light dark; --bg: #fafafa; --fg: #1d1d1d; --card: #fff;
  --line: #d0d0d0; --muted: #5a5a5a; --warn: #9a3000; }
@media (prefers-color-scheme: dark) { :root { --bg: #181818; --fg: #e8e8e8; --card: #242424;
  --line: #444; --muted: #b0b0b0; --warn: #ffa070; } }
* { box-sizing: border-box; }
body { margin: 0; padding: 1rem 1.5rem; background: var(--bg); color: var(--fg);
  font: 15px/1.4 system-ui, sans-serif; }
header { position: sticky; top: 0; background: var(--bg); padding-bottom: .5rem;
  border-bottom: 1px solid var(--line); z-index: 1; }
h1 { margin: 0 0 .25rem; font-size: 1.6rem; }
h2 { margin: 1.5rem 0 .25rem; font-size: 1.25rem; overflow-wrap: anywhere; }
h3 { margin: .75rem 0 .5rem; font-size: 1.05rem; color: var(--muted); }
h4 { margin: .4rem 0 .2rem; font-size: 1rem; overflow-wrap: anywhere; }
input[type=search] { font: inherit; padding: .3rem .5rem; min-width: 18rem; }
.entries { display: flex; flex-wrap: wrap; gap: .75rem; }
.entry { width: 15rem; background: var(--card); border: 1px solid var(--line); border-radius: 6px; padding: .6rem; }
.entry:has(details[open]) { width: min(36rem, 100%); }
.entry img, .nopicture { display: block; width: 116px; height: 116px; }
.nopicture { border: 1px dashed var(--line); color: var(--muted); display: flex; align-items: center;
  justify-content: center; text-align: center; font-size: .85rem; }
dl { margin: 0; display: grid; grid-template-columns: auto 1fr; gap: 0 .5rem; font-size: .85rem; }
dt { color: var(--muted); }
dd { margin: 0; overflow-wrap: anywhere; }
pre { white-space: pre-wrap; overflow-wrap: anywhere; font-size: .8rem; background: var(--bg);
  padding: .4rem; user-select: text; }
.missing { color: var(--warn); font-size: .85rem; }
[hidden] { display: none !important; }
)css";

// The filter: every word typed must occur in an entry's name, kind,
// category or file. "#filter=TEXT" in the address presets it. The count
// shown takes its words from the pattern the page carries.
constexpr const char* kScript = R"js((function () {
  var field = document.getElementById("filter");
  var shown = document.getElementById("shown");
  var entries = Array.prototype.slice.call(document.querySelectorAll("article.entry"));
  var keys = entries.map(function (e) { return e.getAttribute("data-search").toLowerCase(); });
  var groups = document.querySelectorAll("section.group");
  function apply() {
    var words = field.value.toLowerCase().split(/\s+/).filter(Boolean), count = 0;
    entries.forEach(function (e, i) {
      var hit = words.every(function (w) { return keys[i].indexOf(w) >= 0; });
      e.hidden = !hit;
      if (hit) count++;
    });
    for (var g = 0; g < groups.length; g++)
      groups[g].hidden = !groups[g].querySelector("article.entry:not([hidden])");
    shown.textContent = words.length ?
        shown.getAttribute("data-pattern").replace("%1", count).replace("%2", entries.length) : "";
  }
  var match = /[#&]filter=([^&]*)/.exec(location.hash);
  if (match) {
    // An address typed or cut by hand ("100%") is no valid escape: take it as written.
    try { field.value = decodeURIComponent(match[1]); } catch (e) { field.value = match[1]; }
  }
  field.addEventListener("input", apply);
  apply();
  document.addEventListener("click", function (event) {
    var button = event.target.closest("button.copy");
    if (!button) return;
    var text = button.parentNode.querySelector("pre");
    var range = document.createRange();
    range.selectNodeContents(text);
    var selection = window.getSelection();
    selection.removeAllRanges();
    selection.addRange(range);
    if (navigator.clipboard) navigator.clipboard.writeText(text.textContent).catch(function () {});
    else document.execCommand("copy");
  });
})();
)js";

std::string WithLf(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\r' || i + 1 >= text.size() || text[i + 1] != '\n') out.push_back(text[i]);
    return out;
}

// Says that a page was written by this program, so a later export into
// the same folder knows the page as its own.
constexpr const char* kGeneratorMeta = "<meta name=\"generator\" content=\"Swatchcraft\">";
constexpr const char* kPageName = "index.html";
constexpr std::size_t kMaxNamedForeignFiles = 5;

// The pictures an export writes (SafePictureFileName), and their temporary
// files when a write was cut off.
bool IsExportPictureName(const std::string& name) {
    static const std::regex pattern(R"(\d{4,}(-[A-Za-z0-9_-]{1,40})?\.png(\.tmp[A-Za-z0-9]{6})?)");
    return std::regex_match(name, pattern);
}

bool IsExportPage(const std::string& path) {
    std::string text;
    return ReadWholeFile(path, text) && text.find(kGeneratorMeta) != std::string::npos;
}

// The part of `path` below `folder` (both absolute); empty when outside it.
std::string Below(const std::string& path, const std::string& folder) {
    const std::string base = WithoutTrailingSeparator(folder) + "/";
    return path.size() > base.size() && path.compare(0, base.size(), base) == 0 ? path.substr(base.size()) : std::string();
}

std::string CommonFolder(const std::string& a, const std::string& b) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size() && a[i] == b[i]; ++i)
        if (a[i] == '/') end = i + 1;
    return a.substr(0, end);
}

}  // namespace

LibraryWebExport::LibraryWebExport(TextureLibrary& library, WebExportOptions options)
    : library_(library), options_(std::move(options)) {}

bool LibraryWebExport::SortedItems(const std::vector<TextureEntry*>& entries, std::vector<Item>& items,
                                   const ExportProgress& progress) {
    items.reserve(entries.size());
    const int total = static_cast<int>(entries.size()) * 2;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (progress && !progress(static_cast<int>(i), total)) return false;
        TextureEntry* e = entries[i];
        if (!e || !e->sourceFile) continue;
        Item item;
        item.entry = e;
        item.filePath = e->sourceFile->directory.empty() ? e->sourceFile->fileName : e->sourceFile->path;
        item.category = e->category.empty() || e->category == "-" ? Tr(kNoCategory) : e->category;
        item.fileMissing = e->sourceFile->directory.empty() || !FileExists(e->sourceFile->path);
        if (!item.fileMissing && LoadDeclaration(library_, *e, true)) item.declaration = WithLf(DeclarationBoxText(*e));
        items.push_back(std::move(item));
    }
    ShowPathsRelative(items);
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        if (int c = NaturalCompare(a.filePath, b.filePath, false)) return c < 0;
        if (int c = NaturalCompare(a.category, b.category, false)) return c < 0;
        return NaturalCompare(a.entry->name, b.entry->name, false) < 0;
    });
    return true;
}

// A shared page must not tell where the user keeps files (their home
// folder): a file in a library path is shown as POV-Ray finds it there, any
// other relative to the folder all such files have in common.
void LibraryWebExport::ShowPathsRelative(std::vector<Item>& items) const {
    std::vector<std::string> bases;
    for (const std::string& path : library_.LibraryPaths())
        if (!path.empty() && IsAbsolutePath(path)) bases.push_back(MakeAbsolute(path));
    std::optional<std::string> common;
    std::vector<Item*> outside;
    for (Item& item : items) {
        if (!IsAbsolutePath(item.filePath)) continue;
        std::string best;
        for (const std::string& base : bases) {
            const std::string below = Below(item.filePath, base);
            if (!below.empty() && (best.empty() || below.size() < best.size())) best = below;
        }
        if (!best.empty()) {
            item.filePath = best;
            continue;
        }
        const std::string folder = DirectoryOf(item.filePath);
        common = common ? CommonFolder(*common, JoinPath(folder, "")) : JoinPath(folder, "");
        outside.push_back(&item);
    }
    for (Item* item : outside) item->filePath = item->filePath.substr(common->size());
}

bool LibraryWebExport::WritePicture(Item& item, const std::string& pictureDirectory) {
    RgbPicture picture;
    if (!DecodeUprightPreview(item.entry->preview, picture)) return true;  // shown as without preview
    const std::string png = EncodePng(picture);
    item.width = picture.width;
    item.height = picture.height;
    return !png.empty() && WriteFileWhole(JoinPath(pictureDirectory, item.pictureFile), png);
}

std::string LibraryWebExport::DefaultTitle(const std::string& source) {
    const std::string name = FileNameOf(WithoutTrailingSeparator(source));
    if (name.empty()) return Tr("Texture library");
    const std::string extension = ExtensionOf(name);
    return FillIn(Tr("Texture library %1"), {extension.empty() ? name : name.substr(0, name.size() - extension.size())});
}

std::string LibraryWebExport::SummaryText(const WebExportResult& result, const std::string& directory) {
    // TRANSLATORS: %1 is "3 entries", %2 "with 2 previews".
    return FillIn(Tr("%1 %2 exported to \"%3\"."),
                  {FillIn(TrN("%1 entry", "%1 entries", static_cast<unsigned long>(result.entries)),
                          {std::to_string(result.entries)}),
                   FillIn(TrN("with %1 preview", "with %1 previews", static_cast<unsigned long>(result.pictures)),
                          {std::to_string(result.pictures)}),
                   directory});
}

ExportTarget LibraryWebExport::CheckFolder(const std::string& directory) {
    ExportTarget target;
    if (directory.empty()) {
        target.refusal = Tr("No target folder was given.");
        return target;
    }
    if (!DirectoryExists(directory)) {
        if (PathExists(directory))
            target.refusal = FillIn(Tr("The folder \"%1\" could not be made: a file is in its place."), {directory});
        return target;
    }
    std::vector<std::string> foreign;
    for (const DirectoryItem& item : ListDirectory(directory)) {
        const std::string path = JoinPath(directory, item.name);
        if (item.name == kPageName && !item.isDirectory && IsExportPage(path)) {
            target.replacesEarlier = true;
        } else if (item.name == kPictureFolder && item.isDirectory) {
            for (const DirectoryItem& picture : ListDirectory(path)) {
                if (!picture.isDirectory && IsExportPictureName(picture.name)) target.replacesEarlier = true;
                else foreign.push_back(std::string(kPictureFolder) + "/" + picture.name);
            }
        } else {
            foreign.push_back(item.name);
        }
    }
    if (foreign.empty()) return target;
    std::string names;
    for (std::size_t i = 0; i < foreign.size() && i < kMaxNamedForeignFiles; ++i)
        names += (i ? ", " : "") + foreign[i];
    if (foreign.size() > kMaxNamedForeignFiles)
        names = FillIn(Tr("%1 and %2 more"), {names, std::to_string(foreign.size() - kMaxNamedForeignFiles)});
    target.foreignFiles =
        FillIn(Tr("The folder \"%1\" holds files that do not come from an export (%2)."), {directory, names});
    return target;
}

WebExportResult LibraryWebExport::Write(const std::vector<TextureEntry*>& entries, const std::string& directory,
                                        const ExportProgress& progress, bool replaceForeignFiles) {
    WebExportResult result;
    const ExportTarget target = CheckFolder(directory);
    if (!target.refusal.empty() || (!target.foreignFiles.empty() && !replaceForeignFiles)) {
        result.error = target.refusal.empty() ? target.foreignFiles : target.refusal;
        return result;
    }
    const std::string pictureDirectory = JoinPath(directory, kPictureFolder);
    if (!CreateDirectories(pictureDirectory)) {
        result.error = FillIn(Tr("The folder \"%1\" could not be made."), {pictureDirectory});
        return result;
    }
    std::vector<Item> items;
    if (!SortedItems(entries, items, progress)) {
        result.cancelled = true;
        return result;
    }
    std::set<std::string> written;
    const int total = static_cast<int>(entries.size()) * 2;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (progress && !progress(static_cast<int>(entries.size() + i), total)) {
            result.cancelled = true;
            return result;
        }
        Item& item = items[i];
        ++result.entries;
        if (!item.declaration) ++result.withoutText;
        if (item.entry->preview.IsEmpty()) continue;
        item.pictureFile = SafePictureFileName(static_cast<int>(i + 1), item.entry->name);
        if (!WritePicture(item, pictureDirectory)) {
            result.error = FillIn(Tr("The file \"%1\" could not be written."), {JoinPath(pictureDirectory, item.pictureFile)});
            return result;
        }
        if (item.width == 0) {
            item.pictureFile.clear();
            continue;
        }
        ++result.pictures;
        written.insert(item.pictureFile);
    }
    const std::string page = JoinPath(directory, kPageName);
    if (!WriteFileAtomically(page, Page(items))) {
        result.error = FillIn(Tr("The file \"%1\" could not be written."), {page});
        return result;
    }
    // Only now is the earlier page gone, and with it the use of its pictures.
    for (const DirectoryItem& item : ListDirectory(pictureDirectory))
        if (!item.isDirectory && IsExportPictureName(item.name) && !written.count(item.name))
            RemoveFile(JoinPath(pictureDirectory, item.name));
    if (progress) progress(total, total);
    result.summary = SummaryText(result, directory);
    return result;
}

std::string LibraryWebExport::EntryHtml(const Item& item) {
    const TextureEntry& e = *item.entry;
    const std::string name = EscapeHtml(e.name);
    std::string html = "<article class=\"entry\" data-search=\"" +
                       EscapeHtml(e.name + " " + KindWord(e.kind) + " " + item.category + " " + item.filePath) +
                       "\">\n";
    if (!item.pictureFile.empty())
        html += "<img src=\"" + std::string(kPictureFolder) + "/" + item.pictureFile + "\" width=\"" +
                std::to_string(item.width) + "\" height=\"" + std::to_string(item.height) +
                "\" alt=\"" + EscapeHtml(FillIn(Tr("Preview of %1"), {e.name})) + "\" loading=\"lazy\">\n";
    else
        html += "<div class=\"nopicture\" role=\"img\" aria-label=\"" + EscapeHtml(Tr("No preview")) + "\">" +
                EscapeHtml(Tr("No preview")) + "</div>\n";
    html += "<h4>" + name + "</h4>\n<dl><dt>" + EscapeHtml(Tr("Kind")) + "</dt><dd>" + KindWord(e.kind) + "</dd><dt>" +
            EscapeHtml(Tr("Category")) + "</dt><dd>" + EscapeHtml(item.category) + "</dd><dt>" + EscapeHtml(Tr("File")) +
            "</dt><dd>" + EscapeHtml(e.sourceFile->fileName) + "</dd></dl>\n";
    if (item.declaration) {
        html += "<details><summary>" + EscapeHtml(Tr("Declaration")) + "</summary>\n<pre>" +
                EscapeHtml(*item.declaration) + "</pre>\n<button type=\"button\" class=\"copy\">" +
                EscapeHtml(Tr("Copy")) + "</button></details>\n";
    } else {
        html += "<p class=\"missing\">" +
                EscapeHtml(item.fileMissing ? Tr("Declaration NOT AVAILABLE: the file was not found.")
                                            : Tr("Declaration NOT AVAILABLE: it is no longer in the file.")) +
                "</p>\n";
    }
    return html + "</article>\n";
}

std::string LibraryWebExport::Page(const std::vector<Item>& items) const {
    const std::string title = EscapeHtml(options_.title);
    const std::string language = CurrentLanguage().empty() ? "en" : CurrentLanguage();
    const std::string matching = TrN("%1 of %2 entry match", "%1 of %2 entries match", items.size());
    std::string html = "<!DOCTYPE html>\n<html lang=\"" + EscapeHtml(language) +
                       "\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<meta name=\"color-scheme\" content=\"light dark\">\n" +
                       kGeneratorMeta + "\n<title>" + title + "</title>\n<style>\n" + kStyle +
                       "</style>\n</head>\n<body>\n<header>\n<h1>" + title + "</h1>\n<p id=\"counts\">" +
                       EscapeHtml(options_.countsText) + "</p>\n<p><label for=\"filter\">" + EscapeHtml(Tr("Filter:")) +
                       "</label> <input type=\"search\" id=\"filter\" placeholder=\"" +
                       EscapeHtml(Tr("Name, kind, category or file")) +
                       "\" autocomplete=\"off\"> <span id=\"shown\" aria-live=\"polite\" data-pattern=\"" +
                       EscapeHtml(matching) + "\"></span></p>\n</header>\n<main>\n";
    for (std::size_t i = 0; i < items.size();) {
        const std::string& file = items[i].filePath;
        html += "<section class=\"group file\">\n<h2>" + EscapeHtml(file) + "</h2>\n";
        while (i < items.size() && items[i].filePath == file) {
            const std::string& category = items[i].category;
            html += "<section class=\"group category\">\n<h3>" + EscapeHtml(category) +
                    "</h3>\n<div class=\"entries\">\n";
            for (; i < items.size() && items[i].filePath == file && items[i].category == category; ++i)
                html += EntryHtml(items[i]);
            html += "</div>\n</section>\n";
        }
        html += "</section>\n";
    }
    if (items.empty()) html += "<p>" + EscapeHtml(Tr("The list has no entries.")) + "</p>\n";
    return html + "</main>\n<script>\n" + kScript + "</script>\n</body>\n</html>\n";
}

}  // namespace sc
