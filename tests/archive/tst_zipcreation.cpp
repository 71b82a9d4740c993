#include "ArchiveFixtures.h"
#include "ArchiverManager.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace ArchiveFixtures;

class TestZipCreation : public QObject {
    Q_OBJECT
    QTemporaryDir work;

private slots:
    void packsAndReadsBack()
    {
        writeFile(work.filePath("in/doc.txt"), "hello");
        writeFile(work.filePath("in/Folder/deep.bin"), noise(5000));
        QDir().mkpath(work.filePath("in/Folder/empty"));
        const QString zip = work.filePath("out.zip");
        Error error;
        ArchiverManager::compressZipAtPaths(
            {work.filePath("in/doc.txt"), work.filePath("in/Folder")}, zip, {}, &error);
        QVERIFY2(!error.isSet(), qPrintable(error.message));
        QByteArray listing;
        QCOMPARE(run(work.path(), "unzip", {"-Z1", zip}, {}, &listing), 0);
        const QStringList names = QString::fromUtf8(listing).split('\n', Qt::SkipEmptyParts);
        QVERIFY(names.contains("doc.txt"));
        QVERIFY(names.contains("Folder/deep.bin"));
        QVERIFY(names.contains("Folder/empty/.DS_Store")); // the empty folder's placeholder
        QVERIFY(!ArchiverManager::checkNeedPassword(zip));
    }

    void passwordMakesEveryEntryEncrypted()
    {
        writeFile(work.filePath("p/a.txt"), "secret");
        const QString zip = work.filePath("p.zip");
        QVERIFY(ArchiverManager::createZipFileAtPath(zip, {work.filePath("p/a.txt")}, "pw"));
        QVERIFY(ArchiverManager::checkNeedPassword(zip));
        QByteArray out;
        QCOMPARE(run(work.path(), "7zz", {"x", "-so", "-ppw", zip}, {}, &out), 0);
        QCOMPARE(out, QByteArray("secret"));
    }

    void refusesBadTargetsAndLeavesOldZipWhole()
    {
        writeFile(work.filePath("t/a.txt"), "a");
        Error error;
        QVERIFY(!ArchiverManager::createZipFileAtPath(work.filePath("t"),
                                                      {work.filePath("t/a.txt")}, {}, &error));
        QCOMPARE(error.code, 108);
        error = {};
        QVERIFY(!ArchiverManager::createZipFileAtPath(work.filePath("t/a.txt"),
                                                      {work.filePath("t/a.txt")}, {}, &error));
        QCOMPARE(error.code, 108);
        QCOMPARE(readFile(work.filePath("t/a.txt")), QByteArray("a"));
        // A failed write (a missing item) never replaces the zip already there.
        writeFile(work.filePath("old.zip"), "previous");
        QVERIFY(!ArchiverManager::createZipFileAtPath(work.filePath("old.zip"),
                                                      {work.filePath("missing")}, {}, &error));
        QCOMPARE(readFile(work.filePath("old.zip")), QByteArray("previous"));
    }
};

QTEST_GUILESS_MAIN(TestZipCreation)
#include "tst_zipcreation.moc"
