#include "ZipEntryReader.h"

#include "ArchiveErrors.h"
#include "CHandles.h"
#include "ZipAesDecryption.h"
#include "ZipCrypto.h"

#include <QtEndian>
#include <cerrno>
#include <isa-l/igzip_lib.h>
#include <libdeflate.h>
#include <optional>

namespace {

constexpr qint64 localHeaderSize = 30;
constexpr qint64 pieceSize = 256 * 1024; // whole AES blocks, so the counter runs on
constexpr qint64 keptBuffer = 1024 * 1024;

enum Method : quint16 { Stored = 0, Deflated = 8, Bzip2 = 12 };

} // namespace

char *ZipEntryReader::Buffer::reserve(qint64 size)
{
    if (size > m_capacity || !m_data) {
        m_capacity = std::max<qint64>(size, 4096);
        m_data.reset(new char[size_t(m_capacity)]);
    }
    return m_data.get();
}

void ZipEntryReader::Buffer::trim()
{
    if (m_capacity > keptBuffer) {
        m_data.reset();
        m_capacity = 0;
    }
}

// One entry being read: where its data lies, its cipher, and the checks of what comes out.
class ZipEntryReader::Entry {
public:
    Entry(ZipEntryReader &reader, qsizetype index, const QString &name,
          ProgressReporter *progress, const Sink &sink)
        : m_reader(reader), m_record(reader.m_directory->entry(index)),
          m_encryption(reader.m_directory->encryption(index)), m_name(name),
          m_progress(progress), m_sink(sink)
    {
    }

    bool read(Error *error)
    {
        if (!start(error))
            return false;
        const bool whole = (m_record.method == Stored || m_record.method == Deflated) &&
                           m_payloadSize <= wholeEntryLimit &&
                           qint64(m_record.size) <= wholeEntryLimit;
        if (!(whole ? readWhole(error) : readStreamed(error)))
            return false;
        if (m_delivered != qint64(m_record.size))
            return damaged(error, ArchiveErrors::tr("%1 is shorter than it declares").arg(m_name));
        // AE-2 records no CRC (0) and relies on the code alone.
        if ((m_encryption < ZipDirectory::Encryption::Aes128 || m_record.crc != 0) &&
            m_crc != m_record.crc)
            return damaged(error, part(ArchiveErrors::tr("the data fails its CRC check")));
        return true;
    }

    // Whether a failure came from the data failing a check (not from the file or the sink).
    bool dataFailed() const { return m_dataFailed; }

private:
    QString part(const QString &what) const { return QStringLiteral("%1: %2").arg(m_name, what); }

    bool damaged(Error *error, const QString &detail)
    {
        m_dataFailed = true;
        return fail(error, ArchiveErrors::unreadableArchive(detail));
    }

    bool cutShort(Error *error)
    {
        return fail(error, ArchiveErrors::unreadableArchive(
                               part(ArchiveErrors::tr("the entry is cut short"))));
    }

    // Finds the data after the local header and readies the cipher.
    bool start(Error *error)
    {
        using Encryption = ZipDirectory::Encryption;
        if (m_encryption == Encryption::Unsupported)
            return fail(error, ArchiveErrors::unsupportedEncryption(ArchiveKind::Zip));
        if (m_encryption != Encryption::None && m_reader.m_password.isEmpty())
            return fail(error, ArchiveErrors::passwordRequired(ArchiveKind::Zip));
        if (m_record.method != Stored && m_record.method != Deflated && m_record.method != Bzip2)
            return fail(error, ArchiveErrors::unreadableArchive(
                                   part(ArchiveErrors::tr("its compression method (%1) is not "
                                                          "supported")
                                            .arg(m_record.method))));
        const auto &directory = *m_reader.m_directory;
        const qint64 fileSize = directory.fileSize();
        char local[localHeaderSize];
        const auto headerAt = qint64(m_record.localHeaderOffset);
        if (headerAt > fileSize - localHeaderSize ||
            !directory.readAt(local, localHeaderSize, headerAt) ||
            local[0] != 'P' || local[1] != 'K' || local[2] != 3 || local[3] != 4)
            return fail(error, ArchiveErrors::unreadableArchive(
                                   part(ArchiveErrors::tr("its local header is missing"))));
        m_next = headerAt + localHeaderSize + qFromLittleEndian<quint16>(local + 26) +
                 qFromLittleEndian<quint16>(local + 28);
        const auto compressed = qint64(m_record.compressedSize);
        if (compressed > fileSize - m_next)
            return cutShort(error);
        m_payloadSize = compressed;
        if (m_encryption == Encryption::Traditional)
            return startZipCrypto(qFromLittleEndian<quint16>(local + 10), error);
        if (m_encryption != Encryption::None)
            return startAes(error);
        return true;
    }

