#include "ItemRecords.h"

#include <AppDirectories.h>
#include <sys/file.h>
#include <FileNameCodec.h>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ItemRecords {

namespace {

QByteArray folder(Book book)
{
    return FileNameCodec::encode(AppDirectories::stateDirectory() +
                                 (book == Book::Unpacking ? QStringLiteral("/staging")
                                                          : QStringLiteral("/copying")));
}

QByteArray fileName(dev_t device, ino_t inode)
{
    return QByteArray::number(quint64(device), 16) + '-' + QByteArray::number(quint64(inode), 16);
}

QByteArray pathOf(Book book, dev_t device, ino_t inode)
{
    return folder(book) + '/' + fileName(device, inode);
}

QByteArray text(const Record &record)
{
    return "device=" + QByteArray::number(quint64(record.device)) +
           "\ninode=" + QByteArray::number(quint64(record.inode)) +
           "\nowner=" + QByteArray::number(record.owner) +
           "\nplace=" + record.place.toPercentEncoding("/") +
           "\nname=" + record.name.toPercentEncoding() +
           "\narchive=" + record.archiveName.toPercentEncoding() + '\n';
}

std::optional<Record> parsed(const QByteArray &text)
{
    Record record;
    int keys = 0;
    for (const auto &line : text.split('\n')) {
        const auto equals = line.indexOf('=');
        const auto key = line.left(equals);
        const auto value = line.mid(equals + 1);
        bool ok = equals > 0;
        if (key == "device")
            record.device = dev_t(value.toULongLong(&ok));
        else if (key == "inode")
            record.inode = ino_t(value.toULongLong(&ok));
        else if (key == "owner")
            record.owner = uid_t(value.toUInt(&ok));
        else if (key == "place")
            record.place = QByteArray::fromPercentEncoding(value);
        else if (key == "name")
            record.name = QByteArray::fromPercentEncoding(value);
        else if (key == "archive")
            record.archiveName = QByteArray::fromPercentEncoding(value);
        else
            continue;
        keys += ok ? 1 : 0;
    }
    // A record cut short (the process died while writing it) proves nothing.
    if (keys != 6 || record.name.isEmpty() || !record.place.startsWith('/'))
        return std::nullopt;
    return record;
}

std::optional<Record> read(int folderFd, const char *name)
{
    const Fd file(::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!file.isValid())
        return std::nullopt;
    QByteArray content(16 * 1024, Qt::Uninitialized);
    const auto size = ::read(file.get(), content.data(), size_t(content.size()));
    content.resize(size > 0 ? size : 0);
    return parsed(content);
}

} // namespace

Fd addHeld(Book book, const Record &record)
{
    // The records name the places the user works in: the folder is the user's alone.
    QDir().mkpath(AppDirectories::stateDirectory());
    if (::mkdir(folder(book).constData(), 0700) != 0 && errno != EEXIST)
        return Fd();
    Fd file(::open(pathOf(book, record.device, record.inode).constData(),
                   O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
    // Locked before it is written: a sweep that gets the lock first reads no record and leaves
    // the item alone.
    if (!file.isValid() || ::flock(file.get(), LOCK_EX) != 0)
        return Fd();
    const auto content = text(record);
    if (::write(file.get(), content.constData(), size_t(content.size())) != content.size())
        return Fd();
    return file;
}

bool add(Book book, const Record &record)
{
    return addHeld(book, record).isValid();
}

bool isHeld(Book book, dev_t device, ino_t inode)
{
    const Fd file(::open(pathOf(book, device, inode).constData(),
                         O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    return file.isValid() && ::flock(file.get(), LOCK_EX | LOCK_NB) != 0;
}

void drop(Book book, dev_t device, ino_t inode)
{
    ::unlink(pathOf(book, device, inode).constData());
}

std::optional<Record> find(Book book, dev_t device, ino_t inode)
{
    const Fd records(::open(folder(book).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!records.isValid())
        return std::nullopt;
    auto record = read(records.get(), fileName(device, inode).constData());
    if (record && (record->device != device || record->inode != inode))
        return std::nullopt;
    return record;
}

QList<Record> all(Book book)
{
    QList<Record> found;
    const Fd records(::open(folder(book).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (records.isValid())
        FolderHandle::forEachItem(records.get(), [&](const dirent &item) {
            if (auto record = read(records.get(), item.d_name))
                found << *record;
            return true;
        });
    return found;
}

} // namespace ItemRecords
