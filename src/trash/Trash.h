#pragma once
// The trash (the freedesktop trash layout, version 1.0): where removed and replaced items go, so that
// nothing the user had is destroyed without a way back. Other desktop tools list and restore
// what lands here, and what they put in a trash is listed and restored here.
//
// Layout: a trash folder holds files/NAME (the item itself, moved there by one rename, never
// copied) and info/NAME.trashinfo ("[Trash Info]", Path percent-encoded, DeletionDate in local
// time). The info file is made first (O_EXCL, which also makes NAME unique), then the item is
// renamed without replacing; a failed rename removes the info file again.

#include <Error.h>
#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// One item in a trash.
struct TrashEntry {
    QString trashDirectory; // the trash holding it (its files/ and info/ folders)
    QByteArray name;        // its name in files/ (raw bytes); info/<name>.trashinfo describes it
    QString originalPath;   // absolute path it had: the info file's Path, decoded
    QDateTime deletionDate; // the info file's DeletionDate (invalid when the file has none)
    // The same path as the file system's bytes: a name that is not UTF-8 is kept as it was
    // (originalPath shows it with replacement characters). Empty: encoded from originalPath.
    QByteArray encodedOriginalPath;

    QString path() const; // where it lies now: trashDirectory/files/name
    QByteArray encodedOriginal() const;
};

// Thread-safety: no state but the home trash's location (AppDirectories, fixed at start); every
// function is safe from any thread; two of them on the same entry race as the file system does.
// Every function blocks on the file system: call them off the main thread for folders of any
// size (a move is one rename, but finding the trash of another disk looks at its mounts).
namespace Trash {

inline const QString errorDomain = QStringLiteral("Ombrisk.Trash");

enum ErrorCode {
    NoTrash = 1,     // no usable trash on the item's file system (the message says why)
    ItemNotFound,    // the item, or the entry's item in the trash, is not there
    OtherFileSystem, // a restore whose original folder now lies on another file system
    SystemFailure,   // the file system refused (permissions, full disk, ...)
};

// The trash an item at `path` goes to: the home trash (AppDirectories::trashDirectory(),
// $XDG_DATA_HOME/Trash by default, inside the root under --root) when on its file system, else
// $topdir/.Trash/$uid (sticky, not a link) or $topdir/.Trash-$uid (made when missing).
// Nothing, with the reason, when no trash can be used there.
std::optional<QString> trashDirectoryFor(const QString &path, Error *error);

// Moves the item at `path` (a file, a link itself, or a folder with all it holds) into its
// trash: the info file is written first, then one rename; never a copy. A unique name in
// files/ is chosen. On failure nothing has moved.
std::optional<TrashEntry> moveToTrash(const QString &path, Error *error);

// The same for `name` in the folder open as `folderFd`, recorded with `originalPath` as where it
// came from (e.g. the replaced items of an unpacking, as "Replaced by Pack.zip" inside the
// destination); the trash is chosen for that folder's file system.
std::optional<TrashEntry> moveToTrash(int folderFd, const QByteArray &name,
                                      const QString &originalPath, Error *error);

// What moving many items did: the entries made and the failures, each in the items' order.
struct BatchResult {
    QList<TrashEntry> entries;
    QList<Error> failures;
};

// Hears how many items a batch has dealt with, every few hundred and at the end; false stops
// the batch there (the items not yet begun stay where they are, and are no failures).
using BatchProgress = std::function<bool(qsizetype done)>;

// Moves the items `names` of the folder at `folderPath` into its trash, each as moveToTrash
// does (its info file written before it moves, one rename, a unique name), with the trash found
// once and the folder opened once, the info files of a few hundred items written before those
// items move. An item that is gone, or refused, fails alone.
BatchResult moveAllToTrash(const QString &folderPath, const QList<QByteArray> &names,
                           const BatchProgress &progress = {});

// Puts the entry back at its original path. A taken name keeps both (the next free name); a
// missing folder on the way is made again. Returns where it now is.
std::optional<QString> restore(const TrashEntry &entry, Error *error);

// Puts back each entry as restore does, in order, with each trash and folder opened once.
QList<Error> restoreAll(const QList<TrashEntry> &entries, const BatchProgress &progress = {});

// Removes the entry for good: its item (a folder with all it holds) and its info file.
bool erase(const TrashEntry &entry, Error *error);

// The trashes this program uses: the home trash, and the top-directory trashes of the file
// systems below the home folder where this user has one.
QStringList trashDirectoriesInUse();

// The entries of these trashes, newest first. Info files without an item (and items without an
// info file) are not entries.
QList<TrashEntry> entries(const QStringList &trashDirectories);

// Bytes the items of these trashes take on disk (for "the trash holds 3.2 GB").
qint64 bytesIn(const QStringList &trashDirectories);

} // namespace Trash
