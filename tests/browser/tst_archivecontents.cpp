// Looking inside archives from the listing screen, driven without a window on archives made by
// the real tools: the contents screens, passwords, previews of entries, extraction of chosen
// rows with the clash question, and the name encoding.
#include "../archive/ArchiveFixtures.h"
#include "ArchiveContentsViewController.h"
#include "ByteCountFormatter.h"
#include "ListingScreenFixture.h"
#include "LocalFilePreviewViewController.h"

using ArchiveFixtures::run;
using ArchiveFixtures::tree;

namespace {

ArchiveContentsViewController *shownContents(const Screen &s)
{
    return qobject_cast<ArchiveContentsViewController *>(s.stack->topViewController());
}

// The rows of the shown contents screen once listed, sorted.
QStringList listedRows(const Screen &s)
{
    auto *contents = shownContents(s);
    if (!contents)
        return {"(no contents screen)"};
    if (!QTest::qWaitFor([contents] { return contents->loadingView() == nullptr; }))
        return {"(still loading)"};
    QStringList names;
    for (const auto &item : contents->items())
        names << item->fileName + (item->isFolder ? "/" : "");
    names.sort();
    return names;
}

// Answers the dialog the stack shows once it is there.
void pickIn(Screen &s, const QString &button, const QString &typed = {})
{
    QTRY_VERIFY(s.alert());
    s.pick(button, typed);
}

} // namespace

class TestArchiveContents : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;
    QTemporaryDir m_work;

    // Pack.zip in the home folder: top.txt, docs/readme.md, docs/deep/x.bin, pic.png.
    void makePack()
    {
        const QString content = m_work.filePath("pack");
        makeFile(content + "/top.txt", "top text");
        makeFile(content + "/docs/readme.md", "# Read me");
        makeFile(content + "/docs/deep/x.bin", QByteArray(4000, '\0'));
        makeFile(content + "/pic.png", "no picture");
        QFile::remove(home() + "/Pack.zip");
        QCOMPARE(run(content, "zip", {"-qr", home() + "/Pack.zip", "."}), 0);
    }

