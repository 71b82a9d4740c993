#include "KPDocumentPickerItemKeys.h"

#include "NameCollation.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

std::vector<qsizetype> allIndexes(qsizetype count)
{
    std::vector<qsizetype> order(size_t(count), 0);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

KPDocumentPickerItems pick(const KPDocumentPickerItems &items, const std::vector<qsizetype> &order)
{
    KPDocumentPickerItems picked;
    picked.reserve(qsizetype(order.size()));
    for (const qsizetype i : order)
        picked.append(items.at(i));
    return picked;
}

// Items without a date count as the oldest.
qint64 dateKey(const KPDocumentPickerItemPtr &item)
{
    return item->lastModifiedDate.isValid() ? item->lastModifiedDate.toMSecsSinceEpoch()
                                            : std::numeric_limits<qint64>::min();
}

} // namespace

const std::vector<QByteArray> &KPDocumentPickerItemKeys::nameKeys()
{
    if (m_nameKeys.empty() && !m_items.isEmpty()) {
        const auto &collation = NameCollation::current();
        m_nameKeys.reserve(size_t(m_items.size()));
        for (const auto &item : m_items)
            m_nameKeys.push_back(collation.sortKey(item->fileName));
    }
    return m_nameKeys;
}

KPDocumentPickerItems KPDocumentPickerItemKeys::byName(std::vector<qsizetype> order)
{
    const auto &keys = nameKeys();
    std::stable_sort(order.begin(), order.end(),
                     [&keys](qsizetype a, qsizetype b) { return keys[a] < keys[b]; });
    return pick(m_items, order);
}

KPDocumentPickerItems
KPDocumentPickerItemKeys::sorted(KPDocumentPickerSortType type,
                                 const std::optional<std::vector<qsizetype>> &subset)
{
    std::vector<qsizetype> order = subset ? *subset : allIndexes(m_items.size());
    const bool up = type % 2 == 0;
    switch (type) {
    case KPDocumentPickerSortTypeNameAscending:
    case KPDocumentPickerSortTypeNameDescending: {
        KPDocumentPickerItems named = byName(std::move(order));
        if (!up)
            std::reverse(named.begin(), named.end());
        return named;
    }
    case KPDocumentPickerSortTypeDateAscending:
    case KPDocumentPickerSortTypeDateDescending: {
        std::vector<qint64> dates;
        dates.reserve(order.size());
        for (const qsizetype i : order)
            dates.push_back(dateKey(m_items.at(i)));
        std::vector<qsizetype> positions = allIndexes(qsizetype(order.size()));
        std::stable_sort(positions.begin(), positions.end(), [&dates, up](auto a, auto b) {
            return up ? dates[a] < dates[b] : dates[b] < dates[a];
        });
        for (auto &position : positions)
            position = order[position];
        return pick(m_items, positions);
    }
    case KPDocumentPickerSortTypeSizeAscending:
    case KPDocumentPickerSortTypeSizeDescending:
        std::stable_sort(order.begin(), order.end(), [this, up](qsizetype a, qsizetype b) {
            const quint64 x = m_items.at(a)->fileSize, y = m_items.at(b)->fileSize;
            return up ? x < y : y < x;
        });
        return pick(m_items, order);
    }
    return pick(m_items, order);
}

std::vector<qsizetype> KPDocumentPickerItemKeys::matching(const QString &search)
{
    if (m_foldedNames.empty() && !m_items.isEmpty()) {
        m_foldedNames.reserve(size_t(m_items.size()));
        for (const auto &item : m_items)
            m_foldedNames.push_back(NameCollation::foldedForSearch(item->fileName));
    }
    const QString needle = NameCollation::foldedForSearch(search);
    std::vector<qsizetype> kept;
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_foldedNames[size_t(i)].contains(needle))
            kept.push_back(i);
    }
    return kept;
}

QList<KPDocumentPickerItems> KPDocumentPickerItemKeys::sectioned(KPDocumentPickerSortType type)
{
    const auto &collation = NameCollation::current();
    if (m_sections.empty() && !m_items.isEmpty()) {
        m_sections.reserve(size_t(m_items.size()));
        for (const auto &item : m_items)
            m_sections.push_back(collation.sectionOf(item->fileName));
    }
    std::vector<std::vector<qsizetype>> members(size_t(collation.sectionTitles().size()));
    for (qsizetype i = 0; i < m_items.size(); ++i)
        members[size_t(m_sections[size_t(i)])].push_back(i);
    QList<KPDocumentPickerItems> sections;
    sections.reserve(qsizetype(members.size()));
    for (auto &section : members)
        sections.append(byName(std::move(section)));
    if (type == KPDocumentPickerSortTypeNameDescending)
        std::reverse(sections.begin(), sections.end());
    return sections;
}
