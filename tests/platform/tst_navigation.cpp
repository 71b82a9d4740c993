#include "AlertController.h"
#include "MenuController.h"
#include "NavigationController.h"
#include "NotificationCenter.h"
#include "RefreshControl.h"

#include <QTest>

namespace {

// A screen that writes down its life cycle.
class Screen : public ViewController {
    Q_OBJECT
public:
    Screen(const QString &name, QStringList *log) : m_name(name), m_log(log) {}
    Q_INVOKABLE void deleteAction(MenuController *) { m_log->append(m_name + " deleteAction"); }
    QSizeF sizeAtLoad;

protected:
    void viewDidLoad() override
    {
        m_log->append(m_name + " didLoad");
        sizeAtLoad = viewSize();
    }
    void viewWillAppear(bool) override { m_log->append(m_name + " willAppear"); }
    void viewDidAppear(bool) override { m_log->append(m_name + " didAppear"); }
    void viewWillDisappear(bool) override { m_log->append(m_name + " willDisappear"); }
    void viewDidDisappear(bool) override { m_log->append(m_name + " didDisappear"); }

private:
    QString m_name;
    QStringList *m_log;
};

// A row that refuses every action but copying, as list rows do.
class Row : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    Q_INVOKABLE bool canPerformAction(const QByteArray &action) const
    {
        return action == "copyAction:";
    }
    Q_INVOKABLE void deleteAction(MenuController *) { taken = true; }
    bool taken = false;
};

} // namespace

class TestNavigation : public QObject {
    Q_OBJECT

private slots:
    void pushAndPopRunTheLifeCycleInOrder()
    {
        QStringList log;
        auto *root = new Screen("root", &log);
        NavigationController stack(root);
        stack.beginAppearanceTransition(true, false);
        stack.endAppearanceTransition();
        QCOMPARE(log, QStringList({"root didLoad", "root willAppear", "root didAppear"}));
        log.clear();
        QPointer<Screen> child = new Screen("child", &log);
        stack.pushViewController(child, true);
        QCOMPARE(log, QStringList({"child didLoad", "root willDisappear", "child willAppear",
                                   "root didDisappear", "child didAppear"}));
        QCOMPARE(child->navigationController(), &stack);
        log.clear();
        stack.popViewController(true);
        QCOMPARE(log, QStringList({"child willDisappear", "root willAppear", "child didDisappear",
                                   "root didAppear"}));
        QTRY_VERIFY(!child);           // a popped screen goes
        stack.popViewController(true); // the root stays
        QCOMPARE(stack.viewControllers().size(), 1);
    }

    // A screen sizes what it makes for its page as it loads (a picture decoded for it): the page
    // area, not the screen below's own size, which may be a column of it.
    void aPushedScreenLoadsAtThePageArea()
    {
        QStringList log;
        auto *root = new Screen("root", &log);
        NavigationController stack(root);
        root->setViewSize({736, 960});
        stack.setPageSize({1280, 960});
        auto *child = new Screen("child", &log);
        stack.pushViewController(child, false);
        QCOMPARE(child->sizeAtLoad, QSizeF(1280, 960));
    }

    void alertsFloatAndRunTheirHandlerAfterDismissal()
    {
        QStringList log;
        auto *root = new Screen("root", &log);
        NavigationController stack(root);
        stack.beginAppearanceTransition(true, false);
        stack.endAppearanceTransition();
        log.clear();
        auto *alert = new AlertController("Rename", "", AlertController::Style::Alert);
        auto *field = alert->addTextField("Name", "old");
        QString typed;
        alert->addAction("Cancel", AlertAction::Style::Cancel);
        alert->addAction("OK", AlertAction::Style::Default, [&] { typed = field->text(); });
        root->present(alert, true);
        QCOMPARE(stack.presentedViewController(), alert);
        QVERIFY(log.isEmpty()); // an alert does not make the screen disappear
        field->setText("new");
        QCOMPARE(alert->defaultActionIndex(), 1); // Enter skips the cancel button
        alert->accept();
        QCOMPARE(typed, QStringLiteral("new"));
        QVERIFY(!stack.presentedViewController());

        // A presented stack covers the screens below, which reappear after.
        auto *other = new NavigationController(new Screen("modal", &log));
        root->present(other, true);
        QCOMPARE(log, QStringList({"root willDisappear", "modal didLoad", "modal willAppear",
                                   "root didDisappear", "modal didAppear"}));
        log.clear();
        other->topViewController()->dismiss(true);
        QCOMPARE(log, QStringList({"modal willDisappear", "root willAppear", "modal didDisappear",
                                   "root didAppear"}));
    }

    void menuActionsTravelUpToTheScreen()
    {
        QStringList log;
        Screen screen("screen", &log);
        auto *table = new QObject(&screen);
        auto *row = new Row(table);
        MenuItem remove("Delete", "deleteAction:");
        auto *menu = MenuController::sharedMenuController();
        menu->showMenu(row, {&remove}, QRectF(0, 70, 320, 70));
        QVERIFY(menu->isMenuVisible());
        QVERIFY(menu->pick(0));
        QVERIFY(!menu->isMenuVisible());
        QVERIFY(!row->taken); // the row refuses it
        QCOMPARE(log, QStringList({"screen deleteAction"}));
        MenuItem unknown("Other", "otherAction:");
        menu->showMenu(row, {&unknown}, {});
        QVERIFY(!menu->pick(0));
    }

    void notificationsReachObserversUntilRemoved()
    {
        auto *center = NotificationCenter::defaultCenter();
        QVariantMap received;
        {
            QObject owner;
            center->addObserver(&owner, "localMove",
                                [&](const QVariant &info) { received = info.toMap(); });
            center->post("localMove", QVariantMap{{"dist", "/A"}});
            QCOMPARE(received.value("dist").toString(), QStringLiteral("/A"));
            center->removeObserver(&owner, "localMove");
            center->post("localMove", QVariantMap{{"dist", "/B"}});
            QCOMPARE(received.value("dist").toString(), QStringLiteral("/A"));
            center->addObserver(&owner, "localMove", [](const QVariant &) {});
        }
        QCOMPARE(center->observerCount("localMove"), 0); // gone with its owner
    }

    void refreshingNeedsAFullPull()
    {
        int runs = 0;
        RefreshControl control([&] { ++runs; });
        control.released(RefreshControl::pullDistance() - 1);
        QCOMPARE(runs, 0);
        control.released(RefreshControl::pullDistance());
        control.released(RefreshControl::pullDistance() * 2); // still refreshing: once per pull
        QCOMPARE(runs, 1);
        QVERIFY(control.isRefreshing());
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
