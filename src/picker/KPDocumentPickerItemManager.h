#pragma once

#include "KPDocumentPickerItem.h"
#include "KPDocumentPickerSortType.h"

#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <QStringList>
#include <functional>
#include <memory>
#include <mutex>

class TableView;

// Owns one picker's listing and derives what its list shows: a flat sorted list, lettered
// sections with an index under name sorts of long lists, or a flat filtered list while a search
// string is set. Every change of items, order or search rebuilds the derived lists and then
// reloads the table on the main thread and calls `contentReloadedHandler`.
//
// Thread-safety: `setItems` may be called on a worker (the picker's item-builder queue) while
// the main thread reads; every other member is main-thread only. A rebuild makes a new derived
// snapshot under a lock; the table-facing lookups read the snapshot last handed to the table,
// which is replaced on the main thread right before the reload, so the table never sees
// numbers that differ from the ones it was loaded with.
class KPDocumentPickerItemManager : public QObject {
    Q_OBJECT

public:
    explicit KPDocumentPickerItemManager(QObject *parent = nullptr);
    ~KPDocumentPickerItemManager() override;

    KPDocumentPickerItems items() const;
    // A different list (not the same shared data) rebuilds, when a table is set.
    void setItems(const KPDocumentPickerItems &items);
    KPDocumentPickerSortType sortingType() const;
    void setSortingType(KPDocumentPickerSortType type);
    QString searchString() const;
    void setSearchString(const QString &search);

    // The table to reload; its row height and size decide about sections (`updateTableGeometry`
    // takes them again after the table changed size). Setting it never rebuilds.
    void setTableView(TableView *tableView);
    void updateTableGeometry();
    void setContentReloadedHandler(std::function<void()> handler)
    {
        m_contentReloadedHandler = std::move(handler);
    }

    bool sectionIndexIsVisible() const { return sortingType() < 2; }

    void rebuildItems();
    void reloadItems() { rebuildItems(); }

    // What the table shows (main thread).
    int numberOfSections() const;
    int numberOfRowsForSection(int section) const;
    KPDocumentPickerItemPtr itemForIndexPath(int section, int row) const;
    QString titleForHeaderInSection(int section) const;
    // Null when there are no sections; else "{search}" and the section titles.
    QStringList sectionIndexTitles() const;
    int sectionForSectionIndexAtIndex(int index) const;

    // The steps of a rebuild, as pure functions.
    static KPDocumentPickerItems sortedItemsArrayWithArray(const KPDocumentPickerItems &items,
                                                           KPDocumentPickerSortType type);
    static QList<KPDocumentPickerItems> sectionedItemsWithArray(const KPDocumentPickerItems &items,
                                                                KPDocumentPickerSortType type);
    static QStringList sectionTitlesForItems(KPDocumentPickerSortType type);
    static KPDocumentPickerItems filteredItemsWithItems(const KPDocumentPickerItems &items,
                                                        const QString &search);
    // Sections for `count` items in a table of `size` with rows `rowHeight` high, under `type`.
    static bool shouldUseSections(int count, KPDocumentPickerSortType type, QSizeF size,
                                  double rowHeight);

    struct Derived {
        std::optional<KPDocumentPickerItems> sortedItems;
        std::optional<QList<KPDocumentPickerItems>> sectionedItems;
        QStringList sectionTitles;
        std::optional<KPDocumentPickerItems> filteredItems;
    };

private:
    void updateTableView();

    mutable std::mutex m_mutex; // guards the fields below up to m_latest
    KPDocumentPickerItems m_items;
    bool m_itemsSet = false;
    KPDocumentPickerSortType m_sortingType = KPDocumentPickerSortTypeNameAscending;
    QString m_searchString;
    bool m_hasTable = false;
    QSizeF m_tableSize;
    double m_rowHeight = 0;
    std::shared_ptr<const Derived> m_latest;

    std::shared_ptr<const Derived> m_shown; // main thread: what the table was loaded with
    QPointer<TableView> m_tableView;
    std::function<void()> m_contentReloadedHandler;
};
