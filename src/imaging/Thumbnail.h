#pragma once

#include "DispatchQueue.h"
#include "ImageView.h"

#include <Error.h>
#include <QColor>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <functional>

// Picture thumbnails for image views: made to the view's own size off the main thread, kept in
// ThumbnailCache::sharedCache() under a key of the file's path relative to the home folder and
// the size, and served from there the next time.
namespace Thumbnail {

// Asks for the thumbnail of the picture file (or PDF document) at absolute `path`, at `view`'s frame size as it
// is now. Never sets the image before it returns, nor clears it: the caller shows what it wants
// meanwhile (the badge). The thumbnail is set later on the main thread: in the next turn when
// the cache holds it in memory, else once the thumbnail queue has read its cache file or made
// it from the picture; it is dropped if the view is gone by then or
// asks for something else (a newer request, or `setRequestedImageKey("")` when a reused view
// shows a file without a thumbnail). A file that cannot be decoded gives nothing: the view keeps
// its image and nothing is cached; that version of the file is not tried again
// (UndecodablePictures). A view with an empty frame asks for nothing. A thumbnail decode waits
// while a picture in sight is decoded (DecodePriority).
// Main thread only.
enum class Turn {
    InOrder, // after the requests made before it (the rows of a listing)
    First,   // before every request still waiting: a view that is the page in sight
};
void cr_setLocalImageFilePath(ImageView *view, const QString &path, Turn turn = Turn::InOrder);

// What makes a thumbnail's picture out of a file, fitted into `bounds` (device pixels) as
// PictureDecoder::decodeToFit does; a null image with the reason in `error` when it can't.
// Runs on the thumbnail queue.
using Decoder = std::function<QImage(const QString &path, QSize bounds, Error *error)>;
// As cr_setLocalImageFilePath, for a file whose picture `decoder` makes (a comic book's cover),
// cached and shared like any other.
void setImageFromFile(ImageView *view, const QString &path, Decoder decoder);
// As setImageFromFile, for the entry `entryPath` of the archive at `archivePath`, which
// `decoder` reads (it is handed the archive's path); cached under the entry's own key, never
// shared with the desktop nor remembered as undecodable (both go by whole files).
void setImageOfEntry(ImageView *view, const QString &archivePath, const QString &entryPath,
                     Decoder decoder);

// Whether files of this extension get thumbnails: the picture kinds
// (Utils::isSupportPhotoFileFormat) and PDF documents (their first page). Any thread.
bool isMadeFor(const QString &extension);

// The cache key: the MD5 name (Utils::cachedFileNameForKey) of `relativePath` followed by the
// width and the height written with "%f" ("/Photos/a.jpg37.00000037.000000"). Any thread.
QString cachedFileNameWithSizeForKey(const QString &relativePath, QSizeF size);

// The one serial queue "THUMBNAIL_IMAGE_DISPATCH_QUEUE" on which thumbnails are made, one at a
// time in request order (`Turn::First` requests ahead); made on first use, never released.
// Any thread.
DispatchQueue &sharedImageThumbnailQueue();

// A picture drawing of `size` logical pixels at `scale`, filled with `color`. Any thread.
QImage createImageWithColor(QColor color, QSizeF size, double scale);

// `canvas` with `picture` drawn at its own size in the middle, the offsets not rounded. Both
// carry their device pixel ratio. Any thread.
QImage addImage(const QImage &picture, const QImage &canvas);

} // namespace Thumbnail
