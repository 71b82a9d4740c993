// The shell as assistive tools use it, on the offscreen platform: the accessibility tree of the
// shown window walked, every enabled button, row and menu entry pressed through its accessible
// action, and what each must do seen on the screens and on disk; the states they report; the
// lines announced to screen readers.
#include "../archive/ArchiveFixtures.h"
#include "Announcer.h"
#include "FileClipboard.h"
#include "LocalFilePreviewViewController.h"
#include "MenuController.h"
#include "ShellFixtures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QQuickItem>
#include <QSignalSpy>
#include <functional>

namespace {

using namespace ShellFixtures;

bool isPressableRole(QAccessible::Role role)
{
    return role == QAccessible::Button || role == QAccessible::RadioButton ||
           role == QAccessible::CheckBox || role == QAccessible::MenuItem ||
           role == QAccessible::ListItem;
}

// The controls under `interface` (itself included) a user can press now: shown, enabled,
// offering Press.
void collectPressable(QAccessibleInterface *interface, QList<QAccessibleInterface *> *pressable)
{
    if (!interface || interface->state().invisible)
        return;
    auto *actions = interface->actionInterface();
    if (isPressableRole(interface->role()) && !interface->state().disabled && actions &&
        actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
        pressable->append(interface);
    for (int i = 0; i < interface->childCount(); ++i)
        collectPressable(interface->child(i), pressable);
}

QList<QAccessibleInterface *> pressableUnder(QObject *scope)
{
    QList<QAccessibleInterface *> pressable;
    collectPressable(QAccessible::queryAccessibleInterface(scope), &pressable);
    return pressable;
}

QAccessibleInterface *pressableNamed(QObject *scope, const QString &name)
{
    for (QAccessibleInterface *control : pressableUnder(scope)) {
        if (control->text(QAccessible::Name) == name)
            return control;
    }
    return nullptr;
}

// The item in sight that names itself `name` to assistive tools, whatever it offers.
QAccessibleInterface *accessibleNamed(QAccessibleInterface *interface, const QString &name)
{
    if (!interface || interface->state().invisible)
        return nullptr;
    if (interface->text(QAccessible::Name) == name)
        return interface;
    for (int i = 0; i < interface->childCount(); ++i) {
        if (auto *found = accessibleNamed(interface->child(i), name))
            return found;
    }
    return nullptr;
}

void act(QAccessibleInterface *control, const QString &action)
{
    QVERIFY(control);
    QVERIFY2(control->actionInterface()->actionNames().contains(action), qPrintable(action));
    control->actionInterface()->doAction(action);
}

// What pressing one control must do, and the way back to where it was pressed. `expect` is
// asked just before the press, and answers the sign that must then come true.
using Sign = std::function<bool()>;
struct Effect {
    QString name;
    std::function<Sign()> expect;
    std::function<void()> undo = {};
};

// An effect that needs nothing from before the press.
std::function<Sign()> seen(Sign sign)
{
    return [sign] { return sign; };
}

// Presses, through its accessible action, every control that `scope()` offers, and sees each do
// what its click does. A control with no effect listed (unless `passedOver` names it), or a
// listed one not offered, fails.
void pressEach(const std::function<QObject *()> &scope, const QList<Effect> &effects,
               const std::function<bool(const QString &)> &passedOver = {})
{
    QStringList offered, listed;
    for (QAccessibleInterface *control : pressableUnder(scope())) {
        if (!passedOver || !passedOver(control->text(QAccessible::Name)))
            offered.append(control->text(QAccessible::Name));
    }
    for (const Effect &effect : effects)
        listed.append(effect.name);
    offered.sort();
    listed.sort();
    QCOMPARE(offered.join(u'|'), listed.join(u'|'));
    for (const Effect &effect : effects) {
        QAccessibleInterface *control = nullptr;
        QTRY_VERIFY2((control = pressableNamed(scope(), effect.name)), qPrintable(effect.name));
        const Sign happened = effect.expect();
        act(control, QAccessibleActionInterface::pressAction());
        QTRY_VERIFY2(happened(), qPrintable(effect.name));
        if (effect.undo)
            effect.undo();
        if (QTest::currentTestFailed())
            return;
    }
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    std::unique_ptr<AppDelegate> m_app;

    QQuickWindow *window() const { return m_app->window(); }
    NavigationController *stack() const { return m_app->navigationController(); }
    LocalStorageViewController *root() const { return m_app->viewController(); }
    AlertController *alert() const
    {
        return qobject_cast<AlertController *>(stack()->presentedViewController());
    }
    NavigationController *selector() const
    {
        return qobject_cast<NavigationController *>(stack()->presentedViewController());
    }
    // The popup of the dialog now presented (one that was closed may still fade out), whose
    // subtree holds its field and buttons.
    QObject *dialog() const
    {
        std::function<QQuickItem *(QQuickItem *)> find = [&](QQuickItem *item) -> QQuickItem * {
            if (item->objectName() == QLatin1String("alertBox")) {
                QQuickItem *popup = item->parentItem();
                const QObject *view = popup->parent() ? popup->parent()->parent() : nullptr;
                if (alert() && view && view->property("controller").value<QObject *>() == alert())
                    return popup;
            }
            for (QQuickItem *child : item->childItems()) {
                if (QQuickItem *found = find(child))
                    return found;
            }
            return nullptr;
        };
        return find(window()->contentItem());
    }
    QObject *presentedScreen() const
    {
        return visibleItemNamed(window(), QStringLiteral("presentedScreen"));
    }
    QAccessibleInterface *row(const QString &name) const
    {
        return pressableNamed(window(), name);
    }

    std::function<Sign()> alertTitled(const QString &title) const
    {
        return seen([this, title] { return alert() && alert()->title() == title; });
    }
    std::function<Sign()> shownTitled(const QString &title) const
    {
        return seen([this, title] {
            return stack()->viewControllers().size() == 2 &&
                   stack()->topViewController()->title() == title;
        });
    }
    // The order changed and the rows were laid out again in it.
    std::function<Sign()> sortedOtherwise() const
    {
        return [this] {
            return [this, before = root()->sortingType(),
                    reloads = root()->tableView()->reloadCount()] {
                return root()->sortingType() != before &&
                       root()->tableView()->reloadCount() > reloads;
            };
        };
    }
    std::function<Sign()> selectionChanged() const
    {
        return [this] {
            return [this, before = root()->tableView()->indexPathsForSelectedRows()] {
                return root()->tableView()->indexPathsForSelectedRows() != before;
            };
        };
    }
    void selectOnly(const QString &name) const
    {
        TableView *table = root()->tableView();
        for (const IndexPath &path : table->indexPathsForSelectedRows())
            table->deselectRow(path);
        for (int flat = 0; flat < table->rows()->rowCount(); ++flat) {
            const IndexPath path = table->rows()->indexPathAt(flat);
            if (root()->itemManager()->itemForIndexPath(path.section, path.row)->fileName == name)
                table->selectRow(path);
        }
        root()->updateFooterLabel();
    }
    void cancelAlert() const
    {
        alert()->cancel();
        QTRY_VERIFY(!stack()->presentedViewController());
    }
    // Back through the bar's own button, pressed by its accessible action.
    // The home folder is listed again on its return; keys before that would meet the old rows.
    void pressBack() const
    {
        QSignalSpy listed(root(), &KPDocumentPickerViewController::listingShown);
        act(pressableNamed(window(), QStringLiteral("Back")),
            QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(stack()->viewControllers().size(), 1);
        QTRY_VERIFY(!listed.isEmpty());
    }
    // The field of the shown dialog given `text` as an assistive tool sets it.
    void setFieldText(const QString &text) const
    {
        QAccessibleInterface *field = nullptr;
        QTRY_VERIFY((field = accessibleNamed(QAccessible::queryAccessibleInterface(dialog()),
                                             alert()->textFields().first()->placeholder())));
        QCOMPARE(field->role(), QAccessible::EditableText);
        field->setText(QAccessible::Value, text);
    }

private slots:
    void initTestCase()
    {
        useTestRoot(m_root);
        QAccessible::setActive(true);
    }

    void init()
    {
        QDir(home()).removeRecursively();
        QGuiApplication::clipboard()->clear();
        QDir().mkpath(home() + "/Folder");
        makeFile(home() + "/a.txt");
        m_app = launch();
        waitUntilListed(root());
        QTRY_COMPARE(root()->tableView()->rows()->rowCount(), 2);
    }

    void cleanup() { m_app.reset(); }

    void everyControlOfTheListingActsWhenPressed()
    {
        const auto pop = [this] { pressBack(); };
        // Browsing: what needs a selection says it is disabled, and pressing it does nothing.
        for (const QString &name : QStringList{"Compress", "Move", "Delete"}) {
            QAccessibleInterface *control = accessibleNamed(
                QAccessible::queryAccessibleInterface(window()), name);
            QVERIFY(control && control->state().disabled);
            act(control, QAccessibleActionInterface::pressAction());
            QVERIFY(!stack()->presentedViewController());
        }
        pressEach([this] { return window(); },
                  {{"Select", seen([this] { return root()->isEditing(); }),
                    [this] { root()->selectButtonTapped(); }},
                   {"New Folder", alertTitled("Create Folder"), [this] { cancelAlert(); }},
                   {"Name", sortedOtherwise()},
                   {"Size", sortedOtherwise()},
                   {"Date", sortedOtherwise()},
                   {"Info about a.txt", shownTitled("a.txt"), pop},
                   {"a.txt", shownTitled("a.txt"), pop},
                   {"Folder", shownTitled("Folder"), pop},
                   {"Trash", shownTitled("Trash"), pop}});
        // The chosen sort segment says so.
        QVERIFY(row("Date")->state().checked);
        QVERIFY(!row("Name")->state().checked);

        // Editing, one row selected.
        root()->selectButtonTapped();
        act(row("a.txt"), QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(row("a.txt")->state().selected);
        QVERIFY(row("a.txt")->state().selectable);
        QVERIFY(!row("Folder")->state().selected);
        const auto restoreSelection = [this] { selectOnly(QStringLiteral("a.txt")); };
        pressEach([this] { return window(); },
                  {{"Select All", selectionChanged(), restoreSelection},
                   {"Cancel", seen([this] { return !root()->isEditing(); }),
                    [this, restoreSelection] {
                        root()->selectButtonTapped();
                        restoreSelection();
                    }},
                   {"New Folder", alertTitled("Create Folder"), [this] { cancelAlert(); }},
                   {"Compress", alertTitled("Compress file"), [this] { cancelAlert(); }},
                   {"Copy", seen([this] {
                        const auto held = FileClipboard::contents();
                        return held && held->paths == QStringList{home() + "/a.txt"};
                    }),
                    [this, restoreSelection] {
                        root()->selectButtonTapped();
                        restoreSelection();
                    }},
                   {"Move", seen([this] { return selector() != nullptr; }),
                    [this] { QTest::keyClick(window(), Qt::Key_Escape); }},
                   {"Delete", seen([this] { return alert() && alert()->actions().size() == 2; }),
                    [this] { cancelAlert(); }},
                   {"Name", sortedOtherwise(), restoreSelection},
                   {"Size", sortedOtherwise(), restoreSelection},
                   {"Date", sortedOtherwise(), restoreSelection},
                   {"Info about a.txt", shownTitled("a.txt"), pop},
                   {"a.txt", selectionChanged(), restoreSelection},
                   {"Folder", selectionChanged(), restoreSelection}});
    }

    void dialogsTheSelectorAndTheRowMenuActWhenPressed()
    {
        const QString press = QAccessibleActionInterface::pressAction();
        // A row offers its menu's entries besides Press, and the menu itself.
        QCOMPARE(row("a.txt")->actionInterface()->actionNames(),
                 (QStringList{press, QAccessibleActionInterface::showMenuAction(), "Delete",
                              "Rename...", "Move...", "Copy", "Duplicate",
                              "Open With Default App", "Info..."}));
        const auto dialogGone = seen([this] { return !stack()->presentedViewController(); });
        const auto opened = [this](const QString &rowName, const QString &action) {
            return [this, rowName, action] {
                QAccessibleInterface *control = nullptr; // none while work holds the screens
                QTRY_VERIFY((control = pressableNamed(window(), rowName.isEmpty() ? action : rowName)));
                act(control, rowName.isEmpty() ? QAccessibleActionInterface::pressAction() : action);
                QTRY_VERIFY(stack()->presentedViewController());
            };
        };
        // Each dialog's buttons, its field given a name as an assistive tool sets it.
        const auto typed = [this](const QString &text, Sign sign) {
            return std::function<Sign()>([this, text, sign] {
                setFieldText(text);
                return sign;
            });
        };
        opened({}, "New Folder")();
        pressEach([this] { return dialog(); },
                  {{"Cancel", dialogGone, opened({}, "New Folder")},
                   {"Create", typed("Made", [this] { return QFileInfo(home() + "/Made").isDir(); })}});
        QTRY_VERIFY(row("Made"));
        opened("a.txt", "Rename...")();
        pressEach([this] { return dialog(); },
                  {{"Cancel", dialogGone, opened("a.txt", "Rename...")},
                   {"Done", typed("b.txt", [this] { return QFileInfo::exists(home() + "/b.txt"); })}});
        QTRY_VERIFY(row("b.txt"));
        opened("Made", "Delete")();
        pressEach([this] { return dialog(); },
                  {{"Cancel", dialogGone, opened("Made", "Delete")},
                   {"Move to Trash", seen([this] { return !QFileInfo::exists(home() + "/Made"); })}});
        QTRY_VERIFY(row("b.txt") && !row("Made")); // the rows take no press while it works

        // The folder selector: its buttons, rows and sort segments; a pushed level's Back.
        const auto selectorTop = [this] {
            return qobject_cast<KPDocumentPickerViewController *>(selector()->topViewController());
        };
        // A segment chosen, or the order turned (the selector starts by name with none chosen).
        const auto selectorSorted = [selectorTop] {
            const auto *control = selectorTop()->headerView()->sortControl();
            const TableView *table = selectorTop()->tableView();
            return [control, table, reloads = table->reloadCount(),
                    before = std::pair(control->sortingType(), control->selectedSegmentIndex())] {
                return std::pair(control->sortingType(), control->selectedSegmentIndex()) != before &&
                       (control->sortingType() == before.first || table->reloadCount() > reloads);
            };
        };
        opened("b.txt", "Move...")();
        QTRY_VERIFY(selectorTop() && selectorTop()->tableView()->rows()->rowCount() == 1);
        pressEach([this] { return presentedScreen(); },
                  {{"Cancel", dialogGone, opened("b.txt", "Move...")},
                   {"New Folder", seen([this] { return selector()->presentedViewController(); }),
                    [this] { selector()->presentedViewController()->dismiss(false); }},
                   {"Name", selectorSorted},
                   {"Size", selectorSorted},
                   {"Date", selectorSorted},
                   {"Folder", seen([this] { return selector()->viewControllers().size() == 2; }),
                    [this] {
                        act(pressableNamed(presentedScreen(), "Back to Select Save Folder"),
                            QAccessibleActionInterface::pressAction());
                        QTRY_COMPARE(selector()->viewControllers().size(), 1);
                    }},
                   // Into the folder it is in already: nothing moves.
                   {"Done", dialogGone, opened("b.txt", "Move...")}},
                  [](const QString &name) { return name == "Search"; });
        QVERIFY(QFileInfo::exists(home() + "/b.txt"));
        QTRY_VERIFY(pressableNamed(presentedScreen(), "Folder"));
        act(pressableNamed(presentedScreen(), "Folder"), press);
        QTRY_COMPARE(selector()->viewControllers().size(), 2);
        act(pressableNamed(presentedScreen(), "Done"), press);
        QTRY_VERIFY(QFileInfo::exists(home() + "/Folder/b.txt"));

        // The row menu, opened by its action: each entry does what the row's action does.
        const auto menuOpened = [this] {
            QTRY_VERIFY(row("Folder"));
            act(row("Folder"), QAccessibleActionInterface::showMenuAction());
            QTRY_VERIFY(visibleItemNamed(window(), "itemMenu"));
        };
        const auto menu = [this]() -> QObject * {
            QQuickItem *strip = visibleItemNamed(window(), "itemMenu");
            return strip ? strip->parentItem() : nullptr;
        };
        const auto closeThenReopen = [this, menuOpened] {
            stack()->presentedViewController()->dismiss(false);
            menuOpened();
        };
        menuOpened();
        pressEach(menu, {{"Delete", seen([this] { return alert() && alert()->actions().size() == 2; }),
                          closeThenReopen},
                         {"Rename...", alertTitled("Rename"), closeThenReopen},
                         {"Move...", seen([this] { return selector() != nullptr; }), closeThenReopen},
                         {"Copy", seen([this] {
                              const auto held = FileClipboard::contents();
                              return held && held->paths == QStringList{home() + "/Folder"};
                          }),
                          menuOpened},
                         {"Duplicate", seen([this] { return QFileInfo(home() + "/Folder 2").isDir(); }),
                          [menuOpened] {
                              QTRY_VERIFY(!ProgressOverlay::shared()->isVisible());
                              menuOpened();
                          }},
                         {"Info...", shownTitled("Folder")}});
    }

    void theKeyboardsRowSaysItIsFocusedAndChangesAreAnnounced()
    {
        QSignalSpy announced(Announcer::shared(), &Announcer::announced);
        const auto lastAnnounced = [this] {
            QAccessibleInterface *line =
                accessibleNamed(QAccessible::queryAccessibleInterface(window()), Announcer::shared()->text());
            return line && line->role() == QAccessible::Notification ? line->text(QAccessible::Name)
                                                                     : QString();
        };
        activate(window());
        // Newest first: a.txt, then Folder.
        QTest::keyClick(window(), Qt::Key_Down);
        QTRY_VERIFY(row("a.txt") && row("a.txt")->state().focused);
        QTest::keyClick(window(), Qt::Key_Down);
        QTRY_VERIFY(row("Folder")->state().focused);
        QVERIFY(!row("a.txt")->state().focused);

        act(pressableNamed(window(), "Select"), QAccessibleActionInterface::pressAction());
        QCOMPARE(lastAnnounced(), QStringLiteral("Edit mode: select the items to act on."));
        act(pressableNamed(window(), "Cancel"), QAccessibleActionInterface::pressAction());
        QCOMPARE(lastAnnounced(), QStringLiteral("Edit mode ended."));
        // A search (its text set as an assistive tool sets it): its count once the typing
        // pauses, said once.
        announced.clear();
        QTest::keyClick(window(), Qt::Key_F, Qt::ControlModifier);
        QAccessibleInterface *search = accessibleNamed(QAccessible::queryAccessibleInterface(window()), "Search");
        QVERIFY(search && search->role() == QAccessible::EditableText);
        search->setText(QAccessible::Value, QStringLiteral("a"));
        search->setText(QAccessible::Value, QStringLiteral("a."));
        QCOMPARE(root()->headerView()->searchText(), QStringLiteral("a."));
        QTRY_COMPARE(lastAnnounced(), QStringLiteral("1 item found."));
        QTest::qWait(600);
        QCOMPARE(announced.size(), 1);
        QTest::keyClick(window(), Qt::Key_Escape);
        // A finished job.
        QCOMPARE(ArchiveFixtures::run(home(), "zip", {"-q", "Pack.zip", "a.txt"}), 0);
        root()->openFileNamed("Pack.zip");
        QTRY_COMPARE(lastAnnounced(), QStringLiteral("“Pack.zip” is unpacked."));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
