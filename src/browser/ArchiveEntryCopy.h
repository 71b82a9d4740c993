#pragma once

#include "ArchiveContents.h"
#include "ArchiveProgress.h"
#include "Error.h"

#include <QCoreApplication>
#include <QString>

// Private copies of an archive's entries for the preview: the tapped entry and, for a picture,
// the other pictures of its folder that are neither encrypted nor hostile while they fit
// together in 256 MiB (so the preview pages through them), each dated as its entry.
//
// Thread-safety: keeps no state; safe on any thread. It reads the archive: a worker's job.
class ArchiveEntryCopy {
    Q_DECLARE_TR_FUNCTIONS(ArchiveEntryCopy)

public:
    ArchiveEntryCopy() = delete;

    static constexpr qint64 pagedPicturesBudget = 256 * 1024 * 1024;

    // Makes `folder` (readable by the owner alone) and reads into it the entry of the tree node
    // `node` and, for a picture, its paged siblings. `cancel` may stop the engine. Returns
    // whether all was read; the reason in `error` when not.
    static bool read(const ArchiveContents &contents, quint32 node, const QString &password,
                     const QString &folder, ArchiveProgressDelegate *cancel, Error *error);
};
