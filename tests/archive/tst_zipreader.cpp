#include "ArchiveFixtures.h"
#include "ArchiverManager.h"
#include "ZipDirectory.h"
#include "ZipEntryReader.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

using namespace ArchiveFixtures;

namespace {

// Reads every entry of `zip` with `password`; entries declaring more than `largest` bytes are
// skipped. Returns the bytes each read gave, or a failure's message.
QStringList readAll(const QString &zip, const QByteArray &password, qint64 largest)
{
    Error error;
    const auto directory = ZipDirectory::read(zip, &error);
    if (!directory)
        return {"unreadable: " + error.message};
    ZipEntryReader reader(directory, password);
    QStringList results;
    for (qsizetype i = 0; i < directory->size(); ++i) {
        if (qint64(directory->entry(i).size) > largest) {
            results << "skipped";
            continue;
        }
        qint64 total = 0;
        const auto count = [&](const char *, qint64 n, Error *) { return (total += n) >= 0; };
        results << (reader.read(i, "entry", nullptr, count, &error) ? QString::number(total)
                                                                    : error.message);
    }
    return results;
}

} // namespace

// The zip reader against zips made by the real tools and found in the wild: every way of
// writing a zip that the tools have (Zip64, data descriptors, bzip2, both encryptions, a stub
// before the zip, a comment that looks like an end record) comes out whole.
class TestZipReader : public QObject {
    Q_OBJECT
    QTemporaryDir work;

