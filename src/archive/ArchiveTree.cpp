#include "ArchiveTree.h"

#include "EntryChecks.h"

#include <Printable.h>
#include <QHashFunctions>
#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr qsizetype cancelCheckInterval = 4096;

// An absolute name placed under its relative path ("/etc/x", "\\x"); else nothing.
std::optional<QStringList> relativeOfAbsolute(const QString &path)
{
    qsizetype start = 0;
    while (start < path.size() && (path.at(start) == u'/' || path.at(start) == u'\\'))
        ++start;
    if (start == 0)
        return std::nullopt;
    return EntryChecks::safeComponents(path.mid(start));
}

// The last component of a name as stored ("a/b" gives "b"), split as the tree splits names.
QByteArrayView lastComponent(QByteArrayView stored)
{
    qsizetype start = stored.size();
    while (start > 0 && stored.at(start - 1) != '/' && stored.at(start - 1) != '\\')
        --start;
    return stored.sliced(start);
}

// Whether a stored name reads as `name`, byte for character, all ASCII: every encoding a
// listing is read with spells ASCII alike, so a later entry of the same name has the same bytes.
bool readsAsAscii(QByteArrayView stored, QStringView name)
{
    return stored.size() == name.size() &&
           std::equal(name.begin(), name.end(), stored.begin(), [](QChar c, char byte) {
               return c.unicode() < 0x80 && c.unicode() == uchar(byte);
           });
}

} // namespace

// Adds the entries' nodes, finding a folder's child by parent, kind and name through an open
// addressing table of node ids (4 bytes a slot, at most three quarters full) and the nodes'
// hashes, which are compared first: a
// hash of keys and values would cost several times the nodes themselves.
class ArchiveTree::Builder {
public:
    // Sized for `expected` nodes, so that a tree of about that many never copies its tables.
    Builder(ArchiveTree &tree, qsizetype expected) : m_tree(tree), m_slots(1024, empty)
    {
        while (4 * size_t(expected) > 3 * m_slots.size())
            m_slots.resize(2 * m_slots.size());
        m_hashes.reserve(size_t(expected) + 1);
        m_hashes.push_back(0); // the root's
    }

    void add(const ArchiveEntry &entry, qint32 position)
    {
        const bool isFolder = entry.type == ArchiveEntry::Type::Directory;
        if (EntryChecks::namesDestinationItself(entry))
            return;
        auto parts = EntryChecks::safeComponents(entry.path);
        bool unsafe = false;
        if (!parts) {
            unsafe = true;
            parts = relativeOfAbsolute(entry.path);
            if (!parts) { // "..", NUL, a drive: one item holding the whole name
                place(root, entry.path, false, true, position);
                return;
            }
        }
        quint32 parent = root;
        for (qsizetype i = 0; i + 1 < parts->size(); ++i)
            parent = childOrNew(parent, parts->at(i), true);
        place(parent, parts->last(), isFolder, unsafe, position);
    }

    // Where a file's name already is in the listing's store, if it reads the same there.
    bool isInListing(QStringView name, qint32 position) const
    {
        return m_tree.m_listing &&
               readsAsAscii(lastComponent(m_tree.m_listing->storedName(position)), name);
    }

private:
    static constexpr quint32 empty = root; // the root is never anyone's child

    // `inListing`: a new node's name is the end of that entry's stored name (see isInListing).
    quint32 childOrNew(quint32 parent, QStringView name, bool isFolder, bool inListing = false,
                       qint32 position = -1)
    {
        const auto hash = quint32(qHashMulti(QHashSeed::globalSeed(), parent, isFolder, name));
        const size_t mask = m_slots.size() - 1;
        size_t slot = hash & mask;
        for (; m_slots[slot] != empty; slot = (slot + 1) & mask) {
            const auto id = m_slots[slot];
            const auto &node = m_tree.m_nodes[id];
            if (m_hashes[id] == hash && node.parent == parent && node.isFolder == isFolder &&
                m_tree.nameEquals(id, name))
                return id;
        }
        const auto id = quint32(m_tree.m_nodes.size());
        const bool wide =
            std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() > 0xff; });
        m_tree.m_nodes.push_back(
            {position, quint32(m_tree.m_names.size()), parent, isFolder, false, wide, inListing});
        if (!inListing)
            appendName(name, wide);
        m_hashes.push_back(hash);
        m_slots[slot] = id;
        if (4 * m_hashes.size() > 3 * m_slots.size())
            grow();
        return id;
    }

    void appendName(QStringView name, bool wide)
    {
        auto &names = m_tree.m_names;
        if (wide) {
            names.append(reinterpret_cast<const char *>(name.utf16()), name.size() * 2);
            return;
        }
        const auto start = names.size();
        names.resize(start + name.size());
        std::transform(name.begin(), name.end(), names.begin() + start,
                       [](QChar c) { return char(c.unicode()); });
    }

    void grow()
    {
        std::vector<quint32> wider(2 * m_slots.size(), empty);
        const size_t mask = wider.size() - 1;
        for (const auto id : m_slots) {
            if (id == empty)
                continue;
            size_t slot = m_hashes[id] & mask;
            while (wider[slot] != empty)
                slot = (slot + 1) & mask;
            wider[slot] = id;
        }
        m_slots = std::move(wider);
    }

    void place(quint32 parent, QStringView name, bool isFolder, bool unsafe, qint32 position)
    {
        const bool inListing = !isFolder && !unsafe && isInListing(name, position);
        const auto id = childOrNew(parent, name, isFolder, inListing, position);
        auto &node = m_tree.m_nodes[id];
        // A later entry of the same name whose stored name ends otherwise ("a/b/."): the name
        // stays with the entry that spells it.
        if (node.nameInListing && node.entry != position && !isInListing(name, position) &&
            !m_tree.m_nameOwners.contains(id))
            m_tree.m_nameOwners.insert(id, node.entry);
        node.entry = position; // a later entry of the same name wins
        node.unsafe = node.unsafe || unsafe;
    }

    ArchiveTree &m_tree;
    std::vector<quint32> m_slots;  // node ids; a power of two of them
    std::vector<quint32> m_hashes; // per node
};

