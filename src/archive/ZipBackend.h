#pragma once

#include "ArchiveBackend.h"

// zip and cbz through libzip: ZipCrypto and AES entries, Zip64, names in UTF-8 or legacy code
// pages. Files are unpacked by two workers at once, each with its own libzip handle, since
// entries are independent. AES entries are authenticated by their own code, so the false CRC
// error libzip 1.7.3 reports at their end (its issue 261) is not taken as damage.
class ZipBackend final : public ArchiveBackend {
public:
    const BackendCapabilities &capabilities() const override;
    bool list(const QString &archivePath, const QString &password, ArchiveListing *listing,
              ProgressReporter *progress, Error *error) override;
    bool extract(const QString &archivePath, const QString &stagingPath, const QString &password,
                 const ArchiveListing &listing, ProgressReporter &progress, Error *error) override;
};
