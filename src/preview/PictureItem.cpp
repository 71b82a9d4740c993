#include "PictureItem.h"

#include "PaintedImage.h"

#include <QQuickWindow>
#include <QSGImageNode>

PictureItem::PictureItem(QQuickItem *parent) : QQuickItem(parent)
{
    setFlag(ItemHasContents);
}

void PictureItem::setPicture(const QImage &picture)
{
    if (picture.cacheKey() == m_picture.cacheKey())
        return;
    m_picture = picture;
    m_pictureChanged = true;
    emit pictureChanged();
    update();
}

QSGNode *PictureItem::updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *)
{
    auto *node = static_cast<QSGImageNode *>(oldNode);
    if (m_picture.isNull() || width() <= 0 || height() <= 0) {
        delete node;
        return nullptr;
    }
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        node->setFiltering(QSGTexture::Linear);
        m_pictureChanged = true;
    }
    if (m_pictureChanged) {
        node->setTexture(window()->createTextureFromImage(m_picture));
        m_pictureChanged = false;
    }
    node->setRect(PaintedImage::fittedRect(m_picture.size(), size()));
    return node;
}
