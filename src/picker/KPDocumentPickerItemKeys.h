#pragma once

#include "KPDocumentPickerItem.h"
#include "KPDocumentPickerSortType.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// One listing with the keys its orders and searches compare, each made once per item on first
// need (ICU collation keys for names, case- and accent-folded names for searching, the index
// letter of each name) and kept for every later sort or search of the same listing, so a
// keystroke costs one pass of plain comparisons.
//
// Thread-safety: none; one thread at a time (the picker's item-builder queue).
class KPDocumentPickerItemKeys {
public:
    explicit KPDocumentPickerItemKeys(const KPDocumentPickerItems &items) : m_items(items) {}

    const KPDocumentPickerItems &items() const { return m_items; }

    // The items (all of them, or those of `subset` as indexes) in the order of `type`, stable.
    KPDocumentPickerItems sorted(KPDocumentPickerSortType type,
                                 const std::optional<std::vector<qsizetype>> &subset = {});
    // Indexes of the items whose name holds `search` as plain text, blind to case and accents.
    std::vector<qsizetype> matching(const QString &search);
    // The items under each index letter of NameCollation, each by name ascending; the letters
    // in reverse for a descending name order.
    QList<KPDocumentPickerItems> sectioned(KPDocumentPickerSortType type);

private:
    const std::vector<QByteArray> &nameKeys();
    KPDocumentPickerItems byName(std::vector<qsizetype> order);

    KPDocumentPickerItems m_items;
    std::vector<QByteArray> m_nameKeys;
    std::vector<QString> m_foldedNames;
    std::vector<int> m_sections;
};
