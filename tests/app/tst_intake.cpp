// Files handed over by other applications, through the whole shell on the offscreen platform:
// the command line's files, the copy into the Inbox, the open-URL entry, drops on the window.
#include "../archive/ArchiveFixtures.h"
#include "AppDirectories.h"
#include "InboxCopy.h"
#include "InboxHandOver.h"
#include "ShellFixtures.h"

#include <QElapsedTimer>
#include <QMimeData>
#include <QQuickItem>
#include <QSignalSpy>
#include <sys/stat.h>

using ArchiveFixtures::makeZip;
using namespace ShellFixtures;

namespace {

// The file's bytes (the listing fixture's readFile gives text).
constexpr auto contentOf = &ArchiveFixtures::readFile;

bool lists(LocalStorageViewController *screen, const QString &name)
{
    const auto items = screen->items();
    return std::any_of(items.cbegin(), items.cend(),
                       [&name](const auto &item) { return item->fileName == name; });
}

QStringList stackPaths(const AppDelegate &app)
{
    QStringList paths;
    for (auto *screen : app.navigationController()->viewControllers())
        if (auto *listing = qobject_cast<LocalStorageViewController *>(screen))
            paths.append(listing->filePath());
    return paths;
}

// The shell once it has looked for leftovers in the Inbox, so that files put there now are
// taken for handed over after the start.
void waitUntilHandedOver(const AppDelegate &app)
{
    QTRY_VERIFY(!app.handOver()->isBusy());
}

std::unique_ptr<AppDelegate> launchSettled(const QString &openPath = {})
{
    auto app = launch(openPath);
    waitUntilHandedOver(*app);
    return app;
}

// The shell at home with the folder A opened by a tap, as a user would have it.
std::unique_ptr<AppDelegate> launchInFolderA()
{
    auto app = launchSettled();
    waitUntilListed(app->viewController());
    app->viewController()->tableView()->tapFlatRow(0);
    return app;
}

} // namespace

class TestIntake : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QTemporaryDir m_elsewhere; // where the handed-over files come from
    QString inbox() const { return AppDirectories::inboxDirectory(); }
    QString elsewhere(const QString &name) const { return m_elsewhere.filePath(name); }

