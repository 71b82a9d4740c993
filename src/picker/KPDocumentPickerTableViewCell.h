#pragma once

#include "KPDocumentPickerMenuItem.h"
#include "MenuController.h"
#include "TableViewCell.h"

#include <QList>
#include <memory>

// A picker row: a long press (or a right click) opens the shared menu with the row's entries,
// and the row is highlighted (`focused`) exactly while that menu shows for it.
// The entries are made afresh each time the row is configured, owned by the cell. The cell
// itself takes only "copyAction:"; every other entry's action goes on to the list and the screen.
class KPDocumentPickerTableViewCell : public TableViewCell {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the picker")
    Q_PROPERTY(bool focused READ hasFocus NOTIFY focusChanged)
    Q_PROPERTY(QList<MenuItem *> menuItems READ menuItems NOTIFY menuItemsChanged)

public:
    using TableViewCell::TableViewCell;

    QList<MenuItem *> menuItems() const;
    // Takes over the entries; the previous ones are deleted.
    void setMenuItems(std::vector<std::unique_ptr<KPDocumentPickerMenuItem>> items);

    bool hasFocus() const { return m_focused; }
    void resignFocus();

    // From QML: the press began (only then; moving or releasing does nothing), at `frame`
    // within the list's content.
    Q_INVOKABLE void longPress(QRectF frame);
    void showMenu(QRectF frame);

    Q_INVOKABLE bool canPerformAction(const QByteArray &action) const;
    Q_INVOKABLE void copyAction(MenuController *sender) { Q_UNUSED(sender) }

signals:
    void focusChanged();
    void menuItemsChanged();

private:
    std::vector<std::unique_ptr<KPDocumentPickerMenuItem>> m_menuItems;
    void setFocused(bool focused);
    void menuChanged();

    bool m_focused = false;
};
