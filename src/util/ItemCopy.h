#pragma once

#include "Error.h"
#include "FileContentCopy.h"

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

    // Copies `source` into `folder` under a hidden name the listing skips, and returns that
    // name's path; or nothing with the reason in `error` (may be null) and nothing left behind.
    // `advance` (may be empty) hears of the bytes copied as they go and of each item (0 bytes);
    // false stops the copy (Cancelled).
    static std::optional<QString> copyAside(const QString &source, const QString &folder,
                                            const FileContentCopy::Advance &advance,
                                            Error *error);

    // Renames the copy `partial` (made by copyAside) to `name` in its folder, never replacing:
    // with `keepBoth`, to the next free name when `name` is taken (FreeItemName), else failing
    // (NameTaken). Returns the copy's path; on failure the copy is removed.
    static std::optional<QString> place(const QString &partial, const QString &name,
                                        bool keepBoth, Error *error);

    // Whether a copy of `source` into `folder` would land inside `source` itself (links
    // resolved; a link is copied as a link, so it holds nothing).
    static bool isInside(const QString &folder, const QString &source);

    // The bytes of the files in `path` (itself a file, or a folder walked whole), for progress.
    static qint64 bytesIn(const QString &path);
};
