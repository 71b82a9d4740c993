// The generic picker driven without a window: a small data source in the test answers at once.
#include "KPDocumentPickerViewController.h"
#include "NavigationController.h"
#include "Translations.h"

#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

namespace {

KPDocumentPickerItemPtr makeItem(const QString &name, bool folder = false)
{
    auto item = std::make_shared<KPDocumentPickerItem>();
    item->fileName = name;
    item->isFolder = folder;
    item->fileSize = folder ? 0 : 10;
    item->lastModifiedDate = QDateTime::fromSecsSinceEpoch(1700000000);
    return item;
}

class Source : public KPDocumentPickerViewControllerDataSource,
               public KPDocumentPickerViewControllerDelegate {
public:
    QHash<QString, KPDocumentPickerItems> folders;
    QStringList requests, cancels, titles;
    QList<KPDocumentPickerItems> picked;
    bool giveTitles = false;

    void requestItemsForFilePath(KPDocumentPickerViewController *, const QString &path,
                                 std::function<void(const KPDocumentPickerItems &)> done) override
    {
        requests.append(path);
        done(folders.value(path));
    }
    std::optional<QString> titleForFilePath(KPDocumentPickerViewController *,
                                            const QString &path) override
    {
        titles.append(path);
        return giveTitles ? std::optional<QString>(QStringLiteral("T:") + path) : std::nullopt;
    }
    void cancelRequestForFilePath(KPDocumentPickerViewController *, const QString &path) override
    {
        cancels.append(path);
    }
    void didSelectItems(KPDocumentPickerViewController *, const KPDocumentPickerItems &items,
                        const QString &) override
    {
        picked.append(items);
    }
};

void waitUntilListed(KPDocumentPickerViewController *picker)
{
    QTRY_VERIFY(picker->loadingView() == nullptr);
}

// A picker on a stack of its own, at a phone's size, answered by its own source (giving titles
// with `titled`); with `listed` it waits until the first listing shows.
struct Stack {
    Source source;
    KPDocumentPickerViewController *root;
    std::unique_ptr<NavigationController> navigation;

    explicit Stack(const KPDocumentPickerItems &items = {}, const QString &path = QStringLiteral("/"),
                   bool listed = true, bool titled = false)
        : root(new KPDocumentPickerViewController(path))
    {
        source.folders[path] = items;
        source.giveTitles = titled;
        root->setDataSource(&source);
        root->setDocumentPickerDelegate(&source);
        navigation = std::make_unique<NavigationController>(root);
        navigation->setViewSize({400, 700});
        root->setViewSize({400, 700});
        navigation->beginAppearanceTransition(true, false);
        navigation->endAppearanceTransition();
        if (listed)
            waitUntilListed(root);
    }
    KPDocumentPickerViewController *top() const
    {
        return qobject_cast<KPDocumentPickerViewController *>(navigation->topViewController());
    }
};

// `count` items named `prefix` and a number.
KPDocumentPickerItems numbered(const QString &prefix, int count, bool folders = false)
{
    KPDocumentPickerItems items;
    for (int i = 0; i < count; ++i)
        items.append(makeItem(prefix + QString::number(i), folders));
    return items;
}

// The cell of a row, given one menu entry as the listing screen gives four.
KPDocumentPickerTableViewCell *cellWithMenu(TableView *table, int flatRow)
{
    auto *cell = qobject_cast<KPDocumentPickerTableViewCell *>(table->cellForFlatRow(flatRow));
    std::vector<std::unique_ptr<KPDocumentPickerMenuItem>> entries;
    entries.push_back(
        std::make_unique<KPDocumentPickerMenuItem>("Info...", "infoAction:", QVariant()));
    cell->setMenuItems(std::move(entries));
    return cell;
}

} // namespace

