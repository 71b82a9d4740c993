#pragma once

#include "ArchiveProgress.h"

#include <Error.h>
#include <QString>
#include <QStringList>

// Packs files and folders into a new zip through libzip. Entry names: a selected file by its
// own name at the root; the content of a selected folder under the folder's name; an empty
// folder inside a selected folder as a zero-length "<folder>/.DS_Store" entry so it survives
// unpacking (a selected folder that is itself empty adds nothing); symbolic links as links
// (their targets are not read). With a password every entry is AES-256 encrypted.
//
// An item that is gone, a file or folder that can't be read, and a fifo, socket or device
// (never opened) fail the whole zip with UnreadableItem naming it. The archive is written to
// a temporary file beside the target and renamed over it only when complete, so a failure or
// a cancel leaves whatever was at the target untouched.
//
// Thread-safety: one object per archive, used by one thread.
class ZipWriter {
public:
    ZipWriter(QString targetPath, QString password, ArchiveProgressDelegate *delegate);

    // Adds every item in order, then finishes.
    bool write(const QStringList &itemPaths, Error *error);

private:
    struct Item {
        QString sourcePath; // empty for the placeholder
        QString entryName;
        bool isLink = false;
    };

    enum class Level { Selected, Inside }; // an item the caller named, or one found inside

    bool checkTarget(const QStringList &itemPaths, Error *error) const;
    bool addItem(const QString &path, const QString &entryName, Level level, Error *error);
    bool addFolderContent(const QString &folderPath, const QString &entryName, Level level,
                          Error *error);
    bool commit(Error *error);

    QString m_target;
    QString m_password;
    ArchiveProgressDelegate *m_delegate;
    QList<Item> m_items;
};
