#include "EntryChecks.h"
#include "SevenZipOutput.h"
#include "ToolProcess.h"
#include "UnarOutput.h"

#include <QFile>
#include <QTest>

// The readers of 7zz and lsar/unar output, replayed on output recorded from the real tools
// (tests/archive/data), including the cases that are hard to provoke on demand.
class TestToolOutput : public QObject {
    Q_OBJECT

    static QByteArray recorded(const QString &name)
    {
        QFile file(QStringLiteral(OMBRISK_TOOL_OUTPUT_DIR "/") + name);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("recorded output %s is missing", qPrintable(name));
        return file.readAll();
    }

    static ArchiveListing sevenZipListing(const QString &name)
    {
        return SevenZipOutput::parseTechnicalListing(QString::fromUtf8(recorded(name)));
    }

private slots:
    // Names that climb out or are absolute arrive as 7zz prints them and are refused; the
    // link's type comes from its Unix attributes, though 7z keeps its target in the data.
    // Each entry has a block of its own, so its packed size is its own.
    void sevenZipListingOfHostileNames()
    {
        const auto listing = sevenZipListing("7zz-list-slip.txt");
        QCOMPARE(listing.entries.size(), 4);
        QCOMPARE(listing.entries[0].path, QString("good.txt"));
        QCOMPARE(listing.entries[0].size, 5);
        QCOMPARE(listing.entries[0].mode, 0644u);
        QCOMPARE(listing.entries[0].packedSize, 9);
        QCOMPARE(listing.entries[3].packedSize, 24);
        QCOMPARE(listing.entries[1].type, ArchiveEntry::Type::SymbolicLink);
        QVERIFY(listing.entries[1].linkTarget.isEmpty());
        QCOMPARE(listing.totalSize, 5 + 11 + 18 + 20);
        QVERIFY(!listing.needsPassword);
        const auto refusal = EntryChecks::firstRefusal(listing.entries);
        QVERIFY(refusal);
        QVERIFY(refusal->entry.startsWith("../../"));
    }

    // All but the folder share one solid block, whose packed size 7zz prints on its first
    // entry only: no entry of it has a packed size of its own.
    void sevenZipListingOfFolderAndLinks()
    {
        const auto listing = sevenZipListing("7zz-list-symlinks.txt");
        QCOMPARE(listing.entries.size(), 6);
        QCOMPARE(listing.entries[0].type, ArchiveEntry::Type::Directory);
        QCOMPARE(listing.entries[0].mode, 0755u);
        QCOMPARE(listing.entries[0].packedSize, 0);
        for (qsizetype i : {1, 2, 3, 5}) { // some with empty "Packed Size" and "CRC" values
            QCOMPARE(listing.entries[i].type, ArchiveEntry::Type::SymbolicLink);
            QCOMPARE(listing.entries[i].index, i);
        }
        for (qsizetype i = 1; i < 6; ++i)
            QCOMPARE(listing.entries[i].packedSize, -1);
        QCOMPARE(listing.entries[4].path, QString("lib/libabc.so.1.2.3"));
        QCOMPARE(listing.entries[4].type, ArchiveEntry::Type::File);
        QVERIFY(!EntryChecks::firstRefusal(listing.entries));
    }

    void sevenZipModeBits_data()
    {
        QTest::addColumn<QString>("attributes");
        QTest::addColumn<uint>("mode");
        QTest::addColumn<bool>("refused");
        QTest::newRow("plain") << "A -rw-r-----" << 0640u << false;
        QTest::newRow("set-uid") << "A -rwsr-xr-x" << 04755u << true;
        QTest::newRow("set-gid without x") << "A -rwxr-Sr--" << 02744u << true;
        QTest::newRow("sticky folder") << "D drwxrwxrwt" << 01777u << false;
        QTest::newRow("fifo") << "A prw-r--r--" << 0644u << true;
        QTest::newRow("windows only") << "A" << 0u << false;
    }
    void sevenZipModeBits()
    {
        QFETCH(QString, attributes);
        QFETCH(uint, mode);
        QFETCH(bool, refused);
        ArchiveEntry entry;
        entry.path = "x";
        SevenZipOutput::applyAttributes(attributes, &entry);
        QCOMPARE(entry.mode, mode);
        QCOMPARE(!EntryChecks::typeProblem(entry).isEmpty(), refused);
    }

