// The trash's screens in the whole shell on the offscreen platform, with the real QML: the
// buttons added for it reached from the keyboard and by assistive tools' actions, as a mouse
// would reach them.
#include "ShellFixtures.h"
#include "TrashViewController.h"

#include <QQuickItem>

using namespace ShellFixtures;

namespace {

// What a screen reader's "press" (or "toggle") does on the item.
void press(QQuickItem *item, const QString &action = QAccessibleActionInterface::pressAction())
{
    QVERIFY(item);
    auto *actions = QAccessible::queryAccessibleInterface(item)->actionInterface();
    QVERIFY(actions && actions->actionNames().contains(action));
    actions->doAction(action);
}

} // namespace

class TestTrashShell : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;

    QQuickItem *accessible(AppDelegate &app, QAccessible::Role role, const QString &name)
    {
        return accessibleItem(app.window()->contentItem(), role, name);
    }

private slots:
    void initTestCase()
    {
        useTestRoot(m_root);
        QAccessible::setActive(true);
    }
    void init() { freshHome(); }

    // The sheet answered with Enter; Undo pressed by a screen reader, then by Ctrl+Z.
    void undoIsReachedByAssistiveToolsAndTheKeyboard()
    {
        makeFile(home() + "/a.txt");
        makeFile(home() + "/b.txt");
        auto app = launchListed();
        auto *root = app->viewController();
        QTRY_COMPARE(root->tableView()->rows()->rowCount(), 2);
        for (const QString &name : {QStringLiteral("a.txt"), QStringLiteral("b.txt")}) {
            root->selectButtonTapped();
            for (int row = 0; row < 2; ++row)
                if (root->itemManager()->itemForIndexPath(0, row)->fileName == name)
                    root->tableView()->tapFlatRow(row);
            QTest::keyClick(app->window(), Qt::Key_Delete);
            QTRY_VERIFY(visibleItemNamed(app->window(), "alertBox"));
            QTest::keyClick(app->window(), Qt::Key_Return); // "Move to Trash"
            QTRY_VERIFY(!QFileInfo::exists(home() + u'/' + name));
            QTRY_VERIFY(!ProgressOverlay::shared()->isVisible());
            QQuickItem *undo = nullptr;
            QTRY_VERIFY((undo = accessible(*app, QAccessible::Button, "Undo")));
            QVERIFY(undo->activeFocusOnTab());
            if (name == QLatin1String("a.txt"))
                press(undo);
            else
                QTest::keyClick(app->window(), Qt::Key_Z, Qt::ControlModifier);
            QTRY_VERIFY(QFileInfo::exists(home() + u'/' + name));
            QTRY_VERIFY(!accessible(*app, QAccessible::Button, "Undo"));
            QTRY_VERIFY(!ProgressOverlay::shared()->isVisible());
            QTRY_COMPARE(root->tableView()->rows()->rowCount(), 2);
        }
        QVERIFY(trashed().isEmpty());
    }

    // Two clashes: "Apply to all" toggled by a screen reader, the question answered with Enter.
    void applyToAllIsACheckBoxForAssistiveToolsAndTheKeyboard()
    {
        makeFile(home() + "/Pack/new.txt", "new");
        makeFile(home() + "/c.txt", "new c");
        makeFile(home() + "/Locked/Pack/mine.txt", "mine");
        makeFile(home() + "/Locked/c.txt", "old c");
        auto app = launchListed();
        app->viewController()->moveSelectorFinished(
            {{"dist", "/Locked"}, {"source", QStringList{home() + "/Pack", home() + "/c.txt"}}});
        QTRY_VERIFY(visibleItemNamed(app->window(), "alertBox"));
        auto *toAll = accessible(*app, QAccessible::CheckBox, "Apply to all");
        QVERIFY(toAll);
        QVERIFY(toAll->activeFocusOnTab());
        press(toAll, QAccessibleActionInterface::toggleAction());
        QVERIFY(toAll->property("checked").toBool());
        QTest::keyClick(app->window(), Qt::Key_Return); // "Keep Both", for both
        QTRY_VERIFY(QFileInfo::exists(home() + "/Locked/c 2.txt"));
        QTRY_VERIFY(!ProgressOverlay::shared()->isVisible());
        QVERIFY(!app->navigationController()->presentedViewController());
        QStringList locked =
            QDir(home() + "/Locked").entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        locked.sort();
        QCOMPARE(locked, (QStringList{"Pack", "Pack 2", "c 2.txt", "c.txt"}));
    }

    void theTrashButtonOpensTheTrashScreen()
    {
        makeFile(home() + "/gone.txt");
        QVERIFY(Trash::moveToTrash(home() + "/gone.txt", nullptr));
        auto app = launchListed();
        QQuickItem *button = nullptr;
        QTRY_VERIFY((button = accessible(*app, QAccessible::Button, "Trash")));
        QTest::mouseClick(app->window(), Qt::LeftButton, {},
                          button->mapToScene(QPointF(button->width() / 2, button->height() / 2))
                              .toPoint());
        auto *trash = qobject_cast<TrashViewController *>(
            app->navigationController()->topViewController());
        QVERIFY(trash);
        QTRY_VERIFY(accessible(*app, QAccessible::ListItem, "gone.txt"));
        QCOMPARE(trash->title(), QStringLiteral("Trash"));
    }
};

QTEST_MAIN(TestTrashShell)
#include "tst_trashshell.moc"
