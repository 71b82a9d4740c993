#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <iterator>
#include <limits>
#include <memory>

// One entry of an archive as its reader reports it, before any check: `path` is the name as
// the archive spells it (decoded to text), which may be hostile.
// Listings of hundreds of thousands of entries are held whole, so the fields are ordered to
// pack (88 bytes besides the texts).
struct ArchiveEntry {
    enum class Type : quint8 { File, Directory, SymbolicLink, HardLink, Special };

    QString path;
    QString linkTarget; // symbolic or hard links; empty when the reader can't tell yet
    qint64 size = 0;    // unpacked size in bytes as declared; 0 when unknown
    // What the entry takes inside the archive (compressed, encryption included); -1 when the
    // reader can't tell, as for entries packed together in one solid block.
    qint64 packedSize = -1;
    // Invalid when not recorded. The tool backends leave it so: their tools set the times
    // themselves, and reading a date per entry cost more than the rest of the listing.
    QDateTime modified;
    qint64 index = -1;  // the reader's own index of the entry
    quint32 mode = 0;   // POSIX permission and set-id bits (07777), 0 when not recorded
    Type type = Type::File;
    bool encrypted = false;
};

// The entries of one listing in archive order, as a value that is cheap to copy: either
// entries added one by one (the tool and stream readers), kept packed (56 bytes an entry, the
// texts in one shared buffer) and copied only when a shared list is appended to, or a reader's
// own compact store, shared and never changed (the zip reader keeps 36 bytes an entry besides
// its name). Either way each ArchiveEntry is made when asked, so a listing of hundreds of
// thousands of entries never holds them all as ArchiveEntry at once: walk it, or page
// through it with at().
//
// Thread-safety: a list no one appends to may be read from any number of threads.
class ArchiveEntryList {
public:
    class Store {
    public:
        virtual ~Store() = default;
        virtual qsizetype size() const = 0;
        virtual ArchiveEntry at(qsizetype index) const = 0;
        // The entry's name in the reader's own bytes, as the archive spells it, for a caller
        // that may point into them rather than copy a name that reads the same in text; empty
        // when the reader keeps no such bytes. They live as long as the store.
        virtual QByteArrayView storedName(qsizetype) const { return {}; }
    };

    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = ArchiveEntry;
        using difference_type = qsizetype;
        using pointer = void;
        using reference = ArchiveEntry;

        const_iterator() = default;
        const_iterator(const ArchiveEntryList *list, qsizetype index) : m_list(list), m_index(index)
        {
        }
        ArchiveEntry operator*() const { return m_list->at(m_index); }
        const_iterator &operator++()
        {
            ++m_index;
            return *this;
        }
        const_iterator operator++(int)
        {
            auto before = *this;
            ++m_index;
            return before;
        }
        bool operator==(const const_iterator &other) const { return m_index == other.m_index; }

    private:
        const ArchiveEntryList *m_list = nullptr;
        qsizetype m_index = 0;
    };

    ArchiveEntryList() = default;
    ArchiveEntryList(const QList<ArchiveEntry> &entries);
    ArchiveEntryList(std::initializer_list<ArchiveEntry> entries);
    explicit ArchiveEntryList(std::shared_ptr<const Store> store) : m_store(std::move(store)) {}

    qsizetype size() const;
    bool isEmpty() const { return size() == 0; }
    ArchiveEntry at(qsizetype index) const;
    ArchiveEntry operator[](qsizetype index) const { return at(index); }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // The reader's store, or null for a list made entry by entry.
    const std::shared_ptr<const Store> &store() const { return m_store; }

    // For lists made entry by entry (no store).
    void append(const ArchiveEntry &entry);

private:
    class Packed;
    std::shared_ptr<Packed> m_packed; // entries added one by one
    std::shared_ptr<const Store> m_store;
};

// What listing an archive found out. `error` is set when it could not be listed at all;
// `needsPassword` is true when any entry, or the header itself, is encrypted.
struct ArchiveListing {
    ArchiveEntryList entries;
    bool needsPassword = false;
    bool headerEncrypted = false;
    qint64 totalSize = 0; // sum of the declared sizes
    // Set by the caller before extracting part of an archive: the items wanted (exact names,
    // each with everything below it). A backend may skip the rest; it need not.
    QStringList wanted;

    bool isWanted(const QString &exactName) const
    {
        return wanted.isEmpty() ||
               std::any_of(wanted.cbegin(), wanted.cend(), [&](const QString &item) {
                   return exactName.startsWith(item) &&
                          (exactName.size() == item.size() || exactName.at(item.size()) == u'/');
               });
    }

    // Declared sizes are the archive's word: negative ones count as unknown, and the sum
    // saturates instead of wrapping, so a lying header can't make a huge archive look small.
    void add(ArchiveEntry entry)
    {
        needsPassword = needsPassword || entry.encrypted;
        entry.size = std::max<qint64>(entry.size, 0);
        entry.packedSize = std::max<qint64>(entry.packedSize, -1);
        addToTotal(entry.size);
        entries.append(std::move(entry));
    }
    void addToTotal(qint64 size)
    {
        totalSize = size > std::numeric_limits<qint64>::max() - totalSize
                        ? std::numeric_limits<qint64>::max()
                        : totalSize + size;
    }
};
