#include "ArchiveErrors.h"
#include "ArchiveFixtures.h"
#include "ArchiverManager.h"
#include "FolderMerge.h"
#include "MergeJournal.h"
#include "StagingFolder.h"

#include <FolderHandle.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <Translations.h>
#include <Trash.h>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace ArchiveFixtures;

namespace {

// Every file below `folder` with its content, by path relative to it.
QMap<QString, QByteArray> filesIn(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator walk(folder, QDir::Files | QDir::Hidden | QDir::System,
                      QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const auto path = walk.next();
        files.insert(QDir(folder).relativeFilePath(path), readFile(path));
    }
    return files;
}

// A tar "h.tar" of `folders` x `files` files "dN/fM.txt" holding "archive N M", and the same
// files in `dest` holding "original N M".
void makeReplacingArchive(const QString &dir, const QString &dest, int folders, int files)
{
    const auto counts = QString("folders, files = %1, %2\n").arg(folders).arg(files);
    QCOMPARE(makeTar(dir, counts +
                              "for d in range(folders):\n"
                              "  for n in range(files):\n"
                              "    add(t, 'd%d/f%d.txt' % (d, n), data=b'archive %d %d' % (d, n))"),
             0);
    QCOMPARE(python(dir, "import os, sys\n" + counts + "dest = sys.argv[1] if len(sys.argv) > 1 "
                         "else '" + dest + "'\n"
                         "for d in range(folders):\n"
                         "  os.makedirs('%s/d%d' % (dest, d), exist_ok=True)\n"
                         "  for n in range(files):\n"
                         "    open('%s/d%d/f%d.txt' % (dest, d, n), 'wb').write("
                         "b'original %d %d' % (d, n))\n"),
             0);
}

QList<TrashEntry> trashedFrom(const QString &folder,
                              const QStringList &trashes = Trash::trashDirectoriesInUse())
{
    QList<TrashEntry> found;
    for (const auto &entry : Trash::entries(trashes))
        if (entry.originalPath.startsWith(folder + u'/'))
            found << entry;
    return found;
}

QStringList recordFiles(const QString &root)
{
    return QDir(root + "/State/staging").entryList(QDir::Files);
}

} // namespace

// Nothing of the user's is lost by unpacking: replaced items end in the trash, a merge cut
// short by a crash is undone by the next sweep, an undo that falls short says so and keeps
// what it could not put back, and the sweep takes only staging folders this program made.
class TestKeeping : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;

