#include "gui/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/IniFile.h"
#include "ui/Settings.h"

namespace sc {

std::string StartLanguage(const std::string& settingsFile) {
    IniFile settings(settingsFile);
    settings.Load();
    return LanguageOfChoice(LanguageChoiceOf(settings));
}

bool ApplyLanguage(QCoreApplication& app, const std::string& language) {
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    bool complete = UseLanguage(language);
    // Qt follows the language asked for, even where the program lacks its catalogue.
    const QString code = QString::fromStdString(language);
    if (code == QLatin1String("de"))
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    else if (code.isEmpty())
        QLocale::setDefault(QLocale::system().language() == QLocale::English ? QLocale::system()
                                                                                : QLocale(QLocale::English));
    else
        QLocale::setDefault(QLocale(code));
    // English is what Qt writes without a translation.
    if (code.isEmpty()) return complete;
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    installed = translator;
    return QCoreApplication::installTranslator(translator) && complete;
}

}  // namespace sc
