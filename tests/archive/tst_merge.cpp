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

    // A file or link never replaces a folder of the destination, nor a folder a file or link:
    // the whole extraction fails naming the entry and what is in the way, and the items the
    // merge had already replaced or added are put back as they were.
    void clashesFailAndLeaveTheDestinationAsItWas_data()
    {
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("inTheWay");
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("file over a folder") << "add(t, 'docs', data=b'new')" << "docs/" << "a folder";
        QTest::newRow("link over a folder")
            << "add(t, 'docs', tarfile.SYMTYPE, linkname='a.txt')" << "docs/" << "a folder";
        QTest::newRow("folder over a file")
            << "add(t, 'docs', tarfile.DIRTYPE); add(t, 'docs/x', data=b'x')" << "docs"
            << "a file";
        QTest::newRow("folder over a link")
            << "add(t, 'docs', tarfile.DIRTYPE); add(t, 'docs/x', data=b'x')" << "docs@"
            << "a link";
    }
    void clashesFailAndLeaveTheDestinationAsItWas()
    {
        QFETCH(QString, entries);
        QFETCH(QString, inTheWay);
        QFETCH(QString, obstacle);
        QTemporaryDir dir;
        // Many replaced and added items around the clash, so some are merged before it.
        QCOMPARE(python(dir.path(), tarPrelude +
                                        "for n in range(200):\n"
                                        "  add(t, 'f%d.txt' % n, data=b'archive')\n"
                                        "  add(t, 'sub/g%d.txt' % n, data=b'archive')\n"
                                        "  add(t, 'new%d.txt' % n, data=b'archive')\n" +
                                        entries + "\nt.close()\n"),
                 0);
        const QString dest = dir.filePath("out");
        QDir().mkpath(dest + "/sub");
        for (int n = 0; n < 200; ++n) {
            writeFile(QString("%1/f%2.txt").arg(dest).arg(n), "mine");
            writeFile(QString("%1/sub/g%2.txt").arg(dest).arg(n), "mine");
        }
        if (inTheWay == "docs/")
            writeFile(dest + "/docs/work.txt", "my work");
        else if (inTheWay == "docs")
            writeFile(dest + "/docs", "my file");
        else
            QVERIFY(QFile::link("f0.txt", dest + "/docs"));
        const auto before = tree(dest);

        Error error;
        QVERIFY(!ArchiverManager::decompressAtPath(dir.filePath("h.tar"), dest, {}, &error));
        QCOMPARE(error.code, int(ArchiveErrors::WriteFailed));
        QVERIFY2(error.message.contains("“docs”") && error.message.contains(obstacle),
                 qPrintable(error.message));
        QCOMPARE(tree(dest), before);
        QCOMPARE(readFile(dest + "/f7.txt"), QByteArray("mine"));
        QCOMPARE(readFile(dest + "/sub/g7.txt"), QByteArray("mine"));
        QVERIFY(stagingFoldersIn(dest).isEmpty());
    }

    // Another process keeps swapping folders of the destination (and of the staging folder
    // inside it) for links to an outside folder while a large archive merges: whatever the
    // outcome, nothing lands outside.
    void foldersSwappedForLinksLeadNothingOut()
    {
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), tarPrelude +
                                        "for n in range(20000):\n"
                                        "  add(t, 'sub/deep/f%d.txt' % n, data=b'x')\n"
                                        "t.close()\n"),
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
        for (int round = 0; round < 3; ++round) {
            Error error;
            ArchiverManager::decompressAtPath(dir.filePath("h.tar"), dest, {}, &error);
        }
        swapper.kill();
        swapper.waitForFinished();
        QCOMPARE(tree(outside), QStringList({"deep/"}));
    }

    // A folder of the destination the user may not write into stops the merge part way:
    // everything is put back.
    void unwritableFolderUndoesTheMerge()
    {
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), tarPrelude +
                                        "for n in range(300):\n"
                                        "  add(t, 'f%d.txt' % n, data=b'archive')\n"
                                        "  add(t, 'new%d.txt' % n, data=b'archive')\n"
                                        "add(t, 'locked/x.txt', data=b'x')\nt.close()\n"),
                 0);
        const QString dest = dir.filePath("out");
        QDir().mkpath(dest + "/locked");
        for (int n = 0; n < 300; ++n)
            writeFile(QString("%1/f%2.txt").arg(dest).arg(n), "mine");
        const auto before = tree(dest);
        if (::geteuid() == 0) {
            QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
            giveToNobody(dest);
            for (int n = 0; n < 300; ++n)
                giveToNobody(QString("%1/f%2.txt").arg(dest).arg(n));
            QByteArray output;
            QCOMPARE(extractAsNobody(dir.filePath("h.tar"), dest, &output), 1);
            QVERIFY2(output.contains("Ombrisk 107") && output.contains("locked/x.txt"),
                     output.constData());
        } else {
            QFile::setPermissions(dest + "/locked", QFile::ReadOwner | QFile::ExeOwner);
            Error error;
            QVERIFY(!ArchiverManager::decompressAtPath(dir.filePath("h.tar"), dest, {}, &error));
            QCOMPARE(error.code, int(ArchiveErrors::WriteFailed));
        }
        QCOMPARE(tree(dest), before);
        QCOMPARE(readFile(dest + "/f5.txt"), QByteArray("mine"));
        QVERIFY(stagingFoldersIn(dest).isEmpty());
    }

    // A writable destination in a folder the user may not write into: staged inside it.
    void writableDestinationInAnUnwritableParent()
    {
        if (::geteuid() != 0)
            QSKIP("Needs root to run the tool as another user (as that user the parent "
                  "would have to belong to someone else).");
        QTemporaryDir dir;
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        QCOMPARE(python(dir.path(), tarPrelude + "add(t, 'a/b.txt', data=b'b')\nt.close()\n"), 0);
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
        Error error;
        QVERIFY(!ArchiverManager::decompressAtPath(dir.filePath("h.tar"), dest, {}, &error));
        QCOMPARE(error.code, int(ArchiveErrors::NotEnoughSpace)); // known before writing
        QVERIFY(!ArchiverManager::decompressAtPath(dir.filePath("h.tar.gz"), dest, {}, &error));
        QCOMPARE(error.code, int(ArchiveErrors::NotEnoughSpace)); // found while writing
        QCOMPARE(tree(dest), QStringList({"mine.txt"}));
    }

    // A cancel that comes while the content moves in (the overlay's Cancel) undoes the merge:
    // the items moved in leave and the replaced ones come back.
    void cancelWhileMovingInUndoesTheMerge()
    {
        struct CancelWhileMovingIn : ArchiveProgressDelegate {
            bool movingIn = false;
            int asked = 0;
            void archiveProgressChanged(const ArchiveProgress &) override {}
            bool isArchiveCancelled() override { return movingIn && ++asked > 100; }
            void archiveMovingIn() override { movingIn = true; }
        } delegate;
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), tarPrelude +
                                        "for n in range(200):\n"
                                        "  add(t, 'f%d.txt' % n, data=b'archive')\n"
                                        "  add(t, 'new%d.txt' % n, data=b'archive')\n"
                                        "t.close()\n"),
                 0);
        const QString dest = dir.filePath("out");
        for (int n = 0; n < 200; ++n)
            writeFile(QString("%1/f%2.txt").arg(dest).arg(n), "mine");
        const auto before = tree(dest);
        Error error;
        QVERIFY(!ArchiverManager::decompressAtPath(dir.filePath("h.tar"), dest, {}, &error,
                                                   &delegate));
        QCOMPARE(error.code, int(ArchiveErrors::Cancelled));
        QVERIFY(delegate.asked > 100);
        QCOMPARE(tree(dest), before);
        for (int n = 0; n < 200; ++n)
            QCOMPARE(readFile(QString("%1/f%2.txt").arg(dest).arg(n)), QByteArray("mine"));
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

        QCOMPARE(python(dir.path(), tarPrelude + "add(t, 'sub/a.txt', data=b'archive')\n"
                                                 "add(t, 'b.txt', data=b'archive')\nt.close()\n"),
                 0);
        QVERIFY(QFile::rename(dir.filePath("h.tar"), dir.filePath("plain.tar")));
        QCOMPARE(python(dir.path(), tarPrelude + "add(t, 'b.txt', data=b'archive')\n"
                                                 "add(t, 'what?.txt', data=b'x')\nt.close()\n"),
                 0);
        const QString dest = disk + "/out";
        Error error;
        QVERIFY2(ArchiverManager::decompressAtPath(dir.filePath("plain.tar"), dest, {}, &error),
                 qPrintable(error.message));
        writeFile(dest + "/b.txt", "mine");
        writeFile(dest + "/keep.txt", "keep");
        ExtractionResult result;
        QVERIFY2(ArchiverManager::decompressAtPath(dir.filePath("plain.tar"), dest, {}, &error,
                                                   nullptr, &result),
                 qPrintable(error.message));
        QCOMPARE(result.replacedCount, 2);
        QVERIFY(result.replacedInTrash || !result.replacedFolder.isEmpty());
        QCOMPARE(readFile(dest + "/b.txt"), QByteArray("archive"));
        auto expected = QStringList{"b.txt", "keep.txt", "sub/", "sub/a.txt"};
        if (!result.replacedFolder.isEmpty())
            expected << "Replaced by plain.tar/" << "Replaced by plain.tar/b.txt"
                     << "Replaced by plain.tar/sub/" << "Replaced by plain.tar/sub/a.txt";
        expected.sort();
        QCOMPARE(tree(dest), expected);

        QVERIFY(!ArchiverManager::decompressAtPath(dir.filePath("h.tar"), dest, {}, &error));
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
        Error error;
        QVERIFY2(ArchiverManager::decompressAtPath(dir.filePath("h.zip"), dest, {}, &error),
                 qPrintable(error.message));
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
