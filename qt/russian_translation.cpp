#include "russian_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installRussianTranslation(QCoreApplication &app)
{
    // Owned by the application, so it lives exactly as long as the texts it translates.
    auto *translator = new QTranslator(&app);
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    if (!translator->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QLocale::setDefault(russian);
    return QCoreApplication::installTranslator(translator);
}
