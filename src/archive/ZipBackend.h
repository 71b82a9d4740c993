#pragma once

#include "ArchiveBackend.h"

#include <functional>

// zip and cbz through the engine's own reader: the central directory kept compact
// (ZipDirectory), entries read with pread (ZipEntryReader): stored, deflate and bzip2,
// ZipCrypto and WinZip AES, Zip64, names in UTF-8 or legacy code pages (ZipNameDecoding). The
// listing stays the directory's compact records, each entry made when asked for. Files are
// unpacked by two workers at once over the one directory, since entries are independent.
//
// `nameEncoding` (a QStringDecoder name, empty for the usual rule) decodes the names whose
// entries don't say UTF-8, for the user's choice of code page.
class ZipBackend final : public ArchiveBackend {
public:
    explicit ZipBackend(QByteArray nameEncoding = {}) : m_nameEncoding(std::move(nameEncoding)) {}

    const BackendCapabilities &capabilities() const override;
    bool list(const QString &archivePath, const QString &password, ArchiveListing *listing,
              ProgressReporter *progress, Error *error) override;
    bool extract(const QString &archivePath, const QString &stagingPath, const QString &password,
                 const ArchiveListing &listing, ProgressReporter &progress, Error *error) override;

    // Whether `entries` is a listing this backend made (its directory is still open).
    static bool madeListing(const ArchiveEntryList &entries);
    // Hands the data of the entry at `position` of such a listing to `sink` in pieces, without
    // reading the directory again. Fails as ZipEntryReader::read does.
    static bool readEntry(const ArchiveEntryList &entries, qsizetype position,
                          const QString &password, ProgressReporter *progress,
                          const std::function<bool(const char *, qint64, Error *)> &sink,
                          Error *error);

private:
    QByteArray m_nameEncoding;
};
