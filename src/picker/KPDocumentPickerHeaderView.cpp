#include "KPDocumentPickerHeaderView.h"

#include <algorithm>

KPDocumentPickerHeaderView::KPDocumentPickerHeaderView(QObject *parent)
    : QObject(parent), m_sortControl(this)
{
}

void KPDocumentPickerHeaderView::setSearchText(const QString &text)
{
    if (text == m_searchText)
        return;
    const bool wasActive = isSearchActive();
    m_searchText = text;
    emit searchTextChanged();
    if (isSearchActive() != wasActive)
        emit searchActiveChanged();
    if (m_searchTextChangedHandler)
        m_searchTextChangedHandler(text);
}

void KPDocumentPickerHeaderView::setSearchFocused(bool focused)
{
    if (focused == m_searchFocused)
        return;
    const bool wasActive = isSearchActive();
    m_searchFocused = focused;
    emit searchFocusChanged();
    if (isSearchActive() != wasActive)
        emit searchActiveChanged();
}

void KPDocumentPickerHeaderView::setClippingHeight(double value)
{
    value = std::max(0.0, value);
    if (value == m_clippingHeight)
        return;
    m_clippingHeight = value;
    m_hidden = value > height;
    emit layoutChanged();
}

void KPDocumentPickerHeaderView::setHidden(bool hidden)
{
    if (hidden == m_hidden)
        return;
    m_hidden = hidden;
    emit layoutChanged();
}

void KPDocumentPickerHeaderView::setWidth(double width)
{
    if (width == m_width)
        return;
    m_width = width;
    emit layoutChanged();
}

QRectF KPDocumentPickerHeaderView::clippingFrame() const
{
    const double y = m_clippingHeight;
    const double visible = std::min(height, std::max(0.0, height - m_clippingHeight));
    return {0, y, m_width, visible};
}

QRectF KPDocumentPickerHeaderView::containerFrame() const
{
    return {0, -m_clippingHeight, m_width, height};
}
