#pragma once

#include "ArchiveEntry.h"
#include "ArchiveProgress.h"

#include <Error.h>
#include <QString>

// What a backend can and can't do, as data the extraction job reads instead of asking which
// backend it holds.
struct BackendCapabilities {
    enum class PasswordChannel { InProcess, StandardInput };

    QString name;
    PasswordChannel passwordChannel = PasswordChannel::InProcess;
    // The listing is complete before extraction (entries, sizes, encryption). False for
    // streams read in one pass, whose entries are checked one by one as they come.
    bool listsBeforeExtracting = true;
    // The engine writes every entry itself (checked as it goes); false for tools that write
    // into the staging folder on their own, which is then scanned afterwards.
    bool writesThroughEngine = true;
};

// One library or tool that reads archives. Backends keep no state between calls and may be
// used from any thread; each call is synchronous.
class ArchiveBackend {
public:
    virtual ~ArchiveBackend() = default;

    virtual const BackendCapabilities &capabilities() const = 0;

    // Whether a listing before extraction costs little for this archive (no second pass
    // through compressed data); the job then lists first to check entries and free space.
    virtual bool listsCheaply(const QString &archivePath) const
    {
        Q_UNUSED(archivePath);
        return capabilities().listsBeforeExtracting;
    }

    // The entries with their encryption flags. An empty `password` means none. Fails with
    // PasswordRequired when the header itself is encrypted and no password was given (then
    // `headerEncrypted` and `needsPassword` are set), IncorrectPassword, UnsupportedEncryption,
    // UnreadableArchive, or Cancelled once `progress` (may be null) says so.
    virtual bool list(const QString &archivePath, const QString &password, ArchiveListing *listing,
                      ProgressReporter *progress, Error *error) = 0;

    // Unpacks everything into `stagingPath`, an empty folder private to this call. `listing`
    // is the result of list() with the same password. On failure the staging folder may hold
    // anything; the caller removes it.
    virtual bool extract(const QString &archivePath, const QString &stagingPath,
                         const QString &password, const ArchiveListing &listing,
                         ProgressReporter &progress, Error *error) = 0;
};
