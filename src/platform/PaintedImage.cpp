#include "PaintedImage.h"

#include <QPainter>

PaintedImage::PaintedImage(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void PaintedImage::setImage(const QImage &image)
{
    m_image = image;
    setImplicitSize(image.deviceIndependentSize().width(), image.deviceIndependentSize().height());
    emit imageChanged();
    update();
}

QRectF PaintedImage::fittedRect(QSizeF imageSize, QSizeF bounds)
{
    QSizeF drawn = imageSize;
    drawn.scale(bounds, Qt::KeepAspectRatio);
    return {QPointF((bounds.width() - drawn.width()) * 0.5,
                    (bounds.height() - drawn.height()) * 0.5),
            drawn};
}

void PaintedImage::paint(QPainter *painter)
{
    if (m_image.isNull())
        return;
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(fittedRect(m_image.deviceIndependentSize(), size()), m_image);
}
