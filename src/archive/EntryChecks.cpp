#include "EntryChecks.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("EntryChecks", text);
}

// Calls `visit` with each part of `path` between separators, empty ones too, without copies:
// every entry's name passes here several times, 200,000 times for a large archive.
template <typename Visit> void forEachPart(QStringView path, Visit visit)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] == u'/' || path[i] == u'\\') {
            visit(path.sliced(start, i - start));
            start = i + 1;
        }
    }
    visit(path.sliced(start));
}

bool isKept(QStringView part)
{
    return !part.isEmpty() && part != u".";
}

// The exact name of an entry from its safe components (see exactName).
QString joinedAs(const QStringList &parts, const QString &entryPath)
{
    // Nothing dropped and every separator a single "/": the entry's own string, as most are.
    qsizetype length = parts.size() - 1;
    for (const auto &part : parts)
        length += part.size();
    if (length == entryPath.size() && !entryPath.contains(u'\\'))
        return entryPath;
    auto joined = parts.join(u'/');
    return joined == entryPath ? entryPath : joined; // the entry's own string: kept once
}

bool isAbsolute(const QString &path)
{
    if (path.startsWith(u'/') || path.startsWith(u'\\'))
        return true;
    // "C:" and "C:\x": a drive name, absolute on the systems that made it.
    return path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter();
}

} // namespace

std::optional<QStringList> EntryChecks::safeComponents(const QString &entryPath)
{
    if (entryPath.isEmpty() || entryPath.contains(QChar(u'\0')) || isAbsolute(entryPath))
        return std::nullopt;
    QStringList kept;
    bool climbs = false;
    forEachPart(entryPath, [&](QStringView part) {
        climbs = climbs || part == u"..";
        if (!climbs && isKept(part) && kept.size() <= maximumDepth)
            kept << part.toString();
    });
    if (climbs || kept.isEmpty() || kept.size() > maximumDepth)
        return std::nullopt;
    return kept;
}

QString EntryChecks::pathProblem(const QString &entryPath)
{
    if (entryPath.contains(QChar(u'\0')))
        return tr("has a NUL character in its name");
    if (isAbsolute(entryPath))
        return tr("has an absolute path");
    bool climbs = false;
    qsizetype depth = 0;
    forEachPart(entryPath, [&](QStringView part) {
        climbs = climbs || part == u"..";
        depth += isKept(part) ? 1 : 0;
    });
    if (climbs)
        return tr("climbs out of the destination folder with “..”");
    if (depth > maximumDepth)
        return tr("is nested more than %1 levels deep").arg(QLocale().toString(maximumDepth));
    if (depth == 0)
        return tr("has an empty name");
    return {};
}

QString EntryChecks::linkTargetProblem(const QString &linkPath, const QString &target)
{
    if (target.isEmpty())
        return tr("is a link with no target");
    if (isAbsolute(target))
        return tr("is a link to an absolute path outside the destination");
    if (target.contains(QChar(u'\0')))
        return tr("is a link whose target holds a NUL character");
    auto depth = qsizetype(0);
    if (const auto own = safeComponents(linkPath))
        depth = own->size() - 1; // the link resolves from its own folder
    bool out = false;
    forEachPart(target, [&](QStringView part) {
        if (part == u"..")
            --depth;
        else if (isKept(part))
            ++depth;
        out = out || depth < 0;
    });
    return out ? tr("is a link pointing out of the destination folder") : QString();
}

QString EntryChecks::typeProblem(const ArchiveEntry &entry)
{
    if (entry.type == ArchiveEntry::Type::Special)
        return tr("is a device, fifo or socket, which is never unpacked");
    if (entry.mode & 06000)
        return tr("has the set-user-ID or set-group-ID bit");
    return {};
}

QString EntryChecks::exactName(const QString &entryPath)
{
    const auto parts = safeComponents(entryPath);
    return parts ? joinedAs(*parts, entryPath) : QString();
}

