// Packing and unpacking from the listing screens, and opening a tapped file, driven without a
// window on archives made by the real tools: the dialogs as the user answers them, the disk,
// the stack of screens and the notices checked after each.
#include "../archive/ArchiveFixtures.h"
#include "ListingScreenFixture.h"
#include "LocalFilePreviewViewController.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QThread>
#include <QSignalSpy>
#include <sys/stat.h>

using ArchiveFixtures::makeZip;
using ArchiveFixtures::run;
using ArchiveFixtures::tree;

namespace {

QString topPath(const Screen &s)
{
    auto *top = qobject_cast<KPDocumentPickerViewController *>(s.stack->topViewController());
    return top ? top->filePath() : QString();
}

// Taps the row `name` outside edit mode, as the picker reports it.
void tap(Screen &s, const QString &name)
{
    const auto item = s.item(name);
    QVERIFY2(item, qPrintable(name));
    s.screen->didSelectItems(s.screen, {item}, s.screen->filePath());
}

// Entries of a zip as 7zz lists them ("Path = ..."), and whether any is encrypted.
QStringList zipEntries(const QString &zip, bool *encrypted)
{
    QByteArray out;
    run(QFileInfo(zip).absolutePath(), "7zz", {"l", "-slt", "-p", "--", zip}, {}, &out);
    QStringList names;
    *encrypted = out.contains("Encrypted = +");
    for (const QByteArray &line : out.split('\n'))
        if (line.startsWith("Path = ") && !line.endsWith(".zip"))
            names.append(QString::fromUtf8(line.mid(7)));
    names.sort();
    return names;
}

} // namespace

class TestWorkflows : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;
    QTemporaryDir m_work; // a packed archive is unpacked here to be read back