class TestPickerViewController : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Translations::install(*QCoreApplication::instance(), QLocale(QLocale::English)); }
    void rootWithoutPathShowsSlash()
    {
        Stack stack({}, QString());
        QCOMPARE(stack.root->filePath(), QStringLiteral("/"));
        QCOMPARE(stack.root->title(), QStringLiteral("/"));
        QCOMPARE(stack.source.requests, QStringList{"/"});
    }

    void firstAppearanceOnlyRequestsAndTitles()
    {
        Stack stack({makeItem("A", true), makeItem("b.txt")}, QStringLiteral("/"), true, true);
        QCOMPARE(stack.root->title(), QStringLiteral("T:/"));
        stack.root->tableView()->tapFlatRow(0); // the folder A (name-sorted by default)
        QCOMPARE(stack.navigation->viewControllers().size(), 2);
        stack.navigation->popViewController(false);
        QCOMPARE(stack.source.requests, (QStringList{"/", "/A"}));
        QCOMPARE(stack.source.titles, (QStringList{"/", "/A"}));
    }

    // Delivered synchronously: no event loop turn was needed for the empty state.
    void emptyFolderEndsLoadingAtOnceWithItsMessage()
    {
        Stack stack({}, QStringLiteral("/"), false);
        auto *label = stack.root->feedbackLabel();
        QVERIFY(stack.root->loadingView() == nullptr);
        QVERIFY(stack.root->refreshControl() != nullptr);
        QVERIFY(label && !label->isHidden());
        QCOMPARE(label->text(), QStringLiteral("Folder is Empty"));
        QCOMPARE(label->origin().y(), 88 + (70 - label->size().height()) / 2 + 70);
        QTRY_VERIFY(!stack.root->selectButton()->isEnabled());
    }

    void searchMessagesFollowTheText()
    {
        Stack stack({makeItem("apple"), makeItem("pear")});
        stack.root->headerView()->setSearchText("zzz");
        QTRY_COMPARE(stack.root->itemManager()->numberOfRowsForSection(0), 0);
        stack.root->showFeedbackLabelIfNeeded();
        QCOMPARE(stack.root->feedbackLabel()->text(), QStringLiteral("No Results Found"));
        stack.root->headerView()->setSearchText("");
        QVERIFY(stack.root->feedbackLabel()->isHidden());
    }

    // The pushed level: the same class, sharing the root's state; editing there hides Back.
    void folderTapPushesTheSameClassWithSharedState()
    {
        Stack stack({makeItem("A", true)});
        stack.source.folders["/A"] = {makeItem("B", true)};
        stack.root->setSession(42);
        stack.root->tableView()->tapFlatRow(0);
        auto *sub = stack.top();
        QCOMPARE(sub->filePath(), QStringLiteral("/A"));
        waitUntilListed(sub);
        sub->selectButtonTapped();
        QVERIFY(sub->hidesBackButton());
        sub->selectButtonTapped();
        QVERIFY(!sub->hidesBackButton());
        sub->tableView()->tapFlatRow(0);
        auto *subSub = stack.top();
        QCOMPARE(subSub->filePath(), QStringLiteral("/A/B"));
        QCOMPARE(subSub->title(), QStringLiteral("B"));
        QCOMPARE(subSub->session().toInt(), 42);
        QCOMPARE(subSub->configuration(), stack.root->configuration());
        QCOMPARE(subSub->dataSource(), &stack.source);
        QCOMPARE(subSub->rootViewController(), stack.root);
        QCOMPARE(subSub->metaObject(), stack.root->metaObject());
    }

    void fileTapReportsOnlyThatItem()
    {
        Stack stack({makeItem("a.txt"), makeItem("b.txt")});
        stack.root->tableView()->tapFlatRow(1);
        QCOMPARE(stack.source.picked.size(), 1);
        QCOMPARE(stack.source.picked.first().first()->fileName, QStringLiteral("b.txt"));
        QVERIFY(!stack.root->tableView()->isRowSelected({0, 1}));
    }

    void appearingOutsideAStackIsAProgrammingError()
    {
        KPDocumentPickerViewController picker(QStringLiteral("/"));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, picker.beginAppearanceTransition(true, false));
    }

    void destructionCancelsTheRequest()
    {
        Stack stack({}, QStringLiteral("/X"), false);
        stack.navigation.reset();
        QCOMPARE(stack.source.cancels, QStringList{"/X"});
    }

    void selectAllUnderASearchCountsTheVisibleRows()
    {
        Stack stack(numbered("file", 8) << makeItem("match one") << makeItem("match two"));
        auto *root = stack.root;
        root->selectAllButtonTapped(); // outside editing: nothing
        QVERIFY(root->tableView()->indexPathsForSelectedRows().isEmpty());
        root->headerView()->setSearchText("match");
        QTRY_COMPARE(root->itemManager()->numberOfRowsForSection(0), 2);
        QTRY_COMPARE(root->tableView()->numberOfRows(0), 2);
        root->selectButtonTapped();
        QCOMPARE(root->leftBarButtonItems(), {root->selectAllButton()});
        QCOMPARE(root->rightBarButtonItems(), {root->cancelButton()});
        QVERIFY(!root->hidesBackButton()); // the root has no back button to hide
        // All, and none, each one change of the rows QML draws.
        auto *rows = root->tableView()->rows();
        QSignalSpy changes(rows, &QAbstractItemModel::dataChanged);
        root->selectAllButtonTapped();
        QCOMPARE(root->tableView()->indexPathsForSelectedRows().size(), 2);
        QCOMPARE(rows->data(rows->index(1), TableRowsModel::SelectedRole), QVariant(true));
        QCOMPARE(root->selectAllButton()->title(), QStringLiteral("Select None"));
        root->selectAllButtonTapped();
        QVERIFY(root->tableView()->indexPathsForSelectedRows().isEmpty());
        QCOMPARE(rows->data(rows->index(1), TableRowsModel::SelectedRole), QVariant(false));
        QCOMPARE(changes.size(), 2);
        QCOMPARE(root->selectAllButton()->title(), QStringLiteral("Select All"));
        root->selectButtonTapped();
        QVERIFY(root->leftBarButtonItems().isEmpty());
    }

    // The button names what a tap will do for the selection as it is now, however the selection
    // changed: row taps, Escape clearing a search, a reload.
    void selectAllSaysWhatItWillDoNow()
    {
        Stack stack({makeItem("match one"), makeItem("match two"), makeItem("other")});
        auto *root = stack.root;
        auto *table = root->tableView();
        auto *button = root->selectAllButton();
        root->headerView()->setSearchText("match");
        QTRY_COMPARE(table->numberOfRows(0), 2);
        root->selectButtonTapped();
        QCOMPARE(button->title(), QStringLiteral("Select All"));
        table->tapFlatRow(0);
        table->tapFlatRow(1);
        QCOMPARE(button->title(), QStringLiteral("Select None")); // both selected by taps
        table->tapFlatRow(1);
        QCOMPARE(button->title(), QStringLiteral("Select All"));
        root->selectAllButtonTapped();
        QCOMPARE(button->title(), QStringLiteral("Select None"));

        root->headerView()->setSearchText(QString()); // as Escape does
        QTRY_COMPARE(table->numberOfRows(0), 3);
        QVERIFY(table->indexPathsForSelectedRows().isEmpty());
        QCOMPARE(button->title(), QStringLiteral("Select All"));

        root->selectAllButtonTapped();
        QCOMPARE(button->title(), QStringLiteral("Select None"));
        const int reloads = table->reloadCount();
        root->setItems({makeItem("match one"), makeItem("match two"), makeItem("other")});
        QTRY_VERIFY(table->reloadCount() > reloads);
        QVERIFY(table->indexPathsForSelectedRows().isEmpty());
        QCOMPARE(button->title(), QStringLiteral("Select All"));
    }

    void footerTexts_data()
    {
        QTest::addColumn<int>("folders");
        QTest::addColumn<int>("files");
        QTest::addColumn<QString>("text");
        QTest::newRow("both") << 1 << 3 << "1 folder, 3 files";
        QTest::newRow("files only") << 0 << 2 << "2 files";
        QTest::newRow("folders only") << 2 << 0 << "2 folders";
        QTest::newRow("none") << 0 << 0 << "No files or folders found";
    }
    void footerTexts()
    {
        QFETCH(int, folders);
        QFETCH(int, files);
        QFETCH(QString, text);
        Stack stack(numbered("d", folders, true) + numbered("f", files));
        stack.root->toolBarLabel = BarButtonItem::label({}, 12, stack.root);
        QTRY_COMPARE(stack.root->items().size(), folders + files);
        stack.root->updateFooterLabel();
        QCOMPARE(stack.root->toolBarLabel->title(), text);
    }

    void footerBeforeTheFirstListingAndWhileEditing()
    {
        auto *picker = new KPDocumentPickerViewController(QStringLiteral("/"));
        NavigationController navigation(picker); // no data source: the wheel keeps turning
        navigation.beginAppearanceTransition(true, false);
        navigation.endAppearanceTransition();
        picker->toolBarLabel = BarButtonItem::label({}, 12, picker);
        picker->updateFooterLabel();
        QCOMPARE(picker->toolBarLabel->title(), QStringLiteral("Loading..."));
        picker->setEditing(true, false);
        picker->updateFooterLabel();
        QCOMPARE(picker->toolBarLabel->title(), QStringLiteral("0 items selected"));
    }

    void indexJumpsAndTheSearchSymbolScrollsToTheTop()
    {
        KPDocumentPickerItems items;
        for (char c = 'a'; c <= 'z'; ++c)
            items.append(makeItem(QString(QChar(c)) + "-name"));
        Stack stack(items, QStringLiteral("/"), false);
        stack.root->setSortingType(KPDocumentPickerSortTypeNameAscending);
        waitUntilListed(stack.root);
        QTRY_VERIFY(!stack.root->tableView()->sectionIndexTitles().isEmpty());
        QCOMPARE(stack.root->tableView()->contentOffsetY(), 88.0); // opens with the header hidden
        auto *table = stack.root->tableView();
        const QStringList titles = table->sectionIndexTitles();
        QCOMPARE(stack.root->sectionForSectionIndexTitle(table, "{search}", 0), -1);
        QCOMPARE(table->contentOffsetY(), 0.0);
        const int c = int(titles.indexOf("C"));
        QVERIFY(c > 0);
        QCOMPARE(stack.root->titleForHeader(table,
                                            stack.root->sectionForSectionIndexTitle(table, "C", c)),
                 QStringLiteral("C"));
    }

    void scrollingClipsTheHeaderAndDropsTheKeyboard()
    {
        Stack stack;
        stack.root->headerView()->setSearchFocused(true);
        stack.root->tableView()->userScrolled(30);
        QCOMPARE(stack.root->headerView()->clippingHeight(), 30.0);
        QVERIFY(!stack.root->headerView()->isSearchFocused());
    }

    void escapeUndoesOneThingAtATime()
    {
        Stack stack({makeItem("apple"), makeItem("pear")});
        auto *header = stack.root->headerView();
        auto *menu = stack.root->menuController();
        auto *cell = cellWithMenu(stack.root->tableView(), 0);
        stack.root->selectButtonTapped();
        stack.root->findRequested();
        QVERIFY(header->isSearchFocused());
        header->setSearchText("ap");
        cell->showMenu({0, 0, 100, 70});
        QVERIFY(menu->isMenuVisible());

        stack.root->escapePressed();
        QVERIFY(!menu->isMenuVisible());
        QCOMPARE(header->searchText(), QStringLiteral("ap"));
        stack.root->escapePressed();
        QVERIFY(header->searchText().isEmpty());
        QVERIFY(stack.root->isEditing());
        stack.root->escapePressed();
        QVERIFY(!stack.root->isEditing());
        QVERIFY(header->isSearchFocused());
        stack.root->escapePressed();
        QVERIFY(!header->isSearchFocused());
    }

    void keyboardSelectAllAndRelist()
    {
        Stack stack({makeItem("a"), makeItem("b")});
        auto *table = stack.root->tableView();
        const auto press = [&](int key, Qt::KeyboardModifiers modifiers = {}) {
            return stack.root->screenKeyPressed(key, int(modifiers), -1);
        };
        QVERIFY(press(Qt::Key_A, Qt::ControlModifier)); // not editing: nothing
        QVERIFY(table->indexPathsForSelectedRows().isEmpty());
        stack.root->selectButtonTapped();
        table->tapFlatRow(0);
        press(Qt::Key_A, Qt::ControlModifier); // some selected: all, never none
        QCOMPARE(table->indexPathsForSelectedRows().size(), 2);
        press(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(table->indexPathsForSelectedRows().size(), 2);
        QVERIFY(press(Qt::Key_F5));
        QVERIFY(press(Qt::Key_R, Qt::ControlModifier));
        QCOMPARE(stack.source.requests, (QStringList{"/", "/", "/"}));
        QVERIFY(!press(Qt::Key_R));
    }

    void rowKeysMoveTheKeyboardAndActOnItsRow()
    {
        Stack stack(numbered("file", 30));
        auto *root = stack.root;
        QSignalSpy moved(root, &KPDocumentPickerViewController::keyboardRowRequested);
        QSignalSpy menu(root, &KPDocumentPickerViewController::rowMenuRequested);
        const auto press = [&](int key, Qt::KeyboardModifiers modifiers, int row,
                               const QString &text = {}) {
            return root->rowKeyPressed(key, int(modifiers), text, row);
        };
        const auto movedTo = [&] { return moved.isEmpty() ? -2 : moved.takeLast().at(0).toInt(); };
        // Moves stay within the rows; a page is one row fewer than the view shows (700 / 70).
        const struct {
            int key, from, to;
        } moves[] = {{Qt::Key_Up, 0, 0},       {Qt::Key_Down, 29, 29}, {Qt::Key_Down, -1, 0},
                     {Qt::Key_PageDown, 0, 9}, {Qt::Key_PageUp, 5, 0}, {Qt::Key_End, -1, 29},
                     {Qt::Key_Home, 12, 0}};
        for (const auto &move : moves) {
            QVERIFY(press(move.key, {}, move.from));
            QCOMPARE(movedTo(), move.to);
        }
        // The row's actions need a row with the keyboard.
        QVERIFY(!press(Qt::Key_Return, {}, -1, "\r"));
        QVERIFY(!press(Qt::Key_Menu, {}, -1));
        QVERIFY(!press(Qt::Key_F10, {}, 3));
        QVERIFY(press(Qt::Key_F10, Qt::ShiftModifier, 3));
        QCOMPARE(menu.takeLast().at(0).toInt(), 3);
        QVERIFY(press(Qt::Key_Return, {}, 4, "\r"));
        QCOMPARE(stack.source.picked.size(), 1);
        // Letters find names, but not with Ctrl held.
        QVERIFY(!press(Qt::Key_F, Qt::ControlModifier, 0, "\x06"));
        QVERIFY(press(Qt::Key_F, {}, 0, "f"));
        QCOMPARE(movedTo(), 1);
        // No rows: the keys are still the list's, and nothing moves.
        Stack empty;
        QSignalSpy movedInEmpty(empty.root, &KPDocumentPickerViewController::keyboardRowRequested);
        QVERIFY(empty.root->rowKeyPressed(Qt::Key_Down, 0, {}, -1));
        QVERIFY(movedInEmpty.isEmpty());
    }

    void typedLettersFindTheNextName()
    {
        Stack stack({makeItem("Beta"), makeItem("alpha"), makeItem("bravo"), makeItem("Charlie")});
        QTRY_COMPARE(stack.root->tableView()->rows()->rowCount(), 4);
        // Name order: alpha, Beta, bravo, Charlie.
        QCOMPARE(stack.root->flatRowForTypedText("b", 0), 1);
        QCOMPARE(stack.root->flatRowForTypedText("r", 1), 2); // "br" refines the match
        QTest::qWait(1100); // a pause ends the word
        QCOMPARE(stack.root->flatRowForTypedText("b", 2), 1); // round to the start
        QTest::qWait(1100);
        QCOMPARE(stack.root->flatRowForTypedText("z", 0), -1);
    }

    void searchingKeepsTheFieldInViewAndTheKeyboard()
    {
        Stack stack(numbered("file", 30));
        auto *header = stack.root->headerView();
        QSignalSpy active(header, &KPDocumentPickerHeaderView::searchActiveChanged);
        stack.root->tableView()->userScrolled(900);
        stack.root->findRequested();
        QVERIFY(header->isSearchActive());
        header->setSearchText("file1");
        QCOMPARE(stack.root->tableView()->contentOffsetY(), 0.0); // matches start under the field
        QVERIFY(header->isSearchFocused());
        header->dismissKeyboard();
        QVERIFY(header->isSearchActive()); // the text still holds it in view
        header->setSearchText({});
        QVERIFY(!header->isSearchActive());
        QCOMPARE(active.size(), 2);
    }

    void searchSymbolScrollsEvenAfterTheViewMovedByItself()
    {
        Stack stack;
        auto *table = stack.root->tableView();
        table->userScrolled(0);
        table->viewScrolled(500); // an index jump moved the list
        QSignalSpy scrolled(table, &TableView::contentOffsetChanged);
        stack.root->sectionForSectionIndexTitle(table, "{search}", 0);
        QCOMPARE(scrolled.size(), 1);
        QCOMPARE(table->contentOffsetY(), 0.0);
    }

    void menuHighlightLastsOnlyWhileItsMenuShows()
    {
        Stack stack(numbered("f", 3));
        auto *table = stack.root->tableView();
        auto *menu = stack.root->menuController();
        auto *first = cellWithMenu(table, 0);
        auto *second = cellWithMenu(table, 1);
        first->showMenu({});
        QVERIFY(first->hasFocus());
        second->showMenu({});
        QVERIFY(!first->hasFocus());
        QVERIFY(second->hasFocus());
        menu->hideMenu();
        QVERIFY(!second->hasFocus());
        // A cell reused for another row while its menu shows takes the menu down.
        first->showMenu({});
        table->releaseCell(first);
        QCOMPARE(table->cellForFlatRow(2), first);
        QVERIFY(!menu->isMenuVisible());
        QVERIFY(!first->hasFocus());
    }
};

QTEST_MAIN(TestPickerViewController)
#include "tst_pickerviewcontroller.moc"
