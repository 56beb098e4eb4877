// The two export formats behind one seam.
#include "export/ExportFormat.h"

#include <algorithm>

#include "export/ContactSheet.h"
#include "export/LibraryWebExport.h"
#include "export/PictureFile.h"
#include "library/NaturalCompare.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"

namespace sc {
namespace {

class WebPage final : public ExportFormat {
public:
    std::string Key() const override { return "web"; }
    std::string Name() const override { return Tr("Web page"); }
    std::string FileFilter() const override { return {}; }
    std::string Extension() const override { return {}; }
    ExportTarget CheckTarget(const std::string& target) const override { return LibraryWebExport::CheckFolder(target); }

    ExportResult Write(const ExportJob& job, const std::string& target, const ExportProgress& progress) const override {
        if (!job.library) {
            ExportResult result;
            result.error = Tr("There is no library to export.");
            return result;
        }
        LibraryWebExport page(*job.library, {job.title, job.countsText});
        return page.Write(job.entries, target, progress, job.replaceForeignFiles);
    }
};

class Sheet final : public ExportFormat {
public:
    std::string Key() const override { return "sheet"; }
    std::string Name() const override { return Tr("Contact sheet"); }
    std::string FileFilter() const override { return Tr("Contact sheet (*.png)"); }
    std::string Extension() const override { return ".png"; }

    ExportTarget CheckTarget(const std::string& target) const override {
        ExportTarget check;
        if (target.empty()) check.refusal = Tr("No target file was given.");
        else if (ToLowerAscii(ExtensionOf(target)) != ".png")
            check.refusal = Tr("The contact sheet is written as PNG; the file name must end in .png.");
        else if (DirectoryExists(target)) check.refusal = FillIn(Tr("\"%1\" is a folder."), {target});
        else check.replacesEarlier = PathExists(target);
        return check;
    }

    // Names sorted as a reader looks them up; the pixels go to a temporary
    // file first, so a full disk leaves the earlier sheet, or none.
    ExportResult Write(const ExportJob& job, const std::string& target, const ExportProgress& progress) const override {
        ExportResult result;
        result.error = CheckTarget(target).refusal;
        if (!result.error.empty()) return result;
        std::vector<const TextureEntry*> entries(job.entries.begin(), job.entries.end());
        std::erase(entries, nullptr);
        std::stable_sort(entries.begin(), entries.end(), [](const TextureEntry* a, const TextureEntry* b) {
            return NaturalCompare(a->name, b->name, false) < 0;
        });
        const ContactSheet layout(entries, job.columns);
        RgbPicture sheet;
        if (!layout.Compose(sheet, result.error, progress)) {
            result.cancelled = result.error.empty();
            return result;
        }
        const std::string png = EncodePng(sheet);
        if (png.empty() || !WriteFileAtomically(target, png)) {
            result.error = FillIn(Tr("The file \"%1\" could not be written."), {target});
            return result;
        }
        result.entries = static_cast<int>(entries.size());
        result.pictures = static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const TextureEntry* e) {
            return !e->preview.IsEmpty();
        }));
        result.summary = FillIn(TrN("%1 entry saved as the contact sheet \"%2\".",
                                    "%1 entries saved as the contact sheet \"%2\".",
                                    static_cast<unsigned long>(result.entries)),
                                {std::to_string(result.entries), target});
        return result;
    }
};

}  // namespace

const ExportFormat& WebPageFormat() {
    static const WebPage format;
    return format;
}

const ExportFormat& ContactSheetFormat() {
    static const Sheet format;
    return format;
}

const std::vector<const ExportFormat*>& ExportFormats() {
    static const std::vector<const ExportFormat*> formats{&WebPageFormat(), &ContactSheetFormat()};
    return formats;
}

const ExportFormat* FindExportFormat(const std::string& key) {
    for (const ExportFormat* format : ExportFormats())
        if (format->Key() == key) return format;
    return nullptr;
}

}  // namespace sc
