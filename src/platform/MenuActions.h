#pragma once

#include "MenuItem.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

// The entries of a control's item menu, offered to assistive tools as further actions of the
// control (AccessibleControl): "ShowMenu" asks the QML to open the menu where the control is
// (`showMenu`), and each entry, named by its title, runs as picking it in the open menu does:
// its action travels the responder chain from `responder`. In QML:
//   MenuActions.entries: cell.menuItems
//   MenuActions.responder: cell
//   MenuActions.onShowMenu: openMenu()
//
// Thread-safety: main thread only.
class MenuActions : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("MenuActions is an attached property")
    QML_ATTACHED(MenuActions)
    Q_PROPERTY(QList<MenuItem *> entries READ entries WRITE setEntries NOTIFY entriesChanged)
    Q_PROPERTY(QObject *responder READ responder WRITE setResponder NOTIFY responderChanged)

public:
    explicit MenuActions(QObject *parent = nullptr);
    static MenuActions *qmlAttachedProperties(QObject *object);
    // The object's MenuActions if its QML set any, else null.
    static MenuActions *of(const QObject *object);

    QList<MenuItem *> entries() const;
    void setEntries(const QList<MenuItem *> &entries);
    QObject *responder() const { return m_responder; }
    void setResponder(QObject *responder);

    // Runs the entry at `index` as the shared menu does when it is picked there; false when
    // there is no such entry or nobody took its action.
    bool pick(int index);

signals:
    void entriesChanged();
    void responderChanged();
    void showMenu();

private:
    QList<QPointer<MenuItem>> m_entries;
    QPointer<QObject> m_responder;
};
