#pragma once

#include "FolderHandle.h"

#include <Error.h>
#include <QByteArrayView>
#include <QString>
#include <memory>
#include <vector>

// The central directory of one zip file. The end record is found in the file's last 64 KB
// (Zip64's record through its locator), then every central record is walked from a window read
// with pread, keeping per entry only what listing and unpacking need: one compact record of 36
// bytes, and the name in one buffer shared by all names. For 200,000 entries that is about 15 MB
// where a full copy of the directory would be several times as much. The file stays open for the
// entries' data (ZipEntryReader).
//
// Tolerated as the common tools tolerate them: bytes before the zip (a self-extractor's stub; the
// offsets are corrected), a comment holding what looks like an end record (the first record
// whose comment reaches the end of the file wins), junk after the comment, and the count of
// Info-ZIP's zips of more than 65,535 entries without Zip64 (kept modulo 65,536). Names keep
// libzip's reading: a NUL becomes a space, and Info-ZIP's Unicode path field replaces a name
// whose checksum it matches. Refused as damaged: a record or field that leaves the directory,
// a Zip64 value the record lacks, a count that doesn't match, a zip split across several files.
//
// Immutable once read: one directory may serve any number of threads at once.
class ZipDirectory {
public:
    enum class Encryption : quint8 { None, Traditional, Aes128, Aes192, Aes256, Unsupported };

    // Offsets and sizes beyond 48 bits (256 TiB) are stored as the largest 48-bit value: no
    // disk holds them, so such claims fail the free-space check or the reading all the same.
#pragma pack(push, 4)
    struct Entry {
        quint64 localHeaderOffset : 48; // in the file, corrected for bytes before the zip
        quint64 method : 16;            // compression method (for AES, the one it encrypts)
        quint64 compressedSize : 48;    // what the local header is followed by, encryption included
        quint64 unixMode : 16;          // st_mode, type bits included, when made on Unix; else 0
        quint64 size : 48;              // unpacked size as declared
        quint64 encryption : 15;        // Encryption
        quint64 utf8Name : 1;           // the name is UTF-8 by the flag or Info-ZIP's field
        quint32 crc;
        quint32 nameOffset; // into the shared buffer; a name ends where the next begins
        quint32 modified;   // seconds since the epoch; 0 when not recorded
    };
#pragma pack(pop)
    static_assert(sizeof(Entry) == 36);

    static constexpr quint64 largestValue = (quint64(1) << 48) - 1;

    // Reads the directory of the zip at `path`; fails with UnreadableArchive (missing file, no
    // end record, damage) or a file error.
    static std::shared_ptr<const ZipDirectory> read(const QString &path, Error *error);

    qsizetype size() const { return qsizetype(m_entries.size()); }
    const Entry &entry(qsizetype index) const { return m_entries[size_t(index)]; }
    // The name as the archive spells it, to decode with ZipNameDecoding.
    QByteArrayView rawName(qsizetype index) const;
    Encryption encryption(qsizetype index) const { return Encryption(entry(index).encryption); }

    // Reads `size` bytes of the file at `offset` (pread; any thread); false at its end or on
    // a failure.
    bool readAt(char *data, qint64 size, qint64 offset) const;
    qint64 fileSize() const { return m_fileSize; }

    ZipDirectory(Fd file, qint64 fileSize);

private:
    friend class ZipDirectoryWalk;

    Fd m_file;
    qint64 m_fileSize;
    std::vector<Entry> m_entries;
    std::vector<char> m_names;
};
