#include "LibarchiveReadAhead.h"

#include "ArchiveErrors.h"
#include "LibarchiveMessage.h"

namespace {

// What an event counts against the queue's limit: its data, and a share for the event itself,
// so that a great many small entries can't pile up without bound (each carries a name).
constexpr qint64 eventCost = 1024;
// The reader hands its events over when they cost this much, or are this many.
constexpr qint64 runBytes = 64 * 1024;
constexpr size_t runEvents = 64;

qint64 costOf(const LibarchiveReadAhead::Event &event)
{
    return event.data.size() + eventCost;
}

} // namespace

LibarchiveReadAhead::LibarchiveReadAhead(ArchiveReadPtr archive, Describe describe,
                                         qint64 maxQueuedBytes)
    : m_archive(std::move(archive)), m_describe(std::move(describe)),
      m_maxQueuedBytes(maxQueuedBytes), m_reader([this] { read(); })
{
}

LibarchiveReadAhead::~LibarchiveReadAhead()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_reader.join();
}

LibarchiveReadAhead::Event LibarchiveReadAhead::next()
{
    if (m_taken.empty()) {
        std::unique_lock lock(m_mutex);
        if (m_queue.empty() && !m_finished) {
            m_writerWaiting = true;
            m_changed.wait(lock, [this] { return !m_queue.empty() || m_finished; });
            m_writerWaiting = false;
        }
        if (m_queue.empty())
            return {};
        m_taken.swap(m_queue);
    }
    auto event = std::move(m_taken.front());
    m_taken.pop_front();
    const qint64 left = m_queuedBytes -= costOf(event);
    // The reader waits for half the limit; it is woken once, as the count passes below it.
    if (left < m_maxQueuedBytes / 2 && left + costOf(event) >= m_maxQueuedBytes / 2) {
        std::lock_guard lock(m_mutex);
        if (m_readerWaiting)
            m_changed.notify_all();
    }
    return event;
}

bool LibarchiveReadAhead::push(Event event)
{
    const bool last = event.kind == Event::Kind::End || event.kind == Event::Kind::Failure;
    m_runBytes += costOf(event);
    m_run.push_back(std::move(event));
    if (last || m_writerWaiting || m_runBytes >= runBytes || m_run.size() >= runEvents)
        return handOver();
    return true;
}

bool LibarchiveReadAhead::handOver()
{
    std::unique_lock lock(m_mutex);
    // An empty queue always takes the run, however large, so a big block can't wait forever.
    // Once full, the reader waits until half has been written: fewer wake-ups, each worth more.
    if (!m_stopping && m_queuedBytes > 0 && m_queuedBytes >= m_maxQueuedBytes) {
        m_readerWaiting = true;
        m_changed.wait(lock, [this] { return m_stopping || m_queuedBytes < m_maxQueuedBytes / 2; });
        m_readerWaiting = false;
    }
    if (m_stopping)
        return false;
    m_queuedBytes += std::exchange(m_runBytes, 0);
    for (auto &event : m_run)
        m_queue.push_back(std::move(event));
    m_run.clear();
    const bool wake = m_writerWaiting;
    lock.unlock();
    if (wake)
        m_changed.notify_all();
    return true;
}

void LibarchiveReadAhead::read()
{
    auto *archive = m_archive.get();
    for (;;) {
        struct archive_entry *header = nullptr;
        const int status = archive_read_next_header(archive, &header);
        if (status == ARCHIVE_EOF) {
            push({});
            break;
        }
        Event event;
        if (status < ARCHIVE_WARN) {
            event.kind = Event::Kind::Failure;
            event.error = ArchiveErrors::unreadableArchive(libarchiveMessage(archive));
            push(std::move(event));
            break;
        }
        auto entry = m_describe(archive, header, &event.error);
        if (!entry) {
            event.kind = Event::Kind::Failure;
            push(std::move(event));
            break;
        }
        // cpio (newc) sends the data of a set of hard links with the last link.
        const bool hasData = entry->type == ArchiveEntry::Type::File ||
                             (entry->type == ArchiveEntry::Type::HardLink && entry->size > 0);
        event.kind = Event::Kind::Entry;
        event.entry = *entry;
        if (!push(std::move(event)) || (hasData && !readData(*entry)))
            break;
    }
    std::lock_guard lock(m_mutex);
    m_finished = true;
    m_changed.notify_all();
}

bool LibarchiveReadAhead::readData(const ArchiveEntry &entry)
{
    auto *archive = m_archive.get();
    for (;;) {
        const void *block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        const int status = archive_read_data_block(archive, &block, &size, &offset);
        Event event;
        event.offset = offset;
        event.archiveBytesRead = archive_filter_bytes(archive, -1);
        if (status < ARCHIVE_WARN) {
            event.kind = Event::Kind::Failure;
            event.error = ArchiveErrors::unreadableArchive(
                QStringLiteral("%1: %2").arg(entry.path, libarchiveMessage(archive)));
            push(std::move(event));
            return false;
        }
        if (status == ARCHIVE_EOF) {
            event.kind = Event::Kind::EntryEnd;
            return push(std::move(event));
        }
        event.kind = Event::Kind::Data;
        event.data = QByteArray(static_cast<const char *>(block), qsizetype(size));
        if (!push(std::move(event)))
            return false;
    }
}
