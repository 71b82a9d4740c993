#include "BarButtonItem.h"

BarButtonItem::BarButtonItem(Kind kind, QObject *parent) : QObject(parent), m_kind(kind) {}

BarButtonItem *BarButtonItem::titled(const QString &title, Style style,
                                     std::function<void()> action, QObject *parent)
{
    auto *item = new BarButtonItem(Kind::Button, parent);
    item->m_title = title;
    item->m_style = style;
    item->m_action = std::move(action);
    return item;
}

BarButtonItem *BarButtonItem::pictured(const QString &imageName, Style style,
                                       std::function<void()> action, QObject *parent)
{
    auto *item = titled(QString(), style, std::move(action), parent);
    item->m_imageName = imageName;
    return item;
}

BarButtonItem *BarButtonItem::trash(std::function<void()> action, QObject *parent)
{
    auto *item = new BarButtonItem(Kind::Trash, parent);
    item->m_action = std::move(action);
    return item;
}

BarButtonItem *BarButtonItem::flexibleSpace(QObject *parent)
{
    return new BarButtonItem(Kind::FlexibleSpace, parent);
}

BarButtonItem *BarButtonItem::label(const QString &text, double fontSize, QObject *parent)
{
    auto *item = new BarButtonItem(Kind::Label, parent);
    item->m_title = text;
    item->m_titleFontSize = fontSize;
    return item;
}

void BarButtonItem::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    emit changed();
}

void BarButtonItem::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    emit changed();
}

void BarButtonItem::setBoldTitle(bool bold)
{
    if (bold == m_boldTitle)
        return;
    m_boldTitle = bold;
    emit changed();
}

void BarButtonItem::setTitleFontSize(double size)
{
    if (size == m_titleFontSize)
        return;
    m_titleFontSize = size;
    emit changed();
}

void BarButtonItem::setAccessibleName(const QString &name)
{
    if (name == m_accessibleName)
        return;
    m_accessibleName = name;
    emit changed();
}

void BarButtonItem::trigger()
{
    if (m_enabled && m_action)
        m_action();
}
