#pragma once

#include "MenuItem.h"

#include <QVariant>

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

private:
    QVariant m_dataItem;
};