    bool startZipCrypto(quint16 dosTime, Error *error)
    {
        char header[ZipCrypto::headerSize];
        if (m_payloadSize < ZipCrypto::headerSize || !readPayload(header, ZipCrypto::headerSize))
            return cutShort(error);
        m_zipCrypto.emplace(m_reader.m_password);
        if (!m_zipCrypto->acceptsHeader(header, m_record.crc, dosTime))
            return fail(error, ArchiveErrors::incorrectPassword());
        return true;
    }

    bool startAes(Error *error)
    {
        const auto headerSize = ZipAesDecryption::headerSize(m_encryption);
        char header[32];
        if (m_payloadSize < headerSize + ZipAesDecryption::trailerSize ||
            !readPayload(header, headerSize))
            return cutShort(error);
        m_payloadSize -= ZipAesDecryption::trailerSize; // the code follows the data
        m_aes.emplace();
        if (!m_aes->start(m_encryption, m_reader.m_password, header))
            return fail(error, ArchiveErrors::incorrectPassword());
        return true;
    }

    // The next `size` bytes of the payload, as stored.
    bool readPayload(char *data, qint64 size)
    {
        if (!m_reader.m_directory->readAt(data, size, m_next))
            return false;
        m_next += size;
        m_payloadSize -= size;
        return true;
    }

    void decrypt(char *data, qint64 size)
    {
        if (m_zipCrypto)
            m_zipCrypto->decrypt(data, size);
        else if (m_aes)
            m_aes->decrypt(data, size);
    }

    // After the last piece: the AES code that follows the data.
    bool authenticated(Error *error)
    {
        if (!m_aes)
            return true;
        char trailer[ZipAesDecryption::trailerSize];
        if (!m_reader.m_directory->readAt(trailer, ZipAesDecryption::trailerSize, m_next))
            return cutShort(error);
        if (!m_aes->authentic(trailer))
            return damaged(error, part(ArchiveErrors::tr("the data fails its authentication "
                                                         "check")));
        return true;
    }

    // Unpacked data on its way to the sink: never more than declared, counted into the CRC.
    bool deliver(const char *data, qint64 size, Error *error)
    {
        if (size == 0)
            return true;
        if (size > qint64(m_record.size) - m_delivered)
            return damaged(error,
                           ArchiveErrors::tr("%1 holds more data than it declares").arg(m_name));
        m_delivered += size;
        m_crc = libdeflate_crc32(m_crc, data, size_t(size));
        if (!m_sink(data, size, error))
            return false;
        if (m_progress)
            m_progress->addBytes(size);
        return true;
    }

    bool cancelled(Error *error)
    {
        return m_progress && m_progress->isCancelled() && !fail(error, ArchiveErrors::cancelled());
    }

    // The whole payload in one read, authenticated before anything is unpacked.
    bool readWhole(Error *error)
    {
        const qint64 size = m_payloadSize;
        char *input = m_reader.m_input.reserve(size);
        if (cancelled(error))
            return false;
        if (size > 0 && !readPayload(input, size))
            return cutShort(error);
        decrypt(input, size);
        if (!authenticated(error))
            return false;
        if (m_record.method == Stored)
            return deliver(input, size, error);
        const auto declared = qint64(m_record.size);
        char *output = m_reader.m_output.reserve(declared);
        size_t produced = 0;
        switch (libdeflate_deflate_decompress(m_reader.m_inflater.get(), input, size_t(size),
                                              output, size_t(declared), &produced)) {
        case LIBDEFLATE_SUCCESS:
            return deliver(output, qint64(produced), error);
        case LIBDEFLATE_INSUFFICIENT_SPACE:
            return damaged(error,
                           ArchiveErrors::tr("%1 holds more data than it declares").arg(m_name));
        default:
            return damaged(error, part(ArchiveErrors::tr("the data is damaged")));
        }
    }

    bool readStreamed(Error *error)
    {
        const bool done = m_record.method == Stored     ? copyStreamed(error)
                          : m_record.method == Deflated ? inflateStreamed(error)
                                                        : decompressBzip2(error);
        return done && drainForCode(error) && authenticated(error);
    }

    // AES's code covers the whole payload, also bytes after the end of the compressed stream.
    bool drainForCode(Error *error)
    {
        while (m_aes && m_payloadSize > 0) {
            const char *data = nullptr;
            qint64 size = 0;
            if (!nextPiece(&data, &size, error))
                return false;
        }
        return true;
    }

    // The next piece of the payload, decrypted; size 0 at its end.
    bool nextPiece(const char **data, qint64 *size, Error *error)
    {
        if (cancelled(error))
            return false;
        *size = std::min(pieceSize, m_payloadSize);
        char *piece = m_reader.m_input.reserve(pieceSize);
        if (*size > 0 && !readPayload(piece, *size))
            return cutShort(error);
        decrypt(piece, *size);
        *data = piece;
        return true;
    }

    bool copyStreamed(Error *error)
    {
        for (;;) {
            const char *data = nullptr;
            qint64 size = 0;
            if (!nextPiece(&data, &size, error))
                return false;
            if (size == 0)
                return true;
            if (!deliver(data, size, error))
                return false;
        }
    }

