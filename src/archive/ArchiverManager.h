#pragma once

#include "ArchiveEntry.h"
#include "ArchiveErrors.h"
#include "ArchiveKind.h"
#include "ArchiveProgress.h"
#include "EntrySelection.h"
#include "ExtractionResult.h"
#include "ZipTarget.h"

#include <Error.h>
#include <QString>
#include <QStringList>

// The archive engine: recognises archive kinds by extension, tells whether an archive needs a
// password, lists and unpacks archives and packs zips. Class-level operations only, one per
// job, and no state.
//
// Every operation is synchronous and thread-agnostic: it returns when the work is done, keeps
// nothing between calls and may run on any thread (the screens call it on their worker
// queue). Two calls at once are safe as long as they don't write the same paths.
//
// Passwords: an empty password counts as none. Every failure returns false (or nothing) and
// leaves an Error of the domain "Ombrisk" (codes in ArchiveErrors) in the error slot, which
// may be null. An optional delegate receives progress and may cancel (see
// ArchiveProgressDelegate).
class ArchiverManager {
public:
    ArchiverManager() = delete;

    // True when the archive can't be unpacked without a password: any entry is encrypted, or
    // the list of entries itself is (7z and rar). False with the error set when the file is
    // missing, names no archive kind or can't be read; callers that only want the answer may
    // pass no slot (a failure then reads as "no", and the extraction reports what is wrong).
    // The delegate may cancel (a large 7z or rar is read by a tool).
    static bool checkNeedPassword(const QString &path, Error *error = nullptr,
                                  ArchiveProgressDelegate *delegate = nullptr);

    // Unpacks the archive into the folder destPath (made when missing) by the route its
    // extension picks; files of the same names there are replaced, other files kept. Nothing
    // is written unless everything unpacks: hostile entries, a missing or wrong password,
    // damage, a full disk or a cancel leave the destination as it was. An extension of no
    // archive kind fails with UnsupportedKind.
    //
    // The replaced items are kept, in one folder "Replaced by <archive name>" in the trash (or
    // in the destination when its disk has no usable trash), unless `replaced` says Delete;
    // `result` (may be null) says how many there were and where they are.
    static bool decompressAtPath(const QString &path, const QString &destPath,
                                 const QString &password, Error *error,
                                 ArchiveProgressDelegate *delegate = nullptr,
                                 ExtractionResult *result = nullptr,
                                 ReplacedItems replaced = ReplacedItems::ToTrash);

    // The entries as the archive names them (unchecked; for display), as a value to walk or
    // page through (a zip's stays compact however many entries it has; ArchiveTree makes its
    // folders). Fails with UnsupportedKind for an extension of no archive kind, and with
    // PasswordRequired when the list itself is encrypted and no password is given. The delegate
    // may cancel; it gets no progress.
    //
    // `nameEncoding` (a code page's name such as "IBM866"; empty for the usual rule) decodes
    // the names of zip entries that don't say they are UTF-8; other kinds ignore it.
    static ArchiveEntryList listEntriesAtPath(const QString &path, const QString &password,
                                              Error *error,
                                              ArchiveProgressDelegate *delegate = nullptr,
                                              const QByteArray &nameEncoding = {});

    // Unpacks only the chosen items (with all they hold) into destPath, each under its target
    // name at the top, with every check, the staging and the keeping of replaced items that
    // decompressAtPath has (the whole archive is still checked; all or nothing for the
    // chosen items). Names as listEntriesAtPath made them with the same `nameEncoding`.
    static bool extractEntriesAtPath(const QString &path, const EntrySelection &selection,
                                     const QString &destPath, const QString &password, Error *error,
                                     ArchiveProgressDelegate *delegate = nullptr,
                                     ExtractionResult *result = nullptr,
                                     const QByteArray &nameEncoding = {},
                                     ReplacedItems replaced = ReplacedItems::ToTrash);

    // Writes the file entries at `positions` of `entries` (listed from `path` with the same
    // `nameEncoding`) into the existing folder `targetFolder`, each as a new file under its own
    // last name; a name already there fails before anything is read. A zip's entries are read
    // from the directory the listing holds (files of mode 0600, a failed one removed); other
    // kinds unpack those entries alone through extractEntriesAtPath's checks, all or nothing.
    // For previews, into a private folder.
    static bool readEntriesAtPath(const QString &path, const ArchiveEntryList &entries,
                                  const QList<qsizetype> &positions, const QString &password,
                                  const QString &targetFolder, Error *error,
                                  ArchiveProgressDelegate *delegate = nullptr,
                                  const QByteArray &nameEncoding = {});

    // Packs the items (files and folders, absolute paths) into a new zip at destPath; with a
    // password every entry is AES-256 encrypted. Any item that can't be read fails the whole
    // zip and leaves destPath as it was. An item already at destPath is replaced only with
    // ZipTarget::Existing::Replace; else the call fails with InvalidZipTarget. See ZipWriter for
    // names, links and placeholders.
    static bool compressZipAtPaths(const QStringList &paths, const QString &destPath,
                                   const QString &password, Error *error = nullptr,
                                   ArchiveProgressDelegate *delegate = nullptr,
                                   ZipTarget::Existing existing = ZipTarget::Existing::Refuse);
};
