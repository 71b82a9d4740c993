#include "ArchiveFixtures.h"

#include <QDir>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace ArchiveFixtures;

namespace {

const QString zipPrelude = QStringLiteral("import zipfile\nz = zipfile.ZipFile('h.zip', 'w')\n"
                                          "def link(name, target):\n"
                                          "  i = zipfile.ZipInfo(name)\n"
                                          "  i.external_attr = 0o120777 << 16\n"
                                          "  z.writestr(i, target)\n");

// A stored zip whose entries claim sizes of their own choosing (Zip64 fields), each holding
// 100 bytes: claims is a Python list of sizes.
QString zipClaiming(const QString &claims)
{
    return QStringLiteral(
               "import struct, zlib\n"
               "data = b'x' * 100; crc = zlib.crc32(data); local = b''; central = b''\n"
               "for n, claimed in enumerate(%1):\n"
               "  name = b'f%d.bin' % n; extra = struct.pack('<HHQ', 1, 8, claimed)\n"
               "  central += struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, 45, 45, 0, 0, 0, 0, "
               "crc, 100, 0xFFFFFFFF, len(name), len(extra), 0, 0, 0, 0, len(local)) + name + "
               "extra\n"
               "  local += struct.pack('<IHHHHHIIIHH', 0x04034b50, 45, 0, 0, 0, 0, crc, 100, "
               "0xFFFFFFFF, len(name), len(extra)) + name + extra + data\n"
               "count = len(%1)\n"
               "open('h.zip', 'wb').write(local + central + struct.pack('<IHHHHIIH', 0x06054b50, "
               "0, 0, count, count, len(central), len(local), 0))\n")
        .arg(claims);
}

// Stands in for a disk filling up, without privileges: a file-size limit makes every write
// beyond it fail with EFBIG (SIGXFSZ ignored), in this process and in the tools it starts.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};

} // namespace

// Archives that try to write outside their destination, lie about their sizes or don't fit:
// each is refused or stopped with a clear error and the destination stays as it was.
class TestSafety : public QObject {
    Q_OBJECT

