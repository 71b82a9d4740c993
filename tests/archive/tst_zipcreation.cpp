#include "ArchiveFixtures.h"
#include "ArchiverManager.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

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
        QVERIFY(ArchiverManager::compressZipAtPaths({work.filePath("p/a.txt")}, zip, "pw"));
        QVERIFY(ArchiverManager::checkNeedPassword(zip));
        QByteArray out;
        QCOMPARE(run(work.path(), "7zz", {"x", "-so", "-ppw", zip}, {}, &out), 0);
        QCOMPARE(out, QByteArray("secret"));
    }

    // Many files deflated ahead on workers, one larger than what may wait in memory, come out
    // whole and in the order they were found, with and without a password; data that doesn't
    // shrink is stored rather than grown.
    void packsLargeSelectionsWhole_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("plain") << "";
        QTest::newRow("AES-256") << "pässword";
    }
    void packsLargeSelectionsWhole()
    {
        QFETCH(QString, password);
        QTemporaryDir dir;
        const QString src = dir.filePath("Big");
        QByteArray text;
        for (int i = 0; text.size() < 3 << 20; ++i)
            text += "line " + QByteArray::number(i) + " of a text that compresses well\n";
        for (int i = 0; i < 200; ++i)
            writeFile(src + QString("/d%1/f%2.txt").arg(i % 7).arg(i), text.left(i * 997));
        writeFile(src + "/large.bin", QByteArray(48 << 20, 'x'));
        writeFile(src + "/noise.bin", noise(1 << 20));
        const QString zip = dir.filePath("big.zip");
        RecordingDelegate delegate;
        Error error;
        QVERIFY2(ArchiverManager::compressZipAtPaths({src}, zip, password, &error, &delegate),
                 qPrintable(error.message));
        QVERIFY(std::any_of(
            delegate.reports.begin(), delegate.reports.end(),
            [](const ArchiveProgress &p) { return p.currentEntry.startsWith("Big/"); }));
        QByteArray listing;
        QCOMPARE(run(dir.path(), "7zz", {"l", "-slt", "-p" + password, zip}, {}, &listing), 0);
        QVERIFY(
            listing.contains("Path = Big/noise.bin\nFolder = -\nSize = 1048576\nPacked Size = "));
        const auto packed = listing.mid(listing.indexOf("Path = Big/noise.bin")).split('\n')[3];
        QVERIFY2(packed.mid(14).toLongLong() < (1 << 20) + 1024, packed.constData());
        const QString dest = dir.filePath("out");
        QVERIFY2(ArchiverManager::decompressAtPath(zip, dest, password, &error),
                 qPrintable(error.message));
        QCOMPARE(tree(dest + "/Big"), tree(src));
        QCOMPARE(readFile(dest + "/Big/d3/f199.txt"), text.left(199 * 997));
        QCOMPARE(readFile(dest + "/Big/large.bin"), QByteArray(48 << 20, 'x'));
        QCOMPARE(readFile(dest + "/Big/noise.bin"), noise(1 << 20));
        QCOMPARE(run(dir.path(), "7zz", {"t", "-p" + password, zip}), 0); // a peer agrees
    }

    // Fifos, sockets and devices are never opened (a fifo would block for ever): selected or
    // found inside a folder, each fails the packing, naming it, the old zip left whole.
    void specialFilesFailThePacking_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("named");
        QTest::newRow("fifo selected") << "s/fifo"
                                       << "fifo";
        QTest::newRow("fifo inside") << "s"
                                     << "s/fifo";
        QTest::newRow("socket inside") << "t"
                                       << "t/sock";
        QTest::newRow("device") << "/dev/null"
                                << "null";
    }
    void specialFilesFailThePacking()
    {
        QFETCH(QString, item);
        QFETCH(QString, named);
        QTemporaryDir dir;
        writeFile(dir.filePath("s/a.txt"), "a");
        QCOMPARE(run(dir.path(), "mkfifo", {"s/fifo"}), 0);
        writeFile(dir.filePath("t/b.txt"), "b");
        QCOMPARE(python(dir.path(), "import socket\n"
                                    "socket.socket(socket.AF_UNIX).bind('t/sock')\n"),
                 0);
        writeFile(dir.filePath("old.zip"), "previous");
        Error error;
        QVERIFY(!ArchiverManager::compressZipAtPaths({QDir(dir.path()).filePath(item)},
                                                     dir.filePath("old.zip"), {}, &error, nullptr,
                                                     ZipTarget::Existing::Replace));
        QCOMPARE(error.code, 111);
        QVERIFY2(error.message.startsWith("“" + named + "” can't be packed: it is a fifo"),
                 qPrintable(error.message));
        QCOMPARE(readFile(dir.filePath("old.zip")), QByteArray("previous"));
    }

    // Links to what is packed stay links. A link to a file elsewhere is packed as that file:
    // kept, it would unpack dangling, or be refused as pointing out (by our own unpacker too).
    // A link to a folder or to nothing elsewhere fails the zip, naming it.
    void linksPointingOutArePackedAsTheirFiles()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("F/sub/x.txt"), "inner");
        writeFile(dir.filePath("outside.txt"), "outside");
        QVERIFY(QFile::link("sub/x.txt", dir.filePath("F/in")));
        QVERIFY(QFile::link("missing", dir.filePath("F/dangling")));
        QVERIFY(QFile::link("../outside.txt", dir.filePath("F/up")));
        QVERIFY(QFile::link(dir.filePath("outside.txt"), dir.filePath("F/absolute")));
        const QString zip = dir.filePath("f.zip");
        Error error;
        QVERIFY2(ArchiverManager::compressZipAtPaths({dir.filePath("F")}, zip, {}, &error),
                 qPrintable(error.message));
        QVERIFY2(ArchiverManager::decompressAtPath(zip, dir.filePath("out"), {}, &error),
                 qPrintable(error.message));
        QCOMPARE(tree(dir.filePath("out")),
                 (QStringList{"F/", "F/absolute", "F/dangling -> F/missing", "F/in -> F/sub/x.txt",
                              "F/sub/", "F/sub/x.txt", "F/up"}));
        QCOMPARE(readFile(dir.filePath("out/F/absolute")), QByteArray("outside"));
        QCOMPARE(readFile(dir.filePath("out/F/up")), QByteArray("outside"));

        for (const QString &target : {dir.path(), QString("/nowhere/at/all")}) {
            QFile::remove(dir.filePath("F/bad"));
            QVERIFY(QFile::link(target, dir.filePath("F/bad")));
            QVERIFY(!ArchiverManager::compressZipAtPaths({dir.filePath("F")},
                                                         dir.filePath("bad.zip"), {}, &error));
            QCOMPARE(error.code, 111);
            QVERIFY2(error.message.startsWith("“F/bad” can't be packed: it is a link to “" +
                                              target + "”"),
                     qPrintable(error.message));
            QVERIFY(!QFileInfo::exists(dir.filePath("bad.zip")));
        }
    }

    void refusesBadTargetsAndLeavesOldZipWhole()
    {
        writeFile(work.filePath("t/a.txt"), "a");
        Error error;
        QVERIFY(!ArchiverManager::compressZipAtPaths({work.filePath("t/a.txt")},
                                                     work.filePath("t"), {}, &error));
        QCOMPARE(error.code, 108);
        error = {};
        QVERIFY(!ArchiverManager::compressZipAtPaths({work.filePath("t/a.txt")},
                                                     work.filePath("t/a.txt"), {}, &error));
        QCOMPARE(error.code, 108);
        QCOMPARE(readFile(work.filePath("t/a.txt")), QByteArray("a"));
        // A taken name is refused unless replacing was asked for; a failed write (a missing
        // item) never replaces the zip already there.
        writeFile(work.filePath("old.zip"), "previous");
        QVERIFY(!ArchiverManager::compressZipAtPaths({work.filePath("t/a.txt")},
                                                     work.filePath("old.zip"), {}, &error));
        QCOMPARE(error.code, 108);
        QVERIFY(!ArchiverManager::compressZipAtPaths({work.filePath("missing")},
                                                     work.filePath("old.zip"), {}, &error, nullptr,
                                                     ZipTarget::Existing::Replace));
        QCOMPARE(error.code, 111);
        QCOMPARE(readFile(work.filePath("old.zip")), QByteArray("previous"));
    }
};

QTEST_GUILESS_MAIN(TestZipCreation)
#include "tst_zipcreation.moc"
