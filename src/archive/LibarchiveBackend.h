#pragma once

#include "ArchiveBackend.h"

// tar, the compressed tars (gz, bz2, xz, zstd), iso and cpio through libarchive, read as one
// stream: entries are checked and written one by one as they come, so a hostile entry stops
// the work part-way and the staging folder is thrown away. A compressed file that holds no
// archive (notes.txt.gz) unpacks to that one file, named from the gzip header when the name
// there is a plain file name, else from the archive's name less its extension.
// With `Formats::SevenZip` it reads unencrypted 7z instead (the 7z backend's faster route).
class LibarchiveBackend final : public ArchiveBackend {
public:
    enum class Formats { Streams, SevenZip };

    explicit LibarchiveBackend(Formats formats = Formats::Streams) : m_formats(formats) {}

    const BackendCapabilities &capabilities() const override;
    bool listsCheaply(const QString &archivePath) const override;
    bool list(const QString &archivePath, const QString &password, ArchiveListing *listing,
              ProgressReporter *progress, Error *error) override;
    bool extract(const QString &archivePath, const QString &stagingPath, const QString &password,
                 const ArchiveListing &listing, ProgressReporter &progress, Error *error) override;

private:
    Formats m_formats;
};
