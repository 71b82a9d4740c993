#include "SevenZipOutput.h"

#include "ArchiveErrors.h"
#include "EntryChecks.h"

#include <QStringList>
#include <QStringTokenizer>
#include <optional>

namespace {

quint32 permissionBits(QStringView rwx)
{
    quint32 mode = 0;
    const auto bit = [&](int i, char c, quint32 value) {
        if (rwx.at(i) == QLatin1Char(c))
            mode |= value;
    };
    bit(0, 'r', 0400), bit(1, 'w', 0200), bit(3, 'r', 040), bit(4, 'w', 020);
    bit(6, 'r', 04), bit(7, 'w', 02);
    const auto execute = [&](int i, quint32 x, quint32 special, char setX, char setNoX) {
        const auto c = rwx.at(i).toLatin1();
        if (c == 'x' || c == setX)
            mode |= x;
        if (c == setX || c == setNoX)
            mode |= special;
    };
    execute(2, 0100, 04000, 's', 'S');
    execute(5, 010, 02000, 's', 'S');
    execute(8, 01, 01000, 't', 'T');
    return mode;
}

// Empty where 7zz can't tell (entries after the first of a solid block): unknown, not 0.
qint64 packedSize(QStringView value)
{
    bool ok = false;
    const auto bytes = value.toLongLong(&ok);
    return ok ? bytes : -1;
}

void applyField(QStringView key, QStringView value, ArchiveEntry *entry)
{
    if (key == QLatin1String("Path"))
        entry->path = value.toString();
    else if (key == QLatin1String("Size"))
        entry->size = value.toLongLong();
    else if (key == QLatin1String("Packed Size"))
        entry->packedSize = packedSize(value);
    else if (key == QLatin1String("Attributes"))
        SevenZipOutput::applyAttributes(value, entry);
    else if (key == QLatin1String("Folder") && value == QLatin1String("+"))
        entry->type = ArchiveEntry::Type::Directory;
    else if (key == QLatin1String("Encrypted"))
        entry->encrypted = value == QLatin1String("+");
    else if (key == QLatin1String("Symbolic Link") && !value.isEmpty()) {
        entry->type = ArchiveEntry::Type::SymbolicLink;
        entry->linkTarget = value.toString();
    } else if (key == QLatin1String("Hard Link") && !value.isEmpty()) {
        entry->type = ArchiveEntry::Type::HardLink;
        entry->linkTarget = value.toString();
    }
}

} // namespace

void SevenZipOutput::applyAttributes(QStringView attributes, ArchiveEntry *entry)
{
    const auto tokens = attributes.split(u' ', Qt::SkipEmptyParts);
    if (tokens.isEmpty())
        return;
    if (tokens.first().contains(u'D'))
        entry->type = ArchiveEntry::Type::Directory;
    const auto &unix = tokens.last();
    if (tokens.size() < 2 || unix.size() != 10)
        return;
    entry->mode = permissionBits(unix.mid(1));
    switch (unix.at(0).toLatin1()) {
    case 'd':
        entry->type = ArchiveEntry::Type::Directory;
        break;
    case 'l':
        entry->type = ArchiveEntry::Type::SymbolicLink;
        break;
    case 'c':
    case 'b':
    case 'p':
    case 's':
        entry->type = ArchiveEntry::Type::Special;
        break;
    default:
        break;
    }
}

ArchiveListing SevenZipOutput::parseTechnicalListing(const QString &text)
{
    ArchiveListing listing;
    // Each entry is held until the next is read: 7zz gives the first entry of a solid block
    // the packed size of the whole block and the others none, so once a second entry shares
    // its block, the first can't tell its own either.
    std::optional<ArchiveEntry> held;
    QString heldBlock;
    ArchiveEntry entry;
    QString block;
    bool inEntry = false;
    qint64 count = 0;
    const auto addHeld = [&] {
        if (held)
            listing.add(std::move(*held));
        held.reset();
    };
    const auto finishEntry = [&] {
        if (inEntry) {
            if (held && !block.isEmpty() && block == heldBlock)
                held->packedSize = -1;
            addHeld();
            entry.index = count++;
            held = std::move(entry);
            heldBlock = block;
        }
        entry = ArchiveEntry();
        block.clear();
        inEntry = false;
    };
    // Views into the text: a listing of thousands of entries is tens of thousands of lines.
    for (const auto line : QStringTokenizer(text, u'\n')) {
        if (line.trimmed().isEmpty()) {
            finishEntry();
            continue;
        }
        const auto equals = line.indexOf(QLatin1String(" = "));
        if (equals < 0)
            continue;
        const auto key = line.left(equals).trimmed();
        if (key == QLatin1String("Path")) {
            finishEntry();
            inEntry = true;
        }
        if (!inEntry)
            continue;
        if (key == QLatin1String("Block"))
            block = line.mid(equals + 3).toString();
        else
            applyField(key, line.mid(equals + 3), &entry);
    }
    finishEntry();
    addHeld();
    return listing;
}

