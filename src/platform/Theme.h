#pragma once

#include <QColor>
#include <QObject>
#include <QSize>
#include <QtQml/qqmlregistration.h>

// The design's colours and the window's smallest size, for every view (QML `Theme`).
//
// Thread-safety: constant values only.
class Theme : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QColor tint READ tint CONSTANT)
    Q_PROPERTY(QColor bar READ bar CONSTANT)
    Q_PROPERTY(QColor barSeparator READ barSeparator CONSTANT)
    Q_PROPERTY(QColor rowSeparator READ rowSeparator CONSTANT)
    Q_PROPERTY(QColor pressed READ pressed CONSTANT)
    Q_PROPERTY(QColor hovered READ hovered CONSTANT)
    Q_PROPERTY(QColor sectionText READ sectionText CONSTANT)
    Q_PROPERTY(QColor quietText READ quietText CONSTANT)
    Q_PROPERTY(QColor disclosure READ disclosure CONSTANT)
    Q_PROPERTY(QColor destructive READ destructive CONSTANT)
    Q_PROPERTY(QColor dim READ dim CONSTANT)
    Q_PROPERTY(QSize minimumWindowSize READ minimumWindowSize CONSTANT)

public:
    using QObject::QObject;

    static QColor tint() { return QColor(0x00, 0x7a, 0xff); }
    static QColor bar() { return QColor(0xf7, 0xf7, 0xf7); }
    static QColor barSeparator() { return QColor(0xc8, 0xc7, 0xcc); }
    static QColor rowSeparator() { return QColor(0xe5, 0xe5, 0xea); }
    static QColor pressed() { return QColor(0xe5, 0xe5, 0xea); }
    static QColor hovered() { return QColor(0xf2, 0xf2, 0xf7); }
    static QColor sectionText() { return QColor(0x6d, 0x6d, 0x72); }
    static QColor quietText() { return QColor(0x8f, 0x8f, 0x8f); }
    static QColor disclosure() { return QColor(0xc7, 0xc7, 0xcc); }
    static QColor destructive() { return QColor(0xff, 0x3b, 0x30); }
    static QColor dim() { return QColor(0, 0, 0, 0x66); }
    static QSize minimumWindowSize() { return {320, 480}; }
};
