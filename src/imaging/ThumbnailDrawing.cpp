#include "Thumbnail.h"

#include <QPainter>

namespace Thumbnail {

QImage createImageWithColor(QColor color, QSizeF size, double scale)
{
    QImage image((size * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(color);
    return image;
}

QImage addImage(const QImage &picture, const QImage &canvas)
{
    QImage result(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    result.setDevicePixelRatio(canvas.devicePixelRatio());
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QPointF(0, 0), canvas);
    const QSizeF canvasSize = canvas.deviceIndependentSize();
    const QSizeF pictureSize = picture.deviceIndependentSize();
    painter.drawImage(QPointF((canvasSize.width() - pictureSize.width()) * 0.5,
                              (canvasSize.height() - pictureSize.height()) * 0.5),
                      picture);
    return result;
}

} // namespace Thumbnail
