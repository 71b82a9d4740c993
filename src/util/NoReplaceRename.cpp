#include "NoReplaceRename.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool NoReplaceRename::move(int fromFd, const char *from, int toFd, const char *to)
{
    if (::renameat2(fromFd, from, toFd, to, RENAME_NOREPLACE) == 0)
        return true;
    return (errno == EINVAL || errno == ENOSYS) && moveWithoutTheFlag(fromFd, from, toFd, to);
}

bool NoReplaceRename::moveWithoutTheFlag(int fromFd, const char *from, int toFd, const char *to)
{
    if (::linkat(fromFd, from, toFd, to, 0) == 0) {
        if (::unlinkat(fromFd, from, 0) == 0)
            return true;
        const int reason = errno;
        ::unlinkat(toFd, to, 0); // the same item under its new name: back to one name
        errno = reason;
        return false;
    }
    if (errno == EEXIST)
        return false;
    // A folder, or no hard links here.
    struct stat there {};
    if (::fstatat(toFd, to, &there, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return errno == ENOENT && ::renameat(fromFd, from, toFd, to) == 0;
}
