#include "ImageView.h"

#include "PaintedImage.h"

#include <QPainter>

ImageView::ImageView(QObject *parent) : QObject(parent) {}

ImageView::ImageView(QSizeF frameSize, QObject *parent) : QObject(parent), m_frameSize(frameSize) {}

void ImageView::setFrameSize(QSizeF frameSize)
{
    if (frameSize == m_frameSize)
        return;
    m_frameSize = frameSize;
    emit frameSizeChanged();
}

void ImageView::setImage(const QImage &image)
{
    m_image = image;
    emit imageChanged();
}

ImageViewItem::ImageViewItem(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void ImageViewItem::setImageView(ImageView *imageView)
{
    if (imageView == m_imageView)
        return;
    disconnect(m_imageConnection);
    m_imageView = imageView;
    if (imageView)
        m_imageConnection =
            connect(imageView, &ImageView::imageChanged, this, [this] { update(); });
    emit imageViewChanged();
    update();
}

void ImageViewItem::paint(QPainter *painter)
{
    if (!m_imageView || m_imageView->image().isNull())
        return;
    const QImage image = m_imageView->image();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(PaintedImage::fittedRect(image.deviceIndependentSize(), size()), image);
}
