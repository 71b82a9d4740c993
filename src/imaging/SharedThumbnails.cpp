#include "SharedThumbnails.h"

#include "AppDirectories.h"
#include "ImagingErrors.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>
#include <QUrl>
#include <QUuid>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace SharedThumbnails {

namespace {

const QString uriKey = QStringLiteral("Thumb::URI");
const QString mtimeKey = QStringLiteral("Thumb::MTime");
const QString sizeKey = QStringLiteral("Thumb::Size");
const QString failFolder = QStringLiteral("fail/ombrisk-1.0");

// The file as it is now: what a thumbnail must match.
struct Version {
    QByteArray uri;
    QString mtime;
    QString size;
};

std::optional<Version> versionOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return Version{uriOf(path), QString::number(qint64(info.st_mtim.tv_sec)),
                   QString::number(qint64(info.st_size))};
}

QString folderFor(int side)
{
    return directory() + (side <= 128 ? QStringLiteral("/normal") : QStringLiteral("/large"));
}

bool matches(const QImage &image, const Version &version)
{
    const QString size = image.text(sizeKey);
    return !image.isNull() && image.text(uriKey).toUtf8() == version.uri &&
           image.text(mtimeKey) == version.mtime && (size.isEmpty() || size == version.size);
}

QImage read(const QString &file)
{
    QImageReader reader(file, "png");
    // A shared file could be anything; a real thumbnail is small.
    reader.setAllocationLimit(8);
    return reader.read();
}

// Each missing level made owner-only: other users must not read what we looked at.
bool makeFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return true;
    if (!makeFolder(QFileInfo(folder).path()))
        return false;
    return ::mkdir(QFile::encodeName(folder).constData(), 0700) == 0 || errno == EEXIST;
}

Error writeError(const QString &file, const QString &reason)
{
    return Error(ImagingErrors::domain, ImagingErrors::CacheWriteFailed,
                  QStringLiteral("%1 could not be written: %2").arg(file, reason));
}

bool write(QImage image, const Version &version, const QString &folder, Error *error)
{
    image.setText(uriKey, QString::fromUtf8(version.uri));
    image.setText(mtimeKey, version.mtime);
    image.setText(sizeKey, version.size);
    image.setText(QStringLiteral("Software"), QStringLiteral("Ombrisk"));
    const QString target = folder + u'/' + fileNameFor(version.uri);
    if (!makeFolder(folder))
        return fail(error, writeError(target, QString::fromLocal8Bit(std::strerror(errno))));
    QFile partial(folder + QStringLiteral("/.ombrisk-") +
                  QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".png"));
    if (!partial.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return fail(error, writeError(target, partial.errorString()));
    QImageWriter writer(&partial, "png");
    writer.setQuality(70);
    const bool written = writer.write(image) && partial.flush();
    partial.close();
    if (!written || ::rename(QFile::encodeName(partial.fileName()).constData(),
                             QFile::encodeName(target).constData()) != 0) {
        const QString reason = written ? QString::fromLocal8Bit(std::strerror(errno))
                                       : writer.errorString();
        partial.remove();
        return fail(error, writeError(target, reason));
    }
    return true;
}

} // namespace

QString directory()
{
    if (!AppDirectories::isDefaultRoot())
        return AppDirectories::cachesDirectory() + QStringLiteral("/thumbnails");
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/thumbnails");
}

std::optional<int> sideFor(int pixels)
{
    if (pixels <= 128)
        return 128;
    if (pixels <= 256)
        return 256;
    return std::nullopt;
}

QByteArray uriOf(const QString &path)
{
    return QUrl::fromLocalFile(QDir::cleanPath(QDir(path).absolutePath())).toEncoded();
}

QString fileNameFor(const QByteArray &uri)
{
    return QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}

QImage lookUp(const QString &path, int pixels)
{
    const auto version = versionOf(path);
    const auto least = sideFor(pixels);
    if (!version || !least)
        return {};
    for (int side : {128, 256}) {
        if (side < *least)
            continue;
        const QImage image = read(folderFor(side) + u'/' + fileNameFor(version->uri));
        if (matches(image, *version))
            return image;
    }
    return {};
}

bool hasFailed(const QString &path)
{
    const auto version = versionOf(path);
    return version && matches(read(directory() + u'/' + failFolder + u'/' + fileNameFor(version->uri)),
                              *version);
}

bool store(const QString &path, const QImage &thumbnail, int side, Error *error)
{
    const auto version = versionOf(path);
    if (!version)
        return fail(error, writeError(path, QStringLiteral("not a file")));
    return write(thumbnail, *version, folderFor(side), error);
}

bool storeFailure(const QString &path, Error *error)
{
    const auto version = versionOf(path);
    if (!version)
        return fail(error, writeError(path, QStringLiteral("not a file")));
    QImage mark(1, 1, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    return write(mark, *version, directory() + u'/' + failFolder, error);
}

} // namespace SharedThumbnails
