#pragma once
// A library shared as a web page: a self-contained folder with index.html
// and one PNG per entry made from its stored preview. The page needs no
// network and no script from elsewhere, so it works from a share or a
// file:// address as well as from a web server.
#include <functional>
#include <string>
#include <vector>

#include "export/ExportFormat.h"

namespace sc {

class TextureEntry;
class TextureLibrary;

struct WebExportOptions {
    std::string title;       // the page's title and heading
    std::string countsText;  // the library's counts, shown under the heading
};

using WebExportResult = ExportResult;

class LibraryWebExport {
public:
    // The library is borrowed; its declarations are loaded as the page needs them.
    LibraryWebExport(TextureLibrary& library, WebExportOptions options);

    // Writes index.html and the folder "bilder" into `directory` (created
    // when missing) for `entries`, grouped by source file and category.
    // Entries whose include file is missing are shown without their
    // declaration. On failure `error` says which file could not be written.
    // A folder holding files an export did not write is refused unless
    // `replaceForeignFiles`; pictures of an earlier export that the new page
    // does not show are removed. A failed or cancelled export keeps the
    // earlier page.
    WebExportResult Write(const std::vector<TextureEntry*>& entries, const std::string& directory,
                          const ExportProgress& progress = {}, bool replaceForeignFiles = false);

    // What lies in `directory` before an export into it.
    static ExportTarget CheckFolder(const std::string& directory);

    // "Texturbibliothek NAME" for a library read from `source` (a list or
    // include file, or a folder); "Texturbibliothek" for an unnamed one.
    static std::string DefaultTitle(const std::string& source);
    // What an export wrote, in one line: "N Einträge mit M Vorschaubildern
    // nach "DIR" exportiert."
    static std::string SummaryText(const WebExportResult& result, const std::string& directory);

    // The folder beside index.html that holds the pictures.
    static constexpr const char* kPictureFolder = "bilder";

private:
    struct Item;
    bool SortedItems(const std::vector<TextureEntry*>& entries, std::vector<Item>& items,
                     const ExportProgress& progress);
    bool WritePicture(Item& item, const std::string& pictureDirectory);
    void ShowPathsRelative(std::vector<Item>& items) const;
    std::string Page(const std::vector<Item>& items) const;
    static std::string EntryHtml(const Item& item);

    TextureLibrary& library_;
    WebExportOptions options_;
};

}  // namespace sc
