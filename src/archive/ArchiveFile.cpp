#include "ArchiveFile.h"

#include "ArchiveErrors.h"

#include <FileNameCodec.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool checkStatus(int result, const struct stat &info, const QString &path, Error *error)
{
    if (result != 0)
        return fail(error, errno == ENOENT || errno == ENOTDIR
                               ? ArchiveErrors::missingArchive(path)
                               : ArchiveErrors::unreadableArchive(
                                     QString::fromLocal8Bit(std::strerror(errno))));
    if (!S_ISREG(info.st_mode))
        return fail(error, ArchiveErrors::notAFile(path));
    return true;
}

} // namespace

bool ArchiveFile::check(const QString &path, Error *error)
{
    struct stat info {};
    const int result = ::stat(FileNameCodec::encode(path).constData(), &info);
    return checkStatus(result, info, path, error);
}

Fd ArchiveFile::open(const QString &path, Error *error)
{
    Fd file(::open(FileNameCodec::encode(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    const int result = file.isValid() ? ::fstat(file.get(), &info) : -1;
    if (!checkStatus(result, info, path, error))
        return Fd();
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    return file;
}

QByteArray ArchiveFile::descriptorPath(int fd)
{
    return "/proc/self/fd/" + QByteArray::number(fd);
}

qint64 ArchiveFile::size(const QString &path)
{
    struct stat info {};
    return ::stat(FileNameCodec::encode(path).constData(), &info) == 0 ? qint64(info.st_size) : 0;
}
