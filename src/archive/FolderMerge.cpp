#include "FolderMerge.h"

#include "ArchiveErrors.h"

#include <FileNameCodec.h>
#include <NoReplaceRename.h>
#include <TreeWalk.h>
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
    return NoReplaceRename::move(fromFd, from, toFd, to);
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

// The file type d_type names (S_IFREG, ...); 0 when the listing did not say.
mode_t typeOf(unsigned char type)
{
    switch (type) {
    case DT_DIR:
        return S_IFDIR;
    case DT_REG:
        return S_IFREG;
    case DT_LNK:
        return S_IFLNK;
    default:
        return 0;
    }
}

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    return folder.isEmpty() ? name : folder + '/' + name;
}

QByteArray folderOf(const QByteArray &relative)
{
    const auto slash = relative.lastIndexOf('/');
    return slash < 0 ? QByteArray() : relative.left(slash);
}

} // namespace

// A folder below a root, opened once for a run of steps in the same folder (made, with
// `create`, when missing).
class FolderMerge::FolderCache {
public:
    explicit FolderCache(int rootFd, bool create = false) : m_rootFd(rootFd), m_create(create) {}
    int open(const QByteArray &relative)
    {
        if (!m_opened || relative != m_relative) {
            m_fd = FolderHandle::openBeneath(m_rootFd, relative, m_create, O_PATH);
            m_missing = !m_fd.isValid() && errno == ENOENT;
            m_relative = relative;
            m_opened = true;
        }
        return m_fd.get();
    }
    // The inode of `name` in the folder `relative`, 0 when either is missing; nothing when it
    // can't be looked at.
    std::optional<quint64> inodeIn(const QByteArray &relative, const char *name)
    {
        const int fd = open(relative);
        if (fd >= 0)
            return inodeAt(fd, name);
        return m_missing ? std::optional<quint64>(0) : std::nullopt;
    }

private:
    int m_rootFd;
    bool m_create;
    bool m_missing = false;
    bool m_opened = false;
    QByteArray m_relative;
    Fd m_fd;
};

FolderMerge::FolderMerge(const Folders &folders, MergeJournal &journal,
                         std::function<bool()> isCancelled)
    : m_folders(folders), m_journal(journal), m_isCancelled(std::move(isCancelled))
{
}

bool FolderMerge::run(Error *error)
{
    if (mergeTree(error))
        return true;
    if (const auto journal = m_journal.contents())
        m_notPutBack = undo(journal->steps, m_folders);
    return false;
}

