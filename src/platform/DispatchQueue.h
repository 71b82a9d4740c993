#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QThreadPool;

// A labelled serial queue: work items run one at a time, in the order given. A queue holds no
// thread: it is a list of work and a "scheduled" flag, and while it has work one task of the
// process-wide pool (`pool()`) runs it, so a deep stack of screens, each with a queue, costs
// no thread while idle. The main queue is Qt's event loop on the main thread; see `main()` and
// `mainAfter()`.
//
// Work on a queue gets plain values and hands results back with `main()`, never touching
// controllers or views itself. Work may outlive its queue's owner (see the destructor): it
// holds what it uses (shared state, values, `QPointer`s made on the main thread), never a raw
// pointer to its owner.
//
// Thread-safety: every member may be called from any thread. The destructor returns at once:
// work not yet started is dropped, work running finishes on its pool thread.
class DispatchQueue {
public:
    explicit DispatchQueue(const QString &label);
    ~DispatchQueue();
    DispatchQueue(const DispatchQueue &) = delete;
    DispatchQueue &operator=(const DispatchQueue &) = delete;

    QString label() const;

    // Dropped once `stopAll` has run.
    void async(std::function<void()> work);
    // Like `async`, but ahead of the work still waiting: for what the user waits on now.
    void asyncFirst(std::function<void()> work);
    // Queues `work` after `seconds`, timed on the main thread's event loop.
    void after(double seconds, std::function<void()> work);

    // Whether the calling code runs on this queue.
    bool isCurrent() const;
    // The label of the queue the calling code runs on; empty outside any queue.
    static QString currentLabel();

    // Runs `work` on the main thread's event loop, later, unless `context` is gone by then. Off
    // the main thread, pass a `QPointer` made on the main thread when the context may be
    // deleted meanwhile.
    static void main(const QPointer<QObject> &context, std::function<void()> work);
    // Runs `work` on the main thread after `seconds`, unless `context` is gone by then.
    static void mainAfter(double seconds, const QPointer<QObject> &context,
                          std::function<void()> work);
    // A context for `main()` that lives on the main thread as long as the process: for results
    // whose real receiver is checked inside the work (a `QPointer`), so that a result arriving
    // while the application ends has somewhere harmless to go. Callable from any thread.
    static QObject *mainThreadReceiver();

    // For the end of the process, on the main thread: every queue drops the work it has not
    // started and takes no more; waits up to `timeoutMs` for running work to end (0: not at
    // all; a later call may wait again). Returns whether it ended.
    static bool stopAll(int timeoutMs);

    // The threads every queue runs on: at least four, so that a long thumbnail decode and a
    // listing's sort never wait for each other.
    static QThreadPool &pool();

    struct State;

private:
    std::shared_ptr<State> m_state;
};
