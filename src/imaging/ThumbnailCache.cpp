#include "ThumbnailCache.h"

#include "ImagingErrors.h"
#include "Utils.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSaveFile>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// PNG keeps no device pixel ratio of its own; it travels in a text chunk.
const QString ratioTextKey = QStringLiteral("DevicePixelRatio");
const QString fileSuffix = QStringLiteral(".png");
// Light compression: a 300 x 300 photo thumbnail is written four times faster than at Qt's
// default level for a sixth more bytes, and the writing holds up the next thumbnail.
constexpr int pngQuality = 70;

bool isPlainFileName(const QString &key)
{
    return !key.isEmpty() && key != QLatin1String(".") && key != QLatin1String("..") &&
           !key.contains(QLatin1Char('/')) && !key.contains(QChar(0));
}

// Marks the file as used now; a file trimmed meanwhile is simply not there.
void touch(const QString &path)
{
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), nullptr, 0);
}

Error cacheError(ImagingErrors::Code code, const QString &message)
{
    return Error(ImagingErrors::domain, code, message);
}

} // namespace

ThumbnailCache &ThumbnailCache::sharedCache()
{
    // Made once and never released: the thumbnail queue may use it until the process ends.
    static auto *cache =
        new ThumbnailCache(QDir(Utils::cachePath()).filePath(QStringLiteral("thumbnails")));
    return *cache;
}

ThumbnailCache::ThumbnailCache(QString directory, qint64 memoryCostLimit)
    : m_directory(std::move(directory)), m_memory(memoryCostLimit)
{
}

QString ThumbnailCache::filePathForKey(const QString &key) const
{
    return m_directory + QLatin1Char('/') + key + fileSuffix;
}

bool ThumbnailCache::containsObjectForKey(const QString &key) const
{
    if (!isPlainFileName(key))
        return false;
    {
        QMutexLocker lock(&m_mutex);
        if (m_memory.contains(key))
            return true;
    }
    return QFileInfo::exists(filePathForKey(key));
}

QImage ThumbnailCache::objectInMemoryForKey(const QString &key)
{
    if (!isPlainFileName(key))
        return {};
    touch(filePathForKey(key));
    QMutexLocker lock(&m_mutex);
    const QImage *image = m_memory.object(key);
    return image ? *image : QImage();
}

QImage ThumbnailCache::objectForKey(const QString &key)
{
    QImage image = objectInMemoryForKey(key);
    if (!image.isNull() || !isPlainFileName(key))
        return image;
    if (!image.load(filePathForKey(key), "PNG"))
        return {};
    image.setDevicePixelRatio(std::max(1.0, image.text(ratioTextKey).toDouble()));
    QMutexLocker lock(&m_mutex);
    m_memory.insert(key, new QImage(image), image.sizeInBytes());
    return image;
}

bool ThumbnailCache::setObject(const QImage &image, const QString &key, Error *error)
{
    if (!isPlainFileName(key))
        return fail(error, cacheError(ImagingErrors::InvalidCacheKey,
                                      QCoreApplication::translate("ThumbnailCache",
                                                                  "Invalid cache key \"%1\"")
                                          .arg(key)));
    {
        QMutexLocker lock(&m_mutex);
        m_memory.insert(key, new QImage(image), image.sizeInBytes());
    }
    QImage tagged = image;
    tagged.setText(ratioTextKey, QString::number(image.devicePixelRatio()));
    QDir().mkpath(m_directory);
    QSaveFile file(filePathForKey(key));
    if (!file.open(QIODevice::WriteOnly) || !tagged.save(&file, "PNG", pngQuality) ||
        !file.commit())
        return fail(error,
                    cacheError(ImagingErrors::CacheWriteFailed,
                               QCoreApplication::translate("ThumbnailCache", "Cannot write %1: %2")
                                   .arg(file.fileName(), file.errorString())));
    return true;
}

void ThumbnailCache::trimToDate(const QDateTime &date)
{
    QDirIterator files(m_directory, QDir::Files | QDir::Hidden | QDir::System);
    while (files.hasNext()) {
        files.next();
        const QFileInfo info = files.fileInfo();
        if (info.lastModified() >= date || !QFile::remove(info.filePath()))
            continue;
        const QString name = info.fileName();
        if (name.endsWith(fileSuffix)) {
            QMutexLocker lock(&m_mutex);
            m_memory.remove(name.chopped(fileSuffix.size()));
        }
    }
}
