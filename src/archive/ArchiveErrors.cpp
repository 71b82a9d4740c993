#include "ArchiveErrors.h"

#include <QLocale>
#include <cerrno>
#include <cstring>

namespace {

Error make(ArchiveErrors::Code code, const QString &message)
{
    return Error(ArchiveErrors::domain, code, message);
}

// An item's name as a message shows it: a name of thousands of characters (a hostile archive's
// deep path) keeps its start and its end.
QString shown(const QString &name)
{
    constexpr qsizetype longest = 300;
    if (name.size() <= longest)
        return name;
    return name.left(longest / 2) + QStringLiteral(" … ") + name.right(longest / 2);
}

} // namespace

Error ArchiveErrors::passwordRequired(ArchiveKind kind)
{
    switch (kind) {
    case ArchiveKind::Zip:
        return make(PasswordRequired, tr("password protected zip file"));
    case ArchiveKind::Rar:
        return make(PasswordRequired, tr("password protected rar file"));
    case ArchiveKind::SevenZip:
        return make(PasswordRequired, tr("password protected 7z file"));
    default:
        return make(PasswordRequired, tr("password protected archive"));
    }
}

Error ArchiveErrors::incorrectPassword()
{
    return make(IncorrectPassword, tr("incorrect password"));
}

Error ArchiveErrors::unsafeEntry(const QString &entry, const QString &reason)
{
    return make(UnsafeEntry, tr("The archive was not unpacked: its entry “%1” %2. Nothing was "
                                "written.")
                                 .arg(shown(entry), reason));
}

Error ArchiveErrors::notEnoughSpace(qint64 needed, qint64 available)
{
    const QLocale locale;
    return make(NotEnoughSpace,
                tr("Not enough free space: the archive unpacks to %1 but only %2 are free. "
                   "Nothing was written.")
                    .arg(locale.formattedDataSize(needed), locale.formattedDataSize(available)));
}

Error ArchiveErrors::diskFull(const QString &entry)
{
    if (entry.isEmpty())
        return make(NotEnoughSpace, tr("The disk filled up while unpacking. Nothing was kept; "
                                       "free some space and try again."));
    return make(NotEnoughSpace, tr("The disk filled up while unpacking “%1”. Nothing was kept; "
                                   "free some space and try again.")
                                    .arg(shown(entry)));
}

Error ArchiveErrors::unsupportedEncryption(ArchiveKind kind)
{
    if (kind == ArchiveKind::Zip)
        return make(UnsupportedEncryption, tr("this kind of zip encryption is not supported"));
    return make(UnsupportedEncryption, tr("this kind of RAR encryption is not supported"));
}

Error ArchiveErrors::cancelled()
{
    return make(Cancelled, tr("Cancelled. Nothing was changed."));
}

Error ArchiveErrors::unreadableArchive(const QString &detail)
{
    return make(UnreadableArchive,
                tr("The archive can't be read; it may be damaged or incomplete (%1).").arg(detail));
}

Error ArchiveErrors::entryNotFound(const QString &entry)
{
    return make(UnreadableArchive, tr("The archive has no entry “%1”; it may have changed since "
                                      "it was listed. Open it again.")
                                       .arg(entry));
}

Error ArchiveErrors::missingArchive(const QString &path)
{
    return unreadableArchive(tr("“%1” does not exist").arg(path.section(QLatin1Char('/'), -1)));
}

Error ArchiveErrors::notAFile(const QString &path)
{
    return make(UnreadableArchive,
                tr("“%1” is not a file: a folder, fifo or device is never read as an archive.")
                    .arg(path.section(QLatin1Char('/'), -1)));
}

Error ArchiveErrors::writeFailed(const QString &item, const QString &detail)
{
    return make(WriteFailed, tr("“%1” could not be written: %2.").arg(shown(item), detail));
}

Error ArchiveErrors::invalidZipTarget(const QString &reason)
{
    return make(InvalidZipTarget, reason);
}

Error ArchiveErrors::toolFailed(const QString &tool, const QString &detail)
{
    return make(ToolFailed, tr("The helper program %1 failed: %2").arg(tool, detail));
}

Error ArchiveErrors::unsupportedKind(const QString &path)
{
    return make(UnsupportedKind, tr("“%1” is not an archive of a kind that can be opened.")
                                     .arg(path.section(QLatin1Char('/'), -1)));
}

