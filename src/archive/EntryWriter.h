#pragma once

#include "ArchiveEntry.h"
#include "FolderHandle.h"

#include <Error.h>
#include <QHash>
#include <QMutex>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

// Writes checked entries into a private staging folder, for the backends that read archives
// in-process. Every name is taken through EntryChecks again, and every item is made relative
// to a descriptor of its folder reached from the root without following any link, so nothing
// can land outside the folder whatever the caller passes or whatever is swapped in meanwhile:
// a link or a file where a folder of the entry's path should be refuses the entry. An item
// already at a name is removed first, never written through (a later entry of the same name
// wins, as in every archiver). Permissions keep the entry's 0777 bits plus owner read and
// write (owner rwx for folders), so the user can always manage what was unpacked; entries
// without a mode get 0644 (files) and 0755 less the umask (folders); set-id bits never reach
// the disk, and no mode is ever applied through a link.
//
// Thread-safety: files may be created and written from several threads at once, each File
// by one thread; links and finishDirectories() are for one thread after the files.
class EntryWriter {
public:
    // Opens `rootPath` once; a root that can't be opened fails every later call.
    explicit EntryWriter(QString rootPath);

    class File {
    public:
        File(File &&other) noexcept = default;
        File &operator=(File &&) = delete;

        bool write(const char *data, qint64 size, Error *error);
        // Moves on to `offset` (not back), leaving a hole: sparse files.
        bool skipTo(qint64 offset, Error *error);
        qint64 position() const { return m_position; }
        // Applies the entry's mode and time and closes; a failed close is a failed write.
        // A hole skipped at the very end still counts: the file gets its full length.
        bool finish(Error *error);

    private:
        friend class EntryWriter;
        File(int fd, ArchiveEntry entry);
        Fd m_fd;
        ArchiveEntry m_entry;
        qint64 m_position = 0;
        qint64 m_written = 0; // end of the data actually written
    };

    std::optional<File> createFile(const ArchiveEntry &entry, Error *error);
    bool makeDirectory(const ArchiveEntry &entry, Error *error);
    bool makeSymbolicLink(const ArchiveEntry &entry, const QString &target, Error *error);
    // A hard link to a regular file written earlier by this writer (entry.linkTarget).
    bool makeHardLink(const ArchiveEntry &entry, Error *error);
    // Gives the folders their recorded modes and times, deepest first (a folder's time
    // would change with every item made in it after).
    void finishDirectories();

    const QString &rootPath() const { return m_root; }

private:
    using SharedFd = std::shared_ptr<const Fd>;
    // Where an entry goes: its folder, open, and its last name.
    struct Place {
        SharedFd folder;
        QByteArray name;
    };
    // A folder entry's recorded mode and time, kept only when it has either.
    struct FolderRecord {
        QByteArray path;
        quint32 mode;
        QDateTime modified;
    };

    std::optional<Place> placeFor(const QString &entryPath, bool createFolders,
                                  Error *error) const;
    SharedFd openFolder(const QByteArray &relative, bool create, const QString &entryName,
                        Error *error) const;
    bool clearItemAt(const Place &place, const QString &entryName, Error *error) const;

    QString m_root;
    Fd m_rootFd;
    mutable QMutex m_foldersMutex;
    // The folders used last, open (entries come folder by folder); a few dozen at most.
    mutable QHash<QByteArray, SharedFd> m_openFolders;
    QMutex m_directoriesMutex;
    std::vector<FolderRecord> m_directories;
};
