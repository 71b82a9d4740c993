#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QQuickPaintedItem>
#include <QSizeF>
#include <QtQml/qqmlregistration.h>

// The toolkit's image view: a frame size in logical pixels and the image it shows. Screens and
// cells own their image views; asynchronous loaders hold them through QPointer and apply their
// results on the main thread only.
//
// Thread-safety: main thread only, like every view.
class ImageView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Image views are made by their controllers")
    Q_PROPERTY(QSizeF frameSize READ frameSize WRITE setFrameSize NOTIFY frameSizeChanged)
    Q_PROPERTY(QImage image READ image WRITE setImage NOTIFY imageChanged)

public:
    explicit ImageView(QObject *parent = nullptr);
    explicit ImageView(QSizeF frameSize, QObject *parent = nullptr);

    QSizeF frameSize() const { return m_frameSize; }
    void setFrameSize(QSizeF frameSize);

    QImage image() const { return m_image; }
    void setImage(const QImage &image);

    // The key of the asynchronous image request this view last asked for, empty when none is
    // wanted. A loader applies its result only while the key still matches, so a reused view
    // never shows what was meant for its previous content.
    QString requestedImageKey() const { return m_requestedImageKey; }
    void setRequestedImageKey(const QString &key) { m_requestedImageKey = key; }

signals:
    void frameSizeChanged();
    void imageChanged();

private:
    QSizeF m_frameSize;
    QImage m_image;
    QString m_requestedImageKey;
};

// Draws an ImageView's image, scaled to fit the item with its aspect ratio kept and centred.
// QML only draws: the image comes from the view's controller.
class ImageViewItem : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(ImageView *imageView READ imageView WRITE setImageView NOTIFY imageViewChanged)

public:
    explicit ImageViewItem(QQuickItem *parent = nullptr);

    ImageView *imageView() const { return m_imageView; }
    void setImageView(ImageView *imageView);

    void paint(QPainter *painter) override;

signals:
    void imageViewChanged();

private:
    QPointer<ImageView> m_imageView;
    QMetaObject::Connection m_imageConnection;
};
