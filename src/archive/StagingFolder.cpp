#include "StagingFolder.h"

#include "ArchiveErrors.h"
#include "FolderMerge.h"
#include "StagingScan.h"

#include <FileNameCodec.h>
#include <FileOperations.h>
#include <LocalPaths.h>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr char stagingPrefix[] = ".ombrisk-unpacking-";
constexpr char contentName[] = "content";
constexpr char asideName[] = "set-aside";

QByteArray randomStagingName()
{
    static constexpr char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name(stagingPrefix);
    for (int i = 0; i < 6; ++i)
        name.append(letters[QRandomGenerator::system()->bounded(int(sizeof letters - 1))]);
    return name;
}

// Makes and locks a fresh staging folder in `placeFd`. A sweep in another process may take a
// folder between its making and its locking: it is then gone (no links left), and another
// name is tried.
Fd makeLockedFolder(int placeFd, QByteArray *name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = randomStagingName();
        if (::mkdirat(placeFd, name->constData(), 0700) != 0) {
            if (errno == EEXIST)
                continue;
            return Fd();
        }
        auto folder = FolderHandle::openChild(placeFd, name->constData(), O_RDONLY);
        struct stat info {};
        if (folder.isValid() && ::flock(folder.get(), LOCK_EX | LOCK_NB) == 0 &&
            ::fstat(folder.get(), &info) == 0 && info.st_nlink > 0)
            return folder;
    }
    errno = EEXIST;
    return Fd();
}

void sweepPlace(int placeFd)
{
    FolderHandle::forEachItem(placeFd, [placeFd](const dirent &item) {
        if (std::strncmp(item.d_name, stagingPrefix, sizeof stagingPrefix - 1) != 0)
            return true;
        const auto folder = FolderHandle::openChild(placeFd, item.d_name, O_RDONLY);
        if (!folder.isValid() || ::flock(folder.get(), LOCK_EX | LOCK_NB) != 0)
            return true; // a link of that name is not ours; a locked folder is in use
        FolderHandle::removeContents(folder.get());
        ::unlinkat(placeFd, item.d_name, AT_REMOVEDIR);
        return true;
    });
}

Fd openFolder(const QString &path)
{
    return Fd(::open(FileNameCodec::encode(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

} // namespace

std::optional<StagingFolder> StagingFolder::createFor(const QString &destination, Error *error)
{
    StagingFolder staging;
    staging.m_destination = LocalPaths::absolute(destination);
    const auto parent = LocalPaths::parent(staging.m_destination);
    // The destination itself is the user's choice and may be reached through a link; nothing
    // below it is.
    staging.m_placeFd = openFolder(staging.m_destination);
    staging.m_inside = staging.m_placeFd.isValid();
    if (!staging.m_inside) {
        if (struct stat info {};
            ::lstat(FileNameCodec::encode(staging.m_destination).constData(), &info) == 0) {
            fail(error, ArchiveErrors::writeFailed(
                            QFileInfo(staging.m_destination).fileName(),
                            ArchiveErrors::tr("a file of that name is in the way of the "
                                              "destination folder")));
            return std::nullopt;
        }
        Error makeError;
        if (!FileOperations::createDirectoriesForPath(parent, &makeError)) {
            fail(error, ArchiveErrors::writeFailed(parent, makeError.message));
            return std::nullopt;
        }
        staging.m_placeFd = openFolder(parent);
    }
    const auto place = staging.m_inside ? staging.m_destination : parent;
    if (!staging.m_placeFd.isValid()) {
        fail(error, ArchiveErrors::fromErrno(errno, place));
        return std::nullopt;
    }
    sweepPlace(staging.m_placeFd.get());
    staging.m_rootFd = makeLockedFolder(staging.m_placeFd.get(), &staging.m_rootName);
    if (!staging.m_rootFd.isValid() ||
        ::mkdirat(staging.m_rootFd.get(), contentName, 0700) != 0 ||
        ::mkdirat(staging.m_rootFd.get(), asideName, 0700) != 0) {
        fail(error, ArchiveErrors::fromErrno(errno, place));
        return std::nullopt;
    }
    staging.m_path = place + u'/' + FileNameCodec::decode(staging.m_rootName) + u'/' +
                     QLatin1String(contentName);
    return staging;
}

StagingFolder::~StagingFolder()
{
    if (!m_rootFd.isValid())
        return;
    FolderHandle::removeContents(m_rootFd.get());
    ::unlinkat(m_placeFd.get(), m_rootName.constData(), AT_REMOVEDIR);
}

qint64 StagingFolder::bytesAvailable() const
{
    struct statvfs info {};
    if (::fstatvfs(m_rootFd.get(), &info) != 0)
        return 0;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

bool StagingFolder::scan(bool linksOnly, Error *error) const
{
    return StagingScan(m_path, linksOnly).run(error);
}

bool StagingFolder::clear(const QString &path, Error *error)
{
    const auto folder = openFolder(path);
    if (!folder.isValid() || !FolderHandle::removeContents(folder.get()))
        return fail(error, ArchiveErrors::fromErrno(errno, QFileInfo(path).fileName()));
    return true;
}

bool StagingFolder::moveIntoDestination(Error *error)
{
    if (m_inside)
        return mergeIntoDestination(m_placeFd.get(), error);
    return renameToDestination(error);
}

bool StagingFolder::renameToDestination(Error *error)
{
    const auto name = FileNameCodec::encode(QFileInfo(m_destination).fileName());
    const auto content = FolderHandle::openChild(m_rootFd.get(), contentName, O_RDONLY);
    if (!content.isValid())
        return fail(error, ArchiveErrors::fromErrno(errno, QString()));
    if (::renameat2(m_rootFd.get(), contentName, m_placeFd.get(), name.constData(),
                    RENAME_NOREPLACE) == 0) {
        ::fchmod(content.get(), FolderHandle::folderMode()); // it was private (0700)
        return true;
    }
    if (errno != EEXIST)
        return fail(error, ArchiveErrors::fromErrno(errno, QFileInfo(m_destination).fileName()));
    // Made by someone else meanwhile: merged into like any existing destination.
    const auto destination = FolderHandle::openChild(m_placeFd.get(), name.constData(), O_PATH);
    if (!destination.isValid())
        return fail(error, ArchiveErrors::writeFailed(
                               QFileInfo(m_destination).fileName(),
                               ArchiveErrors::tr("a file of that name is in the way of the "
                                                 "destination folder")));
    return mergeIntoDestination(destination.get(), error);
}

bool StagingFolder::mergeIntoDestination(int destinationFd, Error *error)
{
    const auto content = FolderHandle::openChild(m_rootFd.get(), contentName, O_RDONLY);
    const auto aside = FolderHandle::openChild(m_rootFd.get(), asideName, O_PATH);
    if (!content.isValid() || !aside.isValid())
        return fail(error, ArchiveErrors::fromErrno(errno, QString()));
    return FolderMerge(content.get(), destinationFd, aside.get()).run(error);
}

void StagingFolder::sweep(const QString &folder)
{
    if (const auto place = openFolder(folder); place.isValid())
        sweepPlace(place.get());
}

void StagingFolder::sweepHome(const QString &home)
{
    const auto place = openFolder(home);
    if (!place.isValid())
        return;
    sweepPlace(place.get());
    FolderHandle::forEachItem(place.get(), [&place](const dirent &item) {
        if (item.d_type == DT_DIR)
            if (const auto child = FolderHandle::openChild(place.get(), item.d_name, O_RDONLY);
                child.isValid())
                sweepPlace(child.get());
        return true;
    });
}
