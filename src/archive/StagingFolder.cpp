#include "StagingFolder.h"

#include "ArchiveErrors.h"
#include "EntryChecks.h"

#include <FileOperations.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStorageInfo>
#include <cerrno>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct DirCloser {
    void operator()(DIR *dir) const { closedir(dir); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

struct FolderItem {
    QString name;
    unsigned char type; // DT_REG, DT_DIR, DT_LNK, ... or DT_UNKNOWN
};

QList<FolderItem> itemsIn(const QByteArray &folder)
{
    QList<FolderItem> items;
    DirPtr dir(::opendir(folder.constData()));
    if (!dir)
        return items;
    while (const auto *entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            items.append({QFile::decodeName(name), entry->d_type});
    }
    return items;
}

QString readLink(const QByteArray &path)
{
    QByteArray buffer(4096, Qt::Uninitialized);
    const auto length = ::readlink(path.constData(), buffer.data(), size_t(buffer.size()));
    return length < 0 ? QString() : QFile::decodeName(buffer.left(length));
}

ArchiveEntry probeEntry(ArchiveEntry::Type type, quint32 mode)
{
    ArchiveEntry entry;
    entry.type = type;
    entry.mode = mode & 07777;
    return entry;
}

// Walks the staging folder without following links; inode counts find outside hard links.
// With `linksOnly` (what the engine wrote itself, every entry checked as it was written) only
// links are looked at: their targets may still leave the folder through other links.
class Scanner {
public:
    explicit Scanner(const QString &root, bool linksOnly = false)
        : m_root(root), m_canonicalRoot(canonical(root)), m_linksOnly(linksOnly)
    {
    }

    bool run(Error *error)
    {
        if (!walk(QString(), error))
            return false;
        for (auto it = m_linkCounts.cbegin(); it != m_linkCounts.cend(); ++it)
            if (it->seen < it->links)
                return fail(error, ArchiveErrors::unsafeEntry(
                                       it->name, ArchiveErrors::tr("is a hard link to a file "
                                                                   "outside the archive")));
        return true;
    }

private:
    struct LinkCount {
        nlink_t links = 0;
        nlink_t seen = 0;
        QString name;
    };

    static QString canonical(const QString &path) { return QFileInfo(path).canonicalFilePath(); }

    bool walk(const QString &relative, Error *error)
    {
        const auto folder = QFile::encodeName(m_root + QLatin1Char('/') + relative);
        for (const auto &item : itemsIn(folder)) {
            const auto itemRelative = relative.isEmpty() ? item.name : relative + u'/' + item.name;
            if (m_linksOnly && item.type == DT_REG)
                continue;
            if (m_linksOnly && item.type == DT_DIR ? !walk(itemRelative, error)
                                                   : !check(itemRelative, error))
                return false;
        }
        return true;
    }

    bool check(const QString &relative, Error *error)
    {
        const auto path = QFile::encodeName(m_root + QLatin1Char('/') + relative);
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0)
            return fail(error, ArchiveErrors::fromErrno(errno, relative));
        if (S_ISLNK(info.st_mode))
            return checkLink(relative, path, error);
        if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
            return fail(error,
                        ArchiveErrors::unsafeEntry(relative, EntryChecks::typeProblem(probeEntry(
                                                                 ArchiveEntry::Type::Special, 0))));
        if (info.st_mode & 06000)
            return fail(error, ArchiveErrors::unsafeEntry(
                                   relative, EntryChecks::typeProblem(probeEntry(
                                                 ArchiveEntry::Type::File, info.st_mode))));
        const mode_t owner = S_ISDIR(info.st_mode) ? 0700 : 0600;
        if ((info.st_mode & owner) != owner)
            ::chmod(path.constData(), (info.st_mode & 0777) | owner);
        if (S_ISDIR(info.st_mode))
            return walk(relative, error);
        if (info.st_nlink > 1) {
            auto &count = m_linkCounts[qMakePair(quint64(info.st_dev), quint64(info.st_ino))];
            count.links = info.st_nlink;
            ++count.seen;
            count.name = relative;
        }
        return true;
    }

    bool checkLink(const QString &relative, const QByteArray &path, Error *error)
    {
        const auto target = readLink(path);
        if (auto problem = EntryChecks::linkTargetProblem(relative, target); !problem.isEmpty())
            return fail(error, ArchiveErrors::unsafeEntry(relative, problem));
        // The text stays inside; through other links the real target might not.
        const auto resolved = canonical(QFile::decodeName(path));
        if (!resolved.isEmpty() && resolved != m_canonicalRoot &&
            !resolved.startsWith(m_canonicalRoot + u'/'))
            return fail(error, ArchiveErrors::unsafeEntry(
                                   relative, ArchiveErrors::tr("is a link pointing out of the "
                                                               "destination folder")));
        return true;
    }

    QString m_root;
    QString m_canonicalRoot;
    bool m_linksOnly;
    QHash<QPair<quint64, quint64>, LinkCount> m_linkCounts;
};

