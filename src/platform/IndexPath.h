#pragma once

#include <QHashFunctions>
#include <QMetaType>
#include <compare>

// A row of a sectioned list.
struct IndexPath {
    int section = 0;
    int row = 0;
    auto operator<=>(const IndexPath &) const = default;
};

inline size_t qHash(const IndexPath &path, size_t seed = 0)
{
    return qHashMulti(seed, path.section, path.row);
}

Q_DECLARE_METATYPE(IndexPath)
