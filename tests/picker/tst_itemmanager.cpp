#include "DispatchQueue.h"
#include "KPDocumentPickerItemManager.h"
#include "KPDocumentPickerTableView.h"
#include "NameCollation.h"

#include <QAbstractItemModelTester>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QThreadPool>
#include <atomic>
#include <cstdlib>
#include <thread>

namespace {

KPDocumentPickerItemPtr item(const QString &name, quint64 size = 0, qint64 ageSeconds = 0,
                             bool folder = false)
{
    auto i = std::make_shared<KPDocumentPickerItem>();
    i->fileName = name;
    i->fileSize = size;
    i->isFolder = folder;
    i->lastModifiedDate = QDateTime::fromSecsSinceEpoch(1'700'000'000 - ageSeconds);
    return i;
}

QStringList names(const KPDocumentPickerItems &items)
{
    QStringList out;
    for (const auto &i : items)
        out.append(i->fileName);
    return out;
}

// The table's questions answered from the manager, as the picker answers them.
class ManagerRows : public TableViewDataSource {
public:
    explicit ManagerRows(KPDocumentPickerItemManager *m) : m(m) {}
    int numberOfSections(TableView *) const override { return m->numberOfSections(); }
    int numberOfRows(TableView *, int s) const override { return m->numberOfRowsForSection(s); }
    TableViewCell *cellForRow(TableView *, IndexPath) override { return nullptr; }
    QString titleForHeader(TableView *, int s) const override
    {
        return m->titleForHeaderInSection(s);
    }
    QStringList sectionIndexTitles(TableView *) const override { return m->sectionIndexTitles(); }
    int sectionForSectionIndexTitle(TableView *, const QString &, int i) override
    {
        return m->sectionForSectionIndexAtIndex(i);
    }
    KPDocumentPickerItemManager *m;
};

// Every rebuild asked for so far has run and its result, if kept, has been shown.
void drainBuilderQueues()
{
    QVERIFY(DispatchQueue::pool().waitForDone(30000));
    QCoreApplication::sendPostedEvents();
}

} // namespace

class TestItemManager : public QObject {
    Q_OBJECT

    // A manager driving a 320 x 480 table of 70-point rows.
    struct Fixture {
        KPDocumentPickerItemManager manager;
        KPDocumentPickerTableView table;
        ManagerRows rows{&manager};
        QAbstractItemModelTester tester{table.rows(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest};
        int reloads = 0;
        Fixture()
        {
            table.setDataSource(&rows);
            table.setRowHeight(70);
            table.setSize(QSizeF(320, 480));
            manager.setTableView(&table);
            manager.setContentReloadedHandler([this] { ++reloads; });
        }
        void settle()
        {
            const int before = reloads;
            QTRY_VERIFY(reloads > before);
        }
    };

private slots:
    void nameOrderIsNumericAndBlindToCaseAndAccents()
    {
        const KPDocumentPickerItems items = {item("file10"), item("File2"), item("éclair"),
                                             item("Eclat"), item("apple")};
        QCOMPARE(names(KPDocumentPickerItemManager::sortedItemsArrayWithArray(
                     items, KPDocumentPickerSortTypeNameAscending)),
                 QStringList({"apple", "éclair", "Eclat", "File2", "file10"}));
        QCOMPARE(names(KPDocumentPickerItemManager::sortedItemsArrayWithArray(
                     items, KPDocumentPickerSortTypeNameDescending)),
                 QStringList({"file10", "File2", "Eclat", "éclair", "apple"}));
    }

    void dateAndSizeOrdersMixFoldersAndFiles()
    {
        const KPDocumentPickerItems items = {item("old", 5, 300), item("dir", 0, 100, true),
                                             item("new", 9, 0), item("empty", 0, 200)};
        QCOMPARE(names(KPDocumentPickerItemManager::sortedItemsArrayWithArray(
                     items, KPDocumentPickerSortTypeDateDescending)),
                 QStringList({"new", "dir", "empty", "old"}));
        QCOMPARE(names(KPDocumentPickerItemManager::sortedItemsArrayWithArray(
                     items, KPDocumentPickerSortTypeSizeAscending)),
                 QStringList({"dir", "empty", "old", "new"}));
        QCOMPARE(names(KPDocumentPickerItemManager::sortedItemsArrayWithArray(
                     items, KPDocumentPickerSortTypeSizeDescending)),
                 QStringList({"new", "old", "dir", "empty"}));
    }

