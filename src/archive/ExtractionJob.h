#pragma once

#include "ArchiveBackend.h"
#include "ArchiveKind.h"
#include "EntrySelection.h"
#include "ExtractionResult.h"

#include <optional>

// One extraction from start to end, the same for every backend: list (where cheap) and check
// every entry, refuse a missing password, compare the unpacked size with the free space of the
// destination's file system, unpack into a staging folder there (StagingFolder), scan it, then
// move it into the destination, all or nothing. Any failure leaves the destination as it was
// (see StagingFolder for what is kept of the user's when undoing falls short).
//
// Synchronous; runs on the caller's thread (worker threads of a backend join before return).
namespace ExtractionJob {

struct Request {
    QString archivePath;
    QString destination;
    QString password;
    ReplacedItems replaced = ReplacedItems::ToTrash;
    // Only these items, under their target names at the top of the destination; every entry of
    // the archive is still checked.
    std::optional<EntrySelection> selection;
};

bool run(ArchiveBackend &backend, ArchiveKind kind, const Request &request,
         ArchiveProgressDelegate *delegate, ExtractionResult *result, Error *error);

} // namespace ExtractionJob
