#include "ZipWriter.h"

#include "ArchiveErrors.h"
#include "CHandles.h"
#include "EntryChecks.h"
#include "FolderHandle.h"
#include "LibzipMessage.h"
#include "ParallelDeflate.h"

#include <FileNameCodec.h>
#include <LocalPaths.h>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The path with its folder's links resolved, not its own.
QString canonicalFolderOf(const QString &absolutePath)
{
    const auto folder = LocalPaths::canonical(LocalPaths::parent(absolutePath));
    return folder.isEmpty() ? absolutePath
                            : QDir::cleanPath(folder + u'/' + QFileInfo(absolutePath).fileName());
}

// The path with every link resolved; for an item not yet made, its folder's.
QString canonicalOrAbsolute(const QString &path)
{
    const auto absolute = LocalPaths::absolute(path);
    const auto canonical = LocalPaths::canonical(absolute);
    if (!canonical.isEmpty())
        return canonical;
    return canonicalFolderOf(absolute);
}

// libzip writes no file at all for an archive without entries; an empty zip is just the
// end-of-central-directory record.
bool writeEmptyZip(const QString &path, Error *error)
{
    const QByteArray record = QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0');
    const Fd file(::open(FileNameCodec::encode(path).constData(), O_WRONLY | O_CLOEXEC));
    if (file.isValid() &&
        ::write(file.get(), record.constData(), size_t(record.size())) == ssize_t(record.size()))
        return true;
    return fail(error, ArchiveErrors::fromErrno(errno, QFileInfo(path).fileName()));
}

bool isInside(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + u'/');
}

// The data of a link (its target) or of a placeholder (nothing), held by the archive.
zip_source_t *smallSource(zip_t *archive, const QString &sourcePath, QByteArray *linkTarget)
{
    if (!sourcePath.isEmpty()) {
        QByteArray buffer(4096, Qt::Uninitialized);
        const auto n =
            ::readlink(FileNameCodec::encode(sourcePath).constData(), buffer.data(), size_t(4096));
        *linkTarget = n < 0 ? QByteArray() : buffer.left(n);
    }
    return zip_source_buffer(archive, linkTarget->constData(), zip_uint64_t(linkTarget->size()), 0);
}

} // namespace

ZipWriter::ZipWriter(QString targetPath, QString password, ZipTarget::Existing existing,
                     ArchiveProgressDelegate *delegate)
    : m_target(std::move(targetPath), existing), m_password(std::move(password)),
      m_progress(delegate)
{
}

bool ZipWriter::checkTarget(const QStringList &itemPaths, Error *error) const
{
    if (!m_target.check(error))
        return false;
    const auto targetPath = canonicalOrAbsolute(m_target.path());
    for (const auto &item : itemPaths)
        if (isInside(targetPath, canonicalOrAbsolute(item)))
            return fail(error, ArchiveErrors::invalidZipTarget(
                                   ArchiveErrors::tr("The zip archive “%1” can't be one of the "
                                                     "items it packs, nor lie inside them.")
                                       .arg(QFileInfo(m_target.path()).fileName())));
    return true;
}

bool ZipWriter::write(const QStringList &itemPaths, Error *error)
{
    if (!checkTarget(itemPaths, error))
        return false;
    for (const auto &item : itemPaths)
        m_packedRoots << canonicalFolderOf(LocalPaths::absolute(item));
    for (const auto &item : itemPaths) {
        const auto path = LocalPaths::absolute(item);
        if (!addItem(path, QFileInfo(path).fileName(), Level::Selected, error))
            return false;
    }
    return m_target.reserve(error) && commit(error) && m_target.putInPlace(error);
}

bool ZipWriter::isPacked(const QString &canonicalPath) const
{
    return std::any_of(m_packedRoots.cbegin(), m_packedRoots.cend(),
                       [&](const QString &root) { return isInside(canonicalPath, root); });
}

