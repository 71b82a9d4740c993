#include "HomePaths.h"

#include "Utils.h"

#include <QDir>

namespace {

QString joined(const QString &base, const QString &component)
{
    return QDir::cleanPath(base + u'/' + component);
}

} // namespace

namespace HomePaths {

QString diskPath(const QString &listingPath)
{
    return joined(Utils::documentsPath(), listingPath);
}

QString diskPath(const QString &listingPath, const QString &name)
{
    return joined(diskPath(listingPath), name);
}

QString appending(const QString &listingPath, const QString &name)
{
    return joined(listingPath.isEmpty() ? QStringLiteral("/") : listingPath, name);
}

std::optional<QString> listingPath(const QString &diskPath)
{
    const QString home = Utils::documentsPath();
    if (diskPath == home)
        return QString();
    if (diskPath.startsWith(home) && diskPath.at(home.size()) == u'/')
        return diskPath.mid(home.size());
    return std::nullopt;
}

} // namespace HomePaths
