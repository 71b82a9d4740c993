#include "LibarchiveBackend.h"

#include "ArchiveErrors.h"
#include "ArchiveFile.h"
#include "ArchiveHeader.h"
#include "CHandles.h"
#include "EntryChecks.h"
#include "EntryWriter.h"
#include "GzipStream.h"
#include "LibarchiveMessage.h"
#include "LibarchiveReadAhead.h"

#include <FileNameCodec.h>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr size_t blockSize = 256 * 1024;

using Formats = LibarchiveBackend::Formats;

// How a stream is read: an uncompressed file as any archive format; a compressed one as an
// archive only when its first decompressed bytes begin one, or its name says it is a tar
// (an empty tar is zeros), else as the one file it holds. libarchive's own choice is not
// enough: its tar reader takes a stream that begins with a zero block for an empty tar.
enum class Reading { Uncompressed, CompressedArchive, SingleFile };

bool nameSaysTar(const QString &path)
{
    const QFileInfo info(path);
    static const QStringList tarSuffixes{QStringLiteral("tgz"), QStringLiteral("tbz"),
                                         QStringLiteral("tbz2"), QStringLiteral("txz"),
                                         QStringLiteral("tzst")};
    return tarSuffixes.contains(info.suffix(), Qt::CaseInsensitive) ||
           info.completeBaseName().endsWith(QLatin1String(".tar"), Qt::CaseInsensitive);
}

// Opens the archive by a path that names the file itself, checked to be a regular file: one
// swapped for a fifo meanwhile would hold the reader for ever.
int openFile(struct archive *archive, const QString &path, Error *error)
{
    const auto file = ArchiveFile::open(path, error);
    if (!file.isValid())
        return ARCHIVE_FATAL;
    return archive_read_open_filename(archive, ArchiveFile::descriptorPath(file.get()).constData(),
                                      blockSize);
}

Reading readingFor(const QString &path)
{
    ArchiveReadPtr probe(archive_read_new());
    archive_read_support_filter_all(probe.get());
    archive_read_support_format_raw(probe.get());
    struct archive_entry *header = nullptr;
    if (openFile(probe.get(), path, nullptr) != ARCHIVE_OK ||
        archive_read_next_header(probe.get(), &header) != ARCHIVE_OK ||
        archive_filter_code(probe.get(), 0) == ARCHIVE_FILTER_NONE)
        return Reading::Uncompressed; // or unreadable: the real open says why
    if (nameSaysTar(path))
        return Reading::CompressedArchive;
    QByteArray first(512, '\0');
    qsizetype filled = 0;
    while (filled < first.size()) {
        const auto n = archive_read_data(probe.get(), first.data() + filled,
                                         size_t(first.size() - filled));
        if (n <= 0)
            break;
        filled += n;
    }
    return ArchiveHeader::beginsArchive(QByteArrayView(first).first(filled))
               ? Reading::CompressedArchive
               : Reading::SingleFile;
}

// With `gzip`, a compressed archive in gzip is inflated by a GzipStream made there, which must
// outlive the archive: its filter is then none, so only a listing asks for it.
ArchiveReadPtr openStream(const QString &path, Formats formats, Error *error,
                          std::unique_ptr<GzipStream> *gzip = nullptr)
{
    ArchiveReadPtr archive(archive_read_new());
    Reading reading = Reading::Uncompressed;
    if (formats == Formats::SevenZip) {
        archive_read_support_format_7zip(archive.get());
    } else {
        reading = readingFor(path);
        archive_read_support_filter_all(archive.get());
        if (reading != Reading::SingleFile) {
            archive_read_support_format_tar(archive.get());
            archive_read_support_format_gnutar(archive.get());
            archive_read_support_format_cpio(archive.get());
            archive_read_support_format_empty(archive.get());
        }
        if (reading == Reading::Uncompressed)
            archive_read_support_format_iso9660(archive.get());
        if (reading != Reading::CompressedArchive) // bids last: only when nothing else fits
            archive_read_support_format_raw(archive.get());
    }
    Error openError;
    if (gzip && reading == Reading::CompressedArchive) {
        auto file = ArchiveFile::open(path, &openError);
        if (file.isValid() && GzipStream::beginsGzip(file.get()))
            *gzip = std::make_unique<GzipStream>(std::move(file));
    }
    if ((gzip && *gzip ? (*gzip)->openOn(archive.get())
                       : openFile(archive.get(), path, &openError)) != ARCHIVE_OK) {
        fail(error, openError.isSet()
                        ? openError
                        : ArchiveErrors::unreadableArchive(libarchiveMessage(archive.get())));
        archive.reset();
    }
    return archive;
}

