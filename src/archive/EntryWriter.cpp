#include "EntryWriter.h"

#include "ArchiveErrors.h"
#include "EntryChecks.h"

#include <FileNameCodec.h>
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

EntryWriter::EntryWriter(QString rootPath)
    : m_root(std::move(rootPath)),
      m_rootFd(::open(FileNameCodec::encode(m_root).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC))
{
}

EntryWriter::File::File(int fd, ArchiveEntry entry) : m_fd(fd), m_entry(std::move(entry)) {}

bool EntryWriter::File::write(const char *data, qint64 size, Error *error)
{
    while (size > 0) {
        const auto written = ::write(m_fd.get(), data, size_t(size));
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
    if (offset < m_position || ::lseek(m_fd.get(), off_t(offset), SEEK_SET) < 0)
        return fail(error,
                    ArchiveErrors::fromErrno(offset < m_position ? EINVAL : errno, m_entry.path));
    m_position = offset;
    return true;
}

bool EntryWriter::File::finish(Error *error)
{
    if (m_position > m_written && ::ftruncate(m_fd.get(), off_t(m_position)) != 0)
        return fail(error, ArchiveErrors::fromErrno(errno, m_entry.path));
    const struct timespec times[2] = {{0, UTIME_OMIT}, toTimespec(m_entry.modified)};
    ::futimens(m_fd.get(), times);
    ::fchmod(m_fd.get(), fileMode(m_entry));
    if (m_fd.close() != 0)
        return fail(error, ArchiveErrors::fromErrno(errno, m_entry.path));
    return true;
}

std::optional<EntryWriter::Place> EntryWriter::placeFor(const QString &entryPath,
                                                        bool createFolders, Error *error) const
{
    const auto parts = EntryChecks::safeComponents(entryPath);
    if (!parts || parts->isEmpty()) {
        fail(error, ArchiveErrors::unsafeEntry(entryPath, EntryChecks::pathProblem(entryPath)));
        return std::nullopt;
    }
    const auto folderPath = FileNameCodec::encode(parts->mid(0, parts->size() - 1).join(u'/'));
    auto folder = openFolder(folderPath, createFolders, entryPath, error);
    if (!folder)
        return std::nullopt;
    return Place{std::move(folder), FileNameCodec::encode(parts->constLast())};
}

EntryWriter::SharedFd EntryWriter::openFolder(const QByteArray &relative, bool create,
                                              const QString &entryName, Error *error) const
{
    constexpr qsizetype keptOpen = 64;
    // A folder new to the archive is most often one level below the one before: reached from
    // there, a deep tree costs each entry one step, not one per level.
    const auto slash = relative.lastIndexOf('/');
    SharedFd parent;
    {
        QMutexLocker lock(&m_foldersMutex);
        if (const auto known = m_openFolders.constFind(relative); known != m_openFolders.cend())
            return *known; // most entries share their folder with the one before
        if (slash > 0)
            parent = m_openFolders.value(relative.left(slash));
    }
    if (!m_rootFd.isValid()) {
        fail(error, ArchiveErrors::fromErrno(EBADF, entryName));
        return {};
    }
    auto folder = parent ? FolderHandle::openBeneath(parent->get(), relative.mid(slash + 1),
                                                     create, O_PATH)
                         : FolderHandle::openBeneath(m_rootFd.get(), relative, create, O_PATH);
    if (!folder.isValid()) {
        if (errno == ELOOP || errno == ENOTDIR || errno == EXDEV)
            fail(error, ArchiveErrors::unsafeEntry(
                            entryName, ArchiveErrors::tr("has a link or a file in the place "
                                                         "of one of its folders")));
        else
            fail(error, ArchiveErrors::itemNotMade(errno, entryName));
        return {};
    }
    auto shared = std::make_shared<const Fd>(std::move(folder));
    QMutexLocker lock(&m_foldersMutex);
    if (m_openFolders.size() >= keptOpen)
        m_openFolders.clear(); // holders of a dropped one keep it open until they are done
    m_openFolders.insert(relative, shared);
    return shared;
}

bool EntryWriter::clearItemAt(const Place &place, const QString &entryName, Error *error) const
{
    struct stat info {};
    if (::fstatat(place.folder->get(), place.name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return true;
    if (S_ISDIR(info.st_mode))
        return fail(error, ArchiveErrors::writeFailed(
                               entryName, ArchiveErrors::tr("a folder of the same name is in "
                                                            "the archive too")));
    if (::unlinkat(place.folder->get(), place.name.constData(), 0) != 0)
        return fail(error, ArchiveErrors::fromErrno(errno, entryName));
    return true;
}

std::optional<EntryWriter::File> EntryWriter::createFile(const ArchiveEntry &entry, Error *error)
{
    const auto place = placeFor(entry.path, true, error);
    if (!place)
        return std::nullopt;
    constexpr int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    const int folder = place->folder->get();
    int fd = ::openat(folder, place->name.constData(), flags, 0600);
    if (fd < 0 && errno == EEXIST) { // an earlier entry of the same name, or a link: replaced
        if (!clearItemAt(*place, entry.path, error))
            return std::nullopt;
        fd = ::openat(folder, place->name.constData(), flags, 0600);
    }
    if (fd < 0) {
        fail(error, ArchiveErrors::itemNotMade(errno, entry.path));
        return std::nullopt;
    }
    return File(fd, entry);
}

bool EntryWriter::makeDirectory(const ArchiveEntry &entry, Error *error)
{
    if (EntryChecks::namesDestinationItself(entry))
        return true;
    const auto place = placeFor(entry.path, true, error);
    if (!place)
        return false;
    const int folder = place->folder->get();
    const char *name = place->name.constData();
    if (::mkdirat(folder, name, 0755) != 0) {
        struct stat info {};
        if (errno != EEXIST || ::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            return fail(error, ArchiveErrors::itemNotMade(errno, entry.path));
        if (!S_ISDIR(info.st_mode)) { // a file or link of the same name came earlier
            if (!clearItemAt(*place, entry.path, error))
                return false;
            if (::mkdirat(folder, name, 0755) != 0)
                return fail(error, ArchiveErrors::itemNotMade(errno, entry.path));
        }
    }
    if (!entry.mode && !entry.modified.isValid())
        return true;
    auto path = FileNameCodec::encode(EntryChecks::safeComponents(entry.path)->join(u'/'));
    QMutexLocker lock(&m_directoriesMutex);
    m_directories.push_back({std::move(path), entry.mode, entry.modified});
    return true;
}

bool EntryWriter::makeSymbolicLink(const ArchiveEntry &entry, const QString &target, Error *error)
{
    if (auto problem = EntryChecks::linkTargetProblem(entry.path, target); !problem.isEmpty())
        return fail(error, ArchiveErrors::unsafeEntry(entry.path, problem));
    const auto place = placeFor(entry.path, true, error);
    if (!place || !clearItemAt(*place, entry.path, error))
        return false;
    if (::symlinkat(FileNameCodec::encode(target).constData(), place->folder->get(),
                    place->name.constData()) != 0)
        return fail(error, ArchiveErrors::itemNotMade(errno, entry.path));
    return true;
}

bool EntryWriter::makeHardLink(const ArchiveEntry &entry, Error *error)
{
    const auto target = placeFor(entry.linkTarget, false, error);
    if (!target)
        return false;
    struct stat info {};
    if (::fstatat(target->folder->get(), target->name.constData(), &info, AT_SYMLINK_NOFOLLOW) !=
            0 ||
        !S_ISREG(info.st_mode))
        return fail(error, ArchiveErrors::unsafeEntry(
                               entry.path, ArchiveErrors::tr("is a hard link to a file outside "
                                                             "the archive")));
    const auto place = placeFor(entry.path, true, error);
    if (!place)
        return false;
    struct stat existing {};
    if (::fstatat(place->folder->get(), place->name.constData(), &existing,
                  AT_SYMLINK_NOFOLLOW) == 0 &&
        existing.st_dev == info.st_dev && existing.st_ino == info.st_ino)
        return true; // the link names its own target
    if (!clearItemAt(*place, entry.path, error))
        return false;
    if (::linkat(target->folder->get(), target->name.constData(), place->folder->get(),
                 place->name.constData(), 0) != 0)
        return fail(error, ArchiveErrors::itemNotMade(errno, entry.path));
    return true;
}

void EntryWriter::finishDirectories()
{
    QMutexLocker lock(&m_directoriesMutex);
    std::sort(m_directories.begin(), m_directories.end(),
              [](const FolderRecord &a, const FolderRecord &b) { return a.path > b.path; });
    for (const auto &record : std::as_const(m_directories)) {
        const auto folder = FolderHandle::openBeneath(m_rootFd.get(), record.path, false, O_RDONLY);
        if (!folder.isValid())
            continue;
        const struct timespec times[2] = {{0, UTIME_OMIT}, toTimespec(record.modified)};
        ::futimens(folder.get(), times);
        if (record.mode)
            ::fchmod(folder.get(), (record.mode & 0777) | 0700);
    }
    m_directories.clear();
}
