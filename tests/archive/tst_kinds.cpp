#include "ArchiveFixtures.h"
#include "ArchiverManager.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <Utils.h>
#include <sys/stat.h>

using namespace ArchiveFixtures;

// The kinds beyond the seven: compressed tars, single compressed files, iso and cpio, all
// through libarchive; upper-case names; and the routes the seven keep.
class TestKinds : public QObject {
    Q_OBJECT
    QTemporaryDir work;

    QString source()
    {
        const QString src = work.filePath("src");
        if (!QFileInfo::exists(src)) {
            writeFile(src + "/a.txt", "alpha");
            writeFile(src + "/sub/r.bin", noise(40000));
            QDir().mkpath(src + "/empty");
        }
        return src;
    }

    static void verifyUnpacked(const QString &dest)
    {
        QCOMPARE(tree(dest), (QStringList{"a.txt", "empty/", "sub/", "sub/r.bin"}));
        QCOMPARE(readFile(dest + "/sub/r.bin"), noise(40000));
    }

private slots:
    // The seven kinds keep the design's routes; every kind the screens call an archive has one.
    void theSevenKeepTheirRoutes()
    {
        const QList<std::pair<QString, ArchiveKind>> seven{
            {"zip", ArchiveKind::Zip}, {"cbz", ArchiveKind::Zip},     {"rar", ArchiveKind::Rar},
            {"cbr", ArchiveKind::Rar}, {"7z", ArchiveKind::SevenZip}, {"tar", ArchiveKind::Tar},
            {"gz", ArchiveKind::Tar}};
        for (const auto &[extension, kind] : seven) {
            QVERIFY(Utils::isSupportArchiverFileFormat(extension));
            QCOMPARE(ArchiveKinds::kindForPath("/x/Name." + extension.toUpper()), kind);
        }
        for (const auto &extension : ArchiveKinds::extensions())
            QVERIFY(ArchiveKinds::kindForExtension(extension) != ArchiveKind::None);
        for (const char *other : {"", "txt", "tar.gz", "zipx"})
            QCOMPARE(ArchiveKinds::kindForExtension(other), ArchiveKind::None);
    }

