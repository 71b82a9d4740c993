// The Trash screen and the home folder's way to it, driven without a window on real folders and
// real trashes: what it lists, restoring (a taken name kept both ways, a gone folder made
// again, a folder replaced by a move), deleting for good and emptying, each after its sheet.
#include "ListingScreenFixture.h"
#include "TrashViewController.h"

#include <QRegularExpression>

namespace {

// Moves the item to the trash, recorded as deleted at `when` (the info file's own line, as
// every program reading the trash finds it).
void trashAt(const QString &path, const QString &when)
{
    const auto entry = Trash::moveToTrash(path, nullptr);
    QVERIFY(entry);
    QFile info(entry->trashDirectory + "/info/" + QFile::decodeName(entry->name) + ".trashinfo");
    QVERIFY(info.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(info.readAll());
    info.close();
    text.replace(QRegularExpression("DeletionDate=[^\n]*"), "DeletionDate=" + when);
    QVERIFY(info.open(QIODevice::WriteOnly | QIODevice::Truncate));
    info.write(text.toUtf8());
}

} // namespace

// The Trash screen on the home folder's stack, pushed by its "Trash" button, shown and listed.
struct TrashScreen {
    Screen home{QStringLiteral("/")};
    TrashViewController *trash = nullptr;

    TrashScreen()
    {
        const auto left = home.screen->leftBarButtonItems();
        QCOMPARE(left.size(), 1);
        QCOMPARE(left.first()->title(), QStringLiteral("Trash"));
        left.first()->trigger();
        trash = qobject_cast<TrashViewController *>(home.stack->topViewController());
        QVERIFY(trash);
        listed();
    }
    void listed()
    {
        const auto entries = Trash::entries(Trash::trashDirectoriesInUse());
        QTRY_VERIFY(!trash->hasListingInFlight() && trash->loadingView() == nullptr);
        QTRY_COMPARE(trash->tableView()->rows()->rowCount(), int(entries.size()));
    }
    // Row texts top to bottom: "name | detail".
    QStringList rows()
    {
        QStringList shown;
        for (int row = 0; row < trash->tableView()->rows()->rowCount(); ++row) {
            auto *cell = trash->cellForRow(trash->tableView(), {0, row});
            shown.append(cell->text() + " | " + cell->detailText());
        }
        return shown;
    }
    void select(const QStringList &names) { selectRows(trash, names); }
    AlertController *alert() const { return home.alert(); }
    void pick(const QString &button) { home.pick(button); }
};

class TestTrashScreen : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;

private slots:
    void initTestCase() { useTestRoot(m_root); }
    void init() { freshHome(); }

    void theButtonIsTheHomeFoldersAlone()
    {
        QDir().mkpath(home() + "/Sub");
        Screen sub("/Sub", true);
        QVERIFY(sub.screen->leftBarButtonItems().isEmpty());
        sub.stack->popViewController(false);
        auto *root = qobject_cast<LocalStorageViewController *>(sub.stack->topViewController());
        // "Select All" takes its place while editing.
        root->selectButtonTapped();
        QCOMPARE(root->leftBarButtonItems(), QList<BarButtonItem *>{root->selectAllButton()});
        root->selectButtonTapped();
        QCOMPARE(root->leftBarButtonItems().first()->title(), QStringLiteral("Trash"));
    }

    void listsTheLatestFirstAndRestoresEachToItsPlace()
    {
        makeFile(home() + "/Photos/old.jpg", "old");
        makeFile(home() + "/notes.txt", "trashed notes");
        makeFile(home() + "/Gone/inner.txt", "inner");
        trashAt(home() + "/Photos/old.jpg", "2024-01-01T10:00:00");
        trashAt(home() + "/notes.txt", "2024-03-01T10:00:00");
        trashAt(home() + "/Gone/inner.txt", "2024-02-01T10:00:00");
        QVERIFY(QDir(home() + "/Gone").removeRecursively());
        makeFile(home() + "/notes.txt", "new notes"); // the name is taken again
        TrashScreen screen;
        QCOMPARE(screen.trash->title(), QStringLiteral("Trash"));
        const QStringList rows = screen.rows();
        QCOMPARE(rows.size(), 3);
        QVERIFY2(rows[0].startsWith("notes.txt | From Documents • "), qPrintable(rows[0]));
        QVERIFY2(rows[1].startsWith("inner.txt | From Documents/Gone • "), qPrintable(rows[1]));
        QVERIFY2(rows[2].startsWith("old.jpg | From Documents/Photos • "), qPrintable(rows[2]));
        QCOMPARE(screen.trash->toolBarLabel->title(), QStringLiteral("3 files"));
        QVERIFY(!screen.trash->restoreBarButtonItem()->isEnabled());

        // One restored: a taken name keeps both, and the notice says under which name.
        screen.select({"notes.txt"});
        QVERIFY(screen.trash->restoreBarButtonItem()->isEnabled());
        screen.trash->restoreButtonTapped();
        screen.home.jobDone();
        QCOMPARE(readFile(home() + "/notes.txt"), QStringLiteral("new notes"));
        QCOMPARE(readFile(home() + "/notes 2.txt"), QStringLiteral("trashed notes"));
        QCOMPARE(screen.trash->textNotice()->text(),
                 QStringLiteral("“notes.txt” is back in “Documents” as “notes 2.txt”."));
        QVERIFY(!screen.trash->isEditing());
        screen.listed();

        // The rest: a gone folder is made again.
        screen.trash->selectButtonTapped();
        screen.trash->selectAllButtonTapped();
        screen.trash->restoreButtonTapped();
        screen.home.jobDone();
        QCOMPARE(readFile(home() + "/Gone/inner.txt"), QStringLiteral("inner"));
        QCOMPARE(readFile(home() + "/Photos/old.jpg"), QStringLiteral("old"));
        QCOMPARE(screen.trash->textNotice()->text(),
                 QStringLiteral("2 items were put back where they were."));
        screen.listed();
        QCOMPARE(screen.trash->feedbackLabel()->text(), QStringLiteral("Folder is Empty"));
        QVERIFY(!screen.trash->emptyTrashBarButtonItem()->isEnabled());
    }

