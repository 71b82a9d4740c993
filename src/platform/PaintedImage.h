#pragma once

#include <QImage>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// Draws a QImage given by a controller (segment images, icons), scaled to fit and centred.
class PaintedImage : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QImage image READ image WRITE setImage NOTIFY imageChanged)

public:
    explicit PaintedImage(QQuickItem *parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage &image);
    void paint(QPainter *painter) override;

    // Where an image of `imageSize` goes in `bounds`: scaled to fit, aspect kept, centred.
    static QRectF fittedRect(QSizeF imageSize, QSizeF bounds);

signals:
    void imageChanged();

private:
    QImage m_image;
};
