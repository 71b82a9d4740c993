#include "DispatchQueue.h"

#include <QCoreApplication>
#include <QTest>
#include <QThreadPool>
#include <atomic>
#include <future>
#include <memory>

class TestDispatchQueue : public QObject {
    Q_OBJECT

private slots:
    void runsInOrderOnAPoolThreadUnderItsLabel()
    {
        DispatchQueue queue(QStringLiteral("test.queue"));
        QCOMPARE(queue.label(), QStringLiteral("test.queue"));
        QList<int> order;
        std::atomic<int> done = 0;
        std::atomic<bool> sawMainThread = false, lostItsLabel = false;
        for (int i = 0; i < 100; ++i)
            queue.async([&, i] {
                order.append(i); // never two at once, so no lock
                sawMainThread = sawMainThread || (QThread::currentThread() == QCoreApplication::instance()->thread());
                lostItsLabel = lostItsLabel || !queue.isCurrent() ||
                               DispatchQueue::currentLabel() != QLatin1String("test.queue");
                ++done;
            });
        QTRY_COMPARE(done.load(), 100);
        QVERIFY(std::is_sorted(order.begin(), order.end()));
        QVERIFY(!sawMainThread);
        QVERIFY(!lostItsLabel);
        QVERIFY(!queue.isCurrent());
        QCOMPARE(DispatchQueue::currentLabel(), QString());
    }

    // Many queues, as a deep stack of screens has: each stays serial.
    void manyQueuesShareThePoolAndEachStaysSerial()
    {
        std::vector<std::unique_ptr<DispatchQueue>> queues;
        std::vector<std::unique_ptr<std::atomic<int>>> running;
        std::atomic<int> done = 0;
        std::atomic<bool> overlapped = false;
        for (int q = 0; q < 40; ++q) {
            queues.push_back(std::make_unique<DispatchQueue>(QStringLiteral("q%1").arg(q)));
            running.push_back(std::make_unique<std::atomic<int>>(0));
            for (int i = 0; i < 20; ++i)
                queues.back()->async([&, counter = running.back().get()] {
                    overlapped = overlapped || ++*counter > 1;
                    QThread::usleep(100);
                    --*counter;
                    ++done;
                });
        }
        QTRY_COMPARE(done.load(), 800);
        QVERIFY(!overlapped);
    }

    // A closing screen's queue: gone at once, its running work finishes, its waiting work never
    // runs.
    void destroyingNeverWaitsAndDropsWhatHasNotStarted()
    {
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        std::atomic<bool> started = false, finished = false, laterRan = false;
        auto queue = std::make_unique<DispatchQueue>(QStringLiteral("test.closing"));
        queue->async([&, released] {
            started = true;
            released.wait();
            finished = true;
        });
        queue->async([&] { laterRan = true; });
        QTRY_VERIFY(started);
        queue.reset(); // returns although the first item is still blocked
        QVERIFY(!finished);
        release.set_value();
        QTRY_VERIFY(finished);
        QVERIFY(DispatchQueue::pool().waitForDone(5000));
        QVERIFY(!laterRan);
    }

    void resultsComeBackOnMainUnlessContextIsGone()
    {
        DispatchQueue queue(QStringLiteral("test.queue"));
        QObject receiver;
        auto dropped = std::make_unique<QObject>();
        bool delivered = false, droppedRan = false;
        std::atomic<bool> posted = false;
        QThread *deliveredOn = nullptr;
        queue.async([&, droppedContext = QPointer<QObject>(dropped.get())] {
            DispatchQueue::main(&receiver, [&] {
                delivered = true;
                deliveredOn = QThread::currentThread();
            });
            DispatchQueue::main(droppedContext, [&] { droppedRan = true; });
            posted = true;
        });
        while (!posted) // without running the event loop, so nothing is delivered yet
            QThread::yieldCurrentThread();
        dropped.reset();
        QTRY_VERIFY(delivered);
        QCOMPARE(deliveredOn, QThread::currentThread());
        QCoreApplication::sendPostedEvents(); // the second was posted after the first
        QVERIFY(!droppedRan);
    }

    void delaysWaitAtLeastTheirTime()
    {
        QObject context;
        QElapsedTimer clock;
        clock.start();
        qint64 mainElapsed = -1;
        std::atomic<qint64> queueElapsed = -1;
        DispatchQueue::mainAfter(0.2, &context, [&] { mainElapsed = clock.elapsed(); });
        DispatchQueue queue(QStringLiteral("test.queue"));
        queue.after(0.05, [&] { queueElapsed = clock.elapsed(); });
        QTRY_VERIFY(mainElapsed >= 0);
        QVERIFY(mainElapsed >= 199);
        QTRY_VERIFY(queueElapsed >= 49);
    }

    // Last: it ends every queue of the process.
    void stopAllDropsWaitingWorkAndWaitsForRunningWork()
    {
        DispatchQueue queue(QStringLiteral("test.stop"));
        std::atomic<bool> started = false, finished = false, laterRan = false;
        queue.async([&] {
            started = true;
            QThread::msleep(100);
            finished = true;
        });
        queue.async([&] { laterRan = true; });
        QTRY_VERIFY(started);
        QVERIFY(DispatchQueue::stopAll(5000));
        QVERIFY(finished);
        queue.async([&] { laterRan = true; });
        QVERIFY(DispatchQueue::pool().waitForDone(5000));
        QVERIFY(!laterRan);
    }
};

QTEST_GUILESS_MAIN(TestDispatchQueue)
#include "tst_dispatchqueue.moc"