bool EntryChecks::namesDestinationItself(const ArchiveEntry &entry)
{
    if (entry.type != ArchiveEntry::Type::Directory || entry.path.isEmpty() ||
        isAbsolute(entry.path))
        return false;
    bool named = false;
    forEachPart(entry.path, [&](QStringView part) { named = named || isKept(part); });
    return !named;
}

EntryChecks::EntrySetChecker::EntrySetChecker() : m_nodes(1) {}

quint32 EntryChecks::EntrySetChecker::childOrNew(quint32 parent, const QString &foldedName)
{
    NodeKey key(parent, foldedName);
    if (const auto child = m_children.constFind(key); child != m_children.cend())
        return *child;
    const auto added = quint32(m_nodes.size());
    m_nodes.emplace_back();
    m_children.insert(std::move(key), added);
    return added;
}

QString EntryChecks::EntrySetChecker::check(const ArchiveEntry &entry)
{
    if (namesDestinationItself(entry))
        return {};
    auto safe = safeComponents(entry.path);
    if (!safe)
        return pathProblem(entry.path);
    if (auto problem = typeProblem(entry); !problem.isEmpty())
        return problem;
    auto parts = std::move(*safe);
    const auto exactHash = qHash(joinedAs(parts, entry.path), QHashSeed::globalSeed());
    for (auto &part : parts)
        part = part.toCaseFolded();
    // The folders of the entry's path that are known, down from the destination.
    std::vector<quint32> known{0};
    while (qsizetype(known.size()) < parts.size()) {
        const auto child = m_children.constFind(NodeKey(known.back(), parts[known.size() - 1]));
        if (child == m_children.cend())
            break;
        if (m_nodes[*child].isLink)
            return tr("would be written through a symbolic link");
        known.push_back(*child);
    }
    const auto itself = qsizetype(known.size()) == parts.size()
                            ? m_children.value(NodeKey(known.back(), parts.constLast()), 0)
                            : quint32(0); // 0: not met yet
    if (entry.type == ArchiveEntry::Type::SymbolicLink) {
        if (itself != 0 && m_nodes[itself].isParent)
            return tr("is a link that would replace a folder of the archive");
        if (!entry.linkTarget.isEmpty())
            if (auto problem = linkTargetProblem(entry.path, entry.linkTarget); !problem.isEmpty())
                return problem;
    } else if (entry.type == ArchiveEntry::Type::HardLink) {
        const auto target = exactName(entry.linkTarget);
        if (target.isEmpty() || !m_regularFiles.contains(qHash(target, QHashSeed::globalSeed())))
            return tr("is a hard link to a file outside the archive");
    }
    if (entry.type == ArchiveEntry::Type::File || entry.type == ArchiveEntry::Type::HardLink)
        m_regularFiles.insert(exactHash);
    else
        m_regularFiles.remove(exactHash);
    auto folder = known.back();
    for (auto depth = qsizetype(known.size()); depth < parts.size(); ++depth) {
        folder = childOrNew(folder, parts[depth - 1]);
        m_nodes[folder].isParent = true;
    }
    for (const auto node : known)
        m_nodes[node].isParent = true;
    if (entry.type == ArchiveEntry::Type::SymbolicLink) {
        m_nodes[childOrNew(folder, parts.constLast())].isLink = true;
    } else if (entry.type == ArchiveEntry::Type::Directory) {
        auto &node = m_nodes[childOrNew(folder, parts.constLast())];
        node.isLink = false;
        node.isParent = true;
    } else if (itself != 0) {
        m_nodes[itself].isLink = false;
    }
    return {};
}

std::optional<EntryChecks::Refusal> EntryChecks::firstRefusal(const ArchiveEntryList &entries)
{
    EntrySetChecker checker;
    for (const auto &entry : entries)
        if (auto reason = checker.check(entry); !reason.isEmpty())
            return Refusal{entry.path, reason};
    return std::nullopt;
}
