// Files handed over by other applications, through the whole shell on the offscreen platform:
// the command line's files, the copy into the Inbox, the open-URL entry, drops on the window.
#include "AppDirectories.h"
#include "InboxCopy.h"
#include "InboxHandOver.h"
#include "ShellFixtures.h"
#include "Translations.h"
#include "Utils.h"

#include <QAccessible>
#include <QDir>
#include <QElapsedTimer>
#include <QMimeData>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Ombrisk_PlatformPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_PickerPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_PreviewPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_AppPlugin)

using namespace ShellFixtures;

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                      QDir::NoDotAndDotDot,
                                  QDir::Name);
}

bool lists(LocalStorageViewController *screen, const QString &name)
{
    const auto items = screen->items();
    return std::any_of(items.cbegin(), items.cend(),
                       [&name](const auto &item) { return item->fileName == name; });
}

LaunchOptions openingFolder(const QString &path)
{
    LaunchOptions options;
    options.openPath = path;
    return options;
}

} // namespace

class TestIntake : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QTemporaryDir m_elsewhere; // where the handed-over files come from
    QString home() const { return Utils::documentsPath(); }
    QString inbox() const { return InboxCopy::inboxPath(); }
    QString elsewhere(const QString &name) const { return m_elsewhere.filePath(name); }

private slots:
    void initTestCase()
    {
        AppDirectories::useRoot(m_root.path());
        Translations::install(*QCoreApplication::instance(), QLocale(QLocale::English));
    }

    void init()
    {
        QDir(home()).removeRecursively();
        QDir(inbox()).removeRecursively();
        QVERIFY(QDir().mkpath(home() + "/A"));
    }

    void theCommandLineHandsOverFilesAndAddresses()
    {
        const auto options = LaunchOptions::fromArguments(
            {"ombrisk", "a.pdf", "--root", "R", "/x/b.zip", "file:///x/c%20d.txt",
             "https://example.com/e.pdf", "--", "--odd"},
            "/work");
        QVERIFY(options.error.isEmpty());
        QCOMPARE(options.handedOver,
                 (QList<QUrl>{QUrl::fromLocalFile("/work/a.pdf"), QUrl::fromLocalFile("/x/b.zip"),
                              QUrl::fromLocalFile("/x/c d.txt"),
                              QUrl("https://example.com/e.pdf"),
                              QUrl::fromLocalFile("/work/--odd")}));
        QVERIFY(!LaunchOptions::fromArguments({"ombrisk", "--colour", "a.pdf"}).error.isEmpty());
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
        const QUrl web("https://example.com/page");
        handOver.handOver({QUrl::fromLocalFile(elsewhere("big.bin")), web,
                           QUrl::fromLocalFile(elsewhere("one/x.txt")),
                           QUrl::fromLocalFile(elsewhere("one")),
                           QUrl::fromLocalFile(elsewhere("two/x.txt"))});
        QVERIFY(handOver.isBusy());
        QVERIFY(idle.wait(30000));
        QVERIFY(!handOver.isBusy());
        QCOMPARE(opened, (QList<QUrl>{QUrl::fromLocalFile(inbox() + "/big.bin"), web,
                                      QUrl::fromLocalFile(inbox() + "/x.txt"),
                                      QUrl::fromLocalFile(inbox() + "/x 2.txt")}));
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.first().first().value<Error>().code, int(InboxCopy::NotAFile));
        QCOMPARE(namesIn(inbox()), (QStringList{"big.bin", "x 2.txt", "x.txt"}));
        QCOMPARE(contentOf(inbox() + "/x 2.txt"), QByteArray("two"));
        QCOMPARE(QFileInfo(inbox() + "/big.bin").size(), qint64(32 << 20));
        QVERIFY(QFileInfo::exists(elsewhere("one/x.txt")));
    }

    // Handed over while a subfolder is shown: the root screen takes it to the top of the home
    // folder and lists again a second later; the shown screen stays.
    void aFileLandsAtTheTopOfTheHomeFolder()
    {
        auto app = launch();
        auto *root = app->viewController();
        waitUntilListed(root);
        root->tableView()->tapFlatRow(0); // the folder A
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
        auto app = launch();
        makeFile(home() + "/report.pdf", "old");
        makeFile(inbox() + "/report.pdf", "new");
        app->openURL(QUrl::fromLocalFile(inbox() + "/report.pdf"));
        QCOMPARE(contentOf(home() + "/report.pdf"), QByteArray("old"));
        QCOMPARE(contentOf(home() + "/report 2.pdf"), QByteArray("new"));
        QVERIFY(namesIn(inbox()).isEmpty());
    }

    void otherAddressesAreAnsweredAndIgnored()
    {
        auto app = launch();
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
        makeFile(inbox() + "/waiting.txt");
        auto app = launch(openingFolder("/A"));
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
        auto inFolder = launch(openingFolder("/Empty"));
        waitUntilListed(topScreen(*inFolder));
        QTRY_VERIFY(visibleItemNamed(inFolder->window(), "feedbackLabel"));
        QVERIFY(!visibleItemNamed(inFolder->window(), "feedbackHintLabel"));
    }
};

QTEST_MAIN(TestIntake)
#include "tst_intake.moc"