    // A folder replaced by a move is in the trash whole, and comes back beside the one that
    // replaced it.
    void aReplacedFolderIsRestoredBesideItsReplacement()
    {
        makeFile(home() + "/Pack/new.txt", "new");
        makeFile(home() + "/Locked/Pack/mine.txt", "only here");
        Screen root("/");
        root.screen->moveSelectorFinished(
            {{"dist", "/Locked"}, {"source", QStringList{home() + "/Pack"}}});
        QTRY_VERIFY(root.alert());
        root.pick("Replace");
        root.jobDone();
        QCOMPARE(readFile(home() + "/Locked/Pack/new.txt"), QStringLiteral("new"));
        TrashScreen screen;
        QCOMPARE(screen.rows().size(), 1);
        QVERIFY(screen.rows().first().startsWith("Pack | From Documents/Locked • "));
        // A tap offers both ways out.
        screen.trash->tableView()->tapFlatRow(0);
        QVERIFY(screen.alert());
        QCOMPARE(screen.alert()->title(), QStringLiteral("“Pack”"));
        QCOMPARE(buttonsOf(screen.alert()),
                 (Buttons{{"Restore", AlertAction::Style::Default},
                          {"Delete Permanently", AlertAction::Style::Destructive},
                          {"Cancel", AlertAction::Style::Cancel}}));
        screen.pick("Restore");
        screen.home.jobDone();
        QCOMPARE(readFile(home() + "/Locked/Pack 2/mine.txt"), QStringLiteral("only here"));
        QCOMPARE(readFile(home() + "/Locked/Pack/new.txt"), QStringLiteral("new"));
    }

    void deletingForGoodAndEmptyingAskFirst()
    {
        for (const char *name : {"a.txt", "b.txt", "c.txt"}) {
            makeFile(home() + "/" + name);
            QVERIFY(Trash::moveToTrash(home() + "/" + name, nullptr));
        }
        TrashScreen screen;
        screen.select({"a.txt"});
        screen.trash->deleteKeyPressed(false);
        QVERIFY(screen.alert());
        QCOMPARE(screen.alert()->message(),
                 QStringLiteral("“a.txt” will be deleted and cannot be recovered."));
        QCOMPARE(buttonsOf(screen.alert()),
                 (Buttons{{"Delete Permanently", AlertAction::Style::Destructive},
                          {"Cancel", AlertAction::Style::Cancel}}));
        screen.pick("Delete Permanently");
        screen.home.jobDone();
        screen.listed();
        QCOMPARE(Trash::entries(Trash::trashDirectoriesInUse()).size(), 2);
        QVERIFY(!QFileInfo::exists(home() + "/a.txt"));

        QVERIFY(screen.trash->emptyTrashBarButtonItem()->isEnabled());
        screen.trash->emptyTrashButtonTapped();
        QCOMPARE(screen.alert()->message(),
                 QStringLiteral("2 items in the Trash will be deleted and cannot be recovered."));
        screen.pick("Cancel");
        QCOMPARE(Trash::entries(Trash::trashDirectoriesInUse()).size(), 2);
        screen.trash->emptyTrashButtonTapped();
        screen.pick("Empty Trash");
        screen.home.jobDone();
        screen.listed();
        QVERIFY(Trash::entries(Trash::trashDirectoriesInUse()).isEmpty());
        QCOMPARE(Trash::bytesIn(Trash::trashDirectoriesInUse()), 0);
    }
};

QTEST_MAIN(TestTrashScreen)
#include "tst_trashscreen.moc"
