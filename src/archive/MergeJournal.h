#pragma once

#include "FolderHandle.h"

#include <Error.h>
#include <QByteArray>
#include <optional>
#include <vector>

// The journal of one merge (FolderMerge), a file in the staging folder: a record appended
// before each step is taken (alone, or with the records of the steps after it in one write),
// so the steps can be undone, last first, by the same process after a failure or by the sweep
// after the process died. A record may describe a step never taken (the process died between
// the record and the step, or the merge stopped before it); undoing checks each item's inode
// before moving it, so such a record changes nothing.
//
// Format: a header record ("merge 1", then the target's name relative to the folder holding
// the staging folder: empty when that folder is the target), then one record per step: its
// kind, the inode of the item moved into the target, for a replacement the inode of the item
// set aside (a swap needs none: what lies at its path in the source is either the new item or
// the one swapped out), and the item's path relative to the target as bytes (a name that is
// not UTF-8 stays what it is). Every record ends with a NUL, which no path holds; a record the
// process could not finish has none and is left out.
//
// Thread-safety: one object, one thread.
class MergeJournal {
public:
    enum class Kind : char {
        Added = 'A',    // moved into the target where nothing stood
        Replaced = 'R', // the target's item set aside (to the same path below the aside
                        // folder), the new one moved in
        Swapped = 'S',  // the new item swapped with the target's, which is left in the source
                        // at the same path; moved in where nothing stood
    };
    struct Step {
        Kind kind;
        quint64 movedIn;  // inode of the item moved into the target, as its listing gives it
                          // (where that differs from the item's own, undoing leaves the item
                          // in place and the original set aside: kept, never lost)
        quint64 setAside; // inode of the target's item set aside (Replaced only)
        QByteArray path;  // relative to the target
    };
    struct Contents {
        QByteArray target;
        std::vector<Step> steps;
    };

    static constexpr char fileName[] = "journal";

    // Makes the journal in the staging folder `folderFd` for a merge into `target`.
    static std::optional<MergeJournal> create(int folderFd, const QByteArray &target,
                                              Error *error);
    // The journal of the staging folder `folderFd`, if it has one.
    static std::optional<Contents> read(int folderFd);
    // Removes it: the merge is complete and nothing is to be undone.
    static void remove(int folderFd);

    // Appends the records of steps about to be taken, in one write; false with errno set when
    // they could not be written (the steps must then not be taken).
    bool append(const std::vector<Step> &steps);
    bool append(const Step &step) { return append(std::vector<Step>{step}); }
    // What this journal holds so far.
    std::optional<Contents> contents() const;

private:
    explicit MergeJournal(Fd file) : m_file(std::move(file)) {}
    bool write(const QByteArray &records);
    static std::optional<Contents> parse(int fd);

    Fd m_file;
};
