#include "AppDirectories.h"

#include <QDir>
#include <QStandardPaths>
#include <QStringList>

namespace {

QString &rootOverride()
{
    static QString root;
    return root;
}

QString resolvedRoot()
{
    if (!rootOverride().isEmpty())
        return rootOverride();
    return QString::fromLocal8Bit(qgetenv("OMBRISK_ROOT"));
}

} // namespace

namespace AppDirectories {

void configureFromCommandLine(const QStringList &arguments)
{
    const auto at = arguments.indexOf(QStringLiteral("--root"));
    if (at >= 0 && at + 1 < arguments.size())
        useRoot(arguments.at(at + 1));
}

void useRoot(const QString &root)
{
    rootOverride() = QDir(root).absolutePath();
}

bool isDefaultRoot()
{
    return resolvedRoot().isEmpty();
}

QString documentsDirectory()
{
    static const QString path = [] {
        const auto root = resolvedRoot();
        return root.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                              : QDir(root).absoluteFilePath(QStringLiteral("Documents"));
    }();
    return path;
}

QString cachesDirectory()
{
    static const QString path = [] {
        const auto root = resolvedRoot();
        return root.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                              : QDir(root).absoluteFilePath(QStringLiteral("Caches"));
    }();
    return path;
}

} // namespace AppDirectories
