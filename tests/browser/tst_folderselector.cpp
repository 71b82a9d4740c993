// The folder selector on its own stack, without a window, on a real home folder: what each
// mode lists and posts, the titles, the toolbar, and the mode its pushed levels take over.
#include "ListingScreenFixture.h"
#include "LocalFolderSelectorViewController.h"
#include "NotificationCenter.h"

namespace {

enum class Mode { None, Move, Download, Upload };

// A root selector presented as a sheet by a plain screen, as the listing does it.
struct Presented {
    ViewController presenter;
    LocalFolderSelectorViewController *root;
    NavigationController *stack;

    explicit Presented(Mode mode, const QStringList &sources = {})
    {
        root = new LocalFolderSelectorViewController(QStringLiteral("/"));
        root->setIsMoveItem(mode == Mode::Move);
        root->setIsDownload(mode == Mode::Download);
        root->setIsUpload(mode == Mode::Upload);
        root->setSourceFiles(sources);
        stack = new NavigationController(root);
        stack->setModalPresentationStyle(ViewController::PresentationStyle::FormSheet);
        presenter.beginAppearanceTransition(true, false);
        presenter.endAppearanceTransition();
        presenter.present(stack, true);
    }
    // The listing is read at once; the table shows it once the item manager has sorted it.
    LocalFolderSelectorViewController *top() const
    {
        auto *shown = qobject_cast<LocalFolderSelectorViewController *>(stack->topViewController());
        const int rows = int(shown->items().size());
        if (!QTest::qWaitFor([&] { return shown->tableView()->rows()->rowCount() == rows; }))
            qWarning("the table never showed the listing");
        return shown;
    }
    QStringList names() const
    {
        QStringList names;
        for (const auto &item : top()->items())
            names.append(item->fileName);
        names.sort();
        return names;
    }
    void open(const QString &name)
    {
        const int before = int(stack->viewControllers().size());
        for (int row = 0; row < names().size(); ++row) {
            auto *cell = top()->cellForRow(top()->tableView(), top()->tableView()->rows()->indexPathAt(row));
            if (cell->text() == name) {
                top()->tableView()->tapFlatRow(row);
                break;
            }
        }
        QCOMPARE(stack->viewControllers().size(), before + 1);
    }
};

// Everything posted under the three names while it lives.
struct Posted : QObject {
    QList<QPair<QString, QVariant>> received;
    Posted()
    {
        for (const QString name : {"localMove", "download", "upload"})
            NotificationCenter::defaultCenter()->addObserver(
                this, name, [this, name](const QVariant &object) { received.append({name, object}); });
    }
};

} // namespace

class TestFolderSelector : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;

