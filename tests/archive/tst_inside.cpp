#include "ArchiveFixtures.h"
#include "ArchiveTree.h"
#include "ArchiverManager.h"

#include <Printable.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ArchiveFixtures;

namespace {

ArchiveEntry entry(const QString &path, ArchiveEntry::Type type = ArchiveEntry::Type::File)
{
    ArchiveEntry made;
    made.path = path;
    made.type = type;
    return made;
}

// Every node as "path" ("/" after a folder, " !" after an unsafe one, "=N" its entry), sorted.
QStringList treeText(const ArchiveTree &tree)
{
    QStringList lines;
    for (quint32 id = 1; id < quint32(tree.size()); ++id) {
        const auto &node = tree.node(id);
        QString line = printable(tree.pathOf(id));
        if (node.isFolder)
            line += u'/';
        if (node.unsafe)
            line += QStringLiteral(" !");
        if (node.entry >= 0)
            line += QStringLiteral("=%1").arg(node.entry);
        lines << line;
    }
    lines.sort();
    return lines;
}

// The names of the top level of an archive's tree, as the contents screen shows them.
QStringList topLevel(const ArchiveTree &tree)
{
    QStringList names;
    for (const auto child : tree.children(ArchiveTree::root))
        names << tree.displayName(child) + (tree.node(child).isFolder ? "/" : "");
    names.sort();
    return names;
}

// A zip whose one entry is named by raw bytes (no UTF-8 flag), made by Python under a
// placeholder of the same length that is then replaced in both headers.
QString zipWithRawName(const QString &folder, const QByteArray &rawName)
{
    const QByteArray placeholder(rawName.size(), 'Q');
    const QString path = folder + "/legacy.zip";
    if (python(folder, QStringLiteral("import zipfile\n"
                                      "with zipfile.ZipFile('legacy.zip', 'w') as z:\n"
                                      "  z.writestr('%1.txt', b'hello')\n")
                           .arg(QString::fromLatin1(placeholder))) != 0)
        return {};
    auto bytes = readFile(path);
    bytes.replace(placeholder + ".txt", rawName + ".txt");
    writeFile(path, bytes);
    return path;
}

// One row per archive name (made by packed()), in the column "name".
void archiveRows(std::initializer_list<const char *> names)
{
    QTest::addColumn<QString>("name");
    for (const char *name : names)
        QTest::newRow(name) << QString(name);
}

} // namespace

// Looking inside an archive: the tree made from its flat listing, one entry read alone, and
// chosen entries taken out through the extraction's checks.
class TestInside : public QObject {
    Q_OBJECT
    QTemporaryDir work;

    // a.txt, sub/b.txt, sub/deep/c.txt, pic.png, and an empty folder.
    QString source()
    {
        const QString src = work.filePath("src");
        if (!QFileInfo::exists(src)) {
            writeFile(src + "/a.txt", "alpha");
            writeFile(src + "/sub/b.txt", "beta");
            writeFile(src + "/sub/deep/c.txt", noise(70000));
            writeFile(src + "/pic.png", "not really a picture");
            QDir().mkpath(src + "/empty");
        }
        return src;
    }

    // The source packed by a real tool, by the name's kind.
    QString packed(const QString &name)
    {
        const QString archive = work.filePath(name);
        if (QFileInfo::exists(archive))
            return archive;
        int code = -1;
        if (name.endsWith(".zip"))
            code = run(source(), "zip", {"-qr", archive, "."});
        else if (name.endsWith(".7z"))
            code = run(source(), "7zz", {"a", "-bd", "-y", archive, "."}, {}, nullptr);
        else if (name.endsWith(".tar.gz"))
            code = run(source(), "bsdtar", {"-czf", archive, "."});
        return code == 0 ? archive : QString();
    }

private slots:
    void initTestCase() { useRootForEngine(work.filePath("root")); }

