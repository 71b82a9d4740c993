#include "StagingFolder.h"

#include "ArchiveErrors.h"
#include "EntryChecks.h"
#include "FolderMerge.h"
#include "MadeFolders.h"
#include "MergeJournal.h"
#include "ItemRecords.h"
#include "StagingScan.h"

#include <AppDirectories.h>
#include <FileNameCodec.h>
#include <FreeItemName.h>
#include <LocalPaths.h>
#include <NoReplaceRename.h>
#include <QFileInfo>
#include <QRandomGenerator>
#include <Trash.h>
#include <TreeWalk.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr char stagingPrefix[] = ".ombrisk-unpacking-";
constexpr char contentName[] = "content";
constexpr char asideName[] = "set-aside";
constexpr char undoneName[] = "undone";
constexpr char chosenName[] = "chosen";
constexpr char notChosenName[] = "not-chosen";

QByteArray randomStagingName()
{
    static constexpr char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name(stagingPrefix);
    for (int i = 0; i < 6; ++i)
        name.append(letters[QRandomGenerator::system()->bounded(int(sizeof letters - 1))]);
    return name;
}

// Makes and locks a fresh staging folder in `placeFd`. A sweep in another process may take a
// folder between its making and its locking: it is then gone (no links left), and another
// name is tried.
Fd makeLockedFolder(int placeFd, QByteArray *name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = randomStagingName();
        if (::mkdirat(placeFd, name->constData(), 0700) != 0) {
            if (errno == EEXIST)
                continue;
            return Fd();
        }
        auto folder = FolderHandle::openChild(placeFd, name->constData(), O_RDONLY);
        struct stat info {};
        if (folder.isValid() && ::flock(folder.get(), LOCK_EX | LOCK_NB) == 0 &&
            ::fstat(folder.get(), &info) == 0 && info.st_nlink > 0)
            return folder;
    }
    errno = EEXIST;
    return Fd();
}

