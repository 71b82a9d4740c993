#include "ZipDirectory.h"

#include "ArchiveErrors.h"

#include <FileNameCodec.h>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <libdeflate.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 endRecordSize = 22;
constexpr qint64 largestComment = 0xFFFF;
constexpr qint64 locatorSize = 20;
constexpr qint64 zip64EndSize = 56;
constexpr qint64 centralRecordSize = 46;
constexpr qint64 windowSize = 1024 * 1024; // holds the largest record (46 + 3 × 65,535 bytes)
constexpr quint32 noValue32 = 0xFFFFFFFF;
constexpr quint16 unixHost = 3;

constexpr quint16 zip64Field = 0x0001;
constexpr quint16 timestampField = 0x5455;
constexpr quint16 unicodePathField = 0x7075;
constexpr quint16 utf8Flag = 0x800;
constexpr quint16 aesField = 0x9901;
constexpr quint16 aesMethod = 99;

quint16 le16(const char *p)
{
    return qFromLittleEndian<quint16>(p);
}
quint32 le32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}
quint64 le64(const char *p)
{
    return qFromLittleEndian<quint64>(p);
}

bool hasSignature(const char *p, char third, char fourth)
{
    return p[0] == 'P' && p[1] == 'K' && p[2] == third && p[3] == fourth;
}

bool centralRecordAt(const ZipDirectory &zip, qint64 offset)
{
    char signature[4];
    return offset >= 0 && zip.readAt(signature, 4, offset) && hasSignature(signature, 1, 2);
}

Error damaged(const QString &why)
{
    return ArchiveErrors::unreadableArchive(why);
}

// Where the central directory lies, as the end records give it.
struct DirectoryPlace {
    qint64 offset = 0; // in the file
    qint64 size = 0;
    quint64 count = 0;
    bool zip64 = false;
    qint64 shift = 0; // bytes before the zip, added to every offset the zip records
};

// The values an end record gives, Zip64's when it has one.
struct EndValues {
    quint64 disk, directoryDisk, countOnDisk, count, size, offset;
    qint64 directoryEnd; // where the directory must end: the (Zip64) end record
    bool zip64;
};

std::optional<EndValues> zip64Values(const ZipDirectory &zip, qint64 locatorOffset,
                                    QString *problem)
{
    char locator[locatorSize];
    if (locatorOffset < zip64EndSize)
        return std::nullopt;
    if (!zip.readAt(locator, locatorSize, locatorOffset) || !hasSignature(locator, 6, 7))
        return std::nullopt;
    if (le32(locator + 16) > 1) {
        *problem = ArchiveErrors::tr("the zip is split across several files");
        return std::nullopt;
    }
    // Bytes before the zip move the record too: then it sits right before its locator.
    const auto declared = le64(locator + 8);
    char record[zip64EndSize];
    qint64 at = -1;
    for (const auto candidate : {declared, quint64(locatorOffset - zip64EndSize)})
        if (candidate <= quint64(locatorOffset - zip64EndSize) &&
            zip.readAt(record, zip64EndSize, qint64(candidate)) && hasSignature(record, 6, 6)) {
            at = qint64(candidate);
            break;
        }
    if (at < 0) {
        *problem = ArchiveErrors::tr("the Zip64 end record is missing");
        return std::nullopt;
    }
    return EndValues{le32(record + 16), le32(record + 20), le64(record + 24), le64(record + 32),
                     le64(record + 40),   le64(record + 48), at,                true};
}

// The directory an end record at `endOffset` describes, if it is where the record says, or
// where it must be when bytes were put before the zip.
std::optional<DirectoryPlace> placeFrom(const ZipDirectory &zip, const char *record,
                                        qint64 endOffset, QString *problem)
{
    auto values = endOffset >= locatorSize ? zip64Values(zip, endOffset - locatorSize, problem)
                                           : std::nullopt;
    if (!values) {
        if (!problem->isEmpty())
            return std::nullopt;
        values = EndValues{le16(record + 4),  le16(record + 6),  le16(record + 8),
                           le16(record + 10), le32(record + 12), le32(record + 16),
                           endOffset,         false};
    }
    if (values->disk != 0 || values->directoryDisk != 0) {
        *problem = ArchiveErrors::tr("the zip is split across several files");
        return std::nullopt;
    }
    const auto end = quint64(values->directoryEnd);
    if (values->countOnDisk != values->count || values->size > end ||
        (values->zip64 && values->count > values->size / centralRecordSize)) {
        *problem = ArchiveErrors::tr("its end record contradicts itself");
        return std::nullopt;
    }
    DirectoryPlace place{qint64(values->offset), qint64(values->size), values->count,
                         values->zip64, 0};
    if (values->count == 0 && values->size == 0)
        return place;
    if (values->offset <= end - values->size && centralRecordAt(zip, place.offset))
        return place;
    const auto moved = qint64(end - values->size);
    if (quint64(moved) > values->offset && centralRecordAt(zip, moved)) {
        place.shift = moved - place.offset;
        place.offset = moved;
        return place;
    }
    *problem = ArchiveErrors::tr("the central directory is not where its end record says");
    return std::nullopt;
}

