#pragma once

#include "ArchiveEntry.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The checks that keep every entry of an archive inside its destination. Pure functions of
// the names and types an archive reports, so each rule is tested case by case; the staging
// folder is scanned again after extraction for what a reader reveals only then.
//
// Names are split on both "/" and "\": archives made on either kind of system use either,
// and some tools write a backslash name as separate folders.
namespace EntryChecks {

// How many components an entry's path may have. Deeper trees come from archives made to
// exhaust the tools that read them, not from people.
constexpr qsizetype maximumDepth = 1024;

// The components of a relative entry path with "" and "." dropped, or nothing when the
// path is empty, absolute ("/x", "\x", "C:x"), holds NUL, has a ".." component, or has more
// than maximumDepth components.
std::optional<QStringList> safeComponents(const QString &entryPath);

// Why `entryPath` alone is unsafe, as the end of the sentence "its entry “x” …", or empty.
QString pathProblem(const QString &entryPath);

// A folder entry such as "./" (tar's way of naming the folder packed): harmless, and skipped.
bool namesDestinationItself(const ArchiveEntry &entry);

// Why a symbolic link at `linkPath` pointing to `target` would point out of the destination
// (absolute, or climbing above the root through ".."), or empty when it stays inside.
QString linkTargetProblem(const QString &linkPath, const QString &target);

// Why an entry's type or mode is refused (devices, fifos, sockets, set-id bits), or empty.
QString typeProblem(const ArchiveEntry &entry);

// The exact name an entry writes to ("a//b/./c" and "a\\b\\c" both give "a/b/c"): entries
// that differ only in case are different items. `entryPath` itself (shared, not copied) when it
// is already in that form; empty for an unsafe path.
QString exactName(const QString &entryPath);

// The rules that need the entries seen so far: no entry below a symbolic link, no link
// replacing a folder or an item that has content below it, hard links only to regular files
// of the archive met earlier. Feed the entries in archive order; the first refusal is final.
// The link rules compare names case-folded, so that "LINK" and "link/x" collide as they would
// on a file system that ignores case.
//
// Each entry costs the length of its name, whatever the depth: the folders and links met so far
// are a tree of case-folded names that each entry walks once.
class EntrySetChecker {
public:
    EntrySetChecker();
    // Empty when the entry may be written, else the reason (see pathProblem).
    QString check(const ArchiveEntry &entry);

private:
    struct Node {
        bool isLink = false;   // a symbolic link is there
        bool isParent = false; // something was placed below it (a folder)
    };
    using NodeKey = QPair<quint32, QString>; // parent node, case-folded name

    quint32 childOrNew(quint32 parent, const QString &foldedName);

    std::vector<Node> m_nodes; // [0]: the destination itself
    QHash<NodeKey, quint32> m_children;
    // Hashes of the exact names of files and hard links, for hard-link targets: a few bytes
    // an entry at any count. The process's random hash seed leaves a collision to chance
    // alone, and the writer and the staging scan check every hard link's target again.
    QSet<size_t> m_regularFiles;
};

struct Refusal {
    QString entry;
    QString reason;
};

// Runs every rule over a whole listing; the first entry refused, or nothing.
std::optional<Refusal> firstRefusal(const ArchiveEntryList &entries);

} // namespace EntryChecks
