#include "EntryWriter.h"

#include "ArchiveErrors.h"
#include "EntryChecks.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct timespec toTimespec(const QDateTime &time)
{
    struct timespec spec {};
    if (!time.isValid()) {
        spec.tv_nsec = UTIME_OMIT;
        return spec;
    }
    const auto ms = time.toMSecsSinceEpoch();
    spec.tv_sec = ms / 1000;
    spec.tv_nsec = (ms % 1000) * 1000000;
    return spec;
}

mode_t fileMode(const ArchiveEntry &entry)
{
    return entry.mode ? ((entry.mode & 0777) | 0600) : 0644;
}

} // namespace

EntryWriter::EntryWriter(QString rootPath) : m_root(std::move(rootPath)) {}

EntryWriter::File::File(int fd, ArchiveEntry entry) : m_fd(fd), m_entry(std::move(entry)) {}

EntryWriter::File::File(File &&other) noexcept
    : m_fd(other.m_fd), m_entry(other.m_entry), m_position(other.m_position),
      m_written(other.m_written)
{
    other.m_fd = -1;
}

EntryWriter::File::~File()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool EntryWriter::File::write(const char *data, qint64 size, Error *error)
{
    while (size > 0) {
        const auto written = ::write(m_fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return fail(error,
                        ArchiveErrors::fromErrno(written < 0 ? errno : ENOSPC, m_entry.path));
        data += written;
        size -= written;
        m_position += written;
    }
    m_written = m_position;
    return true;
}

bool EntryWriter::File::skipTo(qint64 offset, Error *error)
{
    if (offset == m_position)
        return true;
    if (offset < m_position || ::lseek(m_fd, off_t(offset), SEEK_SET) < 0)
        return fail(error,
                    ArchiveErrors::fromErrno(offset < m_position ? EINVAL : errno, m_entry.path));
    m_position = offset;
    return true;
}

bool EntryWriter::File::finish(Error *error)
{
    if (m_position > m_written && ::ftruncate(m_fd, off_t(m_position)) != 0)
        return fail(error, ArchiveErrors::fromErrno(errno, m_entry.path));
    const struct timespec times[2] = {{0, UTIME_OMIT}, toTimespec(m_entry.modified)};
    ::futimens(m_fd, times);
    ::fchmod(m_fd, fileMode(m_entry));
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0)
        return fail(error, ArchiveErrors::fromErrno(errno, m_entry.path));
    return true;
}

std::optional<QByteArray> EntryWriter::checkedPath(const QString &entryPath, Error *error) const
{
    const auto parts = EntryChecks::safeComponents(entryPath);
    if (!parts) {
        fail(error, ArchiveErrors::unsafeEntry(entryPath, EntryChecks::pathProblem(entryPath)));
        return std::nullopt;
    }
    return QFile::encodeName(m_root + QLatin1Char('/') + parts->join(u'/'));
}

bool EntryWriter::makeParents(const QByteArray &path, Error *error, const QString &entryName) const
{
    const auto rootLength = QFile::encodeName(m_root).size();
    for (auto slash = path.indexOf('/', rootLength + 1); slash > 0;
         slash = path.indexOf('/', slash + 1)) {
        const auto parent = path.left(slash);
        if (isKnownFolder(parent)) // most entries share their folders with the one before
            continue;
        if (::mkdir(parent.constData(), 0755) != 0 && errno != EEXIST)
            return fail(error, ArchiveErrors::fromErrno(errno, entryName));
        rememberFolder(parent);
    }
    return true;
}

bool EntryWriter::isKnownFolder(const QByteArray &path) const
{
    QMutexLocker lock(&m_foldersMutex);
    return m_madeFolders.contains(path);
}

void EntryWriter::rememberFolder(const QByteArray &path) const
{
    QMutexLocker lock(&m_foldersMutex);
    m_madeFolders.insert(path);
}

