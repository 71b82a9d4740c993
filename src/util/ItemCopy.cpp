#include "ItemCopy.h"

#include "FileOperations.h"
#include "FolderHandle.h"
#include "FreeItemName.h"
#include "LocalPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Not an errno: the item is a pipe, socket or device.
constexpr int specialFile = -1;

struct Walk {
    FileContentCopy::Advance advance;
    QByteArray failedAt; // the item that failed, relative to the copied one ("" for itself)
};

int copyItem(int fromFolder, const char *fromName, int toFolder, const char *toName, Walk &walk,
             const QByteArray &relative);

bool renameWithoutReplacing(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // The file system lacks the flag: look first; a narrow race remains there.
    struct stat info {};
    if (::lstat(to.constData(), &info) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.constData(), to.constData()) == 0;
}

int keepTimesAndMode(int to, const struct stat &info)
{
    const timespec times[2] = {info.st_atim, info.st_mtim};
    if (::fchmod(to, info.st_mode & 07777) != 0 || ::futimens(to, times) != 0)
        return errno;
    return 0;
}

int copyFile(int fromFolder, const char *fromName, int toFolder, const char *toName,
             const FileContentCopy::Advance &advance)
{
    // O_NONBLOCK: a pipe put there meanwhile must not hold the copy; fstat then refuses it.
    Fd from(::openat(fromFolder, fromName, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK));
    struct stat info {};
    if (!from.isValid() || ::fstat(from.get(), &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode))
        return specialFile;
    Fd to(::openat(toFolder, toName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!to.isValid())
        return errno;
    int failure = FileContentCopy::copy(from.get(), to.get(), advance);
    if (failure == 0)
        failure = keepTimesAndMode(to.get(), info);
    // A delayed write may fail only here.
    if (::close(to.release()) != 0 && failure == 0)
        failure = errno;
    return failure;
}

int copyLink(int fromFolder, const char *fromName, const struct stat &info, int toFolder,
             const char *toName)
{
    QByteArray target(qMax<qsizetype>(info.st_size, 255) + 1, Qt::Uninitialized);
    const ssize_t length = ::readlinkat(fromFolder, fromName, target.data(), size_t(target.size()));
    if (length < 0)
        return errno;
    if (length >= target.size()) // grown since it was looked at
        return EAGAIN;
    target.truncate(length);
    if (::symlinkat(target.constData(), toFolder, toName) != 0)
        return errno;
    const timespec times[2] = {info.st_atim, info.st_mtim};
    ::utimensat(toFolder, toName, times, AT_SYMLINK_NOFOLLOW); // not every file system can
    return 0;
}

int copyFolder(int fromFolder, const char *fromName, const struct stat &info, int toFolder,
               const char *toName, Walk &walk, const QByteArray &relative)
{
    const Fd from = FolderHandle::openChild(fromFolder, fromName, O_RDONLY);
    if (!from.isValid())
        return errno;
    // Owner-only while it fills, so no one reads a half-made copy; its own mode comes last.
    if (::mkdirat(toFolder, toName, 0700) != 0)
        return errno;
    const Fd to = FolderHandle::openChild(toFolder, toName, O_RDONLY);
    if (!to.isValid())
        return errno;
    int failure = 0;
    const bool listed = FolderHandle::forEachItem(from.get(), [&](const dirent &item) {
        const QByteArray inner = relative.isEmpty() ? QByteArray(item.d_name)
                                                    : relative + '/' + item.d_name;
        failure = copyItem(from.get(), item.d_name, to.get(), item.d_name, walk, inner);
        return failure == 0;
    });
    if (failure != 0)
        return failure;
    if (!listed) {
        walk.failedAt = relative;
        return errno != 0 ? errno : EIO;
    }
    return keepTimesAndMode(to.get(), info);
}

int copyItem(int fromFolder, const char *fromName, int toFolder, const char *toName, Walk &walk,
             const QByteArray &relative)
{
    if (walk.advance && !walk.advance(0))
        return ECANCELED;
    struct stat info {};
    int failure = ::fstatat(fromFolder, fromName, &info, AT_SYMLINK_NOFOLLOW) != 0 ? errno : 0;
    if (failure == 0) {
        if (S_ISDIR(info.st_mode))
            return copyFolder(fromFolder, fromName, info, toFolder, toName, walk, relative);
        if (S_ISLNK(info.st_mode))
            failure = copyLink(fromFolder, fromName, info, toFolder, toName);
        else if (S_ISREG(info.st_mode))
            failure = copyFile(fromFolder, fromName, toFolder, toName, walk.advance);
        else
            failure = specialFile;
    }
    if (failure != 0 && failure != ECANCELED)
        walk.failedAt = relative;
    return failure;
}

QString advice(int code)
{
    if (code == EACCES || code == EPERM || code == EROFS)
        return ItemCopy::tr("Check that you may read it and add items to the destination, then "
                            "try again.");
    if (code == ENOSPC || code == EDQUOT)
        return ItemCopy::tr("Free some space, then try again.");
    return ItemCopy::tr("Try again.");
}

Error copyError(const QString &name, const Walk &walk, int code)
{
    if (code == ECANCELED)
        return Error(ItemCopy::errorDomain, ItemCopy::Cancelled,
                     ItemCopy::tr("The copy of “%1” was cancelled; nothing of it was kept.")
                         .arg(name));
    const QString inner = QFile::decodeName(walk.failedAt);
    if (code == specialFile)
        return Error(ItemCopy::errorDomain, ItemCopy::SpecialFile,
                     inner.isEmpty()
                         ? ItemCopy::tr("“%1” is a pipe, socket or device, which can't be "
                                        "copied.")
                               .arg(name)
                         : ItemCopy::tr("“%1” could not be copied: “%2” in it is a pipe, "
                                        "socket or device, which can't be copied.")
                               .arg(name, inner));
    const QString reason = QString::fromLocal8Bit(std::strerror(code));
    //: %1 the item, %2 the system's reason, %3 what to do (a sentence).
    return Error(ItemCopy::errorDomain, ItemCopy::CopyFailed,
                 inner.isEmpty()
                     ? ItemCopy::tr("“%1” could not be copied: %2. %3").arg(name, reason, advice(code))
                     //: %1 the item, %2 the item inside it that failed, %3 the system's reason,
                     //: %4 what to do.
                     : ItemCopy::tr("“%1” could not be copied: “%2” in it failed: %3. %4")
                           .arg(name, inner, reason, advice(code)));
}

} // namespace

