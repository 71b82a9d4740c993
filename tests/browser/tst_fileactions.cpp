// The listing screen's file actions, driven without a window on real folders: the dialogs as
// the user would answer them, the disk and the screen checked after each.
#include "../archive/ArchiveFixtures.h"
#include "ListingScreenFixture.h"
#include "LocalFilePreviewViewController.h"
#include "LocalFolderSelectorViewController.h"

#include <QRegularExpression>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// The selector on top of the presented stack, once its table shows its listing.
LocalFolderSelectorViewController *shownSelector(ViewController *presented)
{
    auto *stack = qobject_cast<NavigationController *>(presented);
    auto *selector =
        stack ? qobject_cast<LocalFolderSelectorViewController *>(stack->topViewController())
              : nullptr;
    if (selector && !QTest::qWaitFor([selector] {
            return selector->tableView()->rows()->rowCount() == selector->items().size();
        }))
        qWarning("the selector's table never showed its listing");
    return selector;
}

} // namespace

class TestFileActions : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;

private slots:
    void initTestCase() { useTestRoot(m_root); }
    void init() { freshHome(); }

    void newFolderNestedExistingEmptyAndRefused()
    {
        QVERIFY(QDir().mkpath(home() + "/X"));
        Screen x("/X");
        x.screen->createFolderButtonTapped();
        auto *alert = x.alert();
        QVERIFY(alert);
        QCOMPARE(alert->title(), QStringLiteral("Create Folder"));
        QCOMPARE(alert->message(), QStringLiteral("Please enter a name for this folder."));
        QCOMPARE(alert->style(), AlertController::Style::Alert);
        QCOMPARE(alert->textFields().size(), 1);
        QCOMPARE(alert->textFields().first()->placeholder(), QStringLiteral("Folder name"));
        QCOMPARE(buttonsOf(alert), (Buttons{{"Cancel", AlertAction::Style::Cancel},
                                           {"Create", AlertAction::Style::Default}}));
        x.pick("Create", "a/b");
        QVERIFY(QFileInfo(home() + "/X/a/b").isDir());
        x.listed();
        QCOMPARE(x.names(), QStringList{"a"});

        // Existing, empty and cancelled: nothing changes, nothing is said.
        for (const QString &typed : {QStringLiteral("a"), QString("")}) {
            x.screen->createFolderButtonTapped();
            x.pick("Create", typed);
        }
        x.screen->createFolderButtonTapped();
        x.pick("Cancel", "never");
        QVERIFY(!x.screen->textNotice()->isVisible());
        QCOMPARE(QDir(home() + "/X").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"a"});

        // Names reaching outside the folder make nothing and say so, one notice each.
        for (const QString &typed : {QStringLiteral("../escaped"), QStringLiteral("a/../../up"),
                                     home() + "/absolute"}) {
            x.screen->createFolderButtonTapped();
            x.pick("Create", typed);
        }
        QCOMPARE(x.screen->textNotice()->texts().size(), 3);
        QVERIFY(!QFileInfo::exists(home() + "/escaped"));
        QVERIFY(!QFileInfo::exists(home() + "/up"));
        QVERIFY(!QFileInfo::exists(home() + "/X" + home() + "/absolute"));

        // Spaces alone would be a row without a name: refused. A dot name is made and kept,
        // and the notice says why it is not listed.
        x.screen->textNotice()->hide();
        for (const QString &typed : {QStringLiteral("   "), QStringLiteral(".hidden")}) {
            x.screen->createFolderButtonTapped();
            x.pick("Create", typed);
        }
        QCOMPARE(QDir(home() + "/X").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{".hidden", "a"}));
        const QStringList notices = x.screen->textNotice()->texts();
        QCOMPARE(notices.size(), 2);
        QVERIFY(notices[0].contains("spaces"));
        QCOMPARE(notices[1], QStringLiteral("“.hidden” is kept but not shown. Names beginning "
                                            "with a dot are hidden."));
    }

    void toolbarDeleteMovesToTheTrashBehindTheOverlayAndUndoPutsBack()
    {
        makeFile(home() + "/Full/inner/deep.txt", "deep");
        makeFile(home() + "/gone.txt");
        makeFile(home() + "/kept.txt");
        Screen root("/");
        root.select({"Full", "gone.txt"});
        root.screen->deleteButtonTapped();
        auto *sheet = root.alert();
        QVERIFY(sheet);
        QCOMPARE(sheet->style(), AlertController::Style::ActionSheet);
        QCOMPARE(sheet->title(), QString(""));
        QCOMPARE(sheet->message(), QStringLiteral("2 items will be moved to the Trash."));
        QCOMPARE(buttonsOf(sheet), (Buttons{{"Move to Trash", AlertAction::Style::Destructive},
                                           {"Cancel", AlertAction::Style::Cancel}}));
        root.pick("Cancel");
        QVERIFY(QFileInfo::exists(home() + "/gone.txt"));
        QVERIFY(root.screen->isEditing());

        // An item gone meanwhile fails alone; the other goes to the trash.
        root.screen->deleteButtonTapped();
        QVERIFY(QFile::remove(home() + "/gone.txt"));
        root.pick("Move to Trash");
        // The work is on the worker: the screen keeps its state until it ends.
        QVERIFY(ProgressOverlay::shared()->isVisible());
        QVERIFY(root.screen->isEditing());
        root.jobDone();
        QVERIFY(!root.screen->isEditing());
        QVERIFY(!QFileInfo::exists(home() + "/Full"));
        QCOMPARE(trashed(), QStringList{"/Full"});
        auto *notice = root.screen->textNotice();
        QCOMPARE(notice->texts().size(), 2);
        QCOMPARE(notice->texts().last(), QStringLiteral("“Full” was moved to the Trash."));
        QCOMPARE(notice->actionTitle(1), QStringLiteral("Undo"));
        root.listed();
        QCOMPARE(root.names(), QStringList{"kept.txt"});

        // Undo puts it back whole, once.
        notice->runAction(1);
        QVERIFY(!notice->hasAction());
        root.jobDone();
        QCOMPARE(readFile(home() + "/Full/inner/deep.txt"), QStringLiteral("deep"));
        QVERIFY(trashed().isEmpty());
        root.listed();
        QCOMPARE(root.names(), (QStringList{"Full", "kept.txt"}));
    }

    // Items of a folder that is another disk's top (a tmpfs the test mounts, as root) are
    // asked about as that disk's trash allows, not as the trash of the folder's own parent:
    // with no usable trash there, the sheet says they go for good.
    void theSheetAsksTheTrashOfTheItemsOwnDisk()
    {
        const QString disk = home() + "/USB";
        QVERIFY(QDir().mkpath(disk));
        if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=1m") != 0)
            QSKIP("Can't mount a tmpfs here (needs root and a mount namespace that allows it).");
        auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });
        // A trash folder that is a link is no trash to use.
        QVERIFY(QDir(disk).mkdir("away"));
        QVERIFY(QFile::link(disk + "/away", disk + "/.Trash-" + QString::number(::geteuid())));
        makeFile(disk + "/a.txt");
        Screen usb("/USB");
        usb.select({"a.txt"});
        usb.screen->deleteButtonTapped();
        QCOMPARE(usb.alert()->message(),
                 QStringLiteral("“a.txt” will be deleted and cannot be recovered."));
        usb.pick("Cancel");
    }

    void menuDeleteKeepsEditingAsItWasAndLogsAFailure()
    {
        makeFile(home() + "/a.txt");
        makeFile(home() + "/b.txt");
        Screen root("/");
        root.menuAction("a.txt", &LocalStorageViewController::deleteAction);
        auto *sheet = root.alert();
        QCOMPARE(sheet->title(), QStringLiteral("“a.txt” will be moved to the Trash."));
        QCOMPARE(sheet->message(), QString(""));
        QCOMPARE(buttonsOf(sheet), (Buttons{{"Move to Trash", AlertAction::Style::Destructive},
                                           {"Cancel", AlertAction::Style::Cancel}}));
        root.pick("Move to Trash");
        root.jobDone();
        QVERIFY(!root.screen->isEditing());
        QCOMPARE(trashed(), QStringList{"/a.txt"});

        root.listed();
        root.select({});
        root.menuAction("b.txt", &LocalStorageViewController::deleteAction);
        QVERIFY(QFile::remove(home() + "/b.txt"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("deleteAction.* .*b\\.txt"));
        root.pick("Move to Trash");
        root.jobDone();
        QVERIFY(root.screen->isEditing());
        // The failure is said; the first deletion's Undo notice may still stand beside it.
        QVERIFY(root.screen->textNotice()->texts().last().contains("b.txt"));
    }

    // In a subfolder, the toolbar, the row menu and Shift+Delete act on that folder's items,
    // never on their namesakes above; an item gone meanwhile fails alone.
    void aSubfoldersItemsAreDeletedFromThatFolder()
    {
        for (const QString name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"})
            makeFile(home() + "/Sub/" + name);
        makeFile(home() + "/a.txt", "top");
        Screen sub("/Sub", true);
        sub.select({"a.txt", "b.txt"});
        sub.screen->deleteButtonTapped();
        sub.pick("Move to Trash");
        sub.jobDone();
        sub.listed();
        sub.menuAction("e.txt", &LocalStorageViewController::deleteAction);
        sub.pick("Move to Trash");
        sub.jobDone();
        QCOMPARE(trashed(), (QStringList{"/Sub/a.txt", "/Sub/b.txt", "/Sub/e.txt"}));
        QCOMPARE(readFile(home() + "/a.txt"), QStringLiteral("top"));

        sub.listed();
        sub.select({"c.txt", "d.txt"});
        sub.screen->deleteKeyPressed(true);
        QVERIFY(QFile::remove(home() + "/Sub/c.txt"));
        sub.pick("Delete from local folder");
        QVERIFY(ProgressOverlay::shared()->isCancellable()); // counted, with Cancel
        sub.jobDone();
        QVERIFY(namesIn(home() + "/Sub").isEmpty());
        QVERIFY(sub.screen->textNotice()->texts().last().contains("c.txt"));
        QCOMPARE(trashed().size(), 3);
    }

    // Over a GiB moved: a further notice says what the trash holds (a sparse file: no disk used).
    void aBigMoveToTheTrashSaysWhatTheTrashHolds()
    {
        QFile big(home() + "/big.iso");
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize((qint64(1) << 30) + 1));
        big.close();
        makeFile(home() + "/small.txt");
        Screen root("/");
        root.menuAction("small.txt", &LocalStorageViewController::deleteAction);
        root.pick("Move to Trash");
        root.jobDone();
        QTest::qWait(200);
        QCOMPARE(root.screen->textNotice()->texts().size(), 1);
        root.menuAction("big.iso", &LocalStorageViewController::deleteAction);
        root.pick("Move to Trash");
        root.jobDone();
        QTRY_VERIFY(root.screen->textNotice()->text().startsWith("The Trash now holds "));
    }

    void renameInASubfolderAndItsRefusals()
    {
        makeFile(home() + "/Sub/old.txt", "old");
        makeFile(home() + "/Sub/taken.txt", "taken");
        Screen sub("/Sub");
        sub.menuAction("old.txt", &LocalStorageViewController::renameAction);
        auto *alert = sub.alert();
        QCOMPARE(alert->title(), QStringLiteral("Rename"));
        QCOMPARE(alert->message(), QStringLiteral("Please enter a name."));
        QCOMPARE(alert->textFields().first()->placeholder(), QStringLiteral("New Name"));
        QCOMPARE(alert->textFields().first()->text(), QStringLiteral("old.txt"));
        QCOMPARE(buttonsOf(alert), (Buttons{{"Cancel", AlertAction::Style::Cancel},
                                           {"Done", AlertAction::Style::Default}}));
        sub.pick("Done", "new.txt");
        // A rename is one system call: done before the dialog's handler returns.
        QCOMPARE(readFile(home() + "/Sub/new.txt"), QStringLiteral("old"));
        QVERIFY(!sub.screen->textNotice()->isVisible());
        sub.listed();

        sub.menuAction("new.txt", &LocalStorageViewController::renameAction);
        sub.pick("Done", "taken.txt");
        sub.menuAction("new.txt", &LocalStorageViewController::renameAction);
        sub.pick("Done", "");
        QStringList notices = sub.screen->textNotice()->texts();
        QCOMPARE(notices.size(), 2);
        QVERIFY(notices[0].contains("taken.txt"));
        QVERIFY(!notices[1].isEmpty());
        QCOMPARE(readFile(home() + "/Sub/taken.txt"), QStringLiteral("taken"));
        QCOMPARE(readFile(home() + "/Sub/new.txt"), QStringLiteral("old"));

        // Renamed out of the listing's sight: said, not lost.
        sub.menuAction("new.txt", &LocalStorageViewController::renameAction);
        sub.pick("Done", ".new.txt");
        QCOMPARE(readFile(home() + "/Sub/.new.txt"), QStringLiteral("old"));
        QVERIFY(sub.screen->textNotice()->text().contains("Names beginning with a dot are hidden."));
    }

    void menuMoveClearsTheSelectionAndPresentsTheSelector()
    {
        makeFile(home() + "/a.txt", "new a");
        makeFile(home() + "/Dest/a.txt", "old a");
        makeFile(home() + "/other.txt");
        Screen root("/");
        root.select({"other.txt"});
        root.menuAction("a.txt", &LocalStorageViewController::moveAction);
        QVERIFY(root.screen->tableView()->indexPathsForSelectedRows().isEmpty());
        auto *presented = qobject_cast<NavigationController *>(root.stack->presentedViewController());
        QVERIFY(presented);
        QCOMPARE(presented->modalPresentationStyle(), ViewController::PresentationStyle::FormSheet);
        auto *selector = shownSelector(presented);
        QVERIFY(selector);
        QVERIFY(selector->isMoveItem());
        QCOMPARE(selector->filePath(), QStringLiteral("/"));
        QCOMPARE(selector->sourceFiles(), QStringList{home() + "/a.txt"});
        QVERIFY(root.screen->isVisible()); // a sheet leaves the screen below listening

        // Into Dest, which holds a namesake: asked, and replaced, the old one in the trash.
        selector->tableView()->tapFlatRow(0);
        auto *dest = shownSelector(presented);
        QCOMPARE(dest->filePath(), QStringLiteral("/Dest"));
        dest->doneButtonTapped();
        QVERIFY(!root.stack->presentedViewController());
        QTRY_VERIFY(root.alert());
        QCOMPARE(root.alert()->title(), QStringLiteral("“a.txt” already exists in “Dest”."));
        QVERIFY(root.alert()->checkBoxes().isEmpty()); // one clash: nothing to apply to
        root.pick("Replace");
        root.jobDone();
        QCOMPARE(readFile(home() + "/Dest/a.txt"), QStringLiteral("new a"));
        QCOMPARE(trashed(), QStringList{"/Dest/a.txt"});
        QVERIFY(!QFileInfo::exists(home() + "/a.txt"));
        QVERIFY(!root.screen->isEditing());
        root.listed();
    }

    // a.txt, Pack and c.txt into Locked, which holds a Pack of its own and a c.txt: one
    // question per clash, answered by the buttons listed ("+all": with "Apply to all").
    void eachClashIsAskedAndAnswered_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("locked");
        QTest::addColumn<QStringList>("trash");
        QTest::addColumn<QStringList>("leftAtHome");
        const QStringList untouched{"Pack/", "Pack/mine.txt", "a.txt", "c.txt"};
        QTest::newRow("replace each")
            << QStringList{"Replace", "Replace"}
            << QStringList{"Pack/", "Pack/new.txt", "a.txt", "c.txt"}
            << QStringList{"/Locked/Pack", "/Locked/c.txt"} << QStringList{};
        QTest::newRow("replace all") << QStringList{"Replace+all"}
                                     << QStringList{"Pack/", "Pack/new.txt", "a.txt", "c.txt"}
                                     << QStringList{"/Locked/Pack", "/Locked/c.txt"}
                                     << QStringList{};
        QTest::newRow("keep both, all")
            << QStringList{"Keep Both+all"}
            << QStringList{"Pack 2/", "Pack 2/new.txt", "Pack/", "Pack/mine.txt", "a.txt",
                           "c 2.txt", "c.txt"}
            << QStringList{} << QStringList{};
        QTest::newRow("keep both, then replace")
            << QStringList{"Keep Both", "Replace"}
            << QStringList{"Pack 2/", "Pack 2/new.txt", "Pack/", "Pack/mine.txt", "a.txt", "c.txt"}
            << QStringList{"/Locked/c.txt"} << QStringList{};
        // What moved before the stop stays moved; nothing after it moves.
        QTest::newRow("stop") << QStringList{"Stop"} << untouched << QStringList{}
                              << QStringList{"Pack/", "Pack/new.txt", "c.txt"};
        QTest::newRow("replace, then stop")
            << QStringList{"Replace", "Stop"}
            << QStringList{"Pack/", "Pack/new.txt", "a.txt", "c.txt"}
            << QStringList{"/Locked/Pack"} << QStringList{"c.txt"};
    }

    void eachClashIsAskedAndAnswered()
    {
        QFETCH(QStringList, answers);
        QFETCH(QStringList, locked);
        QFETCH(QStringList, trash);
        QFETCH(QStringList, leftAtHome);
        makeFile(home() + "/a.txt", "a");
        makeFile(home() + "/Pack/new.txt", "new");
        makeFile(home() + "/c.txt", "new c");
        makeFile(home() + "/Locked/Pack/mine.txt", "only here");
        makeFile(home() + "/Locked/c.txt", "old c");
        Screen root("/");
        root.select({"a.txt", "Pack", "c.txt"});
        root.screen->moveSelectorFinished(
            {{"dist", "/Locked"},
             {"source", QStringList{home() + "/a.txt", home() + "/Pack", home() + "/c.txt"}}});
        const QStringList clashing{"Pack", "c.txt"};
        for (qsizetype i = 0; i < answers.size(); ++i) {
            QTRY_VERIFY(root.alert());
            auto *question = root.alert();
            QCOMPARE(question->title(),
                     QStringLiteral("“%1” already exists in “Locked”.").arg(clashing.at(i)));
            QCOMPARE(buttonsOf(question), (Buttons{{"Replace", AlertAction::Style::Default},
                                                  {"Keep Both", AlertAction::Style::Default},
                                                  {"Stop", AlertAction::Style::Cancel}}));
            QCOMPARE(question->actions().at(question->defaultActionIndex())->title(),
                     QStringLiteral("Keep Both"));
            // "Apply to all" only while more than one clash is left.
            QCOMPARE(question->checkBoxes().size(), i == 0 ? 1 : 0);
            QString answer = answers.at(i);
            if (answer.endsWith("+all")) {
                answer.chop(4);
                question->checkBoxes().first()->setChecked(true);
            }
            root.pick(answer);
        }
        root.jobDone();
        QVERIFY(!root.alert());
        QCOMPARE(ArchiveFixtures::tree(home() + "/Locked"), locked);
        QCOMPARE(trashed(), trash);
        QStringList atHome = ArchiveFixtures::tree(home());
        atHome.removeIf([](const QString &item) { return item.startsWith("Locked/"); });
        QCOMPARE(atHome, leftAtHome);
        // Each content where its name says.
        QCOMPARE(readFile(home() + "/Locked/c.txt"),
                 trash.contains("/Locked/c.txt") ? QStringLiteral("new c") : QStringLiteral("old c"));
        if (locked.contains("c 2.txt"))
            QCOMPARE(readFile(home() + "/Locked/c 2.txt"), QStringLiteral("new c"));
        QVERIFY(!root.screen->isEditing());
    }

    void toolbarMoveKeepsTheSelectionAndReportsEachFailure()
    {
        makeFile(home() + "/Tree/Inner/x.txt");
        makeFile(home() + "/b.txt");
        makeFile(home() + "/c.txt");
        Screen root("/");
        root.select({"Tree", "b.txt", "c.txt"});
        root.screen->moveBarButtonTaped();
        QCOMPARE(root.screen->tableView()->indexPathsForSelectedRows().size(), 3);
        auto *presented = qobject_cast<NavigationController *>(root.stack->presentedViewController());
        auto *selector = shownSelector(presented);
        QCOMPARE(selector->sourceFiles().size(), 3);
        selector->tableView()->tapFlatRow(0); // Tree
        auto *tree = shownSelector(presented);
        tree->tableView()->tapFlatRow(0); // Tree/Inner
        auto *inner = shownSelector(presented);
        QCOMPARE(inner->filePath(), QStringLiteral("/Tree/Inner"));
        QVERIFY(QFile::remove(home() + "/c.txt")); // gone before the move: fails alone
        inner->doneButtonTapped();
        QVERIFY(root.screen->isEditing()); // until the move has ended
        root.jobDone();
        QVERIFY(!root.screen->isEditing());
        // Tree into its own sub-folder fails and stays whole; b.txt goes.
        QVERIFY(QFileInfo::exists(home() + "/Tree/Inner/x.txt"));
        QVERIFY(QFileInfo::exists(home() + "/Tree/Inner/b.txt"));
        QCOMPARE(root.screen->textNotice()->texts().size(), 2);
        root.listed();
        QCOMPARE(root.names(), QStringList{"Tree"});
    }

    void moveOntoItselfAndWithoutSourcesChangesNothing()
    {
        makeFile(home() + "/a.txt", "a");
        Screen root("/");
        root.select({"a.txt"});
        root.screen->moveSelectorFinished({{"dist", "/"}, {"source", QStringList{home() + "/a.txt"}}});
        root.jobDone();
        QCOMPARE(readFile(home() + "/a.txt"), QStringLiteral("a"));
        QVERIFY(!root.screen->textNotice()->isVisible());
        QVERIFY(!root.screen->isEditing());
        root.select({"a.txt"});
        root.screen->moveSelectorFinished({{"dist", "/"}});
        root.jobDone();
        QVERIFY(!root.screen->isEditing());
    }

    void keysDeleteTheSelectionAndRenameTheRow()
    {
        makeFile(home() + "/a.txt");
        Screen root("/");
        root.screen->deleteKeyPressed(false); // not editing: nothing asked
        QVERIFY(!root.alert());
        root.select({"a.txt"});
        root.screen->deleteKeyPressed(false);
        QCOMPARE(root.alert()->message(), QStringLiteral("“a.txt” will be moved to the Trash."));
        root.pick("Cancel");
        // Shift+Delete: for good, as the sheet says.
        root.screen->deleteKeyPressed(true);
        QCOMPARE(root.alert()->message(),
                 QStringLiteral("“a.txt” will be deleted and cannot be recovered."));
        QCOMPARE(buttonsOf(root.alert()),
                 (Buttons{{"Delete from local folder", AlertAction::Style::Destructive},
                          {"Cancel", AlertAction::Style::Cancel}}));
        root.pick("Delete from local folder");
        root.jobDone();
        QVERIFY(!QFileInfo::exists(home() + "/a.txt"));
        QVERIFY(trashed().isEmpty());
        QVERIFY(!root.screen->textNotice()->hasAction());
        root.listed();
        makeFile(home() + "/b.txt");
        root.screen->reloadItemsFromDataSource();
        root.listed();
        root.screen->renameKeyPressed(0);
        QCOMPARE(root.alert()->textFields().first()->text(), QStringLiteral("b.txt"));
        root.pick("Cancel");
        root.screen->renameKeyPressed(-1);
        QVERIFY(!root.alert());
    }

    void infoAndTheDetailButtonOpenTheSameProperties()
    {
        makeFile(home() + "/Sub/doc.txt");
        Screen sub("/Sub");
        QList<LocalFilePreviewViewController *> opened;
        sub.menuAction("doc.txt", &LocalStorageViewController::infoAction);
        opened.append(qobject_cast<LocalFilePreviewViewController *>(sub.stack->topViewController()));
        sub.stack->popViewController(false);
        sub.screen->tableView()->tapAccessoryOfFlatRow(0);
        opened.append(qobject_cast<LocalFilePreviewViewController *>(sub.stack->topViewController()));
        for (auto *properties : opened) {
            QVERIFY(properties);
            QCOMPARE(properties->filePath(), home() + "/Sub/doc.txt");
            QVERIFY(properties->isOnlyShowFileProperty());
            QCOMPARE(properties->title(), QStringLiteral("doc.txt"));
            QCOMPARE(properties->simpleValueChangedDelegate(), sub.screen);
        }
        // A change reported from above lists the folder again.
        QVERIFY(QFile::rename(home() + "/Sub/doc.txt", home() + "/Sub/renamed.txt"));
        sub.screen->didChangedValue(opened.last(), {});
        sub.listed();
        QCOMPARE(sub.names(), QStringList{"renamed.txt"});
    }

    // The buttons and the count follow the selection: taps, Select All, Select None, Cancel.
    void theSelectionButtonsFollowTheSelection()
    {
        makeFile(home() + "/a.txt");
        makeFile(home() + "/b.txt");
        Screen root("/");
        auto *screen = root.screen;
        const QList<BarButtonItem *> needingRows{screen->deleteBarButtonItem(),
                                                 screen->moveBarButtonItem(),
                                                 screen->compressBarButtonItem()};
        const auto enabled = [&] {
            return std::count_if(needingRows.begin(), needingRows.end(),
                                 [](BarButtonItem *button) { return button->isEnabled(); });
        };
        QTRY_VERIFY(screen->selectButton()->isEnabled());
        QVERIFY(screen->createFolderBarButtonItem()->isEnabled());
        QCOMPARE(enabled(), 0);
        screen->selectButtonTapped();
        QCOMPARE(screen->toolBarLabel->title(), QStringLiteral("0 items selected"));
        QCOMPARE(enabled(), 0);
        screen->tableView()->tapFlatRow(0);
        QCOMPARE(screen->toolBarLabel->title(), QStringLiteral("1 item selected"));
        QCOMPARE(enabled(), 3);
        screen->tableView()->tapFlatRow(0);
        QCOMPARE(enabled(), 0);
        screen->selectAllButtonTapped();
        QCOMPARE(enabled(), 3);
        screen->selectAllButtonTapped(); // Select None
        QCOMPARE(enabled(), 0);
        screen->tableView()->tapFlatRow(1);
        screen->selectButtonTapped();
        QCOMPARE(enabled(), 0);
    }
};

QTEST_MAIN(TestFileActions)
#include "tst_fileactions.moc"