    void furtherKindsUnpack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("tgz") << "t.tgz" << QStringList{"-z"};
        QTest::newRow("tar.gz") << "t.tar.gz" << QStringList{"-z"};
        QTest::newRow("tbz") << "t.tbz" << QStringList{"-j"};
        QTest::newRow("tbz2") << "t.tbz2" << QStringList{"-j"};
        QTest::newRow("txz") << "t.txz" << QStringList{"-J"};
        QTest::newRow("tzst") << "t.tzst" << QStringList{"--zstd"};
        QTest::newRow("iso") << "t.iso" << QStringList{"--format", "iso9660"};
        QTest::newRow("cpio") << "t.cpio" << QStringList{"--format", "newc"};
        QTest::newRow("upper TGZ") << "U.TGZ" << QStringList{"-z"};
    }
    void furtherKindsUnpack()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, options);
        const QString archive = work.filePath(name);
        QCOMPARE(run(source(), "bsdtar", QStringList{"-cf", archive} + options + QStringList{"."}),
                 0);
        QVERIFY(!ArchiverManager::checkNeedPassword(archive));
        Error error;
        const QString dest = work.filePath("out-" + name);
        QVERIFY2(ArchiverManager::decompressAtPath(archive, dest, {}, &error),
                 qPrintable(error.message));
        verifyUnpacked(dest);
    }

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
        Error error;
        const QString dest = work.filePath("out-" + name);
        QVERIFY2(ArchiverManager::decompressAtPath(work.filePath(name), dest, {}, &error),
                 qPrintable(error.message));
        QCOMPARE(tree(dest), (QStringList{"a.txt", "b/", "b/big1.bin", "b/big2.bin", "c.txt"}));
        QVERIFY(readFile(dest + "/b/big1.bin") == noise(20 << 20, 7));
        QVERIFY(readFile(dest + "/b/big2.bin") == noise(12 << 20, 8));
        QCOMPARE(readFile(dest + "/c.txt"), QByteArray("gamma"));
    }

    // A compressed file that holds no tar gives that one file, named from the gzip header
    // when it holds a plain name, else from the archive's name.
    void singleCompressedFiles_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("unpacked");
        QTest::newRow("gz, stored name")
            << "cp notes.txt kept.txt && gzip kept.txt && mv kept.txt.gz "
               "other.gz"
            << "other.gz"
            << "kept.txt";
        QTest::newRow("gz, no name") << "gzip -n -c notes.txt > n.txt.gz"
                                     << "n.txt.gz"
                                     << "n.txt";
        QTest::newRow("upper GZ") << "gzip -n -c notes.txt > UP.TXT.GZ"
                                  << "UP.TXT.GZ"
                                  << "UP.TXT";
        QTest::newRow("bz2") << "bzip2 -c notes.txt > b.txt.bz2"
                             << "b.txt.bz2"
                             << "b.txt";
        QTest::newRow("xz") << "xz -c notes.txt > x.txt.xz"
                            << "x.txt.xz"
                            << "x.txt";
        QTest::newRow("zst") << "zstd -q -c notes.txt > z.txt.zst"
                             << "z.txt.zst"
                             << "z.txt";
    }
    void singleCompressedFiles()
    {
        QFETCH(QString, command);
        QFETCH(QString, archive);
        QFETCH(QString, unpacked);
        QTemporaryDir dir;
        writeFile(dir.filePath("notes.txt"), "some notes\n");
        QCOMPARE(run(dir.path(), "sh", {"-c", command}), 0);
        Error error;
        QVERIFY2(ArchiverManager::decompressAtPath(dir.filePath(archive), dir.filePath("out"), {},
                                                   &error),
                 qPrintable(error.message));
        QCOMPARE(tree(dir.filePath("out")), QStringList{unpacked});
        QCOMPARE(readFile(dir.filePath("out/" + unpacked)), QByteArray("some notes\n"));
    }

    // A disk image begins with zero blocks, which a tar reader takes for an empty archive:
    // compressed, it is still the one file it is, whole, in the listing too; a compressed tar
    // or cpio is told by its own header.
    void compressedStreamsAreToldByTheirHeader_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QStringList>("unpacked");
        const QString image = "python3 -c \"import sys; sys.stdout.buffer.write(bytes(4096) + "
                              "b'end')\" > disk.img && ";
        QTest::newRow("gz image") << image + "gzip -n -c disk.img > disk.img.gz"
                                  << "disk.img.gz" << QStringList{"disk.img"};
        QTest::newRow("xz image") << image + "xz -c disk.img > disk.img.xz"
                                  << "disk.img.xz" << QStringList{"disk.img"};
        QTest::newRow("bz2 image") << image + "bzip2 -c disk.img > disk.img.bz2"
                                   << "disk.img.bz2" << QStringList{"disk.img"};
        QTest::newRow("zst image") << image + "zstd -q -c disk.img > disk.img.zst"
                                   << "disk.img.zst" << QStringList{"disk.img"};
        QTest::newRow("tar in gz") << "bsdtar -cf - notes.txt | gzip -c > t.gz"
                                   << "t.gz" << QStringList{"notes.txt"};
        QTest::newRow("old-style tar in xz")
            << "bsdtar --format v7 -cf - notes.txt | xz -c > v.xz"
            << "v.xz" << QStringList{"notes.txt"};
        QTest::newRow("cpio in gz") << "echo notes.txt | bsdcpio -o --format newc 2>/dev/null |"
                                       " gzip -c > c.gz"
                                    << "c.gz" << QStringList{"notes.txt"};
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
        QVERIFY2(ArchiverManager::decompressAtPath(dir.filePath(archive), dir.filePath("out"), {},
                                                   &error),
                 qPrintable(error.message));
        QCOMPARE(tree(dir.filePath("out")), unpacked);
        const auto original = dir.filePath(unpacked.first() == "disk.img" ? "disk.img"
                                                                          : "notes.txt");
        QCOMPARE(readFile(dir.filePath("out/" + unpacked.first())), readFile(original));
    }

    // cpio (newc) sends the data of a set of hard links with its last link: every name of
    // the set holds it, as one file.
    void cpioHardLinksHoldTheirData_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::newRow("cpio") << "l.cpio";
        QTest::newRow("cpio in gz") << "l.cpio.gz";
    }
    void cpioHardLinksHoldTheirData()
    {
        QFETCH(QString, archive);
        QTemporaryDir dir;
        writeFile(dir.filePath("s/a"), "shared data\n");
        QCOMPARE(run(dir.filePath("s"), "sh",
                     {"-c", "ln a b && mkdir d && ln a d/c && printf 'a\\nb\\nd\\nd/c\\n' | "
                            "bsdcpio -o --format newc > ../l.cpio 2>/dev/null && "
                            "gzip -k ../l.cpio"}),
                 0);
        Error error;
        QVERIFY2(ArchiverManager::decompressAtPath(dir.filePath(archive), dir.filePath("out"), {},
                                                   &error),
                 qPrintable(error.message));
        QCOMPARE(tree(dir.filePath("out")), (QStringList{"a", "b", "d/", "d/c"}));
        for (const QString &name : {"a", "b", "d/c"})
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
        Error error;
        QVERIFY2(ArchiverManager::decompressAtPath(dir.filePath("a/b/evil.txt.gz"),
                                                   dir.filePath("a/b/out"), {}, &error),
                 qPrintable(error.message));
        QCOMPARE(tree(dir.path()),
                 (QStringList{"a/", "a/b/", "a/b/evil.txt.gz", "a/b/out/", "a/b/out/evil.txt"}));
        QCOMPARE(readFile(dir.filePath("a/b/out/evil.txt")), QByteArray("payload"));
    }

    // Upper-case names take the same routes, passwords included; a cbr that is really a
    // zip (a common mislabelling) still opens, as the rar tool reads zips too.
    void upperCaseNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("password");
        QTest::newRow("ZIP") << "T.ZIP"
                             << "zip" << QStringList{"-qr", "-P", "pw"} << "pw";
        QTest::newRow("Cbz") << "T.Cbz"
                             << "zip" << QStringList{"-qr"} << "";
        QTest::newRow("7Z") << "T.7Z"
                            << "7zz" << QStringList{"a", "-bd", "-mhe", "-ppw"} << "pw";
        QTest::newRow("TAR") << "T.TAR"
                             << "bsdtar" << QStringList{"-cf"} << "";
        QTest::newRow("CBR holding a zip") << "T.CBR"
                                           << "zip" << QStringList{"-qr"} << "";
    }
    void upperCaseNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, password);
        const QString archive = work.filePath(name);
        // zip and bsdtar add no extension of their own when given one they don't know.
        const QString made = program == "zip" ? archive + ".zip" : archive;
        QCOMPARE(run(source(), program, arguments + QStringList{made, "."}), 0);
        if (made != archive)
            QVERIFY(QFile::rename(made, archive));
        QCOMPARE(ArchiverManager::checkNeedPassword(archive), !password.isEmpty());
        Error error;
        const QString dest = work.filePath("out-" + name);
        if (!password.isEmpty()) {
            QVERIFY(!ArchiverManager::decompressAtPath(archive, dest, {}, &error));
            QCOMPARE(error.code, 100);
        }
        QVERIFY2(ArchiverManager::decompressAtPath(archive, dest, password, &error),
                 qPrintable(error.message));
        verifyUnpacked(dest);
    }

    // A name of no archive kind is refused with a reason, the disk untouched, by every job.
    void otherNamesAreRefused()
    {
        writeFile(work.filePath("notes.txt"), "text");
        Error error;
        QVERIFY(!ArchiverManager::decompressAtPath(work.filePath("notes.txt"),
                                                   work.filePath("notes"), {}, &error));
        QCOMPARE(error.code, 110);
        QVERIFY(!QFileInfo::exists(work.filePath("notes")));
        error = {};
        QVERIFY(!ArchiverManager::checkNeedPassword(work.filePath("notes.txt"), &error));
        QCOMPARE(error.code, 110);
        QVERIFY(!ArchiverManager::checkNeedPassword(work.filePath("notes.txt"))); // the plain form
    }
};

QTEST_GUILESS_MAIN(TestKinds)
#include "tst_kinds.moc"
