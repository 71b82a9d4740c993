// The real `ombrisk` executable on the offscreen platform, with its folders in a temporary root.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>

class TestProcess : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;

    void start(QProcess &app, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.remove("OMBRISK_ROOT");
        app.setProcessEnvironment(environment);
        app.start(OMBRISK_APP, arguments);
        QVERIFY(app.waitForStarted());
    }

    QString cacheTag() const { return m_root.filePath("Caches/home/CACHEDIR.TAG"); }

private slots:
    void helpPrintsTheUsageAndTouchesNothing()
    {
        QProcess app;
        start(app, {"--help", "--root", m_root.filePath("help")});
        QVERIFY(app.waitForFinished(30000));
        QCOMPARE(app.exitCode(), 0);
        QVERIFY(app.readAllStandardOutput().startsWith("Usage: ombrisk"));
        QVERIFY(!QFileInfo::exists(m_root.filePath("help")));
    }

    void anUnknownOptionIsNamedAndExitsWithTwo()
    {
        QProcess app;
        start(app, {"--root", m_root.filePath("unknown"), "--colour", "red"});
        QVERIFY(app.waitForFinished(30000));
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 2);
        QVERIFY(app.readAllStandardError().contains("Unknown option: --colour"));
        QVERIFY(!QFileInfo::exists(m_root.filePath("unknown")));
    }

    // Each ends the application in order: the event loop returns, the queues stop, exit code 0.
    void terminationSignalsEndTheApplicationInOrder_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void terminationSignalsEndTheApplicationInOrder()
    {
        QFETCH(int, signal);
        QFile::remove(cacheTag());
        QVERIFY(QDir().mkpath(m_root.filePath("Documents/home/Pictures")));
        QProcess app;
        start(app, {"--root", m_root.path(), "--open", "/Pictures"});
        // The tag is written after the handlers are set, before the window is made.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(cacheTag()), 30000);
        ::kill(pid_t(app.processId()), signal);
        QVERIFY(app.waitForFinished(30000));
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 0);
    }

    // SIGTERM while an unpacking replaces files: one that is moving its content in ends the
    // move (exit 0, every file new); one still unpacking out of sight stops, the destination
    // as it was, and the exit status says the work was cut short.
    void quittingNeverLeavesAMergeHalfDone_data()
    {
        QTest::addColumn<bool>("merging");
        QTest::newRow("while merging") << true;
        QTest::newRow("while unpacking") << false;
    }
    void quittingNeverLeavesAMergeHalfDone()
    {
        QFETCH(bool, merging);
        QTemporaryDir root;
        const QString home = root.filePath("Documents/home");
        QVERIFY(QDir().mkpath(home));
        QProcess python;
        python.setWorkingDirectory(home);
        python.start("python3", {"-c", "import os, zipfile\n"
                                       "os.mkdir('Pack')\n"
                                       "z = zipfile.ZipFile('Pack.zip', 'w')\n"
                                       "for n in range(10000):\n"
                                       "  open('Pack/f%d.txt' % n, 'w').write('mine')\n"
                                       "  z.writestr('f%d.txt' % n, 'new')\n"
                                       "z.close()\n"});
        QVERIFY(python.waitForFinished(60000) && python.exitCode() == 0);
        QProcess app;
        start(app, {"--root", root.path(), "--open", "/Pack.zip"});
        // The staging folder shows the unpacking; its journal, the merge.
        QElapsedTimer clock;
        clock.start();
        bool seen = false;
        while (!seen && clock.elapsed() < 60000) {
            const auto staging = QDir(home + "/Pack").entryList({".ombrisk-unpacking-*"},
                                                                QDir::Dirs | QDir::Hidden);
            seen = !staging.isEmpty() &&
                   QFileInfo::exists(home + "/Pack/" + staging.constFirst() + "/journal") == merging;
            if (!seen)
                QThread::usleep(1000);
        }
        QVERIFY(seen);
        ::kill(pid_t(app.processId()), SIGTERM);
        QVERIFY(app.waitForFinished(60000));
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        const QByteArray said = app.readAllStandardError();
        QCOMPARE(app.exitCode(), merging ? 0 : 1);
        QCOMPARE(said.contains("Quitting stopped this work"), !merging);
        const auto left = QDir(home + "/Pack").entryList(QDir::AllEntries | QDir::Hidden |
                                                         QDir::NoDotAndDotDot);
        QCOMPARE(left.size(), 10000);
        int asExpected = 0;
        for (const QString &name : left) {
            QFile file(home + "/Pack/" + name);
            asExpected += file.open(QIODevice::ReadOnly) &&
                          file.readAll() == (merging ? QByteArray("new") : QByteArray("mine"));
        }
        QCOMPARE(asExpected, 10000);
    }

    void openingAMissingFolderSaysSoAndShowsTheHomeFolder()
    {
        QFile::remove(cacheTag());
        QProcess app;
        start(app, {"--root", m_root.path(), "--open", "/No/Such"});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(cacheTag()), 30000);
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += app.readAllStandardError()).contains("/No/Such"), 30000);
        ::kill(pid_t(app.processId()), SIGTERM);
        QVERIFY(app.waitForFinished(30000));
        QCOMPARE(app.exitCode(), 0);
    }

    // Names handed over reach the terminal as text: a folder named with an escape sequence
    // (refused, as folders are) is said escaped, as ombrisk-archive writes names.
    void handedOverNamesAreEscapedOnStandardError()
    {
        QFile::remove(cacheTag());
        const QString folder =
            m_root.filePath("title\x1b]0;owned\x07" + QString(QChar(0x9b)) + "2J");
        QVERIFY(QDir().mkpath(folder));
        QProcess app;
        start(app, {"--root", m_root.path(), folder});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(cacheTag()), 30000);
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += app.readAllStandardError()).contains("is not a file"),
                                 30000);
        ::kill(pid_t(app.processId()), SIGTERM);
        QVERIFY(app.waitForFinished(30000));
        QVERIFY2(said.contains("title\\x1b]0;owned\\x07\\x9b2J"), said.constData());
        QVERIFY(!said.contains('\x1b') && !said.contains('\x07'));
    }

    void openingAnArchiveUnpacksItBeforeTheScreenshotIsTaken()
    {
        QTemporaryDir root;
        const QString folder = root.filePath("Documents/home/A");
        QVERIFY(QDir().mkpath(folder + "/Pack"));
        QFile file(folder + "/Pack/inside.txt");
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("inside") == 6);
        file.close();
        QProcess zip;
        zip.setWorkingDirectory(folder);
        zip.start("zip", {"-qrm", "Pack.zip", "Pack"});
        QVERIFY(zip.waitForFinished() && zip.exitCode() == 0);
        QProcess app;
        const QString shot = root.filePath("shot.png");
        start(app, {"--root", root.path(), "--open", "/A/Pack.zip", "--screenshot", shot});
        QVERIFY(app.waitForFinished(60000));
        QCOMPARE(app.exitCode(), 0);
        QVERIFY(QFileInfo(shot).size() > 0);
        QVERIFY(QFileInfo(root.filePath("Documents/home/Pack/Pack/inside.txt")).isFile());
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
