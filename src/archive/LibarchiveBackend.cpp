#include "LibarchiveBackend.h"

#include "ArchiveErrors.h"
#include "CHandles.h"
#include "EntryChecks.h"
#include "EntryWriter.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace {

constexpr size_t blockSize = 256 * 1024;

QString messageOf(struct archive *archive)
{
    const char *text = archive_error_string(archive);
    return text ? QString::fromLocal8Bit(text) : ArchiveErrors::tr("unknown error");
}

ArchiveReadPtr openStream(const QString &path, Error *error)
{
    ArchiveReadPtr archive(archive_read_new());
    archive_read_support_filter_all(archive.get());
    archive_read_support_format_tar(archive.get());
    archive_read_support_format_gnutar(archive.get());
    archive_read_support_format_cpio(archive.get());
    archive_read_support_format_iso9660(archive.get());
    archive_read_support_format_empty(archive.get());
    archive_read_support_format_raw(archive.get()); // bids last: only when nothing else fits
    if (archive_read_open_filename(archive.get(), QFile::encodeName(path).constData(), blockSize) !=
        ARCHIVE_OK) {
        fail(error, ArchiveErrors::unreadableArchive(messageOf(archive.get())));
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
    const auto fromHeader = QString::fromUtf8(headerName ? headerName : "");
    const auto parts = EntryChecks::safeComponents(fromHeader);
    if (parts && parts->size() == 1 && fromHeader != QLatin1String("data") &&
        !fromHeader.contains(u'/') && !fromHeader.contains(u'\\'))
        return fromHeader;
    const auto base = QFileInfo(archivePath).completeBaseName();
    return base.isEmpty() ? QStringLiteral("data") : base;
}

ArchiveEntry entryFrom(struct archive *archive, struct archive_entry *header,
                       const QString &archivePath)
{
    ArchiveEntry entry;
    const char *path = archive_entry_pathname_utf8(header);
    entry.path = path ? QString::fromUtf8(path) : QFile::decodeName(archive_entry_pathname(header));
    if (isRawStream(archive)) {
        entry.path = rawEntryName(archivePath, path);
        return entry; // size unknown until read
    }
    entry.size = archive_entry_size_is_set(header) ? archive_entry_size(header) : 0;
    entry.mode = archive_entry_perm(header) & 07777;
    if (archive_entry_mtime_is_set(header))
        entry.modified = QDateTime::fromSecsSinceEpoch(archive_entry_mtime(header), Qt::UTC);
    if (const char *hardlink = archive_entry_hardlink_utf8(header)) {
        entry.type = ArchiveEntry::Type::HardLink;
        entry.linkTarget = QString::fromUtf8(hardlink);
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
        const char *target = archive_entry_symlink_utf8(header);
        entry.linkTarget = target ? QString::fromUtf8(target) : QString();
        break;
    }
    default:
        entry.type = ArchiveEntry::Type::Special;
    }
    return entry;
}

// Reads one stream entry after another; `visit` returns false to stop.
template <typename Visit> bool forEachEntry(const QString &archivePath, Error *error, Visit &&visit)
{
    auto archive = openStream(archivePath, error);
    if (!archive)
        return false;
    for (;;) {
        struct archive_entry *header = nullptr;
        const int status = archive_read_next_header(archive.get(), &header);
        if (status == ARCHIVE_EOF)
            return true;
        if (status < ARCHIVE_WARN)
            return fail(error, ArchiveErrors::unreadableArchive(messageOf(archive.get())));
        if (isRawStream(archive.get()) &&
            archive_filter_code(archive.get(), 0) == ARCHIVE_FILTER_NONE)
            return fail(error, ArchiveErrors::unreadableArchive(
                                   ArchiveErrors::tr("not an archive of this kind")));
        if (!visit(archive.get(), entryFrom(archive.get(), header, archivePath)))
            return false;
    }
}

