#include "ZipBackend.h"

#include "ArchiveErrors.h"
#include "CHandles.h"
#include "EntryChecks.h"
#include "EntryWriter.h"
#include "LibzipMessage.h"
#include "ZipAesReader.h"
#include "ZipNameDecoding.h"

#include <FileNameCodec.h>
#include <QFile>
#include <QHash>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <limits>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

constexpr qint64 chunkSize = 256 * 1024;
constexpr qint64 largestLinkTarget = 4096;
constexpr qint64 parallelThreshold = 4 * 1024 * 1024; // below this one worker is quicker
constexpr qint64 manyEntries = 20000;

ZipArchivePtr openArchive(const QString &path, const QString &password, Error *error)
{
    int code = 0;
    ZipArchivePtr archive(zip_open(FileNameCodec::encode(path).constData(), ZIP_RDONLY, &code));
    if (!archive) {
        fail(error, ArchiveErrors::unreadableArchive(libzipMessage(code)));
        return archive;
    }
    if (!password.isEmpty())
        zip_set_default_password(archive.get(), password.toUtf8().constData());
    return archive;
}

bool isAes(zip_uint16_t method)
{
    return method == ZIP_EM_AES_128 || method == ZIP_EM_AES_192 || method == ZIP_EM_AES_256;
}

bool isReadableEncryption(zip_uint16_t method)
{
    return method == ZIP_EM_NONE || method == ZIP_EM_TRAD_PKWARE || isAes(method);
}

ArchiveEntry::Type typeFor(const QByteArray &rawName, quint32 unixMode, zip_uint64_t size)
{
    if (rawName.endsWith('/') || rawName.endsWith('\\') || S_ISDIR(unixMode))
        return ArchiveEntry::Type::Directory;
    if (S_ISLNK(unixMode))
        return ArchiveEntry::Type::SymbolicLink;
    // Info-ZIP packs what it reads from standard input ("zip out.zip -") with the pipe's fifo
    // mode and the data it read: that is a file. Any other fifo, device or socket is only mode
    // bits here, but it is what the archive claims to hold: refused like one, never turned
    // into a plain file.
    if (S_ISFIFO(unixMode) && size > 0)
        return ArchiveEntry::Type::File;
    if (S_ISFIFO(unixMode) || S_ISCHR(unixMode) || S_ISBLK(unixMode) || S_ISSOCK(unixMode))
        return ArchiveEntry::Type::Special;
    return ArchiveEntry::Type::File;
}

Error errorOpening(zip_t *archive, const zip_stat_t &stat)
{
    const int code = zip_error_code_zip(zip_get_error(archive));
    if (code == ZIP_ER_NOPASSWD)
        return ArchiveErrors::passwordRequired(ArchiveKind::Zip);
    if (code == ZIP_ER_WRONGPASSWD)
        return ArchiveErrors::incorrectPassword();
    return ArchiveErrors::unreadableArchive(
        QStringLiteral("%1: %2").arg(QString::fromUtf8(stat.name), libzipMessage(code)));
}

// Reads an entry's data through libzip's own decryption and decompression.
bool readThroughLibzip(zip_t *archive, const ArchiveEntry &entry, const zip_stat_t &stat,
                       ProgressReporter *progress, const ZipAesReader::Sink &sink, Error *error)
{
    ZipFilePtr file(zip_fopen_index(archive, zip_uint64_t(entry.index), 0));
    if (!file)
        return fail(error, errorOpening(archive, stat));
    std::vector<char> buffer(size_t(std::min<qint64>(chunkSize, std::max<qint64>(entry.size, 1))));
    qint64 total = 0;
    for (;;) {
        if (progress && progress->isCancelled())
            return fail(error, ArchiveErrors::cancelled());
        const auto n = zip_fread(file.get(), buffer.data(), buffer.size());
        if (n == 0)
            return true;
        if (n < 0) {
            const int code = zip_error_code_zip(zip_file_get_error(file.get()));
            if (code == ZIP_ER_CRC && isAes(stat.encryption_method) && total == entry.size)
                return true; // AES entries carry their own authentication code
            return fail(error, ArchiveErrors::unreadableArchive(
                                   QStringLiteral("%1: %2").arg(entry.path, libzipMessage(code))));
        }
        total += n;
        if (!sink(buffer.data(), n, error))
            return false;
    }
}