private slots:
    void initTestCase()
    {
        useTestRoot(m_root);
        makeFile(home() + "/a.txt");
        makeFile(home() + "/b");
        makeFile(home() + "/.git/config");
        makeFile(home() + "/Photos/2015/p.jpg");
        makeFile(home() + "/C/c.txt");
    }

    void listingTitleAndBarsPerMode()
    {
        Presented move(Mode::Move);
        QCOMPARE(move.names(), (QStringList{"C", "Photos"}));
        QCOMPARE(move.root->title(), QStringLiteral("Select Save Folder"));
        QVERIFY(move.root->rightBarButtonItems().isEmpty());
        QVERIFY(!move.stack->isToolbarHidden());
        const auto items = move.root->selectorToolbarItems();
        QCOMPARE(items.size(), 5);
        QCOMPARE(move.root->toolbarItems(), items);
        QCOMPARE(items[0]->title(), QStringLiteral("Cancel"));
        QCOMPARE(items[1]->kind(), BarButtonItem::Kind::FlexibleSpace);
        QCOMPARE(items[2], move.root->createFolderBarButtonItem());
        QCOMPARE(items[2]->imageName(), QStringLiteral("new_folder"));
        QCOMPARE(items[3]->kind(), BarButtonItem::Kind::FlexibleSpace);
        QCOMPARE(items[4]->title(), QStringLiteral("Done"));
        for (int i : {0, 2, 4})
            QCOMPARE(items[i]->style(), BarButtonItem::Style::Done);
        for (int i : {0, 4}) {
            QVERIFY(items[i]->hasBoldTitle());
            QCOMPARE(items[i]->titleFontSize(), 12.0);
        }
        move.open("Photos");
        move.open("2015");
        QCOMPARE(move.top()->title(), QStringLiteral("2015"));
        QVERIFY(move.top()->isMoveItem()); // taken over from the root

        Presented download(Mode::Download);
        QCOMPARE(download.root->title(), QStringLiteral("Select Save Folder"));

        Presented upload(Mode::Upload);
        QCOMPARE(upload.root->title(), QStringLiteral("Select file"));
        QCOMPARE(upload.names(), (QStringList{"C", "Photos", "a.txt", "b"}));
        QCOMPARE(upload.root->rightBarButtonItems(), {upload.root->selectButton()});
        upload.open("C");
        QVERIFY(upload.top()->isUpload());
        auto *table = upload.top()->tableView();
        auto *cell = upload.top()->cellForRow(table, table->rows()->indexPathAt(0));
        QCOMPARE(cell->text(), QStringLiteral("c.txt"));
        QCOMPARE(cell->imageView()->image().text("template"), QStringLiteral("1"));

        Presented none(Mode::None);
        QCOMPARE(none.root->title(), QStringLiteral("/"));
    }

    void doneAndCancelPostAfterTheSheetIsGone()
    {
        {
            Posted posted;
            Presented move(Mode::Move, {home() + "/a.txt"});
            move.open("Photos");
            move.top()->doneButtonTapped();
            QVERIFY(!move.presenter.presentedViewController());
            QCOMPARE(posted.received.size(), 1);
            QCOMPARE(posted.received[0].first, QStringLiteral("localMove"));
            QCOMPARE(posted.received[0].second.toMap(),
                     (QVariantMap{{"dist", "/Photos"}, {"source", QStringList{home() + "/a.txt"}}}));
        }
        {
            Posted posted;
            Presented move(Mode::Move);
            move.root->doneButtonTapped();
            QCOMPARE(posted.received[0].second.toMap(), (QVariantMap{{"dist", "/"}}));
        }
        {
            Posted posted;
            Presented download(Mode::Download);
            download.open("C");
            download.top()->doneButtonTapped();
            QCOMPARE(posted.received[0].first, QStringLiteral("download"));
            QCOMPARE(posted.received[0].second.toString(), QStringLiteral("/C"));
        }
        {
            Posted posted;
            Presented upload(Mode::Upload);
            upload.top()->selectButtonTapped();
            upload.root->tableView()->tapFlatRow(3);
            upload.root->tableView()->tapFlatRow(2);
            // In the table's order of selected rows, not the order of the taps.
            QStringList chosen;
            for (int row : {2, 3})
                chosen.append(home() + "/" + upload.root->cellForRow(upload.root->tableView(), upload.root->tableView()->rows()->indexPathAt(row))->text());
            upload.root->doneButtonTapped();
            QCOMPARE(posted.received[0].first, QStringLiteral("upload"));
            QCOMPARE(posted.received[0].second.toStringList(), chosen);
        }
        {
            Posted posted;
            Presented move(Mode::Move, {home() + "/a.txt"});
            move.root->cancelButtonTapped();
            Presented escaped(Mode::Move, {home() + "/a.txt"});
            escaped.open("C");
            escaped.top()->escapePressed();
            QVERIFY(!escaped.presenter.presentedViewController());
            Presented none(Mode::None);
            none.root->doneButtonTapped();
            QVERIFY(!move.presenter.presentedViewController());
            QVERIFY(posted.received.isEmpty());
        }
    }

    void createFolderInsideTheShownFolder()
    {
        Presented move(Mode::Move);
        move.open("C");
        move.top()->createFolderButtonTapped();
        auto *alert = qobject_cast<AlertController *>(move.stack->presentedViewController());
        QVERIFY(alert);
        QCOMPARE(alert->title(), QStringLiteral("Create Folder"));
        alert->textFields().first()->setText("New");
        alert->pick(1);
        QVERIFY(QFileInfo(home() + "/C/New").isDir());
        QCOMPARE(move.names(), QStringList{"New"}); // listed at once
        move.top()->createFolderButtonTapped();
        alert = qobject_cast<AlertController *>(move.stack->presentedViewController());
        alert->textFields().first()->setText("../Outside");
        alert->pick(1);
        QVERIFY(!QFileInfo::exists(home() + "/Outside"));
        QVERIFY(move.top()->textNotice()->isVisible());
    }
};

QTEST_MAIN(TestFolderSelector)
#include "tst_folderselector.moc"