    void treeFromFlatEntries_data()
    {
        using Type = ArchiveEntry::Type;
        QTest::addColumn<QList<ArchiveEntry>>("entries");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("implicit folders")
            << QList<ArchiveEntry>{entry("a/b/c.txt"), entry("a/d.txt")}
            << QStringList{"a/", "a/b/", "a/b/c.txt=0", "a/d.txt=1"};
        QTest::newRow("explicit folder takes its entry")
            << QList<ArchiveEntry>{entry("a/x"), entry("a/", Type::Directory)}
            << QStringList{"a/=1", "a/x=0"};
        QTest::newRow("./ and / prefixes, doubled and back slashes")
            << QList<ArchiveEntry>{entry("./", Type::Directory), entry("./a.txt"),
                                   entry("/abs/b.txt"), entry("c//d\\e.txt")}
            << QStringList{"a.txt=1", "abs/", "abs/b.txt !=2", "c/", "c/d/", "c/d/e.txt=3"};
        QTest::newRow("a name twice: the later entry")
            << QList<ArchiveEntry>{entry("a.txt"), entry("b"), entry("./a.txt")}
            << QStringList{"a.txt=2", "b=1"};
        const QString invalidByte = QStringLiteral("bad") + QChar(0xDC80) + QStringLiteral(".txt");
        QTest::newRow("names beyond ASCII, one byte or two a character")
            << QList<ArchiveEntry>{entry(u"日本/a.txt"_qs), entry(u"é/b.txt"_qs),
                                   entry(u"日本/c.txt"_qs), entry(u"Ünïcödé.txt"_qs),
                                   entry(u"e/b.txt"_qs),    entry(invalidByte)}
            << QStringList{printable(invalidByte) + "=5",
                           "e/",
                           "e/b.txt=4",
                           u"Ünïcödé.txt=3"_qs,
                           u"é/"_qs,
                           u"é/b.txt=1"_qs,
                           u"日本/"_qs,
                           u"日本/a.txt=0"_qs,
                           u"日本/c.txt=2"_qs};
        QTest::newRow("case twins and a file beside a folder of its name")
            << QList<ArchiveEntry>{entry("README"), entry("readme"), entry("x"), entry("x/y")}
            << QStringList{"README=0", "readme=1", "x/", "x/y=3", "x=2"};
        QTest::newRow("hostile names stay at the top, escaped, never folders")
            << QList<ArchiveEntry>{entry("../../etc/passwd"), entry("a/../../b", Type::Directory),
                                   entry(QStringLiteral("n\nl/../x")), entry("C:\\win.ini"),
                                   entry(QString("nul") + QChar(0) + "x")}
            << QStringList{"../../etc/passwd !=0", "C:\\win.ini !=3", "a/../../b !=1",
                           "n\\x0al/../x !=2", "nul\\x00x !=4"};
    }
    void treeFromFlatEntries()
    {
        QFETCH(QList<ArchiveEntry>, entries);
        QFETCH(QStringList, expected);
        const auto tree = ArchiveTree::build(ArchiveEntryList(entries));
        QVERIFY(tree);
        QCOMPARE(treeText(*tree), expected);
    }

