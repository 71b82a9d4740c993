#include "AccessibleControl.h"

#include "MenuActions.h"

#include <QQuickItem>
#include <QQuickWindow>

namespace {

// The QML `Accessible` of the object, once its QML or the control itself made one.
const QObject *accessibleAttached(const QObject *object)
{
    for (const QObject *child : object->children()) {
        if (child->inherits("QQuickAccessibleAttached"))
            return child;
    }
    return nullptr;
}

// Whether assistive tools see the item at all, as Qt Quick decides it.
bool isExposed(const QQuickItem *item)
{
    const QObject *attached = accessibleAttached(item);
    return attached && !attached->property("ignored").toBool();
}

void collectExposed(const QQuickItem *item, QList<QQuickItem *> *exposed)
{
    for (QQuickItem *child : item->childItems()) {
        if (isExposed(child))
            exposed->append(child);
        else
            collectExposed(child, exposed);
    }
}

// Asked once for each class of an object's hierarchy, most derived first: every button passes
// this level before Qt Quick's own factory answers for QQuickItem.
QAccessibleInterface *controlFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String("QQuickAbstractButton"))
        return nullptr;
    auto *item = qobject_cast<QQuickItem *>(object);
    return item && isExposed(item) ? new AccessibleControl(item) : nullptr;
}

} // namespace

void AccessibleControl::installFactory()
{
    QAccessible::installFactory(&controlFactory);
}

AccessibleControl::AccessibleControl(QQuickItem *item) : QAccessibleObject(item)
{
    // Qt Quick 6.4 tells nobody when an item is enabled or disabled.
    QObject::connect(item, &QQuickItem::enabledChanged, item, [item] {
        QAccessible::State changed;
        changed.disabled = true;
        changed.focusable = true;
        QAccessibleStateChangeEvent event(item, changed);
        QAccessible::updateAccessibility(&event);
    });
}

QQuickItem *AccessibleControl::item() const
{
    return static_cast<QQuickItem *>(object());
}

QWindow *AccessibleControl::window() const
{
    return item()->window();
}

QAccessibleInterface *AccessibleControl::parent() const
{
    QQuickWindow *shownIn = item()->window();
    const QQuickItem *content = shownIn ? shownIn->contentItem() : nullptr;
    for (QQuickItem *up = item()->parentItem(); up; up = up->parentItem()) {
        if (up == content)
            return QAccessible::queryAccessibleInterface(shownIn);
        if (isExposed(up))
            return QAccessible::queryAccessibleInterface(up);
    }
    return nullptr;
}

QList<QQuickItem *> AccessibleControl::exposedChildren() const
{
    QList<QQuickItem *> exposed;
    collectExposed(item(), &exposed);
    return exposed;
}

QAccessibleInterface *AccessibleControl::child(int index) const
{
    const auto children = exposedChildren();
    return index >= 0 && index < children.size()
               ? QAccessible::queryAccessibleInterface(children.at(index))
               : nullptr;
}

int AccessibleControl::childCount() const
{
    return int(exposedChildren().size());
}

int AccessibleControl::indexOfChild(const QAccessibleInterface *child) const
{
    return child ? int(exposedChildren().indexOf(child->object())) : -1;
}

QAccessibleInterface *AccessibleControl::childAt(int x, int y) const
{
    const auto children = exposedChildren();
    for (qsizetype i = children.size() - 1; i >= 0; --i) {
        QAccessibleInterface *child = QAccessible::queryAccessibleInterface(children.at(i));
        if (!child)
            continue;
        if (QAccessibleInterface *deeper = child->childAt(x, y))
            return deeper;
        if (!child->state().invisible && child->rect().contains(x, y))
            return child;
    }
    return nullptr;
}

QRect AccessibleControl::rect() const
{
    const QQuickItem *control = item();
    if (!control->window() || !control->isVisible() || qFuzzyIsNull(control->opacity()))
        return {};
    const QPointF inScene = control->mapToScene(QPointF(0, 0));
    return QRect(control->window()->mapToGlobal(inScene.toPoint()),
                 QSize(int(control->width()), int(control->height())));
}

