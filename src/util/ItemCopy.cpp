#include "ItemCopy.h"

#include "FileOperations.h"
#include "FolderHandle.h"
#include "FreeItemName.h"
#include "ItemRecords.h"
#include "LocalPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Not an errno: the item is a pipe, socket or device.
constexpr int specialFile = -1;

struct Walk {
    FileContentCopy::Advance advance;
    QByteArray failedAt; // the item that failed, relative to the copied one ("" for itself)
    // Hears of the copy's own top item once it exists and before anything is put in it.
    std::function<void(int folder, const char *name)> madeTop = {};

    void made(const QByteArray &relative, int folder, const char *name) const
    {
        if (relative.isEmpty() && madeTop)
            madeTop(folder, name);
    }
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
             const Walk &walk, const QByteArray &relative)
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
    walk.made(relative, toFolder, toName);
    int failure = FileContentCopy::copy(from.get(), to.get(), walk.advance);
    if (failure == 0)
        failure = keepTimesAndMode(to.get(), info);
    // A delayed write may fail only here.
    if (to.close() != 0 && failure == 0)
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
    walk.made(relative, toFolder, toName);
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
            failure = copyFile(fromFolder, fromName, toFolder, toName, walk, relative);
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

ItemCopy::Partial::Partial(Partial &&other) noexcept
    : m_path(std::exchange(other.m_path, {})), m_record(std::move(other.m_record)),
      m_device(other.m_device), m_inode(other.m_inode)
{
}

ItemCopy::Partial &ItemCopy::Partial::operator=(Partial &&other) noexcept
{
    if (this != &other) {
        discard();
        m_path = std::exchange(other.m_path, {});
        m_record = std::move(other.m_record);
        m_device = other.m_device;
        m_inode = other.m_inode;
    }
    return *this;
}

ItemCopy::Partial::~Partial()
{
    discard();
}

void ItemCopy::Partial::discard()
{
    if (!m_path.isEmpty())
        FileOperations::removeItemAtPath(m_path, nullptr);
    forget();
}

void ItemCopy::Partial::forget()
{
    if (m_record.isValid())
        ItemRecords::drop(ItemRecords::Book::Copying, m_device, m_inode);
    m_record = Fd();
    m_path.clear();
}

std::optional<ItemCopy::Partial> ItemCopy::copyAside(const QString &source,
                                                     const QString &folder,
                                                     const FileContentCopy::Advance &advance,
                                                     Error *error)
{
    const QFileInfo item(source);
    const QString name = item.fileName();
    if (isInside(folder, source)) {
        fail(error, Error(errorDomain, IntoItself,
                          tr("“%1” can't be copied into itself. Choose another folder.").arg(name)));
        return std::nullopt;
    }
    Partial partial;
    const QByteArray hidden = ".ombrisk-copying-" +
                              QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1();
    // Recorded as soon as it exists; a copy that can't be recorded still goes on (only a crash
    // would then leave it behind).
    Walk walk{advance, {}, [&](int into, const char *made) {
                  struct stat info {};
                  if (::fstatat(into, made, &info, AT_SYMLINK_NOFOLLOW) != 0)
                      return;
                  partial.m_device = info.st_dev;
                  partial.m_inode = info.st_ino;
                  partial.m_record = ItemRecords::addHeld(
                      ItemRecords::Book::Copying,
                      {info.st_dev, info.st_ino, info.st_uid, QFile::encodeName(folder), made, {}});
              }};
    const Fd from(::open(QFile::encodeName(item.path()).constData(),
                         O_PATH | O_DIRECTORY | O_CLOEXEC));
    const Fd to(::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    int failure = !from.isValid() || !to.isValid() ? errno : 0;
    if (failure == 0)
        failure = copyItem(from.get(), QFile::encodeName(name).constData(), to.get(),
                           hidden.constData(), walk, {});
    if (failure == 0) {
        partial.m_path = folder + u'/' + QString::fromLatin1(hidden);
        return partial;
    }
    if (to.isValid()) {
        const int reason = failure;
        FolderHandle::removeTree(to.get(), hidden.constData());
        failure = reason;
    }
    fail(error, copyError(name, walk, failure));
    return std::nullopt;
}

std::optional<QString> ItemCopy::place(Partial &partial, const QString &name, bool keepBoth,
                                       Error *error)
{
    const QString folder = QFileInfo(partial.path()).path();
    const QByteArray from = QFile::encodeName(partial.path());
    // Another writer would have to take each free name in the moment between choice and
    // rename; a few turns are plenty.
    int reason = EEXIST;
    for (int attempt = 0; attempt < (keepBoth ? 5 : 1) && reason == EEXIST; ++attempt) {
        const QString target = folder + u'/' + (keepBoth ? FreeItemName::in(folder, name) : name);
        if (renameWithoutReplacing(from, QFile::encodeName(target))) {
            partial.forget();
            return target;
        }
        reason = errno;
    }
    partial.discard();
    if (reason == EEXIST)
        fail(error, Error(errorDomain, NameTaken,
                          tr("“%1” was not copied: an item of that name came into the folder "
                             "meanwhile. Nothing was replaced; try again.")
                              .arg(name)));
    else
        fail(error, copyError(name, Walk{{}, {}}, reason));
    return std::nullopt;
}

void ItemCopy::sweepRecorded()
{
    using ItemRecords::Book;
    for (const auto &record : ItemRecords::all(Book::Copying)) {
        if (record.owner != ::geteuid() || ItemRecords::isHeld(Book::Copying, record.device,
                                                               record.inode))
            continue;
        const Fd place(::open(record.place.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        struct stat placeInfo {};
        if (!place.isValid() || ::fstat(place.get(), &placeInfo) != 0)
            continue; // a disk that is not there now: kept for when it is
        struct stat info {};
        const bool there = ::fstatat(place.get(), record.name.constData(), &info,
                                     AT_SYMLINK_NOFOLLOW) == 0;
        if (there && (info.st_dev != record.device || info.st_ino != record.inode ||
                      info.st_uid != record.owner))
            ItemRecords::drop(Book::Copying, record.device, record.inode); // the user's now
        else if (there ? FolderHandle::removeTree(place.get(), record.name.constData())
                       : placeInfo.st_dev == record.device)
            ItemRecords::drop(Book::Copying, record.device, record.inode);
    }
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
