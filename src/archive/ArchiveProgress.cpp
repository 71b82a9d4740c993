#include "ArchiveProgress.h"

#include <algorithm>

namespace {
constexpr qint64 reportIntervalMs = 50; // twenty updates a second keep a bar moving smoothly
}

ProgressReporter::ProgressReporter(ArchiveProgressDelegate *delegate) : m_delegate(delegate)
{
    m_sinceReport.start();
}

void ProgressReporter::setTotals(qint64 bytesTotal, qint64 entriesTotal)
{
    QMutexLocker lock(&m_mutex);
    m_progress.bytesTotal = bytesTotal;
    m_progress.entriesTotal = entriesTotal;
}

void ProgressReporter::entryStarted(const QString &name)
{
    QMutexLocker lock(&m_mutex);
    m_progress.currentEntry = name;
    report(false);
}

void ProgressReporter::entryFinished()
{
    QMutexLocker lock(&m_mutex);
    ++m_progress.entriesDone;
    report(false);
}

void ProgressReporter::addBytes(qint64 bytes)
{
    QMutexLocker lock(&m_mutex);
    m_progress.bytesDone += bytes;
    report(false);
}

void ProgressReporter::setBytesDone(qint64 bytes)
{
    QMutexLocker lock(&m_mutex);
    m_progress.bytesDone = bytes;
    report(false);
}

void ProgressReporter::finish()
{
    QMutexLocker lock(&m_mutex);
    auto &p = m_progress;
    p.bytesDone = p.bytesTotal = std::max(p.bytesDone, p.bytesTotal);
    p.entriesDone = p.entriesTotal = std::max(p.entriesDone, p.entriesTotal);
    report(true);
}

bool ProgressReporter::isCancelled()
{
    if (m_cancelled)
        return true;
    if (!m_delegate)
        return false;
    QMutexLocker lock(&m_mutex);
    if (m_delegate->isArchiveCancelled())
        m_cancelled = true;
    return m_cancelled;
}

void ProgressReporter::movingIn()
{
    if (!m_delegate)
        return;
    QMutexLocker lock(&m_mutex);
    m_delegate->archiveMovingIn();
}

void ProgressReporter::report(bool force)
{
    if (!m_delegate || (!force && m_sinceReport.elapsed() < reportIntervalMs))
        return;
    m_sinceReport.restart();
    m_delegate->archiveProgressChanged(m_progress);
}
