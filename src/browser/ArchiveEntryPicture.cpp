#include "ArchiveEntryPicture.h"

#include "ArchiveKind.h"
#include "ArchiverManager.h"
#include "PictureDecoder.h"
#include "Utils.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace ArchiveEntryPicture {

bool readsEntriesAlone(const QString &archivePath)
{
    return ArchiveKinds::kindForPath(archivePath) == ArchiveKind::Zip;
}

bool isPicture(const ArchiveEntry &entry)
{
    return entry.type == ArchiveEntry::Type::File &&
           Utils::isSupportPhotoFileFormat(QFileInfo(entry.path).suffix().toLower());
}

QImage decodeToFit(const QString &archivePath, const ArchiveEntryList &entries,
                   qsizetype position, const QString &password, const QByteArray &nameEncoding,
                   QSize bounds, Error *error)
{
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/ombrisk-entry-XXXXXX"));
    if (!folder.isValid() ||
        !ArchiverManager::readEntriesAtPath(archivePath, entries, {position}, password,
                                            folder.path(), error, nullptr, nameEncoding))
        return {};
    return PictureDecoder::decodeToFit(
        folder.filePath(QFileInfo(entries.at(position).path).fileName()), bounds, error);
}

} // namespace ArchiveEntryPicture
