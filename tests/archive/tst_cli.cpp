#include "ArchiveFixtures.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QStandardPaths>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace ArchiveFixtures;

// ombrisk-archive as scripts use it: commands, exit codes, the error line, passwords on
// standard input.
class TestCli : public QObject {
    Q_OBJECT
    QTemporaryDir work;

    struct Outcome {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    // `openFiles`, when given, is the tool's limit of open descriptors.
    Outcome tool(const QStringList &arguments, const QByteArray &input = {},
                 const QStringList &environment = {}, rlim_t openFiles = 0)
    {
        QProcess process;
        if (openFiles > 0)
            process.setChildProcessModifier([openFiles] {
                const struct rlimit limit {openFiles, openFiles};
                ::setrlimit(RLIMIT_NOFILE, &limit);
            });
        process.setWorkingDirectory(work.path());
        auto env = QProcessEnvironment::systemEnvironment();
        for (const auto &pair : environment)
            env.insert(pair.section('=', 0, 0), pair.section('=', 1));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(OMBRISK_ARCHIVE_TOOL), arguments);
        Outcome outcome;
        if (!process.waitForStarted())
            return outcome;
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(120000);
        outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        outcome.out = process.readAllStandardOutput();
        outcome.err = process.readAllStandardError();
        return outcome;
    }

private slots:
    void initTestCase()
    {
        writeFile(work.filePath("src/a.txt"), "alpha");
        writeFile(work.filePath("src/sub/b.bin"), noise(3000));
        QDir().mkpath(work.filePath("src/empty"));
        QCOMPARE(run(work.filePath("src"), "zip", {"-qr", "../plain.zip", "."}), 0);
        QCOMPARE(run(work.filePath("src"), "7zz",
                     {"a", "-bd", "-mhe", "-ppässwörd", "../locked.7z", "."}),
                 0);
    }

