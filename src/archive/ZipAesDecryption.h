#pragma once

#include "ZipDirectory.h"

#include <QByteArray>
#include <memory>
#include <nettle/hmac.h>
#include <nettle/nettle-meta.h>
#include <vector>

// Decrypts WinZip AES entries (AE-1 and AE-2) with nettle: the key derivation (PBKDF2-HMAC-SHA1,
// 1000 rounds), AES in WinZip's counter mode and the HMAC-SHA1 check of the encrypted data.
// (libzip 1.7.3 derived each key through OpenSSL 3, about 0.9 ms an entry and serialised between
// threads, and reported a false CRC error at the end of AE-2 entries: its issue 261.)
//
// An entry's data is the salt and a password verifier, the encrypted data, then a 10-byte code.
//
// Thread-safety: one object per entry being read.
class ZipAesDecryption {
public:
    static constexpr qint64 trailerSize = 10;

    // Salt and verifier; 0 when `encryption` is no AES.
    static qint64 headerSize(ZipDirectory::Encryption encryption);

    // Derives the keys from the password and the header; false when the password's verifier
    // differs (a wrong password).
    bool start(ZipDirectory::Encryption encryption, const QByteArray &password,
               const char *header);
    // Decrypts the next piece of the data in place; every piece but the last must be a whole
    // number of 16-byte blocks.
    void decrypt(char *data, qint64 size);
    // Whether the code that follows the data matches the data decrypted.
    bool authentic(const char *trailer);

private:
    const nettle_cipher *m_cipher = nullptr;
    std::vector<uint8_t> m_context;
    hmac_sha1_ctx m_mac{};
    quint64 m_counter = 0; // WinZip's counter: 16 bytes little-endian, starting at 1
    std::vector<uint8_t> m_counters;
    std::vector<uint8_t> m_keystream;
};
