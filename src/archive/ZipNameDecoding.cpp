#include "ZipNameDecoding.h"

#include <FileNameCodec.h>
#include <QStringDecoder>
#include <algorithm>

namespace {

QString decodeStrict(QByteArrayView raw, const char *codec, bool *ok)
{
    QStringDecoder decoder(codec, QStringDecoder::Flag::Stateless);
    const QString text = decoder(raw);
    *ok = decoder.isValid() && !decoder.hasError();
    return text;
}

// Alphabets whose words never mix with Latin letters: "CafВ" is CP437's "Café" misread.
bool isAlphabeticScript(QChar::Script script)
{
    return script == QChar::Script_Cyrillic || script == QChar::Script_Greek ||
           script == QChar::Script_Hebrew || script == QChar::Script_Arabic;
}

bool isAsciiLetter(QChar c)
{
    return c.unicode() < 0x80 && c.isLetter();
}

// What a name in the user's own non-Latin language looks like: every non-ASCII character a
// letter or digit of a script other than Latin (kana's "ー" and full-width digits are of the
// common script) or common punctuation such as "（", at least one of them a letter, and no
// letter of an alphabet glued to a Latin one.
bool readsAsNativeLetters(const QString &text)
{
    bool sawNative = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80)
            continue;
        const auto script = c.script();
        if (script == QChar::Script_Latin)
            return false;
        if (!c.isLetterOrNumber()) {
            if (script != QChar::Script_Common || !(c.isPunct() || c.isSymbol() || c.isSpace()))
                return false;
            continue;
        }
        if (isAlphabeticScript(script) && ((i > 0 && isAsciiLetter(text.at(i - 1))) ||
                                           (i + 1 < text.size() && isAsciiLetter(text.at(i + 1)))))
            return false;
        sawNative = sawNative || c.isLetter();
    }
    return sawNative;
}

// ASCII reads the same in every code page; most names are.
bool isAscii(QByteArrayView raw)
{
    return std::all_of(raw.begin(), raw.end(), [](char c) { return uchar(c) < 0x80; });
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

QString ZipNameDecoding::decode(QByteArrayView raw, bool madeOnUnix)
{
    return isAscii(raw) ? QString::fromLatin1(raw) : decode(raw, madeOnUnix, QLocale::system());
}

QString ZipNameDecoding::decode(QByteArrayView raw, bool madeOnUnix, const QLocale &locale)
{
    if (isAscii(raw))
        return QString::fromLatin1(raw);
    if (raw.isValidUtf8() || madeOnUnix)
        return FileNameCodec::decode(raw);
    bool ok = false;
    const auto codePage = legacyCodePage(locale.language(), locale.script());
    if (!codePage.isEmpty()) {
        const auto native = decodeStrict(raw, codePage.constData(), &ok);
        if (ok && readsAsNativeLetters(native))
            return native;
    }
    return decodeStrict(raw, "IBM437", &ok);
}

QString ZipNameDecoding::decodeAs(QByteArrayView raw, const QByteArray &encoding)
{
    if (isAscii(raw))
        return QString::fromLatin1(raw);
    if (encoding.compare("UTF-8", Qt::CaseInsensitive) == 0)
        return FileNameCodec::decode(raw);
    QStringDecoder decoder(encoding.constData(), QStringDecoder::Flag::Stateless);
    return decoder.isValid() ? QString(decoder(raw)) : FileNameCodec::decode(raw);
}
