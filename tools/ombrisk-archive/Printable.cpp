#include "Printable.h"

QString printable(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        out += (c.unicode() < 0x20 || c.unicode() == 0x7f)
                   ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                   : QString(c);
    return out;
}
