#include "PreviewFixtures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

namespace PreviewFixtures {

// An APP1 segment holding one EXIF tag, the orientation, in big-endian TIFF.
QByteArray exifOrientationSegment(int orientation)
{
    QByteArray tiff("MM\0*\0\0\0\x08", 8);           // header, first IFD at 8
    tiff.append(QByteArray("\0\x01", 2));             // one entry
    tiff.append(QByteArray("\x01\x12\0\x03\0\0\0\x01", 8)); // 0x0112 SHORT x1
    tiff.append(char(0)).append(char(orientation)).append(QByteArray(2, '\0'));
    tiff.append(QByteArray(4, '\0')); // no next IFD
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    return QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + payload;
}

bool writeJpeg(const QString &path, QSize size, int orientation)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(40, 120, 200));
    // A mark in the top-left corner, so a turn can be seen.
    QPainter(&image).fillRect(0, 0, size.width() / 4, size.height() / 4, Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG", 90))
        return false;
    QByteArray jpeg = buffer.data();
    if (orientation != 0)
        jpeg.insert(2, exifOrientationSegment(orientation)); // right after the start marker
    return writeFile(path, jpeg);
}

bool writePdf(const QString &path, int pages, int landscapeFrom)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);
    QPainter painter(&writer);
    if (!painter.isActive())
        return false;
    QFont font = painter.font();
    font.setPixelSize(120);
    painter.setFont(font);
    for (int page = 1; page <= pages; ++page) {
        if (page - 1 == landscapeFrom)
            writer.setPageOrientation(QPageLayout::Landscape);
        if (page > 1)
            writer.newPage();
        painter.drawText(QRect(QPoint(0, 0), writer.pageLayout().paintRectPixels(72).size()),
                         Qt::AlignCenter, QString::number(page));
    }
    return painter.end();
}

bool setModified(const QString &path, const QDateTime &time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(time, QFileDevice::FileModificationTime);
}

} // namespace PreviewFixtures
