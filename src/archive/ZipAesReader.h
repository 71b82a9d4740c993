#pragma once

#include "ArchiveProgress.h"

#include <Error.h>
#include <QByteArray>
#include <functional>
#include <zip.h>

// Reads WinZip AES entries (AE-1 and AE-2, stored or deflated) from the raw bytes libzip
// hands over, instead of libzip's own decryption: libzip 1.7.3 derives each entry's key
// through OpenSSL 3, whose per-call overhead makes that about 0.9 ms an entry and serialises
// two threads, and it reports a false CRC error at the end of AE-2 entries (its issue 261).
// nettle does the key derivation (PBKDF2-HMAC-SHA1, 1000 rounds), AES in WinZip's counter
// mode and the HMAC-SHA1 check of the data; zlib inflates.
//
// Thread-safety: stateless; each call uses its own archive handle's file.
namespace ZipAesReader {

// Whether this reader takes the entry: AES encrypted, stored or deflated.
bool canRead(const zip_stat_t &stat);

using Sink = std::function<bool(const char *data, qint64 size, Error *error)>;

// Decrypts, checks and unpacks entry `index` into `sink`. Fails with IncorrectPassword when
// the password's check value differs, UnreadableArchive when the data fails its
// authentication code (or, for AE-1, its CRC) or is cut short, Cancelled on a cancel.
bool read(zip_t *archive, const zip_stat_t &stat, const QByteArray &password,
          ProgressReporter *progress, const Sink &sink, Error *error);

} // namespace ZipAesReader
