#include "TrashPlacement.h"

#include "BytePath.h"

#include <Descriptors.h>
#include <NoReplaceRename.h>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace TrashPlacement {

namespace {

constexpr qsizetype infoSuffixLength = sizeof infoSuffix - 1;
// Numbered tries, then random ones: a trash with a hundred items of one name is not worth
// counting through.
constexpr int numberedAttempts = 100;
constexpr int allAttempts = 120;

QByteArray trashName(const QByteArray &base, int attempt)
{
    if (attempt == 0)
        return base;
    if (attempt < numberedAttempts)
        return numbered(base, attempt + 1);
    return numbered(base, int(QRandomGenerator::system()->bounded(100000, 1000000)));
}

bool writeAll(int fd, const QByteArray &data)
{
    for (qsizetype done = 0; done < data.size();) {
        const auto written = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (written < 0 && errno != EINTR)
            return false;
        done += written > 0 ? written : 0;
    }
    return true;
}

// Writes the info file `infoName` unless one of that name is there (EEXIST then).
bool createInfoFile(int infoFd, const QByteArray &infoName, const QByteArray &text)
{
    Fd file(::openat(infoFd, infoName.constData(),
                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.isValid())
        return false;
    const bool written = writeAll(file.get(), text);
    const int reason = errno;
    if (file.close() == 0 && written)
        return true;
    ::unlinkat(infoFd, infoName.constData(), 0);
    errno = written ? errno : reason;
    return false;
}

} // namespace

bool isItemName(const QByteArray &name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') &&
           !name.contains('\0');
}

QByteArray numbered(const QByteArray &name, int number)
{
    const auto dot = name.lastIndexOf('.');
    const auto split = dot > 0 ? dot : name.size();
    return name.left(split) + ' ' + QByteArray::number(number) + name.mid(split);
}

QByteArray baseName(const QByteArray &name)
{
    constexpr qsizetype room = NAME_MAX - infoSuffixLength - 6;
    if (name.size() <= room)
        return name;
    qsizetype cut = room;
    while (cut > 0 && (uchar(name[cut]) & 0xC0) == 0x80)
        --cut;
    return name.left(cut);
}

QByteArray recordedFolder(const QByteArray &folder, const QByteArray &topdir)
{
    if (topdir.isEmpty())
        return folder;
    char resolved[PATH_MAX];
    if (!::realpath(folder.constData(), resolved))
        return folder;
    const QByteArray real(resolved);
    if (real == topdir)
        return {};
    const QByteArray prefix = topdir == "/" ? QByteArray("/") : topdir + '/';
    return real.startsWith(prefix) ? real.mid(prefix.size()) : folder;
}

QByteArray recordedPath(const QByteArray &recorded, const QByteArray &name)
{
    return recorded.isEmpty() ? name : BytePath::joined(recorded, name);
}

std::optional<Claim> claim(int infoFd, const QByteArray &base, const QByteArray &text,
                           int firstAttempt)
{
    for (int attempt = firstAttempt; attempt < allAttempts; ++attempt) {
        const auto candidate = trashName(base, attempt);
        if (createInfoFile(infoFd, candidate + infoSuffix, text))
            return Claim{candidate, attempt};
        if (errno != EEXIST)
            return std::nullopt;
    }
    errno = EEXIST;
    return std::nullopt;
}

std::optional<QByteArray> place(const TrashLocation::OpenTrash &trash, int folderFd,
                                const QByteArray &name, const QByteArray &base,
                                const QByteArray &text, int firstAttempt)
{
    // A name whose info file is free may still be taken in files/ (an item another tool left
    // without its info file): the next name is tried.
    for (int attempt = firstAttempt;;) {
        const auto claimed = claim(trash.info.get(), base, text, attempt);
        if (!claimed)
            return std::nullopt;
        if (NoReplaceRename::move(folderFd, name.constData(), trash.files.get(),
                                  claimed->name.constData()))
            return claimed->name;
        const int reason = errno;
        ::unlinkat(trash.info.get(), (claimed->name + infoSuffix).constData(), 0);
        errno = reason;
        if (reason != EEXIST)
            return std::nullopt;
        attempt = claimed->attempt + 1;
    }
}

} // namespace TrashPlacement