Error ArchiveErrors::unreadableItem(const QString &item, const QString &reason)
{
    return make(UnreadableItem,
                tr("“%1” can't be packed: %2. No zip was made.").arg(shown(item), reason));
}

Error ArchiveErrors::unreadableItem(const QString &item, int errorNumber)
{
    return unreadableItem(item, QString::fromLocal8Bit(std::strerror(errorNumber)));
}

Error ArchiveErrors::fromErrno(int errorNumber, const QString &entry)
{
    if (errorNumber == ENOSPC || errorNumber == EDQUOT || errorNumber == EFBIG)
        return diskFull(entry);
    return writeFailed(entry, QString::fromLocal8Bit(std::strerror(errorNumber)));
}

Error ArchiveErrors::readFailed(int errorNumber, const QString &item)
{
    return make(WriteFailed, tr("“%1” could not be read: %2.")
                                 .arg(shown(item), QString::fromLocal8Bit(std::strerror(errorNumber))));
}

Error ArchiveErrors::listFailed(int errorNumber, const QString &folder)
{
    return make(WriteFailed, tr("The folder “%1” could not be listed: %2.")
                                 .arg(shown(folder),
                                      QString::fromLocal8Bit(std::strerror(errorNumber))));
}

Error ArchiveErrors::stagingFailed(int errorNumber, const QString &destination)
{
    if (errorNumber == ENOSPC || errorNumber == EDQUOT || errorNumber == EFBIG)
        return diskFull(destination);
    return make(WriteFailed, tr("The private folder for unpacking into “%1” could not be set "
                                "up: %2.")
                                 .arg(shown(destination),
                                      QString::fromLocal8Bit(std::strerror(errorNumber))));
}

Error ArchiveErrors::mergeFailed(int errorNumber)
{
    if (errorNumber == ENOSPC || errorNumber == EDQUOT || errorNumber == EFBIG)
        return diskFull(QString());
    return make(WriteFailed, tr("The unpacked items could not be gone through to move them into "
                                "place: %1.")
                                 .arg(QString::fromLocal8Bit(std::strerror(errorNumber))));
}

Error ArchiveErrors::itemNotMade(int errorNumber, const QString &entry)
{
    if (errorNumber != EINVAL)
        return fromErrno(errorNumber, entry);
    return make(WriteFailed, tr("The archive was not unpacked: the disk does not allow the name "
                                "of its entry “%1” (disks made for Windows refuse ? : * \" < > | "
                                "and names ending in a dot or a space). Nothing was changed; "
                                "unpack onto another disk.")
                                 .arg(shown(entry)));
}

Error ArchiveErrors::itemInTheWay(const QString &entry, const QString &obstacle)
{
    return make(WriteFailed, tr("The archive was not unpacked: its entry “%1” would replace %2 "
                                "of the destination folder. Nothing was changed; move that item "
                                "away or unpack into another folder.")
                                 .arg(shown(entry), obstacle));
}

Error ArchiveErrors::partlyUndone(const Error &cause, const QString &stoppedAt,
                                  const QStringList &items, KeptIn keptIn, const QString &folder)
{
    constexpr int named = 5;
    QStringList quoted;
    for (const auto &item : items.mid(0, named))
        quoted << tr("“%1”").arg(item);
    if (items.size() > named)
        quoted << tr("%n more", nullptr, int(items.size() - named));
    const auto list = QLocale().createSeparatedList(quoted);
    const int count = int(items.size());
    QString message;
    switch (keptIn) {
    case KeptIn::Trash:
        message = tr("The archive was not unpacked: the merge stopped at “%1”, and %n item(s) it "
                     "had already replaced could not be put back: %2. They are in the Trash, in "
                     "the folder “%3”.",
                     nullptr, count);
        break;
    case KeptIn::Destination:
        message = tr("The archive was not unpacked: the merge stopped at “%1”, and %n item(s) it "
                     "had already replaced could not be put back: %2. They are in the folder "
                     "“%3” in the destination.",
                     nullptr, count);
        break;
    case KeptIn::StagingFolder:
        message = tr("The archive was not unpacked: the merge stopped at “%1”, and %n item(s) it "
                     "had already replaced could not be put back: %2. They are in the hidden "
                     "folder “%3”.",
                     nullptr, count);
        break;
    }
    return make(Code(cause.code), message.arg(stoppedAt, list, folder));
}
