#include "ZipNameDecoding.h"

#include <QStringDecoder>

namespace {

QString decodeStrict(const QByteArray &raw, const char *codec, bool *ok)
{
    QStringDecoder decoder(codec, QStringDecoder::Flag::Stateless);
    const QString text = decoder(raw);
    *ok = decoder.isValid() && !decoder.hasError();
    return text;
}

// Every non-ASCII character a letter or digit outside the Latin script: what a name in the
// user's own non-Latin language looks like.
bool readsAsNativeLetters(const QString &text)
{
    bool sawNative = false;
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            continue;
        if (!c.isLetterOrNumber() || c.script() == QChar::Script_Latin ||
            c.script() == QChar::Script_Common)
            return false;
        sawNative = true;
    }
    return sawNative;
}

} // namespace

QByteArray ZipNameDecoding::legacyCodePage(QLocale::Language language, QLocale::Script script)
{
    switch (language) {
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Belarusian:
    case QLocale::Bulgarian:
    case QLocale::Serbian:
    case QLocale::Macedonian:
    case QLocale::Kazakh:
        return "IBM866";
    case QLocale::Greek:
        return "ibm-737";
    case QLocale::Hebrew:
        return "ibm-862";
    case QLocale::Arabic:
    case QLocale::Persian:
        return "ibm-720";
    case QLocale::Turkish:
        return "ibm-857";
    case QLocale::Japanese:
        return "Shift_JIS";
    case QLocale::Chinese:
        return script == QLocale::TraditionalHanScript ? "Big5" : "GBK";
    case QLocale::Korean:
        return "EUC-KR";
    case QLocale::Thai:
        return "windows-874";
    default:
        return {};
    }
}

QString ZipNameDecoding::decode(const QByteArray &raw, const QLocale &locale)
{
    bool ok = false;
    const auto utf8 = decodeStrict(raw, "UTF-8", &ok);
    if (ok)
        return utf8;
    const auto codePage = legacyCodePage(locale.language(), locale.script());
    if (!codePage.isEmpty()) {
        const auto native = decodeStrict(raw, codePage.constData(), &ok);
        if (ok && readsAsNativeLetters(native))
            return native;
    }
    return decodeStrict(raw, "IBM437", &ok);
}
