#pragma once

#include "ArchiveKind.h"

#include <Error.h>
#include <QCoreApplication>
#include <QString>

// The errors the archive engine makes itself, all of the domain "Ombrisk". Messages are
// translated, readable sentences; those naming an entry quote it as the archive spells it.
class ArchiveErrors {
    Q_DECLARE_TR_FUNCTIONS(ArchiveErrors)

public:
    ArchiveErrors() = delete;

    static inline const QString domain = QStringLiteral("Ombrisk");

    enum Code {
        PasswordRequired = 100,      // "password protected zip file" / "... rar file" / ...
        IncorrectPassword = 101,     // "incorrect password"
        UnsafeEntry = 102,           // an entry would land outside the destination, or is a
                                     // device, fifo, set-id file or link pointing out
        NotEnoughSpace = 103,        // the unpacked content does not fit, or the disk filled up
        UnsupportedEncryption = 104, // RAR 2.9/4.x AES (the rar tool can't read it), zip strong
                                     // encryption and other unknown zip methods
        Cancelled = 105,             // the caller cancelled through its progress delegate
        UnreadableArchive = 106,     // damaged, truncated or not an archive of its kind
        WriteFailed = 107,           // the file system refused a write (permissions, names, ...)
        InvalidZipTarget = 108,      // zip creation onto a folder or onto one of its own items
        ToolFailed = 109,            // an outside tool is missing or ended abnormally
        UnsupportedKind = 110,       // the extension names no archive kind the engine reads
        UnreadableItem = 111,        // an item to pack is gone, can't be read, or is a fifo,
                                     // socket or device
    };

    // Whether a password answers `error`: one is required, or the one given was wrong.
    static bool asksForPassword(const Error &error)
    {
        return error.code == PasswordRequired || error.code == IncorrectPassword;
    }

    static Error passwordRequired(ArchiveKind kind);
    static Error incorrectPassword();
    static Error unsafeEntry(const QString &entry, const QString &reason);
    static Error notEnoughSpace(qint64 needed, qint64 available);
    static Error diskFull(const QString &entry);
    static Error unsupportedEncryption(ArchiveKind kind);
    static Error cancelled();
    static Error unreadableArchive(const QString &detail);
    // UnreadableArchive: an entry asked for by name or position is not in the archive (it
    // changed since it was listed).
    static Error entryNotFound(const QString &entry);
    // UnreadableArchive for an archive path where no file is, or something other than a file.
    static Error missingArchive(const QString &path);
    static Error notAFile(const QString &path);
    static Error writeFailed(const QString &item, const QString &detail);
    static Error invalidZipTarget(const QString &reason);
    static Error toolFailed(const QString &tool, const QString &detail);
    static Error unsupportedKind(const QString &path);
    // `item` as the zip would name it; `reason` ends the sentence "“x” can't be packed: …".
    static Error unreadableItem(const QString &item, const QString &reason);
    static Error unreadableItem(const QString &item, int errorNumber);

    // The write error for `errno` while writing `entry`: a full disk, quota or file-size
    // limit becomes NotEnoughSpace, anything else WriteFailed with the system's reason.
    static Error fromErrno(int errorNumber, const QString &entry);
    // WriteFailed, for the unpacked items the engine reads back to check and move them: the
    // item `item` could not be looked at or opened; the folder `folder` could not be listed.
    static Error readFailed(int errorNumber, const QString &item);
    static Error listFailed(int errorNumber, const QString &folder);
    // The private folder the archive unpacks into first, for the destination named
    // `destination`, could not be set up or used (NotEnoughSpace for a full disk).
    static Error stagingFailed(int errorNumber, const QString &destination);
    // The unpacked items as a whole could not be walked for their move into the destination.
    static Error mergeFailed(int errorNumber);
    // The same for an item that could not be made: EINVAL there is the disk refusing the name
    // (vfat, exFAT, NTFS with Windows' rules refuse ? : * and trailing dots).
    static Error itemNotMade(int errorNumber, const QString &entry);

    // WriteFailed: the entry `entry` would replace `obstacle` ("a folder", "a file", "a link")
    // of the destination, which only an item of the same type may replace.
    static Error itemInTheWay(const QString &entry, const QString &obstacle);

    // Where the items a failed merge could not put back were kept.
    enum class KeptIn { Trash, Destination, StagingFolder };
    // The merge stopped at `stoppedAt` (with `cause`'s code) and undoing it could not put back
    // `items` (paths relative to the destination), which are now in the folder `folder`.
    static Error partlyUndone(const Error &cause, const QString &stoppedAt,
                              const QStringList &items, KeptIn keptIn, const QString &folder);
};