// Reads an entry's data in chunks into `sink`; at most the declared size is accepted, so a
// lying header can't make an entry grow without end. AES entries take the faster reader.
bool readEntry(zip_t *archive, const ArchiveEntry &entry, const QByteArray &password,
               ProgressReporter *progress, const ZipAesReader::Sink &sink, Error *error)
{
    zip_stat_t stat;
    zip_stat_index(archive, zip_uint64_t(entry.index), 0, &stat);
    qint64 total = 0;
    const ZipAesReader::Sink checked = [&](const char *data, qint64 n, Error *e) {
        total += n;
        if (total > entry.size)
            return fail(
                e, ArchiveErrors::unreadableArchive(
                       ArchiveErrors::tr("%1 holds more data than it declares").arg(entry.path)));
        if (!sink(data, n, e))
            return false;
        if (progress)
            progress->addBytes(n);
        return true;
    };
    Error readError;
    bool done = !password.isEmpty() && ZipAesReader::canRead(stat)
                    ? ZipAesReader::read(archive, stat, password, progress, checked, &readError)
                    : readThroughLibzip(archive, entry, stat, progress, checked, &readError);
    if (done && total != entry.size) {
        readError = ArchiveErrors::unreadableArchive(
            ArchiveErrors::tr("%1 is shorter than it declares").arg(entry.path));
        done = false;
    }
    if (done)
        return true;
    // ZipCrypto checks a password against one byte only: about one wrong password in 256
    // passes, and the data then comes out as garbage (a CRC or inflate failure, a wrong size).
    if (readError.code == ArchiveErrors::UnreadableArchive && !password.isEmpty() &&
        stat.encryption_method == ZIP_EM_TRAD_PKWARE)
        readError = ArchiveErrors::incorrectPassword();
    return fail(error, readError);
}

// A link's target is its data; failing to read it is a failure of its own (a wrong password,
// damage), never an empty target.
std::optional<QString> readLinkTarget(zip_t *archive, const ArchiveEntry &entry,
                                      const QByteArray &password, Error *error)
{
    QByteArray target;
    const auto append = [&](const char *data, qint64 n, Error *) {
        target.append(data, n);
        return true;
    };
    if (!readEntry(archive, entry, password, nullptr, append, error))
        return std::nullopt;
    return FileNameCodec::decode(target);
}

