#include "ArchiverManager.h"

#include "ArchiveFile.h"
#include "ExtractionJob.h"
#include "LibarchiveBackend.h"
#include "SevenZipBackend.h"
#include "UnarBackend.h"
#include "ZipBackend.h"
#include "ZipWriter.h"

#include <memory>

namespace {

std::unique_ptr<ArchiveBackend> backendFor(ArchiveKind kind)
{
    switch (kind) {
    case ArchiveKind::Zip:
        return std::make_unique<ZipBackend>();
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
    return ExtractionJob::run(*backend, kind, {path, destPath, password, replaced}, delegate,
                              result, error);
}

ArchiveEntryList ArchiverManager::listEntriesAtPath(const QString &path, const QString &password,
                                                    Error *error,
                                                    ArchiveProgressDelegate *delegate)
{
    const auto kind = ArchiveKinds::kindForPath(path);
    auto backend = backendFor(kind);
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

bool ArchiverManager::compressZipAtPaths(const QStringList &paths, const QString &destPath,
                                         const QString &password, Error *error,
                                         ArchiveProgressDelegate *delegate,
                                         ZipTarget::Existing existing)
{
    return ZipWriter(destPath, password, existing, delegate).write(paths, error);
}
