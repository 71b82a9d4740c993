#include "TableViewCell.h"

TableViewCell::TableViewCell(const QString &reuseIdentifier, QObject *parent)
    : QObject(parent), m_reuseIdentifier(reuseIdentifier), m_imageView(this)
{
}

void TableViewCell::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit changed();
}

void TableViewCell::setDetailText(const QString &text)
{
    if (text == m_detailText)
        return;
    m_detailText = text;
    emit changed();
}

void TableViewCell::setDetailTextColor(QColor color)
{
    if (color == m_detailTextColor)
        return;
    m_detailTextColor = color;
    emit changed();
}

void TableViewCell::setFont(const QFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    emit changed();
}

void TableViewCell::setAccessory(Accessory accessory)
{
    if (accessory == m_accessory)
        return;
    m_accessory = accessory;
    emit changed();
}

void TableViewCell::setIndexPath(int section, int row)
{
    m_section = section;
    m_row = row;
}
