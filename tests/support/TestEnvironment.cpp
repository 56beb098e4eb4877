#include "TestEnvironment.h"
#include "WaitUntil.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/TimerQueue.h"
#include "scanner/TextureSearch.h"

namespace sc::test {

bool RunTimersUntil(TimerQueue& timers, const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done() && std::chrono::steady_clock::now() < end) {
        const int next = timers.MillisecondsToNext();
        std::this_thread::sleep_for(std::chrono::milliseconds(next < 0 || next > 20 ? 20 : next));
        timers.RunDue();
    }
    return done();
}

bool LoadListFile(LibraryController& controller, const std::string& path) {
    std::string povHome;
    float version = 0;
    return LoadLibrary(controller, path, povHome, version, false);
}

bool WriteScannedList(const std::string& list, const std::string& include) {
    RecordingUserInterface quiet;
    LibraryController controller(quiet);
    SearchOptions options;
    options.explicitFiles = {include};
    SearchTextures(controller, options);
    return SaveLibrary(controller, list, "");
}

std::vector<TextureEntry*> EntriesOf(const TextureLibrary& library) {
    std::vector<TextureEntry*> entries;
    for (TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) entries.push_back(e);
    return entries;
}

TextureEntry* EntryNamed(const TextureLibrary& library, std::string_view name) {
    for (TextureEntry* e : EntriesOf(library))
        if (e->name == name) return e;
    return nullptr;
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/swatchcraft-test-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

std::string TempDir::Write(std::string_view name, std::string_view contents) const {
    const std::string full = *this / name;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream out(full, std::ios::binary);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return full;
}

GermanLocale::GermanLocale() {
    const char* current = std::setlocale(LC_ALL, nullptr);
    savedC_ = current ? current : "C";
    try {
        std::locale::global(std::locale("de_DE.UTF-8"));
        active_ = true;
    } catch (const std::runtime_error&) {
        active_ = false;
    }
}

GermanLocale::~GermanLocale() {
    std::locale::global(savedCpp_);
    std::setlocale(LC_ALL, savedC_.c_str());
}

std::string ReadFile(std::string_view path) {
    std::ifstream in(std::string(path), std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0, end = 0; start < text.size(); start = end + 2) {
        end = std::min(text.find("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

std::string ShellQuoted(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int RunCommand(const std::string& command, std::string* output) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    std::array<char, 4096> buffer{};
    std::string text;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) text.append(buffer.data(), n);
    const int status = pclose(pipe);
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunInChild(const std::function<int()>& body, long fileSizeLimit) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (fileSizeLimit > 0) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RenderWithPovray(const std::string& directory, const std::string& file, const std::string& options,
                     std::string* output) {
    if (access("/usr/bin/povray", X_OK) != 0) return -1;
    const std::string command = "cd '" + directory + "' && timeout 300 /usr/bin/povray '" + file +
                                "' +W32 +H24 -D +L" + PovIncludeDir() + " " + options + " 2>&1";
    return RunCommand(command, output);
}

std::string BinaryDir() { return SWATCHCRAFT_BINARY_DIR; }

std::string PovIncludeDir() { return "/usr/share/povray-3.7/include"; }

void RecordingUserInterface::ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) {
    messages.push_back({text, icon, title});
}

Answer RecordingUserInterface::Ask(const std::string& text, QuestionButtons, Answer defaultAnswer, MessageIcon,
                                   const std::string&) {
    questions.push_back(text);
    if (nextAnswer_ < answers.size()) return answers[nextAnswer_++];
    return defaultAnswer;
}

int RecordingUserInterface::Choose(const std::string& text, const std::vector<std::string>&, int defaultIndex,
                                   MessageIcon, const std::string&) {
    questions.push_back(text);
    if (nextChoice_ < choices.size()) return choices[nextChoice_++];
    return defaultIndex;
}

void RecordingUserInterface::SetStatusText(const std::string& text) { statusTexts.push_back(text); }

bool RecordingUserInterface::IsCancelled() const {
    ++checkCount;
    // Once, as a key press would: the work clears the flag when it ends.
    if (checkCount == cancelAfterChecks) const_cast<RecordingUserInterface*>(this)->SetCancelled(true);
    return UserInterface::IsCancelled();
}

}  // namespace sc::test
