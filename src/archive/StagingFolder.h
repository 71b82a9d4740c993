#pragma once

#include <Error.h>
#include <QString>

// A private folder beside the destination (same file system, so the final moves are renames)
// into which an archive is unpacked before anything reaches the destination. Removed on
// destruction unless it was merged.
//
// Thread-safety: one object per extraction, used by one thread at a time.
class StagingFolder {
public:
    // Makes the destination's parent folders when missing, then a hidden folder in that
    // parent. Refuses a destination that exists and is not a folder.
    static std::optional<StagingFolder> createFor(const QString &destination, Error *error);

    StagingFolder(StagingFolder &&other) noexcept;
    StagingFolder &operator=(StagingFolder &&) = delete;
    ~StagingFolder();

    const QString &path() const { return m_path; }

    // Free bytes on the staging folder's file system.
    qint64 bytesAvailable() const;

    // The checks made after a tool wrote into the folder: no link pointing out of it (its
    // real target, through other links, or its text when dangling), no device, fifo or
    // socket, no set-id bits, no file hard-linked to one outside. Also gives the owner rw on
    // files and rwx on folders so the result can be merged and managed. With `linksOnly`, for
    // what the engine wrote itself, only the links (a chain of links can lead out).
    bool scan(bool linksOnly, Error *error) const;

    // Empties the folder at `path` (one made by createFor) so another reader can start over.
    static bool clear(const QString &path, Error *error);

    // Moves the content into the destination: folders present on both sides are merged,
    // any other item of the same name is replaced, everything else there is kept.
    bool mergeInto(const QString &destination, Error *error);

private:
    explicit StagingFolder(QString path);
    QString m_path;
};
