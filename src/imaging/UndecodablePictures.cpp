#include "UndecodablePictures.h"

#include <QFile>
#include <QHash>
#include <mutex>
#include <sys/stat.h>

namespace {

std::mutex mutex;                                          // guards `failures`
QHash<QString, UndecodablePictures::FileVersion> failures; // by path: the version that failed

} // namespace

namespace UndecodablePictures {

std::optional<FileVersion> versionOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileVersion{path, qint64(info.st_size),
                       qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

bool contains(const FileVersion &version)
{
    std::lock_guard lock(mutex);
    const auto found = failures.constFind(version.path);
    return found != failures.cend() && *found == version;
}

void remember(const FileVersion &version)
{
    std::lock_guard lock(mutex);
    failures.insert(version.path, version);
}

} // namespace UndecodablePictures
