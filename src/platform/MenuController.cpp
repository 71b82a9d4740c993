#include "MenuController.h"

#include <QMetaMethod>

namespace {

QByteArray methodName(const QByteArray &action)
{
    return action.endsWith(':') ? action.chopped(1) : action;
}

bool refuses(QObject *object, const QByteArray &action)
{
    bool can = true;
    const auto *meta = object->metaObject();
    if (meta->indexOfMethod("canPerformAction(QByteArray)") < 0)
        return false;
    QMetaObject::invokeMethod(object, "canPerformAction", Qt::DirectConnection,
                              Q_RETURN_ARG(bool, can), Q_ARG(QByteArray, action));
    return !can;
}

} // namespace

MenuController *MenuController::sharedMenuController()
{
    static MenuController menu;
    return &menu;
}

QList<MenuItem *> MenuController::menuItems() const
{
    QList<MenuItem *> alive;
    for (const auto &item : m_items) {
        if (item)
            alive.append(item);
    }
    return alive;
}

void MenuController::showMenu(QObject *responder, const QList<MenuItem *> &items, QRectF targetRect)
{
    m_responder = responder;
    m_items.clear();
    for (MenuItem *item : items) {
        m_items.append(item);
        // A vanished entry takes the menu down, so nothing points at it.
        connect(item, &QObject::destroyed, this, &MenuController::hideAndForget,
                Qt::UniqueConnection);
    }
    m_targetRect = targetRect;
    m_visible = !items.isEmpty();
    emit changed();
}

void MenuController::hideMenu()
{
    if (!m_visible)
        return;
    m_visible = false;
    emit changed();
}

void MenuController::hideAndForget()
{
    m_visible = false;
    m_items.clear();
    emit changed();
}

bool MenuController::pick(int index)
{
    if (index < 0 || index >= m_items.size() || !m_items.at(index) || !m_responder)
        return false;
    const QByteArray action = m_items.at(index)->action();
    const QByteArray name = methodName(action);
    const QByteArray signature = name + "(MenuController*)";
    hideMenu();
    for (QObject *object = m_responder; object; object = object->parent()) {
        if (refuses(object, action))
            continue;
        if (object->metaObject()->indexOfMethod(signature.constData()) < 0)
            continue;
        return QMetaObject::invokeMethod(object, name.constData(), Qt::DirectConnection,
                                         Q_ARG(MenuController *, this));
    }
    return false;
}
