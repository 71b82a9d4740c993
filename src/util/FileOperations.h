#pragma once

#include "Error.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The file operations the screens perform on the home folder tree, synchronous and blocking.
//
// Paths: an absolute path is used as it stands; a relative one ("Inbox/report.pdf") is taken
// inside the Documents directory (AppDirectories::documentsDirectory()). An empty path is
// refused rather than taken to mean the Documents directory itself.
//
// Every operation returns true on success and leaves the error slot (which may be null)
// untouched; on failure it returns false, changes nothing on disk (except where a comment says
// otherwise) and leaves an Error of `errorDomain` with one of the codes below and a message that
// says what happened and what the user can do.
//
// Symbolic links are never followed when removing, moving or replacing: the link itself is the
// item.
//
// Thread-safety: the operations keep no state and may be called from any thread; two
// operations on the same items at once race as the file system does.
class FileOperations {
    Q_DECLARE_TR_FUNCTIONS(FileOperations)

public:
    FileOperations() = delete;

    static inline const QString errorDomain = QStringLiteral("Ombrisk.FileOperations");

    enum ErrorCode {
        InvalidPath = 1,   // empty path, or one holding a NUL character
        ItemNotFound,      // the item to remove, rename or move does not exist
        ItemExists,        // a move without overwriting found an item at the target
        MoveIntoItself,    // a folder moved into itself or one of its sub-folders
        TargetHoldsSource, // the item to be replaced is a folder holding the source
        NameEmpty,         // names: "", ".", "..", holding "/" or NUL, already taken
        NameIsDot,
        NameIsDotDot,
        NameHasSlash,
        NameHasNul,
        NameTaken,
        NameBlank, // white space alone: a row without a visible name
        FolderNameAbsolute,  // a typed folder name starting with "/"
        FolderOutsideParent, // a typed folder name that would land outside its parent
        FolderExists,        // the typed folder exists already
        NotAFolder,          // a file stands where a folder is to be made
        CopyFailed,          // a move across file systems could not copy the item
        SystemFailure,       // the file system refused (permissions, full disk, ...)
    };

    // The absolute path `path` stands for under the rule above ("" stays "").
    static QString resolvedPath(const QString &path);

    // Makes the folder and every missing parent. An existing folder is success.
    static bool createDirectoriesForPath(const QString &path);
    static bool createDirectoriesForPath(const QString &path, Error *error);

    // Removes a file, a link (not its target) or a folder with all its content; links inside
    // a folder are removed as links, whatever they point to.
    static bool removeItemAtPath(const QString &path, Error *error);

    // Gives the item `newName` in its own folder. Refuses, nothing changed: an empty name,
    // ".", "..", white space alone, a name holding "/" or NUL, a name already taken in that
    // folder. The item's
    // own name is a no-op success.
    static bool renameItemAtPath(const QString &path, const QString &newName, Error *error);

    // Moves the item to `target` (the full new path, not the folder it goes into); missing
    // parents of the target are made. Onto itself: no-op success. A folder never goes into
    // itself. With `overwrite` an item already at the target is replaced, and is removed only
    // once the moved item is in place; should the move fail, it is put back. Across file
    // systems the item is copied (times and permissions kept) and the source removed after;
    // a failed copy leaves the source whole and no partial copy behind.
    static bool moveItemAtPath(const QString &source, const QString &target, bool overwrite,
                               Error *error);
    static bool moveItemAtPath(const QString &source, const QString &target, Error *error);

    // Full paths of the plain files (not folders, not links) directly inside the folder, hidden
    // ones included, by modification date, oldest first, then by name. Empty when the folder
    // can't be read.
    static QStringList listFilesInDirectoryAtPath(const QString &path);

    // A name for one item in a folder: refuses "", ".", "..", "/", NUL and white space alone.
    static bool validateItemName(const QString &name, Error *error);

    // A folder name as typed into a "new folder" field. "a/b" (nested folders) is allowed;
    // refused are "", an absolute path, NUL, and "." or "..", or white space alone, as any
    // component, so the folder
    // made can never lie outside the one it is made in.
    static bool validateNewFolderName(const QString &typedName, Error *error);

    // Makes `typedName` (checked as above) inside `parentFolder`, with any folders on the way.
    // Also refuses a name reaching outside the parent through a symbolic link, and an
    // existing folder (FolderExists), so the caller can tell the user nothing was made.
    static bool createFolderNamed(const QString &parentFolder, const QString &typedName,
                                  Error *error);
};
