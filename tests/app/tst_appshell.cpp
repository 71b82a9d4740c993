// The whole shell on the offscreen platform: real folders, the real QML, the listing screen's
// controllers read directly and its drawn items found by name.
#include "../archive/ArchiveFixtures.h"
#include "LocalFolderSelectorViewController.h"
#include "MenuController.h"
#include "NewFolderDialog.h"
#include "ShellFixtures.h"

#include <QKeySequence>
#include <QQuickItem>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTranslator>
#include <QWheelEvent>
#include <functional>

namespace {

using namespace ShellFixtures;

QQuickItem *shownList(QQuickWindow *window)
{
    return visibleItemNamed(window, QStringLiteral("rows"));
}

// The item's rectangle in window coordinates.
QRectF inWindow(QQuickItem *item)
{
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

// The list's drawn row at the window height y, or showing the name.
QQuickItem *drawnRow(QQuickItem *list, const std::function<bool(QQuickItem *)> &wanted)
{
    auto *content = list->property("contentItem").value<QQuickItem *>();
    for (QQuickItem *child : content->childItems()) {
        if (child->isVisible() && child->property("cell").isValid() && wanted(child))
            return child;
    }
    return nullptr;
}

// Every item of that object name under `item` (itself included), shown or not.
QList<QQuickItem *> itemsNamed(QQuickItem *item, const QString &name)
{
    QList<QQuickItem *> named;
    if (item->objectName() == name)
        named.append(item);
    for (QQuickItem *child : item->childItems())
        named += itemsNamed(child, name);
    return named;
}

QQuickItem *rowAt(QQuickItem *list, double y)
{
    return drawnRow(list, [y](QQuickItem *row) {
        const QRectF frame = inWindow(row);
        return frame.top() <= y && y < frame.bottom();
    });
}

QQuickItem *rowNamed(QQuickItem *list, const QString &name)
{
    return drawnRow(list, [&name](QQuickItem *row) { return row->property("text") == name; });
}

// Items a pointer can act on: controls, mouse areas, pointer handlers' items and anything with
// a pressing action (texts take the mouse only for links, and none shows one).
bool isClickable(QQuickItem *item)
{
    if (item->acceptedMouseButtons() != Qt::NoButton && !item->inherits("QQuickText"))
        return true;
    auto *accessible = QAccessible::queryAccessibleInterface(item);
    return accessible && accessible->actionInterface() &&
           !accessible->actionInterface()->actionNames().isEmpty();
}

// Whether QML set `Accessible.ignored` on the item (a layer that only swallows touches).
bool isIgnoredByAssistiveTools(const QQuickItem *item)
{
    for (const QObject *child : item->children()) {
        if (child->inherits("QQuickAccessibleAttached"))
            return child->property("ignored").toBool();
    }
    return false;
}

void collectUnnamed(QQuickItem *item, QStringList *unnamed)
{
    if (!item->isVisible() || item->opacity() == 0 || isIgnoredByAssistiveTools(item))
        return;
    if (isClickable(item)) {
        auto *accessible = QAccessible::queryAccessibleInterface(item);
        const bool named = accessible && accessible->role() != QAccessible::NoRole &&
                           accessible->role() != QAccessible::Client &&
                           !accessible->text(QAccessible::Name).isEmpty();
        if (!named)
            unnamed->append(QString::fromLatin1(item->metaObject()->className()) + u'/' +
                            item->objectName());
    }
    for (QQuickItem *child : item->childItems())
        collectUnnamed(child, unnamed);
}

QString firstRowName(KPDocumentPickerViewController *screen)
{
    const IndexPath first = screen->tableView()->rows()->indexPathAt(0);
    const auto item = screen->itemManager()->itemForIndexPath(first.section, first.row);
    return item ? item->fileName : QString();
}

// The shown texts cut short with "…", once the window's items are laid out and drawn.
QStringList cutTexts(QQuickItem *item);
QString cutTexts(QQuickWindow *window)
{
    window->grabWindow();
    return cutTexts(window->contentItem()).join(u'|');
}

QStringList cutTexts(QQuickItem *item)
{
    QStringList cut;
    if (!item->isVisible() || item->opacity() == 0)
        return cut;
    if (item->inherits("QQuickText") && item->property("truncated").toBool())
        cut.append(item->property("text").toString());
    for (QQuickItem *child : item->childItems())
        cut += cutTexts(child);
    return cut;
}

} // namespace

class TestAppShell : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;

    // A zip of many small entries, so that unpacking it lasts long enough to be watched.
    void makeLongUnpacking(const QString &name, int entries = 40000)
    {
        const QString script("import zipfile\n"
                             "with zipfile.ZipFile('%1', 'w') as z:\n"
                             "    for i in range(%2):\n"
                             "        z.writestr('f%d.txt' % i, 'x' * 512)\n");
        QDir().mkpath(home());
        QCOMPARE(ArchiveFixtures::python(home(), script.arg(name).arg(entries)), 0);
    }

