#include "ComicCover.h"

#include "ArchiveEntryPicture.h"
#include "ArchiverManager.h"
#include "EntryChecks.h"
#include "ImagingErrors.h"
#include "NameCollation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <optional>

namespace {

// The position of the first picture by name order.
std::optional<qsizetype> firstPicture(const ArchiveEntryList &entries)
{
    const NameCollation &collation = NameCollation::current();
    std::optional<qsizetype> first;
    QByteArray firstKey;
    for (qsizetype position = 0; position < entries.size(); ++position) {
        const ArchiveEntry entry = entries.at(position);
        if (!ArchiveEntryPicture::isPicture(entry) || entry.encrypted ||
            !EntryChecks::safeComponents(entry.path))
            continue;
        const QByteArray key = collation.sortKey(entry.path);
        if (!first || key < firstKey) {
            first = position;
            firstKey = key;
        }
    }
    return first;
}

Error noCoverError(const QString &path)
{
    return Error(ImagingErrors::domain, ImagingErrors::UnreadablePicture,
                 QCoreApplication::translate("ComicCover", "“%1” holds no picture to show.")
                     .arg(QFileInfo(path).fileName()));
}

} // namespace

namespace ComicCover {

bool isComicBook(const QString &extension)
{
    const QString lower = extension.toLower();
    return lower == QLatin1String("cbz") || lower == QLatin1String("cbr");
}

QImage decodeToFit(const QString &path, QSize bounds, Error *error)
{
    Error listingError;
    const ArchiveEntryList entries = ArchiverManager::listEntriesAtPath(path, {}, &listingError);
    const auto cover = firstPicture(entries);
    if (!cover) {
        fail(error, listingError.message.isEmpty() ? noCoverError(path) : listingError);
        return {};
    }
    return ArchiveEntryPicture::decodeToFit(path, entries, *cover, {}, {}, bounds, error);
}

} // namespace ComicCover
