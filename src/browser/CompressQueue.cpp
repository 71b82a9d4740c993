#include "CompressQueue.h"

#include "ArchiverManager.h"
#include "ProgressOverlay.h"

#include <QMutex>
#include <QPointer>
#include <atomic>
#include <utility>

namespace {

// Passes the engine's progress to the overlay and asks the queue whether a cancel came since
// the job was queued, saying whether the job moves its content in already. Called on the
// engine's threads, one call at a time.
class OverlayProgress final : public ArchiveProgressDelegate {
public:
    OverlayProgress(QPointer<QObject> context, std::function<bool(bool movingIn)> isCancelled)
        : m_context(std::move(context)), m_isCancelled(std::move(isCancelled))
    {
    }

    void archiveProgressChanged(const ArchiveProgress &progress) override
    {
        const double fraction =
            progress.bytesTotal > 0     ? double(progress.bytesDone) / double(progress.bytesTotal)
            : progress.entriesTotal > 0 ? double(progress.entriesDone) / double(progress.entriesTotal)
                                        : -1;
        DispatchQueue::main(m_context, [fraction, entry = progress.currentEntry] {
            ProgressOverlay::shared()->setProgress(fraction, entry);
        });
    }

    bool isArchiveCancelled() override { return m_isCancelled(m_movingIn); }
    void archiveMovingIn() override { m_movingIn = true; }

private:
    QPointer<QObject> m_context;
    std::function<bool(bool)> m_isCancelled;
    bool m_movingIn = false;
};

} // namespace

struct CompressQueue::Shared {
    std::atomic<quint64> generation = 0; // a cancel moves it on
    std::atomic<bool> quitting = false;
    // The queue while it lives, for the signals emitted on the queue's thread; the destructor
    // clears it under the lock.
    QMutex ownerLock;
    CompressQueue *owner = nullptr;

    bool isCancelledSince(quint64 since) const { return generation.load() != since; }
    void notify(void (CompressQueue::*signal)(const QString &), const QString &status)
    {
        QMutexLocker lock(&ownerLock);
        if (owner)
            (owner->*signal)(status);
    }
};

CompressQueue::CompressQueue() : m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
    connect(ProgressOverlay::shared(), &ProgressOverlay::cancelRequested, this,
            &CompressQueue::cancelAll);
}

CompressQueue::~CompressQueue()
{
    {
        QMutexLocker lock(&m_shared->ownerLock);
        m_shared->owner = nullptr;
    }
    // The running job stops through the engine; the queues drop what waits.
    cancelAll();
}

CompressQueue *CompressQueue::shared()
{
    static CompressQueue queue;
    return &queue;
}

bool CompressQueue::isCancelledSince(quint64 generation) const
{
    return m_shared->isCancelledSince(generation);
}

void CompressQueue::addPending()
{
    if (m_pending++ == 0)
        ProgressOverlay::shared()->show(QString(), true);
    showStatus();
}

void CompressQueue::removePending(const std::function<void()> &then)
{
    // The overlay goes before the completion runs, so a dialog it shows (a password asked
    // again) can take the keyboard at once.
    if (--m_pending > 0)
        showStatus();
    else
        ProgressOverlay::shared()->dismiss();
    then();
    if (m_pending == 0)
        emit idle();
}

void CompressQueue::showStatus()
{
    const QString status = m_shared->quitting      ? tr("Finishing…")
                           : !m_running.isEmpty()   ? m_running
                           : !m_checking.isEmpty() ? m_checking.constLast()
                           : !m_waiting.isEmpty()  ? m_waiting.constFirst()
                                                   : QString();
    if (status != ProgressOverlay::shared()->status())
        ProgressOverlay::shared()->setStatus(status);
}

Error CompressQueue::failedWithoutReason(const QString &status)
{
    QString work = status;
    if (work.endsWith(u'…'))
        work.chop(1);
    return Error(errorDomain, FailedWithoutReason,
                 tr("%1 failed, and no reason was given.").arg(work));
}

void CompressQueue::enqueue(const QString &status, Job job, Finished finished)
{
    m_waiting.append(status);
    ++m_jobs;
    addPending();
    // Work queued while quitting counts as cancelled from the start.
    const quint64 generation = m_shared->generation.load() - (m_shared->quitting ? 1 : 0);
    QPointer<CompressQueue> self(this);
    QPointer<QObject> context(this);
    m_queue.async([shared = m_shared, self, context, status, generation, job = std::move(job),
                   finished = std::move(finished)] {
        Error error;
        const bool runs = !shared->isCancelledSince(generation);
        if (runs) {
            shared->notify(&CompressQueue::jobStarted, status);
            DispatchQueue::main(context, [self, status] { self->jobRunning(status); });
            OverlayProgress progress(context, [shared, generation](bool movingIn) {
                return shared->isCancelledSince(generation) && !(movingIn && shared->quitting);
            });
            if (!job(&progress, &error) && !error.isSet())
                error = shared->isCancelledSince(generation) ? ArchiveErrors::cancelled()
                                                             : failedWithoutReason(status);
            shared->notify(&CompressQueue::jobEnded, status);
        } else {
            error = ArchiveErrors::cancelled();
        }
        DispatchQueue::main(context, [self, status, runs, finished, error] {
            self->jobOver(status, runs, error, finished);
        });
    });
}

void CompressQueue::jobRunning(const QString &status)
{
    m_waiting.removeFirst();
    m_running = status;
    showStatus();
}

void CompressQueue::jobOver(const QString &status, bool ran, const Error &error,
                            const Finished &finished)
{
    if (ran)
        m_running.clear();
    else
        m_waiting.removeFirst();
    --m_jobs;
    if (m_shared->quitting && error.code == ArchiveErrors::Cancelled)
        m_cutShort.append(status);
    removePending([&] { finished(error); });
    if (m_jobs == 0 && m_whenQuit)
        endQuit();
}

void CompressQueue::checkNeedPassword(
    const QString &archivePath, std::function<void(bool needed, const Error &error)> answered)
{
    const QString status = tr("Opening “%1”…").arg(archivePath.section(u'/', -1));
    m_checking.append(status);
    addPending();
    const quint64 generation = m_shared->generation.load();
    QPointer<CompressQueue> self(this);
    QPointer<QObject> context(this);
    m_checkQueue.async([self, context, archivePath, status, generation, answered = std::move(answered)] {
        Error error;
        const bool needed = ArchiverManager::checkNeedPassword(archivePath, &error);
        DispatchQueue::main(context, [self, status, generation, answered, needed, error] {
            self->m_checking.removeOne(status);
            self->removePending([&] {
                if (!self->isCancelledSince(generation))
                    answered(needed, error);
            });
        });
    });
}

void CompressQueue::cancelAll()
{
    ++m_shared->generation;
}

void CompressQueue::finishForQuit(std::function<void(const QStringList &)> done)
{
    m_shared->quitting = true;
    cancelAll();
    m_whenQuit = std::move(done);
    if (m_jobs == 0) {
        endQuit();
        return;
    }
    ProgressOverlay::shared()->setCancellable(false);
    showStatus();
}

void CompressQueue::endQuit()
{
    m_shared->quitting = false;
    std::exchange(m_whenQuit, {})(std::exchange(m_cutShort, {}));
}
