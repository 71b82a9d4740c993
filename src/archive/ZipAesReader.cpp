#include "ZipAesReader.h"

#include "ArchiveErrors.h"
#include "CHandles.h"

#include <QString>
#include <algorithm>
#include <nettle/hmac.h>
#include <nettle/memxor.h>
#include <nettle/nettle-meta.h>
#include <nettle/pbkdf2.h>
#include <optional>
#include <vector>
#include <zlib.h>

namespace {

constexpr unsigned iterations = 1000;
constexpr qint64 verifierSize = 2;
constexpr qint64 authenticationSize = 10;
constexpr qint64 blockSize = 16;
constexpr qint64 chunkSize = 256 * 1024; // whole blocks, so the counter runs on across chunks

struct AesKind {
    const nettle_cipher *cipher;
    qint64 saltSize;
};

std::optional<AesKind> aesKind(zip_uint16_t method)
{
    switch (method) {
    case ZIP_EM_AES_128:
        return AesKind{&nettle_aes128, 8};
    case ZIP_EM_AES_192:
        return AesKind{&nettle_aes192, 12};
    case ZIP_EM_AES_256:
        return AesKind{&nettle_aes256, 16};
    default:
        return std::nullopt;
    }
}

bool readExactly(zip_file_t *file, char *data, qint64 size)
{
    while (size > 0) {
        const auto n = zip_fread(file, data, zip_uint64_t(size));
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

// AES in WinZip's counter mode: a 16-byte little-endian counter starting at 1.
class CounterMode {
public:
    CounterMode(const nettle_cipher &cipher, const uint8_t *key)
        : m_cipher(cipher), m_context(cipher.context_size)
    {
        cipher.set_encrypt_key(m_context.data(), key);
    }

    void apply(char *data, qint64 size)
    {
        const auto blocks = (size + blockSize - 1) / blockSize;
        m_counters.assign(size_t(blocks * blockSize), 0);
        for (qint64 b = 0; b < blocks; ++b) {
            auto value = ++m_counter;
            for (int i = 0; i < 8; ++i, value >>= 8)
                m_counters[size_t(b * blockSize + i)] = uint8_t(value);
        }
        m_keystream.resize(m_counters.size());
        m_cipher.encrypt(m_context.data(), m_counters.size(), m_keystream.data(),
                         m_counters.data());
        memxor(data, m_keystream.data(), size_t(size));
    }

private:
    const nettle_cipher &m_cipher;
    std::vector<uint8_t> m_context;
    std::vector<uint8_t> m_counters;
    std::vector<uint8_t> m_keystream;
    quint64 m_counter = 0;
};

// Raw inflate into the sink, chunk by chunk.
class Inflater {
public:
    Inflater() { m_open = inflateInit2(&m_z, -MAX_WBITS) == Z_OK; }
    ~Inflater()
    {
        if (m_open)
            inflateEnd(&m_z);
    }
    Inflater(const Inflater &) = delete;
    Inflater &operator=(const Inflater &) = delete;

    bool isOpen() const { return m_open; }
    bool finished() const { return m_finished; }

    // False with `*damaged` set when the data is not deflate, else when the sink refused.
    bool feed(const char *data, qint64 size, const ZipAesReader::Sink &sink, bool *damaged,
              Error *error)
    {
        m_z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
        m_z.avail_in = uInt(size);
        do { // until the input is used and the output no longer fills the buffer
            m_z.next_out = reinterpret_cast<Bytef *>(m_out.data());
            m_z.avail_out = uInt(m_out.size());
            const int status = inflate(&m_z, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
                *damaged = true;
                return false;
            }
            m_finished = status == Z_STREAM_END;
            const auto produced = qint64(m_out.size()) - qint64(m_z.avail_out);
            if (produced > 0 && !sink(m_out.data(), produced, error))
                return false;
            if (status == Z_BUF_ERROR && produced == 0)
                break;
        } while ((m_z.avail_in > 0 || m_z.avail_out == 0) && !m_finished);
        return true;
    }

private:
    z_stream m_z{};
    bool m_open = false;
    bool m_finished = false;
    std::vector<char> m_out = std::vector<char>(size_t(chunkSize));
};

Error damaged(const QString &entry, const QString &what)
{
    return ArchiveErrors::unreadableArchive(QStringLiteral("%1: %2").arg(entry, what));
}

} // namespace

bool ZipAesReader::canRead(const zip_stat_t &stat)
{
    return (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && (stat.valid & ZIP_STAT_COMP_METHOD) &&
           (stat.valid & ZIP_STAT_COMP_SIZE) && aesKind(stat.encryption_method) &&
           (stat.comp_method == ZIP_CM_STORE || stat.comp_method == ZIP_CM_DEFLATE);
}

bool ZipAesReader::read(zip_t *archive, const zip_stat_t &stat, const QByteArray &password,
                        ProgressReporter *progress, const Sink &sink, Error *error)
{
    const auto kind = *aesKind(stat.encryption_method);
    const auto keySize = qint64(kind.cipher->key_size);
    const auto name = QString::fromUtf8(stat.name);
    const auto dataSize =
        qint64(stat.comp_size) - kind.saltSize - verifierSize - authenticationSize;
    ZipFilePtr file(zip_fopen_index(archive, stat.index, ZIP_FL_ENCRYPTED));
    QByteArray header(kind.saltSize + verifierSize, Qt::Uninitialized);
    if (!file || dataSize < 0 || !readExactly(file.get(), header.data(), header.size()))
        return fail(error, damaged(name, ArchiveErrors::tr("the encrypted entry is cut short")));

    std::vector<uint8_t> keys(size_t(2 * keySize + verifierSize));
    pbkdf2_hmac_sha1(size_t(password.size()), reinterpret_cast<const uint8_t *>(password.data()),
                     iterations, size_t(kind.saltSize),
                     reinterpret_cast<const uint8_t *>(header.constData()), keys.size(),
                     keys.data());
    if (!std::equal(keys.end() - verifierSize, keys.end(), header.constEnd() - verifierSize,
                    [](uint8_t a, char b) { return a == uint8_t(b); }))
        return fail(error, ArchiveErrors::incorrectPassword());
    hmac_sha1_ctx mac;
    hmac_sha1_set_key(&mac, size_t(keySize), keys.data() + keySize);
    CounterMode counter(*kind.cipher, keys.data());

    const bool deflated = stat.comp_method == ZIP_CM_DEFLATE;
    Inflater inflater;
    if (deflated && !inflater.isOpen())
        return fail(error, ArchiveErrors::fromErrno(ENOMEM, name));
    // AE-1 keeps the CRC of the plain data; AE-2 writes 0 and relies on the code alone.
    const bool checkCrc = (stat.valid & ZIP_STAT_CRC) && stat.crc != 0;
    uLong crc = crc32(0, nullptr, 0);
    const Sink counted = [&](const char *data, qint64 size, Error *e) {
        if (checkCrc)
            crc = crc32(crc, reinterpret_cast<const Bytef *>(data), uInt(size));
        return sink(data, size, e);
    };
    std::vector<char> buffer(static_cast<size_t>(chunkSize));
    for (qint64 remaining = dataSize; remaining > 0;) {
        if (progress && progress->isCancelled())
            return fail(error, ArchiveErrors::cancelled());
        const auto n = std::min(chunkSize, remaining);
        if (!readExactly(file.get(), buffer.data(), n))
            return fail(error,
                        damaged(name, ArchiveErrors::tr("the encrypted entry is cut short")));
        hmac_sha1_update(&mac, size_t(n), reinterpret_cast<const uint8_t *>(buffer.data()));
        counter.apply(buffer.data(), n);
        bool broken = false;
        if (deflated ? !inflater.feed(buffer.data(), n, counted, &broken, error)
                     : !counted(buffer.data(), n, error))
            return broken ? fail(error, damaged(name, ArchiveErrors::tr("the data is damaged")))
                          : false;
        remaining -= n;
    }
    char stored[authenticationSize];
    uint8_t computed[SHA1_DIGEST_SIZE];
    hmac_sha1_digest(&mac, sizeof(computed), computed);
    if (!readExactly(file.get(), stored, authenticationSize) ||
        !std::equal(stored, stored + authenticationSize, computed,
                    [](char a, uint8_t b) { return uint8_t(a) == b; }))
        return fail(error,
                    damaged(name, ArchiveErrors::tr("the data fails its authentication check")));
    if ((deflated && !inflater.finished()) || (checkCrc && crc != stat.crc))
        return fail(error, damaged(name, ArchiveErrors::tr("the data is damaged")));
    return true;
}
