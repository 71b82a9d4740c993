#include "ArchiveFixtures.h"
#include "ArchiverManager.h"
#include "ZipNameDecoding.h"

#include <FileNameCodec.h>

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
        // Deflate64 is a method libarchive lacks: 7zz unpacks it after all.
        QTest::newRow("7z only 7zz reads")
            << "d64.7z"
            << "7zz" << QStringList{"a", "-bd", "-m0=Deflate64", "../d64.7z", "."} << QByteArray();
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

    // A missing password (absent or empty) gives code 100 with the kind's message; a header
    // encrypted 7z and a zip whose later entry alone is encrypted both ask for one.
    void missingPasswordsAreNamedByKind_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("zip") << "p.zip"
                             << "zip" << QStringList{"-qr", "-P", "pw", "../p.zip", "."}
                             << "password protected zip file";
        QTest::newRow("7z header")
            << "h.7z"
            << "7zz" << QStringList{"a", "-bd", "-ppw", "-mhe", "../h.7z", "."}
            << "password protected 7z file";
        // Plain entries first, then one encrypted: the first entry alone would say "no".
        QTest::newRow("zip, last entry")
            << "l.zip"
            << "sh"
            << QStringList{"-c", "zip -q ../l.zip a.txt && zip -q -P pw "
                                 "../l.zip sub/b.bin"}
            << "password protected zip file";
    }
    void missingPasswordsAreNamedByKind()
    {
        QFETCH(QString, archive);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const QString src = makeSource();
        QCOMPARE(run(src, program, arguments), 0);
        const QString path = work.filePath(archive);
        QVERIFY(ArchiverManager::checkNeedPassword(path));
        const QString dest = work.filePath("locked-" + archive);
        writeFile(dest + "/mine.txt", "keep");
        for (const QString &none : {QString(), QString("")}) {
            Error error;
            QVERIFY(!ArchiverManager::decompressAtPath(path, dest, none, &error));
            QCOMPARE(error.domain, QString("Ombrisk"));
            QCOMPARE(error.code, 100);
            QCOMPARE(error.message, message);
            QCOMPARE(tree(dest), QStringList{"mine.txt"});
        }
        Error error;
        QVERIFY2(ArchiverManager::decompressAtPath(path, dest, "pw", &error),
                 qPrintable(error.message));
        QCOMPARE(readFile(dest + "/sub/b.bin"), noise(70000));
    }

    // Zips from old systems name entries in a DOS code page: CP437 unless the user's own
    // code page reads them as words of the user's script. Zips made on Unix hold the bytes the
    // disk had, which are kept.
    void legacyZipNamesAreReadable_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("madeOnUnix");
        const QLocale english(QLocale::English), russian(QLocale::Russian),
            japanese(QLocale::Japanese);
        const QByteArray cafe("Caf\x82 \xa4.txt"), privet("\x8f\x90\x88\x82\x85\x92.txt");
        QTest::newRow("utf-8") << QString("Ünï 表.txt").toUtf8() << russian << "Ünï 表.txt"
                               << false;
        QTest::newRow("cp437") << cafe << english << "Café ñ.txt" << false;
        QTest::newRow("cp437, russian user") << cafe << russian << "Café ñ.txt" << false;
        QTest::newRow("cp866, russian user") << privet << russian << "ПРИВЕТ.txt" << false;
        QTest::newRow("cp866, english user") << privet << english << "ÅÉêéàÆ.txt" << false;
        QTest::newRow("cp866 with digits")
            << QByteArray("\x8e\xe2\xe7\xa5\xe2 2020.txt") << russian << "Отчет 2020.txt" << false;
        QTest::newRow("shift_jis")
            << QByteArray("\x83\x66\x81\x5b\x83\x5e\x81\x69\x82\x50\x81\x6a.txt") << japanese
            << "データ（１）.txt" << false;
        QTest::newRow("shift_jis beside latin")
            << QByteArray("iPhone\x8e\xca\x90\x5e.jpg") << japanese << "iPhone写真.jpg" << false;
        QTest::newRow("cp437, japanese user") << cafe << japanese << "Café ñ.txt" << false;
        QTest::newRow("latin-1, made on unix") << QByteArray("caf\xe9.txt") << russian
                                               << "caf" + QString(QChar(0xdce9)) + ".txt" << true;
    }
    void legacyZipNamesAreReadable()
    {
        QFETCH(QByteArray, raw);
        QFETCH(QLocale, locale);
        QFETCH(QString, name);
        QFETCH(bool, madeOnUnix);
        QCOMPARE(ZipNameDecoding::decode(raw, madeOnUnix, locale), name);
    }

    void legacyZipNamesReachTheDisk()
    {
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(),
                        "import zipfile\n"
                        "class Legacy(zipfile.ZipInfo):\n"
                        "  def __init__(self, name):\n"
                        "    super().__init__(name); self.create_system = 0 # made on DOS\n"
                        "  def _encodeFilenameFlags(self):\n"
                        "    return self.filename.encode('cp437'), 0\n"
                        "with zipfile.ZipFile('dos.zip', 'w') as z:\n"
                        "  z.writestr(Legacy('Résumé/Café ñ.txt'), 'x')\n"),
                 0);
        Error error;
        QVERIFY2(ArchiverManager::decompressAtPath(dir.filePath("dos.zip"), dir.filePath("out"), {},
                                                   &error),
                 qPrintable(error.message));
        QCOMPARE(tree(dir.filePath("out")), (QStringList{"Résumé/", "Résumé/Café ñ.txt"}));
    }

    // Names that are not UTF-8 ("café" and "cafè" in Latin-1, two files) reach the disk with
    // their bytes from every reader, and the packer keeps them too.
    void namesThatAreNotUtf8KeepTheirBytes_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("program"); // empty: packed by the engine itself
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("password");
        QTest::newRow("tar") << "n.tar"
                             << "bsdtar" << QStringList{"-cf", "../n.tar", "."} << "";
        QTest::newRow("cpio") << "n.cpio"
                              << "bsdtar" << QStringList{"--format=cpio", "-cf", "../n.cpio", "."}
                              << "";
        QTest::newRow("7z") << "n.7z"
                            << "7zz" << QStringList{"a", "-bd", "../n.7z", "."} << "";
        QTest::newRow("7z through 7zz")
            << "e.7z"
            << "7zz" << QStringList{"a", "-bd", "-ppw", "-mhe", "../e.7z", "."} << "pw";
        QTest::newRow("zip made on unix") << "n.zip"
                                          << "zip" << QStringList{"-qr", "../n.zip", "."} << "";
        QTest::newRow("zip packed here") << "own.zip"
                                         << "" << QStringList() << "pw";
    }
    void namesThatAreNotUtf8KeepTheirBytes()
    {
        QFETCH(QString, archive);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, password);
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), "import os\n"
                                    "os.makedirs(b'src/dossi\\xe9')\n"
                                    "for name, data in [(b'caf\\xe9.txt', b'E9'), "
                                    "(b'caf\\xe8.txt', b'E8'), (b'dossi\\xe9/x', b'x')]:\n"
                                    "  open(b'src/' + name, 'wb').write(data)\n"),
                 0);
        const QList<QByteArray> expected{"caf\xe8.txt=E8", "caf\xe9.txt=E9", "dossi\xe9/x=x"};
        QCOMPARE(rawFiles(QFile::encodeName(dir.filePath("src"))), expected);
        const QString path = dir.filePath(archive);
        Error error;
        if (program.isEmpty()) // the selected items are named as the disk names them
            QVERIFY2(ArchiverManager::compressZipAtPaths(
                         {FileNameCodec::decode(QFile::encodeName(dir.path()) + "/src/caf\xe9.txt"),
                          dir.filePath("src")},
                         path, password, &error),
                     qPrintable(error.message));
        else
            QCOMPARE(run(dir.filePath("src"), program, arguments), 0);
        QVERIFY2(ArchiverManager::decompressAtPath(path, dir.filePath("out"), password, &error),
                 qPrintable(error.message));
        auto unpacked = rawFiles(QFile::encodeName(dir.filePath("out")));
        if (program.isEmpty())
            QCOMPARE(unpacked.takeFirst(), QByteArray("caf\xe9.txt=E9"));
        for (auto &file : unpacked)
            file.replace("src/", "");
        QCOMPARE(unpacked, expected);
    }

    // Characters 7zz reads as patterns or list files, in the archive's name, the destination
    // and an entry: nothing but that archive is read, and only into that destination.
    void patternCharactersAreJustCharacters_data()
    {
        QTest::addColumn<QString>("c");
        for (const char *c : {"?", "*", "[", "]", "!", "@"})
            QTest::newRow(c) << QString(c);
    }
    void patternCharactersAreJustCharacters()
    {
        QFETCH(QString, c);
        QTemporaryDir dir;
        writeFile(dir.filePath("right/e" + c + ".txt"), "right");
        writeFile(dir.filePath("wrong/e" + c + ".txt"), "wrong");
        writeFile(dir.filePath("wrong/other.txt"), "wrong");
        for (const QString password : {"", "pw"}) {
            const QString archive = "w" + c + password + ".7z", dest = "d" + c + password;
            QStringList add{"a", "-bd", "-spd"};
            if (!password.isEmpty())
                add << "-p" + password << "-mhe";
            QCOMPARE(
                run(dir.filePath("right"), "7zz", add + QStringList{"../" + archive, "--", "."}),
                0);
            // The sibling that "w?.7z" and "w*.7z" match as patterns.
            QCOMPARE(run(dir.filePath("wrong"), "7zz",
                         add + QStringList{"../wx" + password + ".7z", "--", "."}),
                     0);
            Error error;
            for (int time = 0; time < 2; ++time) // into a new destination, then into it again
                QVERIFY2(ArchiverManager::decompressAtPath(dir.filePath(archive),
                                                           dir.filePath(dest), password, &error),
                         qPrintable(error.message));
            QCOMPARE(tree(dir.filePath(dest)), QStringList{"e" + c + ".txt"});
            QCOMPARE(readFile(dir.filePath(dest + "/e" + c + ".txt")), QByteArray("right"));
            QCOMPARE(
                ArchiverManager::listEntriesAtPath(dir.filePath(archive), password, &error).size(),
                1);
        }
        QStringList made = QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        made.sort();
        QCOMPARE(made, (QStringList{"d" + c, "d" + c + "pw", "right", "wrong"}));
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

    // Sparse tar entries (GNU and pax) come as blocks at offsets: holes stay holes, a hole at
    // the end still gives the full length.
    void sparseTarEntries()
    {
        QTemporaryDir dir;
        QCOMPARE(run(dir.path(), "sh",
                     {"-c", "mkdir sp && truncate -s 4M sp/holey && printf head >> sp/holey && "
                            "truncate -s 9M sp/holey && tar --sparse -cf gnu.tar sp && "
                            "bsdtar --format pax -cf pax.tar sp"}),
                 0);
        const auto original = readFile(dir.filePath("sp/holey"));
        for (const QString archive : {"gnu.tar", "pax.tar"}) {
            Error error;
            const auto dest = dir.filePath("out-" + archive);
            QVERIFY2(ArchiverManager::decompressAtPath(dir.filePath(archive), dest, {}, &error),
                     qPrintable(error.message));
            QCOMPARE(readFile(dest + "/sp/holey"), original);
        }
    }

    // AES entries carry an authentication code: changed data is caught, not unpacked.
    void tamperedAesEntryIsCaught()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("src/secret.txt"), QByteArray(100000, 's'));
        QCOMPARE(run(dir.filePath("src"), "7zz",
                     {"a", "-bd", "-tzip", "-mem=AES256", "-mx0", "-ppw", "../t.zip", "."}),
                 0);
        QFile file(dir.filePath("t.zip"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(5000);
        const char byte = file.read(1).at(0);
        file.seek(5000);
        file.write(QByteArray(1, char(byte ^ 0x20)));
        file.close();
        Error error;
        QVERIFY(!ArchiverManager::decompressAtPath(dir.filePath("t.zip"), dir.filePath("out"), "pw",
                                                   &error));
        QCOMPARE(error.code, 106);
        QVERIFY2(error.message.contains("authentication"), qPrintable(error.message));
        QVERIFY(!QFileInfo::exists(dir.filePath("out")));
    }

    // Names that differ only in case are two files, as in every other archive kind.
    void namesDifferingInCaseAreBothKept()
    {
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), "import zipfile\n"
                                    "with zipfile.ZipFile('c.zip', 'w') as z:\n"
                                    "  z.writestr('README', 'upper')\n"
                                    "  z.writestr('readme', 'lower')\n"
                                    "  z.writestr('d/x', 'first')\n"
                                    "  z.writestr('d//x', 'second')\n"),
                 0);
        Error error;
        QVERIFY2(ArchiverManager::decompressAtPath(dir.filePath("c.zip"), dir.filePath("out"), {},
                                                   &error),
                 qPrintable(error.message));
        QCOMPARE(tree(dir.filePath("out")), (QStringList{"README", "d/", "d/x", "readme"}));
        QCOMPARE(readFile(dir.filePath("out/README")), QByteArray("upper"));
        QCOMPARE(readFile(dir.filePath("out/readme")), QByteArray("lower"));
        QCOMPARE(readFile(dir.filePath("out/d/x")), QByteArray("second")); // the same name: last
    }

    // "echo x | zip out.zip -" stores the piped data under the pipe's fifo mode: a file.
    void pipedZipEntryIsAFile()
    {
        QTemporaryDir dir;
        QCOMPARE(run(dir.path(), "sh", {"-c", "printf piped | zip -q p.zip -"}), 0);
        Error error;
        QVERIFY2(ArchiverManager::decompressAtPath(dir.filePath("p.zip"), dir.filePath("out"), {},
                                                   &error),
                 qPrintable(error.message));
        QCOMPARE(readFile(dir.filePath("out/-")), QByteArray("piped"));
    }

    // ZipCrypto checks a password against one byte: a wrong one that passes it yields garbage,
    // which is a wrong password, not a damaged archive. Links read with a wrong password too.
    void wrongZipCryptoPasswordsAreReportedAsSuch_data()
    {
        QTest::addColumn<QString>("item");
        QTest::newRow("file") << "secret.txt";
        QTest::newRow("link") << "link";
    }
    void wrongZipCryptoPasswordsAreReportedAsSuch()
    {
        QFETCH(QString, item);
        QTemporaryDir dir;
        writeFile(dir.filePath("src/secret.txt"), QByteArray(5000, 's') + noise(5000));
        QVERIFY(QFile::link("secret.txt", dir.filePath("src/link")));
        QCOMPARE(run(dir.filePath("src"), "zip", {"-q", "-y", "-P", "right", "../z.zip", item}),
                 0);
        // A wrong password whose check byte matches (about one in 256), found by Python.
        QByteArray found;
        QCOMPARE(run(dir.path(), "python3",
                     {"-c", "import zipfile\n"
                            "z = zipfile.ZipFile('z.zip'); name = z.namelist()[0]\n"
                            "for n in range(100000):\n"
                            "  try:\n"
                            "    z.read(name, pwd=b'w%d' % n); continue\n"
                            "  except RuntimeError: continue\n"
                            "  except Exception: print('w%d' % n, end=''); break\n"},
                     {}, &found),
                 0);
        QVERIFY(!found.isEmpty());
        for (const QString &password : {QString::fromLatin1(found), QString("wrong")}) {
            Error error;
            QVERIFY(!ArchiverManager::decompressAtPath(dir.filePath("z.zip"), dir.filePath("out"),
                                                       password, &error));
            QVERIFY2(error.code == 101, qPrintable(password + ": " + error.message));
            QVERIFY(!QFileInfo::exists(dir.filePath("out")));
        }
    }

    // PKWARE's strong encryption (and any method unknown to libzip): no password would help,
    // so none is asked for and the archive is refused with a reason of its own.
    void unknownZipEncryptionIsRefused()
    {
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), "import zipfile, struct\n"
                                    "with zipfile.ZipFile('s.zip', 'w') as z:\n"
                                    "  z.writestr('a.txt', 'x')\n"
                                    "b = bytearray(open('s.zip', 'rb').read())\n"
                                    "struct.pack_into('<H', b, b.find(b'PK\\x03\\x04') + 6, 0x41)\n"
                                    "struct.pack_into('<H', b, b.find(b'PK\\x01\\x02') + 8, 0x41)\n"
                                    "open('s.zip', 'wb').write(b)\n"),
                 0);
        const QString zip = dir.filePath("s.zip");
        QVERIFY(!ArchiverManager::checkNeedPassword(zip));
        for (const QString &password : {QString(), QString("pw")}) {
            Error error;
            QVERIFY(!ArchiverManager::decompressAtPath(zip, dir.filePath("out"), password, &error));
            QCOMPARE(error.code, 104);
            QCOMPARE(error.message, QString("this kind of zip encryption is not supported"));
        }
        QVERIFY(!QFileInfo::exists(dir.filePath("out")));
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