private slots:
    void initTestCase()
    {
        useRootForEngine(m_root.path());
        Translations::install(*QCoreApplication::instance(), QLocale(QLocale::English));
    }

    void init()
    {
        for (const auto &entry : Trash::entries(Trash::trashDirectoriesInUse()))
            Trash::erase(entry, nullptr);
    }

    // Items of the same type replace each other and folders merge, keeping what only the
    // destination has; the replaced items go to the trash as one folder "Replaced by h.tar"
    // holding them under their own paths, recorded as coming from the destination (a restore
    // puts it there); the result counts them. A second run keeps its own folder; restoring
    // both keeps both.
    void replacedItemsGoToTheTrashAsOneFolder()
    {
        QTemporaryDir dir;
        QCOMPARE(makeTar(dir.path(), "add(t, 'a.txt', data=b'new')\nadd(t, 'l', tarfile.SYMTYPE, "
                                     "linkname='a.txt')\nadd(t, 'sub/b.txt', data=b'new')\nadd(t, "
                                     "'fresh/c.txt', data=b'new')"),
                 0);
        const QString dest = dir.filePath("out");
        writeFile(dest + "/a.txt", "mine");
        writeFile(dest + "/sub/b.txt", "mine");
        writeFile(dest + "/sub/kept.txt", "kept");
        QVERIFY(QFile::link("sub", dest + "/l"));
        for (int run = 0; run < 2; ++run) {
            ExtractionResult result;
            VERIFY_OK(unpack(dir.filePath("h.tar"), dest, {}, nullptr, &result));
            QVERIFY(result.replacedInTrash);
            QCOMPARE(result.replacedInTrash->originalPath, dest + "/Replaced by h.tar");
            QVERIFY(result.replacedFolder.isEmpty());
            const QStringList first{"a.txt", "l -> sub", "sub/", "sub/b.txt"};
            const QStringList second{"a.txt", "fresh/", "fresh/c.txt", "l -> a.txt", "sub/",
                                     "sub/b.txt"};
            QCOMPARE(tree(result.replacedInTrash->path()), run == 0 ? first : second);
            QCOMPARE(result.replacedCount, run == 0 ? 3 : 4);
        }
        QCOMPARE(tree(dest), QStringList({"a.txt", "fresh/", "fresh/c.txt", "l -> a.txt", "sub/",
                                          "sub/b.txt", "sub/kept.txt"}));
        QCOMPARE(readFile(dest + "/sub/b.txt"), QByteArray("new"));
        const auto trashed = trashedFrom(dest);
        QCOMPARE(trashed.size(), 2);
        for (const auto &entry : trashed) {
            Error error;
            QVERIFY2(Trash::restore(entry, &error), qPrintable(error.message));
        }
        // The first run kept the user's files, the second the first run's.
        for (const char *file : {"/a.txt", "/sub/b.txt"})
            QCOMPARE((QSet<QByteArray>{readFile(dest + "/Replaced by h.tar" + file),
                                       readFile(dest + "/Replaced by h 2.tar" + file)}),
                     QSet<QByteArray>({"mine", "new"}));
        QVERIFY(stagingFoldersIn(dest).isEmpty());
        QVERIFY(recordFiles(m_root.path()).isEmpty());
    }

    // ombrisk-archive says what it replaced and where it is; --no-trash deletes it.
    void theToolKeepsOrDeletesOnRequest()
    {
        QTemporaryDir dir;
        QCOMPARE(makeTar(dir.path(), "add(t, 'a.txt', data=b'new')"), 0);
        const QString dest = dir.filePath("out");
        writeFile(dest + "/a.txt", "mine");
        QByteArray output;
        QCOMPARE(run(dir.path(), OMBRISK_ARCHIVE_TOOL, {"extract", "h.tar", "out"}, {}, &output), 0);
        QVERIFY2(output.startsWith("replaced 1 item, kept in " +
                                   QFile::encodeName(m_root.filePath("Trash/files/Replaced by h.tar"))),
                 output.constData());
        QCOMPARE(trashedFrom(dest).size(), 1);
        QCOMPARE(run(dir.path(), OMBRISK_ARCHIVE_TOOL, {"extract", "h.tar", "out", "--no-trash"}, {},
                     &output),
                 0);
        QCOMPARE(output, QByteArray("replaced 1 item\n"));
        QCOMPARE(trashedFrom(dest).size(), 1);
        QCOMPARE(tree(dest), QStringList({"a.txt"}));
    }

    // A destination on a disk with no usable trash (its .Trash-uid is a link) keeps the
    // replaced items in view, in the destination.
    void withoutATrashTheReplacedStayInTheDestination()
    {
        QTemporaryDir dir;
        const QString disk = dir.filePath("disk");
        QVERIFY(QDir().mkpath(disk));
        if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=4m") != 0)
            QSKIP("Can't mount a tmpfs here (needs root and a mount namespace that allows it).");
        auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });
        QVERIFY(QFile::link("/nowhere", disk + "/.Trash-" + QString::number(::geteuid())));
        QCOMPARE(makeTar(dir.path(), "add(t, 'a.txt', data=b'new')"), 0);
        writeFile(disk + "/out/a.txt", "mine");
        writeFile(disk + "/out/Replaced by h.tar", "a file of that name");
        ExtractionResult result;
        VERIFY_OK(unpack(dir.filePath("h.tar"), disk + "/out", {}, nullptr, &result));
        QCOMPARE(result.replacedCount, 1);
        QVERIFY(!result.replacedInTrash);
        QCOMPARE(result.replacedFolder, disk + "/out/Replaced by h 2.tar"); // the free-name rule
        QCOMPARE(readFile(disk + "/out/Replaced by h 2.tar/a.txt"), QByteArray("mine"));
        QCOMPARE(readFile(disk + "/out/a.txt"), QByteArray("new"));
    }

    // The sweep at an extraction and at start takes only staging folders with a record: one
    // the user made, one an archive brought and one made by a rename are the user's.
    void foldersThatOnlyBearTheNameAreTheUsers()
    {
        QTemporaryDir dir;
        QCOMPARE(makeTar(dir.path(), "add(t, '.ombrisk-unpacking-fromzip/a.txt', data=b'a')",
                         "brings.tar"),
                 0);
        QCOMPARE(makeTar(dir.path(), "add(t, 'x.txt', data=b'x')"), 0);
        const QString dest = dir.filePath("dest");
        writeFile(dest + "/.ombrisk-unpacking-notes/important.txt", "important");
        writeFile(dest + "/mine/work.txt", "work");
        QVERIFY(QDir(dest).rename("mine", ".ombrisk-unpacking-renamed"));
        VERIFY_OK(unpack(dir.filePath("brings.tar"), dest));
        QByteArray output;
        QCOMPARE(run(dir.path(), OMBRISK_ARCHIVE_TOOL, {"extract", "h.tar", "dest"}, {}, &output), 0);
        StagingFolder::sweepRecorded();
        StagingFolder::sweep(dest);
        QCOMPARE(stagingFoldersIn(dest), QStringList({".ombrisk-unpacking-fromzip",
                                                      ".ombrisk-unpacking-notes",
                                                      ".ombrisk-unpacking-renamed"}));
        QCOMPARE(readFile(dest + "/.ombrisk-unpacking-notes/important.txt"), QByteArray("important"));
        QCOMPARE(readFile(dest + "/.ombrisk-unpacking-renamed/work.txt"), QByteArray("work"));
        QCOMPARE(readFile(dest + "/.ombrisk-unpacking-fromzip/a.txt"), QByteArray("a"));
    }

    // ombrisk-archive killed in the middle of a large merge: the next extraction into that
    // place, or the app's start sweep, puts every original back from the journal, byte for
    // byte. An original whose place was taken since can't go back: the staging folder goes
    // whole to the trash, where the original is.
    void aMergeCutShortIsUndoneByTheNextSweep_data()
    {
        QTest::addColumn<QString>("recovery");
        QTest::newRow("next extraction") << "extraction";
        QTest::newRow("start sweep") << "start";
        QTest::newRow("an original's place taken") << "taken";
    }
    void aMergeCutShortIsUndoneByTheNextSweep()
    {
        QFETCH(QString, recovery);
        QTemporaryDir dir;
        const QString dest = dir.filePath("dest");
        makeReplacingArchive(dir.path(), dest, 6, 400);
        const auto originals = filesIn(dest);
        QProcess tool;
        tool.start(OMBRISK_ARCHIVE_TOOL, {"extract", dir.filePath("h.tar"), dest});
        QVERIFY(tool.waitForStarted());
        bool killed = false;
        while (!killed && !tool.waitForFinished(0)) {
            const auto staging = stagingFoldersIn(dest);
            if (!staging.isEmpty() &&
                QFileInfo(dest + '/' + staging[0] + "/journal").size() > 3000)
                killed = ::kill(pid_t(tool.processId()), SIGKILL) == 0;
            ::usleep(200);
        }
        QVERIFY2(killed, "the merge ended before it could be cut short");
        tool.waitForFinished();
        QString taken; // a file the merge had replaced
        const auto cutShort = filesIn(dest);
        for (auto file = cutShort.cbegin(); taken.isEmpty() && file != cutShort.cend(); ++file)
            if (file.value().startsWith("archive") && !file.key().startsWith(".ombrisk"))
                taken = file.key();
        QVERIFY2(!taken.isEmpty(), "nothing was replaced before the kill");
        if (recovery != "taken") {
            taken.clear();
        } else {
            QVERIFY(QFile::remove(dest + '/' + taken));
            writeFile(dest + '/' + taken, "a later file of the user's");
        }

        if (recovery == "extraction") {
            QCOMPARE(makeTar(dir.path(), "add(t, 'other.txt', data=b'o')", "o.tar"), 0);
            QCOMPARE(run(dir.path(), OMBRISK_ARCHIVE_TOOL, {"extract", "o.tar", "dest"}), 0);
            QVERIFY(QFile::remove(dest + "/other.txt"));
        } else {
            StagingFolder::sweepRecorded();
        }
        QVERIFY(stagingFoldersIn(dest).isEmpty());
        QVERIFY(recordFiles(m_root.path()).isEmpty());
        auto expected = originals;
        if (!taken.isEmpty())
            expected[taken] = "a later file of the user's";
        const auto now = filesIn(dest);
        for (auto file = expected.cbegin(); file != expected.cend(); ++file)
            QVERIFY2(now.value(file.key()) == file.value(), qPrintable(file.key() + ": " + now.value(file.key())));
        QCOMPARE(now.size(), expected.size());
        const auto trashed = trashedFrom(dest);
        if (taken.isEmpty()) {
            QVERIFY(trashed.isEmpty());
            return;
        }
        QCOMPARE(trashed.size(), 1);
        QCOMPARE(trashed[0].originalPath, dest + "/Unfinished unpacking of h.tar");
        QCOMPARE(readFile(trashed[0].path() + "/set-aside/" + taken), originals[taken]);
    }

    // An undo that can't put an original back (its folder became read-only while the merge
    // ran) keeps it in the trash and says so, naming the items and where they are.
    void anUndoThatFallsShortKeepsTheOriginalsAndSaysWhere()
    {
        QTemporaryDir dir;
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        const QString dest = dir.filePath("dest");
        makeReplacingArchive(dir.path(), dest, 1, 8000);
        const QString folder = dest + "/d0";
        const int watch = ::inotify_init1(IN_CLOEXEC);
        QVERIFY(watch >= 0 && ::inotify_add_watch(watch, QFile::encodeName(folder).constData(),
                                                  IN_MOVED_TO) >= 0);
        // The first item moved in starts the clock: the folder is made read-only at once, so
        // the merge fails there and its undo can't write the folder either.
        std::thread lock([&] {
            char event[4096];
            if (::read(watch, event, sizeof event) > 0)
                ::chmod(QFile::encodeName(folder).constData(), 0555);
        });
        QString message;
        QStringList trashes = Trash::trashDirectoriesInUse();
        if (::geteuid() == 0) {
            // Root writes anywhere: the tool runs as nobody, with a root of nobody's.
            const QString root = dir.filePath("nobody-root");
            QVERIFY(QDir().mkpath(root));
            for (const auto &path : QStringList{root, dest, folder} + filesIn(dest).keys())
                giveToNobody(path.startsWith('/') ? path : dest + '/' + path);
            auto environment = QProcessEnvironment::systemEnvironment();
            environment.insert("OMBRISK_ROOT", root);
            QByteArray output;
            QCOMPARE(runAsNobody({OMBRISK_ARCHIVE_TOOL, "extract", dir.filePath("h.tar"), dest},
                                 &output, environment),
                     1);
            message = QString::fromUtf8(output);
            trashes = {root + "/Trash"};
        } else {
            Error error;
            QVERIFY(!ArchiverManager::decompressAtPath(dir.filePath("h.tar"), dest, {}, &error));
            message = error.message;
        }
        lock.join();
        ::close(watch);
        ::chmod(QFile::encodeName(folder).constData(), 0755);

        const auto trashed = trashedFrom(dest, trashes);
        QCOMPARE(trashed.size(), 1);
        const auto kept = filesIn(trashed[0].path());
        QVERIFY(!kept.isEmpty());
        QVERIFY2(message.contains(QString("%1 item%2 it had already replaced could not be put back")
                                      .arg(kept.size())
                                      .arg(kept.size() == 1 ? "" : "s")) &&
                     message.contains("in the Trash, in the folder “Replaced by h.tar”") &&
                     std::any_of(kept.keyBegin(), kept.keyEnd(),
                                 [&](const QString &item) { return message.contains("“" + item + "”"); }) &&
                     !message.contains("Nothing was changed"),
                 qPrintable(message));
        // Every original is where it was or in the trash, byte for byte.
        const auto now = filesIn(dest);
        for (int n = 0; n < 8000; ++n) {
            const auto name = QString("d0/f%1.txt").arg(n);
            const auto original = QByteArray("original 0 ") + QByteArray::number(n);
            QVERIFY2(now.value(name) == original || kept.value(name) == original, qPrintable(name));
        }
    }

    // The journal keeps names as bytes: a merge of names that are not UTF-8 undone from it
    // puts every original back under its own name.
    void theJournalKeepsNamesAsBytes()
    {
        QTemporaryDir dir;
        const auto root = QFile::encodeName(dir.path());
        for (const char *folder : {"/source", "/target", "/aside", "/undone", "/source/caf\xe9",
                                   "/target/caf\xe9"})
            QVERIFY(::mkdir((root + folder).constData(), 0755) == 0);
        const auto put = [&](const char *path, const char *content) {
            const Fd file(::open((root + path).constData(), O_WRONLY | O_CREAT, 0644));
            QVERIFY(::write(file.get(), content, std::strlen(content)) > 0);
        };
        const auto folder = [&](const char *path) {
            return Fd(::open((root + path).constData(), O_RDONLY | O_DIRECTORY));
        };
        put("/source/caf\xe9/na\xefve.txt", "new");
        put("/target/caf\xe9/na\xefve.txt", "old");
        put("/source/\xff.txt", "added");
        const auto staging = folder("");
        // Names that are not UTF-8 are beyond QTemporaryDir's removal.
        const auto empty = qScopeGuard([&] { FolderHandle::removeContents(staging.get()); });
        const auto source = folder("/source"), target = folder("/target");
        const auto aside = folder("/aside"), undone = folder("/undone");
        auto journal = MergeJournal::create(staging.get(), {}, nullptr);
        QVERIFY(journal);
        const FolderMerge::Folders folders{source.get(), target.get(), aside.get(), undone.get()};
        FolderMerge merge(folders, *journal);
        QVERIFY(merge.run(nullptr));
        QCOMPARE(merge.replacedCount(), 1);
        const auto contents = MergeJournal::read(staging.get());
        QVERIFY(contents && contents->steps.size() == 2);
        QCOMPARE(contents->steps[0].path, QByteArray("caf\xe9/na\xefve.txt"));
        QVERIFY(FolderMerge::undo(contents->steps, folders).isEmpty());
        const Fd back(::open((root + "/target/caf\xe9/na\xefve.txt").constData(), O_RDONLY));
        char content[8] = {};
        QVERIFY(back.isValid() && ::read(back.get(), content, sizeof content) == 3);
        QCOMPARE(QByteArray(content), QByteArray("old"));
        struct stat info {};
        QVERIFY(::lstat((root + "/target/\xff.txt").constData(), &info) != 0);
        QVERIFY(!FolderMerge::undo(contents->steps, folders).size()); // again: nothing moves
    }

    // Each replaced item is swapped with the new one in one step. A merge cancelled before
    // any of its items, so right after any swap, is undone; so is a merge done, from its
    // journal (a crash before the journal went), also once its source became the set-aside
    // folder: every original is back, nothing new stays in the target.
    void aMergeOfSwapsIsUndoneAfterAnyStep()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("target");
        const auto prepare = [&] {
            for (const char *folder : {"/source", "/target", "/aside", "/undone"})
                QVERIFY(QDir(dir.path() + folder).removeRecursively());
            writeFile(dir.filePath("source/a.txt"), "new");
            writeFile(dir.filePath("source/sub/b.txt"), "new");
            writeFile(dir.filePath("source/sub/added.txt"), "new");
            writeFile(dir.filePath("source/fresh/c.txt"), "new");
            QVERIFY(QFile::link("a.txt", dir.filePath("source/l")));
            writeFile(target + "/a.txt", "old a");
            writeFile(target + "/sub/b.txt", "old b");
            writeFile(target + "/sub/kept.txt", "kept");
            QVERIFY(QFile::link("sub", target + "/l"));
            QVERIFY(QDir().mkpath(dir.filePath("aside")) && QDir().mkpath(dir.filePath("undone")));
        };
        const QStringList before{"a.txt", "l -> sub", "sub/", "sub/b.txt", "sub/kept.txt"};
        const auto verifyAsBefore = [&] {
            QCOMPARE(tree(target), before);
            QCOMPARE(readFile(target + "/a.txt"), QByteArray("old a"));
            QCOMPARE(readFile(target + "/sub/b.txt"), QByteArray("old b"));
        };
        const auto open = [&](const char *name) {
            return Fd(
                ::open(QFile::encodeName(dir.filePath(name)).constData(), O_RDONLY | O_DIRECTORY));
        };
        const auto staging = open(".");
        for (int cancelAt = 0;; ++cancelAt) {
            prepare();
            const auto source = open("source"), targetFd = open("target");
            const auto aside = open("aside"), undone = open("undone");
            MergeJournal::remove(staging.get());
            auto journal = MergeJournal::create(staging.get(), {}, nullptr);
            QVERIFY(journal);
            int asked = 0;
            const FolderMerge::Folders folders{source.get(), targetFd.get(), aside.get(),
                                               undone.get()};
            FolderMerge merge(folders, *journal, [&] { return asked++ == cancelAt; });
            if (!merge.run(nullptr)) {
                QVERIFY(merge.notPutBack().isEmpty());
                verifyAsBefore();
                continue;
            }
            QCOMPARE(cancelAt,
                     6); // one ask per item: a.txt, sub, sub/b.txt, sub/added.txt, fresh, l
            QVERIFY(merge.replacedInSource());
            QCOMPARE(tree(dir.filePath("source")),
                     QStringList({"a.txt", "l -> sub", "sub/", "sub/b.txt"}));
            const auto steps = MergeJournal::read(staging.get())->steps;
            QVERIFY(FolderMerge::undo(steps, folders).isEmpty());
            verifyAsBefore();

            // Done again, its source then renamed to the set-aside folder and the other way.
            prepare();
            const auto again = open("source"), againTarget = open("target");
            const auto againAside = open("aside"), againUndone = open("undone");
            MergeJournal::remove(staging.get());
            journal = MergeJournal::create(staging.get(), {}, nullptr);
            QVERIFY(
                FolderMerge({again.get(), againTarget.get(), againAside.get(), againUndone.get()},
                            *journal)
                    .run(nullptr));
            QVERIFY(::renameat2(staging.get(), "source", staging.get(), "aside", RENAME_EXCHANGE) ==
                    0);
            QVERIFY(FolderMerge::undo(
                        MergeJournal::read(staging.get())->steps,
                        {againAside.get(), againTarget.get(), again.get(), againUndone.get()})
                        .isEmpty());
            verifyAsBefore();
            QCOMPARE(rawFiles(QFile::encodeName(dir.filePath("aside"))).size(), 0);
            MergeJournal::remove(staging.get());
            return;
        }
    }

    // A listing that fails part way (its descriptor closed under it) is a failure, not the
    // end of the folder: a walk never passes for whole when it was not.
    void aListingThatFailsPartWayIsAFailure()
    {
        QTemporaryDir dir;
        for (int n = 0; n < 3000; ++n)
            writeFile(dir.filePath(QString("file-with-a-longish-name-%1").arg(n)), {});
        const Fd folder(::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY));
        int seen = 0;
        const bool walked = FolderHandle::forEachItem(folder.get(), [&](const dirent &) {
            if (seen++ == 0) // the listing's own descriptor: the lowest one opened for it
                for (int fd = folder.get() + 1; fd < folder.get() + 8; ++fd)
                    if (QFileInfo(QString("/proc/self/fd/%1").arg(fd)).symLinkTarget() == dir.path())
                        ::close(fd);
            return true;
        });
        const int reason = errno;
        QVERIFY(!walked);
        QCOMPARE(reason, EBADF);
        QVERIFY(seen < 3000);
    }
};

QTEST_GUILESS_MAIN(TestKeeping)
#include "tst_keeping.moc"
