#include "ArchiveFixtures.h"
#include "ArchiverManager.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <thread>

using namespace ArchiveFixtures;

// Archives made by others (the shared corpus, MANIFEST.md), with the tools' known faults
// between them and the user.
class TestCorpus : public QObject {
    Q_OBJECT

    static QString sample(const QString &name) { return corpusDir() + "/" + name; }

    // The fixed names the corpus's hostile samples aim at, and the victims they try to change.
    static QStringList escapes() { return QDir("/tmp").entryList({"corpus-escape-*"}); }
    static const QStringList &victims()
    {
        static const QStringList names{"/tmp/corpus-victim-tar-symlink.txt",
                                       "/tmp/corpus-victim-tar-hardlink.txt",
                                       "/tmp/corpus-victim-rar-hardlink.txt", "/tmp/VICTIM.txt"};
        return names;
    }

private slots:
    void init() { REQUIRE_CORPUS(); }

    void initTestCase()
    {
        if (corpusDir().isEmpty())
            return;
        for (const auto &victim : victims())
            writeFile(victim, "original");
    }

    void cleanupTestCase()
    {
        for (const auto &victim : victims())
            QFile::remove(victim);
    }

    // Any encrypted entry counts, wherever it is and whatever else is plain.
    void passwordNeededWhenAnyEntryIsEncrypted_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("needs");
        for (const char *n :
             {"rar4-partly-encrypted.rar", "rar5-mixed-encryption.rar",
              "rar5-encrypted-headers.rar", "7z-data-encrypted.7z", "7z-header-encrypted.7z",
              "zip-aes256-mixed.zip", "more/zip/zip-mixed-encryption.zip",
              "more/7z/7z-partially-encrypted.7z", "more/rar4/rar4-first-entry-encrypted.rar",
              "more/rar4/rar4-header-encrypted.rar", "more/rar5/rar5-partially-encrypted.rar"})
            QTest::newRow(n) << n << true;
        for (const char *n : {"rar5-plain-multi.rar", "7z-plain-solid.7z", "7z-empty.7z",
                              "zip-unicode-names.zip", "gz-single-file.gz"})
            QTest::newRow(n) << n << false;
    }
    void passwordNeededWhenAnyEntryIsEncrypted()
    {
        QFETCH(QString, name);
        QFETCH(bool, needs);
        QCOMPARE(ArchiverManager::checkNeedPassword(sample(name)), needs);
    }

    // Each sample's outcome: 0 and an item it must give, or the code it must fail with
    // leaving the destination as it was.
    void outcomes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("item");
        const auto ok = [](const char *name, const char *password, const char *item) {
            QTest::addRow("%s %s", name, password) << name << password << 0 << item;
        };
        const auto refused = [](const char *name, const char *password, int code) {
            QTest::addRow("%s %s", name, password) << name << password << code << "";
        };
        // libzip's false CRC error at the end of AES entries from other writers.
        ok("zip-aes256-deflate.zip", "password", "README");
        ok("more/zip/zip-aes256.zip", "password", "README");
        ok("zip-aes256-mixed.zip", "foofoofoo", "encrypted");
        ok("zip-zipcrypto.zip", "12345678", "bar.txt");
        ok("more/zip/zip-mixed-encryption.zip", "password", "secret.txt");
        ok("zip64-eocd.zip", "", "-");
        ok("zip-unicode-names.zip", "", "表だよ/漢字.txt");
        ok("zip-nul-in-name.zip", "", "te t"); // libzip itself turns the NUL into a space
        ok("7z-data-encrypted.7z", "12345678", "bar.txt");
        ok("7z-header-encrypted.7z", "12345678", "bar.txt");
        ok("more/7z/7z-partially-encrypted.7z", "12345678", "bar_encrypted.txt");
        ok("more/7z/7z-plain-multi.7z", "", "日本語.txt");
        ok("7z-symlinks.7z", "", "lib64");
        // Windows' separators make folders, so no single name is too long.
        ok("7z-long-backslash-name.7z", "", "Users/AnthonyRabon/Downloads");
        ok("rar5-encrypted-data.rar", "password", "stest1.txt");
        ok("rar5-encrypted-headers.rar", "password", "stest2.txt");
        ok("rar5-encrypted-headers-nonascii-pw.rar", "пароль密码ü", "file1.txt");
        ok("more/rar4/rar4-legacy-cipher-encrypted.rar", "password", "FILE1.TXT");
        ok("rar4-unicode-names.rar", "", "表だよ/漢字長いファイル名long-filename-in-漢字.txt");
        ok("more/rar4/rar4-unicode.rar", "", "𝐀𝐁𝐁𝐂.txt");
        ok("rar5-symlinks.rar", "", "dirlink");
        ok("rar5-hardlink.rar", "", "hardlink.txt"); // unar makes it a link inside
        ok("rar4-solid.rar", "", "stest2.txt");
        ok("gz-single-file.gz", "", "test-file-name.data");
        ok("more/tar/gz-fname-traversal.gz", "", "gz-fname-traversal");
        ok("more/tar/tar-gz-plain.tgz", "", "d1/f3");
        refused("zip-zipcrypto.zip", "wrong", 101);
        refused("zip-aes256-deflate.zip", "wrong", 101);
        refused("7z-data-encrypted.7z", "wrong", 101);
        refused("7z-header-encrypted.7z", "wrong", 101);
        refused("rar5-encrypted-data.rar", "nope", 101); // unar leaves empty files behind
        refused("rar5-encrypted-headers.rar", "nope", 101);
        refused("more/rar4/rar4-legacy-cipher-encrypted.rar", "wrong", 101);
        refused("rar5-mixed-encryption.rar", "password", 101); // d.txt has another password
        refused("rar4-data-encrypted.rar", "12345678", 104);   // never "incorrect password"
        refused("rar4-header-encrypted.rar", "12345678", 104);
        refused("zip-bomb-overlapping.zip", "", 103);
        for (const char *n : {"rar5-dotdot.rar",
                              "rar5-backslash-escape.rar",
                              "rar5-symlink-escape.rar",
                              "rar4-backslash-dotdot.rar",
                              "more/rar5/rar5-slip.rar",
                              "tar-backslash-escape.tar",
                              "tar-slip-dotdot.tar",
                              "tar-hardlink-overwrite.tar",
                              "tar-symlink-write-through.tar.gz",
                              "more/tar/tar-slip.tar.gz",
                              "more/tar/tar-symlink-escape.tar",
                              "more/tar/tar-hardlink-escape.tar",
                              "more/tar/tar-special-files.tar",
                              "7z-absolute-path.7z",
                              "more/7z/7z-slip.7z",
                              "zip-slip-dotdot.zip",
                              "zip-backslash-escape.zip",
                              "zip-absolute-symlinks.zip",
                              "zip-case-collision.zip",
                              "zip-symlink-write-through.zip",
                              "more/zip/zip-slip-dotdot.zip",
                              "more/zip/zip-slip-absolute.zip",
                              "more/zip/zip-symlink-escape.zip"})
            refused(n, "", 102);
        // Names the file system can't hold (a 304-byte component; a file and a folder of
        // one name): the write fails, named, and nothing is kept.
        refused("more/zip/zip-odd-names.zip", "", 107);
        refused("more/zip/zip-name-collisions.zip", "", 107);
    }
    void outcomes()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(int, code);
        QFETCH(QString, item);
        QTemporaryDir dir;
        const QString dest = dir.filePath("a/b/dest");
        writeFile(dest + "/mine.txt", "mine");
        Error error;
        const bool done = ArchiverManager::decompressAtPath(sample(name), dest, password, &error);
        QCOMPARE(escapes(), QStringList());
        for (const auto &victim : victims())
            QCOMPARE(readFile(victim), QByteArray("original"));
        if (code == 0) {
            QVERIFY2(done, qPrintable(error.message));
            QVERIFY2(QFileInfo(dest + "/" + item).exists() ||
                         QFileInfo(dest + "/" + item).isSymLink(),
                     qPrintable(tree(dest).join(", ")));
            return;
        }
        QVERIFY(!done);
        QVERIFY2(error.code == code, qPrintable(QString::number(error.code) + " " + error.message));
        QVERIFY(!error.message.contains("/.ombrisk-unpacking-")); // no private path shown
        QCOMPARE(tree(dir.path()), (QStringList{"a/", "a/b/", "a/b/dest/", "a/b/dest/mine.txt"}));
    }

    // lsar and unar take a password only on their command line, which every local user can
    // read: the command lines of the tools, watched while they run, never hold it.
    void rarPasswordsStayOffCommandLines()
    {
        const QByteArray password("password");
        std::atomic<bool> running = true, toolSeen = false, passwordSeen = false;
        std::thread watcher([&] {
            while (running) {
                for (const auto &process : QDir("/proc").entryList({"[0-9]*"}, QDir::Dirs)) {
                    QFile file("/proc/" + process + "/cmdline");
                    const auto line =
                        file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
                    if (line.startsWith("lsar") || line.contains("/lsar\0") ||
                        line.startsWith("unar") || line.contains("/unar\0")) {
                        toolSeen = true;
                        passwordSeen = passwordSeen || line.split('\0').contains(password);
                    }
                }
            }
        });
        for (int run = 0; run < 50 && !toolSeen; ++run) {
            QTemporaryDir dir;
            VERIFY_OK(unpack(sample("rar5-encrypted-headers.rar"), dir.filePath("out"), password));
        }
        running = false;
        watcher.join();
        QVERIFY2(toolSeen, "the tools were never seen running");
        QVERIFY(!passwordSeen);
    }

    // A rar is known by its name in any case, a comic book's too.
    void rarsByTheirNames()
    {
        for (const QString name : {"a.RAR", "b.cbr", "c.CBR"}) {
            QTemporaryDir dir;
            QVERIFY(QFile::copy(sample("rar4-tiny.rar"), dir.filePath(name)));
            VERIFY_OK(unpack(dir.filePath(name), dir.filePath("out")));
            QCOMPARE(tree(dir.filePath("out")), (QStringList{"owner1.txt", "owner2.txt"}));
        }
    }

    // Sibling rars whose names differ by digits are not taken for volumes of one set.
    void siblingRarsStayApart()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(sample("rar4-solid.rar"), dir.filePath("report2023.rar")));
        QVERIFY(QFile::copy(sample("rar5-plain-multi.rar"), dir.filePath("report2024.rar")));
        VERIFY_OK(unpack(dir.filePath("report2024.rar"), dir.filePath("out")));
        QCOMPARE(tree(dir.filePath("out")),
                 (QStringList{"test1.bin", "test2.bin", "test3.bin", "test4.bin"}));
    }
};

QTEST_GUILESS_MAIN(TestCorpus)
#include "tst_corpus.moc"
