#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <functional>

// A labelled serial queue: work items run one at a time, in the order given, on one thread of
// the queue's own. The main queue is Qt's event loop on the main thread; see `main()` and
// `mainAfter()`.
//
// Work on a queue gets plain values and hands results back with `main()`, never touching
// controllers or views itself.
//
// Thread-safety: `async` and `after` may be called from any thread. The destructor runs the
// work already queued to its end, then stops the thread; call it from another thread than the
// queue's own.
class DispatchQueue {
public:
    explicit DispatchQueue(const QString &label);
    ~DispatchQueue();
    DispatchQueue(const DispatchQueue &) = delete;
    DispatchQueue &operator=(const DispatchQueue &) = delete;

    QString label() const { return m_thread.objectName(); }

    void async(std::function<void()> work);
    void after(double seconds, std::function<void()> work);

    // Whether the calling code runs on this queue.
    bool isCurrent() const { return QThread::currentThread() == &m_thread; }

    // Runs `work` on the main thread's event loop, later, unless `context` is gone by then.
    static void main(QObject *context, std::function<void()> work);
    // Runs `work` on the main thread after `seconds`, unless `context` is gone by then.
    static void mainAfter(double seconds, QObject *context, std::function<void()> work);

private:
    QThread m_thread;
    QObject *m_worker; // lives in m_thread; deleted there when the thread finishes
};
