#include "ArchiveTree.h"

#include "EntryChecks.h"

#include <Printable.h>
#include <QHash>

namespace {

constexpr qsizetype cancelCheckInterval = 4096;

struct ChildKey {
    quint32 parent;
    bool isFolder;
    QString name;
    bool operator==(const ChildKey &other) const = default;
};

size_t qHash(const ChildKey &key, size_t seed)
{
    return qHashMulti(seed, key.parent, key.isFolder, key.name);
}

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

class TreeBuilder {
public:
    explicit TreeBuilder(std::vector<ArchiveTree::Node> &nodes) : m_nodes(nodes) {}

    void add(const ArchiveEntry &entry, qint64 position)
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
                place(ArchiveTree::root, entry.path, false, true, position);
                return;
            }
        }
        quint32 parent = ArchiveTree::root;
        for (qsizetype i = 0; i + 1 < parts->size(); ++i)
            parent = childOrNew(parent, parts->at(i), true);
        place(parent, parts->last(), isFolder, unsafe, position);
    }

private:
    quint32 childOrNew(quint32 parent, const QString &name, bool isFolder)
    {
        ChildKey key{parent, isFolder, name};
        if (const auto found = m_index.constFind(key); found != m_index.cend())
            return *found;
        const auto id = quint32(m_nodes.size());
        m_nodes.push_back({name, -1, parent, isFolder, false});
        m_index.insert(std::move(key), id);
        return id;
    }

    void place(quint32 parent, const QString &name, bool isFolder, bool unsafe, qint64 position)
    {
        auto &node = m_nodes[childOrNew(parent, name, isFolder)];
        node.entry = position; // a later entry of the same name wins
        node.unsafe = node.unsafe || unsafe;
    }

    std::vector<ArchiveTree::Node> &m_nodes;
    QHash<ChildKey, quint32> m_index;
};

} // namespace

ArchiveTree::ArchiveTree() : m_nodes(1), m_firstChild(2, 0)
{
    m_nodes[0].isFolder = true;
}

std::optional<ArchiveTree> ArchiveTree::build(const ArchiveEntryList &entries,
                                              const std::function<bool()> &cancelled)
{
    ArchiveTree tree;
    {
        TreeBuilder builder(tree.m_nodes);
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (cancelled && i % cancelCheckInterval == 0 && cancelled())
                return std::nullopt;
            builder.add(entries.at(i), i);
        }
    }
    // Children grouped by parent (a counting sort keeps the listing order within a folder).
    const auto count = tree.m_nodes.size();
    tree.m_firstChild.assign(count + 1, 0);
    for (size_t id = 1; id < count; ++id)
        ++tree.m_firstChild[tree.m_nodes[id].parent + 1];
    for (size_t i = 1; i <= count; ++i)
        tree.m_firstChild[i] += tree.m_firstChild[i - 1];
    tree.m_children.resize(count - 1);
    auto next = tree.m_firstChild;
    for (size_t id = 1; id < count; ++id)
        tree.m_children[next[tree.m_nodes[id].parent]++] = quint32(id);
    tree.m_nodes.shrink_to_fit();
    return tree;
}

std::span<const quint32> ArchiveTree::children(quint32 folder) const
{
    const auto begin = m_firstChild[folder];
    return {m_children.data() + begin, m_firstChild[folder + 1] - begin};
}

QString ArchiveTree::displayName(quint32 id) const
{
    return printable(m_nodes[id].name);
}

QString ArchiveTree::pathOf(quint32 id) const
{
    QStringList parts;
    for (; id != root; id = m_nodes[id].parent)
        parts.prepend(m_nodes[id].name);
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
