#include "ArchiveFixtures.h"
#include "ArchiverManager.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace ArchiveFixtures;

// What libarchive reads beyond plain archives: large entries streamed, compressed streams told
// by their header, cpio's hard links, gzip's stored names; and names of no kind.
class TestKinds : public QObject {
    Q_OBJECT
    QTemporaryDir work;

private slots:
    // Entries several times larger than what is read ahead (8 MB) arrive whole and in order,
    // with the small ones around them, from a compressed tar and from a 7z.
    void largeEntriesStreamWhole_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("tar.gz") << "big.tar.gz"
                                << "bsdtar" << QStringList{"-czf", "../big.tar.gz", "."};
        QTest::newRow("7z") << "big.7z"
                            << "7zz" << QStringList{"a", "-bd", "-mx=1", "../big.7z", "."};
    }
    void largeEntriesStreamWhole()
    {
        QFETCH(QString, name);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        const QString src = work.filePath("big-src");
        if (!QFileInfo::exists(src)) {
            writeFile(src + "/a.txt", "alpha");
            writeFile(src + "/b/big1.bin", noise(20 << 20, 7));
            writeFile(src + "/b/big2.bin", noise(12 << 20, 8));
            writeFile(src + "/c.txt", "gamma");
        }
        QCOMPARE(run(src, program, arguments), 0);
        const QString dest = work.filePath("out-" + name);
        VERIFY_OK(unpack(work.filePath(name), dest));
        QCOMPARE(tree(dest), (QStringList{"a.txt", "b/", "b/big1.bin", "b/big2.bin", "c.txt"}));
        QVERIFY(readFile(dest + "/b/big1.bin") == noise(20 << 20, 7));
        QVERIFY(readFile(dest + "/b/big2.bin") == noise(12 << 20, 8));
        QCOMPARE(readFile(dest + "/c.txt"), QByteArray("gamma"));
    }

    // A compressed file that holds no tar gives that one file, named from the gzip header when
    // it holds a plain name, else from the archive's name. A disk image begins with zero
    // blocks, which a tar reader takes for an empty archive: compressed, it is still the one
    // file it is, whole, in the listing too; a compressed tar or cpio is told by its header.
    void compressedStreamsAreToldByTheirHeader_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QStringList>("unpacked");
        const auto row = [](const char *tag, const QString &command, const QString &archive,
                            const QString &unpacked) {
            QTest::newRow(tag) << command.arg(archive) << archive << QStringList{unpacked};
        };
        row("gz, stored name", "cp notes.txt kept.txt && gzip kept.txt && mv kept.txt.gz %1",
            "other.gz", "kept.txt");
        row("gz, no name", "gzip -n -c notes.txt > %1", "n.txt.gz", "n.txt");
        row("upper GZ", "gzip -n -c notes.txt > %1", "UP.TXT.GZ", "UP.TXT");
        row("bz2", "bzip2 -c notes.txt > %1", "b.txt.bz2", "b.txt");
        row("xz", "xz -c notes.txt > %1", "x.txt.xz", "x.txt");
        row("zst", "zstd -q -c notes.txt > %1", "z.txt.zst", "z.txt");
        const QString image = "python3 -c \"import sys; sys.stdout.buffer.write(bytes(4096) + "
                              "b'end')\" > disk.img && ";
        row("gz image", image + "gzip -n -c disk.img > %1", "disk.img.gz", "disk.img");
        row("tar in gz", "bsdtar -cf - notes.txt | gzip -c > %1", "t.gz", "notes.txt");
        row("old-style tar in xz", "bsdtar --format v7 -cf - notes.txt | xz -c > %1", "v.xz",
            "notes.txt");
        row("cpio in gz", "echo notes.txt | bsdcpio -o --format newc 2>/dev/null | gzip -c > %1",
            "c.gz", "notes.txt");
    }
    void compressedStreamsAreToldByTheirHeader()
    {
        QFETCH(QString, command);
        QFETCH(QString, archive);
        QFETCH(QStringList, unpacked);
        QTemporaryDir dir;
        writeFile(dir.filePath("notes.txt"), "some notes\n");
        QCOMPARE(run(dir.path(), "sh", {"-c", command}), 0);
        Error error;
        const auto listed = ArchiverManager::listEntriesAtPath(dir.filePath(archive), {}, &error);
        QCOMPARE(listed.size(), 1);
        VERIFY_OK(unpack(dir.filePath(archive), dir.filePath("out")));
        QCOMPARE(tree(dir.filePath("out")), unpacked);
        const auto original = dir.filePath(unpacked.first() == "disk.img" ? "disk.img"
                                                                          : "notes.txt");
        QCOMPARE(readFile(dir.filePath("out/" + unpacked.first())), readFile(original));
    }

    // cpio (newc) sends the data of a set of hard links with its last link: every name of
    // the set holds it, as one file.
    void cpioHardLinksHoldTheirData()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("s/a"), "shared data\n");
        QCOMPARE(run(dir.filePath("s"), "sh",
                     {"-c", "ln a b && mkdir d && ln a d/c && printf 'a\\nb\\nd\\nd/c\\n' | "
                            "bsdcpio -o --format newc > ../l.cpio 2>/dev/null"}),
                 0);
        VERIFY_OK(unpack(dir.filePath("l.cpio"), dir.filePath("out")));
        QCOMPARE(tree(dir.filePath("out")), (QStringList{"a", "b", "d/", "d/c"}));
        for (const QString &name : QStringList{"a", "b", "d/c"})
            QCOMPARE(readFile(dir.filePath("out/" + name)), QByteArray("shared data\n"));
        struct stat first {}, last {};
        QCOMPARE(::stat(QFile::encodeName(dir.filePath("out/a")).constData(), &first), 0);
        QCOMPARE(::stat(QFile::encodeName(dir.filePath("out/d/c")).constData(), &last), 0);
        QCOMPARE(first.st_ino, last.st_ino);
    }

    // The name in a gzip header is the archive's word: "../../x" or "/etc/x" never leaves
    // the destination, the archive's own name is used instead.
    void gzipHeaderNamesAreNotTrusted_data()
    {
        QTest::addColumn<QByteArray>("storedName");
        QTest::newRow("climbing") << QByteArray("../../escaped.txt");
        QTest::newRow("absolute") << QByteArray("/tmp/escaped.txt");
        QTest::newRow("backslashes") << QByteArray("..\\..\\escaped.txt");
    }
    void gzipHeaderNamesAreNotTrusted()
    {
        QFETCH(QByteArray, storedName);
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("a/b"));
        QCOMPARE(python(dir.filePath("a/b"),
                        "import struct, zlib\n"
                        "data = b'payload'\n"
                        "c = zlib.compressobj(9, zlib.DEFLATED, -15)\n"
                        "body = c.compress(data) + c.flush()\n"
                        "name = bytes.fromhex('" +
                            QString::fromLatin1(storedName.toHex()) +
                            "')\n"
                            "head = b'\\x1f\\x8b\\x08\\x08' + bytes(4) + b'\\x00\\x03' + name + "
                            "b'\\x00'\n"
                            "open('evil.txt.gz', 'wb').write(head + body + "
                            "struct.pack('<II', zlib.crc32(data), len(data)))\n"),
                 0);
        VERIFY_OK(unpack(dir.filePath("a/b/evil.txt.gz"), dir.filePath("a/b/out")));
        QCOMPARE(tree(dir.path()),
                 (QStringList{"a/", "a/b/", "a/b/evil.txt.gz", "a/b/out/", "a/b/out/evil.txt"}));
        QCOMPARE(readFile(dir.filePath("a/b/out/evil.txt")), QByteArray("payload"));
    }

    // A tar.gz is listed through its own inflater: a tar split across two gzip members lists
    // whole and junk after the last member is left alone, as libarchive's filter reads them;
    // a stream cut short or a member whose checksum fails is damaged.
    void tarGzListings_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("code");
        QTest::newRow("two members, junk after") << "data = data + b'junk after'" << 0;
        QTest::newRow("cut short") << "data = data[:len(data) // 2]" << 106;
        QTest::newRow("checksum") << "data = data[:-8] + bytes([data[-8] ^ 1]) + data[-7:]" << 106;
    }
    void tarGzListings()
    {
        QFETCH(QString, damage);
        QFETCH(int, code);
        QTemporaryDir dir;
        QCOMPARE(
            python(dir.path(), "import gzip, io, random, tarfile\n"
                               "raw = io.BytesIO()\n"
                               "with tarfile.open(fileobj=raw, mode='w') as t:\n"
                               "  for i in range(40):\n"
                               "    body = random.Random(i).randbytes(20000)\n"
                               "    info = tarfile.TarInfo('d%d/f%02d.bin' % (i % 3, i))\n"
                               "    info.size = len(body)\n"
                               "    t.addfile(info, io.BytesIO(body))\n"
                               "tar = raw.getvalue(); half = len(tar) // 2 + 77\n"
                               "data = gzip.compress(tar[:half]) + gzip.compress(tar[half:])\n" +
                                   damage + "\nopen('t.tar.gz', 'wb').write(data)\n"),
            0);
        Error error;
        const auto entries =
            ArchiverManager::listEntriesAtPath(dir.filePath("t.tar.gz"), {}, &error);
        QCOMPARE(error.code, code);
        if (code != 0)
            return;
        QCOMPARE(entries.size(), 40);
        QCOMPARE(entries.at(39).path, QStringLiteral("d0/f39.bin"));
        QCOMPARE(entries.at(39).size, 20000);
    }

    // A name of no archive kind (a text's, none, a zip's cousin) is refused with a reason by
    // every job, the disk untouched, whatever the file holds.
    void otherNamesAreRefused()
    {
        writeFile(work.filePath("a.txt"), "text");
        QCOMPARE(run(work.path(), "zip", {"-q", "real.zip", "a.txt"}), 0);
        for (const QString name : {"notes.txt", "notes", "x.zipx"}) {
            const QString path = work.filePath(name);
            QVERIFY(QFile::copy(work.filePath("real.zip"), path));
            VERIFY_CODE(unpack(path, work.filePath("out")), 110);
            QVERIFY(!QFileInfo::exists(work.filePath("out")));
            Error error;
            QVERIFY(!ArchiverManager::checkNeedPassword(path, &error));
            QCOMPARE(error.code, 110);
            QVERIFY(!ArchiverManager::checkNeedPassword(path)); // the plain form
        }
    }
};

QTEST_GUILESS_MAIN(TestKinds)
#include "tst_kinds.moc"
