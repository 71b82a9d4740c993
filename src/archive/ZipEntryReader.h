#pragma once

#include "ArchiveProgress.h"
#include "ZipDirectory.h"

#include <Error.h>
#include <QByteArray>
#include <functional>
#include <memory>

struct libdeflate_decompressor;
struct inflate_state;

// Reads the data of the entries of one ZipDirectory with pread: the local header, the
// decryption (ZipCrypto, WinZip AES through ZipAesDecryption), the decompression, and the
// checks. Stored and deflated entries whose sizes both fit wholeEntryLimit are read in one piece
// and inflated by libdeflate in one call; larger ones, and bzip2, are streamed in pieces (ISA-L
// inflates, libarchive's bzip2 filter decompresses), so memory stays bounded whatever the size.
//
// At most the declared size is ever handed over: more data than declared fails the entry, as
// does less, a CRC that differs (AE-2 entries, which record none, rely on their code) or an AES
// code that does. Such failures of a ZipCrypto entry mean a wrong password that passed the
// cipher's one-byte check, and are reported as IncorrectPassword.
//
// Thread-safety: one reader per thread (it keeps its buffers between entries); the readers of
// one directory may run at once.
class ZipEntryReader {
public:
    static constexpr qint64 wholeEntryLimit = 8 * 1024 * 1024;

    using Sink = std::function<bool(const char *data, qint64 size, Error *error)>;

    // `password` as UTF-8, empty for none.
    ZipEntryReader(std::shared_ptr<const ZipDirectory> directory, QByteArray password);
    ~ZipEntryReader();
    ZipEntryReader(const ZipEntryReader &) = delete;
    ZipEntryReader &operator=(const ZipEntryReader &) = delete;

    // Hands the data of entry `index` (called `name` in messages) to `sink` in pieces, adding
    // its size to `progress` (optional, which may cancel). Fails with PasswordRequired,
    // IncorrectPassword, UnsupportedEncryption, UnreadableArchive (damage, a compression
    // method other than stored, deflate and bzip2, data that fails its checks), Cancelled, or
    // what the sink failed with.
    bool read(qsizetype index, const QString &name, ProgressReporter *progress, const Sink &sink,
              Error *error);

    // A buffer kept between entries, grown on demand; larger ones are given back after use.
    class Buffer {
    public:
        char *reserve(qint64 size);
        void trim();

    private:
        std::unique_ptr<char[]> m_data;
        qint64 m_capacity = 0;
    };

private:
    class Entry;
    friend class Entry;

    std::shared_ptr<const ZipDirectory> m_directory;
    QByteArray m_password;
    std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor *)> m_inflater;
    std::unique_ptr<inflate_state> m_stream;
    Buffer m_input;
    Buffer m_output;
};
