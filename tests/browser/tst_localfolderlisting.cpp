#include "HomePaths.h"
#include "ListingScreenFixture.h"
#include "LocalFolderListing.h"

class TestLocalFolderListing : public QObject {
    Q_OBJECT
    QTemporaryDir root;

private slots:
    void initTestCase()
    {
        useTestRoot(root);
        QVERIFY(QDir().mkpath(home() + "/Books/Comics"));
    }

    void listsVisibleEntriesWithTheirAttributes()
    {
        makeFile(home() + "/Books/a.txt", QByteArray(3, 'x'));
        makeFile(home() + "/Books/b.bin", QByteArray(1200, 'x'));
        makeFile(home() + "/Books/.DS_Store");
        makeFile(home() + "/Books/.hidden");
        QVERIFY(QFile::link(home() + "/Books/Comics", home() + "/Books/link"));
        const auto items = LocalFolderListing::itemsInFolder(HomePaths::diskPath("/Books"));
        QMap<QString, KPDocumentPickerItemPtr> byName;
        for (const auto &item : items)
            byName.insert(item->fileName, item);
        QCOMPARE(byName.keys(), QStringList({"Comics", "a.txt", "b.bin", "link"}));
        QVERIFY(byName["Comics"]->isFolder);
        QCOMPARE(byName["Comics"]->fileSize, 0u);
        QCOMPARE(byName["a.txt"]->fileSize, 3u);
        QCOMPARE(byName["b.bin"]->fileSize, 1200u);
        QVERIFY(!byName["link"]->isFolder); // a link is not followed
        for (const auto &item : items)
            QVERIFY(item->lastModifiedDate.isValid());
    }

    void missingFolderListsEmpty()
    {
        QVERIFY(LocalFolderListing::itemsInFolder(HomePaths::diskPath("/nowhere")).isEmpty());
    }

    void titles()
    {
        QCOMPARE(LocalFolderListing::titleForFilePath("/"), QStringLiteral("Documents"));
        QCOMPARE(LocalFolderListing::titleForFilePath(""), QStringLiteral("Documents"));
        QCOMPARE(LocalFolderListing::titleForFilePath("/Books/Comics"), QStringLiteral("Comics"));
    }
};

QTEST_GUILESS_MAIN(TestLocalFolderListing)
#include "tst_localfolderlisting.moc"
