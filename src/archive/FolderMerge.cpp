#include "FolderMerge.h"

#include "ArchiveErrors.h"

#include <FileNameCodec.h>
#include <cerrno>
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

bool moveNoReplace(int fromFd, const char *from, int toFd, const char *to)
{
    return ::renameat2(fromFd, from, toFd, to, RENAME_NOREPLACE) == 0;
}

QByteArray joined(const QByteArray &relative, const char *name)
{
    return relative.isEmpty() ? QByteArray(name) : relative + '/' + name;
}

// The inode of `name` in the folder, 0 when nothing is there; nothing when it can't be looked at.
std::optional<quint64> inodeAt(int folderFd, const char *name)
{
    struct stat info {};
    if (::fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) == 0)
        return quint64(info.st_ino);
    if (errno == ENOENT)
        return 0;
    return std::nullopt;
}

// A folder below a root, opened once for a run of steps in the same folder.
class FolderCache {
public:
    explicit FolderCache(int rootFd) : m_rootFd(rootFd) {}
    int open(const QByteArray &relative)
    {
        if (!m_opened || relative != m_relative) {
            m_fd = FolderHandle::openBeneath(m_rootFd, relative, false, O_PATH);
            m_relative = relative;
            m_opened = true;
        }
        return m_fd.get();
    }

private:
    int m_rootFd;
    bool m_opened = false;
    QByteArray m_relative;
    Fd m_fd;
};

} // namespace

FolderMerge::FolderMerge(const Folders &folders, MergeJournal &journal)
    : m_folders(folders), m_journal(journal)
{
}

bool FolderMerge::run(Error *error)
{
    if (mergeFolder(m_folders.source, m_folders.target, QByteArray(), error))
        return true;
    if (const auto journal = m_journal.contents())
        m_notPutBack = undo(journal->steps, m_folders);
    return false;
}

bool FolderMerge::mergeFolder(int sourceFd, int targetFd, const QByteArray &relative,
                              Error *error)
{
    Fd asideFd; // this folder's place in the aside folder, made at its first replacement
    bool listed = true;
    const bool merged = FolderHandle::forEachItem(sourceFd, [&](const dirent &item) {
        listed = mergeItem(sourceFd, targetFd, asideFd, item, relative, error);
        if (!listed && m_failedAt.isEmpty())
            m_failedAt = FileNameCodec::decode(joined(relative, item.d_name));
        return listed;
    });
    if (merged || !listed)
        return merged;
    if (m_failedAt.isEmpty())
        m_failedAt = FileNameCodec::decode(relative);
    return fail(error, ArchiveErrors::fromErrno(errno, FileNameCodec::decode(relative)));
}

