#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// Picture files for the imaging tests, written by the real tools: Qt's writers for PNG and
// JPEG, libvips's command line for the other kinds (through its ImageMagick saver for psd and
// bmp). Each returns false with a QWARN-able reason in `why`.
namespace PictureFixtures {

// Writes `data` to `path`, making its folder; false when it cannot.
bool writeFile(const QString &path, const QByteArray &data);

// A picture of `size` in one opaque colour, of the kind given by `path`'s extension.
bool writePicture(const QString &path, QSize size, QColor color, QString *why);

// Runs libvips's command line with `arguments` ("copy a.png a.webp" converts).
bool runVips(const QStringList &arguments, QString *why);

// Runs the serial thumbnail queue dry: returns once every making task queued so far has run
// and every result it sent has been delivered to the main thread.
bool drainThumbnailQueue();

// The rectangle of pixels whose alpha is above `threshold`.
QRect opaqueBounds(const QImage &image, int threshold = 250);

} // namespace PictureFixtures
