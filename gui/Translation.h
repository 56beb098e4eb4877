#pragma once
// The window's language: the program's catalogue and Qt's own translation
// (standard buttons and dialogs, shortcut names such as "Strg+C"), chosen
// once at start.
#include <QString>
#include <string>

#include "platform/Translate.h"

class QCoreApplication;

namespace sc {

// Puts `language` ("" English, "de", ...) in force for the program's texts
// and Qt's, and makes it the default locale for numbers and dates shown to
// people. False when the program's catalogue or Qt's translation is missing.
bool ApplyLanguage(QCoreApplication& app, const std::string& language);

// The language the window starts in: the one chosen in the settings file at
// `settingsFile`, or the system's when none is.
std::string StartLanguage(const std::string& settingsFile);

// The German the tests compare with.
inline bool InstallGermanTranslation(QCoreApplication& app) { return ApplyLanguage(app, "de"); }

// Catalogue texts as Qt strings (the same keywords for xgettext as Tr, TrN).
inline QString QTr(const char* text) { return QString::fromUtf8(Tr(text)); }
inline QString QTrN(const char* singular, const char* plural, unsigned long count) {
    return QString::fromUtf8(TrN(singular, plural, count));
}
// A short word that needs a context, as TrC.
#define QTrC(context, text) QString::fromUtf8(TrC(context, text))

}  // namespace sc
