// Copies made on real folders: what a copy keeps, and that a copy cut short, refused or
// cancelled leaves nothing behind, under its hidden name or a real one.
#include "AppDirectories.h"
#include "ItemCopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void writeFile(const QString &path, const QByteArray &content, mode_t mode = 0644)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(content);
    file.close();
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

// Every name in a folder, hidden ones too: a leftover partial copy shows up here.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void setTime(const QString &path, time_t seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 500}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

struct stat statOf(const QString &path)
{
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

} // namespace

class TestItemCopy : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_source, m_target;

private slots:
    void initTestCase() { AppDirectories::useRoot(m_dir.path()); }

    void init()
    {
        m_source = m_dir.path() + "/" + QTest::currentTestFunction() + "/source";
        m_target = m_dir.path() + "/" + QTest::currentTestFunction() + "/target";
        QVERIFY(QDir().mkpath(m_source));
        QVERIFY(QDir().mkpath(m_target));
    }

    void aFolderIsCopiedWholeWithModesTimesAndLinks()
    {
        const QString album = m_source + "/Album";
        writeFile(album + "/a.txt", "alpha", 0640);
        writeFile(album + "/inner/run.sh", "#!/bin/sh\n", 0755);
        QVERIFY(QDir().mkpath(album + "/empty"));
        QVERIFY(QFile::link("a.txt", album + "/link"));
        QVERIFY(QFile::link("/nowhere/at/all", album + "/dangling"));
        QCOMPARE(::chmod(QFile::encodeName(album + "/empty").constData(), 0700), 0);
        const QStringList items{"", "/a.txt", "/inner", "/inner/run.sh", "/empty", "/link", "/dangling"};
        for (int i = items.size() - 1; i >= 0; --i) // the folders after what is in them
            setTime(album + items[i], 1000000000 + i * 1000);
        QCOMPARE(::chmod(QFile::encodeName(album).constData(), 0750), 0);

        Error error;
        qint64 counted = 0;
        auto partial = ItemCopy::copyAside(album, m_target, [&](qint64 bytes) {
            counted += bytes;
            return true;
        }, &error);
        QVERIFY2(partial, qPrintable(error.message));
        QVERIFY(QFileInfo(partial->path()).fileName().startsWith(u'.'));
        QCOMPARE(counted, ItemCopy::bytesIn(album));
        QCOMPARE(counted, qint64(5 + 10));
        QCOMPARE(ItemCopy::place(*partial, "Album", false, &error), m_target + "/Album");
        QCOMPARE(entries(m_target), QStringList{"Album"});

        for (const QString &item : items) {
            const auto was = statOf(album + item), is = statOf(m_target + "/Album" + item);
            QCOMPARE(is.st_mode, was.st_mode);
            QCOMPARE(is.st_mtim.tv_sec, was.st_mtim.tv_sec);
            QCOMPARE(is.st_mtim.tv_nsec, was.st_mtim.tv_nsec);
            QVERIFY(is.st_ino != was.st_ino);
        }
        QCOMPARE(QFile::symLinkTarget(m_target + "/Album/link"), m_target + "/Album/a.txt");
        QCOMPARE(QFile::symLinkTarget(m_target + "/Album/dangling"), QStringLiteral("/nowhere/at/all"));
        QFile copied(m_target + "/Album/inner/run.sh");
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), QByteArray("#!/bin/sh\n"));
    }

    void whatFailsOrIsCancelledLeavesNothing_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("stopAtCall"); // of `advance`, counted from 1; 0 never
        QTest::addColumn<int>("code");
        // The file's first piece of 16 MiB, then the next item after one file is whole.
        QTest::newRow("cancelled in a large file") << "big.bin" << 2 << int(ItemCopy::Cancelled);
        QTest::newRow("cancelled between items") << "Tree" << 5 << int(ItemCopy::Cancelled);
        QTest::newRow("a pipe deep inside") << "Tree" << 0 << int(ItemCopy::SpecialFile);
        QTest::newRow("a folder into itself") << "." << 0 << int(ItemCopy::IntoItself);
        QTest::newRow("gone") << "missing" << 0 << int(ItemCopy::CopyFailed);
    }
    void whatFailsOrIsCancelledLeavesNothing()
    {
        QFETCH(QString, item);
        QFETCH(int, stopAtCall);
        QFETCH(int, code);
        writeFile(m_source + "/big.bin", QByteArray(40 << 20, 'x'));
        writeFile(m_source + "/Tree/a/one.txt", "1");
        writeFile(m_source + "/Tree/b/two.txt", "2");
        if (QTest::currentDataTag() == QLatin1String("a pipe deep inside"))
            QCOMPARE(::mkfifo(QFile::encodeName(m_source + "/Tree/b/pipe").constData(), 0600), 0);
        // Into itself: the source folder copied into its own sub-folder.
        const QString source = item == "." ? m_source : m_source + "/" + item;
        const QString target = item == "." ? m_source + "/Tree" : m_target;
        const QStringList before = entries(target);
        int calls = 0;
        Error error;
        const auto partial = ItemCopy::copyAside(source, target, [&](qint64) {
            return ++calls != stopAtCall;
        }, &error);
        QVERIFY(!partial);
        QCOMPARE(error.domain, ItemCopy::errorDomain);
        QCOMPARE(error.code, code);
        QVERIFY(error.message.contains(QFileInfo(source).fileName()));
        if (code == ItemCopy::SpecialFile)
            QVERIFY2(error.message.contains("b/pipe"), qPrintable(error.message));
        QCOMPARE(entries(target), before);
    }

    void placingNeverReplaces()
    {
        writeFile(m_source + "/a.txt", "new");
        writeFile(m_target + "/a.txt", "old");
        Error error;
        auto partial = ItemCopy::copyAside(m_source + "/a.txt", m_target, {}, &error);
        QVERIFY(partial);
        QVERIFY(!ItemCopy::place(*partial, "a.txt", false, &error));
        QCOMPARE(error.code, int(ItemCopy::NameTaken));
        QCOMPARE(entries(m_target), QStringList{"a.txt"});
        partial = ItemCopy::copyAside(m_source + "/a.txt", m_target, {}, &error);
        QCOMPARE(ItemCopy::place(*partial, "a.txt", true, &error), m_target + "/a 2.txt");
        QCOMPARE(entries(m_target), (QStringList{"a 2.txt", "a.txt"}));
        QFile old(m_target + "/a.txt");
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
    }

    // A copy cut short by the process's death goes at the next start; one in progress, and an
    // item that only bears such a name, stay.
    void theSweepTakesOnlyCopiesLeftByADeadProcess()
    {
        writeFile(m_source + "/Tree/a/one.txt", "1");
        writeFile(m_source + "/Tree/b/two.txt", "2");
        writeFile(m_source + "/c.txt", "c");
        const pid_t child = ::fork();
        if (child == 0) {
            int calls = 0;
            ItemCopy::copyAside(m_source + "/Tree", m_target, [&](qint64) {
                if (++calls == 3)
                    ::_exit(0); // dies with the copy half made
                return true;
            }, nullptr);
            ::_exit(1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(entries(m_target).size(), 1);
        QVERIFY(QDir().mkpath(m_target + "/.ombrisk-copying-mine"));
        Error error;
        auto live = ItemCopy::copyAside(m_source + "/c.txt", m_target, {}, &error);
        QVERIFY(live);
        const QString records = AppDirectories::stateDirectory() + "/copying";
        QCOMPARE(QDir(records).entryList(QDir::Files).size(), 2);

        ItemCopy::sweepRecorded();
        QStringList left{".ombrisk-copying-mine", QFileInfo(live->path()).fileName()};
        left.sort();
        QCOMPARE(entries(m_target), left);
        QCOMPARE(QDir(records).entryList(QDir::Files).size(), 1);
        QCOMPARE(ItemCopy::place(*live, "c.txt", false, &error), m_target + "/c.txt");
        QVERIFY(QDir(records).entryList(QDir::Files).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestItemCopy)
#include "tst_itemcopy.moc"