// The end record is in the last 64 KB: the first there whose comment ends the file and whose
// directory is where it says, else (junk after the zip) the first whose comment fits. A
// comment may itself hold what looks like an end record (even one that ends the file); the
// real one comes before it.
std::optional<DirectoryPlace> findDirectory(const ZipDirectory &zip, Error *error)
{
    const qint64 fileSize = zip.fileSize();
    const qint64 tailSize = std::min(fileSize, endRecordSize + largestComment);
    const qint64 tailStart = fileSize - tailSize;
    std::vector<char> tail(static_cast<size_t>(tailSize));
    if (!zip.readAt(tail.data(), tailSize, tailStart)) {
        fail(error, ArchiveErrors::unreadableArchive(QString::fromLocal8Bit(strerror(errno))));
        return std::nullopt;
    }
    QString problem;
    for (const bool exact : {true, false}) {
        for (qint64 at = 0; at <= tailSize - endRecordSize; ++at) {
            const char *record = tail.data() + at;
            if (!hasSignature(record, 5, 6))
                continue;
            const qint64 commentEnd = tailStart + at + endRecordSize + le16(record + 20);
            if (exact ? commentEnd != fileSize : commentEnd > fileSize)
                continue;
            QString why;
            if (auto place = placeFrom(zip, record, tailStart + at, &why))
                return place;
            if (problem.isEmpty())
                problem = why;
        }
    }
    fail(error, damaged(problem.isEmpty() ? ArchiveErrors::tr("it is not a zip file") : problem));
    return std::nullopt;
}

// DOS times are local wall-clock times, to the even second. mktime looks the time zone up on
// every call; the offset from UTC changes only on the hour, so it is kept for the last hour.
class DosTime {
public:
    quint32 toSeconds(quint16 date, quint16 time)
    {
        if (date == 0)
            return 0;
        std::tm parts{};
        parts.tm_year = (date >> 9) + 80;
        parts.tm_mon = ((date >> 5) & 0xF) - 1;
        parts.tm_mday = date & 0x1F;
        parts.tm_hour = time >> 11;
        const quint32 hourKey = quint32(date) << 5 | (time >> 11);
        if (hourKey != m_hourKey) {
            std::tm local = parts;
            local.tm_isdst = -1;
            m_offset = qint64(timegm(&parts)) - qint64(mktime(&local));
            m_hourKey = hourKey;
        }
        parts.tm_min = (time >> 5) & 0x3F;
        parts.tm_sec = (time & 0x1F) * 2;
        const qint64 seconds = qint64(timegm(&parts)) - m_offset;
        return quint32(std::clamp<qint64>(seconds, 1, noValue32));
    }

private:
    quint32 m_hourKey = 0xFFFFFFFF;
    qint64 m_offset = 0;
};

// An extra field's data by id, or empty; a field that runs past the end ends the search.
QByteArrayView extraField(QByteArrayView extra, quint16 id)
{
    while (extra.size() >= 4) {
        const auto fieldId = le16(extra.data());
        const qsizetype length = le16(extra.data() + 2);
        if (4 + length > extra.size())
            break;
        if (fieldId == id)
            return extra.sliced(4, length);
        extra = extra.sliced(4 + length);
    }
    return {};
}

quint64 saturated(quint64 value)
{
    return std::min(value, ZipDirectory::largestValue);
}

} // namespace