// A link is kept when what it names is packed too, and its text leads there inside the zip;
// else it stands for the file it points to. The zip must unpack to what the user sees, without
// links our own unpacker (or anyone's) would refuse or leave dangling.
bool ZipWriter::addLink(const QString &path, const QString &entryName, Error *error)
{
    QByteArray buffer(4096, Qt::Uninitialized);
    const auto length =
        ::readlink(FileNameCodec::encode(path).constData(), buffer.data(), size_t(buffer.size()));
    if (length < 0)
        return fail(error, ArchiveErrors::unreadableItem(entryName, errno));
    const auto target = FileNameCodec::decode(buffer.left(length));
    const bool staysInside = EntryChecks::linkTargetProblem(entryName, target).isEmpty();
    const auto resolved = LocalPaths::canonical(path);
    if (staysInside && (resolved.isEmpty() || isPacked(resolved))) {
        m_items.append({path, entryName, true});
        return true;
    }
    struct stat info {};
    if (resolved.isEmpty() || ::stat(FileNameCodec::encode(resolved).constData(), &info) != 0)
        return fail(error, ArchiveErrors::unreadableItem(
                               entryName, ArchiveErrors::tr("it is a link to “%1”, which is not "
                                                            "there")
                                              .arg(target)));
    if (!S_ISREG(info.st_mode))
        return fail(error, ArchiveErrors::unreadableItem(
                               entryName, ArchiveErrors::tr("it is a link to “%1”, a folder or "
                                                            "special file outside the items "
                                                            "packed; pack that itself instead")
                                              .arg(target)));
    return addItem(resolved, entryName, Level::Inside, error);
}

// What a zip can't hold faithfully fails the whole zip, naming the item: a zip quietly lacking
// something would pass for a whole one. Fifos, sockets and devices are never opened (a fifo
// would block for ever).
bool ZipWriter::addItem(const QString &path, const QString &entryName, Level level, Error *error)
{
    struct stat info {};
    if (::lstat(FileNameCodec::encode(path).constData(), &info) != 0)
        return fail(error, errno == ENOENT ? ArchiveErrors::unreadableItem(
                                                 entryName, ArchiveErrors::tr("it no longer exists"))
                                           : ArchiveErrors::unreadableItem(entryName, errno));
    if (S_ISLNK(info.st_mode))
        return addLink(path, entryName, error);
    if (S_ISDIR(info.st_mode))
        return addFolderContent(path, entryName, level, error);
    if (!S_ISREG(info.st_mode))
        return fail(error, ArchiveErrors::unreadableItem(
                               entryName, ArchiveErrors::tr("it is a fifo, socket or device, "
                                                            "which a zip can't hold")));
    // Opened once to learn now, not halfway through the zip, that it can't be read.
    if (!Fd(::open(FileNameCodec::encode(path).constData(),
                   O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW))
             .isValid())
        return fail(error, ArchiveErrors::unreadableItem(entryName, errno));
    m_items.append({path, entryName, false});
    return true;
}

// The folder's content, depth first with each folder before what it holds; an empty folder
// inside a selected one becomes its placeholder entry. A folder that can't be listed fails
// like an unreadable file.
bool ZipWriter::addFolderContent(const QString &folderPath, const QString &entryName,
                                 Level level, Error *error)
{
    if (m_progress.isCancelled())
        return fail(error, ArchiveErrors::cancelled());
    const DirStream folder(::opendir(FileNameCodec::encode(folderPath).constData()));
    if (!folder)
        return fail(error, ArchiveErrors::unreadableItem(entryName, errno));
    QStringList names;
    int readError = 0;
    for (;;) {
        errno = 0; // readdir tells its end from a failure only by errno
        const dirent *child = ::readdir(folder.get());
        if (!child) {
            readError = errno;
            break;
        }
        const auto name = FileNameCodec::decode(child->d_name);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names << name;
    }
    if (readError != 0)
        return fail(error, ArchiveErrors::unreadableItem(entryName, readError));
    if (names.isEmpty() && level == Level::Inside)
        m_items.append({QString(), entryName + QStringLiteral("/.DS_Store"), false});
    for (const auto &name : std::as_const(names))
        if (!addItem(folderPath + u'/' + name, entryName + u'/' + name, Level::Inside, error))
            return false;
    return true;
}