    // 7zz asks for a header password and, given end of input, breaks off; with a wrong
    // password it says so. The two must not be confused.
    void sevenZipPasswordFailures()
    {
        const auto asked = QString::fromUtf8(recorded("7zz-list-header-encrypted-no-password.txt"));
        QVERIFY(SevenZipOutput::askedForPassword(asked));
        QCOMPARE(SevenZipOutput::failureFrom(asked, false).code, 100);
        const auto wrong =
            QString::fromUtf8(recorded("7zz-list-header-encrypted-wrong-password.txt"));
        QCOMPARE(SevenZipOutput::failureFrom(wrong, true).code, 101);
        QCOMPARE(SevenZipOutput::failureFrom(wrong, false).code, 100);
    }

    // A full disk (recorded on a 4 MB file system) and a name the file system refuses; the
    // latter is named as the archive has it, not by the private folder 7zz wrote into.
    void sevenZipWriteFailures()
    {
        const auto full = QString::fromUtf8(recorded("7zz-extract-disk-full.txt"));
        QCOMPARE(SevenZipOutput::failureFrom(full, false).code, 103);
        const auto tooLong = QString::fromUtf8(recorded("7zz-extract-name-too-long.txt"));
        const auto error = SevenZipOutput::failureFrom(tooLong, false, "/tmp/stage-Suiz");
        QCOMPARE(error.code, 107);
        QVERIFY2(error.message.startsWith("“Users\\AnthonyRabon\\"), qPrintable(error.message));
        QVERIFY(error.message.contains("File name too long"));
    }

    // The meter overwrites itself with backspaces; replayed through the same line cutter the
    // tool runner uses, it gives the entries in order and a rising percentage.
    void sevenZipProgressMeter()
    {
        auto pending = recorded("7zz-extract-progress.txt");
        QStringList entries;
        QList<int> percents;
        for (const auto &line : ToolProcess::takeLines(pending, true))
            if (const auto parsed = SevenZipOutput::parseProgressLine(line)) {
                if (parsed->percent)
                    percents << *parsed->percent;
                if (!parsed->entry.isEmpty())
                    entries << parsed->entry;
            }
        QVERIFY(pending.isEmpty());
        QCOMPARE(entries, (QStringList{"big/", "big/r.bin", "big/t.txt"}));
        QVERIFY(std::is_sorted(percents.begin(), percents.end()));
        QCOMPARE(percents.last(), 100);
        QVERIFY(percents.contains(88));
    }

    void lineCutterKeepsAnUnfinishedLine()
    {
        QByteArray pending("12% 1\b\b\b\b\b- a/b.t");
        QCOMPARE(ToolProcess::takeLines(pending, false), QStringList{"12% 1"});
        QCOMPARE(pending, QByteArray("- a/b.t"));
        pending += "xt\n";
        QCOMPARE(ToolProcess::takeLines(pending, false), QStringList{"- a/b.txt"});
        QVERIFY(pending.isEmpty());
    }

