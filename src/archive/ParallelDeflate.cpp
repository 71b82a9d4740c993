#include "ParallelDeflate.h"

#include "ArchiveErrors.h"

#include <Descriptors.h>
#include <FileNameCodec.h>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <libdeflate.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace {

constexpr qint64 chunkSize = 256 * 1024;
constexpr qint64 wholeFileLimit = 8 * 1024 * 1024;
constexpr qint64 bufferedLimit = 16 * 1024 * 1024;
constexpr int level = 6; // the level of `zip -6`, the common default
constexpr int incompressiblePercent = 98;
constexpr qint64 sampleSize = 8 * 1024;
constexpr qint64 sampledFrom = 64 * 1024; // smaller files are simply compressed
constexpr qint64 storedBlockSize = 0xFFFF;

bool shrinks(qint64 input, qint64 output)
{
    return output * 100 <= input * incompressiblePercent;
}

// Reads until `limit` bytes or the end of the file; false with errno set on a failure.
bool readUpTo(int fd, QByteArray *data, qint64 limit)
{
    data->resize(limit);
    qint64 filled = 0;
    while (filled < limit) {
        const auto n = ::read(fd, data->data() + filled, size_t(limit - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        filled += n;
    }
    data->truncate(filled);
    return true;
}

// Deflate's stored blocks: the data as it is, in blocks of up to 65,535 bytes.
QByteArray storedBlocks(const QByteArray &data)
{
    QByteArray out;
    out.reserve(data.size() + (data.size() / storedBlockSize + 1) * 5);
    qint64 done = 0;
    do {
        const auto n = std::min(storedBlockSize, data.size() - done);
        const bool last = done + n == data.size();
        const char header[5] = {char(last ? 1 : 0), char(n & 0xFF), char(n >> 8),
                                char(~n & 0xFF), char((~n >> 8) & 0xFF)};
        out.append(header, 5).append(data.constData() + done, n);
        done += n;
    } while (done < data.size());
    return out;
}

} // namespace

// libdeflate's compressors for one worker: level 6 for the data, the fastest for the samples
// that tell data that doesn't shrink (pictures, archives, random bytes) from data that does.
class ParallelDeflate::Compressors {
public:
    Compressors()
        : m_full(libdeflate_alloc_compressor(level)), m_sample(libdeflate_alloc_compressor(1))
    {
    }
    ~Compressors()
    {
        libdeflate_free_compressor(m_full);
        libdeflate_free_compressor(m_sample);
    }
    Compressors(const Compressors &) = delete;
    Compressors &operator=(const Compressors &) = delete;

    bool isOpen() const { return m_full && m_sample; }

    // Raw deflate of the whole `data`: compressed at level 6, or stored when samples from
    // its start and middle don't shrink, so no time goes into compressing in vain.
    QByteArray deflate(const QByteArray &data)
    {
        if (data.size() >= sampledFrom && !sampleShrinks(data, 0) &&
            !sampleShrinks(data, data.size() / 2))
            return storedBlocks(data);
        QByteArray out(qsizetype(libdeflate_deflate_compress_bound(m_full, size_t(data.size()))),
                       Qt::Uninitialized);
        const auto n = libdeflate_deflate_compress(m_full, data.constData(), size_t(data.size()),
                                                   out.data(), size_t(out.size()));
        out.truncate(qsizetype(n));
        return out;
    }

private:
    bool sampleShrinks(const QByteArray &data, qint64 from)
    {
        char out[sampleSize + 1024];
        const auto n = libdeflate_deflate_compress(m_sample, data.constData() + from,
                                                   size_t(sampleSize), out, sizeof(out));
        return n != 0 && shrinks(sampleSize, qint64(n));
    }

    libdeflate_compressor *m_full;
    libdeflate_compressor *m_sample;
};

namespace {

// One file's raw deflate stream, its output handed over in chunks of chunkSize.
class DeflateStream {
public:
    struct Output {
        QByteArray data;
        qint64 inputBytes;
    };

    DeflateStream()
    {
        m_open = deflateInit2(&m_z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~DeflateStream()
    {
        if (m_open)
            deflateEnd(&m_z);
    }
    DeflateStream(const DeflateStream &) = delete;
    DeflateStream &operator=(const DeflateStream &) = delete;

    bool isOpen() const { return m_open; }
    qint64 totalIn() const { return qint64(m_z.total_in); }
    bool shrinks() const { return ::shrinks(qint64(m_z.total_in), qint64(m_z.total_out)); }

    // Takes `size` bytes with zlib's `flush` (Z_FINISH: the end) and calls sink(Output) for
    // every full chunk, and for the last one at the end; false as soon as sink refuses.
    template <typename Sink> bool feed(const char *data, qint64 size, int flush, Sink &&sink)
    {
        m_z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
        m_z.avail_in = uInt(size);
        int status = Z_OK;
        do {
            if (m_z.avail_out == 0 && !handOver(sink))
                return false;
            status = deflate(&m_z, flush);
        } while (m_z.avail_out == 0 && status != Z_STREAM_END);
        return flush != Z_FINISH || handOver(sink);
    }

    // From here on only stored blocks: cheap, and no larger than the data.
    template <typename Sink> bool storeFromNowOn(Sink &&sink)
    {
        if (m_z.avail_out == 0 && !handOver(sink))
            return false;
        deflateParams(&m_z, 0, Z_DEFAULT_STRATEGY);
        return true;
    }

private:
    template <typename Sink> bool handOver(Sink &&sink)
    {
        const auto used = m_out.size() - qint64(m_z.avail_out);
        if (used > 0) {
            m_out.truncate(used);
            m_out.squeeze(); // small files would otherwise keep whole chunks waiting
            const auto consumed = qint64(m_z.total_in);
            if (!sink(Output{std::move(m_out), consumed - m_chunkStart}))
                return false;
            m_chunkStart = consumed;
        }
        m_out = QByteArray(chunkSize, Qt::Uninitialized);
        m_z.next_out = reinterpret_cast<Bytef *>(m_out.data());
        m_z.avail_out = uInt(m_out.size());
        return true;
    }

    z_stream m_z{};
    bool m_open = false;
    QByteArray m_out;
    qint64 m_chunkStart = 0;
};

} // namespace

ParallelDeflate::ParallelDeflate(QList<File> files, ProgressReporter &progress)
    : m_files(std::move(files)), m_progress(progress), m_slots(size_t(m_files.size()))
{
}

ParallelDeflate::~ParallelDeflate()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_changed.notify_all();
    for (auto &worker : m_workers)
        worker.join();
}

zip_source_t *ParallelDeflate::sourceFor(zip_t *archive, qsizetype index)
{
    m_contexts.push_back(std::make_unique<SourceContext>(SourceContext{this, index, {}}));
    zip_error_init(&m_contexts.back()->error);
    return zip_source_function(archive, &ParallelDeflate::callback, m_contexts.back().get());
}

void ParallelDeflate::start()
{
    const int workers = std::clamp(QThread::idealThreadCount(), 1, 2);
    for (int i = 0; i < workers; ++i)
        m_workers.emplace_back([this] { work(); });
}

Error ParallelDeflate::failure() const
{
    std::lock_guard lock(m_mutex);
    return m_failure;
}

zip_int64_t ParallelDeflate::callback(void *context, void *data, zip_uint64_t length,
                                      zip_source_cmd_t command)
{
    auto &source = *static_cast<SourceContext *>(context);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        source.owner->opened(source.index);
        return 0;
    case ZIP_SOURCE_READ:
        return source.owner->read(source, static_cast<char *>(data), length);
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto *stat = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &source.error);
        if (!stat)
            return -1;
        source.owner->stat(source.index, stat);
        return sizeof(*stat);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&source.error, data, length);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&source.error);
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              ZIP_SOURCE_SUPPORTS, -1);
    default:
        zip_error_set(&source.error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

void ParallelDeflate::opened(qsizetype index)
{
    {
        std::lock_guard lock(m_mutex);
        m_writing = index;
    }
    m_changed.notify_all(); // a worker held back on this file may go on
    m_progress.entryStarted(m_files[index].entryName);
}

void ParallelDeflate::stat(qsizetype index, zip_stat_t *stat)
{
    std::lock_guard lock(m_mutex);
    const auto &slot = m_slots[size_t(index)];
    stat->valid |= ZIP_STAT_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_MTIME;
    stat->comp_method = ZIP_CM_DEFLATE;
    stat->mtime = time_t(m_files[index].modified);
    stat->size = zip_uint64_t(slot.done ? slot.bytesRead : m_files[index].size);
    if (slot.done && !slot.failed) { // libzip asks again once it has read everything
        stat->valid |= ZIP_STAT_CRC;
        stat->crc = zip_uint32_t(slot.crc);
    }
}

zip_int64_t ParallelDeflate::read(SourceContext &source, char *data, zip_uint64_t length)
{
    for (;;) {
        if (m_progress.isCancelled()) {
            {
                std::lock_guard lock(m_mutex);
                m_stopped = true;
            }
            m_changed.notify_all();
            zip_error_set(&source.error, ZIP_ER_CANCELLED, 0);
            return -1;
        }
        std::unique_lock lock(m_mutex);
        auto &slot = m_slots[size_t(source.index)];
        // Woken now and then to see a cancel while a large file is being deflated.
        m_changed.wait_for(lock, std::chrono::milliseconds(100),
                           [&] { return !slot.chunks.empty() || slot.done || m_stopped; });
        if (!slot.chunks.empty()) {
            auto &front = slot.chunks.front();
            const auto n = std::min<qint64>(qint64(length), front.data.size() - slot.offset);
            std::copy_n(front.data.constData() + slot.offset, n, data);
            slot.offset += n;
            qint64 finishedInput = 0;
            if (slot.offset == front.data.size()) {
                finishedInput = front.inputBytes;
                m_buffered -= front.data.size();
                slot.chunks.pop_front();
                slot.offset = 0;
            }
            lock.unlock();
            if (finishedInput) {
                m_changed.notify_all();
                m_progress.addBytes(finishedInput);
            }
            return n;
        }
        if (slot.done && !slot.failed) {
            lock.unlock();
            m_progress.entryFinished();
            return 0;
        }
        if (slot.failed || m_stopped) {
            zip_error_set(&source.error, ZIP_ER_READ, EIO);
            return -1;
        }
    }
}

void ParallelDeflate::work()
{
    Compressors compressors;
    for (;;) {
        qsizetype index;
        {
            std::lock_guard lock(m_mutex);
            if (m_stopped || m_next >= m_files.size())
                return;
            index = m_next++;
        }
        deflateFile(index, compressors);
    }
}

void ParallelDeflate::deflateFile(qsizetype index, Compressors &compressors)
{
    const auto &file = m_files[index];
    // Never blocks on a fifo swapped in since the items were looked at; only files are read.
    const Fd input(::open(FileNameCodec::encode(file.path).constData(),
                          O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
    struct stat info {};
    if (!input.isValid() || ::fstat(input.get(), &info) != 0) {
        fail(ArchiveErrors::unreadableItem(file.entryName, errno));
        return finishSlot(index, true, 0, 0);
    }
    if (!S_ISREG(info.st_mode) || !compressors.isOpen()) {
        fail(S_ISREG(info.st_mode) ? ArchiveErrors::fromErrno(ENOMEM, file.entryName)
                                   : ArchiveErrors::unreadableItem(
                                         file.entryName, ArchiveErrors::tr("it is no longer a file")));
        return finishSlot(index, true, 0, 0);
    }
    // What fits is compressed in one call; a larger file goes on as a stream.
    QByteArray head;
    if (!readUpTo(input.get(), &head, wholeFileLimit + 1)) {
        fail(ArchiveErrors::fromErrno(errno, file.entryName));
        return finishSlot(index, true, 0, 0);
    }
    if (head.size() > wholeFileLimit)
        return deflateStreamed(index, input.get(), head);
    const auto crc = libdeflate_crc32(0, head.constData(), size_t(head.size()));
    const auto size = head.size();
    if (!push(index, Chunk{compressors.deflate(head), size}))
        return finishSlot(index, true, 0, 0);
    finishSlot(index, false, crc, size);
}

void ParallelDeflate::deflateStreamed(qsizetype index, int fd, const QByteArray &head)
{
    const auto &file = m_files[index];
    DeflateStream stream;
    if (!stream.isOpen()) {
        fail(ArchiveErrors::fromErrno(ENOMEM, file.entryName));
        return finishSlot(index, true, 0, 0);
    }
    const auto sink = [&](DeflateStream::Output output) {
        return push(index, Chunk{std::move(output.data), output.inputBytes});
    };
    QByteArray buffer(chunkSize, Qt::Uninitialized);
    quint32 crc = 0;
    qint64 fromHead = 0;
    for (bool first = true;; first = false) {
        const char *data = buffer.constData();
        qint64 n = 0;
        if (fromHead < head.size()) {
            data = head.constData() + fromHead;
            n = std::min(chunkSize, head.size() - fromHead);
            fromHead += n;
        } else {
            n = ::read(fd, buffer.data(), size_t(chunkSize));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                fail(ArchiveErrors::fromErrno(errno, file.entryName));
                return finishSlot(index, true, 0, 0);
            }
        }
        crc = libdeflate_crc32(crc, data, size_t(n));
        // The first chunk is flushed so that its compressed size is known exactly.
        const int flush = n == 0 ? Z_FINISH : first ? Z_SYNC_FLUSH : Z_NO_FLUSH;
        if (!stream.feed(data, n, flush, sink))
            return finishSlot(index, true, 0, 0);
        if (n == 0)
            break;
        if (first && !stream.shrinks() && !stream.storeFromNowOn(sink))
            return finishSlot(index, true, 0, 0);
    }
    finishSlot(index, false, crc, stream.totalIn());
}

bool ParallelDeflate::push(qsizetype index, Chunk chunk)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] {
        return m_stopped || index == m_writing || m_buffered + chunk.data.size() <= bufferedLimit;
    });
    if (m_stopped)
        return false;
    m_buffered += chunk.data.size();
    m_slots[size_t(index)].chunks.push_back(std::move(chunk));
    lock.unlock();
    m_changed.notify_all();
    return true;
}

void ParallelDeflate::finishSlot(qsizetype index, bool failed, unsigned long crc, qint64 bytesRead)
{
    {
        std::lock_guard lock(m_mutex);
        auto &slot = m_slots[size_t(index)];
        slot.done = true;
        slot.failed = failed;
        slot.crc = crc;
        slot.bytesRead = bytesRead;
    }
    m_changed.notify_all();
}

void ParallelDeflate::fail(const Error &error)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_failure.isSet())
            m_failure = error;
        m_stopped = true;
    }
    m_changed.notify_all();
}
