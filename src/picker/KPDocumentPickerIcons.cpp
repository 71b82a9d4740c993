#include "KPDocumentPickerIcons.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {

double screenScale()
{
    const auto *screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

} // namespace

namespace KPDocumentPickerIcons {

QImage imageNamed(const QString &name, QSizeF size)
{
    const double scale = screenScale();
    QImageReader reader(QStringLiteral(":/images/%1.svg").arg(name));
    reader.setScaledSize((size * scale).toSize());
    QImage image = reader.read();
    image.setDevicePixelRatio(scale);
    return image;
}

QImage KP_documentPickerFolderIcon()
{
    return imageNamed(QStringLiteral("folder_small"), QSizeF(37, 37));
}

QImage KP_documentPickerDefaultIcon()
{
    const double scale = screenScale();
    QImage image(QSize(qRound(33 * scale), qRound(37 * scale)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    QPainterPath outline;
    outline.moveTo(5.5, 33.5);
    outline.lineTo(28.5, 33.5);
    outline.lineTo(28.5, 11.41);
    outline.lineTo(19.3, 2.5);
    outline.lineTo(5.5, 2.5);
    outline.lineTo(5.5, 33.5);
    outline.closeSubpath();
    painter.drawPath(outline);
    QPainterPath fold;
    fold.moveTo(19.5, 2.5);
    fold.lineTo(19.5, 11.5);
    fold.lineTo(28.5, 11.5);
    painter.drawPath(fold);
    return image;
}

} // namespace KPDocumentPickerIcons
