// The colour half of Utils: hex texts and 8-bit components to QColor.
#include "UtilsColors.h"

QColor Utils::colorWithHexString(const QString &hexString)
{
    return colorWithHexString(hexString, 1.0);
}

QColor Utils::colorWithHexString(const QString &hexString, double alpha)
{
    auto text =
        hexString.startsWith(QLatin1Char('#')) ? hexString : QStringLiteral("#%1").arg(hexString);
    Q_ASSERT_X(text.length() == 7 || text.length() == 4, "colorWithHexString",
               "7 == hexString.length || 4 == hexString.length");
    text = hexStringTransformFromThreeCharacters(text);
    const auto component = [&text](int at) {
        return static_cast<int>(hexValueToUnsigned(QStringLiteral("0x%1").arg(text.mid(at, 2))));
    };
    return colorWith8BitRed(component(1), component(3), component(5), alpha);
}

QString Utils::hexStringTransformFromThreeCharacters(const QString &hexString)
{
    if (hexString.length() != 4)
        return hexString;
    const QChar r = hexString.at(1), g = hexString.at(2), b = hexString.at(3);
    return QStringLiteral("#") + r + r + g + g + b + b;
}

quint32 Utils::hexValueToUnsigned(const QString &text)
{
    int at = 0;
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    if (text.mid(at, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0)
        at += 2;
    quint64 value = 0;
    for (; at < text.size(); ++at) {
        const auto c = text.at(at).toLatin1();
        const int digit = (c >= '0' && c <= '9')   ? c - '0'
                          : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                          : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                   : -1;
        if (digit < 0)
            break;
        value = std::min<quint64>(value * 16 + static_cast<quint64>(digit), 0xFFFFFFFFu);
    }
    return static_cast<quint32>(value);
}

QColor Utils::colorWith8BitRed(int red, int green, int blue)
{
    return colorWith8BitRed(red, green, blue, 1.0);
}

QColor Utils::colorWith8BitRed(int red, int green, int blue, double alpha)
{
    const auto fraction = [](int component) {
        return static_cast<double>(static_cast<float>(component) / 255.0f);
    };
    return QColor::fromRgbF(static_cast<float>(fraction(red)), static_cast<float>(fraction(green)),
                            static_cast<float>(fraction(blue)), static_cast<float>(alpha));
}
