#pragma once

#include "ArchiveEntry.h"
#include "ArchiveTree.h"
#include "KPDocumentPickerItem.h"

#include <Error.h>
#include <QByteArray>
#include <QString>
#include <memory>

class ArchiveProgressDelegate;

// One archive opened for looking inside: its listing (the engine's compact form) and the tree
// of its folders, made once, with the password and name encoding they were made with. The
// screens of one archive share it and page through it level by level.
//
// Thread-safety: made on a worker, then never changed: any thread may read it.
class ArchiveContents {
public:
    QString archivePath;
    QString password;
    QByteArray nameEncoding;
    ArchiveEntryList entries;
    ArchiveTree tree;

    // Lists the archive and builds its tree; fails as ArchiverManager::listEntriesAtPath does
    // (PasswordRequired when the list itself is encrypted). Slow for large archives: a worker's.
    static std::shared_ptr<const ArchiveContents> load(const QString &archivePath,
                                                       const QString &password,
                                                       const QByteArray &nameEncoding, Error *error,
                                                       ArchiveProgressDelegate *delegate = nullptr);

    // The folder at `pickerPath` ("/" the top, "/a/b" by the names shown), if there is one.
    std::optional<quint32> folderAt(const QString &pickerPath) const;
    // The rows of a folder: names as shown, sizes and dates of the entries, folders of size 0;
    // `itemType` holds the tree node. A worker's for large folders.
    KPDocumentPickerItems itemsOf(quint32 folder) const;
    // The entry of a file row, or -1.
    qint64 entryOf(const KPDocumentPickerItemPtr &item) const;
};
