// The web page export: sorting, pictures and the page's markup.
#include "export/LibraryWebExport.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "export/HtmlText.h"
#include "export/PictureFile.h"
#include "library/NaturalCompare.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "library/TextureLibrary.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"

namespace sc {

struct LibraryWebExport::Item {
    TextureEntry* entry = nullptr;
    std::string filePath;     // the source file as shown
    std::string category;     // as shown ("Ohne Kategorie" when empty)
    std::string pictureFile;  // relative to index.html; empty without picture
    int width = 0;
    int height = 0;
    std::optional<std::string> declaration;
    bool fileMissing = false;
};

namespace {

constexpr const char* kNoCategory = "Ohne Kategorie";

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
// category or file. "#filter=TEXT" in the address presets it.
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
    shown.textContent = words.length ? count + " von " + entries.length + " Einträgen passen" : "";
  }
  var match = /[#&]filter=([^&]*)/.exec(location.hash);
  if (match) field.value = decodeURIComponent(match[1]);
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

std::string ShownPath(const SourceFile& file) {
    return file.directory.empty() ? file.fileName : JoinPath(file.directory, file.fileName);
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

LibraryWebExport::LibraryWebExport(TextureLibrary& library, WebExportOptions options)
    : library_(library), options_(std::move(options)) {}

bool LibraryWebExport::Stopped() const { return options_.stopRequested && options_.stopRequested(); }

std::vector<LibraryWebExport::Item> LibraryWebExport::SortedItems(const std::vector<TextureEntry*>& entries) {
    std::vector<Item> items;
    items.reserve(entries.size());
    for (TextureEntry* e : entries) {
        if (Stopped()) return items;
        if (!e || !e->sourceFile) continue;
        Item item;
        item.entry = e;
        item.filePath = ShownPath(*e->sourceFile);
        item.category = e->category.empty() || e->category == "-" ? kNoCategory : e->category;
        item.fileMissing = e->sourceFile->directory.empty() || !FileExists(e->sourceFile->path);
        if (!item.fileMissing && LoadDeclaration(library_, *e, true)) item.declaration = WithLf(DeclarationBoxText(*e));
        items.push_back(std::move(item));
    }
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        if (int c = NaturalCompare(a.filePath, b.filePath, false)) return c < 0;
        if (int c = NaturalCompare(a.category, b.category, false)) return c < 0;
        return NaturalCompare(a.entry->name, b.entry->name, false) < 0;
    });
    return items;
}

bool LibraryWebExport::WritePicture(Item& item, const std::string& pictureDirectory) {
    RgbPicture picture;
    if (!DecodeUprightPreview(item.entry->preview, picture)) return true;  // shown as without preview
    const std::string png = EncodePng(picture);
    item.width = picture.width;
    item.height = picture.height;
    return !png.empty() && WriteBytes(JoinPath(pictureDirectory, item.pictureFile), png);
}

std::string LibraryWebExport::DefaultTitle(const std::string& source) {
    const std::string name = FileNameOf(WithoutTrailingSeparator(source));
    if (name.empty()) return "Texturbibliothek";
    const std::string extension = ExtensionOf(name);
    return "Texturbibliothek " + (extension.empty() ? name : name.substr(0, name.size() - extension.size()));
}

std::string LibraryWebExport::SummaryText(const WebExportResult& result, const std::string& directory) {
    return std::to_string(result.entries) + (result.entries == 1 ? " Eintrag" : " Einträge") + " mit " +
           std::to_string(result.pictures) + (result.pictures == 1 ? " Vorschaubild" : " Vorschaubildern") +
           " nach \"" + directory + "\" exportiert.";
}

WebExportResult LibraryWebExport::Write(const std::vector<TextureEntry*>& entries, const std::string& directory) {
    WebExportResult result;
    const std::string pictureDirectory = JoinPath(directory, kPictureFolder);
    if (!CreateDirectories(pictureDirectory)) {
        result.error = "Der Ordner \"" + pictureDirectory + "\" konnte nicht angelegt werden.";
        return result;
    }
    std::vector<Item> items = SortedItems(entries);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (Stopped()) break;
        Item& item = items[i];
        ++result.entries;
        if (!item.declaration) ++result.withoutText;
        if (item.entry->preview.IsEmpty()) continue;
        item.pictureFile = SafePictureFileName(static_cast<int>(i + 1), item.entry->name);
        if (!WritePicture(item, pictureDirectory)) {
            result.error = "Die Datei \"" + JoinPath(pictureDirectory, item.pictureFile) +
                           "\" konnte nicht geschrieben werden.";
            return result;
        }
        if (item.width == 0) item.pictureFile.clear();
        else ++result.pictures;
    }
    if (Stopped()) {
        result.stopped = true;
        return result;
    }
    const std::string page = JoinPath(directory, "index.html");
    if (!WriteFileAtomically(page, Page(items)))
        result.error = "Die Datei \"" + page + "\" konnte nicht geschrieben werden.";
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
                "\" alt=\"Vorschaubild von " + name + "\" loading=\"lazy\">\n";
    else
        html += "<div class=\"nopicture\" role=\"img\" aria-label=\"Kein Vorschaubild\">Kein Vorschaubild</div>\n";
    html += "<h4>" + name + "</h4>\n<dl><dt>Art</dt><dd>" + KindWord(e.kind) + "</dd><dt>Kategorie</dt><dd>" +
            EscapeHtml(item.category) + "</dd><dt>Datei</dt><dd>" + EscapeHtml(e.sourceFile->fileName) +
            "</dd></dl>\n";
    if (item.declaration) {
        html += "<details><summary>Deklaration</summary>\n<pre>" + EscapeHtml(*item.declaration) +
                "</pre>\n<button type=\"button\" class=\"copy\">Kopieren</button></details>\n";
    } else {
        html += std::string("<p class=\"missing\">Deklaration NICHT VERFÜGBAR: ") +
                (item.fileMissing ? "die Datei wurde nicht gefunden." : "sie steht nicht mehr in der Datei.") +
                "</p>\n";
    }
    return html + "</article>\n";
}

std::string LibraryWebExport::Page(const std::vector<Item>& items) const {
    const std::string title = EscapeHtml(options_.title);
    std::string html = "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<meta name=\"color-scheme\" content=\"light dark\">\n<title>" +
                       title + "</title>\n<style>\n" + kStyle + "</style>\n</head>\n<body>\n<header>\n<h1>" + title +
                       "</h1>\n<p id=\"counts\">" + EscapeHtml(options_.countsText) +
                       "</p>\n<p><label for=\"filter\">Filter:</label> <input type=\"search\" id=\"filter\" "
                       "placeholder=\"Name, Art, Kategorie oder Datei\" autocomplete=\"off\"> "
                       "<span id=\"shown\" aria-live=\"polite\"></span></p>\n</header>\n<main>\n";
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
    if (items.empty()) html += "<p>Die Liste enthält keine Einträge.</p>\n";
    return html + "</main>\n<script>\n" + kScript + "</script>\n</body>\n</html>\n";
}

}  // namespace sc
