#include "DispatchQueue.h"

#include <QCoreApplication>
#include <QTimer>
#include <cmath>

namespace {

int milliseconds(double seconds)
{
    return std::max(0, int(std::lround(seconds * 1000.0)));
}

} // namespace

DispatchQueue::DispatchQueue(const QString &label) : m_worker(new QObject)
{
    m_thread.setObjectName(label);
    m_worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

DispatchQueue::~DispatchQueue()
{
    // Queued behind everything already given, so that work still runs.
    QMetaObject::invokeMethod(
        m_worker, [this] { m_thread.quit(); }, Qt::QueuedConnection);
    m_thread.wait();
}

void DispatchQueue::async(std::function<void()> work)
{
    QMetaObject::invokeMethod(m_worker, std::move(work), Qt::QueuedConnection);
}

void DispatchQueue::after(double seconds, std::function<void()> work)
{
    const int ms = milliseconds(seconds);
    async([this, ms, work = std::move(work)] { QTimer::singleShot(ms, m_worker, work); });
}

void DispatchQueue::main(QObject *context, std::function<void()> work)
{
    Q_ASSERT(context->thread() == QCoreApplication::instance()->thread());
    QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
}

void DispatchQueue::mainAfter(double seconds, QObject *context, std::function<void()> work)
{
    Q_ASSERT(context->thread() == QCoreApplication::instance()->thread());
    const int ms = milliseconds(seconds);
    if (QThread::currentThread() == context->thread()) {
        QTimer::singleShot(ms, context, std::move(work));
        return;
    }
    // A timer belongs to the thread that starts it: start it from the main thread.
    QMetaObject::invokeMethod(
        context, [context, ms, work = std::move(work)] { QTimer::singleShot(ms, context, work); },
        Qt::QueuedConnection);
}