    void helpAndUsage()
    {
        const auto help = tool({"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("needs-password ARCHIVE"));
        QVERIFY(help.out.contains("--password-stdin"));
        for (const QStringList &wrong :
             {QStringList{}, QStringList{"unpack", "x.zip"}, QStringList{"extract", "x.zip"},
              QStringList{"list", "x.zip", "--verbose"}}) {
            const auto usage = tool(wrong);
            QCOMPARE(usage.exitCode, 2);
            QVERIFY(usage.err.contains("see --help"));
        }
    }

    // No answer at all for what is not there, or not an archive: a "no" would let the caller go
    // on as if it could be unpacked ("yes" and "no" are heard in compresses()).
    void needsPasswordAnswersNothingForWhatIsNoArchive()
    {
        const auto missing = tool({"needs-password", "absent.zip"});
        QCOMPARE(missing.exitCode, 1);
        QVERIFY(missing.out.isEmpty());
        QCOMPARE(missing.err, QByteArray("error: Ombrisk 106: The archive can't be read; it may be "
                                         "damaged or incomplete (“absent.zip” does not exist).\n"));
        const auto text = tool({"needs-password", "src/a.txt"});
        QCOMPARE(text.exitCode, 1);
        QVERIFY(text.err.startsWith("error: Ombrisk 110: "));
    }

    void listsEntries()
    {
        const auto plain = tool({"list", "plain.zip"});
        QCOMPARE(plain.exitCode, 0);
        auto lines = QString::fromUtf8(plain.out).split('\n', Qt::SkipEmptyParts);
        lines.sort();
        QCOMPARE(lines, (QStringList{"d 0 empty/", "d 0 sub/", "f 3000 sub/b.bin", "f 5 a.txt"}));

        const auto locked = tool({"list", "locked.7z"});
        QCOMPARE(locked.exitCode, 1);
        QCOMPARE(locked.err, QByteArray("error: Ombrisk 100: password protected 7z file\n"));
        const auto opened = tool({"list", "locked.7z", "--password-stdin"}, "pässwörd\n");
        QCOMPARE(opened.exitCode, 0);
        QVERIFY(opened.out.contains("f 3000 sub/b.bin\n"));
    }

    void extracts()
    {
        const auto wrong =
            tool({"extract", "locked.7z", "out/wrong", "--password-stdin"}, "nope\n");
        QCOMPARE(wrong.exitCode, 1);
        QCOMPARE(wrong.err, QByteArray("error: Ombrisk 101: incorrect password\n"));
        QVERIFY(!QFileInfo::exists(work.filePath("out/wrong")));

        // A password line may end in CRLF; only its first line counts.
        const auto right =
            tool({"--progress", "extract", "locked.7z", "out/right", "--password-stdin"},
                 "pässwörd\r\nignored\n");
        QCOMPARE(right.exitCode, 0);
        QVERIFY(right.err.startsWith("progress: "));
        QVERIFY(right.err.contains("100%"));
        QCOMPARE(readFile(work.filePath("out/right/sub/b.bin")), noise(3000));

        const auto notArchive = tool({"extract", "src/a.txt", "out/text"});
        QCOMPARE(notArchive.exitCode, 1);
        QVERIFY(notArchive.err.startsWith("error: Ombrisk 110: "));
        const auto missing = tool({"extract", "absent.zip", "out/absent"});
        QCOMPARE(missing.exitCode, 1);
        QVERIFY(missing.err.startsWith("error: Ombrisk 106: "));

        // A failure takes away the folders it made on the way, and only those.
        auto damaged = readFile(work.filePath("plain.zip"));
        damaged.replace("alpha", "alphX");
        writeFile(work.filePath("bad.zip"), damaged);
        const auto bad = tool({"extract", "bad.zip", "out/new1/new2/d"});
        QCOMPARE(bad.exitCode, 1);
        QVERIFY(bad.err.startsWith("error: Ombrisk 106: "));
        QVERIFY(QFileInfo(work.filePath("out")).isDir());
        QVERIFY(!QFileInfo::exists(work.filePath("out/new1")));
    }

    // A tree as deep as entries may go unpacks, merges into itself and is taken away after a
    // failure with a few descriptors, whatever its depth: the tool may open 100.
    void deepTreesNeedFewDescriptors()
    {
        QCOMPARE(python(work.path(),
                        "import tarfile, io, os\n"
                        "deep = '/'.join(['d'] * 1000) + '/f.txt'\n"
                        "for name, extra in (('deep.tar', b''), ('cut.tgz', os.urandom(200000))):\n"
                        "  t = tarfile.open(name, 'w:gz' if name.endswith('tgz') else 'w')\n"
                        "  for entry, data in ((deep, b'deep'), ('z.bin', extra)):\n"
                        "    i = tarfile.TarInfo(entry); i.size = len(data)\n"
                        "    t.addfile(i, io.BytesIO(data))\n"
                        "  t.close()\n"
                        "data = open('cut.tgz', 'rb').read()\n"
                        "open('cut.tgz', 'wb').write(data[:len(data) * 3 // 4])\n"),
                 0);
        const QString deepFile = "deep/" + QStringList(1000, "d").join('/') + "/f.txt";
        for (int run = 0; run < 2; ++run) { // the second merges into the first
            const auto unpacked = tool({"extract", "--no-trash", "deep.tar", "deep"}, {}, {}, 100);
            QVERIFY2(unpacked.exitCode == 0, unpacked.err.constData());
            QCOMPARE(readFile(work.filePath(deepFile)), QByteArray("deep"));
        }
        const auto cut = tool({"extract", "cut.tgz", "deep"}, {}, {}, 100);
        QCOMPARE(cut.exitCode, 1);
        QVERIFY2(cut.err.startsWith("error: Ombrisk 106: "), cut.err.constData());
        QVERIFY(stagingFoldersIn(work.filePath("deep")).isEmpty());
        QCOMPARE(readFile(work.filePath("deep/z.bin")), QByteArray()); // the one before
    }

    void compresses()
    {
        const auto made =
            tool({"compress", "new.zip", "src/a.txt", "src", "--password-stdin"}, "pw\n");
        QCOMPARE(made.exitCode, 0);
        QCOMPARE(tool({"needs-password", "new.zip"}).out, QByteArray("yes\n"));
        QByteArray names;
        QCOMPARE(run(work.path(), "unzip", {"-Z1", "new.zip"}, {}, &names), 0);
        auto list = QString::fromUtf8(names).split('\n', Qt::SkipEmptyParts);
        list.sort();
        QCOMPARE(list, (QStringList{"a.txt", "src/a.txt", "src/empty/.DS_Store", "src/sub/b.bin"}));
        QByteArray content;
        QCOMPARE(
            run(work.path(), "7zz", {"x", "-so", "-ppw", "new.zip", "src/sub/b.bin"}, {}, &content),
            0);
        QCOMPARE(content, noise(3000));

        // Neither a folder nor an item packed can be the zip.
        for (const QString target : {"src", "src/a.txt"}) {
            const auto refused = tool({"compress", "--replace", target, "src/a.txt"});
            QCOMPARE(refused.exitCode, 1);
            QVERIFY(refused.err.startsWith("error: Ombrisk 108: "));
        }
        QCOMPARE(readFile(work.filePath("src/a.txt")), QByteArray("alpha"));

        // A taken name is never replaced unless --replace says so, a file that is no zip
        // included.
        writeFile(work.filePath("taken.zip"), "mine");
        const auto taken = tool({"compress", "taken.zip", "src/a.txt"});
        QCOMPARE(taken.exitCode, 1);
        QCOMPARE(taken.err, QByteArray("error: Ombrisk 108: “taken.zip” already exists; nothing "
                                       "was packed. Choose another name.\n"));
        QCOMPARE(readFile(work.filePath("taken.zip")), QByteArray("mine"));
        QCOMPARE(tool({"compress", "--replace", "taken.zip", "src/a.txt"}).exitCode, 0);
        QCOMPARE(tool({"needs-password", "taken.zip"}).out, QByteArray("no\n"));

        // --password-stdin promises a password: an empty one is a wrong call, not a plain zip.
        for (const QByteArray &input : {QByteArray("\n"), QByteArray()}) {
            const auto empty = tool({"compress", "--password-stdin", "empty.zip", "src"}, input);
            QCOMPARE(empty.exitCode, 2);
            QVERIFY(empty.err.contains("empty password"));
            QVERIFY(!QFileInfo::exists(work.filePath("empty.zip")));
        }
    }

    // A named pipe given for an archive is refused at once on every route, never opened (a
    // reader would wait for a writer for ever).
    void namedPipesAreRefusedAtOnce_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"p.tar", "p.tgz", "p.7z", "p.zip", "p.rar"})
            QTest::newRow(name) << QString(name);
    }
    void namedPipesAreRefusedAtOnce()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QCOMPARE(run(dir.path(), "mkfifo", {name}), 0);
        const auto fifo = dir.filePath(name);
        for (const QStringList &call :
             {QStringList{"list", fifo}, QStringList{"needs-password", fifo},
              QStringList{"extract", fifo, dir.filePath("out")}}) {
            const auto refused = tool(call);
            QCOMPARE(refused.exitCode, 1);
            QVERIFY2(
                refused.err.startsWith("error: Ombrisk 106: “" + name.toUtf8() + "” is not a file"),
                refused.err.constData());
        }
        QVERIFY(!QFileInfo::exists(dir.filePath("out")));
    }

    // Names are shown, never executed by the terminal: control characters (C1 and the
    // bidirectional ones included) and the bytes of a name that is not UTF-8 come out escaped,
    // in listings, error and progress lines alike.
    void namesAreShownEscaped()
    {
        QCOMPARE(python(work.path(), "import zipfile, tarfile, io\n"
                                     "with zipfile.ZipFile('odd.zip', 'w') as z:\n"
                                     "  z.writestr('red\\x1b[31m\\n.txt', 'x')\n"
                                     "  z.writestr('csi\\x9b2J gpj\\u202e.exe', 'x')\n"
                                     "with tarfile.open('odd.tar', 'w', encoding='latin-1',\n"
                                     "                  format=tarfile.GNU_FORMAT) as t:\n"
                                     "  t.addfile(tarfile.TarInfo('caf\\xe9.txt'), io.BytesIO())\n"
                                     "with zipfile.ZipFile('esc.zip', 'w') as z:\n"
                                     "  z.writestr('title\\x1b]0;x\\x07\\nprogress: 100%', 'x')\n"
                                     "with zipfile.ZipFile('bad.zip', 'w') as z:\n"
                                     "  z.writestr('../\\x1b[2J', 'x')\n"),
                 0);
        const auto listed = tool({"list", "odd.zip"});
        QCOMPARE(listed.exitCode, 0);
        QCOMPARE(listed.out,
                 QByteArray("f 1 red\\x1b[31m\\x0a.txt\nf 1 csi\\x9b2J gpj\\u202e.exe\n"));
        QCOMPARE(tool({"list", "odd.tar"}).out, QByteArray("f 0 caf\\xe9.txt\n"));
        const auto progress = tool({"--progress", "extract", "esc.zip", "out/esc"});
        QCOMPARE(progress.exitCode, 0);
        QVERIFY2(progress.err.endsWith("title\\x1b]0;x\\x07\\x0aprogress: 100%\n"),
                 progress.err.constData());
        const auto refused = tool({"extract", "bad.zip", "out/bad"});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.startsWith("error: Ombrisk 102: ") &&
                     refused.err.contains("“../\\x1b[2J”") && !refused.err.contains('\x1b'),
                 refused.err.constData());
    }

    // SIGHUP (a closed terminal) and a progress reader that goes away (a broken pipe) cancel
    // through the engine: the tool ends with 105 and leaves nothing behind.
    void hangUpAndBrokenPipeCancel()
    {
        QTemporaryDir dir;
        QCOMPARE(python(dir.path(), "import tarfile, gzip, io\n"
                                    "class Zeros(io.RawIOBase):\n"
                                    "  def __init__(s, n): s.n = n\n"
                                    "  def readinto(s, b):\n"
                                    "    k = min(len(b), s.n); b[:k] = bytes(k); s.n -= k; return k\n"
                                    "with tarfile.open(fileobj=gzip.open('big.tar.gz', 'wb', 1),"
                                    " mode='w') as t:\n"
                                    "  for n in range(3):\n"
                                    "    i = tarfile.TarInfo('z%d' % n); i.size = 100 << 20\n"
                                    "    t.addfile(i, Zeros(i.size))\n"),
                 0);
        QProcess hungUp;
        hungUp.setWorkingDirectory(dir.path());
        hungUp.setReadChannel(QProcess::StandardError);
        hungUp.start(QStringLiteral(OMBRISK_ARCHIVE_TOOL),
                     {"--progress", "extract", "big.tar.gz", "out/hup"});
        QVERIFY(hungUp.waitForReadyRead(60000));
        QCOMPARE(::kill(pid_t(hungUp.processId()), SIGHUP), 0);
        QVERIFY(hungUp.waitForFinished(60000));
        QCOMPARE(hungUp.exitStatus(), QProcess::NormalExit);
        QVERIFY2(hungUp.readAllStandardError().contains("error: Ombrisk 105: "),
                 "a hang-up cancels");

        QByteArray status;
        QCOMPARE(run(dir.path(), "bash",
                     {"-c", QString("'%1' --progress extract big.tar.gz out/pipe 2>&1 >/dev/null"
                                    " | head -c 1 >/dev/null; echo ${PIPESTATUS[0]}")
                                .arg(OMBRISK_ARCHIVE_TOOL)},
                     {}, &status),
                 0);
        QCOMPARE(status.trimmed(), QByteArray("1"));
        QCOMPARE(tree(dir.filePath("out")), QStringList{}); // no staging folder left either
    }

    // Packing that can't read an item fails naming it, the target untouched; run as a user
    // without rights when the test runs as root (whom permissions don't stop).
    void unreadableItemsFailThePacking_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("named");
        QTest::newRow("file") << "in/locked.txt"
                              << "in/locked.txt";
        QTest::newRow("folder") << "in/closed"
                                << "in/closed";
    }
    void unreadableItemsFailThePacking()
    {
        QFETCH(QString, item);
        QFETCH(QString, named);
        QTemporaryDir dir;
        writeFile(dir.filePath("in/ok.txt"), "ok");
        writeFile(dir.filePath("in/locked.txt"), "secret");
        writeFile(dir.filePath("in/closed/inner.txt"), "inner");
        writeFile(dir.filePath("old.zip"), "previous");
        QFile::setPermissions(dir.filePath(item), {});
        QStringList program{QStringLiteral(OMBRISK_ARCHIVE_TOOL)};
        if (::geteuid() == 0) {
            if (QStandardPaths::findExecutable("setpriv").isEmpty())
                QSKIP("Running as root without setpriv: no user without rights to pack as.");
            program = QStringList{"setpriv", "--reuid=nobody", "--regid=nogroup",
                                  "--clear-groups", "--"} + program;
            QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
            QFile::setPermissions(dir.filePath("old.zip"), QFileDevice::Permissions(0x6666));
            QFile::setPermissions(dir.filePath("in"), QFileDevice::Permissions(0x5555));
        }
        QByteArray output;
        const int code = run(dir.path(), program.first(),
                             program.mid(1) + QStringList{"compress", "--replace", "old.zip", "in"},
                             {}, &output);
        QFile::setPermissions(dir.filePath(item), QFileDevice::Permissions(0x7777));
        QCOMPARE(code, 1);
        QVERIFY2(output.startsWith(("error: Ombrisk 111: “" + named + "” can't be packed").toUtf8()),
                 output.constData());
        QCOMPARE(readFile(dir.filePath("old.zip")), QByteArray("previous"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.zip"});
    }

    // Legacy zip names follow the user's language, as the environment gives it.
    void legacyNamesFollowTheLocale()
    {
        QCOMPARE(python(work.path(),
                        "import zipfile\n"
                        "class Legacy(zipfile.ZipInfo):\n"
                        "  def __init__(self, name):\n"
                        "    super().__init__(name); self.create_system = 0 # made on DOS\n"
                        "  def _encodeFilenameFlags(self):\n"
                        "    return self.filename.encode('cp866'), 0\n"
                        "with zipfile.ZipFile('ru.zip', 'w') as z:\n"
                        "  z.writestr(Legacy('ПРИВЕТ.txt'), 'x')\n"),
                 0);
        const auto russian = tool({"list", "ru.zip"}, {}, {"LC_ALL=ru_RU.UTF-8"});
        QCOMPARE(QString::fromUtf8(russian.out), QString("f 1 ПРИВЕТ.txt\n"));
        const auto english = tool({"list", "ru.zip"}, {}, {"LC_ALL=en_US.UTF-8"});
        QCOMPARE(QString::fromUtf8(english.out), QString("f 1 ÅÉêéàÆ.txt\n"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