std::optional<QString> ItemCopy::copyAside(const QString &source, const QString &folder,
                                           const FileContentCopy::Advance &advance, Error *error)
{
    const QFileInfo item(source);
    const QString name = item.fileName();
    if (isInside(folder, source)) {
        fail(error, Error(errorDomain, IntoItself,
                          tr("“%1” can't be copied into itself. Choose another folder.").arg(name)));
        return std::nullopt;
    }
    Walk walk{advance, {}};
    const Fd from(::open(QFile::encodeName(item.path()).constData(),
                         O_PATH | O_DIRECTORY | O_CLOEXEC));
    const Fd to(::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    const QByteArray partial = ".ombrisk-copying-" +
                               QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1();
    int failure = !from.isValid() || !to.isValid() ? errno : 0;
    if (failure == 0)
        failure = copyItem(from.get(), QFile::encodeName(name).constData(), to.get(),
                           partial.constData(), walk, {});
    if (failure == 0)
        return folder + u'/' + QString::fromLatin1(partial);
    if (to.isValid()) {
        const int reason = failure;
        FolderHandle::removeTree(to.get(), partial.constData());
        failure = reason;
    }
    fail(error, copyError(name, walk, failure));
    return std::nullopt;
}

std::optional<QString> ItemCopy::place(const QString &partial, const QString &name, bool keepBoth,
                                       Error *error)
{
    const QString folder = QFileInfo(partial).path();
    const QByteArray from = QFile::encodeName(partial);
    // Another writer would have to take each free name in the moment between choice and
    // rename; a few turns are plenty.
    int reason = EEXIST;
    for (int attempt = 0; attempt < (keepBoth ? 5 : 1) && reason == EEXIST; ++attempt) {
        const QString target = folder + u'/' + (keepBoth ? FreeItemName::in(folder, name) : name);
        if (renameWithoutReplacing(from, QFile::encodeName(target)))
            return target;
        reason = errno;
    }
    FileOperations::removeItemAtPath(partial, nullptr);
    if (reason == EEXIST)
        fail(error, Error(errorDomain, NameTaken,
                          tr("“%1” was not copied: an item of that name came into the folder "
                             "meanwhile. Nothing was replaced; try again.")
                              .arg(name)));
    else
        fail(error, copyError(name, Walk{{}, {}}, reason));
    return std::nullopt;
}

bool ItemCopy::isInside(const QString &folder, const QString &source)
{
    const QFileInfo item(source);
    if (item.isSymLink() || !item.isDir())
        return false;
    const QString real = LocalPaths::canonical(source);
    const QString into = LocalPaths::canonical(folder);
    return !real.isEmpty() && (into == real || into.startsWith(real + u'/'));
}

qint64 ItemCopy::bytesIn(const QString &path)
{
    struct stat info {};
    const QByteArray encoded = QFile::encodeName(path);
    if (::lstat(encoded.constData(), &info) != 0)
        return 0;
    if (!S_ISDIR(info.st_mode))
        return S_ISREG(info.st_mode) ? info.st_size : 0;
    std::function<qint64(int)> sum = [&sum](int folder) {
        qint64 bytes = 0;
        FolderHandle::forEachItem(folder, [&](const dirent &entry) {
            struct stat inner {};
            if (::fstatat(folder, entry.d_name, &inner, AT_SYMLINK_NOFOLLOW) != 0)
                return true;
            if (S_ISREG(inner.st_mode))
                bytes += inner.st_size;
            else if (S_ISDIR(inner.st_mode))
                if (const Fd child = FolderHandle::openChild(folder, entry.d_name, O_RDONLY);
                    child.isValid())
                    bytes += sum(child.get());
            return true;
        });
        return bytes;
    };
    const Fd folder(::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    return folder.isValid() ? sum(folder.get()) : 0;
}