    // Plain text, noise, an empty file and an empty folder, and a file larger than what is
    // inflated in one call, so both ways of inflating run.
    QString makeSource()
    {
        const QString src = work.filePath("src");
        if (QFileInfo::exists(src))
            return src;
        writeFile(src + "/a.txt", "alpha");
        writeFile(src + "/sub/noise.bin", noise(70000));
        writeFile(src + "/sub/empty.txt", "");
        QByteArray text;
        for (int i = 0; text.size() < ZipEntryReader::wholeEntryLimit + 4096; ++i)
            text += "line " + QByteArray::number(i) + " of a text that compresses\n";
        writeFile(src + "/large.txt", text);
        QDir().mkpath(src + "/empty");
        return src;
    }

private slots:
    void toolMadeZipsUnpackWhole_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("password");
        QTest::newRow("zip") << "zip -q -r ../t.zip ." << "";
        QTest::newRow("zip, stored") << "zip -q -r -0 ../t.zip ." << "";
        QTest::newRow("zip, streamed: data descriptors")
            << "zip -q -r - . > ../t.zip" << "";
        QTest::newRow("zip, bzip2") << "zip -q -r -Z bzip2 ../t.zip ." << "";
        QTest::newRow("zip, ZipCrypto") << "zip -q -r -P pw ../t.zip ." << "pw";
        QTest::newRow("7zz") << "7zz a -bd -tzip ../t.zip . > /dev/null" << "";
        QTest::newRow("7zz, AES-128 and bzip2")
            << "7zz a -bd -tzip -mm=BZip2 -mem=AES128 -ppw ../t.zip . > /dev/null" << "pw";
        QTest::newRow("bsdtar") << "bsdtar --format zip -cf ../t.zip ." << "";
        QTest::newRow("stub before the zip")
            << "zip -q -r ../s.zip . && (printf '#!/bin/sh\\nexit 0\\n'; cat ../s.zip) > ../t.zip"
            << "";
        QTest::newRow("python, Zip64 fields, comment holding an end record")
            << "python3 -c \"import os, zipfile\n"
               "with zipfile.ZipFile('../t.zip', 'w', zipfile.ZIP_DEFLATED) as z:\n"
               "  for root, dirs, files in os.walk('.'):\n"
               "    for d in dirs: z.write(os.path.join(root, d))\n"
               "    for f in files:\n"
               "      path = os.path.join(root, f)\n"
               "      with z.open(os.path.normpath(path), 'w', force_zip64=True) as out:\n"
               "        out.write(open(path, 'rb').read())\n"
               "  z.comment = b'PK\\x05\\x06' + bytes(18)\n\""
            << "";
    }
    void toolMadeZipsUnpackWhole()
    {
        QFETCH(QString, command);
        QFETCH(QString, password);
        const QString src = makeSource();
        QFile::remove(work.filePath("t.zip"));
        QCOMPARE(run(src, "sh", {"-c", command}), 0);
        const QString dest = work.filePath("out");
        QDir(dest).removeRecursively();
        QCOMPARE(ArchiverManager::checkNeedPassword(work.filePath("t.zip")), !password.isEmpty());
        VERIFY_OK(unpack(work.filePath("t.zip"), dest, password));
        QCOMPARE(tree(dest), tree(src));
        for (const QString name : {"a.txt", "sub/noise.bin", "sub/empty.txt", "large.txt"})
            QVERIFY2(readFile(dest + "/" + name) == readFile(src + "/" + name), qPrintable(name));

        // The text's packed size, as the directory records it: well below its size, unless
        // stored.
        Error error;
        const auto entries = ArchiverManager::listEntriesAtPath(work.filePath("t.zip"), {}, &error);
        ArchiveEntry large;
        for (const auto &entry : entries)
            if (entry.path.endsWith("large.txt"))
                large = entry;
        QVERIFY(large.size > ZipEntryReader::wholeEntryLimit);
        if (command.contains(" -0 "))
            QCOMPARE(large.packedSize, large.size);
        else
            QVERIFY2(large.packedSize > 0 && large.packedSize < large.size / 2,
                     qPrintable(QString::number(large.packedSize)));
    }

    // More entries than a plain end record counts: Python writes Zip64's end records.
    void manyEntriesUseZip64()
    {
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), "import zipfile\n"
                                    "with zipfile.ZipFile('m.zip', 'w') as z:\n"
                                    "  for i in range(70000): z.writestr('d%d/f%d' % (i % 9, i),"
                                    " str(i))\n"),
                 0);
        Error error;
        const auto entries = ArchiverManager::listEntriesAtPath(dir.filePath("m.zip"), {}, &error);
        QCOMPARE(entries.size(), 70000);
        QCOMPARE(entries.at(69999).path, QString("d6/f69999"));
        const auto read = readAll(dir.filePath("m.zip"), {}, 100);
        QCOMPARE(read.size(), 70000);
        QCOMPARE(read.count("5"), 70000 - 10000);
    }

    // Sizes beyond 32 bits: a sparse file of 4 GiB and a little, deflated by 7zz, read back to
    // the end (size and CRC checked) without writing it out.
    void entryBeyondFourGiB()
    {
        QTemporaryDir dir;
        QCOMPARE(run(dir.path(), "sh",
                     {"-c", "truncate -s 4100M big.bin && printf end >> big.bin && "
                            "7zz a -bd -tzip -mx1 big.zip big.bin > /dev/null"}),
                 0);
        QCOMPARE(readAll(dir.filePath("big.zip"), {}, std::numeric_limits<qint64>::max()),
                 QStringList{QString::number((qint64(4100) << 20) + 3)});
    }

    // Every zip of the corpus lists as Python's zipfile lists it (sizes and CRCs, Zip64 and
    // odd names included), and every entry of a sane size reads, with the sample's password.
    void corpusZipsReadAsPythonListsThem()
    {
        REQUIRE_CORPUS();
        const QHash<QString, QByteArray> passwords{
            {"zip-zipcrypto.zip", "12345678"},    {"zip-aes256-deflate.zip", "password"},
            {"zip-aes256-mixed.zip", "foofoofoo"}, {"zip-aes256.zip", "password"},
            {"zip-mixed-encryption.zip", "password"}};
        QStringList zips;
        QDirIterator found(corpusDir(), {"*.zip"}, QDir::Files, QDirIterator::Subdirectories);
        while (found.hasNext())
            zips << found.next();
        QVERIFY(zips.size() >= 20);
        QByteArray listed;
        QCOMPARE(run(work.path(), "python3",
                     QStringList{"-c", "import sys, zipfile\n"
                                       "for zip in sys.argv[1:]:\n"
                                       "  print('>', zip)\n"
                                       "  for i in zipfile.ZipFile(zip).infolist():\n"
                                       "    print(i.file_size, i.CRC)\n"} +
                         zips,
                     {}, &listed),
                 0);
        for (const auto &zip : std::as_const(zips)) {
            Error error;
            const auto directory = ZipDirectory::read(zip, &error);
            QVERIFY2(directory, qPrintable(zip + ": " + error.message));
            QByteArray ours = "> " + zip.toUtf8() + '\n';
            for (qsizetype i = 0; i < directory->size(); ++i)
                ours += QByteArray::number(qint64(directory->entry(i).size)) + ' ' +
                        QByteArray::number(directory->entry(i).crc) + '\n';
            QVERIFY2(listed.contains(ours), qPrintable(zip));
            for (const auto &result :
                 readAll(zip, passwords.value(QFileInfo(zip).fileName()), 64 << 20))
                QVERIFY2(result == "skipped" || result.toLongLong() > 0 || result == "0",
                         qPrintable(zip + ": " + result));
        }
    }

    // A zip cut short, or whose directory lies elsewhere than it says, fails as unreadable.
    void damagedDirectoriesAreRefused_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("cut in its directory") << "b = b[:len(b) - 40]";
        QTest::newRow("directory offset beyond it")
            << "struct.pack_into('<I', b, len(b) - 6, len(b))";
        QTest::newRow("count too high") << "struct.pack_into('<HH', b, len(b) - 14, 9, 9)";
        QTest::newRow("not a zip") << "b = b'just text ' * 100";
    }
    void damagedDirectoriesAreRefused()
    {
        QFETCH(QString, damage);
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), "import struct, zipfile\n"
                                    "with zipfile.ZipFile('d.zip', 'w') as z:\n"
                                    "  z.writestr('a.txt', 'alpha')\n"
                                    "  z.writestr('b.txt', 'beta')\n"
                                    "b = bytearray(open('d.zip', 'rb').read())\n" +
                                        damage + "\nopen('d.zip', 'wb').write(b)\n"),
                 0);
        Error error;
        QVERIFY(!ArchiverManager::decompressAtPath(dir.filePath("d.zip"), dir.filePath("out"), {},
                                                   &error));
        QCOMPARE(error.code, 106);
        QVERIFY(!QFileInfo::exists(dir.filePath("out")));
    }
};

QTEST_GUILESS_MAIN(TestZipReader)
#include "tst_zipreader.moc"
