#include "platform/Translate.h"

#include <libintl.h>

#include <atomic>
#include <clocale>
#include <cstdlib>
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"

namespace sc {
namespace {

// Set once at start; read by every lookup. -1 until this copy of the code
// has looked or been told.
std::atomic<int> catalogueInForce{-1};
std::string& Current() {
    static std::string language;
    return language;
}

const char* Environment(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// The language put in force, for the other copies of this code in the
// process (the bridge is a library with its own) and for the programs it
// starts (the render host).
constexpr const char* kLanguageVariable = "SWATCHCRAFT_LANGUAGE";

// "de_AT.UTF-8@euro" -> "de".
std::string LanguageCode(std::string_view locale) {
    const size_t end = locale.find_first_of("_.@");
    return ToLowerAscii(locale.substr(0, end));
}

bool IsCLocale(std::string_view locale) {
    return locale.empty() || locale == "C" || locale == "POSIX";
}

// True when a catalogue is in force: put there by UseLanguage in this copy,
// or by another copy in this process (gettext's own state is the process's).
bool InForce() {
    int state = catalogueInForce.load(std::memory_order_relaxed);
    if (state < 0) {
        const char* language = Environment(kLanguageVariable);
        const int inherited =
            language && Environment("LANGUAGE") && std::strcmp(language, "en") != 0 && HasCatalogue(language) ? 1 : 0;
        catalogueInForce.compare_exchange_strong(state, inherited);
        state = catalogueInForce.load(std::memory_order_relaxed);
    }
    return state > 0;
}

}  // namespace

const char* Tr(const char* text) {
    // gettext gives the catalogue's header for "".
    if (!*text) return text;
    return InForce() ? dgettext(kTextDomain, text) : text;
}

const char* TrN(const char* singular, const char* plural, unsigned long count) {
    if (InForce()) return dngettext(kTextDomain, singular, plural, count);
    return count == 1 ? singular : plural;
}

const char* TrContext(const char* contextAndText, const char* text) {
    if (!InForce()) return text;
    const char* found = dgettext(kTextDomain, contextAndText);
    return found == contextAndText ? text : found;
}

std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string result;
    result.reserve(pattern.size() + 32);
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const size_t index = static_cast<size_t>(pattern[i + 1] - '1');
            if (index < values.size()) {
                result += values.begin()[index];
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

std::string LocaleDir() {
    if (const char* dir = Environment("SWATCHCRAFT_LOCALE_DIR")) return WithoutTrailingSeparator(dir);
    return JoinPath(JoinPath(DirectoryOf(ExecutableDir()), "share"), "locale");
}

bool HasCatalogue(std::string_view language) {
    if (language.empty() || language.find('/') != std::string_view::npos) return false;
    return FileExists(JoinPath(JoinPath(JoinPath(LocaleDir(), language), "LC_MESSAGES"),
                               std::string(kTextDomain) + ".mo"));
}

std::string SystemLanguage() {
    const char* locale = nullptr;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if ((locale = Environment(name))) break;
    if (!locale || IsCLocale(locale)) return {};
    if (const char* list = Environment("LANGUAGE")) {
        std::string_view rest = list;
        while (!rest.empty()) {
            const size_t colon = rest.find(':');
            const std::string code = LanguageCode(rest.substr(0, colon));
            if (code == "en") return {};
            if (HasCatalogue(code)) return code;
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    const std::string code = LanguageCode(locale);
    return HasCatalogue(code) ? code : std::string();
}

std::string LanguageOfChoice(std::string_view choice) {
    if (choice.empty()) return SystemLanguage();
    const std::string code = LanguageCode(choice);
    return code != "en" && HasCatalogue(code) ? code : std::string();
}

bool UseLanguage(const std::string& language) {
    catalogueInForce = 0;
    Current().clear();
    setenv(kLanguageVariable, "en", 1);
    if (language.empty()) return true;
    if (!HasCatalogue(language)) return false;
    // gettext finds the catalogue through LANGUAGE, which it reads only while
    // the messages' locale is not plain C; C.UTF-8 is always there and keeps
    // every other category as it was.
    setenv("LANGUAGE", language.c_str(), 1);
    const char* messages = std::setlocale(LC_MESSAGES, nullptr);
    if (!messages || IsCLocale(messages)) std::setlocale(LC_MESSAGES, "C.UTF-8");
    bindtextdomain(kTextDomain, LocaleDir().c_str());
    // The texts reach Qt and the terminal as UTF-8, whatever LC_CTYPE says.
    bind_textdomain_codeset(kTextDomain, "UTF-8");
    Current() = language;
    setenv(kLanguageVariable, language.c_str(), 1);
    catalogueInForce = 1;
    return true;
}

std::string CurrentLanguage() { return Current(); }

std::string InheritedLanguageChoice() {
    const char* language = Environment(kLanguageVariable);
    return language ? language : "";
}

}  // namespace sc
