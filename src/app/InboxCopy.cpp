#include "InboxCopy.h"

#include "Descriptors.h"
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

bool InboxCopy::isPartialCopyName(const QString &name)
{
    return name.startsWith(partialPrefix);
}

std::optional<QString> InboxCopy::copyIntoInbox(const QString &source, const QString &inbox,
                                                Error *error)
{
    const QString name = QFileInfo(source).fileName();
    // Without O_NONBLOCK a pipe handed over would hold the queue until someone writes to it.
    const Fd from(::open(QFile::encodeName(source).constData(),
                         O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat info {};
    if (!from.isValid() || ::fstat(from.get(), &info) != 0) {
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
    Fd to(::open(QFile::encodeName(partial).constData(),
                 O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
    int failure = !to.isValid() ? errno : FileContentCopy::copy(from.get(), to.get());
    // A delayed write may fail only at the close.
    if (to.isValid() && to.close() != 0 && failure == 0)
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
