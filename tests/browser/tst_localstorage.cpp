// The listing screen's own life cycle, driven without a window on a real home folder.
#include "ListingScreenFixture.h"
#include "NotificationCenter.h"

class TestLocalStorage : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;

private slots:
    void initTestCase()
    {
        useTestRoot(m_root);
        QVERIFY(QDir().mkpath(home() + "/A"));
    }

    // The home folder's screen, and moves heard by the one screen in sight alone.
    void theScreenInSightHearsOfMoves()
    {
        auto *center = NotificationCenter::defaultCenter();
        auto *root = new LocalStorageViewController(QStringLiteral("/"));
        NavigationController navigation(root);
        navigation.beginAppearanceTransition(true, false);
        navigation.endAppearanceTransition();
        QCOMPARE(root->title(), QStringLiteral("Documents"));
        QVERIFY(!navigation.isToolbarHidden());
        QCOMPARE(root->backButtonTitle(), QString(""));
        QTRY_VERIFY(root->loadingView() == nullptr);
        QCOMPARE(center->observerCount("localMove"), 1);
        root->tableView()->tapFlatRow(0); // A: it listens, the root no longer does
        QCOMPARE(navigation.viewControllers().size(), 2);
        QCOMPARE(center->observerCount("localMove"), 1);
        navigation.popViewController(false);
        QCOMPARE(center->observerCount("localMove"), 1);
        makeFile(home() + "/x.txt");
        center->post("localMove",
                     QVariantMap{{"dist", "/A"}, {"source", QStringList{home() + "/x.txt"}}});
        QTRY_VERIFY(!ProgressOverlay::shared()->isVisible());
        QVERIFY(QFileInfo::exists(home() + "/A/x.txt"));
    }
};

QTEST_MAIN(TestLocalStorage)
#include "tst_localstorage.moc"
