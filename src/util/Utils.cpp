#include "Utils.h"

#include "AppDirectories.h"
#include "ByteCountFormatter.h"
#include "DateTimeFormatter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QtDebug>
#include <cstring>
#include <sys/xattr.h>

namespace {

bool extensionIn(const QString &extension, std::initializer_list<const char *> table)
{
    const auto lower = extension.toLower();
    for (const char *entry : table)
        if (lower == QLatin1String(entry))
            return true;
    return false;
}

} // namespace

QString Utils::documentsPath()
{
    return QDir(AppDirectories::documentsDirectory()).filePath(QStringLiteral("home"));
}

QString Utils::cachePath()
{
    return QDir(AppDirectories::cachesDirectory()).filePath(QStringLiteral("home"));
}

QString Utils::correctSMBPath(const QString &path)
{
    if (path.toLower().contains(QLatin1String("smb://")))
        return path;
    return QString(path).replace(QLatin1String("smb:/"), QLatin1String("smb://"));
}

bool Utils::isSupportArchiverFileFormat(const QString &extension)
{
    return extensionIn(extension, {"zip", "rar", "7z", "tar", "gz", "cbr", "cbz"});
}

bool Utils::isSupportMediaFileFormat(const QString &extension)
{
    return extensionIn(extension,
                       {"mkv",   "rm",    "rmvb", "asf", "avi", "divx", "dv",   "flv",  "gxf",
                        "m1v",   "m2v",   "m2ts", "m4v", "mov", "mp2",  "mp4",  "mpeg", "mpeg1",
                        "mpeg2", "mpeg4", "mpg",  "mts", "mxf", "ogg",  "ogm",  "ps",   "ts",
                        "vob",   "wmv",   "a52",  "aac", "ac3", "dts",  "flac", "m4a",  "m4p",
                        "mka",   "mod",   "mp1",  "mp3", "wav"});
}

bool Utils::isSupportPhotoFileFormat(const QString &extension)
{
    return extensionIn(extension, {"bmp", "gif", "jpg", "jpeg", "psd", "tiff", "tif"});
}

QString Utils::cachedFileNameForKey(const QString &key)
{
    auto bytes = key.toUtf8();
    const auto nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    return QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toUpper());
}

bool Utils::addSkipBackupAttributeToItemAtPath(const QString &path)
{
    Q_ASSERT_X(QFileInfo::exists(path), "addSkipBackupAttributeToItemAtPath",
               "the item must exist");
    static constexpr char name[] = "user.xdg.robots.backup";
    static constexpr char value[] = "false";
    if (setxattr(QFile::encodeName(path).constData(), name, value, sizeof value - 1, 0) == 0)
        return true;
    qWarning().noquote() << QStringLiteral("Error excluding %1 from backup %2")
                                .arg(QFileInfo(path).fileName(),
                                     QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

// The shared formatters are never destroyed: work still running on a pool thread at exit may
// format with them after the statics' destructors ran.
const ByteCountFormatter &Utils::sharedFileSizeFormatter()
{
    static const auto *formatter = new ByteCountFormatter;
    return *formatter;
}

const DateTimeFormatter &Utils::sharedDateFormatter()
{
    static const auto *formatter = new DateTimeFormatter;
    return *formatter;
}

bool Utils::isEmptyString(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return true;
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return value.toString().isEmpty();
    case QMetaType::QByteArray:
        return value.toByteArray().isEmpty();
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return value.toList().isEmpty();
    default:
        return true; // no length to ask for
    }
}
