#include "FileOperations.h"

#include "AppDirectories.h"
#include "NoReplaceRename.h"

#include <QDir>
#include <QFile>
#include <QUuid>
#include <QtDebug>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

using Op = FileOperations;

fs::path toFsPath(const QString &path)
{
    auto p = fs::path(QFile::encodeName(path).toStdString()).lexically_normal();
    // "a/b/" names the same item as "a/b"; without this its filename would be empty.
    if (!p.has_filename() && p.has_relative_path())
        p = p.parent_path();
    return p;
}

QString toQString(const fs::path &p)
{
    return QFile::decodeName(QByteArray::fromStdString(p.native()));
}

// The item's name as the messages show it; the quotes are the sentence's, so each language
// has its own.
QString shownName(const fs::path &p)
{
    return toQString(p.has_filename() ? p.filename() : p);
}

Error makeError(Op::ErrorCode code, const QString &message)
{
    return Error(Op::errorDomain, code, message);
}

QString adviceFor(const std::error_code &ec)
{
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
        ec == std::errc::read_only_file_system)
        return FileOperations::tr(
            "Check that you may change this item and its folder, then try again.");
    if (ec == std::errc::no_space_on_device)
        return FileOperations::tr("Free some space, then try again.");
    if (ec == std::errc::filename_too_long)
        return FileOperations::tr("Choose a shorter name.");
    return FileOperations::tr("Try again.");
}

// `sentence` is a whole translated sentence with three places: %1 the item, %2 the system's
// reason, %3 what the user can do (a sentence of its own), as in "“%1” could not be removed: %2.
// %3". Filled in one go, so a name holding "%2" stays as it is.
Error systemError(const QString &sentence, const QString &item, const std::error_code &ec)
{
    return makeError(Op::SystemFailure,
                     sentence.arg(item, QString::fromLocal8Bit(ec.message()), adviceFor(ec)));
}

std::optional<fs::path> checkedPath(const QString &path, Error *error)
{
    if (path.isEmpty()) {
        fail(error,
             makeError(Op::InvalidPath,
                       FileOperations::tr("No item was given to work on. This is a fault of the "
                                          "application; please report it.")));
        return std::nullopt;
    }
    if (path.contains(QChar(u'\0'))) {
        fail(error,
             makeError(Op::InvalidPath,
                       FileOperations::tr("The path of the item holds a NUL character, which no "
                                          "file name may contain.")));
        return std::nullopt;
    }
    return toFsPath(Op::resolvedPath(path));
}

// Whether an entry exists at `p` itself, a dangling link included.
bool present(const fs::path &p)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

bool isRealFolder(const fs::path &p)
{
    std::error_code ec;
    return fs::symlink_status(p, ec).type() == fs::file_type::directory;
}

// Two names of one entry (the same path, or hard links); links are not followed.
bool sameEntry(const fs::path &a, const fs::path &b)
{
    struct stat sa {
    }, sb{};
    return ::lstat(a.c_str(), &sa) == 0 && ::lstat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Component-wise: "/a/bc" is not within "/a/b".
bool isWithinOrEqual(const fs::path &p, const fs::path &ancestor)
{
    if (ancestor.empty()) // a path that could not be resolved holds nothing
        return false;
    const auto [a, b] = std::mismatch(ancestor.begin(), ancestor.end(), p.begin(), p.end());
    return a == ancestor.end();
}

// Where the entry at `p` really lies: its folder's links resolved, its own name kept.
fs::path realLocation(const fs::path &p)
{
    std::error_code ec;
    const auto folder = fs::weakly_canonical(p.parent_path(), ec);
    return ec ? p : folder / p.filename();
}

// A hidden name in `folder` for an item on its way in or out; the listing skips it.
fs::path sideName(const fs::path &folder, const char *purpose)
{
    const auto id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return folder / toFsPath(QStringLiteral(".ombrisk-%1-%2").arg(QLatin1String(purpose), id));
}

// rename(2) that fails with EEXIST rather than replace what is at `to`.
std::error_code renameWithoutReplacing(const fs::path &from, const fs::path &to)
{
    if (NoReplaceRename::move(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str()))
        return {};
    return {errno, std::generic_category()};
}

// Copies an item, links as links, keeping permissions and modification times. `to` must not
// exist. Special files (pipes, sockets, devices) are refused: a move must not turn them into
// something else.
std::error_code copyTree(const fs::path &from, const fs::path &to)
{
    std::error_code ec;
    const auto status = fs::symlink_status(from, ec);
    if (ec)
        return ec;
    switch (status.type()) {
    case fs::file_type::symlink:
        fs::copy_symlink(from, to, ec);
        return ec;
    case fs::file_type::regular:
        fs::copy_file(from, to, ec);
        break;
    case fs::file_type::directory:
        fs::create_directory(to, ec);
        for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec))
            if (const auto failed = copyTree(it->path(), to / it->path().filename()))
                return failed;
        if (!ec) // after the content, so a read-only folder can still be filled
            fs::permissions(to, status.permissions(), ec);
        break;
    default:
        return std::make_error_code(std::errc::operation_not_supported);
    }
    if (ec)
        return ec;
    const auto time = fs::last_write_time(from, ec);
    if (!ec)
        fs::last_write_time(to, time, ec);
    return ec;
}

