#pragma once

#include "ArchiveEntry.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// The folder tree of one archive listing, for browsing it level by level. Built once from the
// flat entries: names are split on "/" and "\" as the extraction splits them, "" and "."
// components dropped ("./a", "a//b"); folders only implied by deeper names are made; an entry
// named twice is one item, the later entry winning as it does when unpacking; "README" and
// "readme" stay two items, and so do a file "a" and a folder "a".
//
// Hostile names are shown, never followed: a name with "..", a NUL or a drive ("C:x") is one
// item at the top holding the whole name, never a folder; an absolute name ("/etc/x") is placed
// under its relative path. Both are marked `unsafe` (the extraction refuses them). Names to
// show go through printable(), so no control character or reversed text reaches a row.
//
// Archives of hundreds of thousands of entries are browsed whole, so a node is 12 bytes: a
// parent, an entry index and where its name begins in one buffer shared by all names, each
// stored as Latin-1 when it can be (one byte a character) else as UTF-16; children are one
// shared array too, grouped by parent. A file whose name is plain ASCII in the reader's own
// bytes (ArchiveEntryList::Store::storedName) is not copied at all: its name is the end of that
// entry's stored name. Nodes are kept in blocks that never move, so the tree grows without
// copies of itself. Immutable once built: any number of threads may read it, and it keeps the
// listing's store alive.
class ArchiveTree {
public:
    static constexpr quint32 root = 0;

    struct Node {
        // Position in the listing; -1 for a folder only implied. 31 bits are enough: a listing
        // of more entries could not be held.
        qint32 entry = -1;
        quint32 nameStart = 0;      // into the shared names; it ends where the next node's begins
        quint32 parent : 28 = root; // 268 million nodes: more than any listing held whole
        quint32 isFolder : 1 = false;
        quint32 unsafe : 1 = false;
        quint32 wideName : 1 = false;      // stored as UTF-16, not Latin-1
        quint32 nameInListing : 1 = false; // the end of the entry's name in the listing's store
    };
    static_assert(sizeof(Node) == 12);

    ArchiveTree(); // the root alone

    // Null when `cancelled` (optional, asked every few thousand entries) says so.
    static std::optional<ArchiveTree> build(const ArchiveEntryList &entries,
                                            const std::function<bool()> &cancelled = {});

    qsizetype size() const { return qsizetype(m_nodes.size()); }
    const Node &node(quint32 id) const { return m_nodes[id]; }
    std::span<const quint32> children(quint32 folder) const;

    // The component as the archive spells it (the whole path if unsafe).
    QString name(quint32 id) const;
    // The name to show: printable, the whole path for an unsafe one.
    QString displayName(quint32 id) const;
    // The item's path from the top as the extraction names it ("a/b/c"), joined from the names.
    QString pathOf(quint32 id) const;
    // The folder reached from the top through folders of these display names; nothing when a
    // step is missing.
    std::optional<quint32> folderAt(const QStringList &displayNames) const;

private:
    class Builder;

    QByteArrayView storedName(quint32 id) const;
    bool nameEquals(quint32 id, QStringView name) const;

    std::shared_ptr<const ArchiveEntryList::Store> m_listing; // where nameInListing names are
    // The entry holding a nameInListing node's name, where it is not the node's own entry.
    QHash<quint32, qint32> m_nameOwners;
    std::deque<Node> m_nodes;
    QByteArray m_names;              // every node's name, one after another
    std::vector<quint32> m_children; // node ids but the root's, by parent, in listing order
};
