#include "library/LibraryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "library/LibraryController.h"
#include "library/PictureCheck.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "platform/UserInterface.h"

namespace sc {
namespace {

constexpr char kFormatName[] = "Swatchcraft";
constexpr std::size_t kFormatNameField = 20;
constexpr std::size_t kReservedBytes = 10;
constexpr std::size_t kColorEntryKind = kKindColor;

// ---- writing ------------------------------------------------------------

class RecordWriter {
public:
    explicit RecordWriter(std::string& out) : out_(out) {}

    void U8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void F32(float v) { U32(std::bit_cast<std::uint32_t>(v)); }
    void Bytes(const void* data, std::size_t size) {
        out_.append(static_cast<const char*>(data), size);
    }
    void String(const std::string& s) {
        U32(static_cast<std::uint32_t>(s.size()));
        out_.append(s);
    }

private:
    std::string& out_;
};

// What a record stores for a string that is too long for any reader.
bool Storable(const std::string& s, std::uint32_t limit = kMaxListFileString) { return s.size() <= limit; }

bool WriteEntry(RecordWriter& w, const TextureEntry& e) {
    const SourceFile& file = *e.sourceFile;
    if (!Storable(file.fileName) || !Storable(e.name) || !Storable(e.category)) return false;
    w.String(Storable(file.directory, kMaxListFilePath) ? file.directory : std::string());
    w.String(file.fileName);
    w.String(e.name);
    w.U8(static_cast<std::uint8_t>(e.kind));
    if (e.kind == kKindColor) {
        const EntryColor color = e.color ? *e.color : EntryColor{};
        w.F32(color.red);
        w.F32(color.green);
        w.F32(color.blue);
    }
    w.String(e.category);
    w.F32(e.previewVersion);
    w.U32(e.previewCrc);
    // A picture that no longer belongs to the entry is not kept.
    const bool writePicture = e.previewValid || e.preview.IsEmpty();
    const std::uint32_t pictureSize = writePicture ? e.preview.jpegSize() : 0;
    w.U32(pictureSize);
    if (pictureSize > 0) w.Bytes(e.preview.jpegData.data(), pictureSize);
    w.U32(e.preview.sumRed);
    w.U32(e.preview.sumGreen);
    w.U32(e.preview.sumBlue);
    w.U32(e.preview.sumMiddleRow);
    w.U32(e.previewValid ? 1 : 0);
    w.U32(e.previewFaulty ? 1 : 0);
    w.U8(e.previewAttempt);
    w.Bytes(e.reserved.data(), kReservedBytes);
    return true;
}

// ---- reading ------------------------------------------------------------

// A bounds-checked cursor over the file, read in pieces. Every read is
// checked against what remains of the file before anything is allocated,
// so neither a huge file nor a damaged size field makes the reader ask for
// more memory than one record needs.
class RecordReader {
public:
    RecordReader() = default;
    ~RecordReader() {
        if (fd_ >= 0) close(fd_);
    }
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    // False when the path names no readable regular file.
    bool Open(const std::string& path) {
        fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        struct stat st {};
        if (fd_ < 0 || fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return false;
        remaining_ = static_cast<std::uint64_t>(st.st_size);
        return true;
    }

    bool AtEnd() const { return remaining_ == 0; }

    bool U8(std::uint8_t& v) {
        if (!Fill(1)) return false;
        v = static_cast<std::uint8_t>(buffer_[pos_]);
        Advance(1);
        return true;
    }
    bool U32(std::uint32_t& v) {
        if (!Fill(4)) return false;
        v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(buffer_[pos_ + i])) << (8 * i);
        Advance(4);
        return true;
    }
    bool F32(float& v) {
        std::uint32_t bits = 0;
        if (!U32(bits)) return false;
        v = std::bit_cast<float>(bits);
        return true;
    }
    // A finite float; NaN and infinities mark a damaged field.
    bool FiniteF32(float& v) { return F32(v) && std::isfinite(v); }
    bool Skip(std::uint64_t count) {
        if (remaining_ < count) return false;
        if (count <= Buffered()) {
            Advance(static_cast<std::size_t>(count));
            return true;
        }
        const std::uint64_t beyond = count - Buffered();
        pos_ = end_ = 0;
        remaining_ -= count;
        return lseek(fd_, static_cast<off_t>(beyond), SEEK_CUR) != static_cast<off_t>(-1);
    }
    bool Bytes(std::size_t count, std::vector<std::uint8_t>& out) {
        if (!Fill(count)) return false;
        const auto* begin = reinterpret_cast<const std::uint8_t*>(buffer_.data() + pos_);
        out.assign(begin, begin + count);
        Advance(count);
        return true;
    }
    // A stored string; its text ends at the first NUL, as the 8-bit strings
    // it was written from did. Lengths above `limit` are damage.
    bool String(std::string& s, std::uint32_t limit = kMaxListFileString) {
        std::uint32_t length = 0;
        if (!U32(length) || length > limit || !Fill(length)) return false;
        const char* begin = buffer_.data() + pos_;
        s.assign(begin, strnlen(begin, length));
        Advance(length);
        return true;
    }

private:
    static constexpr std::size_t kChunk = 256 * 1024;

