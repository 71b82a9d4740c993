#pragma once

#include "ArchiveBackend.h"
#include "ArchiveKind.h"

// One extraction from start to end, the same for every backend: list (where cheap) and check
// every entry, refuse a missing password, compare the unpacked size with the free space of the
// destination's file system, unpack into a staging folder there (StagingFolder), scan it, then
// move it into the destination, all or nothing. Any failure removes the staging folder and
// leaves the destination as it was.
//
// Synchronous; runs on the caller's thread (worker threads of a backend join before return).
namespace ExtractionJob {

bool run(ArchiveBackend &backend, ArchiveKind kind, const QString &archivePath,
         const QString &destination, const QString &password, ArchiveProgressDelegate *delegate,
         Error *error);

} // namespace ExtractionJob
