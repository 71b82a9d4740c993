#include "ArchiverManager.h"

#include "ArchiveFile.h"
#include "EntryChecks.h"
#include "EntryFile.h"
#include "ExtractionJob.h"
#include "LibarchiveBackend.h"
#include "SevenZipBackend.h"
#include "UnarBackend.h"
#include "ZipBackend.h"
#include "ZipWriter.h"

#include <FileNameCodec.h>
#include <cerrno>
#include <sys/stat.h>

#include <memory>

namespace {

std::unique_ptr<ArchiveBackend> backendFor(ArchiveKind kind, const QByteArray &nameEncoding = {})
{
    switch (kind) {
    case ArchiveKind::Zip:
        return std::make_unique<ZipBackend>(nameEncoding);
    case ArchiveKind::Rar:
        return std::make_unique<UnarBackend>();
    case ArchiveKind::SevenZip:
        return std::make_unique<SevenZipBackend>();
    case ArchiveKind::Tar:
        return std::make_unique<LibarchiveBackend>();
    case ArchiveKind::None:
        break;
    }
    return nullptr;
}

} // namespace

bool ArchiverManager::checkNeedPassword(const QString &path, Error *error,
                                        ArchiveProgressDelegate *delegate)
{
    const auto kind = ArchiveKinds::kindForPath(path);
    auto backend = backendFor(kind);
    if (!backend)
        return fail(error, ArchiveErrors::unsupportedKind(path));
    if (!ArchiveFile::check(path, error))
        return false;
    if (kind == ArchiveKind::Tar) // none of these formats is ever encrypted
        return false;
    ArchiveListing listing;
    Error listError;
    ProgressReporter progress(delegate);
    if (!backend->list(path, QString(), &listing, &progress, &listError) && !listing.needsPassword)
        return fail(error, listError);
    return listing.needsPassword;
}

bool ArchiverManager::decompressAtPath(const QString &path, const QString &destPath,
                                       const QString &password, Error *error,
                                       ArchiveProgressDelegate *delegate,
                                       ExtractionResult *result, ReplacedItems replaced)
{
    const auto kind = ArchiveKinds::kindForPath(path);
    auto backend = backendFor(kind);
    if (!backend)
        return fail(error, ArchiveErrors::unsupportedKind(path));
    return ExtractionJob::run(*backend, kind, {path, destPath, password, replaced, std::nullopt},
                              delegate, result, error);
}

ArchiveEntryList ArchiverManager::listEntriesAtPath(const QString &path, const QString &password,
                                                    Error *error, ArchiveProgressDelegate *delegate,
                                                    const QByteArray &nameEncoding)
{
    const auto kind = ArchiveKinds::kindForPath(path);
    auto backend = backendFor(kind, nameEncoding);
    if (!backend) {
        fail(error, ArchiveErrors::unsupportedKind(path));
        return {};
    }
    ArchiveListing listing;
    Error listError;
    if (!ArchiveFile::check(path, error))
        return {};
    ProgressReporter progress(delegate);
    if (!backend->list(path, password, &listing, &progress, &listError)) {
        fail(error, listError.code == ArchiveErrors::PasswordRequired
                        ? ArchiveErrors::passwordRequired(kind)
                        : listError);
        return {};
    }
    return listing.entries;
}

bool ArchiverManager::extractEntriesAtPath(const QString &path, const EntrySelection &selection,
                                           const QString &destPath, const QString &password,
                                           Error *error, ArchiveProgressDelegate *delegate,
                                           ExtractionResult *result, const QByteArray &nameEncoding,
                                           ReplacedItems replaced)
{
    const auto kind = ArchiveKinds::kindForPath(path);
    auto backend = backendFor(kind, nameEncoding);
    if (!backend)
        return fail(error, ArchiveErrors::unsupportedKind(path));
    return ExtractionJob::run(*backend, kind, {path, destPath, password, replaced, selection},
                              delegate, result, error);
}

bool ArchiverManager::readEntriesAtPath(const QString &path, const ArchiveEntryList &entries,
                                        const QList<qsizetype> &positions, const QString &password,
                                        const QString &targetFolder, Error *error,
                                        ArchiveProgressDelegate *delegate,
                                        const QByteArray &nameEncoding)
{
    EntrySelection selection;
    for (const auto position : positions) {
        if (position < 0 || position >= entries.size())
            return fail(error, ArchiveErrors::entryNotFound(QString::number(position)));
        const auto entry = entries.at(position);
        const auto exact = EntryChecks::exactName(entry.path);
        if (exact.isEmpty())
            return fail(error, ArchiveErrors::unsafeEntry(entry.path,
                                                          EntryChecks::pathProblem(entry.path)));
        const auto name = exact.section(u'/', -1);
        // The merge would replace an item there; a private copy never does.
        struct stat existing {};
        if (::lstat(FileNameCodec::encode(targetFolder + u'/' + name).constData(), &existing) == 0)
            return fail(error, ArchiveErrors::fromErrno(EEXIST, name));
        selection.items.append({exact, name});
    }
    if (!ZipBackend::madeListing(entries))
        return extractEntriesAtPath(path, selection, targetFolder, password, error, delegate,
                                    nullptr, nameEncoding, ReplacedItems::Delete);
    ProgressReporter progress(delegate);
    for (qsizetype i = 0; i < positions.size(); ++i) {
        const auto written =
            EntryFile::write(targetFolder + u'/' + selection.items.at(i).targetName, error,
                             [&](const EntryFile::Sink &sink, Error *e) {
                                 return ZipBackend::readEntry(entries, positions.at(i), password,
                                                              &progress, sink, e);
                             });
        if (!written)
            return false;
    }
    return true;
}

bool ArchiverManager::compressZipAtPaths(const QStringList &paths, const QString &destPath,
                                         const QString &password, Error *error,
                                         ArchiveProgressDelegate *delegate,
                                         ZipTarget::Existing existing)
{
    return ZipWriter(destPath, password, existing, delegate).write(paths, error);
}