bool isRealFolder(const QByteArray &path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool mergeFolder(const QString &source, const QString &target, Error *error)
{
    for (const auto &item : itemsIn(QFile::encodeName(source))) {
        const auto &name = item.name;
        const auto from = source + u'/' + name;
        const auto to = target + u'/' + name;
        const auto toBytes = QFile::encodeName(to);
        struct stat info {};
        const bool exists = ::lstat(toBytes.constData(), &info) == 0;
        if (exists && S_ISDIR(info.st_mode) && isRealFolder(QFile::encodeName(from))) {
            if (!mergeFolder(from, to, error))
                return false;
            continue;
        }
        if (!exists && ::rename(QFile::encodeName(from).constData(), toBytes.constData()) == 0)
            continue;
        Error moveError;
        if (!FileOperations::moveItemAtPath(from, to, true, &moveError))
            return fail(error, ArchiveErrors::writeFailed(name, moveError.message));
    }
    return true;
}

} // namespace

StagingFolder::StagingFolder(QString path) : m_path(std::move(path)) {}

StagingFolder::StagingFolder(StagingFolder &&other) noexcept : m_path(std::move(other.m_path))
{
    other.m_path.clear();
}

StagingFolder::~StagingFolder()
{
    if (m_path.isEmpty())
        return;
    Scanner(m_path).run(nullptr); // makes every folder removable
    FileOperations::removeItemAtPath(m_path, nullptr);
}

std::optional<StagingFolder> StagingFolder::createFor(const QString &destination, Error *error)
{
    const QFileInfo dest(destination);
    if (dest.exists() && !dest.isDir()) {
        fail(error, ArchiveErrors::writeFailed(
                        dest.fileName(), ArchiveErrors::tr("a file of that name is in the way of "
                                                           "the destination folder")));
        return std::nullopt;
    }
    const auto parent = dest.absolutePath();
    Error makeError;
    if (!FileOperations::createDirectoriesForPath(parent, &makeError)) {
        fail(error, ArchiveErrors::writeFailed(parent, makeError.message));
        return std::nullopt;
    }
    auto templ = QFile::encodeName(parent + QStringLiteral("/.ombrisk-unpacking-XXXXXX"));
    if (!::mkdtemp(templ.data())) {
        fail(error, ArchiveErrors::fromErrno(errno, parent));
        return std::nullopt;
    }
    return StagingFolder(QFile::decodeName(templ));
}

qint64 StagingFolder::bytesAvailable() const
{
    return QStorageInfo(m_path).bytesAvailable();
}

bool StagingFolder::scan(bool linksOnly, Error *error) const
{
    return Scanner(m_path, linksOnly).run(error);
}

bool StagingFolder::clear(const QString &path, Error *error)
{
    Scanner(path).run(nullptr); // makes every folder removable
    for (const auto &item : itemsIn(QFile::encodeName(path))) {
        Error removeError;
        if (!FileOperations::removeItemAtPath(path + u'/' + item.name, &removeError))
            return fail(error, ArchiveErrors::writeFailed(item.name, removeError.message));
    }
    return true;
}

bool StagingFolder::mergeInto(const QString &destination, Error *error)
{
    const auto destBytes = QFile::encodeName(destination);
    struct stat info {};
    if (::lstat(destBytes.constData(), &info) != 0 &&
        ::rename(QFile::encodeName(m_path).constData(), destBytes.constData()) == 0) {
        ::chmod(destBytes.constData(), 0755); // the staging folder was private (0700)
        m_path.clear();
        return true;
    }
    if (!mergeFolder(m_path, destination, error))
        return false;
    return true; // the emptied folder goes with the destructor
}