// Hands libarchive's own blocks to the file (no copy); sparse entries come as blocks at
// offsets with holes between, which may not reach past the declared size.
bool copyData(struct archive *archive, EntryWriter::File &file, const ArchiveEntry &entry,
              ProgressReporter &progress, qint64 archiveSize, Error *error)
{
    for (;;) {
        if (progress.isCancelled())
            return fail(error, ArchiveErrors::cancelled());
        const void *block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        const int status = archive_read_data_block(archive, &block, &size, &offset);
        if (status < ARCHIVE_WARN)
            return fail(error, ArchiveErrors::unreadableArchive(
                                   QStringLiteral("%1: %2").arg(entry.path, messageOf(archive))));
        if (entry.size > 0 && offset + la_int64_t(size) > entry.size)
            return fail(
                error,
                ArchiveErrors::unreadableArchive(
                    ArchiveErrors::tr("%1 holds more data than it declares").arg(entry.path)));
        if (status == ARCHIVE_EOF) // its offset is the end, where a format reports one
            return file.skipTo(std::max<qint64>(offset, file.position()), error) &&
                   file.finish(error);
        if (!file.skipTo(offset, error))
            return false;
        if (!file.write(static_cast<const char *>(block), qint64(size), error))
            return false;
        if (archiveSize > 0)
            progress.setBytesDone(archive_filter_bytes(archive, -1));
    }
}

bool writeEntry(struct archive *archive, EntryWriter &writer, const ArchiveEntry &entry,
                ProgressReporter &progress, qint64 archiveSize, Error *error)
{
    switch (entry.type) {
    case ArchiveEntry::Type::Directory:
        return writer.makeDirectory(entry, error);
    case ArchiveEntry::Type::SymbolicLink:
        return writer.makeSymbolicLink(entry, entry.linkTarget, error);
    case ArchiveEntry::Type::HardLink:
        return writer.makeHardLink(entry, error);
    case ArchiveEntry::Type::File: {
        auto file = writer.createFile(entry, error);
        return file && copyData(archive, *file, entry, progress, archiveSize, error);
    }
    case ArchiveEntry::Type::Special:
        break;
    }
    return fail(error, ArchiveErrors::unsafeEntry(entry.path, EntryChecks::typeProblem(entry)));
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
    auto archive = openStream(archivePath, nullptr);
    struct archive_entry *header = nullptr;
    return archive && archive_read_next_header(archive.get(), &header) == ARCHIVE_OK &&
           archive_filter_code(archive.get(), 0) == ARCHIVE_FILTER_NONE &&
           !isRawStream(archive.get());
}

bool LibarchiveBackend::list(const QString &archivePath, const QString &password,
                             ArchiveListing *listing, Error *error)
{
    Q_UNUSED(password); // none of these formats is encrypted
    return forEachEntry(archivePath, error, [&](struct archive *, ArchiveEntry entry) {
        listing->add(std::move(entry));
        return true;
    });
}

bool LibarchiveBackend::extract(const QString &archivePath, const QString &stagingPath,
                                const QString &password, const ArchiveListing &listing,
                                ProgressReporter &progress, Error *error)
{
    Q_UNUSED(password);
    Q_UNUSED(listing); // entries are checked again as they stream by
    EntryWriter writer(stagingPath);
    EntryChecks::EntrySetChecker checker;
    const auto archiveSize = QFileInfo(archivePath).size();
    progress.setTotals(archiveSize, 0);
    const bool done =
        forEachEntry(archivePath, error, [&](struct archive *archive, ArchiveEntry entry) {
            if (auto reason = checker.check(entry); !reason.isEmpty())
                return fail(error, ArchiveErrors::unsafeEntry(entry.path, reason));
            progress.entryStarted(entry.path);
            if (!writeEntry(archive, writer, entry, progress, archiveSize, error))
                return false;
            progress.entryFinished();
            return true;
        });
    writer.finishDirectories();
    return done;
}
