#include "Trash.h"

#include "TrashErrors.h"
#include "TrashInfo.h"
#include "TrashLocation.h"
#include "TrashPlacement.h"
#include "BytePath.h"

#include <FolderHandle.h>
#include <FreeItemName.h>
#include <NoReplaceRename.h>
#include <FileNameCodec.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

using namespace BytePath;
using TrashPlacement::infoSuffix;
using TrashPlacement::isItemName;

constexpr qsizetype infoSuffixLength = sizeof infoSuffix - 1;
constexpr qsizetype maxInfoSize = 64 * 1024;

QByteArray readInfoFile(int infoFd, const char *infoName)
{
    const Fd file(::openat(infoFd, infoName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    QByteArray text(maxInfoSize, Qt::Uninitialized);
    const auto read = file.isValid() ? ::read(file.get(), text.data(), size_t(text.size())) : -1;
    text.resize(read > 0 ? read : 0);
    return text;
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

// What restores in a row keep open: the entries of one batch share their trash and folder.
struct RestoreSite {
    std::optional<TrashLocation::OpenTrash> trash;
    QByteArray folder;
    Fd folderFd;
};

// Opens the entry's original folder in `site` unless it is open there, made again when missing.
bool openFolder(RestoreSite &site, const QByteArray &folder)
{
    if (site.folderFd.isValid() && site.folder == folder)
        return true;
    site.folderFd = Fd();
    site.folder = folder;
    if (!makePath(folder))
        return false;
    site.folderFd = Fd(::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    return site.folderFd.isValid();
}

std::optional<QString> restoreAt(RestoreSite &site, const TrashEntry &entry, Error *error)
{
    const auto original = entry.encodedOriginal();
    const auto folder = parentOf(original);
    const auto leaf = leafOf(original);
    const auto shown = FileNameCodec::decode(leaf);
    if (!site.trash || site.trash->directory != entry.trashDirectory) {
        site.trash = TrashLocation::open(entry.trashDirectory, error);
        if (!site.trash)
            return std::nullopt;
    }
    const auto &trash = *site.trash;
    struct stat item {};
    if (!isItemName(entry.name) || !original.startsWith('/') || !isItemName(leaf) ||
        ::fstatat(trash.files.get(), entry.name.constData(), &item, AT_SYMLINK_NOFOLLOW) != 0) {
        fail(error, TrashErrors::notFound(shown));
        return std::nullopt;
    }
    const auto failure = [&](int reason) {
        fail(error, TrashErrors::notPutBack(shown, reason));
        return std::nullopt;
    };
    if (!openFolder(site, folder))
        return failure(errno);
    // FreeItemName takes names as text; a path that is not UTF-8 is numbered as bytes.
    const bool readable = QFile::encodeName(QFile::decodeName(original)) == original;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate =
            attempt == 0 ? leaf
            : readable   ? FileNameCodec::encode(FreeItemName::in(FileNameCodec::decode(folder), shown))
                         : TrashPlacement::numbered(leaf, attempt + 1);
        if (NoReplaceRename::move(trash.files.get(), entry.name.constData(), site.folderFd.get(),
                                  candidate.constData())) {
            ::unlinkat(trash.info.get(), (entry.name + infoSuffix).constData(), 0);
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
    const auto recorded = TrashPlacement::recordedFolder(parentOf(original), trash->topdir);
    const auto text =
        TrashInfo::format(TrashPlacement::recordedPath(recorded, leafOf(original)), date);
    // Named as it will be shown.
    const auto placed = TrashPlacement::place(*trash, folderFd, name,
                                              TrashPlacement::baseName(leafOf(original)), text);
    if (!placed) {
        fail(error, TrashErrors::notMoved(shown, errno));
        return std::nullopt;
    }
    return TrashEntry{trash->directory, *placed, FileNameCodec::decode(original), date, original};
}

std::optional<QString> restore(const TrashEntry &entry, Error *error)
{
    RestoreSite site;
    return restoreAt(site, entry, error);
}

QList<Error> restoreAll(const QList<TrashEntry> &entries, const BatchProgress &progress)
{
    RestoreSite site;
    QList<Error> failures;
    for (qsizetype done = 0; done < entries.size();) {
        Error error;
        if (!restoreAt(site, entries[done], &error))
            failures.append(error);
        ++done;
        if (progress && (done % TrashPlacement::groupSize == 0 || done == entries.size()) &&
            !progress(done))
            break;
    }
    return failures;
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
