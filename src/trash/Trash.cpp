#include "Trash.h"

#include "TrashErrors.h"
#include "TrashInfo.h"
#include "TrashLocation.h"

#include <FolderHandle.h>
#include <FreeItemName.h>
#include <NoReplaceRename.h>
#include <FileNameCodec.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <Utils.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString TrashEntry::path() const
{
    return trashDirectory + QLatin1String("/files/") + FileNameCodec::decode(name);
}

QByteArray TrashEntry::encodedOriginal() const
{
    return encodedOriginalPath.isEmpty() ? FileNameCodec::encode(originalPath) : encodedOriginalPath;
}

namespace Trash {

namespace {

constexpr char infoSuffix[] = ".trashinfo";
constexpr qsizetype infoSuffixLength = sizeof infoSuffix - 1;
constexpr qsizetype maxInfoSize = 64 * 1024;

bool isItemName(const QByteArray &name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') &&
           !name.contains('\0');
}

// "name 2.ext": the number before the last extension, for names FreeItemName can't hold (not
// UTF-8) and for names in a trash, where no rule of the listing applies.
QByteArray numbered(const QByteArray &name, int number)
{
    const auto dot = name.lastIndexOf('.');
    const auto split = dot > 0 ? dot : name.size();
    return name.left(split) + ' ' + QByteArray::number(number) + name.mid(split);
}

// A name short enough that "<name> 99999.trashinfo" is one file name, cut between characters.
QByteArray shortened(const QByteArray &name)
{
    constexpr qsizetype room = NAME_MAX - infoSuffixLength - 6;
    if (name.size() <= room)
        return name;
    qsizetype cut = room;
    while (cut > 0 && (uchar(name[cut]) & 0xC0) == 0x80)
        --cut;
    return name.left(cut);
}

// The `attempt`-th name for an item in a trash: its own, numbered ones, then random ones (a
// trash with a hundred items of one name is not worth counting through).
QByteArray trashName(const QByteArray &base, int attempt)
{
    if (attempt == 0)
        return base;
    if (attempt < 100)
        return numbered(base, attempt + 1);
    return numbered(base, int(QRandomGenerator::system()->bounded(100000, 1000000)));
}

QByteArray parentOf(const QByteArray &path)
{
    const auto slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QByteArray leafOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

bool writeAll(int fd, const QByteArray &data)
{
    for (qsizetype done = 0; done < data.size();) {
        const auto written = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (written < 0 && errno != EINTR)
            return false;
        done += written > 0 ? written : 0;
    }
    return true;
}

// Writes the info file `infoName` unless one of that name is there (EEXIST then).
bool createInfoFile(int infoFd, const QByteArray &infoName, const QByteArray &text)
{
    const int fd = ::openat(infoFd, infoName.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, text);
    const int reason = errno;
    if (::close(fd) == 0 && written)
        return true;
    ::unlinkat(infoFd, infoName.constData(), 0);
    errno = written ? errno : reason;
    return false;
}

QByteArray readInfoFile(int infoFd, const char *infoName)
{
    const Fd file(::openat(infoFd, infoName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    QByteArray text(maxInfoSize, Qt::Uninitialized);
    const auto read = file.isValid() ? ::read(file.get(), text.data(), size_t(text.size())) : -1;
    text.resize(read > 0 ? read : 0);
    return text;
}

// The Path to record: relative to the top directory for a trash of a disk's own (the disk may
// be mounted elsewhere next time), absolute in the home trash.
QByteArray recordedPath(const QByteArray &original, const QByteArray &topdir)
{
    if (topdir.isEmpty())
        return original;
    char resolved[PATH_MAX];
    if (!::realpath(parentOf(original).constData(), resolved))
        return original;
    const QByteArray real = joined(QByteArray(resolved), leafOf(original));
    const QByteArray prefix = topdir == "/" ? QByteArray("/") : topdir + '/';
    return real.startsWith(prefix) ? real.mid(prefix.size()) : original;
}

// Makes `path` and its missing parents as mkdir -p does (the umask applies).
bool makePath(const QByteArray &path)
{
    struct stat info {};
    if (::stat(path.constData(), &info) == 0)
        return S_ISDIR(info.st_mode) || (errno = ENOTDIR, false);
    if (errno != ENOENT || path == "/")
        return false;
    if (!makePath(parentOf(path)))
        return false;
    return ::mkdir(path.constData(), 0777) == 0 || errno == EEXIST;
}

bool hasDotDot(const QByteArray &path)
{
    return path.split('/').contains("..");
}

std::optional<TrashEntry> entryOf(const QString &directory, const TrashLocation::OpenTrash &trash,
                                  const QByteArray &base, const char *infoName)
{
    const QByteArray file(infoName);
    if (!file.endsWith(infoSuffix) || file.size() == infoSuffixLength)
        return std::nullopt;
    const auto name = file.chopped(infoSuffixLength);
    struct stat item {};
    if (::fstatat(trash.files.get(), name.constData(), &item, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    const auto contents = TrashInfo::parse(readInfoFile(trash.info.get(), infoName));
    if (!contents || hasDotDot(contents->path))
        return std::nullopt;
    const auto path =
        contents->path.startsWith('/') ? contents->path : base + '/' + contents->path;
    return TrashEntry{directory, name, FileNameCodec::decode(path), contents->deletionDate, path};
}

qint64 bytesBelow(int folderFd)
{
    qint64 total = 0;
    FolderHandle::forEachItem(folderFd, [&](const dirent &item) {
        struct stat info {};
        if (::fstatat(folderFd, item.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            return true;
        total += qint64(info.st_blocks) * 512;
        if (S_ISDIR(info.st_mode))
            if (const auto child = FolderHandle::openChild(folderFd, item.d_name, O_RDONLY);
                child.isValid())
                total += bytesBelow(child.get());
        return true;
    });
    return total;
}

} // namespace

std::optional<QString> trashDirectoryFor(const QString &path, Error *error)
{
    const auto absolute = FileNameCodec::encode(QFileInfo(path).absoluteFilePath());
    const auto folder = parentOf(absolute);
    struct stat info {};
    if (::stat(folder.constData(), &info) != 0) {
        fail(error, TrashErrors::notFound(FileNameCodec::decode(leafOf(absolute))));
        return std::nullopt;
    }
    const auto trash =
        TrashLocation::forFolder(info.st_dev, folder, FileNameCodec::decode(leafOf(absolute)), error);
    if (!trash)
        return std::nullopt;
    return trash->directory;
}

std::optional<TrashEntry> moveToTrash(const QString &path, Error *error)
{
    const auto absolute = FileNameCodec::encode(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    const auto name = leafOf(absolute);
    const Fd folder(::open(parentOf(absolute).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isValid() || !isItemName(name)) {
        fail(error, TrashErrors::notFound(FileNameCodec::decode(name)));
        return std::nullopt;
    }
    return moveToTrash(folder.get(), name, FileNameCodec::decode(absolute), error);
}

std::optional<TrashEntry> moveToTrash(int folderFd, const QByteArray &name,
                                      const QString &originalPath, Error *error)
{
    const auto shown = FileNameCodec::decode(name);
    struct stat folder {};
    struct stat item {};
    if (!isItemName(name) || ::fstat(folderFd, &folder) != 0 ||
        ::fstatat(folderFd, name.constData(), &item, AT_SYMLINK_NOFOLLOW) != 0) {
        fail(error, TrashErrors::notFound(shown));
        return std::nullopt;
    }
    // An item that keeps its name is recorded with its own bytes: a name that is not UTF-8
    // may have come through QString as replacement characters. Compared as lossily as that.
    auto original = FileNameCodec::encode(QDir::cleanPath(originalPath));
    if (QFile::decodeName(leafOf(original)) == QFile::decodeName(name))
        original = joined(parentOf(original), name);
    const auto trash = TrashLocation::forFolder(folder.st_dev, parentOf(original), shown, error);
    if (!trash)
        return std::nullopt;
    const auto date = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
    const auto text = TrashInfo::format(recordedPath(original, trash->topdir), date);
    const auto base = shortened(leafOf(original)); // named as it will be shown
    const auto failure = [&](int reason) {
        fail(error, TrashErrors::system(QCoreApplication::translate("Trash", "“%1” could not be moved to the Trash: %2."), shown, reason));
        return std::nullopt;
    };
    for (int attempt = 0; attempt < 120; ++attempt) {
        const auto candidate = trashName(base, attempt);
        const auto infoName = candidate + infoSuffix;
        if (!createInfoFile(trash->info.get(), infoName, text)) {
            if (errno == EEXIST)
                continue;
            return failure(errno);
        }
        if (NoReplaceRename::move(folderFd, name.constData(), trash->files.get(),
                                  candidate.constData()))
            return TrashEntry{trash->directory, candidate, FileNameCodec::decode(original), date,
                              original};
        const int reason = errno;
        ::unlinkat(trash->info.get(), infoName.constData(), 0);
        if (reason != EEXIST)
            return failure(reason);
    }
    return failure(EEXIST);
}

std::optional<QString> restore(const TrashEntry &entry, Error *error)
{
    const auto original = entry.encodedOriginal();
    const auto folder = parentOf(original);
    const auto leaf = leafOf(original);
    const auto shown = FileNameCodec::decode(leaf);
    const auto trash = TrashLocation::open(entry.trashDirectory, error);
    if (!trash)
        return std::nullopt;
    struct stat item {};
    if (!isItemName(entry.name) || !original.startsWith('/') || !isItemName(leaf) ||
        ::fstatat(trash->files.get(), entry.name.constData(), &item, AT_SYMLINK_NOFOLLOW) != 0) {
        fail(error, TrashErrors::notFound(shown));
        return std::nullopt;
    }
    const auto failure = [&](int reason) {
        fail(error, TrashErrors::system(QCoreApplication::translate("Trash", "“%1” could not be put back: %2."), shown, reason));
        return std::nullopt;
    };
    if (!makePath(folder))
        return failure(errno);
    const Fd target(::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!target.isValid())
        return failure(errno);
    // FreeItemName takes names as text; a path that is not UTF-8 is numbered as bytes.
    const bool readable = QFile::encodeName(QFile::decodeName(original)) == original;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate =
            attempt == 0 ? leaf
            : readable   ? FileNameCodec::encode(FreeItemName::in(FileNameCodec::decode(folder), shown))
                         : numbered(leaf, attempt + 1);
        if (NoReplaceRename::move(trash->files.get(), entry.name.constData(), target.get(),
                                  candidate.constData())) {
            ::unlinkat(trash->info.get(), (entry.name + infoSuffix).constData(), 0);
            return FileNameCodec::decode(joined(folder, candidate));
        }
        if (errno == EXDEV) {
            fail(error, TrashErrors::otherFileSystem(shown, FileNameCodec::decode(folder)));
            return std::nullopt;
        }
        if (errno != EEXIST)
            return failure(errno);
    }
    return failure(EEXIST);
}

bool erase(const TrashEntry &entry, Error *error)
{
    const auto trash = TrashLocation::open(entry.trashDirectory, error);
    if (!trash)
        return false;
    const auto shown = FileNameCodec::decode(leafOf(entry.encodedOriginal()));
    if (!isItemName(entry.name))
        return fail(error, TrashErrors::notFound(shown));
    if (!FolderHandle::removeTree(trash->files.get(), entry.name.constData()))
        return fail(error, TrashErrors::system(QCoreApplication::translate("Trash", "“%1” could not be deleted: %2."), shown, errno));
    ::unlinkat(trash->info.get(), (entry.name + infoSuffix).constData(), 0);
    return true;
}

QStringList trashDirectoriesInUse()
{
    return QStringList{TrashLocation::homeTrash()} +
           TrashLocation::topdirTrashesAtOrBelow(Utils::documentsPath());
}

QList<TrashEntry> entries(const QStringList &trashDirectories)
{
    QList<TrashEntry> found;
    for (const auto &directory : trashDirectories) {
        const auto trash = TrashLocation::open(directory, nullptr);
        if (!trash)
            continue;
        const auto base = TrashLocation::baseOf(directory);
        FolderHandle::forEachItem(trash->info.get(), [&](const dirent &item) {
            if (auto entry = entryOf(directory, *trash, base, item.d_name))
                found << std::move(*entry);
            return true;
        });
    }
    // Newest first; entries without a date last; one moment's entries by name.
    std::sort(found.begin(), found.end(), [](const TrashEntry &a, const TrashEntry &b) {
        if (a.deletionDate != b.deletionDate)
            return a.deletionDate.isValid() &&
                   (!b.deletionDate.isValid() || a.deletionDate > b.deletionDate);
        return a.name < b.name;
    });
    return found;
}

qint64 bytesIn(const QStringList &trashDirectories)
{
    qint64 total = 0;
    for (const auto &directory : trashDirectories)
        if (const auto trash = TrashLocation::open(directory, nullptr))
            total += bytesBelow(trash->files.get());
    return total;
}

} // namespace Trash
