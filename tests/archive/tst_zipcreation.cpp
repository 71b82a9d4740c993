#include "ArchiveFixtures.h"
#include "ArchiverManager.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace ArchiveFixtures;

// Zips the engine packs: large selections whole, what can't be packed refused, links kept or
// resolved; the peers' tools read what it wrote.
class TestZipCreation : public QObject {
    Q_OBJECT

private slots:
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
        VERIFY_OK(unpack(zip, dest, password));
        QCOMPARE(tree(dest + "/Big"), tree(src));
        QCOMPARE(readFile(dest + "/Big/d3/f199.txt"), text.left(199 * 997));
        QCOMPARE(readFile(dest + "/Big/large.bin"), QByteArray(48 << 20, 'x'));
        QCOMPARE(readFile(dest + "/Big/noise.bin"), noise(1 << 20));
        QCOMPARE(run(dir.path(), "7zz", {"t", "-p" + password, zip}), 0); // a peer agrees
    }

    // Fifos, sockets and devices are never opened (a fifo would block for ever): selected or
    // found inside a folder, each fails the packing, naming it, as does a missing item; the
    // zip there is left whole though replacing it was asked for.
    void itemsThatCantBePackedFailThePacking_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("message"); // how it begins
        const QString special = "” can't be packed: it is a fifo";
        QTest::newRow("fifo selected") << "s/fifo"
                                       << "“fifo" + special;
        QTest::newRow("fifo inside") << "s"
                                     << "“s/fifo" + special;
        QTest::newRow("socket inside") << "t"
                                       << "“t/sock" + special;
        QTest::newRow("device") << "/dev/null"
                                << "“null" + special;
        QTest::newRow("missing") << "missing"
                                 << "“missing” can't be packed";
    }
    void itemsThatCantBePackedFailThePacking()
    {
        QFETCH(QString, item);
        QFETCH(QString, message);
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
        QVERIFY2(error.message.startsWith(message), qPrintable(error.message));
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
        VERIFY_OK(unpack(zip, dir.filePath("out")));
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
};

QTEST_GUILESS_MAIN(TestZipCreation)
#include "tst_zipcreation.moc"
