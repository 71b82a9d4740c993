#include "KPDocumentPickerTableViewCell.h"

#include "MenuController.h"

QList<MenuItem *> KPDocumentPickerTableViewCell::menuItems() const
{
    QList<MenuItem *> items;
    for (const auto &item : m_menuItems)
        items.append(item.get());
    return items;
}

void KPDocumentPickerTableViewCell::setMenuItems(
    std::vector<std::unique_ptr<KPDocumentPickerMenuItem>> items)
{
    auto *menu = MenuController::sharedMenuController();
    // The shared menu may still show the old entries: take them down before they go.
    if (menu->isMenuVisible() && !m_menuItems.empty() &&
        menu->menuItems().contains(m_menuItems.front().get()))
        menu->hideMenu();
    m_menuItems = std::move(items);
    emit menuItemsChanged();
}

void KPDocumentPickerTableViewCell::resignFocus()
{
    setFocused(false);
}

void KPDocumentPickerTableViewCell::setFocused(bool focused)
{
    if (focused == m_focused)
        return;
    m_focused = focused;
    auto *menu = MenuController::sharedMenuController();
    if (focused)
        connect(menu, &MenuController::changed, this, &KPDocumentPickerTableViewCell::menuChanged);
    else
        disconnect(menu, &MenuController::changed, this,
                   &KPDocumentPickerTableViewCell::menuChanged);
    emit focusChanged();
}

void KPDocumentPickerTableViewCell::menuChanged()
{
    const auto *menu = MenuController::sharedMenuController();
    if (!menu->isMenuVisible() || menu->responder() != this)
        resignFocus();
}

void KPDocumentPickerTableViewCell::longPress(QRectF frame)
{
    showMenu(frame);
}

void KPDocumentPickerTableViewCell::showMenu(QRectF frame)
{
    if (m_menuItems.empty())
        return;
    MenuController::sharedMenuController()->showMenu(this, menuItems(), frame);
    setFocused(true);
}

bool KPDocumentPickerTableViewCell::canPerformAction(const QByteArray &action) const
{
    return action == "copyAction:";
}
