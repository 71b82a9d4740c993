#include "FolderHandle.h"

#include "TreeWalk.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr int folderFlags = O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::atomic<bool> kernelHasOpenat2{true};

Fd openWithOpenat2(int rootFd, const QByteArray &relative, int flags)
{
    struct open_how how {};
    how.flags = quint64(flags | folderFlags);
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS;
    const auto fd = ::syscall(SYS_openat2, rootFd, relative.constData(), &how, sizeof how);
    if (fd < 0 && errno == ENOSYS)
        kernelHasOpenat2 = false;
    return Fd(int(fd));
}

Fd walk(int rootFd, const QByteArray &relative, bool create, int flags)
{
    Fd current(::openat(rootFd, ".", O_PATH | folderFlags));
    qsizetype start = 0;
    while (current.isValid() && start < relative.size()) {
        auto end = relative.indexOf('/', start);
        if (end < 0)
            end = relative.size();
        const auto name = relative.mid(start, end - start);
        start = end + 1;
        if (name.isEmpty())
            continue;
        if (create && ::mkdirat(current.get(), name.constData(), 0755) != 0 && errno != EEXIST)
            return Fd();
        current = FolderHandle::openChild(current.get(), name.constData(),
                                          start >= relative.size() ? flags : O_PATH);
    }
    return current;
}

// A listing of the folder open as `folderFd` from its start; null with errno set on failure.
DirStream openListing(int folderFd)
{
    Fd copy(::fcntl(folderFd, F_DUPFD_CLOEXEC, 0));
    DirStream listing(copy.isValid() ? ::fdopendir(copy.get()) : nullptr);
    if (!listing)
        return listing;
    copy.release(); // the stream owns it now
    ::rewinddir(listing.get()); // the copy shares the position of `folderFd`
    return listing;
}

mode_t readUmask()
{
    // /proc tells it without changing it; umask() itself would race other threads.
    if (FILE *status = std::fopen("/proc/self/status", "re")) {
        char line[128];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found)
            return mode_t(mask);
    }
    return 022;
}

} // namespace

Fd FolderHandle::openChild(int folderFd, const char *name, int flags)
{
    return Fd(::openat(folderFd, name, flags | folderFlags));
}

Fd FolderHandle::openBeneath(int rootFd, const QByteArray &relative, bool create, int flags)
{
    if (relative.isEmpty())
        return Fd(::openat(rootFd, ".", flags | folderFlags));
    if (kernelHasOpenat2) {
        auto fd = openWithOpenat2(rootFd, relative, flags);
        if (fd.isValid() || (errno != ENOSYS && !(create && errno == ENOENT)))
            return fd;
    }
    return walk(rootFd, relative, create, flags);
}

bool FolderHandle::removeTree(int folderFd, const char *name)
{
    if (::unlinkat(folderFd, name, 0) == 0 || errno == ENOENT)
        return true;
    if (errno != EISDIR && errno != EPERM)
        return false;
    const auto folder = openChild(folderFd, name, O_RDONLY);
    if (!folder.isValid() || !removeContents(folder.get()))
        return false;
    return ::unlinkat(folderFd, name, AT_REMOVEDIR) == 0;
}

bool FolderHandle::removeContents(int folderFd)
{
    ::fchmod(folderFd, 0700);
    bool removedAll = true;
    const bool walked = TreeWalk::run(
        folderFd,
        {[&](int fd, const TreeWalk::Item &item, const QByteArray &) {
             if (::unlinkat(fd, item.name.constData(), 0) == 0 || errno == ENOENT)
                 return TreeWalk::Step::Next;
             if (errno != EISDIR && errno != EPERM) {
                 removedAll = false;
                 return TreeWalk::Step::Next;
             }
             // A folder: emptied first, read-only ones too.
             ::fchmodat(fd, item.name.constData(), 0700, AT_SYMLINK_NOFOLLOW);
             return TreeWalk::Step::Enter;
         },
         [&](int parentFd, const TreeWalk::Item &folder, const QByteArray &) {
             if (::unlinkat(parentFd, folder.name.constData(), AT_REMOVEDIR) != 0)
                 removedAll = false;
             return true;
         },
         [&](const QByteArray &) {
             removedAll = false;
             return true;
         }});
    return walked && removedAll;
}

bool FolderHandle::forEachItem(int folderFd, const std::function<bool(const dirent &)> &visit)
{
    const DirStream listing = openListing(folderFd);
    if (!listing)
        return false;
    bool goOn = true;
    int reason = 0;
    while (goOn) {
        // readdir gives null both at the end and on failure; only errno tells them apart.
        errno = 0;
        const auto *item = ::readdir(listing.get());
        if (!item) {
            reason = errno;
            break;
        }
        if (std::strcmp(item->d_name, ".") != 0 && std::strcmp(item->d_name, "..") != 0)
            goOn = visit(*item);
    }
    if (reason != 0)
        errno = reason;
    return goOn && reason == 0;
}

mode_t FolderHandle::folderMode()
{
    static const mode_t mode = 0755 & ~readUmask();
    return mode;
}
