#pragma once

#include "ArchiveProgress.h"

#include <Error.h>
#include <QString>
#include <QStringList>

// Packs files and folders into a new zip through libzip. Entry names: a selected file by its
// own name at the root; the content of a selected folder under the folder's name; an empty
// folder inside a selected folder as a zero-length "<folder>/.DS_Store" so it survives
// unpacking; symbolic links inside folders as links (their targets are not read). With a
// password every entry is AES-256 encrypted.
//
// The archive is written to a temporary file beside the target and renamed over it only
// when complete, so a failure or a cancel leaves whatever was at the target untouched.
//
// Thread-safety: one object per archive, used by one thread.
class ZipWriter {
public:
    ZipWriter(QString targetPath, QString password, ArchiveProgressDelegate *delegate);

    // Adds every item in order, then finishes. Items that no longer exist, and files that
    // can't be read, are left out (as the caller asked for what is there).
    bool write(const QStringList &itemPaths, Error *error);

    // The content of one folder (folderPath), under its own name when keepParentDirectory.
    bool toCreateDir(const QString &folderPath, bool keepParentDirectory, Error *error);

private:
    struct Item {
        QString sourcePath; // empty for the placeholder
        QString entryName;
        bool isLink = false;
    };

    bool checkTarget(const QStringList &itemPaths, Error *error) const;
    void addFile(const QString &path, const QString &entryName);
    void addFolderContent(const QString &folderPath, const QString &entryPrefix);
    bool commit(Error *error);

    QString m_target;
    QString m_password;
    ArchiveProgressDelegate *m_delegate;
    QList<Item> m_items;
};
