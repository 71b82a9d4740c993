#include "EntryChecks.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("EntryChecks", text);
}

QStringList splitOnSeparators(const QString &path)
{
    QStringList parts;
    QString current;
    for (const QChar c : path) {
        if (c == u'/' || c == u'\\') {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    return parts;
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
    for (const auto &part : splitOnSeparators(entryPath)) {
        if (part == QLatin1String(".."))
            return std::nullopt;
        if (!part.isEmpty() && part != QLatin1String("."))
            kept << part;
    }
    if (kept.isEmpty())
        return std::nullopt;
    return kept;
}

QString EntryChecks::pathProblem(const QString &entryPath)
{
    if (entryPath.contains(QChar(u'\0')))
        return tr("has a NUL character in its name");
    if (isAbsolute(entryPath))
        return tr("has an absolute path");
    const auto parts = splitOnSeparators(entryPath);
    if (parts.contains(QLatin1String("..")))
        return tr("climbs out of the destination folder with “..”");
    if (!safeComponents(entryPath))
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
    for (const auto &part : splitOnSeparators(target)) {
        if (part == QLatin1String(".."))
            --depth;
        else if (!part.isEmpty() && part != QLatin1String("."))
            ++depth;
        if (depth < 0)
            return tr("is a link pointing out of the destination folder");
    }
    return {};
}

QString EntryChecks::typeProblem(const ArchiveEntry &entry)
{
    if (entry.type == ArchiveEntry::Type::Special)
        return tr("is a device, fifo or socket, which is never unpacked");
    if (entry.mode & 06000)
        return tr("has the set-user-ID or set-group-ID bit");
    return {};
}

QString EntryChecks::itemKey(const QStringList &components)
{
    return components.join(u'/').toCaseFolded();
}

QString EntryChecks::exactName(const QString &entryPath)
{
    const auto parts = safeComponents(entryPath);
    if (!parts)
        return {};
    auto joined = parts->join(u'/');
    return joined == entryPath ? entryPath : joined; // the entry's own string: kept once
}

bool EntryChecks::namesDestinationItself(const ArchiveEntry &entry)
{
    if (entry.type != ArchiveEntry::Type::Directory || entry.path.isEmpty() ||
        isAbsolute(entry.path))
        return false;
    const auto parts = splitOnSeparators(entry.path);
    return std::all_of(parts.begin(), parts.end(), [](const QString &part) {
        return part.isEmpty() || part == QLatin1String(".");
    });
}

QString EntryChecks::EntrySetChecker::check(const ArchiveEntry &entry)
{
    if (namesDestinationItself(entry))
        return {};
    if (auto problem = pathProblem(entry.path); !problem.isEmpty())
        return problem;
    if (auto problem = typeProblem(entry); !problem.isEmpty())
        return problem;
    const auto parts = *safeComponents(entry.path);
    for (qsizetype n = 1; n < parts.size(); ++n)
        if (m_links.contains(itemKey(parts.first(n))))
            return tr("would be written through a symbolic link");
    const auto key = itemKey(parts);
    if (entry.type == ArchiveEntry::Type::SymbolicLink) {
        if (m_parents.contains(key))
            return tr("is a link that would replace a folder of the archive");
        if (!entry.linkTarget.isEmpty())
            if (auto problem = linkTargetProblem(entry.path, entry.linkTarget); !problem.isEmpty())
                return problem;
        m_links.insert(key);
    } else if (entry.type == ArchiveEntry::Type::HardLink) {
        const auto target = exactName(entry.linkTarget);
        if (target.isEmpty() || !m_regularFiles.contains(qHash(target, QHashSeed::globalSeed())))
            return tr("is a hard link to a file outside the archive");
    }
    if (entry.type == ArchiveEntry::Type::File || entry.type == ArchiveEntry::Type::HardLink)
        m_regularFiles.insert(qHash(exactName(entry.path), QHashSeed::globalSeed()));
    else
        m_regularFiles.remove(qHash(exactName(entry.path), QHashSeed::globalSeed()));
    if (entry.type != ArchiveEntry::Type::SymbolicLink)
        m_links.remove(key);
    for (qsizetype n = 1; n < parts.size(); ++n)
        m_parents.insert(itemKey(parts.first(n)));
    if (entry.type == ArchiveEntry::Type::Directory)
        m_parents.insert(key);
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
