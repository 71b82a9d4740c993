#include "EntryFile.h"

#include "ArchiveErrors.h"
#include "FolderHandle.h"

#include <FileNameCodec.h>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool EntryFile::write(const QString &path, Error *error,
                      const std::function<bool(const Sink &sink, Error *error)> &produce)
{
    const auto encoded = FileNameCodec::encode(path);
    const auto name = path.section(u'/', -1);
    Fd file(
        ::open(encoded.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.isValid())
        return fail(error, ArchiveErrors::fromErrno(errno, name));
    const auto append = [&](const char *data, qint64 size, Error *e) {
        while (size > 0) {
            const auto written = ::write(file.get(), data, size_t(size));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return fail(e, ArchiveErrors::fromErrno(written < 0 ? errno : ENOSPC, name));
            data += written;
            size -= written;
        }
        return true;
    };
    if (produce(append, error) && file.close() == 0)
        return true;
    if (error && !error->isSet())
        fail(error, ArchiveErrors::fromErrno(errno, name));
    ::unlink(encoded.constData());
    return false;
}
