#include "ArchiveEntry.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <limits>
#include <vector>

// Entries added one by one, packed: a fixed record each, and their texts one after another in
// blocks of 1 MB, each text in Latin-1 when it can be (one byte a character), else in UTF-16
// as it is (a name decoded from bytes that are not UTF-8 holds lone surrogates, which must
// come back unchanged). Both grow block by block, never copying what they hold: a listing
// of 200,000 entries costs about 20 MB, where ArchiveEntry values in a list cost 50.
class ArchiveEntryList::Packed {
public:
    static constexpr qint64 noDate = std::numeric_limits<qint64>::min();
    static constexpr qsizetype blockSize = 1024 * 1024;

    struct Record {
        qint64 size;
        qint64 packedSize;
        qint64 index;
        qint64 modified; // milliseconds since the epoch, UTC; noDate when not recorded
        quint32 block;   // where the texts are
        quint32 offset;
        quint32 pathLength; // in bytes, `wide` set for UTF-16; the link target's text follows
        quint32 linkLength;
        quint32 mode;
        ArchiveEntry::Type type;
        bool encrypted;
    };
    static_assert(sizeof(Record) == 56);

    qsizetype size() const { return qsizetype(m_records.size()); }

    ArchiveEntry at(qsizetype index) const
    {
        const Record &record = m_records[size_t(index)];
        const char *text = m_blocks[record.block].data.get() + record.offset;
        ArchiveEntry entry;
        entry.path = textAt(text, record.pathLength);
        entry.linkTarget = textAt(text + bytesOf(record.pathLength), record.linkLength);
        entry.size = record.size;
        entry.packedSize = record.packedSize;
        if (record.modified != noDate)
            entry.modified = QDateTime::fromMSecsSinceEpoch(record.modified, Qt::UTC);
        entry.index = record.index;
        entry.mode = record.mode;
        entry.type = record.type;
        entry.encrypted = record.encrypted;
        return entry;
    }

    void append(const ArchiveEntry &entry)
    {
        const Text path(entry.path), link(entry.linkTarget);
        const qsizetype length = path.bytes + link.bytes;
        if (m_blocks.empty() || m_blocks.back().used + length > m_blocks.back().size)
            m_blocks.push_back(Block(std::max(blockSize, length)));
        Block &block = m_blocks.back();
        path.writeTo(block.data.get() + block.used);
        link.writeTo(block.data.get() + block.used + path.bytes);
        m_records.push_back({entry.size, entry.packedSize, entry.index,
                             entry.modified.isValid() ? entry.modified.toMSecsSinceEpoch() : noDate,
                             quint32(m_blocks.size() - 1), quint32(block.used), path.lengthField(),
                             link.lengthField(), entry.mode, entry.type, entry.encrypted});
        block.used += length;
    }

    // Copies for a list that is added to while another holds it.
    Packed() = default;
    Packed(const Packed &other) : m_records(other.m_records)
    {
        for (const auto &block : other.m_blocks) {
            m_blocks.push_back(Block(block.size));
            std::copy_n(block.data.get(), block.used, m_blocks.back().data.get());
            m_blocks.back().used = block.used;
        }
    }

private:
    struct Block {
        explicit Block(qsizetype capacity) : data(new char[size_t(capacity)]), size(capacity) {}
        std::unique_ptr<char[]> data;
        qsizetype size;
        qsizetype used = 0;
    };

    // A text's length field: its bytes, and the top bit set for UTF-16.
    static constexpr quint32 wide = 0x80000000;

    // A text on its way into a block: Latin-1 when every character fits, else UTF-16.
    struct Text {
        explicit Text(const QString &text)
            : text(text), wide(std::any_of(text.begin(), text.end(),
                                           [](QChar c) { return c.unicode() > 0xff; })),
              bytes(text.size() * (wide ? 2 : 1))
        {
        }
        void writeTo(char *to) const
        {
            if (wide)
                std::memcpy(to, text.utf16(), size_t(bytes));
            else
                std::transform(text.begin(), text.end(), to,
                               [](QChar c) { return char(c.unicode()); });
        }
        quint32 lengthField() const
        {
            return quint32(bytes) | (wide ? ArchiveEntryList::Packed::wide : 0);
        }

        const QString &text;
        bool wide;
        qsizetype bytes;
    };
    static qsizetype bytesOf(quint32 length) { return length & ~wide; }

    static QString textAt(const char *text, quint32 length)
    {
        const qsizetype bytes = bytesOf(length);
        if (bytes == 0)
            return {};
        if (!(length & wide))
            return QString::fromLatin1(text, bytes);
        QString made(bytes / 2, Qt::Uninitialized);
        std::memcpy(made.data(), text, size_t(bytes));
        return made;
    }

    std::deque<Record> m_records;
    std::vector<Block> m_blocks;
};

ArchiveEntryList::ArchiveEntryList(const QList<ArchiveEntry> &entries)
{
    for (const auto &entry : entries)
        append(entry);
}

ArchiveEntryList::ArchiveEntryList(std::initializer_list<ArchiveEntry> entries)
{
    for (const auto &entry : entries)
        append(entry);
}

qsizetype ArchiveEntryList::size() const
{
    return m_store ? m_store->size() : m_packed ? m_packed->size() : 0;
}

ArchiveEntry ArchiveEntryList::at(qsizetype index) const
{
    Q_ASSERT(index >= 0 && index < size());
    return m_store ? m_store->at(index) : m_packed->at(index);
}

void ArchiveEntryList::append(const ArchiveEntry &entry)
{
    Q_ASSERT(!m_store);
    // Copies share their entries until one of them is added to.
    if (!m_packed)
        m_packed = std::make_shared<Packed>();
    else if (m_packed.use_count() > 1)
        m_packed = std::make_shared<Packed>(*m_packed);
    m_packed->append(entry);
}