bool isRawStream(struct archive *archive)
{
    return archive_format(archive) == ARCHIVE_FORMAT_RAW;
}

// The one file a bare compressed stream holds: the gzip header's name when it is one plain
// component, else the archive's own name less its last extension.
QString rawEntryName(const QString &archivePath, const char *headerName)
{
    const auto fromHeader = FileNameCodec::decode(headerName ? headerName : "");
    const auto parts = EntryChecks::safeComponents(fromHeader);
    if (parts && parts->size() == 1 && fromHeader != QLatin1String("data") &&
        !fromHeader.contains(u'/') && !fromHeader.contains(u'\\'))
        return fromHeader;
    const auto base = QFileInfo(archivePath).completeBaseName();
    return base.isEmpty() ? QStringLiteral("data") : base;
}

// 7-Zip keeps each byte of a name that is not UTF-8 as a character of U+EF80..U+EFFF (and a
// real character of that block as the bytes of its UTF-8); its own tool writes the bytes back.
QString sevenZipName(QString stored)
{
    bool escaped = false;
    for (auto &c : stored)
        if (c.unicode() >= 0xEF80 && c.unicode() <= 0xEFFF) {
            c = QChar(ushort(c.unicode() - 0xEF00 + 0xDC00)); // FileNameCodec's escape
            escaped = true;
        }
    return escaped ? FileNameCodec::decode(FileNameCodec::encode(stored)) : stored;
}

// A name as the archive holds it: libarchive gives UTF-8 where it can convert the name, else the
// raw bytes (a tar or cpio name that is not UTF-8), which keep their value (FileNameCodec).
// A name of the header as text. libarchive gives it as UTF-8 by converting it through wide
// characters, one by one: a name in plain ASCII, the same in every encoding, is taken as it is.
QString nameOf(struct archive *archive, struct archive_entry *header, const char *raw,
               const char *(*utf8Of)(struct archive_entry *))
{
    QString name;
    if (raw && std::all_of(raw, raw + std::strlen(raw), [](char c) { return uchar(c) < 0x80; })) {
        name = QString::fromLatin1(raw);
    } else if (const char *utf8 = utf8Of(header)) {
        name = QString::fromUtf8(utf8);
    } else {
        return FileNameCodec::decode(raw ? raw : "");
    }
    return archive_format(archive) == ARCHIVE_FORMAT_7ZIP ? sevenZipName(name) : name;
}

ArchiveEntry entryFrom(struct archive *archive, struct archive_entry *header,
                       const QString &archivePath)
{
    ArchiveEntry entry;
    if (isRawStream(archive)) {
        entry.path = rawEntryName(archivePath, archive_entry_pathname(header));
        return entry; // size unknown until read
    }
    entry.path =
        nameOf(archive, header, archive_entry_pathname(header), archive_entry_pathname_utf8);
    entry.size = archive_entry_size_is_set(header) ? archive_entry_size(header) : 0;
    entry.mode = archive_entry_perm(header) & 07777;
    if (archive_entry_mtime_is_set(header))
        entry.modified = QDateTime::fromSecsSinceEpoch(archive_entry_mtime(header), Qt::UTC);
    if (const char *hardlink = archive_entry_hardlink(header)) {
        entry.type = ArchiveEntry::Type::HardLink;
        entry.linkTarget = nameOf(archive, header, hardlink, archive_entry_hardlink_utf8);
        return entry;
    }
    switch (archive_entry_filetype(header)) {
    case AE_IFREG:
        entry.type = ArchiveEntry::Type::File;
        break;
    case AE_IFDIR:
        entry.type = ArchiveEntry::Type::Directory;
        break;
    case AE_IFLNK: {
        entry.type = ArchiveEntry::Type::SymbolicLink;
        entry.linkTarget =
            nameOf(archive, header, archive_entry_symlink(header), archive_entry_symlink_utf8);
        break;
    }
    default:
        entry.type = ArchiveEntry::Type::Special;
    }
    return entry;
}

