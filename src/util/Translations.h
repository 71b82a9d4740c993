#pragma once

class QCoreApplication;
class QLocale;

// The application's texts in the user's language: the catalogue ":/i18n/ombrisk_<language>.qm"
// made from translations/ombrisk_<language>.ts, beside Qt's own where Debian has them. English
// is the source language; its catalogue, always installed first, gives the plural forms of the
// texts counted with %n ("%n file(s)" reads "1 file", "2 files").
//
// Thread-safety: main thread, once at start, after the application object is made.
namespace Translations {

// Installs the English plurals and the catalogue for `locale`'s languages on `app`; returns
// whether one for `locale` was found (always for English).
bool install(QCoreApplication &app, const QLocale &locale);

} // namespace Translations
