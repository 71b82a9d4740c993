#pragma once

#include "ArchiveEntry.h"

#include <Error.h>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <optional>

// Writes checked entries into a private staging folder, for the backends that read archives
// in-process. Every name is taken through EntryChecks again, so nothing can land outside the
// folder whatever the caller passes. An item already at a name is removed first, never written
// through (a later entry of the same name wins, as in every archiver). Permissions keep the
// entry's 0777 bits plus owner read and write (owner rwx for folders), so the user can always
// manage what was unpacked; set-id bits never reach the disk.
//
// Thread-safety: files may be created and written from several threads at once, each File
// by one thread; links and finishDirectories() are for one thread after the files.
class EntryWriter {
public:
    explicit EntryWriter(QString rootPath);

    class File {
    public:
        File(File &&other) noexcept;
        File &operator=(File &&) = delete;
        ~File();

        bool write(const char *data, qint64 size, Error *error);
        // Applies the entry's mode and time and closes; a failed close is a failed write.
        bool finish(Error *error);

    private:
        friend class EntryWriter;
        File(int fd, ArchiveEntry entry);
        int m_fd;
        ArchiveEntry m_entry;
    };

    std::optional<File> createFile(const ArchiveEntry &entry, Error *error);
    bool makeDirectory(const ArchiveEntry &entry, Error *error);
    bool makeSymbolicLink(const ArchiveEntry &entry, const QString &target, Error *error);
    // A hard link to a regular file written earlier by this writer (entry.linkTarget).
    bool makeHardLink(const ArchiveEntry &entry, Error *error);
    // Gives the folders their recorded modes and times, deepest first.
    void finishDirectories();

    const QString &rootPath() const { return m_root; }

private:
    std::optional<QByteArray> checkedPath(const QString &entryPath, Error *error) const;
    bool makeParents(const QByteArray &path, Error *error, const QString &entryName) const;
    bool clearItemAt(const QByteArray &path, const QString &entryName, Error *error) const;

    QString m_root;
    QMutex m_directoriesMutex;
    QList<ArchiveEntry> m_directories;
};
