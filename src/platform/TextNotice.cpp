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

QVariantList TextNotice::entries() const
{
    QVariantList entries;
    for (const auto &shown : m_shown)
        entries.append(QVariantMap{{QStringLiteral("text"), shown.text},
                                   {QStringLiteral("actionTitle"), shown.actionTitle}});
    return entries;
}

QString TextNotice::text() const
{
    return m_shown.isEmpty() ? QString() : m_shown.constLast().text;
}

bool TextNotice::hasAction() const
{
    return std::any_of(m_shown.cbegin(), m_shown.cend(),
                       [](const Shown &shown) { return bool(shown.action); });
}

QString TextNotice::actionTitle(int index) const
{
    return index >= 0 && index < m_shown.size() ? m_shown.at(index).actionTitle : QString();
}

void TextNotice::show(const QString &text)
{
    show(text, QString(), {}, duration);
}

void TextNotice::show(const QString &text, const QString &actionTitle,
                      std::function<void()> action, double seconds)
{
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setInterval(int(seconds * 1000));
    connect(timer, &QTimer::timeout, this, [this, timer] { expire(timer); });
    m_shown.append({text, timer, action ? actionTitle : QString(), std::move(action)});
    timer->start();
    emit changed();
}

void TextNotice::runAction(int index)
{
    if (index < 0 || index >= m_shown.size() || !m_shown.at(index).action)
        return;
    // Taken away first, so the action runs once however often the button is pressed.
    const auto action = m_shown.at(index).action;
    expire(m_shown.at(index).timer);
    action();
}

bool TextNotice::runNewestAction()
{
    for (qsizetype i = m_shown.size() - 1; i >= 0; --i) {
        if (m_shown.at(i).action) {
            runAction(int(i));
            return true;
        }
    }
    return false;
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
