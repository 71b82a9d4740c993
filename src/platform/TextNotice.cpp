#include "TextNotice.h"

#include <QTimer>

TextNotice::TextNotice(QObject *parent) : QObject(parent) {}

QStringList TextNotice::texts() const
{
    QStringList texts;
    for (const auto &shown : m_shown)
        texts.append(shown.text);
    return texts;
}

QString TextNotice::text() const
{
    return m_shown.isEmpty() ? QString() : m_shown.constLast().text;
}

void TextNotice::show(const QString &text)
{
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setInterval(int(duration * 1000));
    connect(timer, &QTimer::timeout, this, [this, timer] { expire(timer); });
    m_shown.append({text, timer});
    timer->start();
    emit changed();
}

void TextNotice::expire(QTimer *timer)
{
    m_shown.removeIf([timer](const Shown &shown) { return shown.timer == timer; });
    timer->deleteLater();
    emit changed();
}

void TextNotice::hide()
{
    if (m_shown.isEmpty())
        return;
    for (const auto &shown : std::as_const(m_shown))
        shown.timer->deleteLater();
    m_shown.clear();
    emit changed();
}
