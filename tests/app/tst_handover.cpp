// Starts of the real `ombrisk` meeting each other: a later start hands its files to the one
// already running for its root and ends, over the session bus (a private one, started here)
// or, without a bus, over the lock file and socket in the runtime directory.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <pwd.h>
#include <unistd.h>

namespace {

enum class Transport { Bus, Socket };

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                      QDir::NoDotAndDotDot,
                                  QDir::Name);
}

void makeFile(const QString &path, const QByteArray &data = "data")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

// Ends a started instance in order when the test is over, whatever it asserted.
struct Running {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    ~Running()
    {
        if (process->state() == QProcess::NotRunning)
            return;
        ::kill(pid_t(process->processId()), SIGTERM);
        if (!process->waitForFinished(10000))
            process->kill();
    }
};

} // namespace

class TestHandOver : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    QProcess m_bus; // dbus-run-session, kept alive by its `cat` until the test ends
    QString m_busAddress;
    int m_roots = 0;

    QString freshRoot() { return m_work.filePath(QStringLiteral("root%1").arg(++m_roots)); }
    static QString home(const QString &root) { return root + "/Documents/home"; }
    static QString inbox(const QString &root) { return root + "/Documents/Inbox"; }
    QString runtimeDirectory() const { return m_work.filePath("runtime"); }
    QString elsewhere(const QString &name) const { return m_work.filePath("elsewhere/" + name); }

    QProcessEnvironment environment(Transport transport) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", runtimeDirectory());
        environment.insert("XDG_DATA_HOME", m_work.filePath("data"));
        environment.insert("XDG_CACHE_HOME", m_work.filePath("cache"));
        environment.remove("OMBRISK_ROOT");
        environment.remove("DISPLAY");
        if (transport == Transport::Bus)
            environment.insert("DBUS_SESSION_BUS_ADDRESS", m_busAddress);
        else
            environment.remove("DBUS_SESSION_BUS_ADDRESS");
        return environment;
    }

    void start(QProcess &app, Transport transport, const QStringList &arguments)
    {
        app.setProcessEnvironment(environment(transport));
        app.start(OMBRISK_APP, arguments);
        QVERIFY(app.waitForStarted());
    }

    // The instance has claimed its root: the cache tag is written after that.
    static void waitUntilRunning(const QString &cachesDirectory)
    {
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(cachesDirectory + "/home/CACHEDIR.TAG"), 30000);
    }

    void startFirst(Running &first, Transport transport, const QString &root)
    {
        start(*first.process, transport, {"--root", root});
        waitUntilRunning(root + "/Caches");
    }

    // A later start with these arguments: it ends at once with `status`.
    void startLater(Transport transport, const QStringList &arguments, int status = 0)
    {
        QProcess later;
        start(later, transport, arguments);
        QVERIFY(later.waitForFinished(30000));
        QVERIFY2(later.exitCode() == status, later.readAllStandardError().constData());
    }

    void skipWithoutBus(Transport transport)
    {
        if (transport == Transport::Bus && m_busAddress.isEmpty())
            QSKIP("dbus-run-session is not installed (Debian's dbus package)");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(runtimeDirectory()));
        QFile::setPermissions(runtimeDirectory(), QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ExeOwner);
        if (QStandardPaths::findExecutable("dbus-run-session").isEmpty())
            return;
        m_bus.start("dbus-run-session",
                    {"--", "sh", "-c", "echo \"$DBUS_SESSION_BUS_ADDRESS\"; exec cat >/dev/null"});
        QVERIFY(m_bus.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_bus.canReadLine(), 10000);
        m_busAddress = QString::fromUtf8(m_bus.readLine()).trimmed();
        QVERIFY(!m_busAddress.isEmpty());
    }

    void cleanupTestCase()
    {
        if (m_bus.state() == QProcess::NotRunning)
            return;
        m_bus.closeWriteChannel(); // `cat` ends, and the bus with it
        QVERIFY(m_bus.waitForFinished(10000));
    }

    void transports_data()
    {
        QTest::addColumn<Transport>("transport");
        QTest::newRow("session bus") << Transport::Bus;
        QTest::newRow("lock and socket") << Transport::Socket;
    }

    // Files and an address given to a later start come in through the running instance, in
    // order; the web address is answered and ignored; the originals stay where they were.
    void aLaterStartHandsItsFilesToTheRunningOne_data() { transports_data(); }
    void aLaterStartHandsItsFilesToTheRunningOne()
    {
        QFETCH(Transport, transport);
        skipWithoutBus(transport);
        const QString root = freshRoot();
        makeFile(elsewhere("report.pdf"), "report");
        makeFile(elsewhere("notes.txt"), "notes");
        Running first;
        startFirst(first, transport, root);
        startLater(transport, {"--root", root, elsewhere("report.pdf"), "https://example.com/a.pdf",
                               QUrl::fromLocalFile(elsewhere("notes.txt")).toString()});
        // The last one in means the address before it was dealt with too.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(home(root) + "/notes.txt"), 30000);
        QCOMPARE(namesIn(home(root)), (QStringList{"notes.txt", "report.pdf"}));
        QVERIFY(namesIn(inbox(root)).isEmpty());
        QVERIFY(QFileInfo::exists(elsewhere("report.pdf")));
        // A screenshot can't be taken by a start that only hands over: it says so.
        startLater(transport, {"--root", root, "--screenshot", m_work.filePath("no.png")}, 1);
        QVERIFY(!QFileInfo::exists(m_work.filePath("no.png")));
        QCOMPARE(first.process->state(), QProcess::Running);
    }

    // However close together two starts come, one runs on and gets both starts' files.
    void twoStartsAtOnceEndWithOneInstance_data() { transports_data(); }
    void twoStartsAtOnceEndWithOneInstance()
    {
        QFETCH(Transport, transport);
        skipWithoutBus(transport);
        makeFile(elsewhere("a.txt"), "a");
        makeFile(elsewhere("b.txt"), "b");
        for (int round = 0; round < 3; ++round) {
            const QString root = freshRoot();
            Running one, other;
            start(*one.process, transport, {"--root", root, elsewhere("a.txt")});
            start(*other.process, transport, {"--root", root, elsewhere("b.txt")});
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(home(root) + "/a.txt") &&
                                         QFileInfo::exists(home(root) + "/b.txt"),
                                     30000);
            QTRY_VERIFY_WITH_TIMEOUT(one.process->state() == QProcess::NotRunning ||
                                         other.process->state() == QProcess::NotRunning,
                                     30000);
            QProcess *ended = one.process->state() == QProcess::NotRunning ? one.process.get()
                                                                             : other.process.get();
            QCOMPARE(ended->exitCode(), 0);
            QCOMPARE(one.process->state() == QProcess::Running ||
                         other.process->state() == QProcess::Running,
                     true);
        }
    }

    // An instance killed outright leaves its socket file; the next start takes it over.
    void aSocketLeftByACrashIsTakenOver()
    {
        const QString root = freshRoot();
        {
            Running crashed;
            startFirst(crashed, Transport::Socket, root);
            crashed.process->kill();
            QVERIFY(crashed.process->waitForFinished(10000));
        }
        const auto sockets = QDir(runtimeDirectory()).entryList({"ombrisk-*.socket"}, QDir::System);
        QVERIFY(!sockets.isEmpty());
        QFile::remove(root + "/Caches/home/CACHEDIR.TAG");
        Running next;
        startFirst(next, Transport::Socket, root);
        makeFile(elsewhere("after.txt"), "after");
        startLater(Transport::Socket, {"--root", root, elsewhere("after.txt")});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(home(root) + "/after.txt"), 30000);
    }

    // Another local user who makes the private folder in the temporary directory first (here:
    // a folder anyone may write in, given to nobody when run as root) splits nothing: the starts
    // meet in a folder of the user's cache, and say nothing about it.
    void aSquattedTemporaryFolderIsPassedBy()
    {
        const QString root = freshRoot();
        const QString squatted = m_work.filePath("tmp/ombrisk-") + QString::number(::getuid());
        QVERIFY(QDir().mkpath(squatted));
        QFile::setPermissions(squatted, QFileDevice::Permissions(0x7777));
        if (const passwd *nobody = ::getpwnam("nobody"); nobody && ::geteuid() == 0)
            QCOMPARE(::chown(QFile::encodeName(squatted).constData(), nobody->pw_uid, 0), 0);
        auto environment = this->environment(Transport::Socket);
        environment.remove("XDG_RUNTIME_DIR");
        environment.insert("TMPDIR", m_work.filePath("tmp"));
        Running first;
        first.process->setProcessEnvironment(environment);
        first.process->start(OMBRISK_APP, {"--root", root});
        waitUntilRunning(root + "/Caches");
        makeFile(elsewhere("squat.txt"), "squat");
        QProcess later;
        later.setProcessEnvironment(environment);
        later.start(OMBRISK_APP, {"--root", root, elsewhere("squat.txt")});
        QVERIFY(later.waitForFinished(30000));
        QCOMPARE(later.exitCode(), 0);
        QVERIFY(!later.readAllStandardError().contains("ombrisk:"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(home(root) + "/squat.txt"), 30000);
        QVERIFY(namesIn(squatted).isEmpty());
        QVERIFY(!QDir(m_work.filePath("cache/ombrisk-instances"))
                     .entryList({"ombrisk-*.socket"}, QDir::System)
                     .isEmpty());
    }

    // The default root's instance owns the application's id on the bus and answers
    // org.freedesktop.Application as a desktop's launcher calls it.
    void theDefaultRootAnswersTheDesktopOnTheBus()
    {
        skipWithoutBus(Transport::Bus);
        Running first;
        start(*first.process, Transport::Bus, {});
        waitUntilRunning(m_work.filePath("cache/Ombrisk/Ombrisk"));
        auto bus = QDBusConnection::connectToBus(m_busAddress, "test");
        QVERIFY(bus.interface()->isServiceRegistered("io.ombrisk.Ombrisk"));
        makeFile(elsewhere("launched.txt"), "launched");
        const auto call = [&bus](const QString &method, const QVariantList &arguments) {
            auto message = QDBusMessage::createMethodCall(
                "io.ombrisk.Ombrisk", "/io/ombrisk/Ombrisk", "org.freedesktop.Application", method);
            message.setArguments(arguments);
            return bus.call(message, QDBus::Block, 10000).type();
        };
        const QVariantMap platformData{{"activation-token", "token"}};
        QCOMPARE(call("ActivateAction", {"none", QVariantList{}, platformData}),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(call("Activate", {platformData}), QDBusMessage::ReplyMessage);
        QCOMPARE(call("Open", {QStringList{QUrl::fromLocalFile(elsewhere("launched.txt")).toString()},
                               platformData}),
                 QDBusMessage::ReplyMessage);
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo::exists(m_work.filePath("data/Ombrisk/Ombrisk/home/launched.txt")), 30000);
        QDBusConnection::disconnectFromBus("test");
    }

    // The file is taken in and unpacked, and the window saved once that is shown.
    void aScreenshotStartTakesInAndUnpacksFirst()
    {
        const QString root = freshRoot();
        makeFile(elsewhere("Pack/inside.txt"), "inside");
        QProcess zip;
        zip.setWorkingDirectory(elsewhere("Pack"));
        zip.start("zip", {"-q", elsewhere("Pack.zip"), "inside.txt"});
        QVERIFY(zip.waitForFinished() && zip.exitCode() == 0);
        const QString shot = m_work.filePath("pack.png");
        QProcess app;
        start(app, Transport::Socket, {"--root", root, "--screenshot", shot, elsewhere("Pack.zip")});
        QVERIFY(app.waitForFinished(60000));
        QVERIFY2(app.exitCode() == 0, app.readAllStandardError().constData());
        QVERIFY(QFileInfo(shot).size() > 0);
        QCOMPARE(namesIn(home(root)), (QStringList{"Pack", "Pack.zip"}));
        QCOMPARE(namesIn(home(root) + "/Pack"), QStringList{"inside.txt"});
        QVERIFY(namesIn(inbox(root)).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHandOver)
#include "tst_handover.moc"
