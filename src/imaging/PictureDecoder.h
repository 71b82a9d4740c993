#pragma once

#include <Error.h>
#include <QImage>
#include <QSize>
#include <QString>

// Decodes a picture file straight to a size that fits inside `bounds` (device pixels), aspect
// ratio kept, turned upright by its orientation tag, in sRGB: Format_RGB32 when opaque,
// Format_ARGB32_Premultiplied when it has an alpha channel (the formats the scene graph and
// QPainter draw without converting). JPEGs are shrunk by 1/2, 1/4 or 1/8 while they load, so
// a photograph for the screen never costs a decode at full size; bmp and psd go through
// ImageMagick. Small pictures are enlarged.
// Only files whose first bytes have a known picture signature are handed to libvips.
//
// Thread-safety: any thread; it blocks for the whole decode, so never call it on the main one.
// `signatureKind` is quick and may run on the main thread.
namespace PictureDecoder {

// How many bytes of a file's head `signatureKind` needs.
constexpr qint64 signatureLength = 512;

// JPEG, GIF, BMP, TIFF, PNG, WebP and Photoshop are raster pictures; SVG text is drawn by librsvg,
// which never reads files outside the picture's own folder.
enum class SignatureKind { None, Raster, Svg };
SignatureKind signatureKind(const QByteArray &head);

// A null image with the reason in `error` (may be null) when the file cannot be read or decoded.
QImage decodeToFit(const QString &path, QSize bounds, Error *error = nullptr);

// As decodeToFit, and for a PDF document its first page (drawn by poppler on white): what a
// thumbnail shows of a file. It gives way to a picture that comes in sight while it runs
// (DecodePriority::GivingWay): it stops, failing with ImagingErrors::GaveWay.
QImage decodeThumbnailToFit(const QString &path, QSize bounds, Error *error = nullptr);

// The picture at its own size, or shrunk so that neither side exceeds `maximumSide`; never
// enlarged (an SVG comes at its own declared size).
QImage decodeFullSize(const QString &path, int maximumSide, Error *error = nullptr);

} // namespace PictureDecoder
