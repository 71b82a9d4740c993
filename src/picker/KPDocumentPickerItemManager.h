#pragma once

#include "KPDocumentPickerItem.h"
#include "KPDocumentPickerSortType.h"

#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <QStringList>
#include <functional>
#include <memory>

class DispatchQueue;
class TableView;

// Owns one picker's listing and derives what its list shows: a flat sorted list, lettered
// sections with an index under name sorts of long lists, or a flat filtered list while a search
// string is set. Every change of items, order or search asks for a rebuild on the picker's
// item-builder queue ("KPDocumentPickerViewController.itemBuilderQueue", owned here); the
// newest request wins: a rebuild that a later request overtook is skipped or its result
// dropped. The finished snapshot is swapped in on the main thread, which then reloads the table
// and calls `contentReloadedHandler`; the main thread never sorts or filters.
//
// Thread-safety: `setItems` and the getters may be called from any thread; every other member
// is main-thread only. The table-facing lookups read the snapshot last handed to the table,
// which is replaced on the main thread right before the reload, so the table never sees
// numbers that differ from the ones it was loaded with. Destroying the manager never waits for
// a rebuild: one still running finishes on its own and its result is dropped.
class KPDocumentPickerItemManager : public QObject {
    Q_OBJECT

public:
    explicit KPDocumentPickerItemManager(QObject *parent = nullptr);
    ~KPDocumentPickerItemManager() override;

    KPDocumentPickerItems items() const;
    // A different list (not the same shared data) rebuilds, when a table is set; returns
    // whether it does.
    bool setItems(const KPDocumentPickerItems &items);
    KPDocumentPickerSortType sortingType() const;
    void setSortingType(KPDocumentPickerSortType type);
    QString searchString() const;
    void setSearchString(const QString &search);

    // The table to reload; its row height and size decide about sections (`updateTableGeometry`
    // takes them again after the table changed size, and rebuilds when that changes whether
    // the listing has sections). Setting it never rebuilds.
    void setTableView(TableView *tableView);
    void updateTableGeometry();
    void setContentReloadedHandler(std::function<void()> handler)
    {
        m_contentReloadedHandler = std::move(handler);
    }

    bool sectionIndexIsVisible() const { return sortingType() < 2; }

    // Asks for a rebuild (from any thread); the table follows once it is done.
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

    // The steps of a rebuild, as pure functions (each makes its keys afresh; the rebuilds keep
    // theirs per listing).
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

    // What a rebuild starts from.
    struct Inputs {
        KPDocumentPickerItems items;
        bool itemsSet = false;
        KPDocumentPickerSortType sortingType = KPDocumentPickerSortTypeNameAscending;
        QString searchString;
        bool hasTable = false;
        QSizeF tableSize;
        double rowHeight = 0;
    };
    struct Shared;

private:
    // Changes the inputs under the lock; rebuilds when `change` says the derived lists differ
    // (and a table is set). Returns whether it rebuilds.
    bool update(const std::function<bool(Inputs &)> &change);
    void show(std::shared_ptr<const Derived> derived);
    void takeTableGeometry(Inputs &in) const;

    std::shared_ptr<Shared> m_shared; // also held by queued rebuilds
    std::unique_ptr<DispatchQueue> m_builderQueue;
    QPointer<QObject> m_self; // made on the main thread, for results coming back

    std::shared_ptr<const Derived> m_shown; // main thread: what the table was loaded with
    QPointer<TableView> m_tableView;
    std::function<void()> m_contentReloadedHandler;
};
