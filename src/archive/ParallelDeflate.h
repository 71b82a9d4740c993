#pragma once

#include "ArchiveProgress.h"

#include <Error.h>
#include <QByteArray>
#include <QList>
#include <QString>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>
#include <zip.h>

// Deflates the files of a zip being written on worker threads, ahead of libzip, which writes
// the entries one after another: each file's libzip source hands over ready deflate data
// (with its CRC), which libzip copies as it stands, or encrypts when a password is set.
// Files up to 8 MiB are compressed in one call by libdeflate (level 6); larger ones are
// streamed through zlib (level 6). Data that doesn't shrink (samples of a file's start and
// middle, or a stream's first 256 KB) is put in deflate's stored blocks instead of being
// compressed in vain.
//
// Memory stays bounded: finished data waiting for libzip is capped (the entry being written
// is never held back, so the work always moves on). Reading a file fails the whole zip, as
// does a cancel through the reporter, which libzip sees as a failed read.
//
// Thread-safety: the sources are read by the one thread running zip_close(); workers start
// with start() and are joined by the destructor.
class ParallelDeflate {
public:
    struct File {
        QString path;
        QString entryName;
        qint64 size = 0;     // as found when packing began
        qint64 modified = 0; // seconds since the epoch
    };

    ParallelDeflate(QList<File> files, ProgressReporter &progress);
    ~ParallelDeflate();
    ParallelDeflate(const ParallelDeflate &) = delete;
    ParallelDeflate &operator=(const ParallelDeflate &) = delete;

    // The source of files[index], for zip_file_add (which then owns it).
    zip_source_t *sourceFor(zip_t *archive, qsizetype index);
    void start();
    // The first failure of a worker (a file that could not be read), else none.
    Error failure() const;

private:
    struct Chunk {
        QByteArray data;
        qint64 inputBytes = 0; // the file bytes it stands for
    };
    struct Slot {
        std::deque<Chunk> chunks;
        qsizetype offset = 0; // into the front chunk
        bool done = false;
        bool failed = false;
        unsigned long crc = 0;
        qint64 bytesRead = 0;
    };
    struct SourceContext {
        ParallelDeflate *owner;
        qsizetype index;
        zip_error_t error;
    };

    static zip_int64_t callback(void *context, void *data, zip_uint64_t length,
                                zip_source_cmd_t command);
    zip_int64_t read(SourceContext &source, char *data, zip_uint64_t length);
    void stat(qsizetype index, zip_stat_t *stat);
    void opened(qsizetype index);

    class Compressors;

    void work();
    void deflateFile(qsizetype index, Compressors &compressors);
    void deflateStreamed(qsizetype index, int fd, const QByteArray &head);
    bool push(qsizetype index, Chunk chunk);
    void finishSlot(qsizetype index, bool failed, unsigned long crc, qint64 bytesRead);
    void fail(const Error &error);

    // Const: the workers index it at once, and a non-const operator[] would detach a list still
    // shared with the caller's, which is a write racing with the other workers' reads.
    const QList<File> m_files;
    ProgressReporter &m_progress;
    std::vector<Slot> m_slots;
    std::vector<std::unique_ptr<SourceContext>> m_contexts;
    std::vector<std::thread> m_workers;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    qsizetype m_next = 0;     // the next file a worker takes
    qsizetype m_writing = -1; // the file libzip is writing
    qint64 m_buffered = 0;    // deflate bytes waiting for libzip
    bool m_stopped = false;
    Error m_failure;
};
