#include "ZipAesDecryption.h"

#include <algorithm>
#include <nettle/aes.h>
#include <nettle/memxor.h>
#include <nettle/pbkdf2.h>

namespace {

constexpr unsigned iterations = 1000;
constexpr qint64 verifierSize = 2;
constexpr qint64 blockSize = 16;
constexpr qint64 stride = 64 * 1024; // the keystream made at once, whatever the piece's size

const nettle_cipher *cipherFor(ZipDirectory::Encryption encryption)
{
    switch (encryption) {
    case ZipDirectory::Encryption::Aes128:
        return &nettle_aes128;
    case ZipDirectory::Encryption::Aes192:
        return &nettle_aes192;
    case ZipDirectory::Encryption::Aes256:
        return &nettle_aes256;
    default:
        return nullptr;
    }
}

// The salt is half the key's size.
qint64 saltSize(const nettle_cipher &cipher)
{
    return qint64(cipher.key_size) / 2;
}

} // namespace

qint64 ZipAesDecryption::headerSize(ZipDirectory::Encryption encryption)
{
    const auto *cipher = cipherFor(encryption);
    return cipher ? saltSize(*cipher) + verifierSize : 0;
}

bool ZipAesDecryption::start(ZipDirectory::Encryption encryption, const QByteArray &password,
                             const char *header)
{
    m_cipher = cipherFor(encryption);
    const auto keySize = qint64(m_cipher->key_size);
    std::vector<uint8_t> keys(size_t(2 * keySize + verifierSize));
    pbkdf2_hmac_sha1(size_t(password.size()), reinterpret_cast<const uint8_t *>(password.data()),
                     iterations, size_t(saltSize(*m_cipher)),
                     reinterpret_cast<const uint8_t *>(header), keys.size(), keys.data());
    const char *verifier = header + saltSize(*m_cipher);
    if (!std::equal(keys.end() - verifierSize, keys.end(), verifier,
                    [](uint8_t a, char b) { return a == uint8_t(b); }))
        return false;
    hmac_sha1_set_key(&m_mac, size_t(keySize), keys.data() + keySize);
    m_context.resize(m_cipher->context_size);
    m_cipher->set_encrypt_key(m_context.data(), keys.data());
    m_counter = 0;
    return true;
}

void ZipAesDecryption::decrypt(char *data, qint64 size)
{
    hmac_sha1_update(&m_mac, size_t(size), reinterpret_cast<const uint8_t *>(data));
    for (qint64 done = 0; done < size; done += stride) {
        const auto piece = std::min(stride, size - done);
        const auto blocks = (piece + blockSize - 1) / blockSize;
        m_counters.assign(size_t(blocks * blockSize), 0);
        for (qint64 b = 0; b < blocks; ++b) {
            auto value = ++m_counter;
            for (int i = 0; i < 8; ++i, value >>= 8)
                m_counters[size_t(b * blockSize + i)] = uint8_t(value);
        }
        m_keystream.resize(m_counters.size());
        m_cipher->encrypt(m_context.data(), m_counters.size(), m_keystream.data(),
                          m_counters.data());
        memxor(data + done, m_keystream.data(), size_t(piece));
    }
}

bool ZipAesDecryption::authentic(const char *trailer)
{
    uint8_t computed[SHA1_DIGEST_SIZE];
    hmac_sha1_digest(&m_mac, sizeof(computed), computed);
    return std::equal(trailer, trailer + trailerSize, computed,
                      [](char a, uint8_t b) { return uint8_t(a) == b; });
}
