#pragma once

#include "Error.h"
#include "FileContentCopy.h"
#include "FolderHandle.h"

#include <QCoreApplication>
#include <QString>
#include <optional>

// Copies of items (a file, a link, a folder with everything in it) made whole under a hidden
// name in the folder they go to, so a copy cut short never shows under a real name; the caller
// then renames it into place without replacing (KeepBothMove, FileOperations). Links are
// copied as links, never followed; modes and access and modification times are kept (a
// folder's once its content is in). Pipes, sockets and devices are refused. Hard links inside
// a folder become separate files.
//
// The source is walked relative to folder descriptors (FolderHandle), so a folder swapped for
// a link meanwhile stops the copy rather than leading it elsewhere.
//
// A copy aside is recorded (ItemRecords, the Copying book) and held from the moment it is made
// until it is placed or removed, so one a crash left behind is removed by the next start's
// sweep, while a copy that merely bears such a name is the user's and stays.
//
// Thread-safety: keeps no state; safe on any thread. Blocking: callers run it on a worker.
class ItemCopy {
    Q_DECLARE_TR_FUNCTIONS(ItemCopy)

public:
    ItemCopy() = delete;

    static inline const QString errorDomain = QStringLiteral("Ombrisk.ItemCopy");
    enum ErrorCode {
        CopyFailed = 1, // reading, writing or making an item failed
        IntoItself,     // a folder copied into itself or one of its sub-folders
        SpecialFile,    // a pipe, socket or device, in the copy
        Cancelled,      // `advance` said stop
        NameTaken,      // the name to place a copy under was taken meanwhile
    };

    // A copy made aside under a hidden name, not yet placed: removed, with its record, when
    // dropped unplaced. One owner, on one thread at a time.
    class Partial {
    public:
        Partial(Partial &&other) noexcept;
        Partial &operator=(Partial &&other) noexcept;
        ~Partial();
        const QString &path() const { return m_path; }

    private:
        friend class ItemCopy;
        Partial() = default;
        void forget();  // its record dropped, the copy left where it is (if anywhere)
        void discard(); // the copy removed, and forgotten
        QString m_path;
        Fd m_record;
        dev_t m_device = 0;
        ino_t m_inode = 0;
    };

    // Copies `source` into `folder` under a hidden name the listing skips; or nothing with the
    // reason in `error` (may be null) and nothing left behind. `advance` (may be empty) hears
    // of the bytes copied as they go and of each item (0 bytes); false stops the copy
    // (Cancelled).
    static std::optional<Partial> copyAside(const QString &source, const QString &folder,
                                            const FileContentCopy::Advance &advance,
                                            Error *error);

    // Renames the copy `partial` (made by copyAside) to `name` in its folder, never replacing:
    // with `keepBoth`, to the next free name when `name` is taken (FreeItemName), else failing
    // (NameTaken). Returns the copy's path; on failure the copy is removed.
    static std::optional<QString> place(Partial &partial, const QString &name, bool keepBoth,
                                        Error *error);

    // Removes the copies aside that a process which died left behind: those recorded, held by
    // no process and still there under their recorded name, device, inode and owner (this
    // user). Blocking; the app runs it on a worker at start.
    static void sweepRecorded();

    // Whether a copy of `source` into `folder` would land inside `source` itself (links
    // resolved; a link is copied as a link, so it holds nothing).
    static bool isInside(const QString &folder, const QString &source);

    // The bytes of the files in `path` (itself a file, or a folder walked whole), for progress.
    static qint64 bytesIn(const QString &path);
};
