#pragma once

#include <QColor>
#include <QObject>
#include <QSize>
#include <QtQml/qqmlregistration.h>

// The colours of every view and the window's smallest size (QML `Theme`): no view names a
// colour of its own beyond white, black and transparent.
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
    Q_PROPERTY(QColor veil READ veil CONSTANT)
    Q_PROPERTY(QColor separator READ separator CONSTANT)
    Q_PROPERTY(QColor noticeBackground READ noticeBackground CONSTANT)
    Q_PROPERTY(QColor noticeAction READ noticeAction CONSTANT)
    Q_PROPERTY(QColor noticeActionPressed READ noticeActionPressed CONSTANT)
    Q_PROPERTY(QColor noticeActionHovered READ noticeActionHovered CONSTANT)
    Q_PROPERTY(QColor menuBackground READ menuBackground CONSTANT)
    Q_PROPERTY(QColor menuPressed READ menuPressed CONSTANT)
    Q_PROPERTY(QColor menuHovered READ menuHovered CONSTANT)
    Q_PROPERTY(QColor dropVeil READ dropVeil CONSTANT)
    Q_PROPERTY(QColor dropText READ dropText CONSTANT)
    Q_PROPERTY(QColor segmentTrack READ segmentTrack CONSTANT)
    Q_PROPERTY(QColor segmentChosen READ segmentChosen CONSTANT)
    Q_PROPERTY(QColor segmentHovered READ segmentHovered CONSTANT)
    Q_PROPERTY(QColor placeholderText READ placeholderText CONSTANT)
    Q_PROPERTY(QColor pageIndicator READ pageIndicator CONSTANT)
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
    static QColor veil() { return QColor(0xff, 0xff, 0xff, 0xf2); }
    static QColor separator() { return QColor(0xd0, 0xd0, 0xd0); }
    static QColor noticeBackground() { return QColor(0x00, 0x00, 0x00, 0xd9); }
    static QColor noticeAction() { return QColor(0x7f, 0xbf, 0xff); }
    static QColor noticeActionPressed() { return QColor(0xff, 0xff, 0xff, 0x40); }
    static QColor noticeActionHovered() { return QColor(0xff, 0xff, 0xff, 0x26); }
    static QColor menuBackground() { return QColor(0x22, 0x22, 0x22, 0xe6); }
    static QColor menuPressed() { return QColor(0xff, 0xff, 0xff, 0x66); }
    static QColor menuHovered() { return QColor(0xff, 0xff, 0xff, 0x33); }
    static QColor dropVeil() { return QColor(0x00, 0x7a, 0xff, 0x1a); }
    static QColor dropText() { return QColor(0x00, 0x5e, 0xcb); }
    static QColor segmentTrack() { return QColor(0xe9, 0xe9, 0xeb); }
    static QColor segmentChosen() { return QColor(0xdc, 0xeb, 0xff); }
    static QColor segmentHovered() { return QColor(0xf0, 0xf6, 0xff); }
    static QColor placeholderText() { return QColor(0x80, 0x80, 0x80); }
    static QColor pageIndicator() { return QColor(0x00, 0x00, 0x00, 0xb3); }
    static QSize minimumWindowSize() { return {320, 480}; }
};
