#include "DispatchQueue.h"

#include <QCoreApplication>
#include <QRunnable>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <cmath>
#include <deque>
#include <mutex>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

struct DispatchQueue::State {
    explicit State(const QString &label) : label(label) {}
    const QString label;
    std::mutex mutex; // guards the fields below
    std::deque<std::function<void()>> pending;
    bool scheduled = false; // a pool task runs or will run this queue
    bool closed = false;    // the queue object is gone
};

namespace {

std::atomic<bool> stopping = false;
thread_local const DispatchQueue::State *runningQueue = nullptr;

// Work items one pool task runs before it lets other queues' tasks have the thread.
constexpr int batchSize = 16;

// Debian's Qt is not built with ThreadSanitizer, so it cannot see the locks by which Qt's pool
// and event loop pass work to another thread, and would take every such hand-over for a race.
// These tell it what Qt guarantees: whatever a thread wrote before `handOver(token)` is seen by
// the thread that calls `takeOver(token)` after it. Nothing outside ThreadSanitizer builds.
void handOver([[maybe_unused]] const void *token)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_release(const_cast<void *>(token));
#endif
}

void takeOver([[maybe_unused]] const void *token)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(const_cast<void *>(token));
#endif
}

// Work given to Qt's event loop for the main thread, its hand-over told: the last move is the
// copy Qt keeps and runs. Qt may then destroy that copy on the posting thread, when the main
// thread ran it before the post returned, so the run hands it back too.
template <typename Work>
class HandedOver {
public:
    explicit HandedOver(Work work) : m_work(std::move(work)) { handOver(this); }
    HandedOver(HandedOver &&other) noexcept : m_work(std::move(other.m_work)) { handOver(this); }
    HandedOver(const HandedOver &) = delete;
    HandedOver &operator=(const HandedOver &) = delete;
    HandedOver &operator=(HandedOver &&) = delete;
    ~HandedOver() { takeOver(this); }

    void operator()()
    {
        takeOver(this);
        m_work();
        handOver(this);
    }

private:
    Work m_work;
};

template <typename Work>
void postToMainThread(Work work)
{
    QMetaObject::invokeMethod(DispatchQueue::mainThreadReceiver(),
                              HandedOver<Work>(std::move(work)), Qt::QueuedConnection);
}

int milliseconds(double seconds)
{
    return std::max(0, int(std::lround(seconds * 1000.0)));
}

void schedule(const std::shared_ptr<DispatchQueue::State> &state);

// One pool task: runs up to a batch of the queue's work in order, then hands the thread back.
void drain(const std::shared_ptr<DispatchQueue::State> &state)
{
    runningQueue = state.get();
    for (int done = 0;; ++done) {
        std::function<void()> work;
        {
            std::lock_guard lock(state->mutex);
            if (state->closed || stopping || state->pending.empty()) {
                state->pending.clear();
                state->scheduled = false;
                break;
            }
            if (done == batchSize) {
                runningQueue = nullptr;
                schedule(state); // still marked scheduled: nobody else starts it meanwhile
                return;
            }
            work = std::move(state->pending.front());
            state->pending.pop_front();
        }
        work();
    }
    runningQueue = nullptr;
}

// One pool task draining a queue, made here rather than by Qt so that its hand-over is told.
class DrainTask : public QRunnable {
public:
    explicit DrainTask(std::shared_ptr<DispatchQueue::State> state) : m_state(std::move(state))
    {
        handOver(this);
    }
    // Run and deleted on a pool thread, or deleted unrun by `stopAll` on the main thread.
    ~DrainTask() override { takeOver(this); }

    void run() override
    {
        takeOver(this);
        drain(m_state);
    }

private:
    const std::shared_ptr<DispatchQueue::State> m_state;
};

void schedule(const std::shared_ptr<DispatchQueue::State> &state)
{
    DispatchQueue::pool().start(new DrainTask(state));
}

void enqueue(const std::shared_ptr<DispatchQueue::State> &state, std::function<void()> work,
             bool first = false)
{
    {
        std::lock_guard lock(state->mutex);
        if (stopping || state->closed)
            return;
        if (first)
            state->pending.push_front(std::move(work));
        else
            state->pending.push_back(std::move(work));
        if (state->scheduled)
            return;
        state->scheduled = true;
    }
    schedule(state);
}

} // namespace

DispatchQueue::DispatchQueue(const QString &label) : m_state(std::make_shared<State>(label)) {}

DispatchQueue::~DispatchQueue()
{
    std::lock_guard lock(m_state->mutex);
    m_state->closed = true;
    m_state->pending.clear();
}

QString DispatchQueue::label() const
{
    return m_state->label;
}

void DispatchQueue::async(std::function<void()> work)
{
    enqueue(m_state, std::move(work));
}

void DispatchQueue::asyncFirst(std::function<void()> work)
{
    enqueue(m_state, std::move(work), true);
}

void DispatchQueue::after(double seconds, std::function<void()> work)
{
    std::weak_ptr<State> weakState = m_state;
    mainAfter(seconds, mainThreadReceiver(), [weakState, work = std::move(work)]() mutable {
        if (const auto state = weakState.lock())
            enqueue(state, std::move(work));
    });
}

bool DispatchQueue::isCurrent() const
{
    return runningQueue == m_state.get();
}

QString DispatchQueue::currentLabel()
{
    return runningQueue ? runningQueue->label : QString();
}

void DispatchQueue::main(const QPointer<QObject> &context, std::function<void()> work)
{
    postToMainThread([context, work = std::move(work)] {
        if (context)
            work();
    });
}

// Never deleted, so a worker never posts to an object that may be dying.
QObject *DispatchQueue::mainThreadReceiver()
{
    static QObject *receiver = [] {
        auto *object = new QObject;
        object->moveToThread(QCoreApplication::instance()->thread());
        return object;
    }();
    return receiver;
}

void DispatchQueue::mainAfter(double seconds, const QPointer<QObject> &context,
                              std::function<void()> work)
{
    const int ms = milliseconds(seconds);
    auto start = [context, ms, work = std::move(work)] {
        if (context)
            QTimer::singleShot(ms, context.data(), work);
    };
    // A timer belongs to the thread that starts it: start it on the main thread.
    if (QThread::currentThread() == mainThreadReceiver()->thread())
        start();
    else
        postToMainThread(std::move(start));
}

bool DispatchQueue::stopAll(int timeoutMs)
{
    stopping = true;
    pool().clear();
    return pool().waitForDone(timeoutMs);
}

QThreadPool &DispatchQueue::pool()
{
    static QThreadPool *threads = [] {
        auto *pool = new QThreadPool;
        pool->setMaxThreadCount(std::max(4, QThread::idealThreadCount()));
        return pool;
    }();
    return *threads;
}
