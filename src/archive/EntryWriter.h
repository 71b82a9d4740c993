#pragma once

#include "ArchiveEntry.h"

#include <Error.h>
#include <QMutex>
#include <QSet>
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
        // Moves on to `offset` (not back), leaving a hole: sparse files.
        bool skipTo(qint64 offset, Error *error);
        qint64 position() const { return m_position; }
        // Applies the entry's mode and time and closes; a failed close is a failed write.
        // A hole skipped at the very end still counts: the file gets its full length.
        bool finish(Error *error);

    private:
        friend class EntryWriter;
        File(int fd, ArchiveEntry entry);
        int m_fd;
        ArchiveEntry m_entry;
        qint64 m_position = 0;
        qint64 m_written = 0; // end of the data actually written
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
    bool isKnownFolder(const QByteArray &path) const;
    void rememberFolder(const QByteArray &path) const;

    QString m_root;
    mutable QMutex m_foldersMutex;
    mutable QSet<QByteArray> m_madeFolders; // folders known to exist below the root
    QMutex m_directoriesMutex;
    QList<ArchiveEntry> m_directories;
};