// The entry a header describes; fails for a stream that is neither an archive nor compressed.
std::optional<ArchiveEntry> describeHeader(struct archive *archive, struct archive_entry *header,
                                           const QString &archivePath, Error *error)
{
    if (isRawStream(archive) && archive_filter_code(archive, 0) == ARCHIVE_FILTER_NONE) {
        fail(error, ArchiveErrors::unreadableArchive(
                        ArchiveErrors::tr("not an archive of this kind")));
        return std::nullopt;
    }
    return entryFrom(archive, header, archivePath);
}

// Writes the stream's entries into the staging folder as the read-ahead delivers them.
class StreamExtraction {
public:
    StreamExtraction(const QString &stagingPath, ProgressReporter &progress)
        : m_writer(stagingPath), m_progress(progress)
    {
    }
    ~StreamExtraction() { m_writer.finishDirectories(); }

    bool run(LibarchiveReadAhead &reader, Error *error)
    {
        for (;;) {
            if (m_progress.isCancelled())
                return fail(error, ArchiveErrors::cancelled());
            auto event = reader.next();
            switch (event.kind) {
            case Event::Kind::End:
                return true;
            case Event::Kind::Failure:
                return fail(error, event.error);
            case Event::Kind::Entry:
                if (!startEntry(event.entry, error))
                    return false;
                break;
            case Event::Kind::Data:
                if (!writeData(event, error))
                    return false;
                break;
            case Event::Kind::EntryEnd:
                if (!m_file->skipTo(std::max<qint64>(event.offset, m_file->position()), error) ||
                    !m_file->finish(error) || !finishLinkSet(error))
                    return false;
                m_file.reset();
                m_progress.entryFinished();
                break;
            }
        }
    }

private:
    using Event = LibarchiveReadAhead::Event;

    bool startEntry(const ArchiveEntry &entry, Error *error)
    {
        if (auto reason = m_checker.check(entry); !reason.isEmpty())
            return fail(error, ArchiveErrors::unsafeEntry(entry.path, reason));
        m_progress.entryStarted(entry.path);
        bool done = false;
        switch (entry.type) {
        case ArchiveEntry::Type::Directory:
            done = m_writer.makeDirectory(entry, error);
            break;
        case ArchiveEntry::Type::SymbolicLink:
            done = m_writer.makeSymbolicLink(entry, entry.linkTarget, error);
            break;
        case ArchiveEntry::Type::HardLink:
            if (entry.size > 0)
                return startFile(entry, error); // the set's data, linked at its EntryEnd
            done = m_writer.makeHardLink(entry, error);
            if (done)
                m_linkSets[EntryChecks::exactName(entry.linkTarget)] << entry.path;
            break;
        case ArchiveEntry::Type::File:
            return startFile(entry, error);
        case ArchiveEntry::Type::Special:
            return fail(error,
                        ArchiveErrors::unsafeEntry(entry.path, EntryChecks::typeProblem(entry)));
        }
        if (done)
            m_progress.entryFinished();
        return done;
    }

    bool startFile(const ArchiveEntry &entry, Error *error)
    {
        if (auto file = m_writer.createFile(entry, error)) {
            m_file.emplace(std::move(*file));
            m_entry = entry;
            return true; // finished at its EntryEnd
        }
        return false;
    }

    // A hard link that brought the data of its set (cpio): the data was written under its own
    // name; the target and the links made to it before now become links to that file.
    bool finishLinkSet(Error *error)
    {
        if (m_entry.type != ArchiveEntry::Type::HardLink)
            return true;
        const auto target = EntryChecks::exactName(m_entry.linkTarget);
        auto members = m_linkSets.take(target);
        members.prepend(target);
        ArchiveEntry link = m_entry;
        link.linkTarget = m_entry.path;
        for (const auto &member : std::as_const(members)) {
            link.path = member;
            if (!m_writer.makeHardLink(link, error))
                return false;
        }
        m_linkSets[EntryChecks::exactName(m_entry.path)] = members;
        return true;
    }

