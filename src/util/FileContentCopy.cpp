#include "FileContentCopy.h"

#include <algorithm>
#include <cerrno>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace FileContentCopy {

namespace {

constexpr size_t pieceSize = 16 << 20;

bool tell(const Advance &advance, qint64 bytes)
{
    return !advance || advance(bytes);
}

// Through a buffer, from where both files stand now.
int copyThroughBuffer(int from, int to, const Advance &advance)
{
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got == 0)
            return 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, buffer.data() + done, size_t(got - done));
            if (put < 0 && errno != EINTR)
                return errno;
            done += std::max<ssize_t>(put, 0);
        }
        if (!tell(advance, got))
            return ECANCELED;
    }
}

} // namespace

int copy(int from, int to, const Advance &advance)
{
    struct stat info {};
    if (::ioctl(to, FICLONE, from) == 0)
        return ::fstat(from, &info) == 0 && !tell(advance, info.st_size) ? ECANCELED : 0;
    for (bool first = true;; first = false) {
        const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, pieceSize, 0);
        if (copied == 0)
            return 0;
        if (copied > 0) {
            if (!tell(advance, copied))
                return ECANCELED;
            continue;
        }
        if (errno == EINTR)
            continue;
        // Unsupported between these two before anything was written: the buffer takes over.
        const bool unsupported =
            errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP;
        if (!first || !unsupported)
            return errno;
        break;
    }
    return copyThroughBuffer(from, to, advance);
}

} // namespace FileContentCopy