private slots:
    void initTestCase() { useTestRoot(m_root); }
    void init()
    {
        freshHome();
        makePack();
    }
    void cleanup() { waitUntilIdle(); }

    // The row menu and Ctrl+Enter push the top level; a folder row the next; nothing is unpacked.
    void browseLevelByLevel()
    {
        Screen s("/");
        s.menuAction("Pack.zip", &LocalStorageViewController::showContentsAction);
        QCOMPARE(listedRows(s), (QStringList{"docs/", "pic.png", "top.txt"}));
        auto *top = shownContents(s);
        QCOMPARE(top->title(), QStringLiteral("Pack.zip"));
        top->didSelectRow(top->tableView(), indexPathIn(top, "docs"));
        QCOMPARE(listedRows(s), (QStringList{"deep/", "readme.md"}));
        QCOMPARE(shownContents(s)->title(), QStringLiteral("docs"));
        QCOMPARE(QDir(home()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{"Pack.zip"});

        // Ctrl+Enter on the archive's row, from the listing.
        while (s.stack->topViewController() != s.screen)
            s.stack->popViewController(false);
        s.screen->contentsKeyPressed(
            s.screen->tableView()->rows()->flatRowOf(s.indexPathOf("Pack.zip")));
        QCOMPARE(listedRows(s), (QStringList{"docs/", "pic.png", "top.txt"}));
    }

    // A list of entries that is itself encrypted asks first, and again after a wrong password;
    // Cancel takes the archive's screen away.
    void encryptedListAsksForThePassword()
    {
        makeFile(m_work.filePath("secret/in.txt"), "inside");
        QCOMPARE(run(m_work.filePath("secret"), "7zz",
                     {"a", "-bd", "-y", "-mhe=on", "-pright", home() + "/Locked.7z", "."}),
                 0);
        Screen s("/");
        s.screen->showContentsOfArchiveNamed("Locked.7z");
        QVERIFY(shownContents(s));
        pickIn(s, "Cancel");
        QTRY_COMPARE(s.stack->topViewController(), s.screen);

        s.screen->showContentsOfArchiveNamed("Locked.7z");
        auto *contents = shownContents(s);
        pickIn(s, "OK", "wrong");
        QTRY_VERIFY(contents->textNotice()->isVisible());
        pickIn(s, "OK", "right");
        QCOMPARE(listedRows(s), QStringList{"in.txt"});
    }

    // A file row previews its entry from a private copy that goes with the preview screen.
    void previewAnEntry()
    {
        Screen s("/");
        s.screen->showContentsOfArchiveNamed("Pack.zip", "/docs");
        QCOMPARE(listedRows(s), (QStringList{"deep/", "readme.md"}));
        shownContents(s)->previewEntryNamed("readme.md");
        QTRY_VERIFY(qobject_cast<LocalFilePreviewViewController *>(s.stack->topViewController()));
        auto *preview =
            qobject_cast<LocalFilePreviewViewController *>(s.stack->topViewController());
        const QString copy = preview->filePath();
        QCOMPARE(readFile(copy), QStringLiteral("# Read me"));
        QCOMPARE(preview->title(), QStringLiteral("readme.md"));
        QVERIFY(!copy.startsWith(home()));
        s.stack->popViewController(false);
        QTRY_VERIFY(!QFileInfo::exists(copy));
    }

    // An entry the previewer can't show keeps the sheet in front, with what it takes in the zip
    // (as Python's zipfile reads it) under its size.
    void theSheetOfAnEntryShowsItsPackedSize()
    {
        QByteArray printed;
        QCOMPARE(run(home(), "python3",
                     {"-c", "import zipfile\n"
                            "print(zipfile.ZipFile('Pack.zip').getinfo('docs/deep/x.bin')"
                            ".compress_size)"},
                     {}, &printed),
                 0);
        const qint64 packed = printed.trimmed().toLongLong();
        QVERIFY(packed > 0 && packed < 4000);
        Screen s("/");
        s.screen->showContentsOfArchiveNamed("Pack.zip", "/docs/deep");
        QCOMPARE(listedRows(s), QStringList{"x.bin"});
        shownContents(s)->previewEntryNamed("x.bin");
        LocalFilePreviewViewController *preview = nullptr;
        QTRY_VERIFY((preview = qobject_cast<LocalFilePreviewViewController *>(
                         s.stack->topViewController())));
        const PropertiesSheet &sheet = *preview->sheet();
        QVERIFY(!sheet.isHidden());
        const auto &formatter = Utils::sharedFileSizeFormatter();
        QCOMPARE(sheet.sizeText(), formatter.stringFromByteCount(4000));
        QCOMPARE(sheet.packedSizeText(), formatter.stringFromByteCount(packed));
    }

    // A zip's picture entries show thumbnails, read alone; a tar's keep their badges, as each
    // would unpack what comes before it.
    void pictureRowsOfAZipShowTheirThumbnails()
    {
        const QString content = m_work.filePath("pictures");
        QVERIFY(QDir().mkpath(content));
        QImage blue(60, 40, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QVERIFY(blue.save(content + "/shot.jpg"));
        QCOMPARE(run(content, "zip", {"-q", home() + "/Shots.zip", "shot.jpg"}), 0);
        QCOMPARE(run(content, "bsdtar", {"-cf", home() + "/Shots.tar", "shot.jpg"}), 0);
        for (const QString archive : {"Shots.zip", "Shots.tar"}) {
            Screen s("/");
            s.menuAction(archive, &LocalStorageViewController::showContentsAction);
            QCOMPARE(listedRows(s), QStringList{"shot.jpg"});
            auto *contents = shownContents(s);
            auto *cell = contents->cellForRow(contents->tableView(),
                                              indexPathIn(contents, "shot.jpg"));
            const QImage badge = cell->imageView()->image();
            if (archive.endsWith(".zip")) {
                QTRY_VERIFY(cell->imageView()->image() != badge);
                const QImage shown = cell->imageView()->image();
                QVERIFY(shown.pixelColor(shown.rect().center()).blue() > 200);
            } else {
                QTest::qWait(300);
                QCOMPARE(cell->imageView()->image(), badge);
            }
        }
    }

    // Chosen rows into a folder of the home folder: a namesake is asked about.
    void extractChosenRows_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("replace") << "Replace" << QStringList{"docs/",           "docs/deep/",
                                                             "docs/deep/x.bin", "docs/mine.txt",
                                                             "docs/readme.md",  "top.txt"};
        QTest::newRow("keep both")
            << "Keep Both" << QStringList{"docs 2/",          "docs 2/deep/", "docs 2/deep/x.bin",
                                          "docs 2/readme.md", "docs/",        "docs/mine.txt",
                                          "top.txt"};
        QTest::newRow("stop") << "Stop" << QStringList{"docs/", "docs/mine.txt"};
    }
    void extractChosenRows()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, expected);
        makeFile(home() + "/Out/docs/mine.txt", "mine");
        Screen s("/");
        s.screen->showContentsOfArchiveNamed("Pack.zip");
        QCOMPARE(listedRows(s), (QStringList{"docs/", "pic.png", "top.txt"}));
        auto *contents = shownContents(s);
        selectRows(contents, {"docs", "top.txt"});
        QVERIFY(contents->extractBarButtonItem()->isEnabled());
        contents->extractSelectionInto("/Out");
        pickIn(s, answer);
        waitUntilIdle();
        auto extracted = tree(home() + "/Out");
        if (answer == "Stop") // top.txt goes if it came before the clash in the table's order
            extracted.removeAll("top.txt");
        QCOMPARE(extracted, expected);
    }

    // Names of a zip made without the UTF-8 flag, read with the code page chosen.
    void nameEncodingRereadsTheNames()
    {
        const QByteArray raw("\xAF\xE0\xA8\xA2\xA5\xE2"); // "привет" in CP866
        QCOMPARE(ArchiveFixtures::python(m_work.path(), "import zipfile\n"
                                                        "with zipfile.ZipFile('n.zip', 'w') as z:\n"
                                                        "  z.writestr('QQQQQQ.txt', b'hi')\n"),
                 0);
        auto bytes = ArchiveFixtures::readFile(m_work.filePath("n.zip"));
        bytes.replace("QQQQQQ", raw);
        ArchiveFixtures::writeFile(home() + "/Names.zip", bytes);
        Screen s("/");
        s.screen->showContentsOfArchiveNamed("Names.zip");
        QVERIFY(listedRows(s) != QStringList{"привет.txt"});
        QVERIFY(shownContents(s)->nameEncodingBarButtonItem());
        shownContents(s)->chooseNameEncoding("IBM866");
        QTRY_COMPARE(listedRows(s), QStringList{"привет.txt"});
    }
};

QTEST_MAIN(TestArchiveContents)
#include "tst_archivecontents.moc"
