#pragma once

#include "FolderHandle.h"

#include <Error.h>
#include <QString>
#include <optional>

// A private folder into which an archive is unpacked before anything reaches the destination,
// always on the destination's own file system so the final moves are renames: a hidden
// ".ombrisk-unpacking-XXXXXX" folder inside the destination when it exists, else beside it (in
// the folder where it is to be made), which is then renamed to the destination. It holds the
// unpacked content (path()) and, during the merge, the replaced items set aside; all of it is
// removed on destruction. While in use it is held under an exclusive flock, so a sweep (at the
// next extraction into the same place, or at the app's start) removes only those a process
// left behind when it died.
//
// Thread-safety: one object per extraction, used by one thread at a time; the sweeps are
// free functions safe from any thread.
class StagingFolder {
public:
    // Sweeps stale staging folders of the place first. Refuses a destination that exists and
    // is not a folder; makes the destination's parent folders when it does not exist.
    static std::optional<StagingFolder> createFor(const QString &destination, Error *error);

    StagingFolder(StagingFolder &&other) noexcept = default;
    StagingFolder &operator=(StagingFolder &&) = delete;
    ~StagingFolder();

    // Where the content goes (the backends and their tools write there).
    const QString &path() const { return m_path; }

    // Free bytes on the file system of the staging folder, which is the destination's.
    qint64 bytesAvailable() const;

    // The checks of StagingScan on the content.
    bool scan(bool linksOnly, Error *error) const;

    // Empties the folder at `path` (a path() of this class) so another reader can start over.
    static bool clear(const QString &path, Error *error);

    // Moves the content into the destination, all or nothing (FolderMerge), or renames it to
    // the destination when there is none yet. A fresh destination gets folderMode().
    bool moveIntoDestination(Error *error);

    // Removes the staging folders no live process holds, at the top level of `folder`.
    static void sweep(const QString &folder);
    // The app's sweep at start: `home` and each folder at its top level, the places where the
    // engine stages for destinations made at the top of the home folder (deeper places are
    // swept by the next extraction there; a walk of the whole tree would cost too much).
    static void sweepHome(const QString &home);

private:
    StagingFolder() = default;
    bool renameToDestination(Error *error);
    bool mergeIntoDestination(int destinationFd, Error *error);

    QString m_path;
    QString m_destination;
    Fd m_placeFd;        // the destination, or its parent when it does not exist yet
    Fd m_rootFd;         // the staging folder, locked
    QByteArray m_rootName;
    bool m_inside = false; // staged inside the destination
};