// Walks the central directory through a window read with pread, adding each record to the
// directory: the directory of a zip with many entries is never held whole.
class ZipDirectoryWalk {
public:
    ZipDirectoryWalk(ZipDirectory &directory, const DirectoryPlace &place)
        : m_directory(directory), m_place(place), m_next(place.offset), m_left(place.size),
          m_window(size_t(std::min(windowSize, place.size)))
    {
    }

    bool run(Error *error)
    {
        // Room for the records (beyond Zip64 the count may have wrapped: the size bounds it)
        // and for the names, which take at most what the records leave over. Room never
        // touched is never made resident; a few million entries' worth is reserved at most.
        const auto fit = quint64(m_place.size) / centralRecordSize;
        const auto records =
            std::min({m_place.zip64 ? m_place.count : fit, fit, quint64(1) << 22});
        m_directory.m_entries.reserve(size_t(records));
        m_directory.m_names.reserve(size_t(std::min<qint64>(
            m_place.size - qint64(records) * centralRecordSize, 256 * 1024 * 1024)));
        quint64 walked = 0;
        while (m_left > 0 || m_end > m_begin) {
            if (m_place.zip64 && walked == m_place.count)
                break;
            if (!addRecord(error))
                return false;
            ++walked;
        }
        const bool countMatches = m_place.zip64 ? walked == m_place.count
                                                : walked % 0x10000 == m_place.count;
        if (!countMatches || m_left > 0 || m_end > m_begin)
            return fail(error, damaged(ArchiveErrors::tr("its central directory does not hold "
                                                         "the entries its end record counts")));
        return true;
    }

private:
    // The next `size` bytes of the directory, without taking them; null when it ends before.
    const char *peek(qint64 size)
    {
        if (m_end - m_begin < size) {
            std::memmove(m_window.data(), m_window.data() + m_begin, size_t(m_end - m_begin));
            m_end -= m_begin;
            m_begin = 0;
            const auto n = std::min(m_left, qint64(m_window.size()) - m_end);
            if (!m_directory.readAt(m_window.data() + m_end, n, m_next))
                return nullptr;
            m_next += n;
            m_left -= n;
            m_end += n;
        }
        return m_end - m_begin >= size ? m_window.data() + m_begin : nullptr;
    }

    bool addRecord(Error *error)
    {
        const char *fixed = peek(centralRecordSize);
        if (!fixed || !hasSignature(fixed, 1, 2))
            return fail(error, damaged(ArchiveErrors::tr("a central directory record is "
                                                         "missing")));
        const qint64 nameLength = le16(fixed + 28), extraLength = le16(fixed + 30);
        const qint64 recordSize = centralRecordSize + nameLength + extraLength + le16(fixed + 32);
        const char *record = peek(recordSize);
        if (!record)
            return fail(error, damaged(ArchiveErrors::tr("a central directory record is cut "
                                                         "short")));
        m_begin += recordSize;
        const QByteArrayView name(record + centralRecordSize, nameLength);
        const QByteArrayView extra(record + centralRecordSize + nameLength, extraLength);
        ZipDirectory::Entry entry{};
        if (!readSizes(record, extra, &entry, error) || !addName(name, extra, &entry, error))
            return false;
        entry.crc = le32(record + 16);
        entry.encryption = quint64(encryptionOf(le16(record + 8), extra, &entry));
        entry.utf8Name = entry.utf8Name || (le16(record + 8) & utf8Flag);
        entry.unixMode = le16(record + 4) >> 8 == unixHost ? le32(record + 38) >> 16 : 0;
        entry.modified = modifiedTime(le16(record + 14), le16(record + 12), extra);
        m_directory.m_entries.push_back(entry);
        return true;
    }

    // Sizes and offset, from the Zip64 field for those the record marks as not fitting.
    bool readSizes(const char *record, QByteArrayView extra, ZipDirectory::Entry *entry,
                   Error *error)
    {
        quint64 values[3] = {le32(record + 24), le32(record + 20), le32(record + 42)};
        const auto zip64 = extraField(extra, zip64Field);
        qsizetype used = 0;
        for (auto &value : values) {
            if (value != noValue32)
                continue;
            if (used + 8 > zip64.size())
                return fail(error, damaged(ArchiveErrors::tr("an entry lacks its Zip64 sizes")));
            value = le64(zip64.data() + used);
            used += 8;
        }
        entry->size = saturated(values[0]);
        entry->compressedSize = saturated(values[1]);
        entry->localHeaderOffset = saturated(saturated(values[2]) + quint64(m_place.shift));
        entry->method = le16(record + 10);
        return true;
    }

