#pragma once

#include "ArchiveProgress.h"
#include "ZipTarget.h"

#include <Error.h>
#include <QString>
#include <QStringList>

// Packs files and folders into a new zip through libzip. Entry names: a selected file by its
// own name at the root; the content of a selected folder under the folder's name; an empty
// folder inside a selected folder as a zero-length "<folder>/.DS_Store" entry so it survives
// unpacking (a selected folder that is itself empty adds nothing). Names keep their bytes
// (FileNameCodec). With a password every entry is AES-256 encrypted.
//
// Symbolic links whose target is among the packed items are kept as links (their text
// unchanged). A link pointing anywhere else (an absolute path, a sibling not packed, a climb
// out) would unpack dangling or be refused as unsafe, so it is stored as the file it points to;
// a link to a folder, or to nothing, outside the packed items fails the zip naming it.
//
// An item that is gone, a file or folder that can't be read, and a fifo, socket or device
// (never opened) fail the whole zip with UnreadableItem naming it. The archive is written as
// ZipTarget says: whole or not at all, never over an item unless asked to.
//
// Thread-safety: one object per archive, used by one thread.
class ZipWriter {
public:
    ZipWriter(QString targetPath, QString password, ZipTarget::Existing existing,
              ArchiveProgressDelegate *delegate);

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
    bool addLink(const QString &path, const QString &entryName, Error *error);
    bool addFolderContent(const QString &folderPath, const QString &entryName, Level level,
                          Error *error);
    bool isPacked(const QString &canonicalPath) const;
    bool commit(Error *error);

    ZipTarget m_target;
    QString m_password;
    ProgressReporter m_progress;
    QList<Item> m_items;
    QStringList m_packedRoots; // each selected item's path, its folder's links resolved
};
