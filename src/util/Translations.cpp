#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Translations {

namespace {

bool installCatalogue(QCoreApplication &app, const QLocale &locale, const QString &name,
                      const QString &folder)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(locale, name, QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace

bool install(QCoreApplication &app, const QLocale &locale)
{
    const QString own = QStringLiteral(":/i18n");
    installCatalogue(app, QLocale(QLocale::English), QStringLiteral("ombrisk"), own);
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return true;
    installCatalogue(app, locale, QStringLiteral("qtbase"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return installCatalogue(app, locale, QStringLiteral("ombrisk"), own);
}

} // namespace Translations
