#pragma once

#include "ArchiveProgress.h"
#include "DispatchQueue.h"
#include "Error.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

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
// Thread-safety: main thread only, except `cancelAll` (any thread) and the `jobStarted` and
// `jobEnded` signals, which are emitted on the queue's thread (connect directly to record
// them; they are for observers that must see the order in which jobs ran).
class CompressQueue : public QObject {
    Q_OBJECT

public:
    static inline const QString label = QStringLiteral("kCompressQueueLabel");

    static CompressQueue *shared();

    // Runs on the queue's thread with a progress delegate for the engine; returns whether it
    // did its work, leaving the engine's error in the slot when not.
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

    bool isBusy() const { return m_pending > 0; }

signals:
    void idle();
    void jobStarted(const QString &status);
    void jobEnded(const QString &status);

private:
    CompressQueue();
    void addPending();
    // Counts one piece of work out, runs its completion `then`, and says when all is done.
    void removePending(const std::function<void()> &then);
    // The overlay tells what runs: the running job, else a check, else the next job queued.
    void showStatus();
    bool isCancelledSince(quint64 generation) const { return m_generation.load() != generation; }

    DispatchQueue m_queue{label};
    DispatchQueue m_checkQueue{QStringLiteral("kCompressQueueLabel.passwordCheck")};
    std::atomic<quint64> m_generation = 0; // a cancel moves it on
    // Main thread only.
    int m_pending = 0;
    QString m_running;
    QStringList m_waiting; // in queue order
    QStringList m_checking;
};
