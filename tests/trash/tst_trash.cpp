#include "Trash.h"
#include "TrashInfo.h"

#include <AppDirectories.h>
#include <FolderHandle.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <Utils.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Paths as bytes, so names that are not UTF-8 stay what they are.
void writeFile(const QByteArray &path, const QByteArray &content)
{
    const Fd file(::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    QVERIFY2(file.isValid(), path.constData());
    QCOMPARE(::write(file.get(), content.constData(), size_t(content.size())),
             ssize_t(content.size()));
}

QByteArray readFile(const QByteArray &path)
{
    QFile file(QFile::decodeName(path));
    const Fd fd(::open(path.constData(), O_RDONLY | O_CLOEXEC));
    if (!fd.isValid() || !file.open(fd.get(), QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

bool exists(const QByteArray &path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0;
}

QByteArray bytes(const QString &path)
{
    return QFile::encodeName(path);
}

// Runs a command line in bash (so arguments may be bytes that are not UTF-8); its output.
QByteArray shell(const QByteArray &command, const QProcessEnvironment &environment, int *code)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("bash"), {QStringLiteral("-c"), QString::fromLatin1(command)});
    process.waitForFinished(30000);
    *code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput() + process.readAllStandardError();
}

} // namespace

// The trash layer on real folders: the home trash inside a temporary root, a second disk's
// trash on a tmpfs mounted by the test (as root), and the desktop's own tools on the same
// trash folders.
class TestTrash : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QTemporaryDir m_work;

    QByteArray work(const char *relative) const { return bytes(m_work.filePath(relative)); }

    TrashEntry trashed(const QByteArray &path)
    {
        Error error;
        const auto entry = Trash::moveToTrash(QFile::decodeName(path), &error);
        if (!entry)
            qWarning("%s", qPrintable(error.message));
        return entry.value_or(TrashEntry{});
    }

    QProcessEnvironment toolEnvironment() const
    {
        // The desktop tools' home trash is $XDG_DATA_HOME/Trash: ours, inside the root.
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", m_root.path());
        return environment;
    }

private slots:
    void initTestCase()
    {
        AppDirectories::useRoot(m_root.path());
        QVERIFY(QDir().mkpath(Utils::documentsPath()));
    }

    // Names that are not UTF-8 are beyond QDir: emptied by descriptor.
    void init()
    {
        for (const auto &folder : {m_work.path(), m_root.filePath("Trash")})
            if (const Fd fd(::open(bytes(folder).constData(), O_RDONLY | O_DIRECTORY)); fd.isValid())
                QVERIFY(FolderHandle::removeContents(fd.get()));
    }
    void cleanupTestCase() { init(); }

    // What is written reads back the same, whatever bytes the path holds; only letters,
    // digits, "-._~" and "/" stand unescaped, and the date is to the second in local time.
    // Files other tools wrote are read leniently: CR LF, keys outside the group, a later
    // group; a missing or empty Path, a NUL or no group is no entry, a bad date no date.
    void infoFiles_data()
    {
        QTest::addColumn<QByteArray>("text"); // empty: the one written for the path
        QTest::addColumn<QByteArray>("path"); // empty: no entry
        QTest::addColumn<bool>("dated");
        for (const char *path : {"/home/u/notes.txt", "/a b/100% sure #1?.txt", "/x/caf\xe9.txt",
                                 "/日本/語 2.txt", "docs/a=b&c.txt"})
            QTest::newRow(path) << QByteArray() << QByteArray(path) << true;
        QTest::newRow("CR LF") << QByteArray("[Trash Info]\r\nPath=/a%20b\r\nDeletionDate="
                                             "2024-02-29T23:05:09\r\n")
                               << QByteArray("/a b") << true;
        QTest::newRow("other groups") << QByteArray("Path=/wrong\n[Trash Info]\nPath=/right\n"
                                                    "DeletionDate=2024-02-29T23:05:09\n[Other]\n"
                                                    "Path=/other\n")
                                      << QByteArray("/right") << true;
        QTest::newRow("no Path") << QByteArray("[Trash Info]\nDeletionDate=2020-01-02T03:04:05\n")
                                 << QByteArray() << false;
        QTest::newRow("empty Path") << QByteArray("[Trash Info]\nPath=\n") << QByteArray()
                                    << false;
        QTest::newRow("NUL") << QByteArray("[Trash Info]\nPath=/a%00b\n") << QByteArray() << false;
        QTest::newRow("no group") << QByteArray("Path=/a\n") << QByteArray() << false;
        QTest::newRow("bad date") << QByteArray("[Trash Info]\nPath=/a\nDeletionDate=yesterday\n")
                                  << QByteArray("/a") << false;
    }
    void infoFiles()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, path);
        QFETCH(bool, dated);
        const QDateTime date(QDate(2024, 2, 29), QTime(23, 5, 9));
        if (text.isEmpty()) {
            text = TrashInfo::format(path, date);
            static const QRegularExpression shape(QStringLiteral(
                "^\\[Trash Info\\]\nPath=[A-Za-z0-9%/._~-]+\nDeletionDate=2024-02-29T23:05:09\n$"));
            QVERIFY2(shape.match(QString::fromLatin1(text)).hasMatch(), text.constData());
        }
        const auto read = TrashInfo::parse(text);
        QCOMPARE(bool(read), !path.isEmpty());
        if (read) {
            QCOMPARE(read->path, path);
            QCOMPARE(read->deletionDate.isValid(), dated);
            if (dated)
                QCOMPARE(read->deletionDate, date);
        }
    }

    // A file, a folder with what it holds (a read-only sub-folder too) and a link (the link
    // itself; its target stays) go to the home trash with their info files, are listed, and
    // come back byte for byte; what is erased is gone with its info file.
    void itemsAreTrashedListedRestoredAndErased()
    {
        writeFile(work("notes.txt"), "notes");
        QVERIFY(QDir().mkpath(m_work.filePath("Photos/raw")));
        writeFile(work("Photos/raw/a.jpg"), QByteArray(100000, 'a'));
        QVERIFY(QFile::link(m_work.filePath("notes.txt"), m_work.filePath("shortcut")));
        for (const char *item : {"notes.txt", "Photos", "shortcut"}) {
            const auto entry = trashed(work(item));
            QCOMPARE(entry.trashDirectory, m_root.filePath("Trash"));
            QCOMPARE(entry.originalPath, m_work.filePath(item));
            QVERIFY(!exists(work(item)));
            QVERIFY(exists(bytes(entry.path())));
        }
        const auto info = readFile(bytes(m_root.filePath("Trash/info/Photos.trashinfo")));
        QVERIFY2(info.contains("\nPath=" + work("Photos") + '\n'), info.constData());
        QVERIFY(Trash::bytesIn({m_root.filePath("Trash")}) >= 100000);

        auto listed = Trash::entries(Trash::trashDirectoriesInUse());
        QCOMPARE(listed.size(), 3);
        for (const auto &entry : listed) {
            QVERIFY(entry.deletionDate.secsTo(QDateTime::currentDateTime()) < 60);
            if (entry.name == "shortcut") {
                Error error;
                QVERIFY2(Trash::erase(entry, &error), qPrintable(error.message));
                continue;
            }
            Error error;
            QCOMPARE(Trash::restore(entry, &error).value_or(error.message), entry.originalPath);
            QVERIFY(!Trash::restore(entry, &error)); // once only
            QCOMPARE(error.code, int(Trash::ItemNotFound));
        }
        QCOMPARE(readFile(work("notes.txt")), QByteArray("notes"));
        QCOMPARE(readFile(work("Photos/raw/a.jpg")), QByteArray(100000, 'a'));
        QVERIFY(!exists(work("shortcut")));
        QCOMPARE(QDir(m_root.filePath("Trash/files")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), QStringList());
        QCOMPARE(QDir(m_root.filePath("Trash/info")).entryList(QDir::Files), QStringList());

        // A folder with a read-only folder inside is erased whole.
        QVERIFY(QDir().mkpath(m_work.filePath("Locked/inner")));
        writeFile(work("Locked/inner/x"), "x");
        QVERIFY(::chmod(work("Locked/inner").constData(), 0500) == 0);
        Error error;
        QVERIFY(Trash::erase(trashed(work("Locked")), &error));
        QVERIFY(Trash::entries({m_root.filePath("Trash")}).isEmpty());
    }

    // Newest first; names in the trash unique: items of one name are numbered, and an info
    // file left without its item (or an item without its info file) keeps its name taken and
    // is no entry.
    void namesInTheTrashAreUniqueAndOrphansAreNoEntries()
    {
        for (const char *folder : {"a", "b", "c"}) {
            QVERIFY(QDir(m_work.path()).mkdir(folder));
            writeFile(work(folder) + "/notes.txt", folder);
        }
        QStringList names;
        for (const char *folder : {"a", "b", "c"})
            names << QString::fromUtf8(trashed(work(folder) + "/notes.txt").name);
        QCOMPARE(names, QStringList({"notes.txt", "notes 2.txt", "notes 3.txt"}));
        writeFile(bytes(m_root.filePath("Trash/info/report.pdf.trashinfo")),
                  TrashInfo::format("/gone/report.pdf", QDateTime::currentDateTime()));
        writeFile(bytes(m_root.filePath("Trash/files/draw.svg")), "orphan");
        writeFile(work("report.pdf"), "r");
        writeFile(work("draw.svg"), "d");
        QCOMPARE(trashed(work("report.pdf")).name, QByteArray("report 2.pdf"));
        QCOMPARE(trashed(work("draw.svg")).name, QByteArray("draw 2.svg"));

        auto olderInfo = TrashInfo::format(work("a/notes.txt"), QDateTime(QDate(2001, 1, 1), QTime()));
        writeFile(bytes(m_root.filePath("Trash/info/notes.txt.trashinfo")), olderInfo);
        const auto listed = Trash::entries({m_root.filePath("Trash")});
        QStringList order;
        for (const auto &entry : listed)
            order << QString::fromUtf8(entry.name);
        QCOMPARE(order.size(), 5);
        QCOMPARE(order.last(), QStringLiteral("notes.txt"));
        QVERIFY(!order.contains("report.pdf") && !order.contains("draw.svg"));
    }

    // Names that are not UTF-8 and names of 255 bytes keep every byte: trashed through a
    // folder's descriptor, listed, restored (numbered as bytes when taken).
    void namesKeepTheirBytes()
    {
        const QByteArray latin1("caf\xe9.txt");
        const QByteArray longName = QString(126, u'é').toUtf8() + "x.t";
        QCOMPARE(longName.size(), 255);
        const Fd folder(::open(bytes(m_work.path()).constData(), O_RDONLY | O_DIRECTORY));
        for (const auto &name : {latin1, longName}) {
            writeFile(bytes(m_work.path()) + '/' + name, name);
            Error error;
            const auto entry = Trash::moveToTrash(folder.get(), name,
                                                  QFile::decodeName(bytes(m_work.path()) + '/' + name), &error);
            QVERIFY2(entry, qPrintable(error.message));
            QCOMPARE(entry->encodedOriginal(), bytes(m_work.path()) + '/' + name);
            QVERIFY(!exists(bytes(m_work.path()) + '/' + name));
        }
        writeFile(bytes(m_work.path()) + '/' + latin1, "taken");
        const auto listed = Trash::entries({m_root.filePath("Trash")});
        QCOMPARE(listed.size(), 2);
        for (const auto &entry : listed) {
            Error error;
            QVERIFY2(Trash::restore(entry, &error), qPrintable(error.message));
        }
        QCOMPARE(readFile(bytes(m_work.path()) + '/' + longName), longName);
        QCOMPARE(readFile(bytes(m_work.path()) + "/caf\xe9 2.txt"), latin1);
        QCOMPARE(readFile(bytes(m_work.path()) + '/' + latin1), QByteArray("taken"));
    }

    // Many items of one folder in one batch (more than one group): a name that is not UTF-8,
    // names taken in the trash by an info file or by an item alone, an item gone before its
    // turn (which fails alone), and a Cancel that stops between groups. Each moved item has its
    // info file, and the batch comes back whole.
    void aBatchMovesEachItemAndComesBackWhole()
    {
        const auto folder = work("Many");
        QVERIFY(QDir().mkpath(QFile::decodeName(folder)));
        QList<QByteArray> names{"caf\xe9.txt", "taken.txt", "orphan.txt"};
        for (int i = 0; i < 300; ++i)
            names << "f" + QByteArray::number(i);
        names << "gone.txt";
        for (const auto &name : names)
            writeFile(folder + '/' + name, name);
        QVERIFY(QDir().mkpath(m_root.filePath("Trash/files")));
        QVERIFY(QDir().mkpath(m_root.filePath("Trash/info")));
        writeFile(bytes(m_root.filePath("Trash/info/taken.txt.trashinfo")),
                  TrashInfo::format("/elsewhere/taken.txt", QDateTime::currentDateTime()));
        writeFile(bytes(m_root.filePath("Trash/files/orphan.txt")), "left alone");

        QList<qsizetype> reports;
        const auto moved = Trash::moveAllToTrash(QFile::decodeName(folder), names, [&](qsizetype done) {
            if (reports.isEmpty())
                ::unlink((folder + "/gone.txt").constData());
            reports << done;
            return true;
        });
        QCOMPARE(reports.last(), names.size());
        QCOMPARE(moved.failures.size(), 1);
        QCOMPARE(moved.failures[0].code, int(Trash::ItemNotFound));
        QVERIFY(moved.failures[0].message.contains("gone.txt"));
        QCOMPARE(moved.entries.size(), names.size() - 1);
        QCOMPARE(moved.entries[1].name, QByteArray("taken 2.txt"));
        QCOMPARE(moved.entries[2].name, QByteArray("orphan 2.txt"));
        for (qsizetype i = 0; i < moved.entries.size(); ++i) {
            const auto &entry = moved.entries[i];
            QCOMPARE(entry.encodedOriginal(), folder + '/' + names[i]);
            QCOMPARE(readFile(bytes(m_root.filePath("Trash/files/")) + entry.name), names[i]);
            const auto info = TrashInfo::parse(
                readFile(bytes(m_root.filePath("Trash/info/")) + entry.name + ".trashinfo"));
            QVERIFY(info);
            QCOMPARE(info->path, folder + '/' + names[i]);
        }
        QCOMPARE(Trash::entries({m_root.filePath("Trash")}).size(), moved.entries.size());

        QVERIFY(Trash::restoreAll(moved.entries).isEmpty());
        for (qsizetype i = 0; i + 1 < names.size(); ++i)
            QCOMPARE(readFile(folder + '/' + names[i]), names[i]);
        QCOMPARE(readFile(bytes(m_root.filePath("Trash/files/orphan.txt"))), QByteArray("left alone"));
        QVERIFY(exists(bytes(m_root.filePath("Trash/info/taken.txt.trashinfo"))));

        // Cancel after the first group: what moved is in the trash, the rest where it was.
        names.removeLast();
        const auto stopped =
            Trash::moveAllToTrash(QFile::decodeName(folder), names, [](qsizetype) { return false; });
        QVERIFY(stopped.failures.isEmpty());
        QVERIFY(stopped.entries.size() > 0 && stopped.entries.size() < names.size());
        QVERIFY(exists(folder + '/' + names.last()));
        QVERIFY(!exists(folder + '/' + names.first()));
    }

    // What `gio trash` puts in the home trash is listed and restored (a name that is not
    // UTF-8 too), and what we trash is what the desktop's listing tools show.
    void desktopToolsShareTheTrash()
    {
        if (QStandardPaths::findExecutable("gio").isEmpty())
            QSKIP("gio (Debian package libglib2.0-bin) is not installed.");
        QVERIFY(QDir().mkpath(m_work.filePath("Docs")));
        writeFile(work("Docs/plan.odt"), "plan");
        writeFile(bytes(m_work.path()) + "/Docs/caf\xe9.txt", "latin");
        int code = 0;
        const auto output = shell("cd '" + work("Docs") + "' && gio trash plan.odt $'caf\\xe9.txt'",
                                  toolEnvironment(), &code);
        QVERIFY2(code == 0, output.constData());
        const auto listed = Trash::entries({m_root.filePath("Trash")});
        QCOMPARE(listed.size(), 2);
        for (const auto &entry : listed) {
            Error error;
            QVERIFY2(Trash::restore(entry, &error), qPrintable(error.message));
        }
        QCOMPARE(readFile(work("Docs/plan.odt")), QByteArray("plan"));
        QCOMPARE(readFile(bytes(m_work.path()) + "/Docs/caf\xe9.txt"), QByteArray("latin"));

        // Moved as part of a batch, as the screens move a selection.
        QVERIFY(Trash::moveAllToTrash(m_work.filePath("Docs"), {"plan.odt"}).failures.isEmpty());
        if (!QStandardPaths::findExecutable("trash-list").isEmpty()) {
            const auto list = shell("trash-list", toolEnvironment(), &code);
            QVERIFY2(list.contains(" " + work("Docs/plan.odt")), list.constData());
        }
        // `gio trash --list` needs the trash backend of gvfs and a session bus.
        const auto gioList = shell("gio trash --list", toolEnvironment(), &code);
        if (code == 0)
            QVERIFY2(gioList.contains(work("Docs/plan.odt")), gioList.constData());
        else
            qInfo("gio trash --list can't run here: %s", gioList.trimmed().constData());
    }

    // An item on another disk (a tmpfs mounted below the home folder) goes to that disk's own
    // trash: $topdir/.Trash/$uid when .Trash is a sticky folder, else $topdir/.Trash-$uid,
    // never a trash folder that is a link or someone else's; the Path recorded there is
    // relative to the disk's top.
    void anotherDiskHasItsOwnTrash_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("expected"); // empty: no usable trash, nothing moved
        const auto uid = QString::number(::geteuid());
        QTest::newRow("nothing there") << "" << ".Trash-" + uid;
        QTest::newRow("sticky .Trash") << "&& mkdir -m 1777 .Trash" << ".Trash/" + uid;
        QTest::newRow(".Trash not sticky") << "&& mkdir -m 0777 .Trash" << ".Trash-" + uid;
        QTest::newRow(".Trash a link to a sticky folder")
            << "&& mkdir -m 1777 shared && ln -s shared .Trash" << ".Trash-" + uid;
        QTest::newRow(".Trash-uid a link") << "&& mkdir away && ln -s away .Trash-" + uid << "";
        QTest::newRow(".Trash-uid another user's")
            << "&& mkdir .Trash-" + uid + " && chown 12345 .Trash-" + uid << "";
    }
    void anotherDiskHasItsOwnTrash()
    {
        QFETCH(QString, setup);
        QFETCH(QString, expected);
        const QString disk = Utils::documentsPath() + "/USB";
        QVERIFY(QDir().mkpath(disk));
        if (::mount("tmpfs", bytes(disk).constData(), "tmpfs", 0, "size=4m") != 0)
            QSKIP("Can't mount a tmpfs here (needs root and a mount namespace that allows it).");
        auto unmount = qScopeGuard([&] { ::umount2(bytes(disk).constData(), MNT_DETACH); });
        int code = 0;
        QCOMPARE(shell("cd '" + bytes(disk) + "' && true " + setup.toUtf8(), toolEnvironment(), &code),
                 QByteArray());
        QVERIFY(QDir().mkpath(disk + "/docs"));
        writeFile(bytes(disk + "/docs/a.txt"), "on the disk");

        Error error;
        const auto entry = Trash::moveToTrash(disk + "/docs/a.txt", &error);
        if (expected.isEmpty()) {
            QVERIFY(!entry);
            QCOMPARE(error.code, int(Trash::NoTrash));
            QVERIFY2(error.message.contains("“a.txt”"), qPrintable(error.message));
            QCOMPARE(readFile(bytes(disk + "/docs/a.txt")), QByteArray("on the disk"));
            return;
        }
        QVERIFY2(entry, qPrintable(error.message));
        QCOMPARE(entry->trashDirectory, disk + '/' + expected);
        QCOMPARE(Trash::trashDirectoryFor(disk + "/docs", nullptr), disk + '/' + expected);
        QVERIFY(readFile(bytes(disk + '/' + expected + "/info/a.txt.trashinfo"))
                    .contains("\nPath=docs/a.txt\n"));
        QVERIFY(Trash::trashDirectoriesInUse().contains(disk + '/' + expected));
        const auto listed = Trash::entries(Trash::trashDirectoriesInUse());
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed[0].originalPath, disk + "/docs/a.txt");
        QCOMPARE(Trash::restore(listed[0], &error).value_or(error.message), disk + "/docs/a.txt");
        QCOMPARE(readFile(bytes(disk + "/docs/a.txt")), QByteArray("on the disk"));
    }
};

QTEST_GUILESS_MAIN(TestTrash)
#include "tst_trash.moc"
