#pragma once

#include "ArchiveEntry.h"
#include "ArchiveErrors.h"
#include "ArchiveKind.h"
#include "ArchiveProgress.h"

#include <Error.h>
#include <QString>
#include <QStringList>

// The archive engine: recognises archive kinds by extension, tells whether an archive needs a
// password, unpacks archives and packs zips. Class-level operations only, no state besides
// the placeholder file's path.
//
// Every operation is synchronous and thread-agnostic: it returns when the work is done, keeps
// nothing between calls and may run on any thread (the screens call it on their worker
// queue). Two calls at once are safe as long as they don't write the same paths.
//
// Passwords: an empty password counts as none. Failures are Error values of the domain
// "Ombrisk" (codes in ArchiveErrors) left in the error slot, which may be null. An optional
// delegate receives progress and may cancel (see ArchiveProgressDelegate).
class ArchiverManager {
public:
    ArchiverManager() = delete;

    // True when the archive can't be unpacked without a password: any entry is encrypted, or
    // the list of entries itself is (7z and rar). Never fails: an unreadable archive answers
    // false, and the extraction then reports what is wrong.
    static bool checkNeedPassword(const QString &path);

    // Unpacks the archive into the folder destPath (made when missing) by the route its
    // extension picks; files of the same names there are replaced, other files kept. Nothing
    // is written unless everything unpacks: hostile entries, a missing or wrong password,
    // damage, a full disk or a cancel leave the destination as it was. An extension of no
    // archive kind does nothing and leaves the slot untouched (and returns false).
    static bool decompressAtPath(const QString &path, const QString &destPath,
                                 const QString &password, Error *error,
                                 ArchiveProgressDelegate *delegate = nullptr);

    // The routes, called by decompressAtPath; each reads its own formats whatever the name.
    static bool decompressZipAtPath(const QString &path, const QString &destPath,
                                    const QString &password, Error *error,
                                    ArchiveProgressDelegate *delegate = nullptr);
    static bool decompressRarAtPath(const QString &path, const QString &destPath,
                                    const QString &password, Error *error,
                                    ArchiveProgressDelegate *delegate = nullptr);
    static bool decompress7zAtPath(const QString &path, const QString &destPath,
                                   const QString &password, Error *error,
                                   ArchiveProgressDelegate *delegate = nullptr);
    static bool decompressTarAtPath(const QString &path, const QString &destPath, Error *error,
                                    ArchiveProgressDelegate *delegate = nullptr);

    // The entries as the archive names them (unchecked; for display). Fails with
    // UnsupportedKind for an extension of no archive kind.
    static QList<ArchiveEntry> listEntriesAtPath(const QString &path, const QString &password,
                                                 Error *error);

    // Packs the items (files and folders, absolute paths) into a new zip at destPath; with a
    // password every entry is AES-256 encrypted. See ZipWriter for names and placeholders.
    static void compressZipAtPaths(const QStringList &paths, const QString &destPath,
                                   const QString &password, Error *error = nullptr,
                                   ArchiveProgressDelegate *delegate = nullptr);
    static bool createZipFileAtPath(const QString &path, const QStringList &contents,
                                    const QString &password, Error *error = nullptr,
                                    ArchiveProgressDelegate *delegate = nullptr);

    // A zero-length ".DS_Store" in a folder of its own under the temporary directory, made on
    // first use and kept for the process; empty when it can't be made.
    static QString temporaryPathForDiscardableFile();
};
