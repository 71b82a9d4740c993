#include "ArchiverManager.h"

#include "ExtractionJob.h"
#include "LibarchiveBackend.h"
#include "SevenZipBackend.h"
#include "UnarBackend.h"
#include "ZipBackend.h"
#include "ZipWriter.h"

#include <QFileInfo>
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

bool ArchiverManager::checkNeedPassword(const QString &path, Error *error)
{
    const auto kind = ArchiveKinds::kindForPath(path);
    auto backend = backendFor(kind);
    if (!backend)
        return fail(error, ArchiveErrors::unsupportedKind(path));
    if (!QFileInfo(path).isFile())
        return fail(error, ArchiveErrors::missingArchive(path));
    if (kind == ArchiveKind::Tar) // none of these formats is ever encrypted
        return false;
    ArchiveListing listing;
    Error listError;
    if (!backend->list(path, QString(), &listing, &listError) && !listing.needsPassword)
        return fail(error, listError);
    return listing.needsPassword;
}

bool ArchiverManager::decompressAtPath(const QString &path, const QString &destPath,
                                       const QString &password, Error *error,
                                       ArchiveProgressDelegate *delegate)
{
    const auto kind = ArchiveKinds::kindForPath(path);
    auto backend = backendFor(kind);
    if (!backend)
        return fail(error, ArchiveErrors::unsupportedKind(path));
    return ExtractionJob::run(*backend, kind, path, destPath, password, delegate, error);
}

ArchiveEntryList ArchiverManager::listEntriesAtPath(const QString &path, const QString &password,
                                                    Error *error)
{
    const auto kind = ArchiveKinds::kindForPath(path);
    auto backend = backendFor(kind);
    if (!backend) {
        fail(error, ArchiveErrors::unsupportedKind(path));
        return {};
    }
    ArchiveListing listing;
    Error listError;
    if (!backend->list(path, password, &listing, &listError)) {
        fail(error, listError.code == ArchiveErrors::PasswordRequired
                        ? ArchiveErrors::passwordRequired(kind)
                        : listError);
        return {};
    }
    return listing.entries;
}

bool ArchiverManager::compressZipAtPaths(const QStringList &paths, const QString &destPath,
                                         const QString &password, Error *error,
                                         ArchiveProgressDelegate *delegate)
{
    return ZipWriter(destPath, password, delegate).write(paths, error);
}
