#pragma once

#include <QColor>
#include <QString>
#include <QVariant>

class ByteCountFormatter;
class DateTimeFormatter;

// The few facts that must be the same everywhere: where the home and cache folders lie, how an
// absolute path becomes one relative to the home folder, which extensions are archives, media
// and pictures, how cache files are named, the shared formatters and the fixed colours.
// Class-level operations only; every one may be called from any thread.
class Utils {
public:
    Utils() = delete;

    // The home folder ("home" in the Documents directory) and the cache folder ("home" in the
    // Caches directory). Neither is created here: the application shell makes both at start.
    static QString documentsPath();
    static QString cachePath();

    // Every occurrence of documentsPath() in `path` replaced by "" (literal, case-sensitive):
    // an absolute path inside the home folder becomes "/A/b.txt", the home folder itself "".
    static QString trimLocalPath(const QString &path);
    static QString correctSMBPath(const QString &path);

    // Membership of the lower-cased `extension` (no dot, as QFileInfo::suffix gives it).
    static bool isSupportArchiverFileFormat(const QString &extension);
    static bool isSupportMediaFileFormat(const QString &extension);
    static bool isSupportPhotoFileFormat(const QString &extension);

    // MD5 of the key's UTF-8 bytes up to the first NUL, as 32 upper-case hex digits.
    static QString cachedFileNameForKey(const QString &key);

    // Marks an existing item as not to be backed up (the user.xdg.robots.backup attribute).
    // Logs "Error excluding <name> from backup <reason>" and returns false on failure.
    static bool addSkipBackupAttributeToItemAtPath(const QString &path);

    static const ByteCountFormatter &sharedFileSizeFormatter();
    static const DateTimeFormatter &sharedDateFormatter();

    // True for an absent value, one without a length, or one of length 0.
    static bool isEmptyString(const QVariant &value);

    // Colours from "#RRGGBB", "RRGGBB", "#RGB" or "RGB". Other lengths are a programming error.
    static QColor colorWithHexString(const QString &hexString);
    static QColor colorWithHexString(const QString &hexString, double alpha);
    static QString hexStringTransformFromThreeCharacters(const QString &hexString);
    static quint32 hexValueToUnsigned(const QString &text);
    static QColor colorWith8BitRed(int red, int green, int blue);
    static QColor colorWith8BitRed(int red, int green, int blue, double alpha);
};
