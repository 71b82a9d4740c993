#pragma once

#include "FolderHandle.h"
#include "MergeJournal.h"

#include <TreeWalk.h>

#include <Error.h>
#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// Moves everything in a source folder into a target folder of the same file system, all or
// nothing. An item missing from the target is renamed in whole (a folder with its content);
// a folder present on both sides is merged; a file replaces a file and a link a link. Any other
// clash (a file or link over a folder, a folder over a file or link) stops the merge. A file or
// link is swapped with what stands at its name in one step (RENAME_EXCHANGE), which leaves the
// replaced item in the source under its own path, where it is checked: anything but an item of
// the same type is swapped back and stops the merge. The walk removes each source folder it
// leaves empty, so a merge done leaves in the source exactly the replaced items, as they lay
// (replacedInSource()). Where the file system can't swap, a replaced item is set aside
// instead, renamed into the aside folder under the same path, checked to be what was looked
// at (so a folder swapped in meanwhile is never taken for a file), and the new one moved in.
// Every step is recorded in the journal before it is taken.
//
// On any failure every step is undone, last first (undo(), from the journal): the target is as
// it was and the error names the entry and what stood in the way. A replaced item that can't
// be put back (its place was taken, or can't be written) stays in the aside folder, and
// notPutBack() names it; the caller keeps it for the user.
//
// Every step is relative to descriptors opened from the roots without following links
// (renameat2 with RENAME_EXCHANGE or RENAME_NOREPLACE; NoReplaceRename where the file system
// lacks the flag), so a folder of the target swapped for a link while the merge runs can't
// lead anything out. The source is walked with TreeWalk and the target followed down and up
// with it: a few descriptors whatever the depth. Memory: the listings of the folders on the
// way down (their names shared with TreeWalk's); the journal is on disk.
//
// Thread-safety: one object, one thread; undo() keeps no state.
class FolderMerge {
public:
    struct Folders {
        int source;
        int target;
        int aside;  // the replaced items, under their paths relative to the target
        int undone; // where undoing moves the items the merge had moved in
    };

    // `isCancelled` (may be empty) is asked before each item; once true the merge fails with
    // ArchiveErrors::Cancelled and is undone.
    FolderMerge(const Folders &folders, MergeJournal &journal,
                std::function<bool()> isCancelled = {});
    bool run(Error *error);

    // Items of the target that were replaced (files and links; folders merge).
    int replacedCount() const { return m_replaced; }
    // After a merge done: the replaced items lie in the source, not the aside folder.
    bool replacedInSource() const { return m_replacedInSource; }
    // After a failure: where the merge stopped, and the set-aside items (paths relative to the
    // target) that could not be put back.
    const QString &failedAt() const { return m_failedAt; }
    const QList<QByteArray> &notPutBack() const { return m_notPutBack; }

    // Undoes the journal's steps, last first, in `folders`; what was moved in goes to the undone
    // folder (or, swapped, back to the source), what was replaced comes back, from the aside
    // folder or, swapped out, from the source or (the caller may have renamed the source to
    // it) the aside folder. An item moves only when its inode is the one recorded. A swapped-out
    // item that can't be put back is moved to the aside folder. Safe to run again: what is
    // back stays. Returns the replaced items that could not be put back.
    static QList<QByteArray> undo(const std::vector<MergeJournal::Step> &steps,
                                  const Folders &folders);

private:
    class FolderCache;

    bool mergeTree(Error *error);
    // Into the target's folder above the one merged, checked to be the one come down from.
    bool climbTarget();
    TreeWalk::Step mergeItem(int sourceFd, const TreeWalk::Item &item,
                             const QByteArray &itemRelative, FolderCache &asides, Error *error);
    // Records the swap of the item visited (with the ones after it, in a run) unless recorded.
    bool recordSwap(quint64 movedIn, const QByteArray &relative);
    // Nothing when the file system can't swap: the item is then set aside and replaced.
    std::optional<TreeWalk::Step> swapIn(int sourceFd, const char *name, quint64 movedIn,
                                         mode_t type, const QByteArray &relative, Error *error);
    bool replace(int sourceFd, int asideFd, const char *name, quint64 movedIn,
                 const struct stat &there, const QByteArray &relative, Error *error);
    static bool undoSwap(const MergeJournal::Step &step, const Folders &folders, int targetFd,
                         bool movedInStands, FolderCache &sources, FolderCache &asides,
                         const QByteArray &undoneName);

    // A folder of the source being walked: its items in the walk's order, how many were
    // visited, and how many looked at for the journal.
    struct Listing {
        QByteArray relative;
        std::vector<TreeWalk::Item> items;
        size_t next = 0;
        size_t recorded = 0;
    };

    Folders m_folders;
    Fd m_target; // the target's folder matching the source's folder walked
    std::vector<std::pair<dev_t, ino_t>> m_targetsAbove;
    std::vector<Listing> m_listings; // from the source down to the folder walked
    MergeJournal &m_journal;
    std::function<bool()> m_isCancelled;
    int m_replaced = 0;
    bool m_canSwap = true;
    bool m_replacedInSource = false;
    QString m_failedAt;
    QList<QByteArray> m_notPutBack;
};