    // Lock.zip, protected by the password "k3y", holding Lock/secret.txt.
    void makeLockedZip()
    {
        makeFile(home() + "/Lock/secret.txt", "hidden");
        QCOMPARE(ArchiveFixtures::run(home(), "zip", {"-qrm", "-P", "k3y", "Lock.zip", "Lock"}), 0);
    }

private slots:
    void initTestCase() { useTestRoot(m_root); }
    void init() { QDir(home()).removeRecursively(); }

    void launchMakesTheFoldersAndTitlesTheHomeFolder()
    {
        for (const QString &made :
             {AppDirectories::documentsDirectory(), AppDirectories::cachesDirectory()})
            QVERIFY(QDir(made).removeRecursively());
        QVERIFY(!QFileInfo::exists(home()));
        auto app = launch();
        QVERIFY(QFileInfo(home()).isDir());
        QFile tag(Utils::cachePath() + "/CACHEDIR.TAG"); // backup tools skip the cache
        QVERIFY(tag.open(QIODevice::ReadOnly));
        QVERIFY(tag.readAll().startsWith("Signature: 8a477f597d28d172789f06886806bc55"));
        QVERIFY(app->window());
        auto *root = app->viewController();
        waitUntilListed(root);
        QCOMPARE(root->title(), QStringLiteral("Documents"));
        QCOMPARE(root->sortingType(), KPDocumentPickerSortTypeDateDescending);
        QCOMPARE(root->headerView()->sortControl()->selectedSegmentIndex(), 2);
        QTRY_COMPARE(root->toolBarLabel->title(), QStringLiteral("No files or folders found"));
        // The empty home folder: its line drawn in the second row slot below the header.
        QTRY_VERIFY(visibleItemNamed(app->window(), "feedbackLabel"));
        QCOMPARE(root->feedbackLabel()->text(), QStringLiteral("Folder is Empty"));
    }

    void theListAndTheToolbarAreDrawnAsTheirControllersSay()
    {
        for (int i = 0; i < 3; ++i)
            makeFile(home() + QStringLiteral("/file%1.txt").arg(i));
        QDir(home()).mkpath("Folder");
        auto app = launchListed();
        auto *root = app->viewController();
        auto *rows = qobject_cast<QQuickItem *>(visibleItemNamed(app->window(), "rows"));
        QVERIFY(rows);
        QTRY_COMPARE(rows->property("count").toInt(), 4);
        // Opens with the header scrolled out of sight.
        QTRY_COMPARE(rows->property("contentY").toDouble() - rows->property("originY").toDouble(),
                     88.0);
        QQuickItem *contentItem = rows->property("contentItem").value<QQuickItem *>();
        int drawnRows = 0;
        for (QQuickItem *child : contentItem->childItems()) {
            if (child->property("cell").isValid()) {
                QCOMPARE(child->height(), 70.0);
                ++drawnRows;
            }
        }
        QCOMPARE(drawnRows, 4);
        auto *toolbar = visibleItemNamed(app->window(), "toolbar");
        auto *status = visibleItemNamed(app->window(), "toolbarStatus");
        QVERIFY(toolbar && status);
        QCOMPARE(root->toolbarItems().size(), 10);
        QCOMPARE(toolbar->property("items").toList().size(), 10);
        QCOMPARE(root->toolBarLabel->title(), QStringLiteral("1 folder, 3 files"));

        // The toolbar is opaque and keeps its places whatever its status says.
        QCOMPARE(toolbar->property("color").value<QColor>().alpha(), 255);
        QCOMPARE(app->window()->minimumSize(), QSize(320, 480));
        QCOMPARE(inWindow(status).center().x(), app->window()->width() / 2.0);
        const QList<QQuickItem *> buttons = itemsNamed(toolbar, "barButton");
        QCOMPARE(buttons.size(), 5); // Paste too: the window is wide enough
        QList<QRectF> places;
        for (auto *button : buttons)
            places.append(inWindow(button));
        root->toolBarLabel->setTitle(QStringLiteral("a much longer status text than before"));
        root->toolBarLabel->setTitle(QStringLiteral("1"));
        QCoreApplication::processEvents();
        for (qsizetype i = 0; i < buttons.size(); ++i)
            QCOMPARE(inWindow(buttons.at(i)), places.at(i));
        QCOMPARE(inWindow(status).center().x(), app->window()->width() / 2.0);
    }

    void cellsAreFinishedByKind()
    {
        QDir(home()).mkpath("Pics");
        makeFile(home() + "/photo.jpg", QByteArray("\xFF\xD8\xFF", 3));
        makeFile(home() + "/image.png");
        auto app = launchListed();
        auto *root = app->viewController();
        QTRY_COMPARE(root->tableView()->numberOfRows(0), 3);
        QHash<QString, KPDocumentPickerTableViewCell *> cells;
        for (int row = 0; row < 3; ++row) {
            auto *cell = qobject_cast<KPDocumentPickerTableViewCell *>(
                root->cellForRow(root->tableView(), {0, row}));
            cells.insert(cell->text(), cell);
        }
        QCOMPARE(cells["Pics"]->accessory(), TableViewCell::Accessory::DisclosureIndicator);
        QCOMPARE(cells["photo.jpg"]->accessory(), TableViewCell::Accessory::DetailButton);
        QVERIFY(!cells["photo.jpg"]->imageView()->requestedImageKey().isEmpty());
        QVERIFY(cells["image.png"]->imageView()->requestedImageKey().isEmpty());
        QCOMPARE(cells["image.png"]->imageView()->image().deviceIndependentSize(), QSizeF(37, 37));
    }

