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

// `defaultPath` by default, `rootName` inside the root when one is set.
QString underRoot(const QString &rootName, const QString &defaultPath)
{
    const auto root = resolvedRoot();
    return root.isEmpty() ? defaultPath : QDir(root).absoluteFilePath(rootName);
}

// An XDG base directory: the variable when it holds an absolute path, else its default below
// the home folder.
QString xdgDirectory(const char *variable, const QString &defaultBelowHome)
{
    const auto value = qEnvironmentVariable(variable);
    if (QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::homePath() + u'/' + defaultBelowHome;
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
    static const QString path = underRoot(
        QStringLiteral("Documents"), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    return path;
}

QString inboxDirectory()
{
    return documentsDirectory() + u'/' + inboxName;
}

QString cachesDirectory()
{
    static const QString path = underRoot(
        QStringLiteral("Caches"), QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
    return path;
}

QString trashDirectory()
{
    static const QString path =
        underRoot(QStringLiteral("Trash"),
                  xdgDirectory("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/Trash"));
    return path;
}

QString stateDirectory()
{
    static const QString path =
        underRoot(QStringLiteral("State"),
                  xdgDirectory("XDG_STATE_HOME", QStringLiteral(".local/state")) + QStringLiteral("/ombrisk"));
    return path;
}

} // namespace AppDirectories
