#include "TrashInfo.h"

namespace TrashInfo {

namespace {

constexpr char dateFormat[] = "yyyy-MM-ddTHH:mm:ss";

} // namespace

QByteArray format(const QByteArray &path, const QDateTime &deletionDate)
{
    return format(path, dateValue(deletionDate));
}

QByteArray format(const QByteArray &path, const QByteArray &deletionDate)
{
    return "[Trash Info]\nPath=" + path.toPercentEncoding("/") + "\nDeletionDate=" + deletionDate +
           '\n';
}

QByteArray dateValue(const QDateTime &date)
{
    return date.toLocalTime().toString(QLatin1String(dateFormat)).toLatin1();
}

std::optional<Contents> parse(const QByteArray &text)
{
    bool inGroup = false;
    std::optional<QByteArray> path;
    QDateTime date;
    for (auto line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('[')) {
            inGroup = line == "[Trash Info]";
            continue;
        }
        const auto equals = line.indexOf('=');
        if (!inGroup || equals < 0)
            continue;
        const auto key = line.left(equals).trimmed();
        const auto value = line.mid(equals + 1).trimmed();
        if (key == "Path" && !path)
            path = QByteArray::fromPercentEncoding(value);
        else if (key == "DeletionDate" && !date.isValid())
            date = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODate);
    }
    if (!path || path->isEmpty() || path->contains('\0'))
        return std::nullopt;
    return Contents{*path, date};
}

} // namespace TrashInfo
