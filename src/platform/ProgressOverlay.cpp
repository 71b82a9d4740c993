#include "ProgressOverlay.h"

#include <QQmlEngine>
#include <algorithm>

ProgressOverlay *ProgressOverlay::shared()
{
    static ProgressOverlay overlay;
    return &overlay;
}

ProgressOverlay *ProgressOverlay::create(QQmlEngine *, QJSEngine *)
{
    QQmlEngine::setObjectOwnership(shared(), QQmlEngine::CppOwnership);
    return shared();
}

void ProgressOverlay::show(const QString &status, bool cancellable)
{
    ++m_holders;
    m_status = status;
    m_detail.clear();
    m_progress = -1;
    m_cancellable = cancellable;
    emit changed();
}

void ProgressOverlay::setStatus(const QString &status)
{
    m_status = status;
    m_detail.clear();
    m_progress = -1;
    emit changed();
}

void ProgressOverlay::setCancellable(bool cancellable)
{
    m_cancellable = cancellable;
    emit changed();
}

void ProgressOverlay::setProgress(double fraction, const QString &detail)
{
    m_progress = fraction < 0 ? -1 : std::min(fraction, 1.0);
    m_detail = detail;
    emit changed();
}

void ProgressOverlay::dismiss()
{
    if (m_holders == 0)
        return;
    if (--m_holders == 0)
        emit changed();
}

void ProgressOverlay::cancel()
{
    if (isVisible() && m_cancellable)
        emit cancelRequested();
}
