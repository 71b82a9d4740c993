#include "MadeFolders.h"

#include "ArchiveErrors.h"

#include <FileNameCodec.h>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<MadeFolders> MadeFolders::make(const QByteArray &path, Fd *opened, Error *error)
{
    MadeFolders folders;
    // Up to the deepest folder there is: the user's path, links and all.
    auto base = path;
    while (!(folders.m_baseFd = Fd(::open(base.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)))
                .isValid()) {
        const auto slash = base.lastIndexOf('/');
        if ((errno != ENOENT && errno != ENOTDIR) || slash <= 0) {
            fail(error, ArchiveErrors::fromErrno(errno, FileNameCodec::decode(base)));
            return std::nullopt;
        }
        folders.m_steps.insert(folders.m_steps.begin(), Step{base.mid(slash + 1)});
        base.truncate(slash);
    }
    // Down again, one folder at a time, none through a link.
    Fd current(::fcntl(folders.m_baseFd.get(), F_DUPFD_CLOEXEC, 0));
    QByteArray shown = base;
    for (auto &step : folders.m_steps) {
        shown += '/' + step.name;
        step.made = ::mkdirat(current.get(), step.name.constData(), FolderHandle::folderMode()) == 0;
        const int made = errno;
        auto next = FolderHandle::openChild(current.get(), step.name.constData(), O_RDONLY);
        struct stat info {};
        if (!next.isValid() || ::fstat(next.get(), &info) != 0) {
            const int reason = step.made || made == EEXIST ? errno : made;
            folders.removeEmpty();
            fail(error, reason == ENOTDIR || reason == ELOOP
                            ? ArchiveErrors::writeFailed(FileNameCodec::decode(shown),
                                                         ArchiveErrors::tr("a file of that name "
                                                                           "is in the way"))
                            : ArchiveErrors::fromErrno(reason, FileNameCodec::decode(shown)));
            return std::nullopt;
        }
        step.device = info.st_dev;
        step.inode = info.st_ino;
        current = std::move(next);
    }
    *opened = std::move(current);
    return folders;
}

void MadeFolders::removeEmpty()
{
    // Each folder's own folder, opened on the way down; a step not there ends the way.
    std::vector<Fd> parents;
    parents.emplace_back(::fcntl(m_baseFd.get(), F_DUPFD_CLOEXEC, 0));
    for (const auto &step : m_steps) {
        auto next = FolderHandle::openChild(parents.back().get(), step.name.constData(), O_PATH);
        if (!next.isValid())
            break;
        parents.push_back(std::move(next));
    }
    for (auto index = parents.size() - 1; index-- > 0;) {
        const auto &step = m_steps[index];
        struct stat info {};
        if (!step.made || ::fstat(parents[index + 1].get(), &info) != 0 ||
            info.st_dev != step.device || info.st_ino != step.inode ||
            ::unlinkat(parents[index].get(), step.name.constData(), AT_REMOVEDIR) != 0)
            return;
    }
}