private slots:
    void initTestCase() { useTestRoot(m_root); }

    void init()
    {
        QDir(home()).removeRecursively();
        QDir(inbox()).removeRecursively();
        QVERIFY(QDir().mkpath(home() + "/A"));
    }

    // The command line as read: the window's size, the screenshot, the folders pushed to open
    // one, the files and addresses handed over; or an error.
    void theCommandLineIsRead_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("read");
        QTest::newRow("size, folder, screenshot")
            << QStringList{"--window-size", "500x900", "--open", "/A/../B/", "--screenshot", "s.png"}
            << "500x900 | s.png | /B | ";
        QTest::newRow("folder above the top") << QStringList{"--open", "/../A/B"} << "420x760 |  | /A /A/B | ";
        QTest::newRow("files and addresses")
            << QStringList{"a.pdf", "--root", "R", "/x/b.zip", "file:///x/c%20d.txt",
                           "https://example.com/e.pdf", "--", "--odd"}
            << "420x760 |  |  | file:///work/a.pdf file:///x/b.zip file:///x/c d.txt "
               "https://example.com/e.pdf file:///work/--odd";
        QTest::newRow("size not a size") << QStringList{"--window-size", "big"} << "error";
        QTest::newRow("folder not given") << QStringList{"--open"} << "error";
    }
    void theCommandLineIsRead()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, read);
        const auto options = LaunchOptions::fromArguments(QStringList{"ombrisk"} + arguments, "/work");
        QStringList handedOver;
        for (const QUrl &url : options.handedOver)
            handedOver.append(url.toString());
        QCOMPARE(options.error.isEmpty()
                     ? QStringLiteral("%1x%2 | %3 | %4 | %5")
                           .arg(options.windowSize.width())
                           .arg(options.windowSize.height())
                           .arg(options.screenshotPath, options.pathsToOpen().join(u' '),
                                handedOver.join(u' '))
                     : QStringLiteral("error"),
                 read);
    }

    // The copies keep the order given, whatever each takes; a name given twice gets a free
    // one; what is no file is told and skipped; the originals stay.
    void theHandOverCopiesIntoTheInboxInOrder()
    {
        makeFile(elsewhere("big.bin"), QByteArray(32 << 20, 'b'));
        makeFile(elsewhere("one/x.txt"), "one");
        makeFile(elsewhere("two/x.txt"), "two");
        QList<QUrl> opened;
        InboxHandOver handOver([&opened](const QUrl &url) { opened.append(url); });
        QSignalSpy failed(&handOver, &InboxHandOver::failed);
        QSignalSpy idle(&handOver, &InboxHandOver::idle);
        // A pipe nobody writes to must not hold up the queue.
        QCOMPARE(::mkfifo(QFile::encodeName(elsewhere("pipe")).constData(), 0600), 0);
        const QUrl web("https://example.com/page");
        handOver.handOver({QUrl::fromLocalFile(elsewhere("big.bin")), web,
                           QUrl::fromLocalFile(elsewhere("one/x.txt")),
                           QUrl::fromLocalFile(elsewhere("one")),
                           QUrl::fromLocalFile(elsewhere("pipe")),
                           QUrl::fromLocalFile(elsewhere("two/x.txt"))});
        QVERIFY(handOver.isBusy());
        QVERIFY(idle.wait(30000));
        QVERIFY(!handOver.isBusy());
        QCOMPARE(opened, (QList<QUrl>{QUrl::fromLocalFile(inbox() + "/big.bin"), web,
                                      QUrl::fromLocalFile(inbox() + "/x.txt"),
                                      QUrl::fromLocalFile(inbox() + "/x 2.txt")}));
        QCOMPARE(failed.size(), 2);
        for (const auto &signal : failed)
            QCOMPARE(signal.first().value<Error>().code, int(InboxCopy::NotAFile));
        QCOMPARE(namesIn(inbox()), (QStringList{"big.bin", "x 2.txt", "x.txt"}));
        QCOMPARE(contentOf(inbox() + "/x 2.txt"), QByteArray("two"));
        QCOMPARE(QFileInfo(inbox() + "/big.bin").size(), qint64(32 << 20));
        QVERIFY(QFileInfo::exists(elsewhere("one/x.txt")));
    }

    // Handed over while a subfolder is shown: the root screen takes it to the top of the home
    // folder and lists again a second later; the shown screen stays.
    void aFileLandsAtTheTopOfTheHomeFolder()
    {
        auto app = launchInFolderA();
        auto *root = app->viewController();
        QCOMPARE(topScreen(*app)->filePath(), QStringLiteral("/A"));
        makeFile(inbox() + "/report.pdf", "report");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(app->openURL(QUrl::fromLocalFile(inbox() + "/report.pdf")));
        QCOMPARE(contentOf(home() + "/report.pdf"), QByteArray("report"));
        QVERIFY(namesIn(inbox()).isEmpty());
        QVERIFY(namesIn(home() + "/A").isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(lists(root, "report.pdf"), 10000);
        QVERIFY(clock.elapsed() >= 950);
        QCOMPARE(topScreen(*app)->filePath(), QStringLiteral("/A"));
    }

    void aTakenNameKeepsBoth()
    {
        auto app = launchSettled();
        makeFile(home() + "/report.pdf", "old");
        makeFile(inbox() + "/report.pdf", "new");
        app->openURL(QUrl::fromLocalFile(inbox() + "/report.pdf"));
        QCOMPARE(contentOf(home() + "/report.pdf"), QByteArray("old"));
        QCOMPARE(contentOf(home() + "/report 2.pdf"), QByteArray("new"));
        QVERIFY(namesIn(inbox()).isEmpty());
    }

    // An archive is unpacked at once into a folder of its name at the top, whose screen is
    // pushed over whatever is shown; the extension's case does not matter.
    void anArchiveIsUnpackedAtOnce()
    {
        auto app = launchInFolderA();
        makeZip(inbox() + "/Book.CBR", {{"inside.txt", "inside"}});
        app->openURL(QUrl::fromLocalFile(inbox() + "/Book.CBR"));
        waitUntilIdle();
        QCOMPARE(stackPaths(*app), (QStringList{"/", "/A", "/Book"}));
        QCOMPARE(contentOf(home() + "/Book/inside.txt"), QByteArray("inside"));
        QVERIFY(!QFileInfo::exists(home() + "/inside.txt"));
        QVERIFY(QFileInfo::exists(home() + "/Book.CBR"));
        QVERIFY(namesIn(inbox()).isEmpty());
        QTRY_COMPARE(topScreen(*app)->items().size(), 1); // listed once filled
    }

    void aProtectedArchiveAsksForItsPasswordAndIsKeptWhenRefused()
    {
        auto app = launchSettled();
        makeZip(inbox() + "/Lock.zip", {{"secret.txt", "hidden"}}, "k3y");
        app->openURL(QUrl::fromLocalFile(inbox() + "/Lock.zip"));
        AlertController *dialog = nullptr;
        QTRY_VERIFY((dialog = qobject_cast<AlertController *>(
                         app->navigationController()->presentedViewController())));
        QCOMPARE(dialog->title(), QStringLiteral("Password Protected"));
        QVERIFY(!QFileInfo::exists(home() + "/Lock"));
        // Refused: the archive was taken in all the same, and the home folder shows it.
        dialog->cancel();
        QTRY_VERIFY_WITH_TIMEOUT(lists(app->viewController(), "Lock.zip"), 10000);
    }

    // The archive already at the top is neither replaced nor unpacked in the new one's stead.
    void anArchiveUnderATakenNameKeepsBoth()
    {
        makeZip(home() + "/Pack.zip", {{"old.txt", "old"}});
        const QByteArray old = contentOf(home() + "/Pack.zip");
        auto app = launchSettled();
        makeZip(inbox() + "/Pack.zip", {{"new.txt", "new"}});
        app->openURL(QUrl::fromLocalFile(inbox() + "/Pack.zip"));
        waitUntilIdle();
        QCOMPARE(contentOf(home() + "/Pack.zip"), old);
        QCOMPARE(namesIn(home()), (QStringList{"A", "Pack 2", "Pack 2.zip", "Pack.zip"}));
        QCOMPARE(namesIn(home() + "/Pack 2"), QStringList{"new.txt"});
        QCOMPARE(topScreen(*app)->filePath(), QStringLiteral("/Pack 2"));
    }

    // Into its folder already there: the files of the same names are replaced, the notice on
    // the folder's screen says how many went to the Trash, and they are there whole.
    void anArchiveIntoItsExistingFolderSaysWhatItReplaced()
    {
        makeFile(home() + "/Pack/notes.txt", "mine");
        makeFile(home() + "/Pack/kept.txt", "kept");
        auto app = launchSettled();
        makeZip(inbox() + "/Pack.zip", {{"notes.txt", "new"}});
        app->openURL(QUrl::fromLocalFile(inbox() + "/Pack.zip"));
        waitUntilIdle();
        QCOMPARE(contentOf(home() + "/Pack/notes.txt"), QByteArray("new"));
        QCOMPARE(contentOf(home() + "/Pack/kept.txt"), QByteArray("kept"));
        QCOMPARE(topScreen(*app)->filePath(), QStringLiteral("/Pack"));
        QCOMPARE(topScreen(*app)->textNotice()->text(),
                 QStringLiteral("1 item was replaced; it is in the Trash, in “Replaced by "
                                "Pack.zip”."));
        const auto trashed = Trash::entries(Trash::trashDirectoriesInUse());
        QCOMPARE(trashed.size(), 1);
        QCOMPARE(trashed.first().originalPath, home() + "/Pack/Replaced by Pack.zip");
        QCOMPARE(contentOf(trashed.first().path() + "/notes.txt"), QByteArray("mine"));
    }

    void otherAddressesAreAnsweredAndIgnored()
    {
        auto app = launchSettled();
        waitUntilListed(app->viewController());
        QVERIFY(app->openURL(QUrl("https://example.com/report.pdf")));
        QVERIFY(app->openURL(QUrl()));
        QCoreApplication::processEvents();
        QCOMPARE(namesIn(home()), QStringList{"A"});
        QVERIFY(!app->viewController()->textNotice()->isVisible());
    }

    // The file stays where it is, and the screen in sight says why.
    void aFileThatCanNotBeBroughtInIsSaid_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<QString>("said");
        QTest::newRow("not in the Inbox") << QUrl::fromLocalFile("/elsewhere/missing.pdf")
                                          << "“missing.pdf” is not in the Inbox";
        QTest::newRow("the Inbox itself") << QUrl("file:///") << "could not be brought";
        QTest::newRow("above the Inbox") << QUrl("file:///x/..") << "“..”";
    }
    void aFileThatCanNotBeBroughtInIsSaid()
    {
        QFETCH(QUrl, url);
        QFETCH(QString, said);
        auto app = launchSettled(QStringLiteral("/A"));
        makeFile(inbox() + "/waiting.txt");
        QVERIFY(app->openURL(url));
        const QString notice = topScreen(*app)->textNotice()->text();
        QVERIFY2(notice.contains(said), qPrintable(notice));
        QCOMPARE(namesIn(home()), QStringList{"A"});
        QCOMPARE(namesIn(inbox()), QStringList{"waiting.txt"});
    }

    // A run that ended before the Inbox was emptied: its files come in at the next start, the
    // remains of a copy cut short go.
    void leftoversInTheInboxAreTakenInAtStart()
    {
        makeFile(inbox() + "/left.txt", "left");
        makeFile(inbox() + "/.ombrisk-incoming-1234", "half");
        auto app = launch();
        QVERIFY(app->handOver()->isBusy());
        QSignalSpy idle(app->handOver(), &InboxHandOver::idle);
        QVERIFY(idle.wait(10000));
        QCOMPARE(contentOf(home() + "/left.txt"), QByteArray("left"));
        QVERIFY(namesIn(inbox()).isEmpty());
        QCOMPARE(namesIn(home()), (QStringList{"A", "left.txt"}));
    }

    void filesDroppedOnTheWindowAreHandedOver()
    {
        makeFile(elsewhere("a.txt"), "a");
        makeFile(elsewhere("b.txt"), "b");
        auto app = launch();
        QQuickWindow *window = app->window();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *dropArea = visibleItemNamed(window, "fileDropArea");
        QVERIFY(dropArea);
        QVERIFY(!QAccessible::queryAccessibleInterface(dropArea)->text(QAccessible::Name).isEmpty());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(elsewhere("a.txt")), QUrl::fromLocalFile(elsewhere("b.txt"))});
        const QPoint middle(window->width() / 2, window->height() / 2);
        QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &drop);
        QVERIFY(drop.isAccepted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(home() + "/b.txt"), 10000);
        QCOMPARE(contentOf(home() + "/a.txt"), QByteArray("a"));
        QVERIFY(QFileInfo::exists(elsewhere("a.txt")));
    }

    // The second line shows on the home folder only, where files come in.
    void theEmptyHomeFolderSaysHowFilesComeIn()
    {
        QDir(home() + "/A").removeRecursively();
        auto app = launch();
        waitUntilListed(app->viewController());
        QTRY_VERIFY(visibleItemNamed(app->window(), "feedbackHintLabel"));
        QVERIFY(app->viewController()->feedbackHintLabel()->text().contains("drop them here"));
        QDir().mkpath(home() + "/Empty");
        auto inFolder = launch(QStringLiteral("/Empty"));
        waitUntilListed(topScreen(*inFolder));
        QTRY_VERIFY(visibleItemNamed(inFolder->window(), "feedbackLabel"));
        QVERIFY(!visibleItemNamed(inFolder->window(), "feedbackHintLabel"));
    }
};

QTEST_MAIN(TestIntake)
#include "tst_intake.moc"