    // A listing made entry by entry keeps them packed: each comes back as it was added, a copy
    // keeps its entries when the original is added to, and texts of any size and kind survive.
    void aListMadeEntryByEntryGivesBackWhatWasAdded()
    {
        ArchiveEntry link = entry(u"dir/日本"_qs, ArchiveEntry::Type::SymbolicLink);
        link.linkTarget = u"../café"_qs;
        ArchiveEntry file = entry(QStringLiteral("bad") + QChar(0xDC80), ArchiveEntry::Type::File);
        file.size = 5'000'000'000;
        file.packedSize = 42;
        file.index = 7;
        file.mode = 0644;
        file.encrypted = true;
        file.modified = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);
        const ArchiveEntry huge = entry(QString(1'500'000, u'x')); // more than a block
        ArchiveEntryList list{link, file};
        const ArchiveEntryList copy = list;
        list.append(huge);
        list.append(entry("after"));
        QCOMPARE(copy.size(), 2);
        QCOMPARE(list.size(), 4);
        for (const auto &entries : {copy, list}) {
            QCOMPARE(entries.at(0).path, link.path);
            QCOMPARE(entries.at(0).linkTarget, link.linkTarget);
            QCOMPARE(entries.at(0).type, ArchiveEntry::Type::SymbolicLink);
            QVERIFY(!entries.at(0).modified.isValid());
            const auto back = entries.at(1);
            QCOMPARE(back.path, file.path);
            QVERIFY(back.linkTarget.isNull());
            QCOMPARE(std::tuple(back.size, back.packedSize, back.index, back.mode, back.encrypted),
                     std::tuple(file.size, file.packedSize, file.index, file.mode, true));
            QCOMPARE(back.modified, file.modified);
        }
        QCOMPARE(list.at(2).path, huge.path);
        QCOMPARE(list.at(3).path, QStringLiteral("after"));
    }

    // A zip's tree points into the reader's own name bytes where a name reads the same there:
    // it must read exactly as a tree of copied names, whatever the bytes and the encoding.
    void aZipsTreeReadsAsOneOfCopiedNames_data()
    {
        QTest::addColumn<QByteArray>("encoding");
        QTest::newRow("usual") << QByteArray();
        QTest::newRow("Shift-JIS") << QByteArray("Shift_JIS");
    }
    void aZipsTreeReadsAsOneOfCopiedNames()
    {
        QFETCH(QByteArray, encoding);
        const QString folder = work.filePath("shared-names");
        QDir().mkpath(folder);
        // Stored entries named by raw bytes, with the UTF-8 flag where given, made on DOS.
        QCOMPARE(
            python(folder,
                   "import struct, zlib\n"
                   "names = [(b'a.txt', 0), (b'sub/b.txt', 0), (b'sub\\\\c.txt', 0),\n"
                   "  (b'./a.txt', 0), (b'/abs/x.txt', 0), ('\u00e9/\u00fc.txt'.encode(), 0x800),\n"
                   "  (b'caf\\x82.txt', 0), (b'\\x83\\x5c.txt', 0), (b'sub/B.txt', 0),\n"
                   "  (b'sub/b.txt', 0), (b'sub/', 0), (b'../up.txt', 0),\n"
                   "  (b'sub/b.txt/.', 0)]\n"
                   "out = open('names.zip', 'wb'); central = []\n"
                   "for name, flag in names:\n"
                   "  off = out.tell(); crc = zlib.crc32(b'x')\n"
                   "  out.write(struct.pack('<IHHHHHIIIHH', 0x04034b50, 10, flag, 0, 0, 0, crc, 1, "
                   "1, len(name), 0) + name + b'x')\n"
                   "  central.append(struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, 20, 10, flag, "
                   "0, 0, 0, crc, 1, 1, len(name), 0, 0, 0, 0, 0, off) + name)\n"
                   "start = out.tell(); data = b''.join(central); out.write(data)\n"
                   "out.write(struct.pack('<IHHHHIIH', 0x06054b50, 0, 0, len(names), "
                   "len(names), len(data), start, 0))\n"),
            0);
        Error error;
        const auto entries = ArchiverManager::listEntriesAtPath(folder + "/names.zip", {}, &error,
                                                                nullptr, encoding);
        QVERIFY2(!error, qPrintable(error.message));
        QVERIFY(entries.store());
        QList<ArchiveEntry> copied(entries.begin(), entries.end());
        const auto shared = ArchiveTree::build(entries);
        const auto own = ArchiveTree::build(ArchiveEntryList(copied));
        QCOMPARE(treeText(*shared), treeText(*own));
        QCOMPARE(shared->size(), own->size());
        for (quint32 id = 1; id < quint32(own->size()); ++id)
            QCOMPARE(shared->displayName(id), own->displayName(id));
        QVERIFY(shared->folderAt({"sub"}));
        QCOMPARE(shared->children(*shared->folderAt({"sub"})).size(), size_t(3));
    }

    void eachKindListsIntoATree_data() { archiveRows({"info.zip", "seven.7z", "bsd.tar.gz"}); }
    void eachKindListsIntoATree()
    {
        QFETCH(QString, name);
        const auto archive = packed(name);
        QVERIFY(!archive.isEmpty());
        Error error;
        const auto entries = ArchiverManager::listEntriesAtPath(archive, {}, &error);
        QVERIFY2(!error, qPrintable(error.message));
        const auto tree = ArchiveTree::build(entries);
        QVERIFY(tree);
        QVERIFY(topLevel(*tree).contains("sub/"));
        QVERIFY(topLevel(*tree).contains("a.txt"));
        const auto deep = tree->folderAt({"sub", "deep"});
        QVERIFY(deep);
        QCOMPARE(int(tree->children(*deep).size()), 1);
        QCOMPARE(entries.at(tree->node(tree->children(*deep)[0]).entry).size, 70000);
    }

    void rarFromTheCorpusAndItsPasswordRoute()
    {
        REQUIRE_CORPUS();
        const QString corpus = corpusDir();
        Error error;
        auto entries =
            ArchiverManager::listEntriesAtPath(corpus + "/rar4-plain-dirs-symlink.rar", {}, &error);
        QVERIFY2(!error, qPrintable(error.message));
        auto tree = ArchiveTree::build(entries);
        QCOMPARE(topLevel(*tree),
                 (QStringList{"test.txt", "testdir/", "testemptydir/", "testlink"}));
        // The list itself encrypted: no listing without the password, which then opens it.
        for (const char *name : {"rar5-encrypted-headers.rar", "7z-header-encrypted.7z"}) {
            const QString archive = corpus + "/" + name;
            QVERIFY(ArchiverManager::checkNeedPassword(archive));
            error = {};
            ArchiverManager::listEntriesAtPath(archive, {}, &error);
            QCOMPARE(error.code, int(ArchiveErrors::PasswordRequired));
            error = {};
            ArchiverManager::listEntriesAtPath(archive, "wrong", &error);
            QVERIFY(error.isSet());
            error = {};
            const auto password = QString(name).startsWith("7z") ? "12345678" : "password";
            entries = ArchiverManager::listEntriesAtPath(archive, password, &error);
            QVERIFY2(!error, qPrintable(error.message));
            QVERIFY(!entries.isEmpty());
        }
    }

    // Entries into a private folder: a zip's from its listed directory, the others alone
    // through the extraction; the bytes are the entries', and a taken name is never written.
    void readEntries_data() { archiveRows({"info.zip", "seven.7z", "bsd.tar.gz"}); }
    void readEntries()
    {
        QFETCH(QString, name);
        const auto archive = packed(name);
        Error error;
        const auto entries = ArchiverManager::listEntriesAtPath(archive, {}, &error);
        const auto folders = ArchiveTree::build(entries);
        const auto positionOf = [&](const QStringList &folder, const QString &file) {
            for (const auto child : folders->children(*folders->folderAt(folder)))
                if (folders->name(child) == file)
                    return qint64(folders->node(child).entry);
            return qint64(-1);
        };
        const QList<qsizetype> positions{positionOf({"sub", "deep"}, "c.txt"),
                                         positionOf({}, "a.txt")};
        QTemporaryDir privateDir;
        QVERIFY2(ArchiverManager::readEntriesAtPath(archive, entries, positions, {},
                                                    privateDir.path(), &error),
                 qPrintable(error.message));
        QCOMPARE(tree(privateDir.path()), (QStringList{"a.txt", "c.txt"}));
        QCOMPARE(readFile(privateDir.filePath("c.txt")), noise(70000));
        writeFile(privateDir.filePath("a.txt"), "mine");
        QFile::remove(privateDir.filePath("c.txt"));
        QVERIFY(!ArchiverManager::readEntriesAtPath(archive, entries, positions, {},
                                                    privateDir.path(), &error));
        QCOMPARE(readFile(privateDir.filePath("a.txt")), QByteArray("mine"));
        QVERIFY(!QFileInfo::exists(privateDir.filePath("c.txt")));
    }

    void readAnEncryptedEntry()
    {
        const QString folder = work.filePath("enc");
        writeFile(folder + "/secret.txt", "classified");
        QCOMPARE(run(folder, "zip", {"-q", "-P", "pw", "s.zip", "secret.txt"}), 0);
        QFile::remove(folder + "/secret.txt");
        const QString zip = folder + "/s.zip";
        Error error;
        const auto entries = ArchiverManager::listEntriesAtPath(zip, {}, &error);
        QCOMPARE(entries.size(), 1);
        QVERIFY(!ArchiverManager::readEntriesAtPath(zip, entries, {0}, {}, folder, &error));
        QCOMPARE(error.code, int(ArchiveErrors::PasswordRequired));
        QVERIFY(!QFileInfo::exists(folder + "/secret.txt")); // no partial file
        error = {};
        QVERIFY(!ArchiverManager::readEntriesAtPath(zip, entries, {0}, "no", folder, &error));
        QCOMPARE(error.code, int(ArchiveErrors::IncorrectPassword));
        QVERIFY(ArchiverManager::readEntriesAtPath(zip, entries, {0}, "pw", folder, &error));
        QCOMPARE(readFile(folder + "/secret.txt"), QByteArray("classified"));
        QCOMPARE(QFile::permissions(folder + "/secret.txt") & (QFile::ReadGroup | QFile::ReadOther),
                 QFile::Permissions());
    }

    // Chosen items of one folder land at the top of the destination under their target names,
    // folders with all they hold; a namesake there is replaced into the trash or kept beside.
    void extractChosenEntries_data() { archiveRows({"info.zip", "seven.7z", "bsd.tar.gz"}); }
    void extractChosenEntries()
    {
        QFETCH(QString, name);
        const auto archive = packed(name);
        const QString dest = work.filePath("chosen-" + name);
        writeFile(dest + "/b.txt", "old b");
        writeFile(dest + "/deep/mine.txt", "mine");
        EntrySelection selection{
            {{"sub/b.txt", "b.txt"}, {"sub/deep", "deep"}, {"a.txt", "a 2.txt"}}};
        Error error;
        ExtractionResult result;
        QVERIFY2(ArchiverManager::extractEntriesAtPath(archive, selection, dest, {}, &error,
                                                       nullptr, &result),
                 qPrintable(error.message));
        QCOMPARE(tree(dest),
                 (QStringList{"a 2.txt", "b.txt", "deep/", "deep/c.txt", "deep/mine.txt"}));
        QCOMPARE(readFile(dest + "/b.txt"), QByteArray("beta"));
        QCOMPARE(readFile(dest + "/a 2.txt"), QByteArray("alpha"));
        QCOMPARE(result.replacedCount, 1);
        QVERIFY(result.replacedInTrash);
        QCOMPARE(stagingFoldersIn(dest), QStringList());

        // An item the archive lacks, or a target that is no single name: nothing written.
        for (const auto &bad : {EntrySelection{{{"a.txt", "x.txt"}, {"nothing", "nothing"}}},
                                EntrySelection{{{"a.txt", "../x.txt"}}}}) {
            error = {};
            QVERIFY(!ArchiverManager::extractEntriesAtPath(archive, bad, dest, {}, &error));
            QVERIFY(!QFileInfo::exists(dest + "/x.txt"));
            QCOMPARE(stagingFoldersIn(dest), QStringList());
        }
    }

    // The whole archive is checked even when the chosen entries are harmless, and a cancel
    // leaves nothing.
    void extractionKeepsItsChecksAndCancels()
    {
        const QString folder = work.filePath("hostile");
        QDir().mkpath(folder);
        QCOMPARE(python(folder, "import zipfile\n"
                                "with zipfile.ZipFile('h.zip', 'w') as z:\n"
                                "  z.writestr('fine.txt', b'ok')\n"
                                "  z.writestr('../../escape.txt', b'bad')\n"),
                 0);
        const QString dest = folder + "/out";
        Error error;
        QVERIFY(!ArchiverManager::extractEntriesAtPath(
            folder + "/h.zip", {{{"fine.txt", "fine.txt"}}}, dest, {}, &error));
        QCOMPARE(error.code, int(ArchiveErrors::UnsafeEntry));
        QVERIFY(!QFileInfo::exists(dest));

        RecordingDelegate cancelling(0);
        error = {};
        QVERIFY(!ArchiverManager::extractEntriesAtPath(packed("info.zip"), {{{"sub", "sub"}}}, dest,
                                                       {}, &error, &cancelling));
        QCOMPARE(error.code, int(ArchiveErrors::Cancelled));
        QVERIFY(!QFileInfo::exists(dest));
    }

    // Zips without the UTF-8 flag: the usual rule, or the code page chosen, for the listing and
    // for what is extracted.
    void chosenNameEncoding_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Shift-JIS") << QByteArray("\x93\xFA\x96\x7B\x8C\xEA")
                                   << QByteArray("Shift_JIS") << QStringLiteral("日本語");
    }
    void chosenNameEncoding()
    {
        QFETCH(QByteArray, raw);
        QFETCH(QByteArray, encoding);
        QFETCH(QString, expected);
        const QString folder = work.filePath(QString("enc-") + encoding);
        QDir().mkpath(folder);
        const auto archive = zipWithRawName(folder, raw);
        QVERIFY(!archive.isEmpty());
        Error error;
        const auto usual = ArchiverManager::listEntriesAtPath(archive, {}, &error);
        QVERIFY(usual.at(0).path != expected + ".txt"); // made on Unix: its bytes are kept
        const auto chosen =
            ArchiverManager::listEntriesAtPath(archive, {}, &error, nullptr, encoding);
        QCOMPARE(chosen.at(0).path, expected + ".txt");
        QVERIFY2(ArchiverManager::extractEntriesAtPath(
                     archive, {{{expected + ".txt", expected + ".txt"}}}, folder + "/out", {},
                     &error, nullptr, nullptr, encoding),
                 qPrintable(error.message));
        QCOMPARE(readFile(folder + "/out/" + expected + ".txt"), QByteArray("hello"));
    }

    // 200,000 entries: the listing stays the zip's compact records and the tree its first
    // level of folders.
    void aLargeZipsFirstLevel()
    {
        const QString folder = work.filePath("large");
        QDir().mkpath(folder);
        QCOMPARE(python(folder,
                        "import struct, zlib\n"
                        "out = open('big.zip', 'wb'); central = []\n"
                        "for i in range(200000):\n"
                        "  name = b'folder%03d/file%06d.txt' % (i % 100, i)\n"
                        "  off = out.tell()\n"
                        "  out.write(struct.pack('<IHHHHHIIIHH', 0x04034b50, 10, 0, 0, 0, 0, 0, 0, "
                        "0, len(name), 0) + name)\n"
                        "  central.append(struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, 20, 10, 0, "
                        "0, 0, 0, 0, 0, 0, len(name), 0, 0, 0, 0, 0, off) + name)\n"
                        "start = out.tell(); data = b''.join(central); out.write(data)\n"
                        "out.write(struct.pack('<IHHHHIIH', 0x06054b50, 0, 0, 200000 % 65536, "
                        "200000 % 65536, len(data), start, 0))\n"),
                 0);
        Error error;
        const auto entries = ArchiverManager::listEntriesAtPath(folder + "/big.zip", {}, &error);
        QVERIFY2(!error, qPrintable(error.message));
        QCOMPARE(entries.size(), 200000);
        const auto tree = ArchiveTree::build(entries);
        QCOMPARE(int(tree->children(ArchiveTree::root).size()), 100);
        QCOMPARE(int(tree->children(*tree->folderAt({"folder042"})).size()), 2000);
    }

    void commandLineTakesOutEntries()
    {
        const QString dest = work.filePath("cli-out");
        QByteArray output;
        QCOMPARE(run(work.path(), OMBRISK_ARCHIVE_TOOL,
                     {"extract", packed("info.zip"), dest, "sub/deep", "a.txt"}, {}, &output),
                 0);
        QCOMPARE(tree(dest), (QStringList{"a.txt", "deep/", "deep/c.txt"}));
    }
};

QTEST_GUILESS_MAIN(TestInside)
#include "tst_inside.moc"
