#pragma once

#include "FolderHandle.h"

#include <Error.h>
#include <QByteArray>
#include <QString>
#include <vector>

// Moves everything in a source folder into a target folder of the same file system, all or
// nothing. An item missing from the target is renamed in whole (a folder with its content);
// a folder present on both sides is merged; a file replaces a file and a link a link. Any other
// clash (a file or link over a folder, a folder over a file or link) stops the merge. A
// replaced item is first set aside, renamed into `asideFd`, and checked to be what was looked
// at, so a folder swapped in meanwhile is never taken for a file. On any failure every step is
// undone, last first: the target is as it was and the error names the entry and what stood in
// the way. The set-aside items stay in `asideFd` for the caller to remove once it is done.
//
// Every step is relative to descriptors opened from the two roots without following links
// (renameat2 with RENAME_NOREPLACE), so a folder of the target swapped for a link while the
// merge runs can't lead anything out. Memory: a few bytes per item moved or replaced (the
// journal that undoes them), one open listing per level of depth.
//
// Thread-safety: one object, one thread.
class FolderMerge {
public:
    FolderMerge(int sourceFd, int targetFd, int asideFd);
    bool run(Error *error);

private:
    struct Step {
        quint32 folder;     // index in m_folders
        quint32 nameOffset; // in m_names
        bool replaced;      // an item of the target was set aside under the step's number
    };

    bool mergeFolder(int sourceFd, int targetFd, quint32 folder, const QString &relative,
                     Error *error);
    bool mergeItem(int sourceFd, int targetFd, quint32 folder, const char *name,
                   unsigned char type, const QString &relative, Error *error);
    bool replace(int sourceFd, int targetFd, quint32 folder, const char *name,
                 const struct stat &there, const QString &relative, Error *error);
    void record(quint32 folder, const char *name, bool replaced);
    void undo();

    int m_sourceFd;
    int m_targetFd;
    int m_asideFd;
    std::vector<QByteArray> m_folders; // target folders the journal names, relative to the root
    QByteArray m_names;                // the journal's names, each ended by a zero byte
    std::vector<Step> m_steps;
};
