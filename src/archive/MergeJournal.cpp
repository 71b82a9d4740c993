#include "MergeJournal.h"

#include "ArchiveErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char header[] = "merge 1 ";

} // namespace

std::optional<MergeJournal> MergeJournal::create(int folderFd, const QByteArray &target,
                                                 Error *error)
{
    MergeJournal journal(Fd(::openat(folderFd, fileName,
                                     O_RDWR | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600)));
    if (!journal.m_file.isValid() || !journal.write(header + target + '\0')) {
        fail(error, ArchiveErrors::fromErrno(errno, QString::fromLatin1(fileName)));
        return std::nullopt;
    }
    return journal;
}

bool MergeJournal::append(const std::vector<Step> &steps)
{
    QByteArray records;
    for (const auto &step : steps) {
        records += char(step.kind);
        records += QByteArray::number(step.movedIn, 16) + ' ';
        if (step.kind == Kind::Replaced)
            records += QByteArray::number(step.setAside, 16) + ' ';
        records += step.path;
        records += '\0';
    }
    return write(records);
}

bool MergeJournal::write(const QByteArray &records)
{
    // One write: O_APPEND keeps records whole and in order; a short write (a full disk) leaves
    // a record without its NUL, which reading leaves out, and the records before it, which
    // describe steps never taken.
    const auto written = ::write(m_file.get(), records.constData(), size_t(records.size()));
    if (written == records.size())
        return true;
    if (written >= 0)
        errno = ENOSPC;
    return false;
}

std::optional<MergeJournal::Contents> MergeJournal::read(int folderFd)
{
    const Fd file(::openat(folderFd, fileName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    return file.isValid() ? parse(file.get()) : std::nullopt;
}

std::optional<MergeJournal::Contents> MergeJournal::contents() const
{
    return parse(m_file.get());
}

std::optional<MergeJournal::Contents> MergeJournal::parse(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    QByteArray text(qsizetype(info.st_size), Qt::Uninitialized);
    qsizetype size = 0;
    while (size < text.size()) {
        const auto got = ::pread(fd, text.data() + size, size_t(text.size() - size), size);
        if (got <= 0)
            break;
        size += got;
    }
    text.resize(size);
    text.truncate(text.lastIndexOf('\0') + 1); // a record left unfinished goes
    const auto records = text.split('\0');
    if (text.isEmpty() || !records[0].startsWith(header))
        return std::nullopt;
    Contents contents{records[0].mid(qsizetype(sizeof header - 1)), {}};
    contents.steps.reserve(size_t(records.size()));
    for (qsizetype i = 1; i + 1 < records.size(); ++i) {
        const auto &record = records[i];
        const auto kind = record.isEmpty() ? '\0' : record[0];
        const int numbers = kind == char(Kind::Replaced) ? 2 : 1;
        qsizetype start = 1;
        quint64 inodes[2] = {};
        bool ok = kind == char(Kind::Added) || kind == char(Kind::Replaced) ||
                  kind == char(Kind::Swapped);
        for (int n = 0; ok && n < numbers; ++n) {
            const auto space = record.indexOf(' ', start);
            inodes[n] = record.mid(start, space - start).toULongLong(&ok, 16);
            ok = ok && space > start;
            start = space + 1;
        }
        if (ok && start < record.size())
            contents.steps.push_back({Kind(kind), inodes[0], inodes[1], record.mid(start)});
    }
    return contents;
}

void MergeJournal::remove(int folderFd)
{
    ::unlinkat(folderFd, fileName, 0);
}
