#pragma once

#include <QString>
#include <QVariant>

class ByteCountFormatter;
class DateTimeFormatter;

// The few facts that must be the same everywhere: where the home and cache folders lie (HomePaths
// converts between listing paths and paths on disk), which extensions are archives, media and
// pictures, how cache files are named and the shared formatters (the fixed colours, which
// need QtGui, are in platform's UtilsColors.h). Every function may be called from any thread.
namespace Utils {

// The home folder ("home" in the Documents directory) and the cache folder ("home" in the
// Caches directory). Neither is created here: the application shell makes both at start.
QString documentsPath();
QString cachePath();

QString correctSMBPath(const QString &path);

// Membership of the lower-cased `extension` (no dot, as QFileInfo::suffix gives it).
bool isSupportArchiverFileFormat(const QString &extension);
bool isSupportMediaFileFormat(const QString &extension);
bool isSupportPhotoFileFormat(const QString &extension);

// MD5 of the key's UTF-8 bytes up to the first NUL, as 32 upper-case hex digits.
QString cachedFileNameForKey(const QString &key);

// Marks an existing item as not to be backed up (the user.xdg.robots.backup attribute).
// Logs "Error excluding <name> from backup <reason>" and returns false on failure.
bool addSkipBackupAttributeToItemAtPath(const QString &path);

const ByteCountFormatter &sharedFileSizeFormatter();
const DateTimeFormatter &sharedDateFormatter();

// True for an absent value, one without a length, or one of length 0.
bool isEmptyString(const QVariant &value);

} // namespace Utils
