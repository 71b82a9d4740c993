#pragma once

#include <Error.h>
#include <QImage>
#include <QString>
#include <optional>

// The thumbnails the programs of a desktop share (the freedesktop thumbnail cache):
// PNGs in `directory()`/normal (128 pixels at most a side) and /large (256), named by the MD5
// (hex) of the file's URI, each carrying the URI and the file's modification time (and size)
// in text chunks "Thumb::URI", "Thumb::MTime", "Thumb::Size". A thumbnail counts only while
// they match the file as it is now, so one of an older version of the file is never shown.
// Ours are written with those chunks (and "Software"), owner-only (0600) in owner-only folders
// (0700), whole under a temporary name renamed into place; a picture that can't be decoded is
// recorded under fail/ombrisk-1.0/, so it is not tried again until it changes.
//
// Thread-safety: keeps no state; any thread. Reads and writes files: off the main thread.
namespace SharedThumbnails {

// $XDG_CACHE_HOME/thumbnails (~/.cache/thumbnails); under `--root`, Caches/thumbnails there.
QString directory();

// The side in pixels of the smallest kind that holds a thumbnail of `pixels` a side (128 or
// 256); nothing above 256, where a shared thumbnail would be enlarged.
std::optional<int> sideFor(int pixels);

// The URI a thumbnail is named by, and the name: MD5 hex of the URI, ".png".
QByteArray uriOf(const QString &path);
QString fileNameFor(const QByteArray &uri);

// A valid shared thumbnail of the file at `path` at least `pixels` a side (a normal one first,
// then a large one), or a null image.
QImage lookUp(const QString &path, int pixels);
// Whether our failure record matches the file as it is now.
bool hasFailed(const QString &path);

// Writes `thumbnail` (at most `side` pixels a side: 128 or 256) as the shared thumbnail of the
// file at `path`, as the file is now.
bool store(const QString &path, const QImage &thumbnail, int side, Error *error = nullptr);
// Records that the file at `path`, as it is now, could not be decoded.
bool storeFailure(const QString &path, Error *error = nullptr);

} // namespace SharedThumbnails
