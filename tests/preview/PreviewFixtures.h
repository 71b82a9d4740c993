#pragma once

#include "PictureFixtures.h"

#include <QByteArray>
#include <QDateTime>
#include <QSize>
#include <QString>

// Files for the preview tests, made by the real writers: Qt's JPEG and PDF writers, a JPEG
// given an orientation tag, plain bytes.
namespace PreviewFixtures {

using PictureFixtures::writeFile;
// A JPEG of `size` in one colour, optionally marked with the EXIF orientation `orientation`
// (6: to be turned a quarter clockwise to stand upright).
bool writeJpeg(const QString &path, QSize size, int orientation = 0);
// A PDF of `pages` A4 pages, each with its number written large; from page `landscapeFrom`
// (counted from 0) on, when given, in landscape.
bool writePdf(const QString &path, int pages, int landscapeFrom = -1);
// Sets the file's modification time.
bool setModified(const QString &path, const QDateTime &time);

} // namespace PreviewFixtures
