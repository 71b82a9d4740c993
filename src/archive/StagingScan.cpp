#include "StagingScan.h"

#include "ArchiveErrors.h"
#include "EntryChecks.h"

#include <FileNameCodec.h>
#include <LocalPaths.h>
#include <TreeWalk.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ArchiveEntry probeEntry(ArchiveEntry::Type type, quint32 mode)
{
    ArchiveEntry entry;
    entry.type = type;
    entry.mode = mode & 07777;
    return entry;
}

} // namespace

StagingScan::StagingScan(const QString &rootPath, bool linksOnly)
    : m_root(rootPath), m_canonicalRoot(LocalPaths::canonical(rootPath)), m_linksOnly(linksOnly)
{
}

bool StagingScan::run(Error *error)
{
    const Fd root(::open(FileNameCodec::encode(m_root).constData(),
                         O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!root.isValid())
        return fail(error, ArchiveErrors::listFailed(errno, m_root));
    bool passed = true;
    const auto refuse = [&](const QByteArray &relative) {
        passed = fail(error, ArchiveErrors::listFailed(
                                 errno, relative.isEmpty() ? m_root : FileNameCodec::decode(relative)));
        return false;
    };
    const bool walked = TreeWalk::run(
        root.get(), {[&](int folderFd, const TreeWalk::Item &item, const QByteArray &relative) {
                         if (m_linksOnly && (item.type == DT_REG || item.type == DT_DIR))
                             return item.type == DT_DIR ? TreeWalk::Step::Enter
                                                        : TreeWalk::Step::Next;
                         bool isFolder = false;
                         passed = check(folderFd, item.name.constData(),
                                        FileNameCodec::decode(relative), &isFolder, error);
                         return !passed  ? TreeWalk::Step::Stop
                                : isFolder ? TreeWalk::Step::Enter
                                           : TreeWalk::Step::Next;
                     },
                     {},
                     refuse});
    if (!walked)
        return passed ? refuse(QByteArray()) : false;
    for (auto it = m_linkCounts.cbegin(); it != m_linkCounts.cend(); ++it)
        if (it->seen < it->links)
            return fail(error, ArchiveErrors::unsafeEntry(
                                   it->name, ArchiveErrors::tr("is a hard link to a file "
                                                               "outside the archive")));
    return true;
}

bool StagingScan::check(int folderFd, const char *name, const QString &relative, bool *isFolder,
                        Error *error)
{
    struct stat info {};
    if (::fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return fail(error, ArchiveErrors::readFailed(errno, relative));
    if (S_ISLNK(info.st_mode))
        return checkLink(folderFd, name, relative, error);
    if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
        return fail(error,
                    ArchiveErrors::unsafeEntry(relative, EntryChecks::typeProblem(probeEntry(
                                                             ArchiveEntry::Type::Special, 0))));
    if (info.st_mode & 06000)
        return fail(error, ArchiveErrors::unsafeEntry(
                               relative, EntryChecks::typeProblem(probeEntry(
                                             ArchiveEntry::Type::File, info.st_mode))));
    const mode_t owner = S_ISDIR(info.st_mode) ? 0700 : 0600;
    if ((info.st_mode & owner) != owner)
        ::fchmodat(folderFd, name, (info.st_mode & 0777) | owner, AT_SYMLINK_NOFOLLOW);
    *isFolder = S_ISDIR(info.st_mode);
    if (*isFolder)
        return true;
    if (info.st_nlink > 1) {
        auto &count = m_linkCounts[qMakePair(quint64(info.st_dev), quint64(info.st_ino))];
        count.links = info.st_nlink;
        ++count.seen;
        count.name = relative;
    }
    return true;
}

bool StagingScan::checkLink(int folderFd, const char *name, const QString &relative,
                            Error *error)
{
    QByteArray buffer(4096, Qt::Uninitialized);
    const auto length = ::readlinkat(folderFd, name, buffer.data(), size_t(buffer.size()));
    const auto target = length < 0 ? QString() : FileNameCodec::decode(buffer.left(length));
    if (auto problem = EntryChecks::linkTargetProblem(relative, target); !problem.isEmpty())
        return fail(error, ArchiveErrors::unsafeEntry(relative, problem));
    // The text stays inside; through other links the real target might not. Read only: the
    // staging folder is private, and nothing is written through what this resolves.
    const auto resolved = LocalPaths::canonical(m_root + u'/' + relative);
    if (!resolved.isEmpty() && resolved != m_canonicalRoot &&
        !resolved.startsWith(m_canonicalRoot + u'/'))
        return fail(error, ArchiveErrors::unsafeEntry(
                               relative, ArchiveErrors::tr("is a link pointing out of the "
                                                           "destination folder")));
    return true;
}
