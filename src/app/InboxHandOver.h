#pragma once

#include "DispatchQueue.h"
#include "Error.h"

#include <QList>
#include <QObject>
#include <QUrl>
#include <functional>

// The hand-over of files from other applications, the part a touch platform does before it
// calls the open-URL entry: each local file is copied into the Documents directory's Inbox
// (InboxCopy) on the serial queue "InboxHandOver.copyQueue", then `open` is called with the
// copy's file URL on the main thread. Anything that is no local file (a web address) goes to
// `open` as it is. The calls keep the order in which the URLs were given, whatever each copy
// takes.
//
// Busy from a hand-over until its last `open` call has returned; `idle` then says so (a
// screenshot waits for it).
//
// Thread-safety: main thread only; `open` and the signals come on the main thread.
class InboxHandOver : public QObject {
    Q_OBJECT

public:
    explicit InboxHandOver(std::function<void(const QUrl &)> open, QObject *parent = nullptr);

    // Takes in the files a run that ended early left in the Inbox, oldest first, before
    // whatever is handed over after this call. Partial copies found there are removed.
    void takeInLeftovers();
    // Hands over each of `urls` in order.
    void handOver(const QList<QUrl> &urls);

    bool isBusy() const { return m_pending > 0; }
    // How many `open` calls were made so far.
    int openedCount() const { return m_opened; }

signals:
    // A file could not be copied into the Inbox; it is skipped, the others go on.
    void failed(const Error &error);
    void idle();

private:
    // Runs `work` on the queue; back on the main thread, in turn, the URLs it gives are opened
    // and its error is told. Busy until then.
    void queue(std::function<QList<QUrl>(Error *)> work);
    void finish(const QList<QUrl> &opened, const Error &error);

    std::function<void(const QUrl &)> m_open;
    DispatchQueue m_queue{QStringLiteral("InboxHandOver.copyQueue")};
    int m_pending = 0;
    int m_opened = 0;
};
