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
    // Every kind and route by its name (upper-case too, a cbr that is really a zip, a method
    // only 7zz reads): a password is asked for when one is needed (code 100 with the kind's
    // message, a header encrypted 7z and a zip whose later entry alone is encrypted too), a
    // wrong one is refused, and neither touches the destination; the right one unpacks whole.
    void eachKindExtracts_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("command"); // run in the source folder
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message"); // when no password is given
        const QString zipMessage = "password protected zip file";
        const QString sevenMessage = "password protected 7z file";
        const auto row = [](const char *tag, const QString &archive, const QString &command,
                            const QString &password = {}, const QString &message = {}) {
            QTest::newRow(tag) << archive << command.arg("../" + archive) << password << message;
        };
        row("zip", "t.zip", "zip -qr %1 .");
        row("cbz", "t.cbz", "zip -qr -P pw %1 .", "pw", zipMessage);
        row("7z", "t.7z", "7zz a -bd %1 .");
        // Deflate64 is a method libarchive lacks: 7zz unpacks it after all.
        row("7z only 7zz reads", "d64.7z", "7zz a -bd -m0=Deflate64 %1 .");
        row("tar", "t.tar", "bsdtar -cf %1 .");
        row("encrypted zip", "e.zip", "zip -qr -P pw %1 .", "pw", zipMessage);
        row("encrypted 7z", "e.7z", "7zz a -bd -ppw %1 .", "pw");
        row("7z header", "h.7z", "7zz a -bd -ppw -mhe %1 .", "pw", sevenMessage);
        // Plain entries first, then one encrypted: the first entry alone would say "no".
        row("zip, last entry", "l.zip", "zip -q %1 a.txt empty && zip -q -P pw %1 sub/b.bin", "pw",
            zipMessage);
        row("tbz", "t.tbz", "bsdtar -cjf %1 .");
        row("tbz2", "t.tbz2", "bsdtar -cjf %1 .");
        row("txz", "t.txz", "bsdtar -cJf %1 .");
        row("tzst", "t.tzst", "bsdtar --zstd -cf %1 .");
        row("iso", "t.iso", "bsdtar --format iso9660 -cf %1 .");
        row("cpio", "t.cpio", "bsdtar --format newc -cf %1 .");
        row("upper TGZ", "U.TGZ", "bsdtar -czf %1 .");
        // zip adds an extension of its own to one it doesn't know.
        row("ZIP", "T.ZIP", "zip -qr -P pw %1.zip . && mv %1.zip %1", "pw", zipMessage);
        row("7Z", "T.7Z", "7zz a -bd -mhe -ppw %1 .", "pw", sevenMessage);
        // A common mislabelling: the rar tool reads zips too.
        row("CBR holding a zip", "T.CBR", "zip -qr %1.zip . && mv %1.zip %1");
    }
    void eachKindExtracts()
    {
        QFETCH(QString, archive);
        QFETCH(QString, command);
        QFETCH(QString, password);
        QFETCH(QString, message);
        QCOMPARE(run(makeSource(), "sh", {"-c", command}), 0);
        const QString path = work.filePath(archive);
        QCOMPARE(ArchiverManager::checkNeedPassword(path), !password.isEmpty());
        const QString dest = work.filePath("out-" + archive);
        writeFile(dest + "/mine.txt", "keep");
        for (const QString &none : {QString(), QString("")}) {
            if (message.isEmpty())
                break;
            const Error error = unpack(path, dest, none);
            QCOMPARE(error.domain, QString("Ombrisk"));
            QCOMPARE(error.code, 100);
            QCOMPARE(error.message, message);
            QCOMPARE(tree(dest), QStringList{"mine.txt"});
        }
        if (!password.isEmpty()) {
            VERIFY_CODE(unpack(path, dest, "wrong"), 101);
            QCOMPARE(tree(dest), QStringList{"mine.txt"}); // nothing half-written
        }
        VERIFY_OK(unpack(path, dest, password));
        QCOMPARE(tree(dest), (QStringList{"a.txt", "empty/", "mine.txt", "sub/", "sub/b.bin"}));
        QCOMPARE(readFile(dest + "/a.txt"), QByteArray("alpha"));
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
        const QByteArray cafe("Caf\x82 \xa4.txt");
        QTest::newRow("utf-8") << QString("Ünï 表.txt").toUtf8() << russian << "Ünï 表.txt"
                               << false;
        QTest::newRow("cp437") << cafe << english << "Café ñ.txt" << false;
        QTest::newRow("cp437, russian user") << cafe << russian << "Café ñ.txt" << false;
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
        VERIFY_OK(unpack(path, dir.filePath("out"), password));
        auto unpacked = rawFiles(QFile::encodeName(dir.filePath("out")));
        if (program.isEmpty())
            QCOMPARE(unpacked.takeFirst(), QByteArray("caf\xe9.txt=E9"));
        for (auto &file : unpacked)
            file.replace("src/", "");
        QCOMPARE(unpacked, expected);
    }

    // A tar's names in UTF-8, the headers' own (pax) or raw bytes (GNU), and in plain ASCII:
    // files and both kinds of link are named as packed.
    void tarNamesInUtf8AndAscii()
    {
        QTemporaryDir dir;
        const QStringList expected{u"Café/"_qs,     u"Café/ñ.txt"_qs,
                                   u"hard"_qs,      u"link -> Café/ñ.txt"_qs,
                                   u"plain.txt"_qs, u"日本.txt"_qs};
        for (const QString format : {"PAX", "GNU"}) {
            QCOMPARE(makeTar(dir.path(),
                             "t.format = tarfile." + format +
                                 "_FORMAT\n"
                                 "add(t, 'Café/ñ.txt', tarfile.REGTYPE, b'n')\n"
                                 "add(t, '日本.txt', tarfile.REGTYPE, b'j')\n"
                                 "add(t, 'plain.txt', tarfile.REGTYPE, b'p')\n"
                                 "add(t, 'link', tarfile.SYMTYPE, b'', linkname='Café/ñ.txt')\n"
                                 "add(t, 'hard', tarfile.LNKTYPE, b'', linkname='日本.txt')\n",
                             format + ".tar"),
                     0);
            const QString out = dir.filePath("out-" + format);
            VERIFY_OK(unpack(dir.filePath(format + ".tar"), out));
            QCOMPARE(tree(out), expected);
            QCOMPARE(readFile(out + u"/hard"_qs), QByteArray("j"));
        }
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
                VERIFY_OK(unpack(dir.filePath(archive), dir.filePath(dest), password));
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
            const auto dest = dir.filePath("out-" + archive);
            VERIFY_OK(unpack(dir.filePath(archive), dest));
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
        const Error error = unpack(dir.filePath("t.zip"), dir.filePath("out"), "pw");
        QCOMPARE(error.code, 106);
        QVERIFY2(error.message.contains("authentication"), qPrintable(error.message));
        QVERIFY(!QFileInfo::exists(dir.filePath("out")));
    }

    // Zip entries reach the disk as named: a DOS code page read as such, names that differ
    // only in case as two files (as in every other kind; one name twice: the last), and data
    // piped into zip, stored under the pipe's fifo mode, as a file.
    void zipEntriesReachTheDiskAsNamed_data()
    {
        QTest::addColumn<QString>("script"); // Python writing into the zip z
        QTest::addColumn<QList<QByteArray>>("files");
        QTest::newRow("cp437") << "class Legacy(zipfile.ZipInfo):\n"
                                  "  def __init__(self, name):\n"
                                  "    super().__init__(name); self.create_system = 0 # DOS\n"
                                  "  def _encodeFilenameFlags(self):\n"
                                  "    return self.filename.encode('cp437'), 0\n"
                                  "z.writestr(Legacy('Résumé/Café ñ.txt'), 'x')"
                               << QList<QByteArray>{"Résumé/Café ñ.txt=x"};
        QTest::newRow("case") << "z.writestr('README', 'upper'); z.writestr('readme', 'lower')\n"
                                 "z.writestr('d/x', 'first'); z.writestr('d//x', 'second')"
                              << QList<QByteArray>{"README=upper", "d/x=second", "readme=lower"};
        QTest::newRow("piped") << "z.close(); os.system('rm z.zip; printf piped | zip -q z.zip -')"
                               << QList<QByteArray>{"-=piped"};
    }
    void zipEntriesReachTheDiskAsNamed()
    {
        QFETCH(QString, script);
        QFETCH(QList<QByteArray>, files);
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), "import os, zipfile\nz = zipfile.ZipFile('z.zip', 'w')\n" +
                                        script + "\nz.close()\n"),
                 0);
        VERIFY_OK(unpack(dir.filePath("z.zip"), dir.filePath("out")));
        QCOMPARE(rawFiles(QFile::encodeName(dir.filePath("out"))), files);
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
            VERIFY_CODE(unpack(dir.filePath("z.zip"), dir.filePath("out"), password), 101);
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
            const Error error = unpack(zip, dir.filePath("out"), password);
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
        QVERIFY(!unpack(work.filePath("d.7z"), dest).message.isEmpty());
        QVERIFY(tree(dest).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestExtraction)
#include "tst_extraction.moc"
