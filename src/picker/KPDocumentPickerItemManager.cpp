#include "KPDocumentPickerItemManager.h"

#include "NameCollation.h"
#include "TableView.h"

#include <QMetaObject>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

// Sorts by a key made once per item: a comparison then costs no collation or time-zone work,
// which keeps folders of 100,000 entries quick to order.
template <typename KeyOf, typename Less>
KPDocumentPickerItems stableSortedByKey(const KPDocumentPickerItems &items, KeyOf keyOf, Less less)
{
    using Key = decltype(keyOf(items.front()));
    std::vector<std::pair<Key, qsizetype>> keyed;
    keyed.reserve(items.size());
    for (qsizetype i = 0; i < items.size(); ++i)
        keyed.emplace_back(keyOf(items.at(i)), i);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [&less](const auto &a, const auto &b) { return less(a.first, b.first); });
    KPDocumentPickerItems sorted;
    sorted.reserve(items.size());
    for (const auto &entry : keyed)
        sorted.append(items.at(entry.second));
    return sorted;
}

KPDocumentPickerItems sortedByName(const KPDocumentPickerItems &items)
{
    const auto &collation = NameCollation::current();
    return stableSortedByKey(
        items, [&collation](const auto &item) { return collation.sortKey(item->fileName); },
        std::less<QByteArray>());
}

} // namespace

KPDocumentPickerItemManager::KPDocumentPickerItemManager(QObject *parent)
    : QObject(parent), m_latest(std::make_shared<Derived>()), m_shown(m_latest)
{
}

KPDocumentPickerItemManager::~KPDocumentPickerItemManager() = default;

KPDocumentPickerItems KPDocumentPickerItemManager::items() const
{
    std::lock_guard lock(m_mutex);
    return m_items;
}

void KPDocumentPickerItemManager::setItems(const KPDocumentPickerItems &items)
{
    bool rebuild;
    {
        std::lock_guard lock(m_mutex);
        // The same handover twice is no change; a new list, even an equal one, is. The first
        // handover always counts, empty or not, so an empty folder gets its reload too.
        const bool same = m_itemsSet && items.isSharedWith(m_items) &&
                          items.size() == m_items.size() && (!items.isEmpty() || m_items.isEmpty());
        rebuild = !same && m_hasTable;
        m_items = items;
        m_itemsSet = true;
    }
    if (rebuild)
        rebuildItems();
}

KPDocumentPickerSortType KPDocumentPickerItemManager::sortingType() const
{
    std::lock_guard lock(m_mutex);
    return m_sortingType;
}

void KPDocumentPickerItemManager::setSortingType(KPDocumentPickerSortType type)
{
    bool rebuild;
    {
        std::lock_guard lock(m_mutex);
        rebuild = type != m_sortingType && m_hasTable;
        m_sortingType = type;
    }
    if (rebuild)
        rebuildItems();
}

QString KPDocumentPickerItemManager::searchString() const
{
    std::lock_guard lock(m_mutex);
    return m_searchString;
}

void KPDocumentPickerItemManager::setSearchString(const QString &search)
{
    bool rebuild;
    {
        std::lock_guard lock(m_mutex);
        rebuild = search != m_searchString && m_hasTable;
        m_searchString = search;
    }
    if (rebuild)
        rebuildItems();
}

void KPDocumentPickerItemManager::setTableView(TableView *tableView)
{
    m_tableView = tableView;
    updateTableGeometry();
}

void KPDocumentPickerItemManager::updateTableGeometry()
{
    std::lock_guard lock(m_mutex);
    m_hasTable = m_tableView != nullptr;
    m_tableSize = m_tableView ? m_tableView->size() : QSizeF();
    m_rowHeight = m_tableView ? m_tableView->rowHeight() : 0;
}

void KPDocumentPickerItemManager::rebuildItems()
{
    KPDocumentPickerItems items;
    KPDocumentPickerSortType type;
    QString search;
    bool hasTable;
    QSizeF size;
    double rowHeight;
    {
        std::lock_guard lock(m_mutex);
        items = m_items;
        type = m_sortingType;
        search = m_searchString;
        hasTable = m_hasTable;
        size = m_tableSize;
        rowHeight = m_rowHeight;
    }
    auto derived = std::make_shared<Derived>();
    if (!search.isEmpty()) {
        derived->filteredItems =
            sortedItemsArrayWithArray(filteredItemsWithItems(items, search), type);
    } else if (hasTable && shouldUseSections(int(items.size()), type, size, rowHeight)) {
        derived->sectionTitles = sectionTitlesForItems(type);
        derived->sectionedItems = sectionedItemsWithArray(items, type);
    } else {
        derived->sortedItems = sortedItemsArrayWithArray(items, type);
    }
    {
        std::lock_guard lock(m_mutex);
        m_latest = std::move(derived);
    }
    updateTableView();
}

void KPDocumentPickerItemManager::updateTableView()
{
    // Always later, on the main thread, even from there: the table follows on the next turn.
    QMetaObject::invokeMethod(
        this,
        [this] {
            {
                std::lock_guard lock(m_mutex);
                m_shown = m_latest;
            }
            if (m_tableView)
                m_tableView->reloadData();
            if (m_contentReloadedHandler)
                m_contentReloadedHandler();
        },
        Qt::QueuedConnection);
}

