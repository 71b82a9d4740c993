#pragma once

#include "Error.h"

#include <QImage>
#include <QSize>
#include <QString>

// A comic book's cover for its row: the first picture of a cbz or cbr by the listing's name
// order ("page2" before "page10", folders included in the path), read alone out of the archive
// into a private folder removed at once, and decoded to fit. Encrypted entries and names the
// extraction would refuse are passed over; a comic whose listing needs a password has no cover.
//
// Thread-safety: keeps no state; any thread. It reads the archive: the thumbnail queue's job.
namespace ComicCover {

// Whether files of this extension are comic books.
bool isComicBook(const QString &extension);

// The cover of the comic book at `path` fitted into `bounds` (device pixels); a null image with
// the reason in `error` when it has none or it can't be read.
QImage decodeToFit(const QString &path, QSize bounds, Error *error);

} // namespace ComicCover
