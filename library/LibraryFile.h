#pragma once
// Library list files (*.swl): every named entry with its source file,
// category, flags and JPEG preview, as a flat little-endian record stream.
// The writer always writes the current format; the reader accepts every
// earlier format and converts on loading.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/PathUtil.h"

namespace sc {

class LibraryController;
class TextureLibrary;
class UserInterface;

// The format version the writer stores (bytes 48 E1 5A 40).
inline constexpr float kLibraryFileVersion = 3.42f;
// Longest name, file name or category a list file may hold; longer ones
// mark a damaged record.
inline constexpr std::uint32_t kMaxListFileString = 260;
// Longest directory (and POV-Ray home) a list file may hold: the
// platform's path limit, so deep include folders keep their directory.
inline constexpr std::uint32_t kMaxListFilePath = static_cast<std::uint32_t>(kMaxPathLength);
// Pictures of this many bytes or more are skipped when reading.
inline constexpr std::uint32_t kMaxListFilePicture = 20000;

// Writes every entry of the controller's library, in NextEntry order, into
// `path` with the current format. The old file is replaced only after the
// new one was written completely, so a failed save leaves it untouched.
// True on success, which sets `modified` to 0; on failure `modified` stays.
// A directory longer than the path limit is stored empty (the reader then
// treats the entry like one whose file moved); any other string beyond its
// limit, which no reader would accept, makes the save fail.
bool SaveLibrary(LibraryController& controller, const std::string& path, const std::string& povHome);

// Reads a list file into the controller's library. Replace mode
// (`addToLibrary` false) empties the library first; add mode merges: a new
// entry is added, a present one only takes over a valid picture when it had
// none. `outPovHome` receives the stored POV-Ray home (empty before 3.199),
// `outVersion` the header version. True when the whole file was read; a
// damaged record ends reading with false, keeping the records read before.
bool LoadLibrary(LibraryController& controller, const std::string& path, std::string& outPovHome,
                 float& outVersion, bool addToLibrary);

// A list file read apart from any library, so the reading can run on a
// worker thread: ReadListFile fills it, ApplyListFile puts it into a library
// in one step on the thread that owns the library. LoadLibrary is the two
// in a row.
class ListFileContents {
public:
    ListFileContents();
    ~ListFileContents();
    ListFileContents(ListFileContents&&) noexcept;
    ListFileContents& operator=(ListFileContents&&) noexcept;

    bool Opened() const;     // the file was a list file of a known version
    bool Complete() const;   // every record was read: no damaged one ended the reading
    bool Cancelled() const;  // the reader was stopped; nothing is to be applied
    const std::string& PovHome() const;
    float Version() const;

private:
    friend bool ReadListFile(const std::string&, ListFileContents&, UserInterface&);
    friend bool ApplyListFile(LibraryController&, ListFileContents&, bool);
    struct Data;
    std::unique_ptr<Data> d_;
};

// Reads `path` into `out`, reporting progress through `ui` ("Lade ...")
// and stopping when `ui` is cancelled. Touches no library. True when the
// whole file was read.
bool ReadListFile(const std::string& path, ListFileContents& out, UserInterface& ui);
// Puts what was read into the controller's library, as LoadLibrary
// describes; a cancelled or unopened reading changes nothing. True when the
// whole file had been read.
bool ApplyListFile(LibraryController& controller, ListFileContents& contents, bool addToLibrary);

// The list file's bytes for every entry of `library`, as SaveLibrary writes
// them; empty when a string is beyond what the format may hold. Quick: the
// pictures are copied, not encoded, so the slow part (writing) may run
// elsewhere. `progress`, when given, counts the entries.
std::string EncodeListFile(const TextureLibrary& library, const std::string& povHome,
                           UserInterface* progress = nullptr);
// Writes those bytes to `path` through a temporary file; true on success.
bool WriteListFile(const std::string& path, const std::string& bytes);

// What a list file's header says, read without loading the entries.
struct ListFileHeader {
    float version = 0;
    std::string povHome;          // empty before 3.199
    bool hasEntryCount = false;   // stored from 2.099 on
    std::uint32_t entryCount = 0; // the writer's count; used for progress only
};

// Reads only the header; false when the file cannot be read or is no list
// file of a known version.
bool ReadListFileHeader(const std::string& path, ListFileHeader& header);

// Loads with the messages of a failure shown through the controller's
// interface: a missing file (or a directory, fifo ...), then an unreadable
// or damaged one.
// `outPovHome`, when given, receives the stored POV-Ray home.
bool LoadLibraryReporting(LibraryController& controller, const std::string& path,
                          bool addToLibrary, std::string* outPovHome = nullptr);

// Saves with the failure message shown through the controller's interface.
bool SaveLibraryReporting(LibraryController& controller, const std::string& path,
                          const std::string& povHome);

// Writes a freshly scanned library to `path`; with `mergeExisting` an
// existing file at `path` is first merged in add mode, so its entries and
// pictures are kept. Failures are reported through the controller's
// interface; nothing is written when the existing file cannot be read.
bool SaveScannedLibrary(LibraryController& controller, const std::string& path, bool mergeExisting,
                        const std::string& povHome = {});

// The status texts shown while saving and loading.
std::string SavingStatusText();
std::string LoadingStatusText(const std::string& path);

// Message for a list file that cannot be opened or is damaged.
std::string OpenFailedMessage(const std::string& path);
// Message for a list file that does not exist.
std::string FileMissingMessage(const std::string& path);
// Message for a path that names no regular file: says whether nothing is
// there, a directory, or something else (a fifo, a device).
std::string NoFileMessage(const std::string& path);
// Message for a failed save.
std::string SaveFailedMessage(const std::string& path);
// The question whether to look for the files of `count` entries without
// directory along the library paths (Yes starts the directory completion).
std::string CompleteDirectoriesQuestion(int count);
// The question before a "save as" overwrites an existing file.
std::string OverwriteQuestion(const std::string& path);

}  // namespace sc