ArchiveEntry entryAt(zip_t *archive, zip_uint64_t index)
{
    zip_stat_t stat;
    zip_stat_index(archive, index, ZIP_FL_ENC_RAW, &stat);
    const QByteArray raw(stat.name ? stat.name : "");
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    zip_file_get_external_attributes(archive, index, 0, &system, &attributes);
    const quint32 unixMode = system == ZIP_OPSYS_UNIX ? attributes >> 16 : 0;
    ArchiveEntry entry;
    entry.index = qint64(index);
    entry.path = ZipNameDecoding::decode(raw, system == ZIP_OPSYS_UNIX);
    entry.type = typeFor(raw, unixMode, (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0);
    if (stat.valid & ZIP_STAT_SIZE) // Zip64 sizes are unsigned; beyond qint64 is a lie anyway
        entry.size = qint64(std::min<zip_uint64_t>(stat.size, std::numeric_limits<qint64>::max()));
    entry.mode = unixMode & 07777;
    entry.encrypted =
        (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
    if (stat.valid & ZIP_STAT_MTIME)
        entry.modified = QDateTime::fromSecsSinceEpoch(stat.mtime, Qt::UTC);
    return entry;
}

// The files to write (positions in `entries`), the last of each exact name only ("README"
// and "readme" are two files), largest first so two workers end together.
std::vector<qsizetype> filesToWrite(const QList<ArchiveEntry> &entries)
{
    QHash<QString, qsizetype> lastIndex;
    lastIndex.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (auto name = EntryChecks::exactName(entries[i].path); !name.isEmpty())
            lastIndex.insert(std::move(name), i);
    std::vector<qsizetype> files;
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (entries[i].type == ArchiveEntry::Type::File &&
            lastIndex.value(EntryChecks::exactName(entries[i].path), -1) == i)
            files.push_back(i);
    std::stable_sort(files.begin(), files.end(), [&](qsizetype a, qsizetype b) {
        return entries[a].size > entries[b].size;
    });
    return files;
}

// Runs the file writers; the first failure stops the others at their next chunk.
class ParallelUnzip {
public:
    ParallelUnzip(const QString &archivePath, const QString &password, EntryWriter &writer,
                  ProgressReporter &progress)
        : m_archivePath(archivePath), m_password(password), m_passwordBytes(password.toUtf8()),
          m_writer(writer), m_progress(progress)
    {
    }

    bool run(const QList<ArchiveEntry> &entries, const std::vector<qsizetype> &files,
             qint64 totalSize, Error *error)
    {
        m_entries = &entries;
        m_files = &files;
        // Each worker's libzip handle holds the whole central directory (about 300 bytes an
        // entry): a second one is worth it for large data, not for a great many small files.
        const bool manySmall = qint64(files.size()) > manyEntries &&
                               totalSize / qint64(files.size()) < parallelThreshold / 64;
        const int workers = totalSize < parallelThreshold || manySmall
                                ? 1
                                : std::clamp(QThread::idealThreadCount(), 1, 2);
        std::vector<std::thread> threads;
        for (int i = 1; i < workers; ++i)
            threads.emplace_back([this] { work(); });
        work();
        for (auto &thread : threads)
            thread.join();
        return m_error.isSet() ? fail(error, m_error) : true;
    }

private:
    void work()
    {
        Error error;
        auto archive = openArchive(m_archivePath, m_password, &error);
        if (!archive)
            return stop(error);
        for (auto i = m_next++; i < qsizetype(m_files->size()) && !m_stopped; i = m_next++)
            if (!writeOne(archive.get(), (*m_entries)[(*m_files)[size_t(i)]], &error))
                return stop(error);
    }

    bool writeOne(zip_t *archive, const ArchiveEntry &entry, Error *error)
    {
        m_progress.entryStarted(entry.path);
        auto file = m_writer.createFile(entry, error);
        if (!file)
            return false;
        const auto sink = [&](const char *data, qint64 n, Error *e) {
            return !m_stopped && file->write(data, n, e);
        };
        if (!readEntry(archive, entry, m_passwordBytes, &m_progress, sink, error) ||
            !file->finish(error))
            return false;
        m_progress.entryFinished();
        return true;
    }

    void stop(const Error &error)
    {
        std::lock_guard lock(m_errorMutex);
        if (!m_error.isSet() && error.isSet())
            m_error = error;
        m_stopped = true;
    }

    const QString &m_archivePath;
    const QString &m_password;
    const QByteArray m_passwordBytes;
    EntryWriter &m_writer;
    ProgressReporter &m_progress;
    const QList<ArchiveEntry> *m_entries = nullptr;
    const std::vector<qsizetype> *m_files = nullptr;
    std::atomic<qsizetype> m_next = 0;
    std::atomic<bool> m_stopped = false;
    std::mutex m_errorMutex;
    Error m_error;
};

} // namespace

const BackendCapabilities &ZipBackend::capabilities() const
{
    static const BackendCapabilities caps{
        QStringLiteral("libzip"), BackendCapabilities::PasswordChannel::InProcess, true, true};
    return caps;
}

bool ZipBackend::list(const QString &archivePath, const QString &password, ArchiveListing *listing,
                      ProgressReporter *progress, Error *error)
{
    auto archive = openArchive(archivePath, password, error);
    if (!archive)
        return false;
    const auto count = zip_get_num_entries(archive.get(), 0);
    // Strong encryption and methods libzip doesn't know: no password helps (and libzip 1.7.3
    // leaks on every attempt to open such an entry), so the archive is refused at once.
    for (zip_int64_t i = 0; i < count; ++i)
        if (zip_stat_t stat; zip_stat_index(archive.get(), zip_uint64_t(i), 0, &stat) == 0 &&
                             !isReadableEncryption(stat.encryption_method))
            return fail(error, ArchiveErrors::unsupportedEncryption(ArchiveKind::Zip));
    listing->entries.reserve(qsizetype(count));
    for (zip_int64_t i = 0; i < count; ++i) {
        if (progress && progress->isCancelled())
            return fail(error, ArchiveErrors::cancelled());
        auto entry = entryAt(archive.get(), zip_uint64_t(i));
        if (entry.type == ArchiveEntry::Type::SymbolicLink && !entry.encrypted &&
            entry.size <= largestLinkTarget)
            entry.linkTarget = readLinkTarget(archive.get(), entry, {}, nullptr).value_or(QString());
        listing->add(std::move(entry));
    }
    return true;
}

bool ZipBackend::extract(const QString &archivePath, const QString &stagingPath,
                         const QString &password, const ArchiveListing &listing,
                         ProgressReporter &progress, Error *error)
{
    EntryWriter writer(stagingPath);
    for (const auto &entry : listing.entries) {
        if (entry.type != ArchiveEntry::Type::Directory)
            continue;
        if (!writer.makeDirectory(entry, error))
            return false;
        progress.entryFinished();
    }
    const auto files = filesToWrite(listing.entries);
    if (!ParallelUnzip(archivePath, password, writer, progress)
             .run(listing.entries, files, listing.totalSize, error))
        return false;
    auto archive = openArchive(archivePath, password, error);
    if (!archive)
        return false;
    for (const auto &entry : listing.entries) {
        if (entry.type != ArchiveEntry::Type::SymbolicLink)
            continue;
        const auto target = entry.linkTarget.isEmpty()
                                ? readLinkTarget(archive.get(), entry, password.toUtf8(), error)
                                : entry.linkTarget;
        if (!target || !writer.makeSymbolicLink(entry, *target, error))
            return false;
        progress.entryFinished();
    }
    writer.finishDirectories();
    return true;
}
