#pragma once

#include "MenuController.h"
#include "MenuItem.h"

#include <QList>
#include <QVariant>
#include <memory>
#include <utility>
#include <vector>

// A menu entry that carries the item it acts on, so the receiving screen knows which row was
// pressed.
class KPDocumentPickerMenuItem : public MenuItem {
    Q_OBJECT

public:
    KPDocumentPickerMenuItem(const QString &title, const QByteArray &action,
                             const QVariant &dataItem, QObject *parent = nullptr)
        : MenuItem(title, action, parent), m_dataItem(dataItem)
    {
    }
    QVariant dataItem() const { return m_dataItem; }
    void setDataItem(const QVariant &item) { m_dataItem = item; }

    // One row's menu: an entry per (title, action), each carrying `dataItem`.
    static std::vector<std::unique_ptr<KPDocumentPickerMenuItem>>
    entries(const QVariant &dataItem, const QList<std::pair<QString, QByteArray>> &titledActions)
    {
        std::vector<std::unique_ptr<KPDocumentPickerMenuItem>> made;
        for (const auto &[title, action] : titledActions)
            made.push_back(std::make_unique<KPDocumentPickerMenuItem>(title, action, dataItem));
        return made;
    }

    // What a picked entry acts on: the data of the shared menu's first entry (every entry of
    // one row carries the same).
    static QVariant dataItemOf(MenuController *sender)
    {
        const auto shown = sender ? sender->menuItems() : QList<MenuItem *>{};
        const auto *entry =
            shown.isEmpty() ? nullptr : qobject_cast<KPDocumentPickerMenuItem *>(shown.first());
        return entry ? entry->dataItem() : QVariant();
    }

private:
    QVariant m_dataItem;
};
