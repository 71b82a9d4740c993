#pragma once

#include "ArchiveBackend.h"
#include "LibarchiveBackend.h"

// 7z through the 7zz tool. The password goes to 7zz on its standard input, never on its
// command line: 7zz asks for it when it needs it, and with no password its input is closed,
// so a header-encrypted archive fails instead of waiting for an answer. 7zz writes into the
// staging folder itself; its progress lines (-bsp1) give the percentage and the entry.
// An archive with nothing encrypted is unpacked in-process by libarchive, which is faster
// (one process, fewer calls per file); when libarchive can't read it (7-Zip methods or
// filters it lacks), the staging folder is emptied and 7zz unpacks it after all.
class SevenZipBackend final : public ArchiveBackend {
public:
    const BackendCapabilities &capabilities() const override;
    bool list(const QString &archivePath, const QString &password, ArchiveListing *listing,
              ProgressReporter *progress, Error *error) override;
    bool extract(const QString &archivePath, const QString &stagingPath, const QString &password,
                 const ArchiveListing &listing, ProgressReporter &progress, Error *error) override;

private:
    bool extractWithTool(const QString &archivePath, const QString &stagingPath,
                         const QString &password, const ArchiveListing &listing,
                         ProgressReporter &progress, Error *error);

    LibarchiveBackend m_inProcess{LibarchiveBackend::Formats::SevenZip};
};
