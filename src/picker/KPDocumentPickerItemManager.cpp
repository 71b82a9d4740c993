#include "KPDocumentPickerItemManager.h"

#include "DispatchQueue.h"
#include "KPDocumentPickerItemKeys.h"
#include "NameCollation.h"
#include "TableView.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <utility>

struct KPDocumentPickerItemManager::Shared {
    std::mutex mutex; // guards the two fields below
    Inputs inputs;
    quint64 requested = 0; // the number of the newest rebuild asked for
    // The keys of the listing last rebuilt; used on the builder queue only.
    std::unique_ptr<KPDocumentPickerItemKeys> keys;

    bool isNewest(quint64 request)
    {
        std::lock_guard lock(mutex);
        return request == requested;
    }
};

namespace {

using Derived = KPDocumentPickerItemManager::Derived;

std::shared_ptr<const Derived> derive(KPDocumentPickerItemKeys &keys,
                                      const KPDocumentPickerItemManager::Inputs &in)
{
    auto derived = std::make_shared<Derived>();
    const KPDocumentPickerSortType type = in.sortingType;
    if (!in.searchString.isEmpty()) {
        derived->filteredItems = keys.sorted(type, keys.matching(in.searchString));
    } else if (in.hasTable && KPDocumentPickerItemManager::shouldUseSections(
                                  int(keys.items().size()), type, in.tableSize, in.rowHeight)) {
        derived->sectionTitles = KPDocumentPickerItemManager::sectionTitlesForItems(type);
        derived->sectionedItems = keys.sectioned(type);
    } else {
        derived->sortedItems = keys.sorted(type);
    }
    return derived;
}

// On the builder queue: skipped when a newer request is queued behind, dropped when one came
// while it ran.
std::shared_ptr<const Derived> rebuild(KPDocumentPickerItemManager::Shared &shared, quint64 request)
{
    KPDocumentPickerItemManager::Inputs inputs;
    {
        std::lock_guard lock(shared.mutex);
        if (request != shared.requested)
            return nullptr;
        inputs = shared.inputs;
    }
    if (!shared.keys || !shared.keys->items().isSharedWith(inputs.items) ||
        shared.keys->items().size() != inputs.items.size())
        shared.keys = std::make_unique<KPDocumentPickerItemKeys>(inputs.items);
    auto derived = derive(*shared.keys, inputs);
    return shared.isNewest(request) ? derived : nullptr;
}

} // namespace

KPDocumentPickerItemManager::KPDocumentPickerItemManager(QObject *parent)
    : QObject(parent), m_shared(std::make_shared<Shared>()),
      m_builderQueue(std::make_unique<DispatchQueue>(
          QStringLiteral("KPDocumentPickerViewController.itemBuilderQueue"))),
      m_self(this), m_shown(std::make_shared<Derived>())
{
}

KPDocumentPickerItemManager::~KPDocumentPickerItemManager() = default;

KPDocumentPickerItems KPDocumentPickerItemManager::items() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->inputs.items;
}

bool KPDocumentPickerItemManager::update(const std::function<bool(Inputs &)> &change)
{
    quint64 request;
    {
        std::lock_guard lock(m_shared->mutex);
        if (!change(m_shared->inputs) || !m_shared->inputs.hasTable)
            return false;
        request = ++m_shared->requested;
    }
    m_builderQueue->async([shared = m_shared, self = m_self, request] {
        auto derived = rebuild(*shared, request);
        if (!derived)
            return;
        DispatchQueue::main(self, [self, shared, request, derived = std::move(derived)] {
            if (shared->isNewest(request))
                static_cast<KPDocumentPickerItemManager *>(self.data())->show(derived);
        });
    });
    return true;
}

bool KPDocumentPickerItemManager::setItems(const KPDocumentPickerItems &items)
{
    return update([&items](Inputs &in) {
        // The same handover twice is no change; a new list, even an equal one, is. The first
        // handover always counts, empty or not, so an empty folder gets its reload too.
        const bool same = in.itemsSet && items.isSharedWith(in.items) &&
                          items.size() == in.items.size() &&
                          (!items.isEmpty() || in.items.isEmpty());
        in.items = items;
        in.itemsSet = true;
        return !same;
    });
}

KPDocumentPickerSortType KPDocumentPickerItemManager::sortingType() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->inputs.sortingType;
}

void KPDocumentPickerItemManager::setSortingType(KPDocumentPickerSortType type)
{
    update([type](Inputs &in) { return std::exchange(in.sortingType, type) != type; });
}

QString KPDocumentPickerItemManager::searchString() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->inputs.searchString;
}

void KPDocumentPickerItemManager::setSearchString(const QString &search)
{
    update([&search](Inputs &in) { return std::exchange(in.searchString, search) != search; });
}

void KPDocumentPickerItemManager::takeTableGeometry(Inputs &in) const
{
    in.hasTable = m_tableView != nullptr;
    in.tableSize = m_tableView ? m_tableView->size() : QSizeF();
    in.rowHeight = m_tableView ? m_tableView->rowHeight() : 0;
}

void KPDocumentPickerItemManager::setTableView(TableView *tableView)
{
    m_tableView = tableView;
    std::lock_guard lock(m_shared->mutex);
    takeTableGeometry(m_shared->inputs);
}

void KPDocumentPickerItemManager::updateTableGeometry()
{
    // A listing derived before the table had its size (or before a resize) is derived again
    // when the size changes the answer about sections, so the same folder in the same window
    // always gets the same sections.
    update([this](Inputs &in) {
        const auto sectioned = [&in] {
            return in.hasTable && in.itemsSet && in.searchString.isEmpty() &&
                   shouldUseSections(int(in.items.size()), in.sortingType, in.tableSize,
                                     in.rowHeight);
        };
        const bool before = sectioned();
        takeTableGeometry(in);
        return sectioned() != before;
    });
}

void KPDocumentPickerItemManager::rebuildItems()
{
    update([](Inputs &) { return true; });
}

void KPDocumentPickerItemManager::show(std::shared_ptr<const Derived> derived)
{
    // The old snapshot may hold the last references to a whole earlier listing: freed on the
    // builder queue, not here.
    m_builderQueue->async([old = std::exchange(m_shown, std::move(derived))] {});
    if (m_tableView)
        m_tableView->reloadData();
    if (m_contentReloadedHandler)
        m_contentReloadedHandler();
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
    return KPDocumentPickerItemKeys(items).sorted(type);
}

QList<KPDocumentPickerItems>
KPDocumentPickerItemManager::sectionedItemsWithArray(const KPDocumentPickerItems &items,
                                                     KPDocumentPickerSortType type)
{
    return KPDocumentPickerItemKeys(items).sectioned(type);
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
    for (const qsizetype i : KPDocumentPickerItemKeys(items).matching(search))
        kept.append(items.at(i));
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
