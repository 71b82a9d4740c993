#include "ActivityIndicator.h"

void ActivityIndicator::startAnimating()
{
    if (m_animating)
        return;
    m_animating = true;
    emit changed();
}

void ActivityIndicator::stopAnimating()
{
    if (!m_animating)
        return;
    m_animating = false;
    emit changed();
}

void ActivityIndicator::setOrigin(QPointF origin)
{
    if (origin == m_origin)
        return;
    m_origin = origin;
    emit changed();
}
