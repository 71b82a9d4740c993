#pragma once

#include "ArchiveEntry.h"
#include "Error.h"

#include <QImage>
#include <QSize>
#include <QString>

// A picture entry of an archive decoded to fit, read alone into a private folder that is
// removed at once (ArchiverManager::readEntriesAtPath, with all its checks).
//
// Thread-safety: keeps no state; any thread. It reads the archive: the thumbnail queue's job.
namespace ArchiveEntryPicture {

// Whether the entries of the archive at `path` are read one at a time without going through
// those before them (a zip's, from its central directory); solid and streamed kinds would
// unpack everything before an entry for each row.
bool readsEntriesAlone(const QString &archivePath);

// Whether an entry is a file of a picture kind.
bool isPicture(const ArchiveEntry &entry);

// The entry at `position` of `entries` (listed from `archivePath` with `nameEncoding`) fitted
// into `bounds` (device pixels); a null image with the reason in `error` when it can't be read
// or decoded.
QImage decodeToFit(const QString &archivePath, const ArchiveEntryList &entries,
                   qsizetype position, const QString &password, const QByteArray &nameEncoding,
                   QSize bounds, Error *error);

} // namespace ArchiveEntryPicture
