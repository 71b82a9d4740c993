#include "ZipBackend.h"

#include "ArchiveErrors.h"
#include "EntryChecks.h"
#include "EntryWriter.h"
#include "ZipDirectory.h"
#include "ZipEntryReader.h"
#include "ZipNameDecoding.h"

#include <FileNameCodec.h>
#include <QHash>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

constexpr qint64 largestLinkTarget = 4096;
constexpr qint64 parallelThreshold = 4 * 1024 * 1024; // below this one worker is quicker

ArchiveEntry::Type typeFor(QByteArrayView rawName, quint32 unixMode, quint64 size)
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

ArchiveEntry::Type typeAt(const ZipDirectory &directory, qsizetype index)
{
    const auto &record = directory.entry(index);
    return typeFor(directory.rawName(index), record.unixMode, record.size);
}

// A zip's listing as its directory holds it: each ArchiveEntry is made when asked for, so a
// listing costs the directory's compact records, not a set of strings per entry.
class ZipListing final : public ArchiveEntryList::Store {
public:
    ZipListing(std::shared_ptr<const ZipDirectory> directory, QByteArray nameEncoding)
        : m_directory(std::move(directory)), m_nameEncoding(std::move(nameEncoding))
    {
    }

    qsizetype size() const override { return m_directory->size(); }

    ArchiveEntry at(qsizetype index) const override
    {
        const auto &record = m_directory->entry(index);
        const auto raw = m_directory->rawName(index);
        ArchiveEntry entry;
        entry.index = index;
        // The directory keeps a mode only for entries made on Unix.
        entry.path = record.utf8Name || m_nameEncoding.isEmpty()
                         ? ZipNameDecoding::decode(raw, record.unixMode != 0)
                         : ZipNameDecoding::decodeAs(raw, m_nameEncoding);
        entry.type = typeFor(raw, record.unixMode, record.size);
        entry.size = qint64(record.size);
        entry.packedSize = qint64(record.compressedSize);
        entry.mode = record.unixMode & 07777;
        entry.encrypted = m_directory->encryption(index) != ZipDirectory::Encryption::None;
        if (record.modified != 0)
            entry.modified = QDateTime::fromSecsSinceEpoch(record.modified, Qt::UTC);
        entry.linkTarget = m_linkTargets.value(index);
        return entry;
    }

    QByteArrayView storedName(qsizetype index) const override
    {
        return m_directory->rawName(index);
    }

    const std::shared_ptr<const ZipDirectory> &directory() const { return m_directory; }

    // Targets of the plain links, read while listing so the checks see them before anything
    // is written.
    void setLinkTarget(qsizetype index, QString target) { m_linkTargets.insert(index, target); }

private:
    std::shared_ptr<const ZipDirectory> m_directory;
    QByteArray m_nameEncoding;
    QHash<qsizetype, QString> m_linkTargets;
};

// A link's target is its data; failing to read it is a failure of its own (a wrong password,
// damage), never an empty target.
std::optional<QString> readLinkTarget(ZipEntryReader &reader, const ArchiveEntry &entry,
                                      Error *error)
{
    QByteArray target;
    const auto append = [&](const char *data, qint64 n, Error *) {
        target.append(data, n);
        return true;
    };
    if (!reader.read(entry.index, entry.path, nullptr, append, error))
        return std::nullopt;
    return FileNameCodec::decode(target);
}

