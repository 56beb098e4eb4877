#pragma once
// Loads Qt's own German translation, so that standard buttons and dialogs
// read "Ja", "Nein", "Abbrechen", "OK".
class QCoreApplication;

namespace sc {

// True when the translation was found and installed.
bool InstallGermanTranslation(QCoreApplication& app);

}  // namespace sc