QString movedNot()
{
    //: %1 is the item, %2 the system's reason, %3 what to do (a sentence).
    return FileOperations::tr("“%1” could not be moved: %2. %3");
}

enum class Placement { Failed, Placed, PlacedSourceKept };

// Puts the item at `source` at the free path `target`, copying across file systems.
Placement placeItem(const fs::path &source, const fs::path &target, Error *error)
{
    const auto ec = renameWithoutReplacing(source, target);
    if (!ec)
        return Placement::Placed;
    if (ec != std::errc::cross_device_link) {
        fail(error, systemError(movedNot(), shownName(source), ec));
        return Placement::Failed;
    }
    // Copy under a hidden name first, so a half-made copy never shows under the real one.
    const auto partial = sideName(target.parent_path(), "partial");
    std::error_code ignored;
    if (const auto copyEc = copyTree(source, partial)) {
        fs::remove_all(partial, ignored);
        fail(error,
             makeError(
                 Op::CopyFailed,
                 FileOperations::tr("“%1” could not be copied to the other disk: %2. Nothing was "
                                    "moved; the original is unchanged.")
                     .arg(shownName(source), QString::fromLocal8Bit(copyEc.message()))));
        return Placement::Failed;
    }
    if (const auto placeEc = renameWithoutReplacing(partial, target)) {
        fs::remove_all(partial, ignored);
        fail(error, systemError(movedNot(), shownName(source), placeEc));
        return Placement::Failed;
    }
    std::error_code removeEc;
    fs::remove_all(source, removeEc);
    if (removeEc) {
        //: %1 is the item, %2 the system's reason, %3 what to do (a sentence).
        fail(error, systemError(FileOperations::tr("“%1” was copied to its new place, but the "
                                                   "original could not be removed: %2. %3"),
                                shownName(source), removeEc));
        return Placement::PlacedSourceKept;
    }
    return Placement::Placed;
}

// Moves the old target aside, places the source, and only then removes the old one.
bool replaceItem(const fs::path &source, const fs::path &target, Error *error)
{
    const auto aside = sideName(target.parent_path(), "replaced");
    if (const auto ec = renameWithoutReplacing(target, aside))
        return fail(error,
                    //: %1 is the item, %2 the system's reason, %3 what to do (a sentence).
                    systemError(FileOperations::tr("“%1” could not be replaced: %2. %3"),
                                shownName(target), ec));
    const auto placed = placeItem(source, target, error);
    std::error_code ec;
    if (placed == Placement::Failed) {
        ec = renameWithoutReplacing(aside, target);
        if (ec)
            qWarning().noquote() << QStringLiteral("%1 %2: kept as %3")
                                        .arg(QLatin1String("moveItemAtPath"),
                                             QString::fromLocal8Bit(ec.message()),
                                             toQString(aside));
        return false;
    }
    fs::remove_all(aside, ec);
    if (ec)
        qWarning().noquote() << QStringLiteral("%1 %2: left %3")
                                    .arg(QLatin1String("moveItemAtPath"),
                                         QString::fromLocal8Bit(ec.message()), toQString(aside));
    return placed == Placement::Placed;
}

