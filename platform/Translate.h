#pragma once
// Texts for people go through one message catalogue (GNU gettext, text
// domain "swatchcraft"). The code holds the English texts; a catalogue per
// language (po/LANG.po, built into LANG/LC_MESSAGES/swatchcraft.mo) gives
// them back in that language. Without a catalogue in force the English text
// is returned as it is.
//
//   Tr("Save the list?")                         a text
//   TrN("%1 file", "%1 files", n)                a text that depends on a count
//   TrC("menu", "&File")                         a short word that needs a context
//   FillIn(Tr("File %1 not found."), {name})     values put into a text
//   N_("Textures")                               marks a text in a table; Tr() it where shown
//
// Only literal texts may be given to these, so that xgettext finds them
// (scripts/update-po.sh names these keywords).
#include <initializer_list>
#include <string>
#include <string_view>

namespace sc {

inline constexpr const char* kTextDomain = "swatchcraft";

const char* Tr(const char* text);
const char* TrN(const char* singular, const char* plural, unsigned long count);
// Use through the TrC macro: the context and the text joined by '\004' at
// compile time, as gettext keeps them.
const char* TrContext(const char* contextAndText, const char* text);

// `pattern` with %1 ... %9 replaced by the values in order, in one pass (a
// value that holds "%2" stays as it is); any other '%' is kept.
std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> values);

// The language codes of a catalogue ("de"), or "" for the English texts of
// the code itself.
//
// What the environment asks for: the first entry of LANGUAGE (a list such as
// "fr:de") that is English or has a catalogue, unless the locale is C or
// POSIX (gettext ignores LANGUAGE there too); else the language of the first
// set one of LC_ALL, LC_MESSAGES, LANG when it has a catalogue. English
// otherwise.
std::string SystemLanguage();

// A choice as stored in the settings file: "" (as the system), "en", or a
// catalogue's code. Gives the language that choice stands for.
std::string LanguageOfChoice(std::string_view choice);

// Puts a language in force for the whole process: "" for English, else the
// code of a catalogue below LocaleDir(). Only LC_MESSAGES is touched (and
// LANGUAGE is set), never LC_NUMERIC: numbers keep the conventions the
// program set for them. Call it once at start, before threads run. False
// (and English in force) when the catalogue is missing.
bool UseLanguage(const std::string& language);

// The language in force: "" for English.
std::string CurrentLanguage();

// What UseLanguage put in force in the program that started this one ("en"
// for English), "" when it did not: a choice for LanguageOfChoice.
std::string InheritedLanguageChoice();

// Where the catalogues lie: share/locale beside the program's bin folder,
// which is the build tree's own build/share/locale and, once installed,
// PREFIX/share/locale. SWATCHCRAFT_LOCALE_DIR overrides it (tests).
std::string LocaleDir();

// True when LocaleDir() holds a catalogue for `language`.
bool HasCatalogue(std::string_view language);

}  // namespace sc

// A text in a table that is translated where it is shown.
#define N_(text) text
// A text with a context that tells two equal English words apart.
#define TrC(context, text) ::sc::TrContext(context "\004" text, text)
// The same, marked only (for tables).
#define NC_(context, text) text
