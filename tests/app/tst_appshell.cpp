// The whole shell on the offscreen platform: real folders, the real QML, the listing screen's
// controllers read directly and its drawn items found by name.
#include "AppDelegate.h"
#include "AppDirectories.h"
#include "KPDocumentPickerMenuItem.h"
#include "LaunchOptions.h"
#include "MenuController.h"
#include "Translations.h"
#include "Utils.h"

#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Ombrisk_PlatformPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_PickerPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_AppPlugin)

namespace {

void makeFile(const QString &path, const QByteArray &data = "data")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

LocalStorageViewController *topScreen(const AppDelegate &app)
{
    return qobject_cast<LocalStorageViewController *>(
        app.navigationController()->topViewController());
}

void waitUntilListed(LocalStorageViewController *screen)
{
    QVERIFY(screen);
    QTRY_VERIFY(screen->loadingView() == nullptr);
}

QQuickItem *visibleItemNamed(QQuickItem *item, const QString &name)
{
    if (!item->isVisible())
        return nullptr;
    if (item->objectName() == name)
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (auto *found = visibleItemNamed(child, name))
            return found;
    }
    return nullptr;
}

QQuickItem *visibleItemNamed(QQuickWindow *window, const QString &name)
{
    return visibleItemNamed(window->contentItem(), name);
}

} // namespace

class TestAppShell : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QString home() const { return Utils::documentsPath(); }

    std::unique_ptr<AppDelegate> launch(const QString &openPath = {})
    {
        LaunchOptions options;
        options.openPath = openPath;
        auto app = std::make_unique<AppDelegate>();
        app->didFinishLaunching(options);
        return app;
    }

private slots:
    void initTestCase()
    {
        AppDirectories::useRoot(m_root.path());
        Translations::install(*qApp, QLocale(QLocale::English));
    }

    void launchMakesTheFoldersAndTitlesTheHomeFolder()
    {
        for (const QString &made : {AppDirectories::documentsDirectory(),
                                    AppDirectories::cachesDirectory()})
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

    void theDrawnListMatchesItsControllers()
    {
        for (int i = 0; i < 3; ++i)
            makeFile(home() + QStringLiteral("/file%1.txt").arg(i));
        QDir(home()).mkpath("Folder");
        auto app = launch();
        auto *root = app->viewController();
        waitUntilListed(root);
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
        auto *toolbar = visibleItemNamed(app->window(), "toolbarItems");
        QVERIFY(toolbar);
        QCOMPARE(root->toolbarItems().size(), 8);
        QCOMPARE(toolbar->property("items").toList().size(), 8);
        QCOMPARE(root->toolBarLabel->title(), QStringLiteral("1 folder, 3 files"));
    }

    void cellsAreFinishedByKind()
    {
        QDir(home()).removeRecursively();
        QDir(home()).mkpath("Pics");
        makeFile(home() + "/photo.jpg", QByteArray("\xFF\xD8\xFF", 3));
        makeFile(home() + "/image.png");
        auto app = launch();
        auto *root = app->viewController();
        waitUntilListed(root);
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
        for (auto *cell : cells) {
            const auto menu = cell->menuItems();
            QCOMPARE(menu.size(), 4);
            QCOMPARE(menu.at(1)->title(), QStringLiteral("Rename..."));
            const auto item = static_cast<KPDocumentPickerMenuItem *>(menu.at(0))
                                  ->dataItem()
                                  .value<KPDocumentPickerItemPtr>();
            QCOMPARE(item->fileName, cell->text());
        }
    }

    void menuEntriesReachTheScreen()
    {
        makeFile(home() + "/a.txt");
        auto app = launch();
        auto *root = app->viewController();
        waitUntilListed(root);
        auto *cell = qobject_cast<KPDocumentPickerTableViewCell *>(
            root->cellForRow(root->tableView(), {0, 0}));
        cell->showMenu({0, 0, 100, 70});
        QVERIFY(MenuController::sharedMenuController()->pick(0));
        QCOMPARE(root->textNotice()->text(), QStringLiteral("Not available yet"));
    }

    void buttonRulesFollowTheSelection()
    {
        makeFile(home() + "/b.txt");
        auto app = launch();
        auto *root = app->viewController();
        waitUntilListed(root);
        QTRY_VERIFY(root->selectButton()->isEnabled());
        QVERIFY(root->createFolderBarButtonItem()->isEnabled());
        QVERIFY(!root->deleteBarButtonItem()->isEnabled());
        root->selectButtonTapped();
        QCOMPARE(root->toolBarLabel->title(), QStringLiteral("0 items selected"));
        QVERIFY(!root->moveBarButtonItem()->isEnabled());
        root->tableView()->tapFlatRow(0);
        QCOMPARE(root->toolBarLabel->title(), QStringLiteral("1 item selected"));
        QVERIFY(root->deleteBarButtonItem()->isEnabled());
        QVERIFY(root->moveBarButtonItem()->isEnabled());
        QVERIFY(root->compressBarButtonItem()->isEnabled());
        root->tableView()->tapFlatRow(0);
        QVERIFY(!root->compressBarButtonItem()->isEnabled());
        root->selectButtonTapped();
        QVERIFY(!root->deleteBarButtonItem()->isEnabled());
    }

    void openPushesEachLevelAndAppearancesRelist()
    {
        QDir(home()).mkpath("A/B");
        makeFile(home() + "/A/B/inner.txt");
        auto app = launch(QStringLiteral("/A/B"));
        const auto screens = app->navigationController()->viewControllers();
        QCOMPARE(screens.size(), 3);
        auto *top = topScreen(*app);
        QCOMPARE(top->filePath(), QStringLiteral("/A/B"));
        waitUntilListed(top);
        QCOMPARE(top->title(), QStringLiteral("B"));
        QTRY_COMPARE(top->items().size(), 1);
        // A file appearing meanwhile shows when the screen below appears again.
        makeFile(home() + "/A/new.txt");
        app->navigationController()->popViewController(false);
        auto *middle = topScreen(*app);
        QCOMPARE(middle->filePath(), QStringLiteral("/A"));
        QTRY_COMPARE(middle->items().size(), 2);
    }

    void launchOptionsFromTheCommandLine()
    {
        const auto options = LaunchOptions::fromArguments(
            {"ombrisk", "--window-size", "500x900", "--open", "/A/../B/", "--screenshot", "s.png"});
        QCOMPARE(options.windowSize, QSize(500, 900));
        QCOMPARE(options.screenshotPath, QStringLiteral("s.png"));
        QCOMPARE(options.pathsToOpen(), QStringList{"/B"});
        QCOMPARE(LaunchOptions::fromArguments({"ombrisk", "--open", "/../A/B"}).pathsToOpen(),
                 (QStringList{"/A", "/A/B"}));
        QVERIFY(!LaunchOptions::fromArguments({"ombrisk", "--window-size", "big"}).error.isEmpty());
        QVERIFY(!LaunchOptions::fromArguments({"ombrisk", "--open"}).error.isEmpty());
    }
};

QTEST_MAIN(TestAppShell)
#include "tst_appshell.moc"
