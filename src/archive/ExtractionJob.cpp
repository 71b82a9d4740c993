#include "ExtractionJob.h"

#include "ArchiveErrors.h"
#include "ArchiveFile.h"
#include "EntryChecks.h"
#include "StagingFolder.h"

#include <QFileInfo>

namespace {

// Files systems keep some room for their own records; a little slack avoids a late failure.
constexpr qint64 spaceMargin = 1024 * 1024;

Error withKindMessage(Error error, ArchiveKind kind)
{
    if (error.code == ArchiveErrors::PasswordRequired)
        return ArchiveErrors::passwordRequired(kind);
    return error;
}

bool checkListing(ArchiveBackend &backend, ArchiveKind kind, const QString &archivePath,
                  const QString &password, ArchiveListing *listing, ProgressReporter &progress,
                  Error *error)
{
    Error listError;
    if (!backend.list(archivePath, password, listing, &progress, &listError))
        return fail(error, withKindMessage(listError, kind));
    if (listing->needsPassword && password.isEmpty())
        return fail(error, ArchiveErrors::passwordRequired(kind));
    if (const auto refusal = EntryChecks::firstRefusal(listing->entries))
        return fail(error, ArchiveErrors::unsafeEntry(refusal->entry, refusal->reason));
    return true;
}

} // namespace

bool ExtractionJob::run(ArchiveBackend &backend, ArchiveKind kind, const Request &request,
                        ArchiveProgressDelegate *delegate, ExtractionResult *result, Error *error)
{
    const auto &archivePath = request.archivePath;
    if (!ArchiveFile::check(archivePath, error))
        return false;
    ArchiveListing listing;
    ProgressReporter progress(delegate);
    if (backend.listsCheaply(archivePath) &&
        !checkListing(backend, kind, archivePath, request.password, &listing, progress, error))
        return false;
    if (request.selection)
        for (const auto &path : request.selection->paths())
            listing.wanted << EntryChecks::exactName(path);
    auto staging = StagingFolder::createFor(request.destination,
                                            QFileInfo(archivePath).fileName(), error);
    if (!staging)
        return false;
    const auto available = staging->bytesAvailable();
    if (listing.totalSize > available - spaceMargin)
        return fail(error, ArchiveErrors::notEnoughSpace(listing.totalSize, available));
    progress.setTotals(listing.totalSize, listing.entries.size());
    Error extractError;
    if (!backend.extract(archivePath, staging->path(), request.password, listing, progress,
                         &extractError))
        return fail(error,
                    withKindMessage(
                        progress.isCancelled() ? ArchiveErrors::cancelled() : extractError, kind));
    if (progress.isCancelled())
        return fail(error, ArchiveErrors::cancelled());
    if (request.selection && !staging->keepOnly(*request.selection, error))
        return false;
    if (!staging->scan(backend.capabilities().writesThroughEngine, error))
        return false;
    progress.movingIn();
    if (!staging->moveIntoDestination(request.replaced, [&progress] { return progress.isCancelled(); },
                                      result, error))
        return false;
    progress.finish();
    return true;
}
