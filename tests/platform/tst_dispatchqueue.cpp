#include "DispatchQueue.h"

#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <memory>

class TestDispatchQueue : public QObject {
    Q_OBJECT

private slots:
    void runsInOrderOnItsOwnThread()
    {
        QList<int> order;
        QThread *seen = nullptr;
        QString seenLabel;
        {
            DispatchQueue queue(QStringLiteral("test.queue"));
            QCOMPARE(queue.label(), QStringLiteral("test.queue"));
            for (int i = 0; i < 100; ++i)
                queue.async([&, i] {
                    order.append(i);
                    seen = QThread::currentThread();
                    seenLabel = seen->objectName();
                });
        } // the destructor drains the queue
        QCOMPARE(order.size(), 100);
        QVERIFY(std::is_sorted(order.begin(), order.end()));
        QVERIFY(seen && seen != QThread::currentThread());
        QCOMPARE(seenLabel, QStringLiteral("test.queue"));
    }

    void resultsComeBackOnMainUnlessContextIsGone()
    {
        DispatchQueue queue(QStringLiteral("test.queue"));
        QObject receiver;
        auto dropped = std::make_unique<QObject>();
        bool delivered = false, droppedRan = false;
        std::atomic<bool> posted = false;
        QThread *deliveredOn = nullptr;
        queue.async([&, droppedContext = dropped.get()] {
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
        QTest::qWait(20);
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
};

QTEST_GUILESS_MAIN(TestDispatchQueue)
#include "tst_dispatchqueue.moc"
