#include "ApplicationFolders.h"

#include "FileOperations.h"
#include "Utils.h"

#include <QDir>
#include <QSaveFile>

namespace {

// The convention backup and archiving tools honour: https://bford.info/cachedir/
bool writeCacheDirTag(const QString &folder, Error *error)
{
    const auto path = QDir(folder).filePath(QStringLiteral("CACHEDIR.TAG"));
    if (QFile::exists(path))
        return true;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(
            "Signature: 8a477f597d28d172789f06886806bc55\n"
            "# This file marks Ombrisk's cache of picture thumbnails.\n"
            "# For information about cache directory tags see https://bford.info/cachedir/\n") >
            0 &&
        file.commit())
        return true;
    return fail(error, Error(FileOperations::errorDomain, FileOperations::SystemFailure,
                             FileOperations::tr("The cache folder could not be marked for backup "
                                                "tools: %1. Thumbnails may end up in backups.")
                                 .arg(file.errorString())));
}

} // namespace

namespace ApplicationFolders {

bool createAtStart(Error *error)
{
    const auto cache = Utils::cachePath();
    const bool homeMade = FileOperations::createDirectoriesForPath(Utils::documentsPath(), error);
    const bool cacheMade =
        FileOperations::createDirectoriesForPath(cache, homeMade ? error : nullptr);
    return homeMade && cacheMade && writeCacheDirTag(cache, error);
}

} // namespace ApplicationFolders