    void deleteSheetDrawsItsButtonsInOrder()
    {
        makeFile(home() + "/a.txt");
        auto app = launchListed();
        auto *root = app->viewController();
        root->selectButtonTapped();
        root->tableView()->tapFlatRow(0);
        root->deleteButtonTapped();
        QQuickItem *box = nullptr;
        QTRY_VERIFY((box = visibleItemNamed(app->window(), "alertBox")));
        QStringList drawn;
        for (QQuickItem *button : itemsNamed(app->window()->contentItem(), "alertButton"))
            if (button->isVisible())
                drawn.append(button->property("text").toString());
        QCOMPARE(drawn, (QStringList{"Move to Trash", "Cancel"}));
        // An action sheet stands at the bottom of the window.
        QVERIFY(inWindow(box).bottom() > app->window()->height() - 40);
        QTest::keyClick(app->window(), Qt::Key_Escape);
        QTRY_VERIFY(!visibleItemNamed(app->window(), "alertBox"));
        QVERIFY(QFileInfo::exists(home() + "/a.txt"));
    }

    void folderSelectorIsASheetDismissedByItsCancelButton()
    {
        makeFile(home() + "/a.txt");
        QDir().mkpath(home() + "/Target");
        auto app = launchListed();
        auto *root = app->viewController();
        app->window()->resize(1000, 800);
        root->selectButtonTapped();
        for (int row = 0; row < 2; ++row)
            root->tableView()->tapFlatRow(row);
        root->moveBarButtonTaped();
        QQuickItem *sheet = nullptr;
        QTRY_VERIFY((sheet = visibleItemNamed(app->window(), "presentedScreen")));
        QTRY_COMPARE(sheet->width(), 540.0); // a centred panel on a wide window
        QVERIFY(qAbs(inWindow(sheet).center().x() - app->window()->width() / 2.0) < 1);
        // The selector takes the keys the listing takes: typed letters find a row, Enter opens it.
        auto *selectorStack =
            qobject_cast<NavigationController *>(app->navigationController()->presentedViewController());
        QVERIFY(selectorStack);
        auto *selector = qobject_cast<KPDocumentPickerViewController *>(selectorStack->topViewController());
        QTRY_VERIFY(selector->tableView()->rows()->rowCount() > 0);
        QTRY_COMPARE(selector->tableView()->rows()->rowCount(), int(selector->items().size()));
        // One folder in a tall sheet: no sections and no index strip, as the listing's rule
        // says, also after a folder is made there; below the rows the sheet is opaque.
        QTRY_VERIFY(selector->tableView()->sectionIndexTitles().isEmpty());
        QVERIFY(!visibleItemNamed(sheet, "sectionIndex"));
        const QRectF panel = inWindow(sheet);
        const QPoint belowRows = QPoint(int(panel.center().x()), int(panel.bottom()) - 80);
        QCOMPARE(app->window()->grabWindow().pixelColor(belowRows), QColor(Qt::white));
        NewFolderDialog::create(selector, home(), QStringLiteral("Made"));
        selector->reloadItemsFromDataSource();
        QTRY_COMPARE(selector->tableView()->rows()->rowCount(), 2);
        QVERIFY(selector->tableView()->sectionIndexTitles().isEmpty());
        for (char c : QByteArray("Targ"))
            QTest::keyClick(app->window(), c);
        QDir(home() + "/Made").removeRecursively();
        QTest::keyClick(app->window(), Qt::Key_Return);
        QTRY_COMPARE(selectorStack->viewControllers().size(), 2);
        QCOMPARE(selectorStack->topViewController()->title(), QStringLiteral("Target"));
        const auto buttons = itemsNamed(sheet, "barButton");
        const auto cancel = std::find_if(buttons.begin(), buttons.end(), [](QQuickItem *button) {
            return button->isVisible() && button->property("text") == "Cancel";
        });
        QVERIFY(cancel != buttons.end());
        QTest::mouseClick(app->window(), Qt::LeftButton, {},
                          inWindow(*cancel).center().toPoint());
        QTRY_VERIFY(!visibleItemNamed(app->window(), "presentedScreen"));
        QVERIFY(!app->navigationController()->presentedViewController());
        QVERIFY(root->isEditing()); // nothing moved, the selection stands
        QVERIFY(QFileInfo::exists(home() + "/a.txt"));
        app->window()->resize(400, 700);
        root->moveBarButtonTaped();
        QTRY_VERIFY((sheet = visibleItemNamed(app->window(), "presentedScreen")));
        QTRY_COMPARE(sheet->width(), qreal(app->window()->width())); // the whole narrow window
    }

