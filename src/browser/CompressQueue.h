#pragma once

#include "ArchiveProgress.h"
#include "DispatchQueue.h"
#include "Error.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// The one queue on which every screen packs and unpacks ("kCompressQueueLabel"): jobs run one
// at a time, in the order queued, each behind the shared progress overlay, which shows the
// running job's status, its fraction of bytes done and the entry being worked on, with a
// "Cancel" button. Cancel stops the running job through the engine (which then leaves nothing
// behind) and drops every job and password check queued before the tap; their `finished` still
// runs, with the engine's Cancelled error. Work queued after the tap runs as usual.
//
// Before an unpacking the screens ask whether the archive needs a password; that may read a
// large archive through an outside tool, so it runs on a worker of its own behind the overlay
// too (`checkNeedPassword`), never waiting for the packing and unpacking queued here.
//
// The queue is busy from the first check or job until the last one's answer or `finished` has
// run on the main thread; `idle` says when that ends, so whoever waits for the screens to
// settle (a screenshot) knows when to look.
//
// Quitting (`finishForQuit`) never leaves a destination half merged: an unpacking already
// moving its content into the destination is left to end, under "Finishing…"; everything
// else stops as a cancel stops it. At the process's end (the queue's destruction) the running
// job is cancelled and the waiting ones dropped; a job still running then holds only the state
// it shares with the queue, never the queue itself.
//
// Thread-safety: main thread only, except `cancelAll` (any thread) and the `jobStarted` and
// `jobEnded` signals, which are emitted on the queue's thread (connect directly to record
// them; they are for observers that must see the order in which jobs ran).
class CompressQueue : public QObject {
    Q_OBJECT

public:
    static inline const QString label = QStringLiteral("kCompressQueueLabel");
    static inline const QString errorDomain = QStringLiteral("CompressQueue");
    enum ErrorCode { FailedWithoutReason = 1 };

    static CompressQueue *shared();

    // Runs on the queue's thread with a progress delegate for the engine; returns whether it
    // did its work, leaving the engine's error in the slot when not. A job that fails without
    // an error and without a cancel ends with `FailedWithoutReason`.
    using Job = std::function<bool(ArchiveProgressDelegate *progress, Error *error)>;
    // On the main thread when the job is over; `error` is unset after a success.
    using Finished = std::function<void(const Error &error)>;

    void enqueue(const QString &status, Job job, Finished finished);

    // Asks the engine on a worker whether the archive needs a password; `answered` gets the
    // answer (and the engine's error when the archive can't be read: a missing file, no
    // archive kind) on the main thread, unless a cancel came first.
    void checkNeedPassword(const QString &archivePath,
                           std::function<void(bool needed, const Error &error)> answered);

    // What the overlay's "Cancel" does.
    void cancelAll();

    // Stops the work for a quit: checks, queued jobs and the running one are cancelled, but a
    // running unpacking that moves its content into the destination ends its move; work queued
    // later never starts. The overlay says "Finishing…", without Cancel, while a job runs.
    // `done` runs on the main thread once no job runs, with the status of each job that
    // ended cut short or never started; the queue then works as before.
    void finishForQuit(std::function<void(const QStringList &cutShort)> done);

    bool isBusy() const { return m_pending > 0; }

signals:
    void idle();
    void jobStarted(const QString &status);
    void jobEnded(const QString &status);

private:
    // What the jobs on the queue's thread share with the queue; it outlives the queue while
    // a job runs.
    struct Shared;

    CompressQueue();
    ~CompressQueue() override;
    void addPending();
    // On the main thread: the job `status` started, or is over (`ran`: it started at all).
    void jobRunning(const QString &status);
    void jobOver(const QString &status, bool ran, const Error &error, const Finished &finished);
    static Error failedWithoutReason(const QString &status);
    // Counts one piece of work out, runs its completion `then`, and says when all is done.
    void removePending(const std::function<void()> &then);
    // The overlay tells what runs: the running job, else a check, else the next job queued.
    void showStatus();
    bool isCancelledSince(quint64 generation) const;
    // Hands the quit's waiter what was cut short; the queue works as before afterwards.
    void endQuit();

    DispatchQueue m_queue{label};
    DispatchQueue m_checkQueue{QStringLiteral("kCompressQueueLabel.passwordCheck")};
    std::shared_ptr<Shared> m_shared;
    // Main thread only.
    int m_pending = 0;
    int m_jobs = 0; // queued or running
    QStringList m_cutShort;
    std::function<void(const QStringList &)> m_whenQuit;
    QString m_running;
    QStringList m_waiting; // in queue order
    QStringList m_checking;
};