QString AccessibleControl::text(QAccessible::Text type) const
{
    const QObject *attached = accessibleAttached(item());
    if (!attached)
        return {};
    switch (type) {
    case QAccessible::Name:
        return attached->property("name").toString();
    case QAccessible::Description:
        return attached->property("description").toString();
    default:
        return {};
    }
}

QAccessible::Role AccessibleControl::role() const
{
    const QObject *attached = accessibleAttached(item());
    const int role = attached ? attached->property("role").toInt() : 0;
    return role != QAccessible::NoRole ? QAccessible::Role(role) : QAccessible::Button;
}

QAccessible::State AccessibleControl::state() const
{
    const QObject *attached = accessibleAttached(item());
    const auto said = [attached](const char *name) {
        return attached && attached->property(name).toBool();
    };
    QAccessible::State state;
    state.checkable = said("checkable");
    state.checked = said("checked");
    state.focusable = said("focusable") || item()->activeFocusOnTab();
    state.focused = said("focused") || item()->hasActiveFocus();
    state.selectable = said("selectable");
    state.selected = said("selected");
    state.pressed = said("pressed");
    state.defaultButton = said("defaultButton");
    const QAccessible::Role shownRole = role();
    if ((shownRole == QAccessible::CheckBox || shownRole == QAccessible::RadioButton) &&
        item()->property("checked").toBool())
        state.checked = true;

    const QRect area = rect();
    const QWindow *shownIn = window();
    if (area.isNull() || !shownIn || !shownIn->isVisible())
        state.invisible = true;
    else if (!QRect(shownIn->mapToGlobal(QPoint(0, 0)), shownIn->size()).intersects(area))
        state.offscreen = true;
    if (!item()->isEnabled()) {
        state.disabled = true;
        state.focusable = false;
    }
    return state;
}

void *AccessibleControl::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return QAccessibleObject::interface_cast(type);
}

QStringList AccessibleControl::menuEntryTitles() const
{
    QStringList titles;
    if (const MenuActions *menu = MenuActions::of(item())) {
        for (const MenuItem *entry : menu->entries())
            titles.append(entry->title());
    }
    return titles;
}

QStringList AccessibleControl::actionNames() const
{
    QStringList names{pressAction()};
    if (item()->property("checkable").toBool())
        names << toggleAction();
    const QStringList entries = menuEntryTitles();
    if (!entries.isEmpty())
        names << showMenuAction() << entries;
    return names;
}

QString AccessibleControl::localizedActionName(const QString &name) const
{
    // An entry's title is already in the user's language.
    return menuEntryTitles().contains(name) ? name
                                            : QAccessibleActionInterface::localizedActionName(name);
}

QString AccessibleControl::localizedActionDescription(const QString &name) const
{
    return menuEntryTitles().contains(name)
               ? name
               : QAccessibleActionInterface::localizedActionDescription(name);
}

void AccessibleControl::doAction(const QString &name)
{
    QQuickItem *control = item();
    if (!control->isEnabled())
        return;
    if (name == pressAction() || name == toggleAction()) {
        // As a click does: a check box or switch changes first, then says so.
        if (control->property("checkable").toBool()) {
            QMetaObject::invokeMethod(control, "toggle");
            QMetaObject::invokeMethod(control, "toggled");
        }
        QMetaObject::invokeMethod(control, "clicked");
        return;
    }
    MenuActions *menu = MenuActions::of(control);
    if (!menu)
        return;
    if (name == showMenuAction())
        emit menu->showMenu();
    else if (const int entry = int(menuEntryTitles().indexOf(name)); entry >= 0)
        menu->pick(entry);
}

QStringList AccessibleControl::keyBindingsForAction(const QString &name) const
{
    Q_UNUSED(name)
    return {};
}
