#pragma once

#include "EntrySelection.h"
#include "ExtractionResult.h"
#include "FolderHandle.h"
#include "MadeFolders.h"

#include <Error.h>
#include <QCoreApplication>
#include <QString>
#include <functional>
#include <optional>
#include <sys/types.h>

// A private folder into which an archive is unpacked before anything reaches the destination,
// always on the destination's own file system so the final moves are renames: a hidden
// ".ombrisk-unpacking-XXXXXX" folder inside the destination when it exists, else beside it (in
// the folder where it is to be made), which is then renamed to the destination. It holds the
// unpacked content (path()), and during a merge the merge's journal, the replaced items set
// aside (under their paths relative to the destination) and what an undo took back out.
//
// Nothing of the user's is ever removed with it. After a complete merge the replaced items
// leave as one folder "Replaced by <archive name>": into the trash, recorded as coming from
// the destination, or into the destination itself when its disk has no usable trash (or are
// removed, when the caller asked for that). Items a failed merge could not put back leave the
// same way. A staging folder is removed only when nothing set aside is left in it; else it
// goes whole to the trash ("Unfinished unpacking of <archive name>"), or stays.
//
// Each staging folder is recorded (ItemRecords) before it is used and the record dropped
// once it is gone; while in use it is held under an exclusive flock. A sweep (at the next
// extraction into the same place, and of every recorded place at the app's start) takes only
// unlocked folders that match their record, left by a process that died: it undoes the merge
// from its journal, putting the originals back, and then ends it as above. A folder that only
// bears the name is the user's and is left alone.
//
// Thread-safety: one object per extraction, used by one thread at a time; the sweeps are
// free functions safe from any thread.
class StagingFolder {
    Q_DECLARE_TR_FUNCTIONS(StagingFolder)

public:
    // Sweeps stale staging folders of the place first. Refuses a destination that exists and
    // is not a folder; makes the destination's parent folders when it does not exist, and
    // takes them away again when the unpacking ends without the destination.
    // `archiveName` names the folders of replaced items ("Replaced by Pack.zip").
    static std::optional<StagingFolder> createFor(const QString &destination,
                                                  const QString &archiveName, Error *error);

    StagingFolder(StagingFolder &&other) noexcept = default;
    StagingFolder &operator=(StagingFolder &&) = delete;
    ~StagingFolder();

    // Where the content goes (the backends and their tools write there).
    const QString &path() const { return m_path; }

    // Free bytes on the file system of the staging folder, which is the destination's.
    qint64 bytesAvailable() const;

    // The checks of StagingScan on the content.
    bool scan(bool linksOnly, Error *error) const;

    // Keeps of the content only the chosen items, each under its target name at the top (the
    // rest is removed): what is moved into the destination is then the selection alone.
    // Fails with UnreadableArchive when a chosen item is not there, WriteFailed for a target
    // name that is not one item name.
    bool keepOnly(const EntrySelection &selection, Error *error);

    // Empties the folder at `path` (a path() of this class) so another reader can start over.
    static bool clear(const QString &path, Error *error);

    // Moves the content into the destination, all or nothing (FolderMerge), or renames it to
    // the destination when there is none yet. A fresh destination gets folderMode(). What
    // becomes of the replaced items is `replaced`'s; `result` (may be null) says how many and
    // where they are. A merge asks `isCancelled` at each item and, cancelled, is undone.
    bool moveIntoDestination(ReplacedItems replaced, const std::function<bool()> &isCancelled,
                             ExtractionResult *result, Error *error);

    // Sweeps the staging folders left by processes that died, at the top level of `folder`.
    static void sweep(const QString &folder);
    // The app's sweep at start: every recorded place (deeper ones too, and those of
    // ombrisk-archive's runs).
    static void sweepRecorded();

private:
    struct Kept;

    StagingFolder() = default;
    bool renameToDestination(ReplacedItems replaced, const std::function<bool()> &isCancelled,
                             ExtractionResult *result, Error *error);
    bool mergeIntoDestination(int destinationFd, const QByteArray &target,
                              ReplacedItems replaced, const std::function<bool()> &isCancelled,
                              ExtractionResult *result, Error *error);
    Kept keepReplaced(int destinationFd) const;
    // The error for a step on the staging folder itself, naming the destination.
    Error stagingFailed(int errorNumber) const;

    QString m_path;
    QString m_destination;
    QString m_archiveName;
    QByteArray m_placePath;
    Fd m_placeFd;        // the destination, or its parent when it does not exist yet
    std::optional<MadeFolders> m_madeParents; // on the way to the parent
    Fd m_rootFd;         // the staging folder, locked
    QByteArray m_rootName;
    bool m_inside = false; // staged inside the destination
    bool m_recorded = false;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};