    std::size_t Buffered() const { return end_ - pos_; }
    void Advance(std::size_t count) {
        pos_ += count;
        remaining_ -= count;
    }
    // Makes `count` bytes readable at pos_; false when the file holds fewer.
    bool Fill(std::size_t count) {
        if (Buffered() >= count) return true;
        if (remaining_ < count) return false;
        // Before the first read the buffer has no storage at all.
        if (Buffered() > 0) std::memmove(buffer_.data(), buffer_.data() + pos_, Buffered());
        end_ = Buffered();
        pos_ = 0;
        buffer_.resize(std::max(kChunk, count));
        while (end_ < count) {
            const ssize_t n = read(fd_, buffer_.data() + end_, buffer_.size() - end_);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            end_ += static_cast<std::size_t>(n);
        }
        return true;
    }

    int fd_ = -1;
    std::vector<char> buffer_;
    std::size_t pos_ = 0, end_ = 0;
    std::uint64_t remaining_ = 0;  // bytes of the file after pos_
};

// Version thresholds compare the stored single-precision value as double,
// so a stored 3.2 or 3.4 (slightly above the double values) counts as
// reaching them.
struct FormatVersion {
    double value;
    bool HasPovHome() const { return value >= 3.199; }
    bool HasEntryCount() const { return value >= 2.099; }
    bool KindsOneLower() const { return value < 3.2; }
    bool HasColorAndStats() const { return value >= 3.4; }
    bool HasPreviewVersion() const { return value >= 3.099; }
};

struct Record {
    std::string directory, fileName, name, category;
    int kind = 0;
    EntryColor color;
    float previewVersion = 0;
    std::uint32_t previewCrc = 0;
    std::vector<std::uint8_t> picture;
    std::uint32_t sums[4] = {0, 0, 0, 0};
    bool previewValid = false;
    bool previewFaulty = false;
    std::uint8_t previewAttempt = 0;
};

enum class RecordResult { Read, End, Damaged };

RecordResult ReadRecord(RecordReader& r, FormatVersion v, Record& rec) {
    if (r.AtEnd()) return RecordResult::End;
    std::uint8_t kind = 0;
    if (!r.String(rec.directory, kMaxListFilePath) || !r.String(rec.fileName) || !r.String(rec.name) || !r.U8(kind))
        return RecordResult::Damaged;
    rec.kind = v.KindsOneLower() ? kind + 1 : kind;
    // Only real library entries may enter the library: anything else would
    // break the counters and the views.
    if (!IsLibraryKind(rec.kind) || rec.name.empty() || rec.fileName.empty())
        return RecordResult::Damaged;
    rec.color = EntryColor{};
    if (v.HasColorAndStats() && rec.kind == static_cast<int>(kColorEntryKind)) {
        if (!r.FiniteF32(rec.color.red) || !r.FiniteF32(rec.color.green) ||
            !r.FiniteF32(rec.color.blue))
            return RecordResult::Damaged;
    }
    if (!r.String(rec.category)) return RecordResult::Damaged;
    rec.previewVersion = 0;
    if (v.HasPreviewVersion() && !r.FiniteF32(rec.previewVersion)) return RecordResult::Damaged;
    rec.previewCrc = 0;
    if (v.HasColorAndStats() && !r.U32(rec.previewCrc)) return RecordResult::Damaged;
    std::uint32_t pictureSize = 0;
    if (!r.U32(pictureSize)) return RecordResult::Damaged;
    rec.picture.clear();
    if (pictureSize == 0 || pictureSize >= kMaxListFilePicture) {
        if (!r.Skip(pictureSize)) return RecordResult::Damaged;
    } else if (!r.Bytes(pictureSize, rec.picture)) {
        return RecordResult::Damaged;
    }
    for (auto& sum : rec.sums) sum = 0;
    if (v.HasColorAndStats())
        for (auto& sum : rec.sums)
            if (!r.U32(sum)) return RecordResult::Damaged;
    std::uint32_t valid = 0, faulty = 0;
    if (!r.U32(valid) || !r.U32(faulty) || !r.U8(rec.previewAttempt) || !r.Skip(kReservedBytes))
        return RecordResult::Damaged;
    // A picture skipped as empty or oversized leaves nothing to show: the entry
    // must not count as rendered, or it would never be rendered again.
    rec.previewValid = valid != 0 && !rec.picture.empty();
    rec.previewFaulty = faulty != 0;
    return RecordResult::Read;
}

// Gives an image the record's picture and colour sums. Files before 3.4 do
// not store the sums; they are computed from the decoded picture when a
// picture check is at hand. Decoding here shows no message: `decodeFailed`
// tells the caller, which reports the first failure of a load only.
void TakePicture(PreviewImage& image, Record& rec, FormatVersion v, PictureCheck* check,
                 bool& decodeFailed, std::string& decodeError) {
    Clear(image);
    image.jpegData = std::move(rec.picture);
    rec.picture.clear();
    if (v.HasColorAndStats()) {
        SetStats(image, rec.sums[0], rec.sums[1], rec.sums[2], rec.sums[3]);
        return;
    }
    if (image.IsEmpty() || !check) return;
    std::string error;
    if (!check->ComputeStatsFromPicture(image, error)) {
        if (!decodeFailed) decodeError = error;
        decodeFailed = true;
    }
}

struct LoadState {
    LoadState(LibraryController& c, FormatVersion v) : controller(c), version(v) {}
    LibraryController& controller;
    FormatVersion version;
    bool decodeFailed = false;
    std::string decodeError;
    bool changed = false;  // add mode: something entered the library
};

void AddRecord(LoadState& s, Record& rec) {
    TextureLibrary& library = s.controller.Library();
    TextureEntry* entry = library.FindEntry(rec.directory, rec.fileName, rec.name);
    if (!entry) {
        entry = library.AddEntry(rec.directory, rec.fileName, rec.name, rec.kind, rec.category,
                                 rec.previewVersion, &rec.color);
        entry->previewCrc = rec.previewCrc;
        TakePicture(entry->preview, rec, s.version, s.controller.Pictures(), s.decodeFailed,
                    s.decodeError);
        entry->previewValid = rec.previewValid;
        entry->previewFaulty = rec.previewFaulty;
        entry->previewAttempt = rec.previewAttempt;
        s.controller.RegisterAddedEntry(entry);
        s.changed = true;
        return;
    }
    if (entry->previewValid || !rec.previewValid) return;
    // The present entry had no valid picture: it takes over the record's,
    // with what describes it (sums, version, CRC), and is counted again.
    TakePicture(entry->preview, rec, s.version, s.controller.Pictures(), s.decodeFailed,
                s.decodeError);
    s.controller.SetPreviewFlags(entry, true, entry->previewFaulty);
    entry->previewAttempt = rec.previewAttempt;
    entry->previewVersion = rec.previewVersion;
    entry->previewCrc = rec.previewCrc;
    s.controller.Views().EntryUpdated(entry);
    s.changed = true;
}

bool ReadHeader(RecordReader& r, float& version) {
    std::vector<std::uint8_t> name;
    if (!r.Bytes(kFormatNameField, name)) return false;
    if (std::memcmp(name.data(), kFormatName, sizeof kFormatName) != 0) return false;
    if (!r.F32(version)) return false;
    return std::isfinite(version) && version <= kLibraryFileVersion;
}

int ProgressRange(std::uint32_t count) {
    return count > static_cast<std::uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(count);
}

}  // namespace

std::string EncodeListFile(const TextureLibrary& library, const std::string& povHome, UserInterface* progress) {
    std::uint32_t records = 0;
    std::size_t pictureBytes = 0;
    for (const TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) {
        ++records;
        pictureBytes += e->preview.jpegData.size();
    }
    std::string out;
    out.reserve(64 + static_cast<std::size_t>(records) * 160 + pictureBytes);
    RecordWriter w(out);
    char name[kFormatNameField] = {};
    std::memcpy(name, kFormatName, sizeof kFormatName - 1);
    w.Bytes(name, sizeof name);
    w.F32(kLibraryFileVersion);
    w.String(Storable(povHome, kMaxListFilePath) ? povHome : std::string());
    // The number of records that follow: readers size their progress by it.
    w.U32(records);
    if (progress) {
        progress->SetProgressRange(ProgressRange(records));
        progress->SetProgressPosition(0);
    }
    for (const TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) {
        if (!WriteEntry(w, *e)) return {};
        if (progress) progress->StepProgress();
    }
    return out;
}

bool WriteListFile(const std::string& path, const std::string& bytes) {
    return !bytes.empty() && WriteFileAtomically(path, bytes);
}

bool SaveLibrary(LibraryController& controller, const std::string& path, const std::string& povHome) {
    UserInterface& ui = controller.Ui();
    ui.SetStatusText(SavingStatusText());
    const bool ok = WriteListFile(path, EncodeListFile(controller.Library(), povHome, &ui));
    ui.HideProgress();
    if (ok) controller.modified = 0;
    return ok;
}

struct ListFileContents::Data {
    bool readable = false;  // the file could be opened at all
    bool opened = false;
    bool complete = false;
    bool cancelled = false;
    float version = 0;
    std::string povHome;
    std::vector<Record> records;
};

ListFileContents::ListFileContents() : d_(std::make_unique<Data>()) {}
ListFileContents::~ListFileContents() = default;
ListFileContents::ListFileContents(ListFileContents&&) noexcept = default;
ListFileContents& ListFileContents::operator=(ListFileContents&&) noexcept = default;
bool ListFileContents::Opened() const { return d_->opened; }
bool ListFileContents::Complete() const { return d_->complete; }
bool ListFileContents::Cancelled() const { return d_->cancelled; }
const std::string& ListFileContents::PovHome() const { return d_->povHome; }
float ListFileContents::Version() const { return d_->version; }

bool ReadListFile(const std::string& path, ListFileContents& out, UserInterface& ui) {
    out = ListFileContents();
    ListFileContents::Data& d = *out.d_;
    RecordReader r;
    if (!FileExists(path) || !r.Open(path)) return false;
    d.readable = true;
    if (!ReadHeader(r, d.version)) return false;
    const FormatVersion version{static_cast<double>(d.version)};
    if (version.HasPovHome() && !r.String(d.povHome, kMaxListFilePath)) {
        d.povHome.clear();
        return false;
    }
    if (version.HasEntryCount()) {
        std::uint32_t count = 0;
        if (!r.U32(count)) return false;
        ui.SetStatusText(LoadingStatusText(path));
        ui.SetProgressRange(ProgressRange(count));
        ui.SetProgressPosition(0);
    }
    d.opened = true;
    // Entries whose file is gone keep no directory; the directory completion
    // may find them again along the library paths. Many entries share a file.
    std::string lastFile;
    bool lastExists = false;
    Record rec;
    RecordResult result;
    while ((result = ReadRecord(r, version, rec)) == RecordResult::Read) {
        if (!rec.directory.empty()) {
            const std::string file = rec.directory + rec.fileName;
            if (file != lastFile) {
                lastFile = file;
                lastExists = FileExists(file);
            }
            if (!lastExists) rec.directory.clear();
        }
        d.records.push_back(std::move(rec));
        rec = Record{};
        ui.StepProgress();
        if (ui.IsCancelled()) {
            d.cancelled = true;
            d.records.clear();
            return false;
        }
    }
    d.complete = result == RecordResult::End;
    return d.complete;
}

bool ApplyListFile(LibraryController& controller, ListFileContents& contents, bool addToLibrary) {
    ListFileContents::Data& d = *contents.d_;
    if (!d.readable || d.cancelled) return false;
    UserInterface& ui = controller.Ui();
    // A readable file that is no list file still replaces the library (with nothing).
    if (!addToLibrary) controller.ResetLibrary();
    if (!d.opened) return false;
    const FormatVersion version{static_cast<double>(d.version)};
    LoadState state(controller, version);
    for (Record& rec : d.records) AddRecord(state, rec);
    d.records.clear();
    ui.HideProgress();
    controller.Views().Refresh();
    if (state.decodeFailed)
        ui.ShowMessage(state.decodeError, MessageIcon::Stop, Tr(kJpegFatalErrorTitle));
    if (!addToLibrary) controller.modified = version.HasColorAndStats() ? 0 : 1;
    else if (state.changed) ++controller.modified;
    return d.complete;
}

bool LoadLibrary(LibraryController& controller, const std::string& path, std::string& outPovHome,
                 float& outVersion, bool addToLibrary) {
    ListFileContents contents;
    ReadListFile(path, contents, controller.Ui());
    outPovHome = contents.PovHome();
    outVersion = contents.Version();
    return ApplyListFile(controller, contents, addToLibrary);
}

bool ReadListFileHeader(const std::string& path, ListFileHeader& header) {
    header = ListFileHeader{};
    RecordReader r;
    if (!FileExists(path) || !r.Open(path)) return false;
    if (!ReadHeader(r, header.version)) return false;
    const FormatVersion version{static_cast<double>(header.version)};
    if (version.HasPovHome() && !r.String(header.povHome, kMaxListFilePath)) return false;
    if (version.HasEntryCount()) {
        if (!r.U32(header.entryCount)) return false;
        header.hasEntryCount = true;
    }
    return true;
}

bool LoadLibraryReporting(LibraryController& controller, const std::string& path,
                          bool addToLibrary, std::string* outPovHome) {
    if (!FileExists(path)) {
        controller.Ui().ShowMessage(NoFileMessage(path), MessageIcon::Exclamation);
        return false;
    }
    std::string povHome;
    float version = 0;
    const bool ok = LoadLibrary(controller, path, povHome, version, addToLibrary);
    if (outPovHome) *outPovHome = povHome;
    if (ok) return true;
    controller.Ui().ShowMessage(OpenFailedMessage(path), MessageIcon::Exclamation);
    return false;
}

bool SaveLibraryReporting(LibraryController& controller, const std::string& path,
                          const std::string& povHome) {
    if (SaveLibrary(controller, path, povHome)) return true;
    controller.Ui().ShowMessage(SaveFailedMessage(path), MessageIcon::Exclamation);
    return false;
}

bool SaveScannedLibrary(LibraryController& controller, const std::string& path, bool mergeExisting,
                        const std::string& povHome) {
    if (mergeExisting && FileExists(path) && !LoadLibraryReporting(controller, path, true))
        return false;
    return SaveLibraryReporting(controller, path, povHome);
}

std::string SavingStatusText() { return Tr("Saving:"); }

std::string LoadingStatusText(const std::string& path) {
    return FillIn(Tr("Loading \"%1\":"), {FileNameOf(path)});
}

std::string OpenFailedMessage(const std::string& path) {
    return FillIn(Tr("An error occurred while opening the file\n\"%1\".\n\n"
                     "Perhaps this file is not a valid Swatchcraft file."),
                  {path});
}

std::string FileMissingMessage(const std::string& path) {
    return FillIn(Tr("The file\n\"%1\"\ndoes not exist."), {path});
}

std::string NoFileMessage(const std::string& path) {
    if (DirectoryExists(path)) return FillIn(Tr("The file\n\"%1\"\nis a folder, not a file."), {path});
    if (PathExists(path))
        return FillIn(Tr("The file\n\"%1\"\nis not a regular file (but, for example, a pipe or a device)."), {path});
    return FileMissingMessage(path);
}

std::string SaveFailedMessage(const std::string& path) {
    return FillIn(Tr("An error occurred while saving the file\n\"%1\".\n\nThe file was not saved."), {path});
}

std::string CompleteDirectoriesQuestion(int count) {
    return FillIn(TrN("The list has %1 texture in files that have no folder.\n"
                      "So it cannot be sure that the texture exists and can be shown.\n\n"
                      "Search the library folders for these files and textures?",
                      "The list has %1 textures in files that have no folder.\n"
                      "So it cannot be sure that the textures exist and can be shown.\n\n"
                      "Search the library folders for these files and textures?",
                      static_cast<unsigned long>(count)),
                  {std::to_string(count)});
}

std::string OverwriteQuestion(const std::string& path) {
    return FillIn(Tr("The file\n\"%1\"\nalready exists.\n\nOverwrite it?"), {path});
}

}  // namespace sc
