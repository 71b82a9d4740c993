#include "ArchiveEntryCopy.h"

#include "ArchiverManager.h"
#include "EntryChecks.h"
#include "Utils.h"

#include <FileNameCodec.h>
#include <QDir>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool isPicture(const QString &name)
{
    return Utils::isSupportPhotoFileFormat(QFileInfo(name).suffix().toLower());
}

// The entry of `node`, first, and for a picture the other pictures of its folder that are
// neither encrypted nor hostile, while they fit the budget.
QList<qsizetype> entriesToRead(const ArchiveContents &contents, quint32 node)
{
    const auto &tapped = contents.tree.node(node);
    QList<qsizetype> positions{tapped.entry};
    if (!isPicture(contents.tree.name(node)))
        return positions;
    qint64 total = contents.entries.at(tapped.entry).size;
    for (const auto sibling : contents.tree.children(tapped.parent)) {
        const auto &other = contents.tree.node(sibling);
        if (sibling == node || other.isFolder || other.unsafe || other.entry < 0 ||
            !isPicture(contents.tree.name(sibling)))
            continue;
        const auto entry = contents.entries.at(other.entry);
        if (entry.encrypted || entry.type != ArchiveEntry::Type::File)
            continue;
        total += entry.size;
        if (total > ArchiveEntryCopy::pagedPicturesBudget)
            break;
        positions.append(other.entry);
    }
    return positions;
}

// The copies carry their entries' dates: the sheet shows them, and the preview pages by them.
void datePictures(const ArchiveContents &contents, const QList<qsizetype> &positions,
                  const QString &folder)
{
    for (const auto position : positions) {
        const auto entry = contents.entries.at(position);
        if (!entry.modified.isValid())
            continue;
        const struct timespec times[2] = {{0, UTIME_OMIT}, {entry.modified.toSecsSinceEpoch(), 0}};
        const auto name = EntryChecks::exactName(entry.path).section(u'/', -1);
        ::utimensat(AT_FDCWD, FileNameCodec::encode(folder + u'/' + name).constData(), times, 0);
    }
}

} // namespace

bool ArchiveEntryCopy::read(const ArchiveContents &contents, quint32 node, const QString &password,
                            const QString &folder, ArchiveProgressDelegate *cancel, Error *error)
{
    const QList<qsizetype> positions = entriesToRead(contents, node);
    const bool read =
        QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
        ArchiverManager::readEntriesAtPath(contents.archivePath, contents.entries, positions,
                                           password, folder, error, cancel,
                                           contents.nameEncoding);
    if (read)
        datePictures(contents, positions, folder);
    else if (!error->isSet())
        *error = Error(ArchiveErrors::domain, ArchiveErrors::WriteFailed,
                       tr("No private folder could be made for the entry."));
    return read;
}
