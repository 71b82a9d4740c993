#include "AppDirectories.h"
#include "LocalFolderListing.h"
#include "Utils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLocalFolderListing : public QObject {
    Q_OBJECT
    QTemporaryDir root;

    static void write(const QString &path, int bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(bytes, 'x'));
    }

private slots:
    void initTestCase()
    {
        AppDirectories::useRoot(root.path());
        QVERIFY(QDir().mkpath(Utils::documentsPath() + "/Books/Comics"));
    }

    void listsVisibleEntriesWithTheirAttributes()
    {
        const QString home = Utils::documentsPath();
        write(home + "/Books/a.txt", 3);
        write(home + "/Books/b.bin", 1200);
        write(home + "/Books/.DS_Store", 10);
        write(home + "/Books/.hidden", 10);
        QVERIFY(QFile::link(home + "/Books/Comics", home + "/Books/link"));
        const auto items = LocalFolderListing::itemsInFolder(
            LocalFolderListing::folderPathForPickerPath("/Books"));
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
        QVERIFY(LocalFolderListing::itemsInFolder(
                    LocalFolderListing::folderPathForPickerPath("/nowhere"))
                    .isEmpty());
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