    bool inflateStreamed(Error *error)
    {
        auto &stream = m_reader.m_stream;
        if (!stream)
            stream = std::make_unique<inflate_state>();
        isal_inflate_init(stream.get());
        stream->crc_flag = ISAL_DEFLATE;
        char *output = m_reader.m_output.reserve(pieceSize);
        while (stream->block_state != ISAL_BLOCK_FINISH) {
            const char *data = nullptr;
            qint64 size = 0;
            if (!nextPiece(&data, &size, error))
                return false;
            if (size == 0)
                return damaged(error, part(ArchiveErrors::tr("the data is damaged")));
            stream->next_in = reinterpret_cast<uint8_t *>(const_cast<char *>(data));
            stream->avail_in = uint32_t(size);
            do { // until the piece is used up or the stream ends
                stream->next_out = reinterpret_cast<uint8_t *>(output);
                stream->avail_out = uint32_t(pieceSize);
                if (isal_inflate(stream.get()) < 0)
                    return damaged(error, part(ArchiveErrors::tr("the data is damaged")));
                const auto produced = pieceSize - qint64(stream->avail_out);
                if (produced > 0 && !deliver(output, produced, error))
                    return false;
            } while ((stream->avail_in > 0 || stream->avail_out == 0) &&
                     stream->block_state != ISAL_BLOCK_FINISH);
        }
        return true;
    }

    // libarchive reads a bzip2 stream as a "raw" archive of one entry, pulling the pieces.
    bool decompressBzip2(Error *error)
    {
        ArchiveReadPtr archive(archive_read_new());
        archive_read_support_filter_bzip2(archive.get());
        archive_read_support_format_raw(archive.get());
        Error pieceError;
        struct Pull {
            Entry *entry;
            Error *error;
        } pull{this, &pieceError};
        const auto next = [](struct archive *a, void *context, const void **buffer) -> la_ssize_t {
            auto &p = *static_cast<Pull *>(context);
            const char *data = nullptr;
            qint64 size = 0;
            if (!p.entry->nextPiece(&data, &size, p.error)) {
                archive_set_error(a, EIO, "read failed");
                return -1;
            }
            *buffer = data;
            return la_ssize_t(size);
        };
        struct archive_entry *header = nullptr;
        if (archive_read_open(archive.get(), &pull, nullptr, next, nullptr) != ARCHIVE_OK ||
            archive_filter_code(archive.get(), 0) != ARCHIVE_FILTER_BZIP2 ||
            archive_read_next_header(archive.get(), &header) != ARCHIVE_OK)
            return pieceError.isSet() ? fail(error, pieceError)
                                      : damaged(error, part(ArchiveErrors::tr("the data is "
                                                                              "damaged")));
        char *output = m_reader.m_output.reserve(pieceSize);
        for (;;) {
            const auto n = archive_read_data(archive.get(), output, size_t(pieceSize));
            if (n == 0)
                return true;
            if (n < 0)
                return pieceError.isSet()
                           ? fail(error, pieceError)
                           : damaged(error, part(ArchiveErrors::tr("the data is damaged")));
            if (!deliver(output, n, error))
                return false;
        }
    }

    ZipEntryReader &m_reader;
    const ZipDirectory::Entry &m_record;
    const ZipDirectory::Encryption m_encryption;
    const QString &m_name;
    ProgressReporter *m_progress;
    const Sink &m_sink;
    qint64 m_next = 0;        // the file offset of the payload not read yet
    qint64 m_payloadSize = 0; // what is left of it, without AES's code
    std::optional<ZipCrypto> m_zipCrypto;
    std::optional<ZipAesDecryption> m_aes;
    qint64 m_delivered = 0;
    quint32 m_crc = 0;
    bool m_dataFailed = false;
};

ZipEntryReader::ZipEntryReader(std::shared_ptr<const ZipDirectory> directory, QByteArray password)
    : m_directory(std::move(directory)), m_password(std::move(password)),
      m_inflater(libdeflate_alloc_decompressor(), &libdeflate_free_decompressor)
{
}

ZipEntryReader::~ZipEntryReader() = default;

bool ZipEntryReader::read(qsizetype index, const QString &name, ProgressReporter *progress,
                          const Sink &sink, Error *error)
{
    Entry entry(*this, index, name, progress, sink);
    Error readError;
    const bool done = m_inflater && entry.read(&readError);
    m_input.trim();
    m_output.trim();
    if (done)
        return true;
    if (!m_inflater)
        return fail(error, ArchiveErrors::fromErrno(ENOMEM, name));
    // ZipCrypto checks a password against one byte only: about one wrong password in 256
    // passes, and the data then comes out as garbage.
    if (entry.dataFailed() &&
        m_directory->encryption(index) == ZipDirectory::Encryption::Traditional)
        readError = ArchiveErrors::incorrectPassword();
    return fail(error, readError);
}