Error notFound(const fs::path &p)
{
    return makeError(Op::ItemNotFound,
                     FileOperations::tr("“%1” no longer exists. Refresh the list and try "
                                        "again.")
                         .arg(shownName(p)));
}

} // namespace

QString FileOperations::resolvedPath(const QString &path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    return QDir(AppDirectories::documentsDirectory()).filePath(path);
}

bool FileOperations::createDirectoriesForPath(const QString &path)
{
    return createDirectoriesForPath(path, nullptr);
}

bool FileOperations::createDirectoriesForPath(const QString &path, Error *error)
{
    const auto p = checkedPath(path, error);
    if (!p)
        return false;
    std::error_code ec;
    fs::create_directories(*p, ec);
    if (!ec || fs::is_directory(*p))
        return true;
    if (ec == std::errc::file_exists || ec == std::errc::not_a_directory)
        return fail(error, makeError(NotAFolder, tr("The folder “%1” could not be made because a "
                                                    "file stands in its way. Rename or remove "
                                                    "the file, then try again.")
                                                     .arg(shownName(*p))));
    //: %1 is the folder, %2 the system's reason, %3 what to do (a sentence).
    return fail(error,
                systemError(tr("The folder “%1” could not be made: %2. %3"), shownName(*p), ec));
}

bool FileOperations::removeItemAtPath(const QString &path, Error *error)
{
    const auto p = checkedPath(path, error);
    if (!p)
        return false;
    if (!p->has_relative_path())
        return fail(error, makeError(InvalidPath, tr("The root folder can't be removed.")));
    if (!present(*p))
        return fail(error, notFound(*p));
    std::error_code ec;
    // remove_all removes links as links and never descends through them.
    fs::remove_all(*p, ec);
    if (ec)
        return fail(
            error,
            //: %1 is the item, %2 the system's reason, %3 what to do (a sentence).
            systemError(tr("“%1” could not be removed completely: %2. %3"), shownName(*p), ec));
    return true;
}

bool FileOperations::renameItemAtPath(const QString &path, const QString &newName, Error *error)
{
    if (!validateItemName(newName, error))
        return false;
    const auto p = checkedPath(path, error);
    if (!p)
        return false;
    if (!present(*p))
        return fail(error, notFound(*p));
    const auto target = p->parent_path() / toFsPath(newName);
    if (target == *p)
        return true;
    auto ec = renameWithoutReplacing(*p, target);
    if (ec == std::errc::file_exists && sameEntry(*p, target)) {
        // Only the case differs, on a file system that ignores case.
        ec.clear();
        fs::rename(*p, target, ec);
    } else if (ec == std::errc::file_exists || ec == std::errc::directory_not_empty) {
        return fail(error, makeError(NameTaken, tr("There is already an item named “%1” in this "
                                                   "folder. Choose another name.")
                                                    .arg(shownName(target))));
    }
    if (ec)
        //: %1 is the item, %2 the system's reason, %3 what to do (a sentence).
        return fail(error, systemError(tr("“%1” could not be renamed: %2. %3"), shownName(*p), ec));
    return true;
}

bool FileOperations::moveItemAtPath(const QString &source, const QString &target, bool overwrite,
                                    Error *error)
{
    const auto s = checkedPath(source, error);
    const auto t = s ? checkedPath(target, error) : std::nullopt;
    if (!t)
        return false;
    if (!present(*s))
        return fail(error, notFound(*s));
    if (*s == *t || sameEntry(*s, *t))
        return true;
    std::error_code ec;
    if (isRealFolder(*s) && isWithinOrEqual(realLocation(*t), fs::weakly_canonical(*s, ec)))
        return fail(error,
                    makeError(MoveIntoItself, tr("The folder “%1” can't be moved into itself "
                                                 "or one of its own folders. Choose "
                                                 "another destination.")
                                                  .arg(shownName(*s))));
    const bool occupied = present(*t);
    if (occupied && !overwrite)
        return fail(error, makeError(ItemExists, tr("An item named “%1” already exists there. "
                                                    "Rename or remove one of them, then try "
                                                    "again.")
                                                     .arg(shownName(*t))));
    // Replacing a folder that holds the source (or, for a link, what it points to) would
    // throw away the very item being moved.
    if (occupied && isWithinOrEqual(fs::weakly_canonical(*s, ec), realLocation(*t)))
        return fail(error, makeError(TargetHoldsSource, tr("“%1” can't replace “%2”, because “%2” "
                                                           "holds it. Choose another "
                                                           "destination.")
                                                            .arg(shownName(*s), shownName(*t))));
    if (!createDirectoriesForPath(toQString(t->parent_path()), error))
        return false;
    return occupied ? replaceItem(*s, *t, error) : placeItem(*s, *t, error) == Placement::Placed;
}

