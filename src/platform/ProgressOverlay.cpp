#include "ProgressOverlay.h"

ProgressOverlay *ProgressOverlay::shared()
{
    static ProgressOverlay overlay;
    return &overlay;
}

void ProgressOverlay::show(const QString &status, bool cancellable)
{
    m_visible = true;
    m_status = status;
    m_progress = -1;
    m_cancellable = cancellable;
    emit changed();
}

void ProgressOverlay::setProgress(double fraction)
{
    m_progress = std::clamp(fraction, 0.0, 1.0);
    emit changed();
}

void ProgressOverlay::dismiss()
{
    if (!m_visible)
        return;
    m_visible = false;
    emit changed();
}

void ProgressOverlay::cancel()
{
    if (m_visible && m_cancellable)
        emit cancelRequested();
}