bool FolderMerge::mergeItem(int sourceFd, int targetFd, Fd &asideFd, const dirent &item,
                            const QByteArray &relative, Error *error)
{
    const char *name = item.d_name;
    const auto itemRelative = joined(relative, name);
    // Looked at first: in a merged folder most items are there already, and a rename that
    // fails costs more than a look.
    struct stat there {};
    if (::fstatat(targetFd, name, &there, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT) {
        if (!m_journal.append({MergeJournal::Kind::Added, item.d_ino, 0, itemRelative}))
            return fail(error, ArchiveErrors::fromErrno(errno, FileNameCodec::decode(itemRelative)));
        if (moveNoReplace(sourceFd, name, targetFd, name))
            return true;
    }
    const auto shown = FileNameCodec::decode(itemRelative);
    if (there.st_mode == 0) // the look failed, or the rename (something came meanwhile)
        return fail(error, ArchiveErrors::fromErrno(errno, shown));
    struct stat here {};
    if (item.d_type == DT_UNKNOWN && ::fstatat(sourceFd, name, &here, AT_SYMLINK_NOFOLLOW) != 0)
        return fail(error, ArchiveErrors::fromErrno(errno, shown));
    const mode_t hereType = item.d_type == DT_DIR   ? S_IFDIR
                            : item.d_type == DT_REG ? S_IFREG
                            : item.d_type == DT_LNK ? S_IFLNK
                                                    : (here.st_mode & S_IFMT);
    const mode_t thereType = there.st_mode & S_IFMT;
    if (hereType != thereType || (!S_ISDIR(hereType) && !S_ISREG(hereType) && !S_ISLNK(hereType)))
        return fail(error, ArchiveErrors::itemInTheWay(shown, whatItIs(there.st_mode)));
    if (!S_ISDIR(hereType))
        return replace(sourceFd, targetFd, asideFd, name, item.d_ino, there, itemRelative, error);
    const auto sourceChild = FolderHandle::openChild(sourceFd, name, O_RDONLY);
    const auto targetChild = FolderHandle::openChild(targetFd, name, O_PATH);
    if (!sourceChild.isValid() || !targetChild.isValid())
        return fail(error, errno == ENOTDIR || errno == ELOOP
                               ? ArchiveErrors::itemInTheWay(shown, whatItIs(S_IFLNK))
                               : ArchiveErrors::fromErrno(errno, shown));
    return mergeFolder(sourceChild.get(), targetChild.get(), itemRelative, error);
}

bool FolderMerge::replace(int sourceFd, int targetFd, Fd &asideFd, const char *name,
                          quint64 movedIn, const struct stat &there, const QByteArray &relative,
                          Error *error)
{
    const auto shown = FileNameCodec::decode(relative);
    if (!asideFd.isValid()) {
        const auto slash = relative.lastIndexOf('/');
        asideFd = FolderHandle::openBeneath(m_folders.aside, slash < 0 ? QByteArray()
                                                                       : relative.left(slash),
                                            true, O_PATH);
        if (!asideFd.isValid())
            return fail(error, ArchiveErrors::fromErrno(errno, shown));
    }
    if (!m_journal.append({MergeJournal::Kind::Replaced, movedIn, there.st_ino, relative}) ||
        !moveNoReplace(targetFd, name, asideFd.get(), name))
        return fail(error, ArchiveErrors::fromErrno(errno, shown));
    struct stat moved {};
    const bool same = ::fstatat(asideFd.get(), name, &moved, AT_SYMLINK_NOFOLLOW) == 0 &&
                      moved.st_dev == there.st_dev && moved.st_ino == there.st_ino;
    if (!same || !moveNoReplace(sourceFd, name, targetFd, name)) {
        const int reason = errno;
        moveNoReplace(asideFd.get(), name, targetFd, name); // back where it was
        return fail(error, same ? ArchiveErrors::fromErrno(reason, shown)
                                : ArchiveErrors::itemInTheWay(shown, whatItIs(moved.st_mode)));
    }
    ++m_replaced;
    return true;
}

QList<QByteArray> FolderMerge::undo(const std::vector<MergeJournal::Step> &steps,
                                    const Folders &folders)
{
    QList<QByteArray> notPutBack;
    FolderCache targets(folders.target);
    FolderCache asides(folders.aside);
    for (auto index = steps.size(); index-- > 0;) {
        const auto &step = steps[index];
        const auto slash = step.path.lastIndexOf('/');
        const auto folder = slash < 0 ? QByteArray() : step.path.left(slash);
        const auto name = step.path.mid(slash + 1);
        const int targetFd = targets.open(folder);
        const auto undoneName = QByteArray::number(quint64(index));
        // What was moved in goes to the side, when it is still the item moved in.
        const auto standing = targetFd >= 0 ? inodeAt(targetFd, name.constData()) : std::nullopt;
        const bool movedInStands = standing && *standing == step.movedIn && step.movedIn != 0;
        const bool cleared =
            (standing && *standing == 0) ||
            (movedInStands && moveNoReplace(targetFd, name.constData(), folders.undone,
                                            undoneName.constData()));
        if (step.kind != MergeJournal::Kind::Replaced)
            continue;
        // What was set aside comes back, when it is there: a step never taken set nothing aside.
        const int asideFd = asides.open(folder);
        const auto aside = asideFd >= 0 ? inodeAt(asideFd, name.constData()) : std::nullopt;
        if (aside && (*aside == 0 || *aside != step.setAside))
            continue;
        if (!aside || !cleared ||
            !moveNoReplace(asideFd, name.constData(), targetFd, name.constData()))
            notPutBack << step.path;
    }
    return notPutBack;
}
