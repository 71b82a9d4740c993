#include "FolderMerge.h"

#include "ArchiveErrors.h"

#include <FileNameCodec.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString whatItIs(mode_t mode)
{
    if (S_ISDIR(mode))
        return ArchiveErrors::tr("a folder");
    if (S_ISLNK(mode))
        return ArchiveErrors::tr("a link");
    if (S_ISREG(mode))
        return ArchiveErrors::tr("a file");
    return ArchiveErrors::tr("a special file");
}

QByteArray asideName(size_t step, const char *prefix = "")
{
    char name[32];
    std::snprintf(name, sizeof name, "%s%zu", prefix, step);
    return name;
}

bool moveNoReplace(int fromFd, const char *from, int toFd, const char *to)
{
    return ::renameat2(fromFd, from, toFd, to, RENAME_NOREPLACE) == 0;
}

QString joined(const QString &relative, const char *name)
{
    const auto decoded = FileNameCodec::decode(name);
    return relative.isEmpty() ? decoded : relative + u'/' + decoded;
}

} // namespace

FolderMerge::FolderMerge(int sourceFd, int targetFd, int asideFd)
    : m_sourceFd(sourceFd), m_targetFd(targetFd), m_asideFd(asideFd)
{
}

bool FolderMerge::run(Error *error)
{
    m_folders.assign(1, QByteArray());
    if (mergeFolder(m_sourceFd, m_targetFd, 0, QString(), error))
        return true;
    undo();
    return false;
}

bool FolderMerge::mergeFolder(int sourceFd, int targetFd, quint32 folder,
                              const QString &relative, Error *error)
{
    bool listed = true;
    const bool merged = FolderHandle::forEachItem(sourceFd, [&](const dirent &item) {
        listed = mergeItem(sourceFd, targetFd, folder, item.d_name, item.d_type, relative, error);
        return listed;
    });
    return merged || (listed && fail(error, ArchiveErrors::fromErrno(errno, relative)));
}

bool FolderMerge::mergeItem(int sourceFd, int targetFd, quint32 folder, const char *name,
                            unsigned char type, const QString &relative, Error *error)
{
    // Looked at first: in a merged folder most items are there already, and a rename that
    // fails costs more than a look.
    struct stat there {};
    if (::fstatat(targetFd, name, &there, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT &&
        moveNoReplace(sourceFd, name, targetFd, name)) {
        record(folder, name, false);
        return true;
    }
    const auto itemRelative = joined(relative, name);
    if (there.st_mode == 0) // the look failed, or the rename (something came meanwhile)
        return fail(error, ArchiveErrors::fromErrno(errno, itemRelative));
    struct stat here {};
    if (type == DT_UNKNOWN && ::fstatat(sourceFd, name, &here, AT_SYMLINK_NOFOLLOW) != 0)
        return fail(error, ArchiveErrors::fromErrno(errno, itemRelative));
    const mode_t hereType = type == DT_DIR   ? S_IFDIR
                            : type == DT_REG ? S_IFREG
                            : type == DT_LNK ? S_IFLNK
                                             : (here.st_mode & S_IFMT);
    const mode_t thereType = there.st_mode & S_IFMT;
    if (hereType != thereType || (!S_ISDIR(hereType) && !S_ISREG(hereType) && !S_ISLNK(hereType)))
        return fail(error, ArchiveErrors::itemInTheWay(itemRelative, whatItIs(there.st_mode)));
    if (!S_ISDIR(hereType))
        return replace(sourceFd, targetFd, folder, name, there, itemRelative, error);
    const auto sourceChild = FolderHandle::openChild(sourceFd, name, O_RDONLY);
    const auto targetChild = FolderHandle::openChild(targetFd, name, O_PATH);
    if (!sourceChild.isValid() || !targetChild.isValid())
        return fail(error, errno == ENOTDIR || errno == ELOOP
                               ? ArchiveErrors::itemInTheWay(itemRelative, whatItIs(S_IFLNK))
                               : ArchiveErrors::fromErrno(errno, itemRelative));
    const auto childFolder = quint32(m_folders.size());
    m_folders.push_back(FileNameCodec::encode(itemRelative));
    return mergeFolder(sourceChild.get(), targetChild.get(), childFolder, itemRelative, error);
}

bool FolderMerge::replace(int sourceFd, int targetFd, quint32 folder, const char *name,
                          const struct stat &there, const QString &relative, Error *error)
{
    const auto aside = asideName(m_steps.size());
    if (!moveNoReplace(targetFd, name, m_asideFd, aside.constData()))
        return fail(error, ArchiveErrors::fromErrno(errno, relative));
    struct stat moved {};
    const bool same = ::fstatat(m_asideFd, aside.constData(), &moved, AT_SYMLINK_NOFOLLOW) == 0 &&
                      moved.st_dev == there.st_dev && moved.st_ino == there.st_ino;
    if (!same || !moveNoReplace(sourceFd, name, targetFd, name)) {
        const int reason = errno;
        moveNoReplace(m_asideFd, aside.constData(), targetFd, name); // back where it was
        return fail(error, same ? ArchiveErrors::fromErrno(reason, relative)
                                : ArchiveErrors::itemInTheWay(relative, whatItIs(moved.st_mode)));
    }
    record(folder, name, true);
    return true;
}

void FolderMerge::record(quint32 folder, const char *name, bool replaced)
{
    m_steps.push_back({folder, quint32(m_names.size()), replaced});
    m_names.append(name, qsizetype(std::strlen(name) + 1));
}

void FolderMerge::undo()
{
    Fd target;
    quint32 open = quint32(-1);
    for (auto step = m_steps.size(); step-- > 0;) {
        const auto &done = m_steps[step];
        if (done.folder != open) {
            target = FolderHandle::openBeneath(m_targetFd, m_folders[done.folder], false, O_PATH);
            open = done.folder;
        }
        const char *name = m_names.constData() + done.nameOffset;
        // What was moved in goes to the side (removed with it); what was replaced comes back.
        if (!target.isValid() ||
            !moveNoReplace(target.get(), name, m_asideFd, asideName(step, "undone-").constData()))
            continue;
        if (done.replaced)
            moveNoReplace(m_asideFd, asideName(step).constData(), target.get(), name);
    }
    m_steps.clear();
}