    void headerFitsBesideTheIndexStrip()
    {
        for (char c = 'a'; c <= 'z'; ++c)
            makeFile(home() + u'/' + QChar(c) + QStringLiteral(" file"));
        auto app = launchListed();
        auto *root = app->viewController();
        root->headerView()->sortControl()->tapSegment(KPDocumentPickerSegmentedControl::NameSegment);
        QTRY_VERIFY(visibleItemNamed(app->window(), "sectionIndex"));
        root->tableView()->setContentOffsetY(0);
        auto *list = shownList(app->window());
        auto *sort = visibleItemNamed(app->window(), "sortControl");
        auto *search = visibleItemNamed(app->window(), "searchField");
        QVERIFY(sort && search);
        const QRectF strip = inWindow(visibleItemNamed(app->window(), "sectionIndex"));
        QTRY_COMPARE(inWindow(sort).right(), inWindow(list).right() - 8);
        QVERIFY(inWindow(sort).right() < strip.left());
        QCOMPARE(search->width(), sort->width());
        QCOMPARE(root->headerView()->width(), list->width());
    }

    void searchFieldStaysInViewWhileSearching()
    {
        for (int i = 0; i < 60; ++i)
            makeFile(home() + QStringLiteral("/file%1.txt").arg(i));
        auto app = launchListed();
        auto *root = app->viewController();
        auto *list = shownList(app->window());
        QTRY_COMPARE(list->property("count").toInt(), 60);
        root->tableView()->setContentOffsetY(2000);
        QTRY_VERIFY(list->property("contentY").toDouble() - list->property("originY").toDouble() > 1000);
        // Typed at once after a turn of the wheel, while the list still moves: every key stays
        // in the field.
        const QPointF at(200, 400);
        QWheelEvent wheel(at, app->window()->mapToGlobal(at), QPoint(), QPoint(0, -1200),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(app->window(), &wheel);
        QTest::keyClick(app->window(), Qt::Key_F, Qt::ControlModifier);
        auto *search = visibleItemNamed(app->window(), "searchField");
        QVERIFY(search);
        QTRY_VERIFY(search->hasActiveFocus());
        QVERIFY(inWindow(list).contains(inWindow(search)));
        for (char c : QByteArray("file5")) {
            QTest::keyClick(app->window(), c);
            QTest::qWait(30);
        }
        QCOMPARE(root->headerView()->searchText(), QStringLiteral("file5"));
        QTRY_COMPARE(list->property("count").toInt(), 11);
        QVERIFY(search->hasActiveFocus());
        QVERIFY(inWindow(list).contains(inWindow(search)));
        // The matches start right under the header.
        QQuickItem *first = nullptr;
        QTRY_VERIFY((first = rowAt(list, inWindow(search->parentItem()).bottom() + 35)));
        QVERIFY(first->property("text").toString().startsWith(QStringLiteral("file5")));
    }

    void keysAndFocusOnEveryScreenOfTheStack()
    {
        QDir(home()).mkpath("A/B");
        makeFile(home() + "/A/B/inside.txt");
        auto app = launchListed(QStringLiteral("/A/B"));
        // Each level of the opened path is a screen of its own.
        QCOMPARE(app->navigationController()->viewControllers().size(), 3);
        auto *top = topScreen(*app);
        QCOMPARE(top->filePath(), QStringLiteral("/A/B"));
        QCOMPARE(top->title(), QStringLiteral("B"));
        auto *list = shownList(app->window());
        QTRY_VERIFY(list->hasActiveFocus());
        QTest::keyClick(app->window(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(top->headerView()->isSearchFocused());
        QTest::keyClick(app->window(), Qt::Key_Escape);
        QVERIFY(!top->headerView()->isSearchFocused());
        QVERIFY(list->hasActiveFocus());
        top->selectButtonTapped();
        QTest::keyClick(app->window(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(top->tableView()->indexPathsForSelectedRows().size(), 1);
        QTest::keyClick(app->window(), Qt::Key_Escape);
        QVERIFY(!top->isEditing());
        // The mouse's back button goes back; the screen below has the keyboard.
        QDir(home()).mkpath("A/C"); // made meanwhile: shown when the screen below appears again
        auto *middle = qobject_cast<LocalStorageViewController *>(
            app->navigationController()->viewControllers().at(1));
        QSignalSpy relisted(middle, &KPDocumentPickerViewController::listingShown);
        QTest::mouseClick(app->window(), Qt::BackButton, {}, QPoint(100, 200));
        QCOMPARE(app->navigationController()->viewControllers().size(), 2);
        auto *middleList = shownList(app->window());
        QVERIFY(middleList != list);
        QTRY_VERIFY(middleList->hasActiveFocus());
        // Listed again on its return; keys before that would meet the old rows.
        QTRY_VERIFY(!relisted.isEmpty() && !middle->hasListingInFlight());
        QCOMPARE(middleList->property("count").toInt(), 2);
        // A folder opened from the keyboard (C, the newest): the new screen's list has it.
        QTest::keyClick(app->window(), Qt::Key_Home);
        QTest::keyClick(app->window(), Qt::Key_Return);
        QCOMPARE(app->navigationController()->viewControllers().size(), 3);
        QCOMPARE(topScreen(*app)->filePath(), QStringLiteral("/A/C"));
        QTRY_VERIFY(shownList(app->window()) && shownList(app->window())->hasActiveFocus());
    }

    // Keys typed as a user would, each a QKeySequence's text ("Shift+F10", "Return", "b").
    void typeKeys(QWindow *window, const QStringList &keys)
    {
        for (const QString &key : keys) {
            const QKeyCombination stroke = QKeySequence::fromString(key)[0];
            QTest::keyClick(window, stroke.key(), stroke.keyboardModifiers());
        }
    }

    void theKeyboardComesBackAfterEveryDialogMenuAndSelector_data()
    {
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QStringList>("opening");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("closing");
        const auto keys = [](const char *text) { return QString::fromLatin1(text).split(u' '); };
        // The rows, by name: b.txt, c.txt, Lock.zip; typing "b" puts the keyboard on b.txt.
        QTest::newRow("rename, cancelled") << false << keys("b F2") << "Rename" << "Escape";
        QTest::newRow("rename, done") << false << keys("b F2") << "Rename" << "Return";
        QTest::newRow("menu key") << false << keys("b Menu") << "menu" << "Escape";
        QTest::newRow("shift+F10") << false << keys("b Shift+F10") << "menu" << "Escape";
        QTest::newRow("menu entry") << false << keys("b Menu Right Return") << "Rename" << "Escape";
        QTest::newRow("selector from the menu")
            << false << keys("b Menu Right Right Return") << "Select Save Folder" << "Escape";
        QTest::newRow("delete in edit mode") << true << keys("b Return Del") << "" << "Escape";
        QTest::newRow("delete for good") << true << keys("b Return Shift+Del") << "" << "Escape";
        QTest::newRow("password") << false << keys("l Return") << "Password Protected" << "Escape";
    }

    void theKeyboardComesBackAfterEveryDialogMenuAndSelector()
    {
        QFETCH(bool, editing);
        QFETCH(QStringList, opening);
        QFETCH(QString, shown);
        QFETCH(QString, closing);
        makeFile(home() + "/b.txt");
        makeFile(home() + "/c.txt");
        makeLockedZip();
        auto app = launchListed();
        auto *root = app->viewController();
        root->headerView()->sortControl()->tapSegment(KPDocumentPickerSegmentedControl::NameSegment);
        QTRY_COMPARE(root->tableView()->rows()->rowCount(), 3);
        QTRY_COMPARE(firstRowName(root), QStringLiteral("b.txt"));
        auto *list = shownList(app->window());
        QTRY_VERIFY(list->hasActiveFocus());
        if (editing)
            root->selectButtonTapped();
        typeKeys(app->window(), opening);
        const auto presented = [&] { return app->navigationController()->presentedViewController(); };
        const auto shownTitle = [&]() -> QString {
            if (root->menuController()->isMenuVisible())
                return QStringLiteral("menu");
            auto *stack = qobject_cast<NavigationController *>(presented());
            return stack ? stack->topViewController()->title() : presented() ? presented()->title() : "-";
        };
        QTRY_COMPARE(shownTitle(), shown);
        if (editing) // Delete asks about the selected rows
            QCOMPARE(qobject_cast<AlertController *>(presented())->actions().first()->title(),
                     QByteArray(QTest::currentDataTag()) == "delete for good"
                         ? QStringLiteral("Delete from local folder")
                         : QStringLiteral("Move to Trash"));
        typeKeys(app->window(), {closing});
        QTRY_VERIFY(!presented() && !root->menuController()->isMenuVisible());
        QTRY_VERIFY(list->hasActiveFocus());
        QVERIFY(!CompressQueue::shared()->isBusy());
        // On the row it was on (F2 renames it), and the arrows move from there.
        QTest::keyClick(app->window(), Qt::Key_F2);
        QTRY_VERIFY(qobject_cast<AlertController *>(presented()));
        QCOMPARE(qobject_cast<AlertController *>(presented())->textFields().first()->text(),
                 opening.first() == "b" ? QStringLiteral("b.txt") : QStringLiteral("Lock.zip"));
        QTest::keyClick(app->window(), Qt::Key_Escape);
        QTRY_VERIFY(list->hasActiveFocus());
        QTest::keyClick(app->window(), Qt::Key_Home);
        QTest::keyClick(app->window(), Qt::Key_Down);
        QCOMPARE(list->property("focusedRow").toInt(), 1);
        // The other keys of the list work too.
        QSignalSpy relisted(root, &KPDocumentPickerViewController::listingShown);
        QTest::keyClick(app->window(), Qt::Key_F5);
        QTRY_VERIFY(!relisted.isEmpty());
        QTest::keyClick(app->window(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(root->headerView()->isSearchFocused());
    }

    void everyDialogsFieldHasTheKeyboard_data()
    {
        QTest::addColumn<QString>("dialog");
        for (const char *dialog : {"new folder", "rename", "compress", "password", "selector's new folder"})
            QTest::newRow(dialog) << QString::fromLatin1(dialog);
    }

    void everyDialogsFieldHasTheKeyboard()
    {
        QFETCH(QString, dialog);
        makeLockedZip();
        auto app = launchListed();
        auto *root = app->viewController();
        QTRY_COMPARE(root->tableView()->rows()->rowCount(), 1);
        QTRY_VERIFY(shownList(app->window())->hasActiveFocus());
        auto *stack = app->navigationController();
        if (dialog == "new folder") {
            root->createFolderButtonTapped();
        } else if (dialog == "rename") {
            QTest::keyClick(app->window(), Qt::Key_Down);
            QTest::keyClick(app->window(), Qt::Key_F2);
        } else if (dialog == "compress") {
            root->selectButtonTapped();
            root->tableView()->tapFlatRow(0);
            root->compressButtonTapped();
        } else if (dialog == "password") {
            root->openFileNamed("Lock.zip");
        } else {
            root->selectButtonTapped();
            root->tableView()->tapFlatRow(0);
            root->moveBarButtonTaped();
            QTRY_VERIFY(qobject_cast<NavigationController *>(stack->presentedViewController()));
            auto *selector = qobject_cast<LocalFolderSelectorViewController *>(
                qobject_cast<NavigationController *>(stack->presentedViewController())->topViewController());
            QTRY_VERIFY(selector->isVisible());
            selector->createFolderButtonTapped();
            stack = qobject_cast<NavigationController *>(stack->presentedViewController());
        }
        AlertController *alert = nullptr;
        QTRY_VERIFY((alert = qobject_cast<AlertController *>(stack->presentedViewController())));
        QTRY_VERIFY(visibleItemNamed(app->window(), "alertBox"));
        QTest::keyClick(app->window(), Qt::Key_X);
        QTRY_VERIFY(alert->textFields().first()->text().endsWith(u'x'));
    }

    void enterOpensTheRowTheKeysReached_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("opened");
        QTest::newRow("typed letters") << QStringList{"f", "i", "l", "e", "5", "7"} << "file57.txt";
        QTest::newRow("end") << QStringList{"End"} << "file59.txt";
        QTest::newRow("down from the top") << QStringList{"Home", "Down"} << "file01.txt";
    }

    void enterOpensTheRowTheKeysReached()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, opened);
        for (int i = 0; i < 60; ++i)
            makeFile(home() + QStringLiteral("/file%1.txt").arg(i, 2, 10, QLatin1Char('0')));
        auto app = launchListed();
        auto *root = app->viewController();
        root->headerView()->sortControl()->tapSegment(KPDocumentPickerSegmentedControl::NameSegment);
        QTRY_COMPARE(firstRowName(root), QStringLiteral("file00.txt"));
        QTRY_VERIFY(shownList(app->window())->hasActiveFocus());
        typeKeys(app->window(), keys + QStringList{"Return"});
        QTRY_COMPARE(app->navigationController()->viewControllers().size(), 2);
        QCOMPARE(app->navigationController()->topViewController()->title(), opened);
    }

    void rowMenuOpensAtThePointerAndEscapeClosesIt()
    {
        makeFile(home() + "/m.txt");
        auto app = launchListed();
        auto *root = app->viewController();
        auto *list = shownList(app->window());
        QTRY_VERIFY(list->property("count").toInt() > 0);
        QTRY_COMPARE(list->property("contentY").toDouble() - list->property("originY").toDouble(),
                     88.0);
        auto *row = rowNamed(list, QStringLiteral("m.txt"));
        QVERIFY(row);
        const QPoint pointer = inWindow(row).topLeft().toPoint() + QPoint(20, 30);
        QTest::mouseClick(app->window(), Qt::RightButton, {}, pointer);
        auto *menu = root->menuController();
        QTRY_VERIFY(menu->isMenuVisible());
        QVERIFY(!root->textNotice()->isVisible()); // the row itself was not tapped
        auto *cell = qobject_cast<KPDocumentPickerTableViewCell *>(
            row->property("cell").value<QObject *>());
        QVERIFY(cell->hasFocus());
        auto *strip = visibleItemNamed(app->window(), "itemMenu");
        QVERIFY(strip);
        QTRY_COMPARE(inWindow(strip).topLeft().toPoint(), pointer);
        QTest::keyClick(app->window(), Qt::Key_Escape);
        QTRY_VERIFY(!menu->isMenuVisible());
        QVERIFY(!cell->hasFocus());
        // A click outside closes it too.
        QTest::mouseClick(app->window(), Qt::RightButton, {}, pointer);
        QTRY_VERIFY(menu->isMenuVisible());
        // (on the bar's title, where a click does nothing else)
        QTest::mouseClick(app->window(), Qt::LeftButton, {}, QPoint(app->window()->width() / 2, 5));
        QTRY_VERIFY(!menu->isMenuVisible());

        // A drag sideways across the row is no tap; a click that stays put is.
        const QPoint start = inWindow(row).center().toPoint() - QPoint(120, 0);
        QTest::mousePress(app->window(), Qt::LeftButton, {}, start);
        for (int step = 1; step <= 10; ++step)
            QTest::mouseMove(app->window(), start + QPoint(step * 24, 0));
        QTest::mouseRelease(app->window(), Qt::LeftButton, {}, start + QPoint(240, 0));
        QTest::qWait(50);
        QCOMPARE(app->navigationController()->viewControllers().size(), 1);
        QTest::mouseClick(app->window(), Qt::LeftButton, {}, start + QPoint(3, 0));
        QTRY_COMPARE(app->navigationController()->viewControllers().size(), 2);
    }

    void everyClickableItemIsNamedForAssistiveTools()
    {
        QAccessible::setActive(true);
        QDir(home()).mkpath("Folder");
        makeFile(home() + "/photo.jpg", QByteArray("\xFF\xD8\xFF", 3));
        auto app = launchListed();
        auto *root = app->viewController();
        root->headerView()->sortControl()->tapSegment(KPDocumentPickerSegmentedControl::NameSegment);
        root->tableView()->setContentOffsetY(0);
        root->selectButtonTapped();
        QTRY_VERIFY(shownList(app->window())->property("count").toInt() > 0);
        QStringList unnamed;
        collectUnnamed(app->window()->contentItem(), &unnamed);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u' ')));
        QAccessible::setActive(false);
    }

    void unpackingShowsItsProgressAndCancelStopsIt()
    {
        QAccessible::setActive(true);
        makeLongUnpacking("Big.zip");
        auto app = launchListed();
        auto *window = app->window();
        app->viewController()->openFileNamed("Big.zip");
        // Listing 40,000 entries first takes a while on a loaded machine.
        QTRY_VERIFY_WITH_TIMEOUT(ProgressOverlay::shared()->progress() > 0, 30000);
        // The screens below take no keys meanwhile.
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(!topScreen(*app)->headerView()->isSearchFocused());
        auto *bar = accessibleItem(window->contentItem(), QAccessible::ProgressBar, "Progress");
        QVERIFY(bar);
        QVERIFY(accessibleItem(window->contentItem(), QAccessible::StaticText,
                               QStringLiteral("Unpacking “Big.zip”…")));
        QStringList unnamed;
        collectUnnamed(window->contentItem(), &unnamed);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u' ')));
        auto *cancel = accessibleItem(window->contentItem(), QAccessible::Button, "Cancel");
        QVERIFY(cancel);
        // Pressed as an assistive tool presses it.
        QAccessible::queryAccessibleInterface(cancel)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QTRY_VERIFY_WITH_TIMEOUT(!CompressQueue::shared()->isBusy(), 60000);
        QVERIFY(!ProgressOverlay::shared()->isVisible());
        QVERIFY(!QFileInfo::exists(home() + "/Big"));
        QTRY_VERIFY(!accessibleItem(window->contentItem(), QAccessible::Button, "Cancel"));
        QTRY_VERIFY(shownList(window)->hasActiveFocus()); // the keyboard is back
        QAccessible::setActive(false);
    }

    void aPasswordAskedDuringAnotherJobIsTypedOnceItEndsAndAgainWhenWrong()
    {
        makeLongUnpacking("Big.zip", 5000);
        makeLockedZip();
        auto app = launchListed();
        // A notice drawn over the dim, clear of the dialog: its box is dark where it stands.
        const auto noticeSeenOverDialog = [&app] {
            auto *notice = visibleItemNamed(app->window(), "textNotice");
            auto *box = visibleItemNamed(app->window(), "alertBox");
            if (!notice || !box || notice->opacity() < 1 || inWindow(notice).intersects(inWindow(box)))
                return false;
            const QRectF at = inWindow(notice);
            return app->window()
                       ->grabWindow()
                       .pixelColor(QPoint(int(at.left()) + 10, int(at.center().y())))
                       .lightness() < 60;
        };
        app->viewController()->openFileNamed("Big.zip");
        QTRY_VERIFY(ProgressOverlay::shared()->progress() > 0);
        app->viewController()->openFileNamed("Lock.zip");
        QTRY_VERIFY(app->navigationController()->presentedViewController());
        QVERIFY(CompressQueue::shared()->isBusy()); // the dialog waits under the overlay
        QTRY_VERIFY_WITH_TIMEOUT(!CompressQueue::shared()->isBusy(), 60000);
        // Typed once the overlay is gone; a wrong password asks again, and that dialog has the
        // keyboard too.
        for (const char *typed : {"bad", "k3y"}) {
            QTRY_VERIFY(visibleItemNamed(app->window(), "alertBox"));
            for (const char *c = typed; *c; ++c)
                QTest::keyClick(app->window(), *c);
            QTest::keyClick(app->window(), Qt::Key_Return);
            QTRY_VERIFY_WITH_TIMEOUT(!CompressQueue::shared()->isBusy(), 30000);
            if (QByteArray(typed) == "bad") {
                // Said where it can be read as the dialog comes back.
                QCOMPARE(app->navigationController()->topViewController()->textNotice()->text(),
                         QStringLiteral("incorrect password"));
                QTRY_VERIFY(noticeSeenOverDialog());
            }
        }
        QTRY_VERIFY(QFileInfo(home() + "/Lock/Lock/secret.txt").isFile());
        QVERIFY(!visibleItemNamed(app->window(), "alertBox"));
    }

    // Any window from 320 x 320 up shows every screen whole, in German too; a wide one keeps the
    // rows and the sheet at a readable width, centred.
    void screensFitTheWindow_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("german");
        QTest::newRow("320 x 480, German") << QSize(320, 480) << true;
        QTest::newRow("480 x 320, German") << QSize(480, 320) << true;
        QTest::newRow("1920 x 1080") << QSize(1920, 1080) << false;
    }

    void screensFitTheWindow()
    {
        QFETCH(QSize, size);
        QFETCH(bool, german);
        makeFile(home() + "/notes.txt");
        QDir(home()).mkpath("Folder");
        QTranslator translator;
        if (german) {
            QVERIFY(translator.load(":/i18n/ombrisk_de.qm"));
            QCoreApplication::installTranslator(&translator);
        }
        const auto uninstall = qScopeGuard([&] { QCoreApplication::removeTranslator(&translator); });
        LaunchOptions options;
        options.windowSize = size;
        auto app = ShellFixtures::launch(options);
        auto *window = app->window();
        QCOMPARE(window->size(), size);
        auto *root = app->viewController();
        waitUntilListed(root);
        activate(window);
        auto *list = shownList(window);
        QTRY_COMPARE(list->property("count").toInt(), 2);
        QQuickItem *row = nullptr;
        QTRY_VERIFY((row = rowNamed(list, "notes.txt")));
        const QRectF frame = inWindow(row);
        QCOMPARE(frame.width(), qMin(qreal(size.width()), 720.0 + 16));
        QCOMPARE(frame.center().x(), size.width() / 2.0);
        QVERIFY(inWindow(visibleItemNamed(row, "detailButton")).right() <= frame.right());
        QCOMPARE(cutTexts(window), QString());
        // Edit mode, the folder selector and a dialog over it.
        root->selectButtonTapped();
        root->tableView()->tapFlatRow(0);
        QCOMPARE(cutTexts(window), QString());
        root->moveBarButtonTaped();
        auto *selectorStack =
            qobject_cast<NavigationController *>(app->navigationController()->presentedViewController());
        QVERIFY(selectorStack);
        auto *selector = qobject_cast<LocalFolderSelectorViewController *>(selectorStack->topViewController());
        QTRY_COMPARE(selector->tableView()->rows()->rowCount(), 1);
        selector->createFolderButtonTapped();
        QTRY_VERIFY(visibleItemNamed(window, "alertBox"));
        QCOMPARE(cutTexts(window), QString());
        QTest::keyClick(window, Qt::Key_Escape);
        selector->cancelButtonTapped();
        QTRY_VERIFY(!visibleItemNamed(window, "presentedScreen"));
        root->selectButtonTapped();

        // The row's menu stands whole inside the window.
        QTest::mouseClick(window, Qt::RightButton, {}, frame.center().toPoint());
        QQuickItem *menu = nullptr;
        QTRY_VERIFY((menu = visibleItemNamed(window, "itemMenu")));
        QTRY_VERIFY(QRectF(QPointF(), QSizeF(size)).contains(inWindow(menu)));
        QCOMPARE(cutTexts(window), QString());
        QTest::keyClick(window, Qt::Key_Escape);

        // The properties sheet: the picture whole between the bar and the name field, the rows
        // above the bottom edge, the field no wider than reads well.
        root->showPropertiesOfItemNamed("notes.txt");
        QQuickItem *picture = nullptr;
        QTRY_VERIFY((picture = visibleItemNamed(window, "previewImage")));
        const QRectF field = inWindow(visibleItemNamed(window, "nameField"));
        QTRY_VERIFY(inWindow(picture).top() >= 44);
        QVERIFY(inWindow(picture).width() >= 100);
        QVERIFY(inWindow(picture).bottom() <= field.top());
        QVERIFY(inWindow(visibleItemNamed(window, "createdValue")).bottom() <= size.height());
        QVERIFY(field.width() <= 722);
        QCOMPARE(cutTexts(window), QString());
    }
};

QTEST_MAIN(TestAppShell)
#include "tst_appshell.moc"