bool EntryWriter::clearItemAt(const QByteArray &path, const QString &entryName, Error *error) const
{
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0)
        return true;
    if (S_ISDIR(info.st_mode))
        return fail(error, ArchiveErrors::writeFailed(
                               entryName, ArchiveErrors::tr("a folder of the same name is in "
                                                            "the archive too")));
    if (::unlink(path.constData()) != 0)
        return fail(error, ArchiveErrors::fromErrno(errno, entryName));
    return true;
}

std::optional<EntryWriter::File> EntryWriter::createFile(const ArchiveEntry &entry, Error *error)
{
    const auto path = checkedPath(entry.path, error);
    if (!path || !makeParents(*path, error, entry.path))
        return std::nullopt;
    constexpr int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::open(path->constData(), flags, 0600);
    if (fd < 0 && errno == EEXIST) { // an earlier entry of the same name, or a link: replaced
        if (!clearItemAt(*path, entry.path, error))
            return std::nullopt;
        fd = ::open(path->constData(), flags, 0600);
    }
    if (fd < 0) {
        fail(error, ArchiveErrors::fromErrno(errno, entry.path));
        return std::nullopt;
    }
    return File(fd, entry);
}

bool EntryWriter::makeDirectory(const ArchiveEntry &entry, Error *error)
{
    if (EntryChecks::namesDestinationItself(entry))
        return true;
    const auto path = checkedPath(entry.path, error);
    if (!path || !makeParents(*path, error, entry.path))
        return false;
    if (::mkdir(path->constData(), 0700) != 0) {
        struct stat info {};
        if (errno != EEXIST || ::lstat(path->constData(), &info) != 0)
            return fail(error, ArchiveErrors::fromErrno(errno, entry.path));
        if (!S_ISDIR(info.st_mode)) { // a file or link of the same name came earlier
            if (!clearItemAt(*path, entry.path, error))
                return false;
            if (::mkdir(path->constData(), 0700) != 0)
                return fail(error, ArchiveErrors::fromErrno(errno, entry.path));
        }
    }
    rememberFolder(*path);
    QMutexLocker lock(&m_directoriesMutex);
    m_directories.append(entry);
    return true;
}

bool EntryWriter::makeSymbolicLink(const ArchiveEntry &entry, const QString &target, Error *error)
{
    if (auto problem = EntryChecks::linkTargetProblem(entry.path, target); !problem.isEmpty())
        return fail(error, ArchiveErrors::unsafeEntry(entry.path, problem));
    const auto path = checkedPath(entry.path, error);
    if (!path || !makeParents(*path, error, entry.path) || !clearItemAt(*path, entry.path, error))
        return false;
    if (::symlink(QFile::encodeName(target).constData(), path->constData()) != 0)
        return fail(error, ArchiveErrors::fromErrno(errno, entry.path));
    return true;
}

bool EntryWriter::makeHardLink(const ArchiveEntry &entry, Error *error)
{
    const auto path = checkedPath(entry.path, error);
    const auto target = checkedPath(entry.linkTarget, error);
    if (!path || !target)
        return false;
    struct stat info {};
    if (::lstat(target->constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return fail(error, ArchiveErrors::unsafeEntry(
                               entry.path, ArchiveErrors::tr("is a hard link to a file outside "
                                                             "the archive")));
    if (*path == *target)
        return true;
    if (!makeParents(*path, error, entry.path) || !clearItemAt(*path, entry.path, error))
        return false;
    if (::link(target->constData(), path->constData()) != 0)
        return fail(error, ArchiveErrors::fromErrno(errno, entry.path));
    return true;
}

void EntryWriter::finishDirectories()
{
    QMutexLocker lock(&m_directoriesMutex);
    std::sort(m_directories.begin(), m_directories.end(),
              [](const ArchiveEntry &a, const ArchiveEntry &b) { return a.path > b.path; });
    for (const auto &entry : std::as_const(m_directories)) {
        const auto path = checkedPath(entry.path, nullptr);
        if (!path)
            continue;
        const struct timespec times[2] = {{0, UTIME_OMIT}, toTimespec(entry.modified)};
        ::utimensat(AT_FDCWD, path->constData(), times, AT_SYMLINK_NOFOLLOW);
        if (entry.mode)
            ::chmod(path->constData(), (entry.mode & 0777) | 0700);
    }
}
