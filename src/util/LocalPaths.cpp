#include "LocalPaths.h"

#include "FileNameCodec.h"

#include <QDir>
#include <climits>
#include <cstdlib>
#include <unistd.h>

QString LocalPaths::absolute(const QString &path)
{
    if (path.startsWith(u'/'))
        return QDir::cleanPath(path);
    char folder[PATH_MAX];
    const QString workingFolder =
        ::getcwd(folder, sizeof folder) ? FileNameCodec::decode(folder) : QDir::currentPath();
    return QDir::cleanPath(workingFolder + u'/' + path);
}

QString LocalPaths::parent(const QString &absolutePath)
{
    const auto slash = absolutePath.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : absolutePath.left(slash);
}

QString LocalPaths::canonical(const QString &path)
{
    char resolved[PATH_MAX];
    if (!::realpath(FileNameCodec::encode(path).constData(), resolved))
        return {};
    return FileNameCodec::decode(resolved);
}
