#include "RefreshControl.h"

void RefreshControl::pulled()
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    emit refreshingChanged();
    if (m_action)
        m_action();
}

void RefreshControl::released(double distance)
{
    if (distance >= pullDistance())
        pulled();
}

void RefreshControl::endRefreshing()
{
    if (!m_refreshing)
        return;
    m_refreshing = false;
    emit refreshingChanged();
}
