#include "ByteCountFormatter.h"

#include <QCoreApplication>
#include <QLocale>
#include <array>
#include <cmath>

namespace {

struct Unit {
    const char *name;
    int fractionDigits;
};

constexpr std::array<Unit, 6> units{{
    {"KB", 0},
    {"MB", 1},
    {"GB", 2},
    {"TB", 2},
    {"PB", 2},
    {"EB", 2},
}};

} // namespace

QString ByteCountFormatter::stringFromByteCount(qint64 byteCount) const
{
    const QLocale locale;
    const auto magnitude = std::abs(static_cast<double>(byteCount));
    if (magnitude < 1000) {
        return QCoreApplication::translate("ByteCountFormatter", "%Ln byte(s)", nullptr,
                                           static_cast<int>(byteCount));
    }
    double value = static_cast<double>(byteCount) / 1000.0;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto scale = std::pow(10.0, units[i].fractionDigits);
        const auto rounded = std::round(value * scale) / scale;
        // A value that rounds up to 1000 of this unit reads better as 1 of the next.
        if (std::abs(rounded) < 1000.0 || i + 1 == units.size())
            return QStringLiteral("%1 %2").arg(
                locale.toString(rounded, 'f', QLocale::FloatingPointShortest),
                QString::fromLatin1(units[i].name));
        value /= 1000.0;
    }
    return {};
}