private slots:
    void initTestCase() { useTestRoot(m_root); }
    void init() { freshHome(); }
    void cleanup() { waitUntilIdle(); }

    void compressDialogOffersTheDefaultNames()
    {
        QVERIFY(QDir().mkpath(home() + "/Photos"));
        makeFile(home() + "/a.tar.gz");
        makeFile(home() + "/notes");
        Screen s("/");
        const QList<QPair<QStringList, QString>> cases{{{"Photos"}, "Photos.zip"},
                                                      {{"a.tar.gz"}, "a.tar.zip"},
                                                      {{"notes"}, "notes.zip"},
                                                      {{"Photos", "a.tar.gz", "notes"}, "archiver.zip"}};
        for (const auto &[rows, offered] : cases) {
            s.select(rows);
            s.screen->compressButtonTapped();
            auto *dialog = s.alert();
            QVERIFY(dialog);
            QCOMPARE(dialog->title(), QStringLiteral("Compress file"));
            QCOMPARE(dialog->message(), QStringLiteral("Please enter password for this file."));
            QCOMPARE(dialog->textFields().size(), 2);
            QCOMPARE(dialog->textFields()[0]->placeholder(), QStringLiteral("Filename"));
            QCOMPARE(dialog->textFields()[0]->text(), offered);
            QCOMPARE(dialog->textFields()[1]->placeholder(), QStringLiteral("Password"));
            QVERIFY(!dialog->textFields()[1]->isSecure());
            QCOMPARE(buttonsOf(dialog), (Buttons{{"Cancel", AlertAction::Style::Cancel},
                                                {"OK", AlertAction::Style::Default}}));
            s.pick("Cancel");
            QVERIFY(!CompressQueue::shared()->isBusy());
            s.screen->selectButtonTapped(); // leaves edit mode and its selection
        }
        QCOMPARE(QDir(home()).entryList(QDir::Files).size(), 2);
    }

    void packingFromASubfolderLandsAtTheTop_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("none") << QString("");
        QTest::newRow("spaces are a password") << QString("   ");
        QTest::newRow("word") << QString("s3cret");
    }

    void packingFromASubfolderLandsAtTheTop()
    {
        QFETCH(QString, password);
        makeFile(home() + "/Sub/notes.txt", "notes");
        makeFile(home() + "/Sub/Folder/inner.txt", "inner");
        QVERIFY(QDir().mkpath(home() + "/Sub/Folder/empty"));
        makeFile(home() + "/Sub/left.txt");
        Screen s("/Sub", true);
        s.select({"notes.txt", "Folder"});
        s.screen->compressButtonTapped();
        s.alert()->textFields()[1]->setText(password);
        s.pick("OK", "Out.zip");
        QVERIFY(ProgressOverlay::shared()->isVisible());
        waitUntilIdle();
        QVERIFY(!s.screen->isEditing());
        s.listed(); // the subfolder's list does not show the archive
        QVERIFY(!s.names().contains("Out.zip"));

        bool encrypted = false;
        QCOMPARE(zipEntries(home() + "/Out.zip", &encrypted),
                 (QStringList{"Folder/empty/.DS_Store", "Folder/inner.txt", "notes.txt"}));
        QCOMPARE(encrypted, !password.isEmpty());
        QByteArray out;
        const QString given = password.isEmpty() ? QString("unused") : password;
        QCOMPARE(run(home(), "7zz", {"x", "-p" + given, "-o" + m_work.filePath("x"), "-y", "--",
                                     "Out.zip"},
                     {}, &out),
                 0);
        QCOMPARE(readFile(m_work.filePath("x/Folder/inner.txt")), QStringLiteral("inner"));
        if (!password.isEmpty())
            QVERIFY(run(home(), "7zz", {"t", "-pwrong", "--", "Out.zip"}) != 0);
        QDir(m_work.filePath("x")).removeRecursively();
    }

    void packingNeverReplacesAndRefusesPaths()
    {
        makeFile(home() + "/Photos.zip", "older");
        makeFile(home() + "/a.txt");
        makeFile(home() + "/b.txt");
        QVERIFY(QDir().mkpath(home() + "/archiver.zip")); // a folder takes the default name
        Screen s("/");
        const auto pack = [&](const QString &typed) {
            s.select({"a.txt", "b.txt"});
            s.screen->compressButtonTapped();
            s.pick("OK", typed);
            waitUntilIdle();
        };
        pack("Photos.zip");
        QCOMPARE(readFile(home() + "/Photos.zip"), QStringLiteral("older"));
        // Said once the zip is made, not under the overlay.
        QVERIFY(QFileInfo(home() + "/Photos 2.zip").isFile());
        QCOMPARE(s.screen->textNotice()->text(),
                 QStringLiteral("“Photos.zip” already exists; the archive is saved as “Photos "
                                "2.zip”."));
        pack("");
        QVERIFY(QFileInfo(home() + "/archiver 2.zip").isFile());
        pack("bundle");
        QVERIFY(QFileInfo(home() + "/bundle").isFile()); // kept as typed, without ".zip"

        // A path would leave the home folder or land in a folder: nothing is packed.
        s.screen->textNotice()->hide();
        s.select({"a.txt"});
        s.screen->compressButtonTapped();
        s.pick("OK", "../outside.zip");
        QVERIFY(!CompressQueue::shared()->isBusy());
        QVERIFY(!QFileInfo::exists(home() + "/../outside.zip"));
        QCOMPARE(s.screen->textNotice()->texts().size(), 1);
        QVERIFY(s.screen->isEditing());
    }

    void packingFailureIsSaid()
    {
        makeFile(home() + "/Box/a.txt");
        QCOMPARE(::mkfifo(QFile::encodeName(home() + "/Box/pipe").constData(), 0600), 0);
        Screen s("/");
        s.select({"Box"});
        s.screen->compressButtonTapped();
        s.pick("OK", "Box.zip");
        waitUntilIdle();
        QVERIFY(!QFileInfo::exists(home() + "/Box.zip"));
        QVERIFY(s.screen->textNotice()->text().contains("can't be packed"));
        QVERIFY(!s.screen->isEditing());
    }

    // A job that fails without saying why is a failure that names the work, not a cancel.
    void aJobFailingWithoutAnErrorIsAFailure()
    {
        std::optional<Error> ended;
        CompressQueue::shared()->enqueue(
            "Packing “Quiet.zip”…", [](ArchiveProgressDelegate *, Error *) { return false; },
            [&](const Error &error) { ended = error; });
        QTRY_VERIFY(ended);
        QCOMPARE(ended->code, int(CompressQueue::FailedWithoutReason));
        QVERIFY2(ended->message.startsWith("Packing “Quiet.zip” failed"), qPrintable(ended->message));
    }

    void tappedArchiveUnpacksAtTheTopAndPushesItsScreen()
    {
        makeZip(home() + "/A/B/Pack.ZIP", {{"Pack/big.bin", ArchiveFixtures::noise(2 << 20)},
                                  {"top.txt", "top"}});
        Screen s("/A/B", true);
        tap(s, "Pack.ZIP");
        // Nothing is pushed before the archive has answered whether it needs a password.
        QCOMPARE(topPath(s), QStringLiteral("/A/B"));
        QTRY_COMPARE(topPath(s), QStringLiteral("/Pack"));
        auto *pack = qobject_cast<LocalStorageViewController *>(s.stack->topViewController());
        QCOMPARE(pack->title(), QStringLiteral("Pack"));
        QCOMPARE(s.stack->viewControllers().size(), 3);
        QCOMPARE(s.stack->viewControllers()[1], s.screen);
        QCOMPARE(pack->rootViewController(), s.screen->rootViewController());
        waitUntilIdle();
        QCOMPARE(tree(home() + "/Pack"), (QStringList{"Pack/", "Pack/big.bin", "top.txt"}));
        // The shown destination lists again once filled.
        QTRY_COMPARE(pack->items().size(), 2);
        QVERIFY(!s.screen->textNotice()->isVisible() && !pack->textNotice()->isVisible());
    }

    // A name whose folder would be "." or ".." (or spaces alone) unpacks into a folder named
    // after the whole archive: nothing reaches the home folder itself or the folder above it.
    void namesWithoutAnOrdinaryFolderNameUnpackBesideThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("..zip") << "..zip";
        QTest::newRow("...zip") << "...zip";
        QTest::newRow("spaces") << "  .zip";
    }
    void namesWithoutAnOrdinaryFolderNameUnpackBesideThem()
    {
        QFETCH(QString, name);
        makeFile(home() + "/thesis.txt", "mine");
        makeZip(home() + "/" + name, {{"thesis.txt", "theirs"}, {"home/thesis.txt", "theirs"}});
        Screen s("/", true);
        s.screen->openFileNamed(name);
        waitUntilIdle();
        QCOMPARE(topPath(s), "/" + name + " contents");
        QCOMPARE(tree(home() + "/" + name + " contents"),
                 (QStringList{"home/", "home/thesis.txt", "thesis.txt"}));
        QCOMPARE(ArchiveFixtures::readFile(home() + "/thesis.txt"), QByteArray("mine"));
        QVERIFY(!QFileInfo::exists(home() + "/home"));
    }

    void protectedArchivesAskFirstAndAgainAfterAWrongPassword_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("make"); // 7zz arguments, or empty for zip -P
        QTest::newRow("zip") << "Lock.zip" << QStringList{};
        QTest::newRow("7z") << "Lock.7z" << QStringList{"a", "-pk3y", "Lock.7z", "secret.txt"};
        QTest::newRow("7z, names hidden")
            << "Lock.7z" << QStringList{"a", "-pk3y", "-mhe=on", "Lock.7z", "secret.txt"};
    }

    void protectedArchivesAskFirstAndAgainAfterAWrongPassword()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, make);
        if (make.isEmpty()) {
            makeZip(home() + "/" + name, {{"secret.txt", "hidden"}}, "k3y");
        } else {
            QTemporaryDir folder;
            makeFile(folder.filePath("secret.txt"), "hidden");
            QCOMPARE(run(folder.path(), "7zz", make), 0);
            QVERIFY(QFile::rename(folder.filePath(name), home() + "/" + name));
        }
        Screen s("/");
        tap(s, name);
        QTRY_VERIFY(s.alert());
        QCOMPARE(s.alert()->title(), QStringLiteral("Password Protected"));
        QCOMPARE(s.alert()->message(), QStringLiteral("Please enter password for this file."));
        QCOMPARE(s.alert()->textFields().size(), 1);
        QCOMPARE(s.alert()->textFields()[0]->placeholder(), QStringLiteral("Password"));
        QCOMPARE(s.stack->viewControllers().size(), 1);
        s.pick("Cancel");
        QVERIFY(!CompressQueue::shared()->isBusy());
        QCOMPARE(s.stack->viewControllers().size(), 1);
        QVERIFY(!QFileInfo::exists(home() + "/Lock"));

        tap(s, name);
        QTRY_VERIFY(s.alert());
        s.pick("OK", "wrong");
        QCOMPARE(topPath(s), QStringLiteral("/Lock")); // pushed at once, empty meanwhile
        waitUntilIdle();
        // Nothing was made: the screen of the folder that isn't there goes, the notice says why.
        QVERIFY(!QFileInfo::exists(home() + "/Lock"));
        QCOMPARE(topPath(s), QStringLiteral("/"));
        QCOMPARE(s.screen->textNotice()->text(), QStringLiteral("incorrect password"));
        QVERIFY(s.alert()); // asked again, for the same archive
        s.pick("OK", "k3y");
        QCOMPARE(topPath(s), QStringLiteral("/Lock"));
        waitUntilIdle();
        QCOMPARE(s.stack->viewControllers().size(), 2);
        QCOMPARE(readFile(home() + "/Lock/secret.txt"), QStringLiteral("hidden"));
    }

    void unpackingsQueueOneAfterAnother()
    {
        for (const QString &name : {QStringLiteral("One"), QStringLiteral("Two")})
            makeZip(home() + "/" + name + ".zip", {{"data.bin", ArchiveFixtures::noise(4 << 20)}});
        QMutex mutex;
        QStringList order;
        const auto record = [&](const QString &what) {
            return [&, what](const QString &status) {
                QMutexLocker lock(&mutex);
                order.append(what + " " + status);
            };
        };
        auto *queue = CompressQueue::shared();
        const auto started = connect(queue, &CompressQueue::jobStarted, queue, record("start"),
                                     Qt::DirectConnection);
        const auto ended = connect(queue, &CompressQueue::jobEnded, queue, record("end"),
                                   Qt::DirectConnection);
        Screen s("/");
        tap(s, "One.zip");
        tap(s, "Two.zip"); // while the first is still asked whether it needs a password
        waitUntilIdle();
        disconnect(started);
        disconnect(ended);
        QCOMPARE(order, (QStringList{"start Unpacking “One.zip”…", "end Unpacking “One.zip”…",
                                     "start Unpacking “Two.zip”…", "end Unpacking “Two.zip”…"}));
        QVERIFY(QFileInfo(home() + "/One/data.bin").isFile());
        QVERIFY(QFileInfo(home() + "/Two/data.bin").isFile());
    }

    void cancelStopsTheJobAndDropsThoseQueuedBehind()
    {
        // Many small entries: long enough to be caught while it runs.
        QCOMPARE(ArchiveFixtures::python(home(),
                                         "import zipfile\n"
                                         "with zipfile.ZipFile('Big.zip', 'w') as z:\n"
                                         "    for i in range(40000):\n"
                                         "        z.writestr('d%d/f%d.txt' % (i % 50, i), 'x' * 512)\n"),
                 0);
        makeZip(home() + "/Small.zip", {{"small.txt", "small"}});
        makeFile(home() + "/Big/kept.txt", "mine");
        Screen s("/");
        tap(s, "Big.zip");
        QTRY_COMPARE(topPath(s), QStringLiteral("/Big"));
        s.stack->popViewController(false);
        tap(s, "Small.zip");
        QTRY_COMPARE(topPath(s), QStringLiteral("/Small"));
        // The overlay follows the running job: its status, a fraction, the entry being written.
        auto *overlay = ProgressOverlay::shared();
        QTRY_VERIFY_WITH_TIMEOUT(overlay->progress() > 0 && !overlay->detail().isEmpty(), 30000);
        QCOMPARE(overlay->status(), QStringLiteral("Unpacking “Big.zip”…"));
        QVERIFY(overlay->isCancellable());
        overlay->cancel();
        waitUntilIdle();
        QVERIFY(!overlay->isVisible());
        QCOMPARE(tree(home() + "/Big"), QStringList{"kept.txt"});
        QVERIFY(!QFileInfo::exists(home() + "/Small"));
        QCOMPARE(QDir(home()).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{"Big", "Big.zip", "Small.zip"}));
        // The screen of Small, never made, went; that alone is said (a cancel is no failure).
        QCOMPARE(topPath(s), QStringLiteral("/"));
        QCOMPARE(s.screen->textNotice()->texts(),
                 QStringList{"Unpacking “Small.zip” was cancelled; its folder was not made."});

        // Work queued after the cancel runs as usual.
        tap(s, "Small.zip");
        waitUntilIdle();
        QCOMPARE(readFile(home() + "/Small/small.txt"), QStringLiteral("small"));
    }

    // Quitting while an unpacking moves into its folder: the move ends under "Finishing…",
    // without Cancel, and the job queued behind it never starts and is named as cut short.
    void quittingLetsTheMergeEndAndDropsTheRest()
    {
        QCOMPARE(ArchiveFixtures::python(home(), "import os, zipfile\n"
                                                 "os.mkdir('Pack')\n"
                                                 "with zipfile.ZipFile('Pack.zip', 'w') as z:\n"
                                                 "  for n in range(20000):\n"
                                                 "    open('Pack/f%d.txt' % n, 'w').write('mine')\n"
                                                 "    z.writestr('f%d.txt' % n, 'new')\n"),
                 0);
        makeZip(home() + "/Small.zip", {{"small.txt", "small"}});
        Screen s("/");
        tap(s, "Pack.zip");
        tap(s, "Small.zip");
        QElapsedTimer clock;
        clock.start();
        const auto merging = [this] {
            const auto staging = QDir(home() + "/Pack").entryList({".ombrisk-unpacking-*"},
                                                                  QDir::Dirs | QDir::Hidden);
            return !staging.isEmpty() &&
                   QFileInfo::exists(home() + "/Pack/" + staging.constFirst() + "/journal");
        };
        // The quit comes the moment the merge is seen: a merge of swaps is short.
        bool seen = false;
        while (!(seen = merging()) && clock.elapsed() < 60000) {
            QCoreApplication::processEvents();
            QThread::usleep(200);
        }
        std::optional<QStringList> cutShort;
        if (seen)
            CompressQueue::shared()->finishForQuit(
                [&](const QStringList &work) { cutShort = work; });
        QVERIFY(seen);
        auto *overlay = ProgressOverlay::shared();
        QCOMPARE(overlay->status(), QStringLiteral("Finishing…"));
        QVERIFY(!overlay->isCancellable());
        QTRY_VERIFY_WITH_TIMEOUT(cutShort, 60000);
        QCOMPARE(*cutShort, QStringList{"Unpacking “Small.zip”…"});
        int replaced = 0;
        for (int n = 0; n < 20000; ++n)
            replaced += readFile(home() + QString("/Pack/f%1.txt").arg(n)) == "new";
        QCOMPARE(replaced, 20000);
        QVERIFY(!QFileInfo::exists(home() + "/Small"));
    }

    void unpackingFailuresAreSaid()
    {
        QVERIFY(ArchiveFixtures::python(home(),
                                        "import zipfile\n"
                                        "with zipfile.ZipFile('evil.zip', 'w') as z:\n"
                                        "    z.writestr('ok.txt', 'ok')\n"
                                        "    z.writestr('../escape.txt', 'x')\n") == 0);
        makeZip(home() + "/gone.zip", {{"a.txt", "a"}});
        Screen s("/");
        QSignalSpy stackChanges(s.stack, &NavigationController::stackChanged);
        tap(s, "evil.zip");
        waitUntilIdle();
        // Pushed at once, and gone again: no screen of a folder that isn't there.
        QCOMPARE(stackChanges.size(), 2);
        QCOMPARE(topPath(s), QStringLiteral("/"));
        QVERIFY(s.screen->textNotice()->text().contains("../escape.txt"));
        QVERIFY(!QFileInfo::exists(home() + "/evil"));
        QVERIFY(!QFileInfo::exists(home() + "/../escape.txt"));

        // Gone between the listing and the tap: said on the screen, nothing pushed.
        QVERIFY(QFile::remove(home() + "/gone.zip"));
        tap(s, "gone.zip");
        waitUntilIdle();
        QCOMPARE(s.stack->viewControllers().size(), 1);
        QVERIFY(s.screen->textNotice()->isVisible());
    }

    void anArchiveInsideItsOwnDestinationUnpacks()
    {
        QTemporaryDir inner;
        makeFile(inner.filePath("x.txt"), "x");
        QCOMPARE(run(inner.path(), "zip", {"-q", "Pack.zip", "x.txt"}), 0);
        makeZip(home() + "/Pack/Pack.zip", {{"Pack.zip", ArchiveFixtures::readFile(inner.filePath("Pack.zip"))},
                                   {"y.txt", "y"}});
        Screen s("/Pack", true);
        tap(s, "Pack.zip");
        waitUntilIdle();
        QCOMPARE(tree(home() + "/Pack"), (QStringList{"Pack.zip", "y.txt"}));
        QCOMPARE(ArchiveFixtures::readFile(home() + "/Pack/Pack.zip"),
                 ArchiveFixtures::readFile(inner.filePath("Pack.zip")));
        QCOMPARE(s.stack->viewControllers().size(), 2); // the destination is the screen shown
        QTRY_COMPARE(s.names(), (QStringList{"Pack.zip", "y.txt"}));
    }

    void tappedFilesOpenByKind()
    {
        makeFile(home() + "/Clip.MP4");
        makeFile(home() + "/notes.txt", "hello");
        makeFile(home() + "/README", "plain words");
        makeFile(home() + "/.zip", "hidden");
        Screen s("/");
        tap(s, "Clip.MP4");
        QCoreApplication::processEvents();
        QCOMPARE(s.stack->viewControllers().size(), 1);
        // Offered to the desktop's player instead (tst_copying).
        QCOMPARE(s.screen->textNotice()->text(), QStringLiteral("“Clip.MP4” can't be shown here."));
        QVERIFY(!ProgressOverlay::shared()->isVisible());

        // ".zip" alone is a hidden file (not listed; `--open` may name it), not an archive to
        // pour into the home folder.
        for (const QString &name : {QStringLiteral("notes.txt"), QStringLiteral("README"),
                                    QStringLiteral(".zip")}) {
            if (name.startsWith(u'.'))
                s.screen->openFileNamed(name);
            else
                tap(s, name);
            auto *preview =
                qobject_cast<LocalFilePreviewViewController *>(s.stack->topViewController());
            QVERIFY2(preview, qPrintable(name));
            QCOMPARE(preview->filePath(), home() + "/" + name);
            if (name != ".zip")
                QCOMPARE(preview->title(), name);
            s.stack->popViewController(false);
        }
    }
};

QTEST_MAIN(TestWorkflows)
#include "tst_workflows.moc"