    void lsarListings_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("needsPassword");
        QTest::addColumn<bool>("unsupported");
        QTest::addColumn<int>("lsarError");
        // RAR 2.9+ AES entries: unar can't decrypt them even with the right password.
        QTest::newRow("rar4 aes") << "lsar-rar4-aes-encrypted.json" << 2 << true << true << 0;
        // An encrypted RAR4 header is always AES; lsar lists nothing and fails.
        QTest::newRow("rar4 header")
            << "lsar-rar4-header-encrypted-with-password.json" << 0 << false << true << 2;
        // The RAR 2.0 cipher (version 20) is one unar reads.
        QTest::newRow("rar4 legacy") << "lsar-rar4-legacy-cipher.json" << 2 << true << false << 0;
        QTest::newRow("rar5 data") << "lsar-rar5-encrypted-data.json" << 2 << true << false << 0;
        QTest::newRow("rar5 header wrong password")
            << "lsar-rar5-header-encrypted-wrong-password.json" << 0 << false << false
            << int(UnarOutput::lsarPasswordError);
        QTest::newRow("rar4 plain") << "lsar-rar4-dirs-symlink.json" << 5 << false << false << 0;
    }
    void lsarListings()
    {
        QFETCH(QString, file);
        QFETCH(int, entries);
        QFETCH(bool, needsPassword);
        QFETCH(bool, unsupported);
        QFETCH(int, lsarError);
        const auto result = UnarOutput::parseListing(recorded(file));
        QVERIFY(result.parsed);
        QCOMPARE(result.listing.entries.size(), entries);
        QCOMPARE(result.listing.needsPassword, needsPassword);
        QCOMPARE(result.unsupportedEncryption, unsupported);
        QCOMPARE(result.lsarError, lsarError);
    }

    // RAR4 keeps a link's target in its data: the listing has the type but no target, and
    // the staging scan checks it after unar wrote it. A hard link packs nothing; a listing
    // without packed sizes leaves them unknown, not 0.
    void lsarTypesAndModes()
    {
        const auto rar4 = UnarOutput::parseListing(recorded("lsar-rar4-dirs-symlink.json"));
        const auto &e = rar4.listing.entries;
        QCOMPARE(e[0].type, ArchiveEntry::Type::File);
        QCOMPARE(e[0].mode, 0644u);
        QCOMPARE(e[0].packedSize, 20);
        QCOMPARE(e[1].type, ArchiveEntry::Type::SymbolicLink);
        QVERIFY(e[1].linkTarget.isEmpty());
        QCOMPARE(e[3].path, QString("testdir"));
        QCOMPARE(e[3].type, ArchiveEntry::Type::Directory);
        QCOMPARE(e[3].index, 3);
        QCOMPARE(rar4.listing.totalSize, 48);

        const auto rar5 = UnarOutput::parseListing(recorded("lsar-rar5-hardlink.json"));
        QCOMPARE(rar5.formatName, QString("RAR 5"));
        const auto &link = rar5.listing.entries[1];
        QCOMPARE(link.type, ArchiveEntry::Type::HardLink); // flagged as a link too
        QCOMPARE(link.linkTarget, QString("file.txt"));
        QCOMPARE(link.packedSize, 0);
        QVERIFY(!EntryChecks::firstRefusal(rar5.listing.entries));
        QVERIFY(EntryChecks::firstRefusal({link})); // its target must come first

        const auto unsized = UnarOutput::parseListing(
            R"({"lsarContents": [{"XADFileName": "a.txt", "XADFileSize": 3}]})");
        QCOMPARE(unsized.listing.entries[0].packedSize, -1);
    }

    void lsarGarbageIsNotAListing()
    {
        QVERIFY(!UnarOutput::parseListing("lsar: could not open").parsed);
        QVERIFY(!UnarOutput::parseListing("[1,2]").parsed);
    }

    void unarProgressNamesEachEntry()
    {
        QStringList entries;
        for (const auto &line : QString::fromUtf8(recorded("unar-extract.txt")).split('\n'))
            if (const auto entry = UnarOutput::entryOfLine(line); !entry.isEmpty())
                entries << entry;
        QCOMPARE(entries, (QStringList{"big/", "big/t.txt", "big/z.txt", "big/r.bin"}));
        QCOMPARE(UnarOutput::entryOfLine("  odd  (name)  (3 B)... OK."), QString("odd  (name)"));
    }

    // unar's words for a wrong and a missing password (rar5-encrypted-data.rar) and for a
    // full disk (a 20 MB entry on a 4 MB file system).
    void unarFailures()
    {
        const auto wrong = QString::fromUtf8(recorded("unar-extract-wrong-password.txt"));
        QCOMPARE(UnarOutput::failureFrom(wrong, true).code, 101);
        const auto missing = QString::fromUtf8(recorded("unar-extract-no-password.txt"));
        QCOMPARE(UnarOutput::failureFrom(missing, false).code, 100);
        const auto full = UnarOutput::failureFrom(recorded("unar-extract-disk-full.txt"), false);
        QCOMPARE(full.code, 103);
        QVERIFY(full.message.contains("big.bin"));
        // The RAR 2.0 cipher: undecodable data of encrypted entries means a wrong password.
        const auto legacy = recorded("unar-extract-legacy-cipher-wrong-password.txt");
        const auto listing = UnarOutput::parseListing(recorded("lsar-rar4-legacy-cipher.json"));
        QCOMPARE(UnarOutput::failureFrom(legacy, true, listing.listing).code, 101);
        const auto unlisted = UnarOutput::failureFrom(legacy, true);
        QCOMPARE(unlisted.code, 106);
        QVERIFY2(unlisted.message.contains("FILE1.TXT: Unknown error"),
                 qPrintable(unlisted.message));
        QVERIFY(!unlisted.message.contains("/tmp/")); // no private folder named
        const auto other = UnarOutput::failureFrom("Couldn't recognize the archive format.", false);
        QCOMPARE(other.code, 106);
        QVERIFY(other.message.contains("Couldn't recognize"));
    }
};

QTEST_GUILESS_MAIN(TestToolOutput)
#include "tst_tooloutput.moc"
