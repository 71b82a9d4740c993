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

void RefreshControl::endRefreshing()
{
    if (!m_refreshing)
        return;
    m_refreshing = false;
    emit refreshingChanged();
}
