#include "ByteCountFormatter.h"

#include <QCoreApplication>
#include <QLocale>
#include <cmath>
#include <iterator>

namespace {

struct Unit {
    const char *name;
    int fractionDigits;
};

constexpr Unit units[] = {
    {"KB", 0}, {"MB", 1}, {"GB", 2}, {"TB", 2}, {"PB", 2}, {"EB", 2},
};

} // namespace

QString ByteCountFormatter::stringFromByteCount(qint64 byteCount) const
{
    const QLocale locale;
    const auto magnitude = std::abs(static_cast<double>(byteCount));
    if (magnitude < 1000) {
        const int n = int(byteCount);
        return QCoreApplication::translate("ByteCountFormatter", "%Ln byte(s)", "", n);
    }
    double value = static_cast<double>(byteCount) / 1000.0;
    for (std::size_t i = 0; i < std::size(units); ++i) {
        const auto scale = std::pow(10.0, units[i].fractionDigits);
        const auto rounded = std::round(value * scale) / scale;
        // A value that rounds up to 1000 of this unit reads better as 1 of the next.
        if (std::abs(rounded) < 1000.0 || i + 1 == std::size(units))
            return QStringLiteral("%1 %2").arg(
                locale.toString(rounded, 'f', QLocale::FloatingPointShortest),
                QString::fromLatin1(units[i].name));
        value /= 1000.0;
    }
    return {};
}