Fd openFolder(const QByteArray &path)
{
    return Fd(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// Whether anything but folders lies below the folder (the walk failing counts as yes).
bool holdsItems(int folderFd)
{
    bool found = false;
    const bool walked = TreeWalk::run(
        folderFd, {[&](int, const TreeWalk::Item &item, const QByteArray &) {
                       if (item.type == DT_DIR || item.type == DT_UNKNOWN)
                           return TreeWalk::Step::Enter;
                       found = true;
                       return TreeWalk::Step::Stop;
                   },
                   {},
                   [&](const QByteArray &) { // no folder, or one that can't be read
                       found = true;
                       return false;
                   }});
    return found || !walked;
}

bool setAsideHoldsItems(int rootFd)
{
    const auto aside = FolderHandle::openChild(rootFd, asideName, O_RDONLY);
    return aside.isValid() ? holdsItems(aside.get()) : errno != ENOENT;
}

// Ends a staging folder no process works in any more (this one's at its end, or one left by a
// process that died): undoes what its journal says was begun and not completed, then removes
// it; when something set aside is still in it, moves it whole to the trash instead, or, with
// no usable trash, leaves it. True when it is gone from the place.
bool endStaging(int placeFd, const QByteArray &placePath, const QByteArray &name, int rootFd,
                const QString &archiveName)
{
    if (const auto journal = MergeJournal::read(rootFd)) {
        const auto target = FolderHandle::openBeneath(placeFd, journal->target, false, O_PATH);
        const auto content = FolderHandle::openChild(rootFd, contentName, O_PATH);
        const auto aside = FolderHandle::openChild(rootFd, asideName, O_PATH);
        ::mkdirat(rootFd, undoneName, 0700);
        const auto undone = FolderHandle::openChild(rootFd, undoneName, O_PATH);
        if (target.isValid() && content.isValid() && aside.isValid() && undone.isValid())
            FolderMerge::undo(journal->steps,
                              {content.get(), target.get(), aside.get(), undone.get()});
    }
    if (!setAsideHoldsItems(rootFd)) {
        MergeJournal::remove(rootFd);
        FolderHandle::removeContents(rootFd);
        return ::unlinkat(placeFd, name.constData(), AT_REMOVEDIR) == 0;
    }
    const auto keptName = archiveName.isEmpty()
                              ? StagingFolder::tr("Unfinished unpacking")
                              : StagingFolder::tr("Unfinished unpacking of %1").arg(archiveName);
    return bool(Trash::moveToTrash(placeFd, name,
                                   FileNameCodec::decode(joined(placePath, FileNameCodec::encode(keptName))),
                                   nullptr));
}

// The staging folder `name` of the place, when it is one this user's process made and no
// process holds any more: ended, and its record dropped once it is gone.
void sweepItem(int placeFd, const QByteArray &placePath, const char *name)
{
    if (std::strncmp(name, stagingPrefix, sizeof stagingPrefix - 1) != 0)
        return;
    const auto folder = FolderHandle::openChild(placeFd, name, O_RDONLY);
    struct stat info {};
    if (!folder.isValid() || ::fstat(folder.get(), &info) != 0)
        return; // a link of that name is not ours
    const auto record =
        ItemRecords::find(ItemRecords::Book::Unpacking, info.st_dev, info.st_ino);
    if (!record || record->name != name || record->owner != info.st_uid ||
        info.st_uid != ::geteuid())
        return; // only bears the name: the user's
    if (::flock(folder.get(), LOCK_EX | LOCK_NB) != 0)
        return; // in use
    if (endStaging(placeFd, placePath, name, folder.get(),
                   QString::fromUtf8(record->archiveName)))
        ItemRecords::drop(ItemRecords::Book::Unpacking, info.st_dev, info.st_ino);
}

void sweepPlace(int placeFd, const QByteArray &placePath)
{
    FolderHandle::forEachItem(placeFd, [&](const dirent &item) {
        sweepItem(placeFd, placePath, item.d_name);
        return true;
    });
}

} // namespace

struct StagingFolder::Kept {
    ArchiveErrors::KeptIn in;
    QString folder;
    std::optional<TrashEntry> entry;
};

std::optional<StagingFolder> StagingFolder::createFor(const QString &destination,
                                                      const QString &archiveName, Error *error)
{
    StagingFolder staging;
    staging.m_destination = LocalPaths::absolute(destination);
    staging.m_archiveName = archiveName;
    const auto parent = LocalPaths::parent(staging.m_destination);
    // The destination itself is the user's choice and may be reached through a link; nothing
    // below it is.
    staging.m_placeFd = openFolder(FileNameCodec::encode(staging.m_destination));
    staging.m_inside = staging.m_placeFd.isValid();
    if (!staging.m_inside) {
        if (struct stat info {};
            ::lstat(FileNameCodec::encode(staging.m_destination).constData(), &info) == 0) {
            fail(error, ArchiveErrors::writeFailed(
                            QFileInfo(staging.m_destination).fileName(),
                            ArchiveErrors::tr("a file of that name is in the way of the "
                                              "destination folder")));
            return std::nullopt;
        }
        staging.m_madeParents =
            MadeFolders::make(FileNameCodec::encode(parent), &staging.m_placeFd, error);
        if (!staging.m_madeParents)
            return std::nullopt;
    }
    const auto place = staging.m_inside ? staging.m_destination : parent;
    staging.m_placePath = FileNameCodec::encode(place);
    if (!staging.m_placeFd.isValid()) {
        fail(error, ArchiveErrors::fromErrno(errno, place));
        return std::nullopt;
    }
    sweepPlace(staging.m_placeFd.get(), staging.m_placePath);
    staging.m_rootFd = makeLockedFolder(staging.m_placeFd.get(), &staging.m_rootName);
    struct stat info {};
    if (!staging.m_rootFd.isValid() || ::fstat(staging.m_rootFd.get(), &info) != 0) {
        fail(error, ArchiveErrors::fromErrno(errno, place));
        return std::nullopt;
    }
    staging.m_device = info.st_dev;
    staging.m_inode = info.st_ino;
    staging.m_recorded =
        ItemRecords::add(ItemRecords::Book::Unpacking,
                         {info.st_dev, info.st_ino, info.st_uid, staging.m_placePath,
                          staging.m_rootName, archiveName.toUtf8()});
    if (!staging.m_recorded) // unpacking goes on; only a crash would leave the folder unswept
        qWarning("Ombrisk: no record of the staging folder %s could be written in %s: %s",
                 staging.m_rootName.constData(), qPrintable(AppDirectories::stateDirectory()),
                 std::strerror(errno));
    for (const char *sub : {contentName, asideName, undoneName})
        if (::mkdirat(staging.m_rootFd.get(), sub, 0700) != 0) {
            fail(error, ArchiveErrors::fromErrno(errno, place));
            return std::nullopt;
        }
    staging.m_path = place + u'/' + FileNameCodec::decode(staging.m_rootName) + u'/' +
                     QLatin1String(contentName);
    return staging;
}

StagingFolder::~StagingFolder()
{
    if (m_rootFd.isValid()) {
        const bool gone =
            endStaging(m_placeFd.get(), m_placePath, m_rootName, m_rootFd.get(), m_archiveName);
        if (gone && m_recorded)
            ItemRecords::drop(ItemRecords::Book::Unpacking, m_device, m_inode);
    }
    // After a failure they hold nothing; after a success, the destination.
    if (m_madeParents)
        m_madeParents->removeEmpty();
}

qint64 StagingFolder::bytesAvailable() const
{
    struct statvfs info {};
    if (::fstatvfs(m_rootFd.get(), &info) != 0)
        return 0;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

bool StagingFolder::scan(bool linksOnly, Error *error) const
{
    return StagingScan(m_path, linksOnly).run(error);
}

Error StagingFolder::stagingFailed(int errorNumber) const
{
    return ArchiveErrors::stagingFailed(errorNumber, QFileInfo(m_destination).fileName());
}

bool StagingFolder::keepOnly(const EntrySelection &selection, Error *error)
{
    const auto root = m_rootFd.get();
    if (::mkdirat(root, chosenName, 0700) != 0)
        return fail(error, stagingFailed(errno));
    const auto content = FolderHandle::openChild(root, contentName, O_PATH);
    const auto chosen = FolderHandle::openChild(root, chosenName, O_PATH);
    if (!content.isValid() || !chosen.isValid())
        return fail(error, stagingFailed(errno));
    for (const auto &item : selection.items) {
        const auto target = EntryChecks::safeComponents(item.targetName);
        if (!target || *target != QStringList{item.targetName})
            return fail(error, ArchiveErrors::writeFailed(item.targetName,
                                                          tr("it is not a single item name")));
        const auto exact = EntryChecks::exactName(item.path);
        const auto cut = exact.lastIndexOf(u'/');
        const auto folder = FolderHandle::openBeneath(
            content.get(), FileNameCodec::encode(exact.left(std::max<qsizetype>(cut, 0))), false,
            O_PATH);
        if (exact.isEmpty() || !folder.isValid())
            return fail(error, ArchiveErrors::entryNotFound(item.path));
        if (::renameat2(folder.get(), FileNameCodec::encode(exact.mid(cut + 1)).constData(),
                        chosen.get(), FileNameCodec::encode(item.targetName).constData(),
                        RENAME_NOREPLACE) != 0)
            return fail(error, errno == ENOENT ? ArchiveErrors::entryNotFound(item.path)
                                               : ArchiveErrors::fromErrno(errno, item.path));
    }
    if (::renameat2(root, contentName, root, notChosenName, RENAME_NOREPLACE) != 0 ||
        ::renameat2(root, chosenName, root, contentName, RENAME_NOREPLACE) != 0)
        return fail(error, stagingFailed(errno));
    FolderHandle::removeTree(root, notChosenName); // what is left is the archive's alone
    return true;
}

bool StagingFolder::clear(const QString &path, Error *error)
{
    const auto folder = openFolder(FileNameCodec::encode(path));
    if (!folder.isValid() || !FolderHandle::removeContents(folder.get()))
        return fail(error, ArchiveErrors::fromErrno(errno, QFileInfo(path).fileName()));
    return true;
}

bool StagingFolder::moveIntoDestination(ReplacedItems replaced,
                                        const std::function<bool()> &isCancelled,
                                        ExtractionResult *result, Error *error)
{
    if (m_inside)
        return mergeIntoDestination(m_placeFd.get(), QByteArray(), replaced, isCancelled, result,
                                    error);
    return renameToDestination(replaced, isCancelled, result, error);
}

bool StagingFolder::renameToDestination(ReplacedItems replaced,
                                        const std::function<bool()> &isCancelled,
                                        ExtractionResult *result, Error *error)
{
    const auto name = FileNameCodec::encode(QFileInfo(m_destination).fileName());
    const auto content = FolderHandle::openChild(m_rootFd.get(), contentName, O_RDONLY);
    if (!content.isValid())
        return fail(error, stagingFailed(errno));
    if (NoReplaceRename::move(m_rootFd.get(), contentName, m_placeFd.get(), name.constData())) {
        ::fchmod(content.get(), FolderHandle::folderMode()); // it was private (0700)
        return true;
    }
    if (errno != EEXIST)
        return fail(error, ArchiveErrors::fromErrno(errno, QFileInfo(m_destination).fileName()));
    // Made by someone else meanwhile: merged into like any existing destination.
    const auto destination = FolderHandle::openChild(m_placeFd.get(), name.constData(), O_PATH);
    if (!destination.isValid())
        return fail(error, ArchiveErrors::writeFailed(
                               QFileInfo(m_destination).fileName(),
                               ArchiveErrors::tr("a file of that name is in the way of the "
                                                 "destination folder")));
    return mergeIntoDestination(destination.get(), name, replaced, isCancelled, result, error);
}

bool StagingFolder::mergeIntoDestination(int destinationFd, const QByteArray &target,
                                         ReplacedItems replaced,
                                         const std::function<bool()> &isCancelled,
                                         ExtractionResult *result, Error *error)
{
    const auto content = FolderHandle::openChild(m_rootFd.get(), contentName, O_RDONLY);
    const auto aside = FolderHandle::openChild(m_rootFd.get(), asideName, O_PATH);
    const auto undone = FolderHandle::openChild(m_rootFd.get(), undoneName, O_PATH);
    if (!content.isValid() || !aside.isValid() || !undone.isValid())
        return fail(error, stagingFailed(errno));
    auto journal = MergeJournal::create(m_rootFd.get(), target, error);
    if (!journal)
        return false;
    FolderMerge merge({content.get(), destinationFd, aside.get(), undone.get()}, *journal,
                      isCancelled);
    Error mergeError;
    const bool merged = merge.run(&mergeError);
    // Swapped out, the replaced items lie in the content folder, which becomes the set-aside
    // folder (and the empty set-aside folder the content) in one step while the journal still
    // stands: a crash on either side of it is undone from the journal. Failing, the journal
    // is kept for this staging folder's end to undo.
    if (merged && merge.replacedInSource() &&
        ::renameat2(m_rootFd.get(), contentName, m_rootFd.get(), asideName, RENAME_EXCHANGE) != 0)
        return fail(error, stagingFailed(errno));
    // Done, or undone as far as it goes: nothing is left for a sweep to undo.
    MergeJournal::remove(m_rootFd.get());
    if (!merged) {
        if (merge.notPutBack().isEmpty())
            return fail(error, mergeError);
        QStringList items;
        for (const auto &path : merge.notPutBack())
            items << FileNameCodec::decode(path);
        const auto kept = keepReplaced(destinationFd);
        return fail(error, ArchiveErrors::partlyUndone(mergeError, merge.failedAt(), items,
                                                       kept.in, kept.folder));
    }
    if (result)
        result->replacedCount = merge.replacedCount();
    if (merge.replacedCount() == 0)
        return true;
    if (replaced == ReplacedItems::Delete) {
        FolderHandle::removeTree(m_rootFd.get(), asideName);
        return true;
    }
    const auto kept = keepReplaced(destinationFd);
    if (result) {
        result->replacedInTrash = kept.entry;
        result->replacedFolder = kept.in == ArchiveErrors::KeptIn::Destination ? kept.folder
                                                                                : QString();
    }
    return true;
}

// The set-aside folder leaves the staging folder as one item named "Replaced by <archive>":
// into the trash, recorded as from the destination (a restore puts it there), else into the
// destination under a free name; failing both it stays, and with it the staging folder.
StagingFolder::Kept StagingFolder::keepReplaced(int destinationFd) const
{
    if (const auto aside = FolderHandle::openChild(m_rootFd.get(), asideName, O_RDONLY);
        aside.isValid())
        ::fchmod(aside.get(), FolderHandle::folderMode()); // it was private (0700)
    const auto name = tr("Replaced by %1").arg(m_archiveName);
    if (auto entry = Trash::moveToTrash(m_rootFd.get(), asideName, m_destination + u'/' + name,
                                        nullptr))
        return {ArchiveErrors::KeptIn::Trash, name, std::move(entry)};
    for (int attempt = 0; attempt < 5; ++attempt) {
        const auto free = FreeItemName::in(m_destination, name);
        if (NoReplaceRename::move(m_rootFd.get(), asideName, destinationFd,
                                  FileNameCodec::encode(free).constData()))
            return {ArchiveErrors::KeptIn::Destination, m_destination + u'/' + free, {}};
        if (errno != EEXIST)
            break;
    }
    return {ArchiveErrors::KeptIn::StagingFolder,
            FileNameCodec::decode(joined(joined(m_placePath, m_rootName), asideName)), {}};
}

void StagingFolder::sweep(const QString &folder)
{
    const auto path = FileNameCodec::encode(QFileInfo(folder).absoluteFilePath());
    if (const auto place = openFolder(path); place.isValid())
        sweepPlace(place.get(), path);
}

void StagingFolder::sweepRecorded()
{
    for (const auto &record : ItemRecords::all(ItemRecords::Book::Unpacking)) {
        if (record.owner != ::geteuid())
            continue;
        const auto place = openFolder(record.place);
        struct stat placeInfo {};
        if (!place.isValid() || ::fstat(place.get(), &placeInfo) != 0)
            continue; // a disk that is not there now: kept for when it is
        struct stat info {};
        const bool there = ::fstatat(place.get(), record.name.constData(), &info,
                                     AT_SYMLINK_NOFOLLOW) == 0 &&
                           info.st_dev == record.device && info.st_ino == record.inode;
        if (there)
            sweepItem(place.get(), record.place, record.name.constData());
        else if (placeInfo.st_dev == record.device)
            ItemRecords::drop(ItemRecords::Book::Unpacking, record.device, record.inode); // gone
    }
}