// The source is walked (TreeWalk) and the target followed down and up with it, so a merge as
// deep as the bound on entries holds a few descriptors.
bool FolderMerge::mergeTree(Error *error)
{
    m_target = Fd(::openat(m_folders.target, ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    m_targetsAbove.clear();
    m_listings.clear();
    FolderCache asides(m_folders.aside, true);
    bool merged = true;
    const auto failAt = [&](const QByteArray &relative, const Error &cause) {
        if (m_failedAt.isEmpty())
            m_failedAt = FileNameCodec::decode(relative);
        merged = fail(error, cause);
    };
    const bool walked = TreeWalk::run(
        m_folders.source,
        {[&](int sourceFd, const TreeWalk::Item &item, const QByteArray &relative) {
             Error itemError;
             const auto step = mergeItem(sourceFd, item, relative, asides, &itemError);
             if (step == TreeWalk::Step::Stop)
                 failAt(relative, itemError);
             return step;
         },
         [&](int sourceFd, const TreeWalk::Item &folder, const QByteArray &relative) {
             m_listings.pop_back();
             // Emptied, it goes: the source keeps only folders holding swapped-out items.
             ::unlinkat(sourceFd, folder.name.constData(), AT_REMOVEDIR);
             if (climbTarget())
                 return true;
             failAt(relative, ArchiveErrors::fromErrno(errno, FileNameCodec::decode(relative)));
             return false;
         },
         [&](const QByteArray &relative) {
             failAt(relative, relative.isEmpty()
                                  ? ArchiveErrors::mergeFailed(errno)
                                  : ArchiveErrors::listFailed(errno, FileNameCodec::decode(relative)));
             return false;
         },
         [&](const QByteArray &relative, const std::vector<TreeWalk::Item> &items) {
             m_listings.push_back({relative, items});
         }});
    if (!walked && merged)
        failAt(QByteArray(), ArchiveErrors::mergeFailed(errno));
    return walked && merged;
}

bool FolderMerge::climbTarget()
{
    Fd parent(::openat(m_target.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat info {};
    if (!parent.isValid() || ::fstat(parent.get(), &info) != 0)
        return false;
    if (info.st_dev != m_targetsAbove.back().first || info.st_ino != m_targetsAbove.back().second) {
        errno = ESTALE; // moved away meanwhile
        return false;
    }
    m_targetsAbove.pop_back();
    m_target = std::move(parent);
    return true;
}

TreeWalk::Step FolderMerge::mergeItem(int sourceFd, const TreeWalk::Item &item,
                                      const QByteArray &itemRelative, FolderCache &asides,
                                      Error *error)
{
    const auto stop = [error](const Error &cause) {
        fail(error, cause);
        return TreeWalk::Step::Stop;
    };
    ++m_listings.back().next;
    if (m_isCancelled && m_isCancelled())
        return stop(ArchiveErrors::cancelled());
    const char *name = item.name.constData();
    const int targetFd = m_target.get();
    mode_t hereType = typeOf(item.type);
    if (hereType == 0) {
        struct stat here {};
        if (::fstatat(sourceFd, name, &here, AT_SYMLINK_NOFOLLOW) != 0)
            return stop(ArchiveErrors::fromErrno(errno, FileNameCodec::decode(itemRelative)));
        hereType = here.st_mode & S_IFMT;
    }
    if (m_canSwap && (S_ISREG(hereType) || S_ISLNK(hereType)))
        if (const auto step = swapIn(sourceFd, name, item.inode, hereType, itemRelative, error))
            return *step;
    // Looked at first: in a merged folder most items are there already, and a rename that
    // fails costs more than a look.
    struct stat there {};
    if (::fstatat(targetFd, name, &there, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT) {
        if (!m_journal.append({MergeJournal::Kind::Added, item.inode, 0, itemRelative}))
            return stop(ArchiveErrors::fromErrno(errno, FileNameCodec::decode(itemRelative)));
        if (moveNoReplace(sourceFd, name, targetFd, name))
            return TreeWalk::Step::Next;
    }
    const auto shown = FileNameCodec::decode(itemRelative);
    if (there.st_mode == 0) // the look failed, or the rename (something came meanwhile)
        return stop(ArchiveErrors::fromErrno(errno, shown));
    const mode_t thereType = there.st_mode & S_IFMT;
    if (hereType != thereType || (!S_ISDIR(hereType) && !S_ISREG(hereType) && !S_ISLNK(hereType)))
        return stop(ArchiveErrors::itemInTheWay(shown, whatItIs(there.st_mode)));
    if (!S_ISDIR(hereType)) {
        const int asideFd = asides.open(folderOf(itemRelative));
        if (asideFd < 0)
            return stop(ArchiveErrors::fromErrno(errno, shown));
        Error replaceError;
        return replace(sourceFd, asideFd, name, item.inode, there, itemRelative, &replaceError)
                   ? TreeWalk::Step::Next
                   : stop(replaceError);
    }
    auto targetChild = FolderHandle::openChild(targetFd, name, O_PATH);
    struct stat above {};
    if (!targetChild.isValid() || ::fstat(targetFd, &above) != 0)
        return stop(errno == ENOTDIR || errno == ELOOP
                        ? ArchiveErrors::itemInTheWay(shown, whatItIs(S_IFLNK))
                        : ArchiveErrors::fromErrno(errno, shown));
    m_targetsAbove.emplace_back(above.st_dev, above.st_ino);
    m_target = std::move(targetChild);
    return TreeWalk::Step::Enter;
}

// Swaps are recorded in runs: the item visited and the files and links after it in its
// folder, in one write. A record written ahead whose step is never taken changes nothing.
bool FolderMerge::recordSwap(quint64 movedIn, const QByteArray &relative)
{
    constexpr size_t run = 64;
    const auto listedType = [](const TreeWalk::Item &item) {
        return item.type == DT_REG || item.type == DT_LNK;
    };
    auto &listing = m_listings.back();
    const auto index = listing.next - 1;
    if (!listedType(listing.items[index])) // the listing did not tell: recorded alone
        return m_journal.append({MergeJournal::Kind::Swapped, movedIn, 0, relative});
    if (index < listing.recorded)
        return true;
    std::vector<MergeJournal::Step> steps;
    auto end = index;
    for (; end < listing.items.size() && steps.size() < run; ++end) {
        const auto &item = listing.items[end];
        if (listedType(item))
            steps.push_back({MergeJournal::Kind::Swapped, item.inode, 0,
                             end == index ? relative : joined(listing.relative, item.name)});
    }
    listing.recorded = end;
    return m_journal.append(steps);
}

std::optional<TreeWalk::Step> FolderMerge::swapIn(int sourceFd, const char *name, quint64 movedIn,
                                                  mode_t type, const QByteArray &relative,
                                                  Error *error)
{
    const int targetFd = m_target.get();
    const auto stop = [&](int errorNumber) {
        fail(error, ArchiveErrors::fromErrno(errorNumber, FileNameCodec::decode(relative)));
        return TreeWalk::Step::Stop;
    };
    const auto inTheWay = [&](mode_t obstacle) {
        fail(error,
             ArchiveErrors::itemInTheWay(FileNameCodec::decode(relative), whatItIs(obstacle)));
        return TreeWalk::Step::Stop;
    };
    if (!recordSwap(movedIn, relative))
        return stop(errno);
    if (::renameat2(sourceFd, name, targetFd, name, RENAME_EXCHANGE) != 0) {
        if (errno == ENOENT) // nothing stands there
            return moveNoReplace(sourceFd, name, targetFd, name) ? TreeWalk::Step::Next
                                                                 : stop(errno);
        if ((errno == EINVAL || errno == ENOSYS) && !m_replacedInSource) {
            m_canSwap = false; // not on this file system: set aside, then moved in
            return std::nullopt;
        }
        // Refused: what stands there, if not of its kind, is the reason to tell.
        const int reason = errno;
        struct stat there {};
        if (::fstatat(targetFd, name, &there, AT_SYMLINK_NOFOLLOW) != 0 ||
            (there.st_mode & S_IFMT) == type)
            return stop(reason);
        return inTheWay(there.st_mode);
    }
    // What came out is in the source now, where nothing else reaches: what it is can't change
    // under the look.
    struct stat old {};
    if (::fstatat(sourceFd, name, &old, AT_SYMLINK_NOFOLLOW) == 0 &&
        (old.st_mode & S_IFMT) == type) {
        ++m_replaced;
        m_replacedInSource = true;
        return TreeWalk::Step::Next;
    }
    const int reason = errno;
    ::renameat2(sourceFd, name, targetFd, name, RENAME_EXCHANGE); // back as it was
    if (old.st_mode == 0)
        return stop(reason);
    return inTheWay(old.st_mode);
}

bool FolderMerge::replace(int sourceFd, int asideFd, const char *name, quint64 movedIn,
                          const struct stat &there, const QByteArray &relative, Error *error)
{
    const int targetFd = m_target.get();
    const auto shown = FileNameCodec::decode(relative);
    if (!m_journal.append({MergeJournal::Kind::Replaced, movedIn, there.st_ino, relative}) ||
        !moveNoReplace(targetFd, name, asideFd, name))
        return fail(error, ArchiveErrors::fromErrno(errno, shown));
    struct stat moved {};
    const bool same = ::fstatat(asideFd, name, &moved, AT_SYMLINK_NOFOLLOW) == 0 &&
                      moved.st_dev == there.st_dev && moved.st_ino == there.st_ino;
    if (!same || !moveNoReplace(sourceFd, name, targetFd, name)) {
        const int reason = errno;
        moveNoReplace(asideFd, name, targetFd, name); // back where it was
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
    FolderCache sources(folders.source);
    FolderCache asides(folders.aside);
    for (auto index = steps.size(); index-- > 0;) {
        const auto &step = steps[index];
        const auto folder = folderOf(step.path);
        const auto name = step.path.mid(step.path.lastIndexOf('/') + 1);
        const int targetFd = targets.open(folder);
        const auto undoneName = QByteArray::number(quint64(index));
        const auto standing = targetFd >= 0 ? inodeAt(targetFd, name.constData()) : std::nullopt;
        const bool movedInStands = standing && *standing == step.movedIn && step.movedIn != 0;
        if (step.kind == MergeJournal::Kind::Swapped) {
            if (!undoSwap(step, folders, targetFd, movedInStands, sources, asides, undoneName))
                notPutBack << step.path;
            continue;
        }
        // What was moved in goes to the side, when it is still the item moved in.
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
        // Set aside by a link whose old name was not removed yet: it never left.
        if (aside && standing && *standing == step.setAside) {
            ::unlinkat(asideFd, name.constData(), 0);
            continue;
        }
        if (!aside || !cleared ||
            !moveNoReplace(asideFd, name.constData(), targetFd, name.constData()))
            notPutBack << step.path;
    }
    return notPutBack;
}

// The item swapped out lies in the source under its path, or in the aside folder once the
// caller renamed the source to it; what lies there with another inode than the one moved in
// is it (a step never taken left the new item there). Swapped back while the item moved in
// stands; else it is kept in the aside folder. False when it could not be put back.
bool FolderMerge::undoSwap(const MergeJournal::Step &step, const Folders &folders, int targetFd,
                           bool movedInStands, FolderCache &sources, FolderCache &asides,
                           const QByteArray &undoneName)
{
    const auto folder = folderOf(step.path);
    const auto name = step.path.mid(step.path.lastIndexOf('/') + 1);
    const char *item = name.constData();
    auto out = sources.inodeIn(folder, item);
    if (!out)
        return false;
    const bool inSource = *out != 0;
    if (!inSource)
        out = asides.inodeIn(folder, item);
    if (!out || *out == 0 || *out == step.movedIn) { // nothing was swapped out
        if (movedInStands && out && *out == 0)       // moved in where nothing stood
            moveNoReplace(targetFd, item, folders.undone, undoneName.constData());
        return bool(out);
    }
    const int outFd = inSource ? sources.open(folder) : asides.open(folder);
    if (movedInStands && ::renameat2(outFd, item, targetFd, item, RENAME_EXCHANGE) == 0) {
        if (!inSource) // the new item is not to be kept with the replaced ones
            moveNoReplace(outFd, item, folders.undone, undoneName.constData());
        return true;
    }
    if (inSource) {
        const auto keepFd = FolderHandle::openBeneath(folders.aside, folder, true, O_PATH);
        moveNoReplace(outFd, item, keepFd.get(), item);
    }
    return false;
}
