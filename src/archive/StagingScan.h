#pragma once

#include "FolderHandle.h"

#include <Error.h>
#include <QHash>
#include <QPair>
#include <QString>

// The checks made on a staging folder after something wrote into it: no link pointing out of
// it (its real target, through other links, or its text when dangling), no device, fifo or
// socket, no set-id bits, no file hard-linked to one outside. Also gives the owner rw on files
// and rwx on folders (never through a link) so the result can be merged and managed. With
// `linksOnly`, for what the engine wrote itself (each entry checked as it was written), only
// links are looked at: a chain of links can still lead out.
//
// Streams: two descriptors whatever the depth (TreeWalk), nothing kept per item but the names
// of the folders on the way down and the hard-link counts of files with more than one name.
// Thread-safety: one object, one thread.
class StagingScan {
public:
    StagingScan(const QString &rootPath, bool linksOnly);
    bool run(Error *error);

private:
    struct LinkCount {
        nlink_t links = 0;
        nlink_t seen = 0;
        QString name;
    };

    // The item's checks; `isFolder` says whether the walk goes into it.
    bool check(int folderFd, const char *name, const QString &relative, bool *isFolder,
               Error *error);
    bool checkLink(int folderFd, const char *name, const QString &relative, Error *error);

    QString m_root;
    QString m_canonicalRoot;
    bool m_linksOnly;
    QHash<QPair<quint64, quint64>, LinkCount> m_linkCounts;
};
