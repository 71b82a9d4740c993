#pragma once

#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <QtQml/qqmlregistration.h>

// A spinning wheel placed by its controller (the gray, 20-point kind): QML turns it while
// `animating` and hides it when stopped.
//
// Thread-safety: main thread only.
class ActivityIndicator : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Activity indicators are made by their controllers")
    Q_PROPERTY(bool animating READ isAnimating NOTIFY changed)
    Q_PROPERTY(QPointF origin READ origin NOTIFY changed)
    Q_PROPERTY(QSizeF size READ size CONSTANT)

public:
    explicit ActivityIndicator(QObject *parent = nullptr) : QObject(parent) {}

    bool isAnimating() const { return m_animating; }
    void startAnimating();
    void stopAnimating();

    QPointF origin() const { return m_origin; }
    void setOrigin(QPointF origin);
    QSizeF size() const { return {20, 20}; }

signals:
    void changed();

private:
    bool m_animating = false;
    QPointF m_origin;
};