ArchiveTree::ArchiveTree() : m_nodes(1)
{
    m_nodes[0].isFolder = true;
}

std::optional<ArchiveTree> ArchiveTree::build(const ArchiveEntryList &entries,
                                              const std::function<bool()> &cancelled)
{
    ArchiveTree tree;
    tree.m_listing = entries.store();
    {
        Builder builder(tree, entries.size() + 1);
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (cancelled && i % cancelCheckInterval == 0 && cancelled())
                return std::nullopt;
            builder.add(entries.at(i), qint32(i));
        }
    }
    tree.m_names.squeeze();
    // Children grouped by parent (a counting sort keeps the listing order within a folder):
    // each folder's end is counted, its children placed backwards from it.
    const auto count = tree.m_nodes.size();
    std::vector<quint32> end(count, 0);
    for (size_t id = 1; id < count; ++id)
        ++end[tree.m_nodes[id].parent];
    for (size_t i = 1; i < count; ++i)
        end[i] += end[i - 1];
    tree.m_children.resize(count - 1);
    for (size_t id = count - 1; id >= 1; --id)
        tree.m_children[--end[tree.m_nodes[id].parent]] = quint32(id);
    return tree;
}

std::span<const quint32> ArchiveTree::children(quint32 folder) const
{
    const auto begin = std::partition_point(m_children.begin(), m_children.end(), [&](quint32 id) {
        return m_nodes[id].parent < folder;
    });
    const auto end = std::partition_point(begin, m_children.end(),
                                          [&](quint32 id) { return m_nodes[id].parent == folder; });
    return {begin, end};
}

QByteArrayView ArchiveTree::storedName(quint32 id) const
{
    if (m_nodes[id].nameInListing) {
        const auto owner =
            m_nameOwners.isEmpty() ? m_nodes[id].entry : m_nameOwners.value(id, m_nodes[id].entry);
        return lastComponent(m_listing->storedName(owner));
    }
    const qsizetype start = m_nodes[id].nameStart;
    const qsizetype end = id + 1 < m_nodes.size() ? m_nodes[id + 1].nameStart : m_names.size();
    return QByteArrayView(m_names).sliced(start, end - start);
}

QString ArchiveTree::name(quint32 id) const
{
    const auto stored = storedName(id);
    if (!m_nodes[id].wideName)
        return QString::fromLatin1(stored);
    QString name(stored.size() / 2, Qt::Uninitialized);
    std::memcpy(name.data(), stored.data(), size_t(stored.size()));
    return name;
}

bool ArchiveTree::nameEquals(quint32 id, QStringView name) const
{
    const auto stored = storedName(id);
    if (m_nodes[id].wideName)
        return stored.size() == name.size() * 2 &&
               std::memcmp(stored.data(), name.utf16(), size_t(stored.size())) == 0;
    return stored.size() == name.size() &&
           std::equal(name.begin(), name.end(), stored.begin(),
                      [](QChar c, char byte) { return c.unicode() == uchar(byte); });
}

QString ArchiveTree::displayName(quint32 id) const
{
    return printable(name(id));
}

QString ArchiveTree::pathOf(quint32 id) const
{
    QStringList parts;
    for (; id != root; id = m_nodes[id].parent)
        parts.prepend(name(id));
    return parts.join(u'/');
}

std::optional<quint32> ArchiveTree::folderAt(const QStringList &displayNames) const
{
    quint32 folder = root;
    for (const auto &name : displayNames) {
        if (name.isEmpty())
            continue;
        std::optional<quint32> found;
        for (const auto child : children(folder))
            if (m_nodes[child].isFolder && displayName(child) == name) {
                found = child;
                break;
            }
        if (!found)
            return std::nullopt;
        folder = *found;
    }
    return folder;
}
