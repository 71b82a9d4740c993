#pragma once

#include "ArchiveEntry.h"
#include "CHandles.h"

#include <Error.h>
#include <QByteArray>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// Reads an open libarchive stream on a thread of its own, ahead of the caller, so that
// decompressing and writing files use both cores. What was read waits in a queue of at most
// `maxQueuedBytes` (data, and 1 KB for each event); the reader waits when it is full. Events
// change hands in runs (the reader's up to 64 KB or 64 events, the writer takes all there are),
// so that an archive of many small files does not cost two locks an event; a writer that waits
// gets each event at once.
//
// Thread-safety: next() is called by one thread (the writer); the reader thread is private.
// Destroying the object stops the reader and waits for it.
class LibarchiveReadAhead {
public:
    struct Event {
        enum class Kind {
            Entry,    // `entry` starts; the data of a File, or of a HardLink with a size,
                      // follows, then EntryEnd
            Data,     // `data` of the current entry, at `offset` (holes between are sparse)
            EntryEnd, // the current entry's data ends at `offset`
            End,      // the archive ends
            Failure,  // `error`: nothing follows
        };
        Kind kind = Kind::End;
        ArchiveEntry entry;
        QByteArray data;
        qint64 offset = 0;
        qint64 archiveBytesRead = 0; // compressed bytes read so far, for progress
        Error error;
    };

    // Describes a header as an entry, or fails (the stream is then not read on).
    using Describe =
        std::function<std::optional<ArchiveEntry>(struct archive *, struct archive_entry *, Error *)>;

    LibarchiveReadAhead(ArchiveReadPtr archive, Describe describe,
                        qint64 maxQueuedBytes = 8 * 1024 * 1024);
    ~LibarchiveReadAhead();
    LibarchiveReadAhead(const LibarchiveReadAhead &) = delete;
    LibarchiveReadAhead &operator=(const LibarchiveReadAhead &) = delete;

    // The next event, waiting for it. After End or Failure, returns End.
    Event next();

private:
    void read();
    bool readData(const ArchiveEntry &entry);
    bool push(Event event); // false once the caller has gone
    bool handOver();        // the reader's run into the queue; false once the caller has gone

    ArchiveReadPtr m_archive;
    Describe m_describe;
    qint64 m_maxQueuedBytes;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Event> m_queue;
    std::deque<Event> m_run;   // the reader's, not yet handed over
    qint64 m_runBytes = 0;     // the reader's
    std::deque<Event> m_taken; // the writer's, handed over
    // Every event read and not yet given out by next(), in the queue or taken.
    std::atomic<qint64> m_queuedBytes = 0;
    bool m_stopping = false;
    // Each side wakes the other only when it waits: handing over costs no system call then.
    bool m_readerWaiting = false;
    std::atomic<bool> m_writerWaiting = false;
    bool m_finished = false;
    std::thread m_reader;
};
