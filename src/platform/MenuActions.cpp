#include "MenuActions.h"

#include "MenuController.h"

#include <QtQml/qqml.h>

MenuActions::MenuActions(QObject *parent) : QObject(parent) {}

MenuActions *MenuActions::qmlAttachedProperties(QObject *object)
{
    return new MenuActions(object);
}

MenuActions *MenuActions::of(const QObject *object)
{
    return qobject_cast<MenuActions *>(qmlAttachedPropertiesObject<MenuActions>(object, false));
}

QList<MenuItem *> MenuActions::entries() const
{
    QList<MenuItem *> alive;
    for (const auto &entry : m_entries) {
        if (entry)
            alive.append(entry);
    }
    return alive;
}

void MenuActions::setEntries(const QList<MenuItem *> &entries)
{
    m_entries.clear();
    for (MenuItem *entry : entries)
        m_entries.append(entry);
    emit entriesChanged();
}

void MenuActions::setResponder(QObject *responder)
{
    if (responder == m_responder)
        return;
    m_responder = responder;
    emit responderChanged();
}

bool MenuActions::pick(int index)
{
    const auto shown = entries();
    if (!m_responder || index < 0 || index >= shown.size())
        return false;
    auto *menu = MenuController::sharedMenuController();
    menu->showMenu(m_responder, shown, {});
    return menu->pick(index);
}
