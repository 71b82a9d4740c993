// The shown folder follows changes made on the disk by others, once per burst, keeping what
// the user had: selection, scroll position, search.
#include "ListingScreenFixture.h"
#include "FolderWatch.h"
#include "ProgressOverlay.h"

#include <QElapsedTimer>
#include <QProcess>

class TestLiveFolder : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;

private slots:
    void initTestCase() { useTestRoot(m_root); }
    void init() { freshHome(); }

    void aChangeFromOutsideShowsWithinHalfASecond()
    {
        makeFile(home() + "/a.txt");
        Screen root("/");
        makeFile(home() + "/new.txt");
        QTRY_VERIFY_WITH_TIMEOUT(root.item("new.txt"), 1000);
        QVERIFY(QFile::remove(home() + "/a.txt"));
        QTRY_VERIFY_WITH_TIMEOUT(!root.item("a.txt"), 1000);
        // Hidden, it watches nothing; shown again it lists anyway.
        root.screen->beginAppearanceTransition(false, false);
        root.screen->endAppearanceTransition();
        const int relists = root.screen->liveRelistCount();
        makeFile(home() + "/unseen.txt");
        QTest::qWait(600);
        QCOMPARE(root.screen->liveRelistCount(), relists);
    }

    void aBurstIsListedAFewTimesKeepingSelectionScrollAndSearch()
    {
        for (int i = 0; i < 40; ++i)
            makeFile(home() + QStringLiteral("/keep %1.txt").arg(i));
        Screen root("/");
        auto *table = root.screen->tableView();
        const int reloads = table->reloadCount();
        root.screen->itemManager()->setSearchString("keep");
        QTRY_VERIFY(table->reloadCount() > reloads);
        root.select({"keep 3.txt", "keep 7.txt"});
        table->setContentOffsetY(300);
        const double offset = table->contentOffsetY();
        const int before = root.screen->liveRelistCount();
        QElapsedTimer burst;
        burst.start();
        QProcess maker;
        maker.start("python3", {"-c",
                                "import os, sys\n"
                                "for i in range(10000):\n"
                                "    open(os.path.join(sys.argv[1], 'made %05d' % i), 'w').close()\n",
                                home()});
        QVERIFY(maker.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(maker.state(), QProcess::NotRunning, 60000);
        QCOMPARE(maker.exitCode(), 0);
        const qint64 burstMs = burst.elapsed();
        QTRY_COMPARE_WITH_TIMEOUT(root.screen->items().size(), 10040, 5000);
        QTest::qWait(2 * FolderWatch::interval + 400); // the last relisting delivered
        const int relists = root.screen->liveRelistCount() - before;
        qInfo("10,000 files created in %lld ms: %d relistings", burstMs, relists);
        // At most one a clock's turn while it lasts (a listing in flight delays the next), and
        // the one after it.
        QVERIFY2(relists >= 1 && relists <= burstMs / FolderWatch::interval + 2,
                 qPrintable(QString::number(relists)));
        QVERIFY(root.screen->isEditing());
        QStringList selected;
        for (const auto &item : root.screen->selectedItems())
            selected.append(item->fileName);
        selected.sort();
        QCOMPARE(selected, (QStringList{"keep 3.txt", "keep 7.txt"}));
        QCOMPARE(table->contentOffsetY(), offset);
        QCOMPARE(root.screen->itemManager()->searchString(), QStringLiteral("keep"));
    }

    // A job behind the overlay changes the folder as it goes: the screen lists it once after.
    void changesDuringAFileJobAreListedOnceAfterIt()
    {
        Screen root("/");
        const int before = root.screen->liveRelistCount();
        ProgressOverlay::shared()->show(QStringLiteral("Working..."), false);
        for (int i = 0; i < 3; ++i) {
            makeFile(home() + QStringLiteral("/made %1.txt").arg(i));
            QTest::qWait(FolderWatch::interval + 100);
        }
        QCOMPARE(root.screen->liveRelistCount(), before);
        ProgressOverlay::shared()->dismiss();
        QTRY_COMPARE(root.screen->items().size(), 3);
        QCOMPARE(root.screen->liveRelistCount(), before + 1);
    }

    // Unwatched while a job runs, the folder is watched again once it ends.
    void theFolderIsWatchedAgainAfterAFileJob()
    {
        QDir(home()).removeRecursively();
        QVERIFY(QDir().mkpath(home()));
        Screen root("/");
        ProgressOverlay::shared()->show(QStringLiteral("Working..."), false);
        ProgressOverlay::shared()->dismiss();
        QTRY_VERIFY(!root.screen->hasListingInFlight());
        makeFile(home() + "/after.txt");
        QTRY_COMPARE(root.names(), QStringList{"after.txt"});
    }
};

QTEST_MAIN(TestLiveFolder)
#include "tst_livefolder.moc"