bool FileOperations::moveItemAtPath(const QString &source, const QString &target, Error *error)
{
    return moveItemAtPath(source, target, false, error);
}

QStringList FileOperations::listFilesInDirectoryAtPath(const QString &path)
{
    const auto p = checkedPath(path, nullptr);
    if (!p)
        return {};
    struct File {
        fs::file_time_type modified;
        QString path;
    };
    std::vector<File> found;
    std::error_code ec;
    for (fs::directory_iterator it(*p, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code timeError;
        if (it->symlink_status(ec).type() == fs::file_type::regular)
            found.push_back({it->last_write_time(timeError), toQString(it->path())});
    }
    // Oldest first, then by name: the preview pages through a folder's pictures in the reverse
    // of this order, newest first, as the folder screens open sorted.
    std::sort(found.begin(), found.end(), [](const File &a, const File &b) {
        return a.modified != b.modified ? a.modified < b.modified : a.path < b.path;
    });
    QStringList files;
    files.reserve(qsizetype(found.size()));
    for (const File &file : found)
        files.append(file.path);
    return files;
}

bool FileOperations::validateItemName(const QString &name, Error *error)
{
    if (name.isEmpty())
        return fail(error, makeError(NameEmpty, tr("The name is empty. Type a name.")));
    if (name == QLatin1String("."))
        return fail(error, makeError(NameIsDot, tr("“.” can't be used as a name: it stands for "
                                                   "the folder itself. Choose another name.")));
    if (name == QLatin1String(".."))
        return fail(error, makeError(NameIsDotDot, tr("“..” can't be used as a name: it stands "
                                                      "for the enclosing folder. Choose another "
                                                      "name.")));
    if (name.contains(QChar(u'\0')))
        return fail(error, makeError(NameHasNul, tr("The name holds a NUL character, which no "
                                                    "file name may contain. Type the name "
                                                    "again.")));
    if (name.contains(QLatin1Char('/')))
        return fail(error, makeError(NameHasSlash, tr("A name can't contain “/”. Choose a name "
                                                      "without it.")));
    if (std::all_of(name.begin(), name.end(), [](QChar c) { return c.isSpace(); }))
        return fail(error, makeError(NameBlank, tr("A name of spaces alone can't be seen in the "
                                                   "list. Type a name.")));
    return true;
}

bool FileOperations::validateNewFolderName(const QString &typedName, Error *error)
{
    if (typedName.startsWith(QLatin1Char('/')))
        return fail(error, makeError(FolderNameAbsolute, tr("A folder name can't start with "
                                                            "“/”. Type a name without it.")));
    const auto components = typedName.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (components.isEmpty())
        return validateItemName(QString(), error);
    return std::all_of(components.begin(), components.end(),
                       [error](const QString &c) { return validateItemName(c, error); });
}

bool FileOperations::createFolderNamed(const QString &parentFolder, const QString &typedName,
                                       Error *error)
{
    if (!validateNewFolderName(typedName, error))
        return false;
    const auto parent = checkedPath(parentFolder, error);
    if (!parent)
        return false;
    const auto folder = toFsPath(toQString(*parent / toFsPath(typedName)));
    std::error_code parentEc, folderEc;
    const auto realParent = fs::weakly_canonical(*parent, parentEc);
    const auto realFolder = fs::weakly_canonical(folder, folderEc);
    if (parentEc || folderEc || realFolder == realParent ||
        !isWithinOrEqual(realFolder, realParent))
        return fail(error, makeError(FolderOutsideParent,
                                     tr("“%1” leads through a link to a place outside this "
                                        "folder. Choose another name.")
                                         .arg(typedName)));
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return fail(error, makeError(FolderExists, tr("A folder named “%1” already exists here. "
                                                      "Choose another name.")
                                                       .arg(typedName)));
    return createDirectoriesForPath(toQString(folder), error);
}
