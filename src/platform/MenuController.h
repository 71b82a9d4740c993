#pragma once

#include "MenuItem.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>

// The process-wide item menu. A responder (a list row) gives it entries and the rectangle to
// point at and makes it visible; QML draws it there. A picked entry's action travels up the
// responder chain, which is the QObject parent chain from the responder (row, list, screen):
// each object is asked `canPerformAction(action)` if it has such an invokable, and otherwise
// accepts the action when it has an invokable method of the action's name taking a
// MenuController*. Receivers read the entries (`menuItems`) to see what was meant.
//
// Thread-safety: main thread only.
class MenuController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("There is one shared menu")
    Q_PROPERTY(QList<MenuItem *> menuItems READ menuItems NOTIFY changed)
    Q_PROPERTY(QRectF targetRect READ targetRect NOTIFY changed)
    Q_PROPERTY(bool menuVisible READ isMenuVisible NOTIFY changed)

public:
    static MenuController *sharedMenuController();

    // The entries still alive (an entry's owner may delete it while the menu is up).
    QList<MenuItem *> menuItems() const;
    QRectF targetRect() const { return m_targetRect; }
    bool isMenuVisible() const { return m_visible; }
    // The object that showed the menu last, while it exists.
    QObject *responder() const { return m_responder; }

    // Entries are shared with their owner, not taken over.
    void showMenu(QObject *responder, const QList<MenuItem *> &items, QRectF targetRect);
    Q_INVOKABLE void hideMenu();

    // The user picked an entry: hides the menu, sends the action. Returns whether someone took it.
    Q_INVOKABLE bool pick(int index);

signals:
    void changed();

private:
    void hideAndForget();

    QPointer<QObject> m_responder;
    QList<QPointer<MenuItem>> m_items;
    QRectF m_targetRect;
    bool m_visible = false;
};
