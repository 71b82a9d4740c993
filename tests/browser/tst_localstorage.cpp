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

namespace {

class CountingScreen : public LocalStorageViewController {
public:
    using LocalStorageViewController::LocalStorageViewController;
    int requests = 0;
    void requestItemsForFilePath(KPDocumentPickerViewController *picker, const QString &path,
                                 std::function<void(const KPDocumentPickerItems &)> done) override
    {
        ++requests;
        LocalStorageViewController::requestItemsForFilePath(picker, path, std::move(done));
    }
};

} // namespace

class TestLocalStorage : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;

private slots:
    void initTestCase()
    {
        AppDirectories::useRoot(m_root.path());
        QVERIFY(QDir().mkpath(Utils::documentsPath() + "/A"));
    }

    void firstAppearanceListsTwiceAndEveryReturnAgain()
    {
        auto *root = new CountingScreen(QStringLiteral("/"));
        NavigationController navigation(root);
        navigation.beginAppearanceTransition(true, false);
        navigation.endAppearanceTransition();
        QCOMPARE(root->requests, 2);
        QCOMPARE(root->title(), QStringLiteral("Documents"));
        QVERIFY(!navigation.isToolbarHidden());
        QCOMPARE(root->backButtonTitle(), QString(""));
        QTRY_VERIFY(root->loadingView() == nullptr);
        root->tableView()->tapFlatRow(0); // the folder A
        QCOMPARE(navigation.viewControllers().size(), 2);
        navigation.popViewController(false);
        QCOMPARE(root->requests, 3);
    }

    void onlyTheVisibleScreenHearsOfMoves()
    {
        auto *center = NotificationCenter::defaultCenter();
        auto *root = new CountingScreen(QStringLiteral("/"));
        NavigationController navigation(root);
        navigation.beginAppearanceTransition(true, false);
        navigation.endAppearanceTransition();
        QTRY_VERIFY(root->loadingView() == nullptr);
        QCOMPARE(center->observerCount("localMove"), 1);
        root->tableView()->tapFlatRow(0); // A: it listens, the root no longer does
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
