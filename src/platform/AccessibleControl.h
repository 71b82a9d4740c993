#pragma once

#include <QAccessibleObject>
#include <QStringList>

class QQuickItem;

// What assistive tools see of a Qt Quick Controls button (Button, ToolButton, MenuItem,
// ItemDelegate, any AbstractButton): its role, name and description as its QML `Accessible`
// says, true states, and actions that do what a click does.
//
// Qt 6.4's own interface for these controls offers a "Press" that reports success and does
// nothing unless the QML also handles `Accessible.onPressAction` (the controls got their own
// press only in 6.5), and never says that a control is disabled. This interface takes its
// place for every such control: "Press" emits the control's `clicked` while it is enabled, and
// a disabled control says so. A control that offers its menu's entries (`MenuActions`) also
// has "ShowMenu" and one action per entry, named by the entry's title; running one picks that
// entry as the menu itself would. QML of a control therefore never sets
// `Accessible.onPressAction`: it would be ignored.
//
// `installFactory` puts it in place (once; importing the QML module Ombrisk.Platform does it).
//
// Thread-safety: main thread only, like the items it describes.
class AccessibleControl : public QAccessibleObject, public QAccessibleActionInterface {
public:
    static void installFactory();

    explicit AccessibleControl(QQuickItem *item);

    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QRect rect() const override;
    QString text(QAccessible::Text type) const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    QString localizedActionName(const QString &name) const override;
    QString localizedActionDescription(const QString &name) const override;
    void doAction(const QString &name) override;
    QStringList keyBindingsForAction(const QString &name) const override;

private:
    QQuickItem *item() const;
    // The accessible items under `item`, looking through the ones assistive tools don't see.
    QList<QQuickItem *> exposedChildren() const;
    // The entries `MenuActions` offers, with their titles.
    QStringList menuEntryTitles() const;
};