std::optional<SevenZipOutput::ProgressLine> SevenZipOutput::parseProgressLine(const QString &line)
{
    auto rest = line.trimmed();
    ProgressLine parsed;
    const auto percent = rest.indexOf(u'%');
    if (percent > 0) {
        bool ok = false;
        const int value = rest.left(percent).toInt(&ok);
        if (!ok)
            return std::nullopt;
        parsed.percent = value;
        rest = rest.mid(percent + 1).trimmed();
        const auto space = rest.indexOf(u' ');
        const auto count = rest.left(space < 0 ? rest.size() : space).toInt(&ok);
        if (ok) {
            parsed.filesDone = count;
            rest = space < 0 ? QString() : rest.mid(space + 1).trimmed();
        }
    }
    if (rest.startsWith(QLatin1String("- ")))
        parsed.entry = rest.mid(2);
    else if (!rest.isEmpty() || !parsed.percent)
        return std::nullopt;
    return parsed;
}

bool SevenZipOutput::askedForPassword(const QString &text)
{
    return text.contains(QLatin1String("Enter password"));
}

namespace {

// 7zz refuses a link pointing out by itself ("ERROR: Dangerous link path was ignored : NAME :
// TARGET"); where it alone can read the targets (encrypted archives) that is the refusal.
std::optional<Error> dangerousLink(const QString &line)
{
    const QLatin1String marker("Dangerous link path was ignored : ");
    const auto at = line.indexOf(marker);
    if (at < 0)
        return std::nullopt;
    const auto rest = line.mid(at + marker.size());
    const auto entry = rest.section(QLatin1String(" : "), 0, 0);
    auto reason = EntryChecks::linkTargetProblem(entry, rest.section(QLatin1String(" : "), 1));
    if (reason.isEmpty())
        reason = ArchiveErrors::tr("is a link pointing out of the destination folder");
    return ArchiveErrors::unsafeEntry(entry, reason);
}

} // namespace

Error SevenZipOutput::failureFrom(const QString &text, bool passwordGiven,
                                  const QString &outputFolder)
{
    if (text.contains(QLatin1String("Wrong password")))
        return passwordGiven ? ArchiveErrors::incorrectPassword()
                             : ArchiveErrors::passwordRequired(ArchiveKind::SevenZip);
    if (!passwordGiven && askedForPassword(text))
        return ArchiveErrors::passwordRequired(ArchiveKind::SevenZip);
    if (text.contains(QLatin1String("No space left")) ||
        text.contains(QLatin1String("not enough space")) ||
        text.contains(QLatin1String("File too large")))
        return ArchiveErrors::diskFull(QString());
    QString detail;
    for (const auto &line : text.split(u'\n')) {
        const auto trimmed = line.trimmed();
        if (const auto unsafe = dangerousLink(trimmed))
            return *unsafe;
        if (trimmed.contains(QLatin1String("Cannot open output file"))) {
            auto item = trimmed.section(QLatin1String(" : "), -1);
            if (!outputFolder.isEmpty() && item.startsWith(outputFolder + u'/'))
                item.remove(0, outputFolder.size() + 1);
            return ArchiveErrors::writeFailed(item, trimmed.section(QLatin1String(" : "), -2, -2));
        }
        if (trimmed.startsWith(QLatin1String("ERROR:")) || trimmed.contains(QLatin1String("Error")))
            detail = trimmed;
    }
    return ArchiveErrors::unreadableArchive(detail.isEmpty() ? QStringLiteral("7zz") : detail);
}
