#pragma once

#include "ArchiveBackend.h"

// rar and cbr through lsar and unar. Three faults of these tools are kept away from users:
// - unar takes sibling files whose names differ only by digits for volumes of one set, so
//   both tools run on a link to the archive alone in a private folder;
// - unar's own ".." check misses names split on "\": names are read from `lsar -j` first and
//   the archive is refused before unar runs (the staging folder is scanned afterwards too);
// - unar 1.10 can't decrypt RAR 2.9/4.x AES: that is reported as unsupported encryption,
//   never as a wrong password.
// Neither tool reads a password from anywhere but its command line, where every local user
// could read it: PreloadedPassword hands it over through standard input instead.
class UnarBackend final : public ArchiveBackend {
public:
    const BackendCapabilities &capabilities() const override;
    bool list(const QString &archivePath, const QString &password, ArchiveListing *listing,
              ProgressReporter *progress, Error *error) override;
    bool extract(const QString &archivePath, const QString &stagingPath, const QString &password,
                 const ArchiveListing &listing, ProgressReporter &progress, Error *error) override;
};
