#include "TextNotice.h"

TextNotice::TextNotice(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(int(duration * 1000));
    connect(&m_timer, &QTimer::timeout, this, &TextNotice::changed);
}

void TextNotice::show(const QString &text)
{
    m_text = text;
    m_timer.start();
    emit changed();
}

void TextNotice::hide()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    emit changed();
}
