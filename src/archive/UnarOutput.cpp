#include "UnarOutput.h"

#include "ArchiveErrors.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <sys/stat.h>

namespace {

constexpr int firstAesRarVersion = 29;

ArchiveEntry::Type typeOf(const QJsonObject &object, quint32 posix)
{
    const auto flag = [&](const char *key) {
        return object.value(QLatin1String(key)).toInt() != 0;
    };
    if (flag("XADIsDirectory"))
        return ArchiveEntry::Type::Directory;
    if (flag("XADIsHardLink"))
        return ArchiveEntry::Type::HardLink;
    if (flag("XADIsLink"))
        return ArchiveEntry::Type::SymbolicLink;
    if (flag("XADIsCharacterDevice") || flag("XADIsBlockDevice") || flag("XADIsFIFO"))
        return ArchiveEntry::Type::Special;
    const auto type = posix & S_IFMT;
    if (type == S_IFCHR || type == S_IFBLK || type == S_IFIFO || type == S_IFSOCK)
        return ArchiveEntry::Type::Special;
    return ArchiveEntry::Type::File;
}

ArchiveEntry entryFrom(const QJsonObject &object)
{
    ArchiveEntry entry;
    const auto posix = quint32(object.value(QLatin1String("XADPosixPermissions")).toInteger());
    entry.path = object.value(QLatin1String("XADFileName")).toString();
    entry.size = object.value(QLatin1String("XADFileSize")).toInteger();
    entry.packedSize = object.value(QLatin1String("XADCompressedSize")).toInteger(-1);
    entry.type = typeOf(object, posix);
    entry.mode = posix & 07777;
    entry.encrypted = object.value(QLatin1String("XADIsEncrypted")).toInt() != 0;
    entry.linkTarget = object.value(QLatin1String("XADLinkDestination")).toString();
    entry.index = object.value(QLatin1String("XADIndex")).toInteger(-1);
    return entry;
}

} // namespace

UnarOutput::LsarResult UnarOutput::parseListing(const QByteArray &json)
{
    LsarResult result;
    const auto document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return result;
    const auto root = document.object();
    result.parsed = true;
    result.formatName = root.value(QLatin1String("lsarFormatName")).toString();
    result.lsarError = root.value(QLatin1String("lsarError")).toInt();
    const bool rar4 = result.formatName == QLatin1String("RAR");
    for (const auto value : root.value(QLatin1String("lsarContents")).toArray()) {
        const auto object = value.toObject();
        auto entry = entryFrom(object);
        if (rar4 && entry.encrypted &&
            object.value(QLatin1String("RARCompressionVersion")).toInt() >= firstAesRarVersion)
            result.unsupportedEncryption = true;
        result.listing.add(std::move(entry));
    }
    // Encrypted RAR4 headers are always AES; lsar then lists nothing and reports error 2.
    if (rar4 && result.listing.entries.isEmpty() && result.lsarError != 0)
        result.unsupportedEncryption = true;
    return result;
}

QString UnarOutput::entryOfLine(const QString &line)
{
    if (!line.startsWith(QLatin1String("  ")))
        return {};
    const auto sizeStart = line.lastIndexOf(QLatin1String("  ("));
    if (sizeStart < 0)
        return {};
    return line.mid(2, sizeStart - 2);
}

Error UnarOutput::failureFrom(const QString &text, bool passwordGiven,
                              const ArchiveListing &listing)
{
    if (text.contains(QLatin1String("wrong password"), Qt::CaseInsensitive))
        return passwordGiven ? ArchiveErrors::incorrectPassword()
                             : ArchiveErrors::passwordRequired(ArchiveKind::Rar);
    if (text.contains(QLatin1String("requires a password")))
        return ArchiveErrors::passwordRequired(ArchiveKind::Rar);
    if (text.contains(QLatin1String("No space left")))
        return ArchiveErrors::diskFull(QString());
    QSet<QString> encrypted;
    for (const auto &entry : listing.entries)
        if (entry.encrypted)
            encrypted.insert(entry.path);
    const QLatin1String failedMark("... Failed! (");
    QString firstFailure; // "name: reason" of the first entry that failed
    QString message;      // else the tool's own last word
    for (const auto &line : text.split(u'\n')) {
        const auto mark = line.indexOf(failedMark);
        if (mark < 0) {
            // The header and the summary name private paths; they are no detail to show.
            if (!line.trimmed().isEmpty() && !line.startsWith(u' ') &&
                !line.startsWith(QLatin1String("Extraction to directory")) &&
                !line.contains(QLatin1String("archive.rar:")))
                message = line.trimmed();
            continue;
        }
        const auto entry = entryOfLine(line);
        const auto reason = line.mid(mark + failedMark.size()).chopped(1);
        if (reason == QLatin1String("Failed to write to file"))
            return ArchiveErrors::diskFull(entry);
        // The RAR 2.0 cipher has no password check: a wrong password shows only as
        // undecodable data ("Unknown error", "Error on decrunching").
        if (passwordGiven && encrypted.contains(entry))
            return ArchiveErrors::incorrectPassword();
        if (firstFailure.isEmpty())
            firstFailure = QStringLiteral("%1: %2").arg(entry, reason);
    }
    const auto detail = firstFailure.isEmpty() ? message : firstFailure;
    return ArchiveErrors::unreadableArchive(detail.isEmpty() ? QStringLiteral("unar") : detail);
}