    void searchIsPlainTextBlindToCaseAndAccents()
    {
        const KPDocumentPickerItems items = {item("Résumé.pdf"), item("notes (1).txt"), item("a.b"),
                                             item("axb")};
        auto found = [&](const QString &s) {
            return names(KPDocumentPickerItemManager::filteredItemsWithItems(items, s));
        };
        QCOMPARE(found("resume"), QStringList({"Résumé.pdf"}));
        QCOMPARE(found("(1)"), QStringList({"notes (1).txt"}));
        QCOMPARE(found("a.b"), QStringList({"a.b"})); // "." is a dot, not any character
        QCOMPARE(found("["), QStringList());
    }

    void sectionsOnlyForLongNameSortedLists()
    {
        const QSizeF table(320, 480);
        QVERIFY(!KPDocumentPickerItemManager::shouldUseSections(
            11, KPDocumentPickerSortTypeNameAscending, table, 70));
        QVERIFY(KPDocumentPickerItemManager::shouldUseSections(
            12, KPDocumentPickerSortTypeNameAscending, table, 70));
        QVERIFY(KPDocumentPickerItemManager::shouldUseSections(
            12, KPDocumentPickerSortTypeNameDescending, table, 70));
        QVERIFY(!KPDocumentPickerItemManager::shouldUseSections(
            500, KPDocumentPickerSortTypeDateAscending, table, 70));
    }

    void sectionedListWithIndex()
    {
        Fixture f;
        KPDocumentPickerItems items;
        for (const char *n : {"banana", "apple", "Avocado", "cherry", "2fast", "date", "elder",
                              "fig", "grape", "honeydew", "kiwi", "lemon", "mango"})
            items.append(item(n));
        f.manager.setItems(items);
        f.settle();
        const QStringList titles = NameCollation::current().sectionTitles();
        QVERIFY(titles.size() >= 27);
        QCOMPARE(titles.first(), QStringLiteral("A"));
        QCOMPARE(titles.last(), QStringLiteral("#"));
        QCOMPARE(f.manager.numberOfSections(), titles.size());
        QCOMPARE(f.manager.sectionIndexTitles().first(), QStringLiteral("{search}"));
        QCOMPARE(f.manager.titleForHeaderInSection(0), QStringLiteral("A"));
        QCOMPARE(f.manager.itemForIndexPath(0, 0)->fileName, QStringLiteral("apple"));
        QCOMPARE(f.manager.itemForIndexPath(0, 1)->fileName, QStringLiteral("Avocado"));
        QCOMPARE(f.manager.titleForHeaderInSection(titles.indexOf("I")), QString()); // empty
        QCOMPARE(f.manager.numberOfRowsForSection(int(titles.size()) - 1), 1);       // "2fast"
        QCOMPARE(f.manager.sectionForSectionIndexAtIndex(0), -1);
        QCOMPARE(f.manager.sectionForSectionIndexAtIndex(3), 2);
        QCOMPARE(f.table.rows()->rowCount(), items.size());

        // Descending: the index runs from "#" to "A", each letter's items still ascending.
        f.manager.setSortingType(KPDocumentPickerSortTypeNameDescending);
        f.settle();
        QCOMPARE(f.manager.sectionIndexTitles().at(1), QStringLiteral("#"));
        const int a = f.manager.numberOfSections() - 1;
        QCOMPARE(f.manager.itemForIndexPath(a, 0)->fileName, QStringLiteral("apple"));

        // Searching flattens, clearing brings the sections back; a date sort drops them.
        f.manager.setSearchString("an");
        f.settle();
        QCOMPARE(f.manager.numberOfSections(), 1);
        QVERIFY(f.manager.sectionIndexTitles().isEmpty());
        QCOMPARE(f.manager.numberOfRowsForSection(0), 2); // banana, mango
        f.manager.setSearchString(QString());
        f.settle();
        QVERIFY(!f.manager.sectionIndexTitles().isEmpty());
        f.manager.setSortingType(KPDocumentPickerSortTypeDateAscending);
        f.settle();
        QCOMPARE(f.manager.numberOfSections(), 1);
        QVERIFY(f.manager.sectionIndexTitles().isEmpty());
    }

