#include "CompressQueue.h"

#include "ArchiverManager.h"
#include "ProgressOverlay.h"

#include <QPointer>
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

CompressQueue::CompressQueue()
{
    connect(ProgressOverlay::shared(), &ProgressOverlay::cancelRequested, this,
            &CompressQueue::cancelAll);
}

CompressQueue *CompressQueue::shared()
{
    static CompressQueue queue;
    return &queue;
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
    const QString status = m_quitting              ? tr("Finishing…")
                           : !m_running.isEmpty()   ? m_running
                           : !m_checking.isEmpty() ? m_checking.constLast()
                           : !m_waiting.isEmpty()  ? m_waiting.constFirst()
                                                   : QString();
    if (status != ProgressOverlay::shared()->status())
        ProgressOverlay::shared()->setStatus(status);
}

void CompressQueue::enqueue(const QString &status, Job job, Finished finished)
{
    m_waiting.append(status);
    ++m_jobs;
    addPending();
    // Work queued while quitting counts as cancelled from the start.
    const quint64 generation = m_generation.load() - (m_quitting ? 1 : 0);
    QPointer<QObject> self(this);
    m_queue.async([this, self, status, generation, job = std::move(job),
                   finished = std::move(finished)] {
        Error error;
        const bool runs = !isCancelledSince(generation);
        if (runs) {
            emit jobStarted(status);
            DispatchQueue::main(self, [this, status] {
                m_waiting.removeFirst();
                m_running = status;
                showStatus();
            });
            OverlayProgress progress(self, [this, generation](bool movingIn) {
                return isCancelledSince(generation) && !(movingIn && m_quitting);
            });
            if (!job(&progress, &error) && !error.isSet())
                error = ArchiveErrors::cancelled();
            emit jobEnded(status);
        } else {
            error = ArchiveErrors::cancelled();
        }
        DispatchQueue::main(self, [this, status, runs, finished, error] {
            if (runs)
                m_running.clear();
            else
                m_waiting.removeFirst();
            --m_jobs;
            if (m_quitting && error.code == ArchiveErrors::Cancelled)
                m_cutShort.append(status);
            removePending([&] { finished(error); });
            if (m_jobs == 0 && m_whenQuit)
                endQuit();
        });
    });
}

void CompressQueue::checkNeedPassword(
    const QString &archivePath, std::function<void(bool needed, const Error &error)> answered)
{
    const QString status = tr("Opening “%1”…").arg(archivePath.section(u'/', -1));
    m_checking.append(status);
    addPending();
    const quint64 generation = m_generation.load();
    QPointer<QObject> self(this);
    m_checkQueue.async([this, self, archivePath, status, generation,
                        answered = std::move(answered)] {
        Error error;
        const bool needed = ArchiverManager::checkNeedPassword(archivePath, &error);
        DispatchQueue::main(self, [this, status, generation, answered, needed, error] {
            m_checking.removeOne(status);
            removePending([&] {
                if (!isCancelledSince(generation))
                    answered(needed, error);
            });
        });
    });
}

void CompressQueue::cancelAll()
{
    ++m_generation;
}

void CompressQueue::finishForQuit(std::function<void(const QStringList &)> done)
{
    m_quitting = true;
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
    m_quitting = false;
    std::exchange(m_whenQuit, {})(std::exchange(m_cutShort, {}));
}
