#pragma once
// Helpers shared by all test programs. Every test program runs with HOME and
// the XDG folders pointing into a private temporary folder, so no test ever
// touches the real user's files.
#include <functional>
#include <locale>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UserInterface.h"

namespace sc {
class LibraryController;
class TextureLibrary;
class TimerQueue;
class TextureEntry;
}

namespace sc::test {

// Fires `timers` as an event loop would (sleeping until the next is due),
// until `done` holds or about `timeoutMs` passed; returns done().
bool RunTimersUntil(TimerQueue& timers, const std::function<bool()>& done, int timeoutMs = 30000);

// A temporary folder that is removed with everything in it when destroyed.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Full path of a name inside the folder.
    std::string operator/(std::string_view name) const;
    // Writes a file (creating parent folders) and returns its full path.
    std::string Write(std::string_view name, std::string_view contents) const;

private:
    std::string path_;
};

// While it lives, the process runs under the German locale (decimal comma,
// point as thousands separator), in C and as the global C++ locale, as a
// German user's window would run. Active() is false when the system lacks
// de_DE.UTF-8 (scripts/install-deps.sh generates it).
class GermanLocale {
public:
    GermanLocale();
    ~GermanLocale();
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;

    bool Active() const { return active_; }

private:
    std::string savedC_;
    std::locale savedCpp_;
    bool active_ = false;
};

// Reads a whole file, or returns an empty string.
std::string ReadFile(std::string_view path);
// The lines of a text written with CR LF line ends, as the scenes and scripts are.
std::vector<std::string> CrLfLines(const std::string& text);

// `text` quoted for the shell as one word, whatever it holds.
std::string ShellQuoted(std::string_view text);

// Runs a command line through the shell and returns its exit status; its
// standard output is stored in `output` when given.
int RunCommand(const std::string& command, std::string* output = nullptr);

// Runs `body` in a forked child and returns its exit status (-1 when it did
// not exit). With a `fileSizeLimit` every write beyond that many bytes fails,
// as on a full disk.
int RunInChild(const std::function<int()>& body, long fileSizeLimit = 0);

// The folder holding the built programs (swatchcraft-cli, the render host, the bridge).
std::string BinaryDir();

// POV-Ray's standard include folder, as installed by the povray-includes package.
std::string PovIncludeDir();

// Renders a scene or ini file with the real POV-Ray at 32 x 24 pixels without
// display, from inside `directory` (so POV-Ray's restricted file access lets
// it read what lies there), with the standard include folder as library path
// and the picture written into `directory`. Returns POV-Ray's exit status;
// its messages land in `output`. -1 when /usr/bin/povray is missing.
int RenderWithPovray(const std::string& directory, const std::string& file, const std::string& options,
                     std::string* output);

// Reads a list file into `controller` as opening it does.
bool LoadListFile(LibraryController& controller, const std::string& path);
// Searches the include file `include` as the search does by default and
// saves what it found as the list file `list`.
bool WriteScannedList(const std::string& list, const std::string& include);

// The library's entries in its own order, and the first one named `name` (null when none).
std::vector<TextureEntry*> EntriesOf(const TextureLibrary& library);
TextureEntry* EntryNamed(const TextureLibrary& library, std::string_view name);

// A user interface that records what the core said and answers from a script.
class RecordingUserInterface : public UserInterface {
public:
    struct Message {
        std::string text;
        MessageIcon icon;
        std::string title;
    };

    std::vector<Message> messages;   // ShowMessage calls
    std::vector<std::string> questions;  // Ask and Choose texts, in order
    std::vector<std::string> statusTexts;
    std::vector<Answer> answers;     // answers for Ask, taken in order; default when exhausted
    std::vector<int> choices;        // answers for Choose, taken in order; default when exhausted
    mutable int checkCount = 0;      // times the work asked for the cancel flag
    int cancelAfterChecks = -1;      // sets the cancel flag at this ask

    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override;
    Answer Ask(const std::string& text, QuestionButtons buttons, Answer defaultAnswer, MessageIcon icon,
               const std::string& title) override;
    int Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultIndex,
               MessageIcon icon, const std::string& title) override;
    void SetStatusText(const std::string& text) override;
    void SetProgressRange(int range) override { progressRange = range; }
    void SetProgressPosition(int position) override { progressPosition = position; }
    void StepProgress() override { ++progressPosition; }
    void HideProgress() override { progressHidden = true; }
    bool IsCancelled() const override;

    int progressRange = 0;
    int progressPosition = 0;
    bool progressHidden = false;

private:
    size_t nextAnswer_ = 0;
    size_t nextChoice_ = 0;
};

}  // namespace sc::test