    // Sparse entries come as blocks at offsets with holes between, which may not reach past
    // the declared size.
    bool writeData(const Event &event, Error *error)
    {
        if (m_entry.size > 0 && event.offset + event.data.size() > m_entry.size)
            return fail(error, ArchiveErrors::unreadableArchive(
                                   ArchiveErrors::tr("%1 holds more data than it declares")
                                       .arg(m_entry.path)));
        if (!m_file->skipTo(event.offset, error) ||
            !m_file->write(event.data.constData(), event.data.size(), error))
            return false;
        m_progress.setBytesDone(event.archiveBytesRead);
        return true;
    }

    EntryWriter m_writer;
    ProgressReporter &m_progress;
    EntryChecks::EntrySetChecker m_checker;
    ArchiveEntry m_entry;
    std::optional<EntryWriter::File> m_file;
    QHash<QString, QStringList> m_linkSets; // a file's name → the hard links made to it
};

// Reads one stream entry after another, skipping their data; `visit` returns false to stop.
template <typename Visit>
bool forEachEntry(const QString &archivePath, Formats formats, Error *error, Visit &&visit)
{
    std::unique_ptr<GzipStream> gzip;
    auto archive = openStream(archivePath, formats, error, &gzip);
    if (!archive)
        return false;
    for (;;) {
        struct archive_entry *header = nullptr;
        const int status = archive_read_next_header(archive.get(), &header);
        if (status == ARCHIVE_EOF)
            return true;
        if (status < ARCHIVE_WARN)
            return fail(error, ArchiveErrors::unreadableArchive(
                                   gzip && gzip->failure() ? QString::fromLatin1(gzip->failure())
                                                           : libarchiveMessage(archive.get())));
        auto entry = describeHeader(archive.get(), header, archivePath, error);
        if (!entry || !visit(std::move(*entry)))
            return false;
    }
}

} // namespace

const BackendCapabilities &LibarchiveBackend::capabilities() const
{
    static const BackendCapabilities caps{
        QStringLiteral("libarchive"), BackendCapabilities::PasswordChannel::InProcess, false, true};
    return caps;
}

bool LibarchiveBackend::listsCheaply(const QString &archivePath) const
{
    auto archive = openStream(archivePath, m_formats, nullptr);
    struct archive_entry *header = nullptr;
    return archive && archive_read_next_header(archive.get(), &header) == ARCHIVE_OK &&
           archive_filter_code(archive.get(), 0) == ARCHIVE_FILTER_NONE &&
           !isRawStream(archive.get());
}

bool LibarchiveBackend::list(const QString &archivePath, const QString &password,
                             ArchiveListing *listing, ProgressReporter *progress, Error *error)
{
    Q_UNUSED(password); // none of these formats is encrypted
    const bool listed = forEachEntry(archivePath, m_formats, error, [&](ArchiveEntry entry) {
        if (progress && progress->isCancelled())
            return fail(error, ArchiveErrors::cancelled());
        listing->add(std::move(entry));
        return true;
    });
    return listed;
}

bool LibarchiveBackend::extract(const QString &archivePath, const QString &stagingPath,
                                const QString &password, const ArchiveListing &listing,
                                ProgressReporter &progress, Error *error)
{
    Q_UNUSED(password);
    Q_UNUSED(listing); // entries are checked again as they stream by
    auto archive = openStream(archivePath, m_formats, error);
    if (!archive)
        return false;
    progress.setTotals(ArchiveFile::size(archivePath), 0);
    LibarchiveReadAhead reader(std::move(archive), [archivePath](auto *stream, auto *header,
                                                                 Error *describeError) {
        return describeHeader(stream, header, archivePath, describeError);
    });
    return StreamExtraction(stagingPath, progress).run(reader, error);
}
