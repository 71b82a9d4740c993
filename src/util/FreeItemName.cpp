#include "FreeItemName.h"

#include <QFile>
#include <QRegularExpression>
#include <sys/stat.h>

namespace FreeItemName {

namespace {

bool isTaken(const QString &folderPath, const QString &name)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(folderPath + u'/' + name).constData(), &info) == 0;
}

// Where the number goes: before the last extension, or before ".tar" of a compressed tar. A
// leading dot belongs to the name (".profile" has no extension).
qsizetype extensionStart(const QString &name)
{
    const qsizetype lastDot = name.lastIndexOf(u'.');
    if (lastDot <= 0)
        return name.size();
    const qsizetype tarDot = lastDot - 4;
    if (tarDot > 0 && name.mid(tarDot, 4).compare(u".tar", Qt::CaseInsensitive) == 0)
        return tarDot;
    return lastDot;
}

} // namespace

QString numbered(const QString &name, int number)
{
    const qsizetype split = extensionStart(name);
    return name.left(split) + u' ' + QString::number(number) + name.mid(split);
}

QString in(const QString &folderPath, const QString &name)
{
    if (!isTaken(folderPath, name))
        return name;
    // "Photos 2.zip" counts on from 2 rather than becoming "Photos 2 2.zip". Only a number this
    // rule could have added counts on: "Holiday 2024.zip" is a name, not the 2024th copy.
    const qsizetype split = extensionStart(name);
    // Never destroyed: a merge or copy on a worker may still be naming at exit.
    static const auto *trailingNumber =
        new QRegularExpression(QStringLiteral(" ([2-9]|[1-9]\\d)$"));
    QString base = name.left(split);
    int number = 2;
    if (const auto match = trailingNumber->match(base); match.hasMatch()) {
        number = match.captured(1).toInt() + 1;
        base.chop(match.capturedLength());
    }
    const QString stem = base + name.mid(split);
    for (;; ++number) {
        const QString candidate = numbered(stem, number);
        if (!isTaken(folderPath, candidate))
            return candidate;
    }
}

} // namespace FreeItemName
