#include "Label.h"

#include <QFont>
#include <QFontMetricsF>

Label::Label(double fontSize, QColor color, QObject *parent)
    : QObject(parent), m_fontSize(fontSize), m_color(color)
{
}

void Label::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit changed();
}

void Label::setHidden(bool hidden)
{
    if (hidden == m_hidden)
        return;
    m_hidden = hidden;
    emit changed();
}

void Label::setOrigin(QPointF origin)
{
    if (origin == m_origin)
        return;
    m_origin = origin;
    emit changed();
}

void Label::setSize(QSizeF size)
{
    if (size == m_size)
        return;
    m_size = size;
    emit changed();
}

void Label::sizeToFit()
{
    QFont font;
    font.setPointSizeF(m_fontSize);
    setSize(QFontMetricsF(font).size(Qt::TextSingleLine, m_text));
}