    void itemsBeforeTheTableAreKeptButNotDerived()
    {
        KPDocumentPickerItemManager manager;
        manager.setItems({item("a")});
        QCoreApplication::processEvents();
        QCOMPARE(manager.numberOfSections(), 1);
        QCOMPARE(manager.numberOfRowsForSection(0), 0);
        QCOMPARE(manager.items().size(), 1);
    }

    void theSameListTwiceRebuildsOnce()
    {
        Fixture f;
        const KPDocumentPickerItems items = {item("a"), item("b")};
        f.manager.setItems(items);
        f.settle();
        const int reloads = f.reloads;
        f.manager.setItems(items);
        drainBuilderQueues();
        QCOMPARE(f.reloads, reloads);
        f.manager.setItems(KPDocumentPickerItems(items.cbegin(), items.cend())); // equal, new
        f.settle();
    }

    // Typing: each keystroke asks for a rebuild on the builder queue without waiting for the
    // one before; what is finally shown is the newest search, whatever ran in between, and no
    // result shows after a newer one was asked for.
    void theNewestSearchWins()
    {
        Fixture f;
        KPDocumentPickerItems items;
        for (int i = 0; i < 20000; ++i)
            items.append(item(QStringLiteral("name%1").arg(i)));
        f.manager.setItems(items);
        f.settle();
        QStringList shownFor;
        f.manager.setContentReloadedHandler([&] { shownFor.append(f.manager.searchString()); });
        const QStringList typed = {"n", "na", "nam", "name", "name1", "name19", "name199"};
        for (const QString &search : typed)
            f.manager.setSearchString(search);
        drainBuilderQueues();
        QVERIFY(!shownFor.isEmpty());
        QVERIFY(shownFor.size() <= typed.size());
        QCOMPARE(shownFor.constLast(), QStringLiteral("name199"));
        // name199, name1990 to name1999, name19900 to name19999.
        QCOMPARE(f.manager.numberOfRowsForSection(0), 111);
        QCOMPARE(f.table.rows()->rowCount(), 111);
        QCOMPARE(f.manager.itemForIndexPath(0, 0)->fileName, QStringLiteral("name199"));
    }

    // Rebuilds on a worker while the main thread keeps asking: what the table sees always
    // matches what it was loaded with (run under the sanitizers).
    void rebuildsOnAWorkerWhileTheMainThreadReads()
    {
        Fixture f;
        std::atomic<bool> done = false;
        std::thread worker([&] {
            for (int round = 0; round < 200; ++round) {
                KPDocumentPickerItems items;
                for (int i = 0; i < 50 + round % 7; ++i)
                    items.append(item(QStringLiteral("n%1").arg(i), quint64(i), i));
                f.manager.setItems(items);
            }
            done = true;
        });
        while (!done) {
            QCoreApplication::processEvents();
            const int rows = f.table.rows()->rowCount();
            int counted = 0;
            for (int s = 0; s < f.manager.numberOfSections(); ++s)
                counted += f.manager.numberOfRowsForSection(s);
            QCOMPARE(counted, rows);
        }
        worker.join();
        QTRY_COMPARE(f.table.rows()->rowCount(), 50 + 199 % 7);
    }

    // A listing may still be sorted on a pool thread when the process ends, while the main
    // thread runs the static destructors. A child run of this test ends so, with work reading
    // the collation, and lets that work go round twice more after the destructors (the exit
    // handler, registered before the collation is first made, runs after its destructor would);
    // a collation freed by then is a use after free the sanitizers report in the child's status.
    void theCollationOutlivesWorkRunningAtExit()
    {
        if (qEnvironmentVariableIsSet("OMBRISK_EXIT_WHILE_COLLATING")) {
            static std::atomic<int> rounds = 0;
            std::atexit([] {
                const int seen = rounds;
                while (rounds < seen + 2)
                    QThread::yieldCurrentThread();
            });
            auto *queue = new DispatchQueue(QStringLiteral("test.collatingAtExit"));
            queue->async([] {
                const NameCollation &collation = NameCollation::current();
                for (;;) {
                    collation.sectionOf(QStringLiteral("name"));
                    ++rounds;
                }
            });
            while (rounds == 0)
                QThread::yieldCurrentThread();
            std::exit(0);
        }
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("OMBRISK_EXIT_WHILE_COLLATING"), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("theCollationOutlivesWorkRunningAtExit")});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestItemManager)
#include "tst_itemmanager.moc"