    // libzip's reading of names, kept so names come out as they always did: a NUL becomes a
    // space, and Info-ZIP's Unicode path field replaces the name whose checksum it holds.
    bool addName(QByteArrayView name, QByteArrayView extra, ZipDirectory::Entry *entry,
                 Error *error)
    {
        auto &names = m_directory.m_names;
        const auto start = names.size();
        if (start + size_t(name.size()) > noValue32)
            return fail(error, damaged(ArchiveErrors::tr("its names are too long")));
        names.insert(names.end(), name.begin(), name.end());
        std::replace(names.begin() + qsizetype(start), names.end(), '\0', ' ');
        const auto unicode = extraField(extra, unicodePathField);
        if (unicode.size() >= 5 && unicode[0] == 1 &&
            le32(unicode.data() + 1) ==
                libdeflate_crc32(0, names.data() + start, names.size() - start)) {
            names.resize(start);
            names.insert(names.end(), unicode.begin() + 5, unicode.end());
            entry->utf8Name = 1;
            std::replace(names.begin() + qsizetype(start), names.end(), '\0', ' ');
        }
        entry->nameOffset = quint32(start);
        return true;
    }

    static ZipDirectory::Encryption encryptionOf(quint16 flags, QByteArrayView extra,
                                                 ZipDirectory::Entry *entry)
    {
        using Encryption = ZipDirectory::Encryption;
        if (entry->method == aesMethod) {
            const auto aes = extraField(extra, aesField);
            if (aes.size() != 7 || aes[2] != 'A' || aes[3] != 'E' || aes[4] < 1 || aes[4] > 3)
                return Encryption::Unsupported;
            entry->method = le16(aes.data() + 5);
            return Encryption(int(Encryption::Aes128) + aes[4] - 1);
        }
        if (!(flags & 0x1))
            return Encryption::None;
        return (flags & 0x40) ? Encryption::Unsupported : Encryption::Traditional;
    }

    // Info-ZIP's timestamp field holds the time in UTC to the second; else the DOS time.
    quint32 modifiedTime(quint16 date, quint16 time, QByteArrayView extra)
    {
        const auto stamp = extraField(extra, timestampField);
        if (stamp.size() >= 5 && (stamp[0] & 0x1)) {
            const auto seconds = qint32(le32(stamp.data() + 1));
            if (seconds > 0)
                return quint32(seconds);
        }
        return m_dosTime.toSeconds(date, time);
    }

    ZipDirectory &m_directory;
    const DirectoryPlace m_place;
    qint64 m_next; // where the window's next read starts
    qint64 m_left; // directory bytes not read yet
    std::vector<char> m_window;
    qint64 m_begin = 0, m_end = 0; // the window's unused bytes
    DosTime m_dosTime;
};

ZipDirectory::ZipDirectory(Fd file, qint64 fileSize) : m_file(std::move(file)), m_fileSize(fileSize)
{
}

QByteArrayView ZipDirectory::rawName(qsizetype index) const
{
    const auto begin = m_entries[size_t(index)].nameOffset;
    const auto end = size_t(index) + 1 < m_entries.size() ? m_entries[size_t(index) + 1].nameOffset
                                                          : m_names.size();
    return QByteArrayView(m_names.data() + begin, qsizetype(end - begin));
}

bool ZipDirectory::readAt(char *data, qint64 size, qint64 offset) const
{
    while (size > 0) {
        const auto n = ::pread(m_file.get(), data, size_t(size), off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
        offset += n;
    }
    return true;
}

std::shared_ptr<const ZipDirectory> ZipDirectory::read(const QString &path, Error *error)
{
    Fd file(::open(FileNameCodec::encode(path).constData(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!file.isValid() || ::fstat(file.get(), &info) != 0) {
        fail(error, errno == ENOENT ? ArchiveErrors::missingArchive(path)
                                    : ArchiveErrors::unreadableArchive(
                                          QString::fromLocal8Bit(strerror(errno))));
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        fail(error, ArchiveErrors::missingArchive(path));
        return nullptr;
    }
    auto directory = std::make_shared<ZipDirectory>(std::move(file), qint64(info.st_size));
    const auto place = findDirectory(*directory, error);
    if (!place || !ZipDirectoryWalk(*directory, *place).run(error))
        return nullptr;
    return directory;
}
