#include "ArchiveErrors.h"
#include "ArchiveFixtures.h"
#include "ArchiverManager.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ArchiveFixtures;

namespace {

// Runs ombrisk-archive as the user nobody (the test runs as root): permissions then hold.
int extractAsNobody(const QString &archive, const QString &destination, QByteArray *output)
{
    return runAsNobody({OMBRISK_ARCHIVE_TOOL, "extract", archive, destination}, output);
}

} // namespace

// Unpacking into a folder that already holds things: what may replace what, the merge undone
// on any failure, links swapped in meanwhile, where the staging folder goes.
class TestMerge : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;

private slots:
    void initTestCase() { useRootForEngine(m_root.path()); }

    // A merge stopped part way is undone, the items it had already replaced or added put back:
    // a file or link never replaces a folder of the destination, nor a folder a file or link
    // (the error names the entry and what is in the way); a folder the user may not write
    // into stops it; so does a cancel while the content moves in (the overlay's Cancel).
    void aMergeStoppedPartWayIsUndone_data()
    {
        QTest::addColumn<QString>("entries");  // after many replacing and added ones
        QTest::addColumn<QString>("inTheWay"); // what the destination holds
        QTest::addColumn<QStringList>("said");
        const QString folder = "add(t, 'docs', tarfile.DIRTYPE); add(t, 'docs/x', data=b'x')";
        QTest::newRow("file over a folder") << "add(t, 'docs', data=b'new')"
                                            << "docs/" << QStringList{"“docs”", "a folder"};
        QTest::newRow("link over a folder") << "add(t, 'docs', tarfile.SYMTYPE, linkname='a.txt')"
                                            << "docs/" << QStringList{"“docs”", "a folder"};
        QTest::newRow("folder over a file") << folder << "docs" << QStringList{"“docs”", "a file"};
        QTest::newRow("folder over a link") << folder << "docs@" << QStringList{"“docs”", "a link"};
        QTest::newRow("unwritable folder") << "add(t, 'locked/x.txt', data=b'x')"
                                           << "locked" << QStringList{"locked/x.txt"};
        QTest::newRow("cancel while moving in") << ""
                                                << "" << QStringList{};
    }
    void aMergeStoppedPartWayIsUndone()
    {
        QFETCH(QString, entries);
        QFETCH(QString, inTheWay);
        QFETCH(QStringList, said);
        QTemporaryDir dir;
        QCOMPARE(makeTar(dir.path(), "for n in range(200):\n"
                                     "  add(t, 'f%d.txt' % n, data=b'archive')\n"
                                     "  add(t, 'sub/g%d.txt' % n, data=b'archive')\n"
                                     "  add(t, 'new%d.txt' % n, data=b'archive')\n" +
                                         entries),
                 0);
        const QString dest = dir.filePath("out");
        for (int n = 0; n < 200; ++n) {
            writeFile(QString("%1/f%2.txt").arg(dest).arg(n), "mine");
            writeFile(QString("%1/sub/g%2.txt").arg(dest).arg(n), "mine");
        }
        if (inTheWay == "docs/")
            writeFile(dest + "/docs/work.txt", "my work");
        else if (inTheWay == "docs")
            writeFile(dest + "/docs", "my file");
        else if (inTheWay == "docs@")
            QVERIFY(QFile::link("f0.txt", dest + "/docs"));
        else if (inTheWay == "locked")
            QDir().mkpath(dest + "/locked");
        const auto before = tree(dest);

        QString message;
        if (inTheWay == "locked" && ::geteuid() == 0) { // root writes anywhere: run as nobody
            QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
            giveToNobody(dest);
            for (const auto &item : before)
                if (item != "locked/")
                    giveToNobody(dest + '/' + item);
            QByteArray output;
            QCOMPARE(extractAsNobody(dir.filePath("h.tar"), dest, &output), 1);
            QVERIFY2(output.contains("Ombrisk 107"), output.constData());
            message = QString::fromUtf8(output);
        } else if (inTheWay.isEmpty()) {
            struct CancelWhileMovingIn : ArchiveProgressDelegate {
                bool movingIn = false;
                int asked = 0;
                void archiveProgressChanged(const ArchiveProgress &) override {}
                bool isArchiveCancelled() override { return movingIn && ++asked > 100; }
                void archiveMovingIn() override { movingIn = true; }
            } delegate;
            VERIFY_CODE(unpack(dir.filePath("h.tar"), dest, {}, &delegate),
                        int(ArchiveErrors::Cancelled));
            QVERIFY(delegate.asked > 100);
        } else {
            if (inTheWay == "locked")
                QFile::setPermissions(dest + "/locked", QFile::ReadOwner | QFile::ExeOwner);
            const Error error = unpack(dir.filePath("h.tar"), dest);
            QCOMPARE(error.code, int(ArchiveErrors::WriteFailed));
            message = error.message;
        }
        for (const auto &part : said)
            QVERIFY2(message.contains(part), qPrintable(message));
        QCOMPARE(tree(dest), before);
        for (int n = 0; n < 200; ++n)
            QCOMPARE(readFile(QString("%1/f%2.txt").arg(dest).arg(n)), QByteArray("mine"));
        QCOMPARE(readFile(dest + "/sub/g7.txt"), QByteArray("mine"));
        QVERIFY(stagingFoldersIn(dest).isEmpty());
    }

    // Another process keeps swapping folders of the destination (and of the staging folder
    // inside it) for links to an outside folder while a large archive merges: whatever the
    // outcome, nothing lands outside.
    void foldersSwappedForLinksLeadNothingOut()
    {
        QTemporaryDir dir;
        QCOMPARE(makeTar(dir.path(),
                         "for n in range(20000):\n  add(t, 'sub/deep/f%d.txt' % n, data=b'x')"),
                 0);
        const QString dest = dir.filePath("out");
        const QString outside = dir.filePath("outside");
        QDir().mkpath(dest + "/sub/deep");
        QDir().mkpath(outside + "/deep");
        for (int n = 0; n < 20000; n += 97)
            writeFile(QString("%1/sub/deep/f%2.txt").arg(dest).arg(n), "mine");
        QProcess swapper;
        swapper.start("python3", {"-c",
                                  "import os, glob, sys\n"
                                  "dest, outside = sys.argv[1], sys.argv[2]\n"
                                  "while True:\n"
                                  "  for d in [dest + '/sub', dest + '/sub/deep'] + "
                                  "glob.glob(dest + '/.ombrisk-unpacking-*/content/sub'):\n"
                                  "    try:\n"
                                  "      os.rename(d, d + '-away'); os.symlink(outside, d)\n"
                                  "      os.unlink(d); os.rename(d + '-away', d)\n"
                                  "    except OSError: pass\n",
                                  dest, outside});
        QVERIFY(swapper.waitForStarted());
        for (int round = 0; round < 3; ++round)
            unpack(dir.filePath("h.tar"), dest);
        swapper.kill();
        swapper.waitForFinished();
        QCOMPARE(tree(outside), QStringList({"deep/"}));
    }

    // A writable destination in a folder the user may not write into: staged inside it.
    void writableDestinationInAnUnwritableParent()
    {
        if (::geteuid() != 0)
            QSKIP("Needs root to run the tool as another user (as that user the parent "
                  "would have to belong to someone else).");
        QTemporaryDir dir;
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        QCOMPARE(makeTar(dir.path(), "add(t, 'a/b.txt', data=b'b')"), 0);
        const QString dest = dir.filePath("out");
        QDir().mkpath(dest);
        giveToNobody(dest);
        QByteArray output;
        QCOMPARE(extractAsNobody(dir.filePath("h.tar"), dest, &output), 0);
        QCOMPARE(tree(dest), QStringList({"a/", "a/b.txt"}));
        QVERIFY(stagingFoldersIn(dir.path()).isEmpty());
    }

    // The destination is a small file system of its own (a tmpfs mounted on it): the free
    // space checked is its own, and a disk filling up part way leaves it as it was.
    void destinationOnItsOwnSmallFileSystem()
    {
        QTemporaryDir dir;
        const QString dest = dir.filePath("out");
        QDir().mkpath(dest);
        if (::mount("tmpfs", QFile::encodeName(dest).constData(), "tmpfs", 0, "size=1m") != 0)
            QSKIP("Can't mount a tmpfs here (needs root and a mount namespace that allows it).");
        auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(dest).constData(), MNT_DETACH); });
        writeFile(dest + "/mine.txt", "mine");
        const auto noise2m = noise(2 * 1024 * 1024);
        writeFile(dir.filePath("big.bin"), noise2m);
        writeFile(dir.filePath("small.txt"), "small");
        QCOMPARE(run(dir.path(), "bsdtar", {"-cf", "h.tar", "small.txt", "big.bin"}), 0);
        QCOMPARE(run(dir.path(), "bsdtar", {"-czf", "h.tar.gz", "small.txt", "big.bin"}), 0);
        // Known before writing, then found while writing.
        VERIFY_CODE(unpack(dir.filePath("h.tar"), dest), int(ArchiveErrors::NotEnoughSpace));
        VERIFY_CODE(unpack(dir.filePath("h.tar.gz"), dest), int(ArchiveErrors::NotEnoughSpace));
        QCOMPARE(tree(dest), QStringList({"mine.txt"}));
    }

    // Disks of other file systems, on an image mounted in the test: ntfs-3g refuses the rename
    // flag that never replaces ("Invalid argument"), and with Windows' name rules, as vfat, it
    // refuses names such as "what?.txt". A new folder is made and a merge replaces and keeps
    // as anywhere, and an entry the disk can't name fails the unpacking, naming the entry.
    void otherFileSystems_data()
    {
        QTest::addColumn<QStringList>("make");
        QTest::addColumn<QStringList>("mount");
        QTest::newRow("ntfs-3g") << QStringList{"mkntfs", "-F", "-Q", "-q", "IMAGE"}
                                 << QStringList{"ntfs-3g", "-o", "windows_names", "IMAGE", "MOUNT"};
        QTest::newRow("vfat") << QStringList{"mkfs.vfat", "IMAGE"}
                              << QStringList{"mount", "-o", "loop", "IMAGE", "MOUNT"};
    }
    void otherFileSystems()
    {
        QFETCH(QStringList, make);
        QFETCH(QStringList, mount);
        if (::geteuid() != 0)
            QSKIP("Mounting a disk image needs root.");
        const QStringList tools{"/usr/sbin", "/sbin", "/usr/bin", "/bin"};
        for (const auto &program : {make[0], mount[0]})
            if (QStandardPaths::findExecutable(program, tools).isEmpty())
                QSKIP(qPrintable(program + " is not installed (scripts/install-deps.sh installs "
                                           "it)."));
        QTemporaryDir dir;
        const QString image = dir.filePath("disk.img");
        const QString disk = dir.filePath("disk");
        QVERIFY(QDir().mkpath(disk));
        QFile imageFile(image);
        QVERIFY(imageFile.open(QIODevice::WriteOnly) && imageFile.resize(32 << 20));
        imageFile.close();
        const auto filled = [&](QStringList command) {
            command.replaceInStrings("IMAGE", image).replaceInStrings("MOUNT", disk);
            return command;
        };
        const auto madeFs = filled(make);
        QCOMPARE(run(dir.path(), madeFs[0], madeFs.mid(1)), 0);
        const auto mountIt = filled(mount);
        QByteArray said;
        if (run(dir.path(), mountIt[0], mountIt.mid(1), {}, &said) != 0)
            QSKIP(qPrintable("The image could not be mounted here: " + QString::fromLocal8Bit(said)));
        auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });

        QCOMPARE(makeTar(dir.path(),
                         "add(t, 'sub/a.txt', data=b'archive')\n"
                         "add(t, 'b.txt', data=b'archive')",
                         "plain.tar"),
                 0);
        QCOMPARE(
            makeTar(dir.path(), "add(t, 'b.txt', data=b'archive')\nadd(t, 'what?.txt', data=b'x')"),
            0);
        const QString dest = disk + "/out";
        VERIFY_OK(unpack(dir.filePath("plain.tar"), dest));
        writeFile(dest + "/b.txt", "mine");
        writeFile(dest + "/keep.txt", "keep");
        ExtractionResult result;
        VERIFY_OK(unpack(dir.filePath("plain.tar"), dest, {}, nullptr, &result));
        QCOMPARE(result.replacedCount, 2);
        QVERIFY(result.replacedInTrash || !result.replacedFolder.isEmpty());
        QCOMPARE(readFile(dest + "/b.txt"), QByteArray("archive"));
        auto expected = QStringList{"b.txt", "keep.txt", "sub/", "sub/a.txt"};
        if (!result.replacedFolder.isEmpty())
            expected << "Replaced by plain.tar/" << "Replaced by plain.tar/b.txt"
                     << "Replaced by plain.tar/sub/" << "Replaced by plain.tar/sub/a.txt";
        expected.sort();
        QCOMPARE(tree(dest), expected);

        const Error error = unpack(dir.filePath("h.tar"), dest);
        QVERIFY2(error.message.contains("“what?.txt”"), qPrintable(error.message));
        QCOMPARE(tree(dest), expected);
        QVERIFY(stagingFoldersIn(dest).isEmpty() && stagingFoldersIn(disk).isEmpty());
    }

    // Folders without a mode in the archive get 0755 less the umask, as tar tools give them;
    // so does a destination the extraction makes.
    void foldersWithoutModeFollowTheUmask()
    {
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), "import zipfile\nz = zipfile.ZipFile('h.zip', 'w')\n"
                                    "i = zipfile.ZipInfo('d/'); i.external_attr = 0x10\n"
                                    "z.writestr(i, b'')\n"
                                    "i = zipfile.ZipInfo('p/q.txt'); i.external_attr = 0\n"
                                    "z.writestr(i, b'q')\nz.close()\n"),
                 0);
        const QString dest = dir.filePath("out");
        VERIFY_OK(unpack(dir.filePath("h.zip"), dest));
        const auto expected = 0755 & ~[] {
            const auto mask = ::umask(0);
            ::umask(mask);
            return mask;
        }();
        for (const auto *folder : {"", "/d", "/p"}) {
            struct stat info {};
            QVERIFY(::stat(QFile::encodeName(dest + folder).constData(), &info) == 0);
            QCOMPARE(info.st_mode & 07777, expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestMerge)
#include "tst_merge.moc"