// The files to write (indices of entries), the last of each exact name only ("README" and
// "readme" are two files). Kept small for archives of many entries: the names' hashes with
// the indices, sorted, and only names of equal hashes compared for real, so a collision never
// drops a file. Largest first, so two workers end together.
std::vector<quint32> filesToWrite(const ArchiveListing &listing, const ZipDirectory &directory)
{
    const auto &entries = listing.entries;
    struct Named {
        size_t hash;
        quint32 index;
    };
    std::vector<Named> named;
    named.reserve(size_t(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (const auto name = EntryChecks::exactName(entries.at(i).path);
            !name.isEmpty() && listing.isWanted(name))
            named.push_back({qHash(name, QHashSeed::globalSeed()), quint32(i)});
    std::sort(named.begin(), named.end(), [](const Named &a, const Named &b) {
        return a.hash != b.hash ? a.hash < b.hash : a.index < b.index;
    });
    std::vector<quint32> files;
    for (size_t i = 0; i < named.size(); ++i) {
        const auto index = named[i].index;
        if (typeAt(directory, index) != ArchiveEntry::Type::File)
            continue;
        bool replacedLater = false;
        for (size_t j = i + 1; j < named.size() && named[j].hash == named[i].hash; ++j)
            replacedLater = replacedLater ||
                            EntryChecks::exactName(entries.at(named[j].index).path) ==
                                EntryChecks::exactName(entries.at(index).path);
        if (!replacedLater)
            files.push_back(index);
    }
    std::vector<Named>().swap(named);
    std::sort(files.begin(), files.end());
    std::stable_sort(files.begin(), files.end(), [&](quint32 a, quint32 b) {
        return directory.entry(a).size > directory.entry(b).size;
    });
    return files;
}

// Runs the file writers, each with a reader of its own over the shared directory; the first
// failure stops the others at their next piece.
class ParallelUnzip {
public:
    ParallelUnzip(std::shared_ptr<const ZipDirectory> directory, const ArchiveEntryList &entries,
                  const QString &password, EntryWriter &writer, ProgressReporter &progress)
        : m_directory(std::move(directory)), m_entries(entries), m_password(password.toUtf8()),
          m_writer(writer), m_progress(progress)
    {
    }

    bool run(const std::vector<quint32> &files, qint64 totalSize, Error *error)
    {
        m_files = &files;
        const int workers =
            totalSize < parallelThreshold ? 1 : std::clamp(QThread::idealThreadCount(), 1, 2);
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
        ZipEntryReader reader(m_directory, m_password);
        Error error;
        for (auto i = m_next++; i < m_files->size() && !m_stopped; i = m_next++)
            if (!writeOne(reader, m_entries.at((*m_files)[i]), &error))
                return stop(error);
    }

    bool writeOne(ZipEntryReader &reader, const ArchiveEntry &entry, Error *error)
    {
        m_progress.entryStarted(entry.path);
        auto file = m_writer.createFile(entry, error);
        if (!file)
            return false;
        const auto sink = [&](const char *data, qint64 n, Error *e) {
            return !m_stopped && file->write(data, n, e);
        };
        if (!reader.read(entry.index, entry.path, &m_progress, sink, error) ||
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

    const std::shared_ptr<const ZipDirectory> m_directory;
    const ArchiveEntryList &m_entries;
    const QByteArray m_password;
    EntryWriter &m_writer;
    ProgressReporter &m_progress;
    const std::vector<quint32> *m_files = nullptr;
    std::atomic<size_t> m_next = 0;
    std::atomic<bool> m_stopped = false;
    std::mutex m_errorMutex;
    Error m_error;
};

} // namespace

const BackendCapabilities &ZipBackend::capabilities() const
{
    static const BackendCapabilities caps{
        QStringLiteral("zip"), BackendCapabilities::PasswordChannel::InProcess, true, true};
    return caps;
}

bool ZipBackend::list(const QString &archivePath, const QString &password, ArchiveListing *listing,
                      ProgressReporter *progress, Error *error)
{
    Q_UNUSED(password); // names and sizes are never encrypted in a zip
    auto directory = ZipDirectory::read(archivePath, error);
    if (!directory)
        return false;
    // Strong encryption and AES of an unknown kind: no password helps, so the archive is
    // refused at once.
    for (qsizetype i = 0; i < directory->size(); ++i)
        if (directory->encryption(i) == ZipDirectory::Encryption::Unsupported)
            return fail(error, ArchiveErrors::unsupportedEncryption(ArchiveKind::Zip));
    auto store = std::make_shared<ZipListing>(directory, m_nameEncoding);
    ZipEntryReader reader(directory, {});
    for (qsizetype i = 0; i < directory->size(); ++i) {
        if (progress && progress->isCancelled())
            return fail(error, ArchiveErrors::cancelled());
        const auto &record = directory->entry(i);
        const bool encrypted = directory->encryption(i) != ZipDirectory::Encryption::None;
        listing->needsPassword = listing->needsPassword || encrypted;
        listing->addToTotal(qint64(record.size));
        if (typeAt(*directory, i) == ArchiveEntry::Type::SymbolicLink && !encrypted &&
            qint64(record.size) <= largestLinkTarget)
            if (auto target = readLinkTarget(reader, store->at(i), nullptr))
                store->setLinkTarget(i, std::move(*target));
    }
    listing->entries = ArchiveEntryList(std::move(store));
    return true;
}

bool ZipBackend::extract(const QString &archivePath, const QString &stagingPath,
                         const QString &password, const ArchiveListing &listing,
                         ProgressReporter &progress, Error *error)
{
    ArchiveListing own;
    const ArchiveListing *listed = &listing;
    if (!dynamic_cast<const ZipListing *>(listing.entries.store().get())) { // listed elsewhere
        if (!list(archivePath, password, &own, &progress, error))
            return false;
        listed = &own;
    }
    const auto *store = static_cast<const ZipListing *>(listed->entries.store().get());
    const auto &entries = listed->entries;
    const auto &directory = *store->directory();
    EntryWriter writer(stagingPath);
    for (qsizetype i = 0; i < directory.size(); ++i) {
        if (typeAt(directory, i) != ArchiveEntry::Type::Directory)
            continue;
        const auto entry = store->at(i);
        if (!listing.isWanted(EntryChecks::exactName(entry.path)))
            continue;
        if (!writer.makeDirectory(entry, error))
            return false;
        progress.entryFinished();
    }
    ArchiveListing wantedOnly;
    wantedOnly.entries = entries;
    wantedOnly.wanted = listing.wanted;
    const auto files = filesToWrite(wantedOnly, directory);
    if (!ParallelUnzip(store->directory(), entries, password, writer, progress)
             .run(files, listed->totalSize, error))
        return false;
    ZipEntryReader reader(store->directory(), password.toUtf8());
    for (qsizetype i = 0; i < directory.size(); ++i) {
        if (typeAt(directory, i) != ArchiveEntry::Type::SymbolicLink)
            continue;
        const auto entry = store->at(i);
        if (!listing.isWanted(EntryChecks::exactName(entry.path)))
            continue;
        const auto target =
            entry.linkTarget.isEmpty() ? readLinkTarget(reader, entry, error) : entry.linkTarget;
        if (!target || !writer.makeSymbolicLink(entry, *target, error))
            return false;
        progress.entryFinished();
    }
    writer.finishDirectories();
    return true;
}

bool ZipBackend::madeListing(const ArchiveEntryList &entries)
{
    return dynamic_cast<const ZipListing *>(entries.store().get()) != nullptr;
}

bool ZipBackend::readEntry(const ArchiveEntryList &entries, qsizetype position,
                           const QString &password, ProgressReporter *progress,
                           const std::function<bool(const char *, qint64, Error *)> &sink,
                           Error *error)
{
    const auto *store = dynamic_cast<const ZipListing *>(entries.store().get());
    if (!store || position < 0 || position >= store->size())
        return fail(error, ArchiveErrors::unreadableArchive(QString()));
    ZipEntryReader reader(store->directory(), password.toUtf8());
    return reader.read(position, store->at(position).path, progress, sink, error);
}
