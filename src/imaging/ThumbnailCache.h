#pragma once

#include <Error.h>
#include <QCache>
#include <QDateTime>
#include <QImage>
#include <QMutex>
#include <QString>

// Thumbnails by string key: a bounded memory layer over a folder of PNG files named by the key.
// Every read (a hit in memory too) marks the entry's file as used now, so `trimToDate` drops
// what has not been shown since. A file is written under a temporary name and renamed into
// place, so a reader never sees half of one. Keys are plain file names (the hex digests of
// `Utils::cachedFileNameForKey`); any other key is refused.
//
// Thread-safety: every operation may be called from any thread at once.
class ThumbnailCache {
public:
    // The process's cache, in the "thumbnails" folder of Utils::cachePath(), made on first use.
    // AppDirectories must be configured before the first call.
    static ThumbnailCache &sharedCache();

    // `memoryCostLimit` bounds the memory layer in bytes of image data.
    explicit ThumbnailCache(QString directory, qint64 memoryCostLimit = 48 * 1024 * 1024);
    ThumbnailCache(const ThumbnailCache &) = delete;
    ThumbnailCache &operator=(const ThumbnailCache &) = delete;

    QString directory() const { return m_directory; }

    bool containsObjectForKey(const QString &key) const;
    // The image for `key` with its device pixel ratio, or a null image when there is none (or
    // its file is unreadable). May read and decode a file: keep it off the main thread.
    QImage objectForKey(const QString &key);
    // The same from the memory layer alone, a null image when only the file has it: quick
    // enough for the main thread.
    QImage objectInMemoryForKey(const QString &key);
    // Keeps `image` in memory and writes it to its file; false with the reason in `error` when
    // the file could not be written (the memory entry stays).
    bool setObject(const QImage &image, const QString &key, Error *error = nullptr);
    // Removes every entry whose file was last used before `date`.
    void trimToDate(const QDateTime &date);

private:
    QString filePathForKey(const QString &key) const;

    const QString m_directory;
    mutable QMutex m_mutex; // guards m_memory; the files need no lock
    QCache<QString, QImage> m_memory;
};