int KPDocumentPickerItemManager::numberOfSections() const
{
    return m_shown->sectionedItems ? int(m_shown->sectionedItems->size()) : 1;
}

int KPDocumentPickerItemManager::numberOfRowsForSection(int section) const
{
    const Derived &d = *m_shown;
    if (d.filteredItems)
        return int(d.filteredItems->size());
    if (d.sectionedItems)
        return section >= 0 && section < d.sectionedItems->size()
                   ? int(d.sectionedItems->at(section).size())
                   : 0;
    return d.sortedItems ? int(d.sortedItems->size()) : 0;
}

KPDocumentPickerItemPtr KPDocumentPickerItemManager::itemForIndexPath(int section, int row) const
{
    const Derived &d = *m_shown;
    const KPDocumentPickerItems *list =
        d.filteredItems ? &*d.filteredItems
        : d.sectionedItems
            ? (section >= 0 && section < d.sectionedItems->size() ? &d.sectionedItems->at(section)
                                                                  : nullptr)
        : d.sortedItems ? &*d.sortedItems
                        : nullptr;
    return list && row >= 0 && row < list->size() ? list->at(row) : nullptr;
}

QString KPDocumentPickerItemManager::titleForHeaderInSection(int section) const
{
    const Derived &d = *m_shown;
    if (!d.sectionedItems || section < 0 || section >= d.sectionedItems->size() ||
        d.sectionedItems->at(section).isEmpty())
        return {};
    return d.sectionTitles.value(section);
}

QStringList KPDocumentPickerItemManager::sectionIndexTitles() const
{
    if (m_shown->sectionTitles.isEmpty())
        return {};
    return QStringList{QStringLiteral("{search}")} + m_shown->sectionTitles;
}

int KPDocumentPickerItemManager::sectionForSectionIndexAtIndex(int index) const
{
    // One index title per section, in the same order, behind the search entry.
    return index <= 0 ? -1 : index - 1;
}

KPDocumentPickerItems
KPDocumentPickerItemManager::sortedItemsArrayWithArray(const KPDocumentPickerItems &items,
                                                       KPDocumentPickerSortType type)
{
    KPDocumentPickerItems sorted = items;
    switch (type) {
    case KPDocumentPickerSortTypeNameAscending:
    case KPDocumentPickerSortTypeNameDescending:
        sorted = sortedByName(items);
        if (type == KPDocumentPickerSortTypeNameDescending)
            std::reverse(sorted.begin(), sorted.end());
        break;
    case KPDocumentPickerSortTypeDateAscending:
    case KPDocumentPickerSortTypeDateDescending: {
        const bool up = type == KPDocumentPickerSortTypeDateAscending;
        // Items without a date count as the oldest.
        sorted = stableSortedByKey(
            items,
            [](const auto &item) {
                return item->lastModifiedDate.isValid() ? item->lastModifiedDate.toMSecsSinceEpoch()
                                                        : std::numeric_limits<qint64>::min();
            },
            [up](qint64 a, qint64 b) { return up ? a < b : b < a; });
        break;
    }
    case KPDocumentPickerSortTypeSizeAscending:
    case KPDocumentPickerSortTypeSizeDescending: {
        const bool up = type == KPDocumentPickerSortTypeSizeAscending;
        std::stable_sort(sorted.begin(), sorted.end(), [up](const auto &a, const auto &b) {
            return up ? a->fileSize < b->fileSize : b->fileSize < a->fileSize;
        });
        break;
    }
    }
    return sorted;
}

QList<KPDocumentPickerItems>
KPDocumentPickerItemManager::sectionedItemsWithArray(const KPDocumentPickerItems &items,
                                                     KPDocumentPickerSortType type)
{
    const auto &collation = NameCollation::current();
    QList<KPDocumentPickerItems> sections(collation.sectionTitles().size());
    for (const auto &item : items)
        sections[collation.sectionOf(item->fileName)].append(item);
    for (auto &section : sections)
        section = sortedByName(section);
    if (type == KPDocumentPickerSortTypeNameDescending)
        std::reverse(sections.begin(), sections.end());
    return sections;
}

QStringList KPDocumentPickerItemManager::sectionTitlesForItems(KPDocumentPickerSortType type)
{
    QStringList titles = NameCollation::current().sectionTitles();
    if (type == KPDocumentPickerSortTypeNameDescending)
        std::reverse(titles.begin(), titles.end());
    return titles;
}

KPDocumentPickerItems
KPDocumentPickerItemManager::filteredItemsWithItems(const KPDocumentPickerItems &items,
                                                    const QString &search)
{
    KPDocumentPickerItems kept;
    for (const auto &item : items)
        if (NameCollation::containsIgnoringCaseAndAccents(item->fileName, search))
            kept.append(item);
    return kept;
}

bool KPDocumentPickerItemManager::shouldUseSections(int count, KPDocumentPickerSortType type,
                                                    QSizeF size, double rowHeight)
{
    if (type >= 2)
        return false;
    const double smaller = std::min(size.width(), size.height());
    return std::floor(count * rowHeight) >= std::floor(2.5 * smaller);
}
