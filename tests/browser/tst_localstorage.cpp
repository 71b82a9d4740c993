// The listing screen's own life cycle, driven without a window on a real home folder.
#include "AppDirectories.h"
#include "LocalStorageViewController.h"
#include "NavigationController.h"
#include "NotificationCenter.h"
#include "ProgressOverlay.h"
#include "Utils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLocalStorage : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;

private slots:
    void initTestCase()
    {
        AppDirectories::useRoot(m_root.path());
        QVERIFY(QDir().mkpath(Utils::documentsPath() + "/A"));
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
        QFile file(Utils::documentsPath() + "/x.txt");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        center->post("localMove", QVariantMap{{"dist", "/A"}, {"source", QStringList{file.fileName()}}});
        QTRY_VERIFY(!ProgressOverlay::shared()->isVisible());
        QVERIFY(QFileInfo::exists(Utils::documentsPath() + "/A/x.txt"));
    }
};

QTEST_MAIN(TestLocalStorage)
#include "tst_localstorage.moc"
