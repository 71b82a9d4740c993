#include "TrashLocation.h"

#include "BytePath.h"
#include "TrashErrors.h"

#include <AppDirectories.h>
#include <FileNameCodec.h>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <climits>
#include <cstring>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TrashLocation {

namespace {

using BytePath::parentOf;

std::optional<struct stat> statOf(const QByteArray &path, bool followLink = true)
{
    struct stat info {};
    const int result =
        followLink ? ::stat(path.constData(), &info) : ::lstat(path.constData(), &info);
    if (result != 0)
        return std::nullopt;
    return info;
}

// A trash folder of this user: a real folder (no link) the user owns.
bool isOwnFolder(const QByteArray &path)
{
    const auto info = statOf(path, false);
    return info && S_ISDIR(info->st_mode) && info->st_uid == ::geteuid();
}

// Makes the folder (0700) unless it is there; true when it is the user's own afterwards (else
// errno says why).
bool makeOwnFolder(const QByteArray &path)
{
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    if (isOwnFolder(path))
        return true;
    errno = EPERM;
    return false;
}

// The highest folder on `device` of the way up from `folderPath` (links resolved, so the
// walk follows the real folders), or nothing when the folder is not on that device.
std::optional<QByteArray> topdirOf(dev_t device, const QByteArray &folderPath)
{
    char resolved[PATH_MAX];
    if (!::realpath(folderPath.constData(), resolved))
        return std::nullopt;
    QByteArray top(resolved);
    const auto own = statOf(top);
    if (!own || own->st_dev != device)
        return std::nullopt;
    while (top != "/") {
        const auto parent = parentOf(top);
        const auto above = statOf(parent);
        if (!above || above->st_dev != device)
            break;
        top = parent;
    }
    return top;
}

QByteArray userId()
{
    return QByteArray::number(::geteuid());
}

// $topdir/.Trash/$uid when $topdir/.Trash is a real folder with the sticky bit, else
// $topdir/.Trash-$uid; made when `create`, else only when there.
std::optional<QByteArray> topdirTrash(const QByteArray &topdir, bool create)
{
    const auto root = topdir == "/" ? QByteArray() : topdir;
    const QByteArray shared = root + "/.Trash";
    const auto sharedInfo = statOf(shared, false);
    if (sharedInfo && S_ISDIR(sharedInfo->st_mode) && (sharedInfo->st_mode & S_ISVTX)) {
        const QByteArray own = shared + '/' + userId();
        if (create ? makeOwnFolder(own) : isOwnFolder(own))
            return own;
    }
    const QByteArray own = root + "/.Trash-" + userId();
    if (create ? makeOwnFolder(own) : isOwnFolder(own))
        return own;
    return std::nullopt;
}

// The trash folder's files/ and info/, made when `create`.
std::optional<OpenTrash> openFolders(const QByteArray &directory, QByteArray topdir, bool create)
{
    const Fd root(::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!root.isValid())
        return std::nullopt;
    if (create)
        for (const char *sub : {"files", "info"})
            if (::mkdirat(root.get(), sub, 0700) != 0 && errno != EEXIST)
                return std::nullopt;
    OpenTrash trash{FileNameCodec::decode(directory), std::move(topdir),
                    FolderHandle::openChild(root.get(), "files", O_RDONLY),
                    FolderHandle::openChild(root.get(), "info", O_RDONLY)};
    if (!trash.files.isValid() || !trash.info.isValid())
        return std::nullopt;
    return trash;
}

// The device the home trash is on (made when missing), or, when it can't be made, that of the
// folder it would be in; `usable` tells which.
std::optional<dev_t> homeTrashDevice(bool *usable, int *reason)
{
    const auto home = FileNameCodec::encode(homeTrash());
    QDir().mkpath(FileNameCodec::decode(parentOf(home)));
    *usable = makeOwnFolder(home);
    *reason = errno;
    for (auto path = home;; path = parentOf(path)) {
        if (const auto info = statOf(path))
            return info->st_dev;
        if (path == "/")
            return std::nullopt;
    }
}

QByteArray unescapedMountPoint(const QByteArray &field)
{
    // /proc/self/mountinfo writes space, tab, newline and backslash as \ooo.
    QByteArray path;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                path.append(char(code));
                i += 3;
                continue;
            }
        }
        path.append(field[i]);
    }
    return path;
}

QList<QByteArray> mountPoints()
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    QList<QByteArray> points;
    if (!table.open(QIODevice::ReadOnly))
        return points;
    for (const auto &line : table.readAll().split('\n')) {
        const auto fields = line.split(' ');
        if (fields.size() > 4)
            points << unescapedMountPoint(fields[4]);
    }
    return points;
}

} // namespace

QString homeTrash()
{
    return AppDirectories::trashDirectory();
}

std::optional<OpenTrash> forFolder(dev_t device, const QByteArray &folderPath,
                                   const QString &itemName, Error *error)
{
    bool homeUsable = false;
    int homeReason = 0;
    const auto homeDevice = homeTrashDevice(&homeUsable, &homeReason);
    if (homeDevice == device) {
        if (homeUsable)
            if (auto trash = openFolders(FileNameCodec::encode(homeTrash()), {}, true))
                return trash;
        fail(error, TrashErrors::noTrash(itemName, QCoreApplication::translate("Trash", "the trash folder “%1” can't be used (%2)")
                                                       .arg(homeTrash(),
                                                            QString::fromLocal8Bit(
                                                                std::strerror(homeReason)))));
        return std::nullopt;
    }
    const auto topdir = topdirOf(device, folderPath);
    const auto directory = topdir ? topdirTrash(*topdir, true) : std::nullopt;
    if (directory)
        if (auto trash = openFolders(*directory, *topdir, true))
            return trash;
    fail(error, TrashErrors::noTrash(
                    itemName, topdir ? QCoreApplication::translate("Trash", "the disk at “%1” has no trash folder this user can use")
                                           .arg(FileNameCodec::decode(*topdir))
                                     : QCoreApplication::translate("Trash", "its folder can't be looked at")));
    return std::nullopt;
}

std::optional<OpenTrash> open(const QString &directory, Error *error)
{
    auto trash = openFolders(FileNameCodec::encode(directory), {}, false);
    if (!trash)
        fail(error, TrashErrors::system(QCoreApplication::translate("Trash", "The trash folder “%1” can't be opened: %2."), directory,
                                        errno));
    return trash;
}

QByteArray baseOf(const QString &directory)
{
    const auto path = FileNameCodec::encode(QDir::cleanPath(directory));
    const auto parent = parentOf(path);
    return parent.endsWith("/.Trash") ? parentOf(parent) : parent;
}

QStringList topdirTrashesAtOrBelow(const QString &folder)
{
    char resolved[PATH_MAX];
    if (!::realpath(FileNameCodec::encode(folder).constData(), resolved))
        return {};
    const QByteArray start(resolved);
    QList<QByteArray> places{start};
    for (const auto &point : mountPoints())
        if (point.startsWith(start + '/'))
            places << point;
    bool homeUsable = false;
    int reason = 0;
    const auto homeDevice = homeTrashDevice(&homeUsable, &reason);
    QStringList trashes;
    for (const auto &place : places) {
        const auto info = statOf(place);
        if (!info || info->st_dev == homeDevice)
            continue;
        const auto topdir = topdirOf(info->st_dev, place);
        if (const auto trash = topdir ? topdirTrash(*topdir, false) : std::nullopt)
            if (const auto name = FileNameCodec::decode(*trash); !trashes.contains(name))
                trashes << name;
    }
    return trashes;
}

} // namespace TrashLocation