bool ZipWriter::commit(Error *error)
{
    if (m_items.isEmpty())
        return writeEmptyZip(m_target.workPath(), error);
    // What each item becomes: a deflated file (its index in `files`) or small data held by
    // the archive, with its Unix type and mode.
    QList<ParallelDeflate::File> files;
    std::vector<qsizetype> fileOf(size_t(m_items.size()), -1);
    std::vector<mode_t> modes(size_t(m_items.size()), S_IFREG | 0644);
    qint64 totalBytes = 0;
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        const auto &item = m_items[i];
        struct stat info {};
        if (item.isLink) {
            modes[size_t(i)] = S_IFLNK | 0777;
        } else if (!item.sourcePath.isEmpty()) {
            if (::lstat(FileNameCodec::encode(item.sourcePath).constData(), &info) != 0)
                return fail(error, ArchiveErrors::unreadableItem(item.entryName, errno));
            modes[size_t(i)] = S_IFREG | (info.st_mode & 0777);
            fileOf[size_t(i)] = files.size();
            files.append(
                {item.sourcePath, item.entryName, qint64(info.st_size), qint64(info.st_mtime)});
            totalBytes += info.st_size;
        }
    }
    auto &progress = m_progress;
    progress.setTotals(totalBytes, m_items.size());
    ParallelDeflate deflate(files, progress);
    deflate.start(); // the workers begin while the entries are added
    int code = 0;
    const auto zipName = QFileInfo(m_target.path()).fileName();
    // libzip writes a file of its own beside the work file and renames it over that at close.
    zip_t *archive = zip_open(FileNameCodec::encode(m_target.workPath()).constData(),
                              ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        return fail(error, ArchiveErrors::writeFailed(zipName, libzipMessage(code)));
    const auto discardWith = [&](const QString &entryName) {
        const auto message = QString::fromLocal8Bit(zip_strerror(archive));
        const auto readFailure = deflate.failure();
        zip_discard(archive);
        return fail(error, progress.isCancelled() ? ArchiveErrors::cancelled()
                           : readFailure.isSet()  ? readFailure
                                                  : ArchiveErrors::writeFailed(entryName, message));
    };
    std::vector<QByteArray> smallData(size_t(m_items.size()));
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        const auto &item = m_items[i];
        const auto file = fileOf[size_t(i)];
        ZipSourcePtr source(file >= 0
                                ? deflate.sourceFor(archive, file)
                                : smallSource(archive, item.isLink ? item.sourcePath : QString(),
                                              &smallData[size_t(i)]));
        // A name that is not UTF-8 keeps its bytes, without the UTF-8 flag, as Info-ZIP's zip
        // stores it on Unix; readers on Unix give the same bytes back.
        const auto name = FileNameCodec::encode(item.entryName);
        const auto encoding = name.isValidUtf8() ? ZIP_FL_ENC_UTF_8 : ZIP_FL_ENC_CP437;
        const auto index =
            source ? zip_file_add(archive, name.constData(), source.get(), encoding) : -1;
        if (index < 0)
            return discardWith(item.entryName);
        source.release(); // the archive owns it now
        zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                         zip_uint32_t(modes[size_t(i)]) << 16);
        if (!m_password.isEmpty() &&
            zip_file_set_encryption(archive, zip_uint64_t(index), ZIP_EM_AES_256,
                                    m_password.toUtf8().constData()) != 0)
            return discardWith(item.entryName);
        if (file < 0)
            progress.entryFinished();
    }
    if (zip_close(archive) != 0)
        return discardWith(zipName);
    progress.finish();
    return true;
}
