#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QString>

// Entry names of zips made by old tools on other systems are in a DOS code page, not UTF-8.
// The rule: valid UTF-8 is taken as such (flag or no flag). A zip made on Unix (its entry's
// "made by" system) holds the bytes the file system gave it, as Info-ZIP's zip writes them:
// they are kept as they are (FileNameCodec), so a Latin-1 "caf\xE9.txt" comes back as those
// bytes, as unzip restores it. Anything else is CP437, the format's own default, unless the
// legacy code page of the user's language reads the bytes as letters of that language's
// script, which CP437 then garbles (a Russian user's CP866 "ПРИВЕТ" would come out as
// "ÅÉêéàÆ").
namespace ZipNameDecoding {

// In the user's language (QLocale::system()), looked up only for names that aren't ASCII.
QString decode(QByteArrayView raw, bool madeOnUnix);
QString decode(QByteArrayView raw, bool madeOnUnix, const QLocale &locale);

// The name in the code page the user chose (a QStringDecoder name such as "IBM866"; "UTF-8"
// keeps invalid bytes as FileNameCodec does). Names whose entry says UTF-8 are not passed here.
QString decodeAs(QByteArrayView raw, const QByteArray &encoding);

// The DOS or Windows code page for a language, or empty when CP437 is its own ("IBM866"
// for Russian, "Shift_JIS" for Japanese).
QByteArray legacyCodePage(QLocale::Language language, QLocale::Script script);

} // namespace ZipNameDecoding
