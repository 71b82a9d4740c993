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
}

void KPDocumentPickerTableViewCell::resignFocus()
{
    if (!m_focused)
        return;
    m_focused = false;
    emit focusChanged();
}

void KPDocumentPickerTableViewCell::longPress(QRectF frame)
{
    showMenu(frame);
}

void KPDocumentPickerTableViewCell::showMenu(QRectF frame)
{
    if (!m_focused) {
        m_focused = true;
        emit focusChanged();
    }
    if (m_menuItems.empty())
        return;
    MenuController::sharedMenuController()->showMenu(this, menuItems(), frame);
}

bool KPDocumentPickerTableViewCell::canPerformAction(const QByteArray &action) const
{
    return action == "copyAction:";
}
