#pragma once

#include <QColor>
#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QtQml/qqmlregistration.h>

// A line of text placed by its controller: the feedback line of a list, a toolbar's status
// text. Its size follows its text (`sizeToFit` measures with the font), so controllers can
// centre it themselves.
//
// Thread-safety: main thread only.
class Label : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Labels are made by their controllers")
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY changed)
    Q_PROPERTY(double fontSize READ fontSize CONSTANT)
    Q_PROPERTY(QColor color READ color CONSTANT)
    Q_PROPERTY(bool hidden READ isHidden WRITE setHidden NOTIFY changed)
    Q_PROPERTY(QPointF origin READ origin NOTIFY changed)
    Q_PROPERTY(QSizeF size READ size NOTIFY changed)

public:
    Label(double fontSize, QColor color, QObject *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    double fontSize() const { return m_fontSize; }
    QColor color() const { return m_color; }
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);
    QPointF origin() const { return m_origin; }
    void setOrigin(QPointF origin);
    QSizeF size() const { return m_size; }
    void setSize(QSizeF size);
    // The size the text needs in the label's font.
    void sizeToFit();

signals:
    void changed();

private:
    QString m_text;
    double m_fontSize;
    QColor m_color;
    bool m_hidden = false;
    QPointF m_origin;
    QSizeF m_size;
};
