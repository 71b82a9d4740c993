#include "ArchiveFixtures.h"
#include "ArchiverManager.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace ArchiveFixtures;

// Extraction of archives made by the real tools, each kind through the one entry point.
class TestExtraction : public QObject {
    Q_OBJECT
    QTemporaryDir work;

    // A source folder with a file, a nested file and an empty folder.
    QString makeSource()
    {
        const QString src = work.filePath("src");
        writeFile(src + "/a.txt", "alpha");
        writeFile(src + "/sub/b.bin", noise(70000));
        QDir().mkpath(src + "/empty");
        return src;
    }

private slots:
    void eachKindExtracts_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("zip") << "t.zip"
                             << "zip" << QStringList{"-qr", "../t.zip", "."} << QByteArray();
        QTest::newRow("cbz") << "t.cbz"
                             << "zip" << QStringList{"-qr", "../t.cbz", "."} << QByteArray();
        QTest::newRow("7z") << "t.7z"
                            << "7zz" << QStringList{"a", "-bd", "../t.7z", "."} << QByteArray();
        QTest::newRow("tar") << "t.tar"
                             << "bsdtar" << QStringList{"-cf", "../t.tar", "."} << QByteArray();
        QTest::newRow("encrypted zip")
            << "e.zip"
            << "zip" << QStringList{"-qr", "-P", "pw", "../e.zip", "."} << QByteArray("pw");
        QTest::newRow("encrypted 7z")
            << "e.7z"
            << "7zz" << QStringList{"a", "-bd", "-ppw", "../e.7z", "."} << QByteArray("pw");
    }
    void eachKindExtracts()
    {
        QFETCH(QString, archive);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        const QString src = makeSource();
        QCOMPARE(run(src, program, arguments), 0);
        const QString path = work.filePath(archive);
        const QString password = QString::fromUtf8(input);
        QCOMPARE(ArchiverManager::checkNeedPassword(path), !password.isEmpty());
        const QString dest = work.filePath("out-" + archive);
        Error error;
        if (!password.isEmpty()) {
            QVERIFY(!ArchiverManager::decompressAtPath(path, dest, "wrong", &error));
            QCOMPARE(error.code, 101);
            QVERIFY(!QFileInfo::exists(dest + "/a.txt")); // nothing half-written
            error = {};
        }
        QVERIFY2(ArchiverManager::decompressAtPath(path, dest, password, &error),
                 qPrintable(error.message));
        QCOMPARE(readFile(dest + "/a.txt"), QByteArray("alpha"));
        QCOMPARE(readFile(dest + "/sub/b.bin"), noise(70000));
    }

    void existingFilesAreReplacedOthersKept()
    {
        const QString src = makeSource();
        QCOMPARE(run(src, "zip", {"-qr", "../m.zip", "."}), 0);
        const QString dest = work.filePath("merge");
        writeFile(dest + "/a.txt", "old");
        writeFile(dest + "/mine.txt", "keep");
        Error error;
        QVERIFY2(ArchiverManager::decompressAtPath(work.filePath("m.zip"), dest, {}, &error),
                 qPrintable(error.message));
        QCOMPARE(readFile(dest + "/a.txt"), QByteArray("alpha"));
        QCOMPARE(readFile(dest + "/mine.txt"), QByteArray("keep"));
    }

    // Entries that would land outside the destination: the archive is refused whole.
    void hostileEntriesAreRefused_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("dot dot") << "import "
                                    "zipfile\nz=zipfile.ZipFile('h.zip','w')\nz.writestr('ok.txt','"
                                    "x')\nz.writestr('../evil.txt','x')";
        QTest::newRow("absolute")
            << "import zipfile\nz=zipfile.ZipFile('h.zip','w')\nz.writestr('/tmp/evil.txt','x')";
        QTest::newRow("backslash dot dot")
            << "import zipfile\nz=zipfile.ZipFile('h.zip','w')\nz.writestr('..\\\\evil.txt','x')";
        QTest::newRow("link out")
            << "import "
               "zipfile\nz=zipfile.ZipFile('h.zip','w')\ni=zipfile.ZipInfo('up')\ni.external_attr=("
               "0o120777<<16)\nz.writestr(i,'..')\nz.writestr('up/evil.txt','x')";
    }
    void hostileEntriesAreRefused()
    {
        QFETCH(QString, script);
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), script), 0);
        const QString dest = dir.filePath("out/inner");
        QDir().mkpath(dest);
        Error error;
        QVERIFY(!ArchiverManager::decompressAtPath(dir.filePath("h.zip"), dest, {}, &error));
        QCOMPARE(error.code, 102);
        QVERIFY(!error.message.isEmpty());
        QCOMPARE(tree(dir.filePath("out")), QStringList{"inner/"});
        QVERIFY(!QFileInfo::exists("/tmp/evil.txt") ||
                QFileInfo("/tmp/evil.txt").lastModified() <
                    QDateTime::currentDateTime().addSecs(-60));
    }

    void damagedArchiveLeavesNothing()
    {
        const QString src = makeSource();
        QCOMPARE(run(src, "7zz", {"a", "-bd", "../d.7z", "."}), 0);
        QFile file(work.filePath("d.7z"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.resize(file.size() / 2);
        file.close();
        const QString dest = work.filePath("damaged");
        Error error;
        QVERIFY(!ArchiverManager::decompressAtPath(work.filePath("d.7z"), dest, {}, &error));
        QVERIFY(!error.message.isEmpty());
        QVERIFY(tree(dest).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestExtraction)
#include "tst_extraction.moc"
