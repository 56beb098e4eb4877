#pragma once
// The ways a library is shared without POV-Ray, behind one seam: each format
// has a name, a file filter and a write that reports its error, so the tool
// and the window offer the same formats and say the same things. A write
// reports its progress and may be cancelled, so a window can run it on a
// worker thread.
#include <functional>
#include <string>
#include <vector>

namespace sc {

class TextureEntry;
class TextureLibrary;

// What to export. The library and the entries are borrowed for the write;
// nothing else may change them meanwhile.
struct ExportJob {
    TextureLibrary* library = nullptr;
    std::vector<TextureEntry*> entries;
    std::string title;       // the web page's title and heading
    std::string countsText;  // the library's counts, under the page's heading
    int columns = 0;         // the contact sheet's columns; 0 chooses
    // The target may hold files this program did not write (the user said so).
    bool replaceForeignFiles = false;
};

// Called with the entries done and their total; returning false cancels.
using ExportProgress = std::function<bool(int done, int total)>;

struct ExportResult {
    bool cancelled = false;
    std::string error;    // German, naming the file; empty on success and on cancel
    std::string summary;  // one German line saying what was written
    int entries = 0;
    int pictures = 0;     // entries shown with their preview
    int withoutText = 0;  // entries whose declaration could not be read (web page)
    bool Ok() const { return error.empty() && !cancelled; }
};

// What is at the target before anything is written.
struct ExportTarget {
    // The export cannot go there at all (no name, a file where a folder
    // belongs); German. Nothing else counts then.
    std::string refusal;
    // Files are there that this program did not write and that the export
    // would mix with or replace: written only with replaceForeignFiles.
    std::string foreignFiles;  // the German question naming them; empty when none
    // An earlier export (or the named file itself) would be replaced.
    bool replacesEarlier = false;
};

class ExportFormat {
public:
    virtual ~ExportFormat() = default;
    // A short word for options and settings ("web", "sheet").
    virtual std::string Key() const = 0;
    // The German name, as in "Als NAME exportieren".
    virtual std::string Name() const = 0;
    // A file dialog's filter ("Kontaktbild (*.png)"); empty when the target is a folder.
    virtual std::string FileFilter() const = 0;
    bool TargetIsFolder() const { return FileFilter().empty(); }
    // The extension a chosen file name gets when it has none (".png"); empty for a folder.
    virtual std::string Extension() const = 0;

    // Looks at the target (a folder or a file as FileFilter says) without changing it.
    virtual ExportTarget CheckTarget(const std::string& target) const = 0;
    // Writes the job to the target. A target CheckTarget refuses, or one
    // holding foreign files without job.replaceForeignFiles, is refused here
    // too with that text as the error. A failed or cancelled write leaves no
    // partly written file behind.
    virtual ExportResult Write(const ExportJob& job, const std::string& target,
                               const ExportProgress& progress = {}) const = 0;
};

// Every format, the web page first.
const std::vector<const ExportFormat*>& ExportFormats();
// The format with that key; null when none.
const ExportFormat* FindExportFormat(const std::string& key);
const ExportFormat& WebPageFormat();
const ExportFormat& ContactSheetFormat();

}  // namespace sc
