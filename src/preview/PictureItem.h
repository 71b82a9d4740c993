#pragma once

#include <QImage>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// Draws a picture scaled to fit the item, aspect kept, centred, as one texture: uploaded once
// when the picture changes, so zooming and panning (which only resize and move the item) cost
// no new drawing on the main thread.
class PictureItem : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QImage picture READ picture WRITE setPicture NOTIFY pictureChanged)
    Q_PROPERTY(QSizeF pictureSize READ pictureSize NOTIFY pictureChanged)

public:
    explicit PictureItem(QQuickItem *parent = nullptr);

    QImage picture() const { return m_picture; }
    void setPicture(const QImage &picture);
    // The picture's size in pixels, (0, 0) without one.
    QSizeF pictureSize() const { return m_picture.size(); }

signals:
    void pictureChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *) override;

private:
    QImage m_picture;
    bool m_pictureChanged = false;
};