    // Unpacks `archive` (made in `dir`) into dir/out/inner, which holds one file of ours, and
    // checks the error code and that nothing changed around it.
    static void verifyRefused(const QTemporaryDir &dir, const QString &archive, int code)
    {
        const QString dest = dir.filePath("out/inner");
        writeFile(dest + "/mine.txt", "mine");
        const Error error = unpack(dir.filePath(archive), dest);
        QCOMPARE(error.domain, QString("Ombrisk"));
        VERIFY_CODE(error, code);
        QVERIFY(!error.message.isEmpty());
        QCOMPARE(tree(dir.filePath("out")), (QStringList{"inner/", "inner/mine.txt"}));
        QCOMPARE(readFile(dest + "/mine.txt"), QByteArray("mine"));
    }

private slots:
    // Every rule, on each in-process reader: zip through libzip, tar through libarchive.
    void hostileEntriesAreRefused_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("script");
        const QString zip = zipPrelude, tar = tarPrelude;
        QTest::newRow("zip dot dot") << "h.zip"
                                     << zip + "z.writestr('ok.txt', 'x')\n"
                                              "z.writestr('../evil.txt', 'x')";
        QTest::newRow("zip absolute") << "h.zip" << zip + "z.writestr('/tmp/evil.txt', 'x')";
        QTest::newRow("zip backslash dot dot")
            << "h.zip" << zip + "z.writestr('a\\\\..\\\\..\\\\evil.txt', 'x')";
        QTest::newRow("zip drive letter") << "h.zip" << zip + "z.writestr('C:evil.txt', 'x')";
        QTest::newRow("zip link out, then through it")
            << "h.zip" << zip + "link('up', '..')\nz.writestr('up/evil.txt', 'x')";
        QTest::newRow("zip absolute link") << "h.zip" << zip + "link('passwd', '/etc/passwd')";
        QTest::newRow("zip set-uid") << "h.zip"
                                     << zip + "i = zipfile.ZipInfo('s')\n"
                                              "i.external_attr = 0o104755 << 16\n"
                                              "z.writestr(i, 'x')";
        QTest::newRow("zip fifo") << "h.zip"
                                  << zip + "i = zipfile.ZipInfo('p')\n"
                                           "i.external_attr = 0o010644 << 16\n"
                                           "z.writestr(i, '')";
        QTest::newRow("zip character device") << "h.zip"
                                              << zip + "i = zipfile.ZipInfo('null')\n"
                                                       "i.external_attr = 0o020666 << 16\n"
                                                       "z.writestr(i, '')";
        QTest::newRow("tar fifo") << "h.tar" << tar + "add(t, 'p', tarfile.FIFOTYPE)";
        QTest::newRow("tar device")
            << "h.tar" << tar + "add(t, 'null', tarfile.CHRTYPE, devmajor=1, devminor=3)";
        QTest::newRow("tar set-gid") << "h.tar" << tar + "add(t, 's', data=b'x', mode=0o2755)";
        QTest::newRow("tar hard link out")
            << "h.tar" << tar + "add(t, 'h', tarfile.LNKTYPE, linkname='/etc/passwd')";
        QTest::newRow("tar hard link up")
            << "h.tar" << tar + "add(t, 'h', tarfile.LNKTYPE, linkname='../../etc/passwd')";
        QTest::newRow("tar link, then through it")
            << "h.tar"
            << tar + "add(t, 'l', tarfile.SYMTYPE, linkname='.')\n"
                     "add(t, 'l/ok.txt', data=b'x')";
        QTest::newRow("tar link climbing")
            << "h.tar" << tar + "add(t, 'a/b/l', tarfile.SYMTYPE, linkname='../../../x')";
        QTest::newRow("tar link replacing a folder")
            << "h.tar"
            << tar + "add(t, 'd', tarfile.DIRTYPE)\n"
                     "add(t, 'd', tarfile.SYMTYPE, linkname='/tmp')";
        // Each link's text stays inside; followed one through the other, "a" leads out.
        QTest::newRow("tar chain of links")
            << "h.tar"
            << tar + "add(t, 'b', tarfile.SYMTYPE, linkname='.')\n"
                     "add(t, 'a', tarfile.SYMTYPE, linkname='b/..')";
        QTest::newRow("zip chain of links")
            << "h.zip" << zip + "link('d/b', '..')\nlink('d/a', 'b/..')";
        QTest::newRow("tar deeper than 1,024 levels")
            << "h.tar" << tar + "add(t, 'ok.txt', data=b'x')\nadd(t, '/'.join(['d'] * 1025))";
        QTest::newRow("tar dot dot, last")
            << "h.tar" << tar + "add(t, 'ok.txt', data=b'x')\nadd(t, 'x/../../evil', data=b'x')";
    }
    void hostileEntriesAreRefused()
    {
        QFETCH(QString, archive);
        QFETCH(QString, script);
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), script), 0);
        verifyRefused(dir, archive, 102);
    }

    // What the rules let through: links and hard links that stay inside.
    void linksInsideAreKept()
    {
        QTemporaryDir dir;
        QCOMPARE(makeTar(dir.path(),
                         "add(t, 'f', data=b'data')\nadd(t, 'd/up', tarfile.SYMTYPE, "
                         "linkname='../f')\nadd(t, 'hard', tarfile.LNKTYPE, linkname='f')"),
                 0);
        VERIFY_OK(unpack(dir.filePath("h.tar"), dir.filePath("out")));
        QCOMPARE(tree(dir.filePath("out")), (QStringList{"d/", "d/up -> f", "f", "hard"}));
        QCOMPARE(QFileInfo(dir.filePath("out/hard")).size(), 4);
    }

    // 7zz writes links itself; the staging folder is checked before anything is merged.
    void toolWrittenLinksAreChecked()
    {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("src"));
        QVERIFY(QFile::link("/etc/passwd", dir.filePath("src/passwd")));
        writeFile(dir.filePath("src/ok.txt"), "ok");
        QCOMPARE(run(dir.filePath("src"), "7zz", {"a", "-bd", "-snl", "../h.7z", "."}), 0);
        verifyRefused(dir, "h.7z", 102);
    }

    // An encrypted 7z's link targets are read by 7zz alone, which refuses one pointing out:
    // that is an unsafe entry, named, like on every other route.
    void encryptedLinkPointingOutIsAnUnsafeEntry()
    {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("src"));
        QVERIFY(QFile::link("../../../etc/passwd", dir.filePath("src/out")));
        writeFile(dir.filePath("src/ok.txt"), "ok");
        QCOMPARE(
            run(dir.filePath("src"), "7zz", {"a", "-bd", "-snl", "-ppw", "-mhe", "../e.7z", "."}),
            0);
        const Error error = unpack(dir.filePath("e.7z"), dir.filePath("out"), "pw");
        VERIFY_CODE(error, 102);
        QVERIFY2(error.message.contains("“out” is a link pointing out of the destination"),
                 qPrintable(error.message));
        QVERIFY(!QFileInfo::exists(dir.filePath("out")));
    }

    // Declared sizes are compared with the real free space before anything is written,
    // however large they claim to be, sums included.
    void notEnoughRoomIsRefusedAtOnce_data()
    {
        QTest::addColumn<QString>("claims");
        QTest::newRow("a petabyte") << "[1 << 50]";
        QTest::newRow("largest zip64 size") << "[(1 << 64) - 1]";
        QTest::newRow("sum beyond 64 bits") << "[1 << 62, 1 << 62, 1 << 62, 1 << 62]";
    }
    void notEnoughRoomIsRefusedAtOnce()
    {
        QFETCH(QString, claims);
        QTemporaryDir dir;
        QVERIFY(QStorageInfo(dir.path()).bytesAvailable() < (qint64(1) << 50));
        QCOMPARE(python(dir.path(), zipClaiming(claims)), 0);
        verifyRefused(dir, "h.zip", 103);
    }

    // The control for the above: the same construction with true sizes unpacks.
    void truthfulClaimsUnpack()
    {
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), zipClaiming("[100, 100]")), 0);
        VERIFY_OK(unpack(dir.filePath("h.zip"), dir.filePath("out")));
        QCOMPARE(tree(dir.filePath("out")), (QStringList{"f0.bin", "f1.bin"}));
    }

    // A header declaring less than the entry holds is stopped at the declared size.
    void lyingSmallSizeIsCaught()
    {
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(),
                        "import zipfile, struct\n"
                        "with zipfile.ZipFile('h.zip', 'w', zipfile.ZIP_DEFLATED) as z:\n"
                        "  z.writestr('zeros.bin', bytes(1 << 20))\n"
                        "b = bytearray(open('h.zip', 'rb').read())\n"
                        "struct.pack_into('<I', b, b.find(b'PK\\x03\\x04') + 22, 10)\n"
                        "struct.pack_into('<I', b, b.find(b'PK\\x01\\x02') + 24, 10)\n"
                        "open('h.zip', 'wb').write(b)\n"),
                 0);
        verifyRefused(dir, "h.zip", 106);
    }

    // A disk that fills up while unpacking (the only guard for streams whose size is not
    // known in advance): every backend stops, cleans up and says so.
    void fullDiskStopsEveryBackend_data() { addBackendRows("big"); }
    void fullDiskStopsEveryBackend()
    {
        FETCH_BACKEND_ROW();
        QTemporaryDir dir;
        writeFile(dir.filePath("src/small.txt"), "small");
        writeFile(dir.filePath("src/zeros.bin"), QByteArray(1 << 20, '\0'));
        QCOMPARE(run(dir.path(), "sh", {"-c", "(" + command + ") && rm -r src"}), 0);
        const QString dest = dir.filePath("out/inner");
        writeFile(dest + "/mine.txt", "mine");
        Error error;
        {
            const FileSizeLimit limit(2 << 10); // below every backend row's largest entry
            error = unpack(dir.filePath(archive), dest);
        }
        VERIFY_CODE(error, 103);
        QCOMPARE(tree(dir.filePath("out")), (QStringList{"inner/", "inner/mine.txt"}));
    }
};

QTEST_GUILESS_MAIN(TestSafety)
#include "tst_safety.moc"
