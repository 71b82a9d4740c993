#include "InboxCopy.h"

#include "AppDirectories.h"
#include "FileContentCopy.h"
#include "FileOperations.h"
#include "KeepBothMove.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A descriptor closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    // Closes now, for the error a delayed write may report only here.
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

const QLatin1String partialPrefix(".ombrisk-");

Error copyError(const QString &source, int code)
{
    return Error(InboxCopy::errorDomain, InboxCopy::CopyFailed,
                 InboxCopy::tr("“%1” could not be copied: %2. Check that it can be read and "
                               "that there is space left, then hand it over again.")
                     .arg(QFileInfo(source).fileName(),
                          QString::fromLocal8Bit(std::strerror(code))));
}

} // namespace

QString InboxCopy::inboxPath()
{
    return AppDirectories::documentsDirectory() + QStringLiteral("/Inbox");
}

bool InboxCopy::isPartialCopyName(const QString &name)
{
    return name.startsWith(partialPrefix);
}

std::optional<QString> InboxCopy::copyIntoInbox(const QString &source, const QString &inbox,
                                                Error *error)
{
    const QString name = QFileInfo(source).fileName();
    // Without O_NONBLOCK a pipe handed over would hold the queue until someone writes to it.
    Descriptor from(::open(QFile::encodeName(source).constData(),
                           O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat info {};
    if (from.get() < 0 || ::fstat(from.get(), &info) != 0) {
        fail(error, copyError(source, errno));
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        fail(error, Error(errorDomain, NotAFile,
                          tr("“%1” is not a file. Only files can be handed over to Ombrisk.")
                              .arg(name)));
        return std::nullopt;
    }
    if (!FileOperations::createDirectoriesForPath(inbox, error))
        return std::nullopt;
    const QString partial = inbox + u'/' + partialPrefix + QStringLiteral("incoming-") +
                            QUuid::createUuid().toString(QUuid::WithoutBraces);
    Descriptor to(::open(QFile::encodeName(partial).constData(),
                         O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
    int failure = to.get() < 0 ? errno : FileContentCopy::copy(from.get(), to.get());
    if (to.get() >= 0 && to.close() != 0 && failure == 0)
        failure = errno;
    std::optional<QString> placed;
    if (failure != 0)
        fail(error, copyError(source, failure));
    else
        placed = KeepBothMove::moveInto(partial, inbox, name, error);
    if (!placed)
        QFile::remove(partial);
    return placed;
}

QStringList InboxCopy::waitingFiles(const QString &inbox)
{
    QStringList waiting;
    for (const QString &path : FileOperations::listFilesInDirectoryAtPath(inbox)) {
        if (isPartialCopyName(QFileInfo(path).fileName()))
            QFile::remove(path);
        else
            waiting.append(path);
    }
    return waiting;
}
