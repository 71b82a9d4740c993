#pragma once

#include <QElapsedTimer>
#include <QMutex>
#include <QString>
#include <atomic>

// How far an extraction or a zip creation has come. Totals are 0 when not known in advance
// (a compressed tar is read as a stream: its bytes are then those of the archive file read).
struct ArchiveProgress {
    qint64 bytesDone = 0;
    qint64 bytesTotal = 0;
    qint64 entriesDone = 0;
    qint64 entriesTotal = 0;
    QString currentEntry;
};

// The caller's side of progress and cancellation. The functions are called on the thread
// running the engine, or on one of its worker threads, never two at once; they must return
// quickly. Returning true from isArchiveCancelled stops the work at the next entry or chunk:
// the operation then fails with ArchiveErrors::Cancelled and leaves nothing behind.
//
// An extraction unpacks out of sight first; archiveMovingIn says that it now moves the
// content into the destination (renames only, quick). A cancel from then on undoes the moves.
class ArchiveProgressDelegate {
public:
    virtual ~ArchiveProgressDelegate() = default;
    virtual void archiveProgressChanged(const ArchiveProgress &progress) = 0;
    virtual bool isArchiveCancelled() { return false; }
    virtual void archiveMovingIn() {}
};

// The engine's side: gathers counts from any number of worker threads and passes them on to
// an optional delegate at most every 50 ms (and once at the end). Thread-safe.
class ProgressReporter {
public:
    explicit ProgressReporter(ArchiveProgressDelegate *delegate);

    void setTotals(qint64 bytesTotal, qint64 entriesTotal);
    void entryStarted(const QString &name);
    void entryFinished();
    void addBytes(qint64 bytes);
    void setBytesDone(qint64 bytes); // for readers that only know an absolute position
    // Reports the final state once: everything done (a total not known in advance becomes
    // what was done), so a finished job reads 100% and n of n.
    void finish();

    // Asks the delegate; once true, stays true.
    bool isCancelled();
    // Tells the delegate that the content moves into the destination now.
    void movingIn();

private:
    void report(bool force);

    ArchiveProgressDelegate *m_delegate;
    QMutex m_mutex;
    ArchiveProgress m_progress;
    QElapsedTimer m_sinceReport;
    std::atomic<bool> m_cancelled = false;
};
