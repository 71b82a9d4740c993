#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <algorithm>
#include <limits>

// One entry of an archive as its reader reports it, before any check: `path` is the name as
// the archive spells it (decoded to text), which may be hostile.
// Listings of hundreds of thousands of entries are held whole, so the fields are ordered to
// pack (80 bytes besides the texts).
struct ArchiveEntry {
    enum class Type : quint8 { File, Directory, SymbolicLink, HardLink, Special };

    QString path;
    QString linkTarget; // symbolic or hard links; empty when the reader can't tell yet
    qint64 size = 0;    // unpacked size in bytes as declared; 0 when unknown
    // Invalid when not recorded. The tool backends leave it so: their tools set the times
    // themselves, and reading a date per entry cost more than the rest of the listing.
    QDateTime modified;
    qint64 index = -1;  // the reader's own index of the entry
    quint32 mode = 0;   // POSIX permission and set-id bits (07777), 0 when not recorded
    Type type = Type::File;
    bool encrypted = false;
};

// What listing an archive found out. `error` is set when it could not be listed at all;
// `needsPassword` is true when any entry, or the header itself, is encrypted.
struct ArchiveListing {
    QList<ArchiveEntry> entries;
    bool needsPassword = false;
    bool headerEncrypted = false;
    qint64 totalSize = 0; // sum of the declared sizes

    // Declared sizes are the archive's word: negative ones count as unknown, and the sum
    // saturates instead of wrapping, so a lying header can't make a huge archive look small.
    void add(ArchiveEntry entry)
    {
        needsPassword = needsPassword || entry.encrypted;
        entry.size = std::max<qint64>(entry.size, 0);
        totalSize = entry.size > std::numeric_limits<qint64>::max() - totalSize
                        ? std::numeric_limits<qint64>::max()
                        : totalSize + entry.size;
        entries.append(std::move(entry));
    }
};
