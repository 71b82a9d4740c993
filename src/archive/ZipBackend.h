#pragma once

#include "ArchiveBackend.h"

// zip and cbz through the engine's own reader: the central directory kept compact
// (ZipDirectory), entries read with pread (ZipEntryReader): stored, deflate and bzip2,
// ZipCrypto and WinZip AES, Zip64, names in UTF-8 or legacy code pages (ZipNameDecoding). The
// listing stays the directory's compact records, each entry made when asked for. Files are
// unpacked by two workers at once over the one directory, since entries are independent.
class ZipBackend final : public ArchiveBackend {
public:
    const BackendCapabilities &capabilities() const override;
    bool list(const QString &archivePath, const QString &password, ArchiveListing *listing,
              ProgressReporter *progress, Error *error) override;
    bool extract(const QString &archivePath, const QString &stagingPath, const QString &password,
                 const ArchiveListing &listing, ProgressReporter &progress, Error *error) override;
};
