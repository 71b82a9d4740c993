#pragma once

#include <Error.h>
#include <QImage>
#include <QSize>
#include <QString>

// Decodes a picture file straight to a size that fits inside `bounds` (device pixels), aspect
// ratio kept, turned upright by its orientation tag, in sRGB with straight alpha. JPEGs are
// shrunk while they load; bmp and psd go through ImageMagick. Small pictures are enlarged.
//
// Thread-safety: any thread; it blocks for the whole decode, so never call it on the main one.
namespace PictureDecoder {

// A null image with the reason in `error` (may be null) when the file cannot be read or decoded.
QImage decodeToFit(const QString &path, QSize bounds, Error *error = nullptr);

} // namespace PictureDecoder
