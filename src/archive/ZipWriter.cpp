#include "ZipWriter.h"

#include "ArchiveErrors.h"
#include "ArchiverManager.h"
#include "CHandles.h"
#include "LibzipMessage.h"
#include "ParallelDeflate.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The path with every link resolved; for an item not yet made, its folder's.
QString canonicalOrAbsolute(const QString &path)
{
    const QFileInfo info(QDir::cleanPath(path));
    const auto canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const auto folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
}

// libzip writes no file at all for an archive without entries; an empty zip is just the
// end-of-central-directory record.
bool writeEmptyZip(const QString &target, Error *error)
{
    QSaveFile file(target);
    const QByteArray record = QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0');
    if (file.open(QIODevice::WriteOnly) && file.write(record) == record.size() && file.commit())
        return true;
    return fail(error,
                ArchiveErrors::writeFailed(QFileInfo(target).fileName(), file.errorString()));
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
            ::readlink(QFile::encodeName(sourcePath).constData(), buffer.data(), size_t(4096));
        *linkTarget = n < 0 ? QByteArray() : buffer.left(n);
    }
    return zip_source_buffer(archive, linkTarget->constData(), zip_uint64_t(linkTarget->size()), 0);
}

} // namespace

ZipWriter::ZipWriter(QString targetPath, QString password, ArchiveProgressDelegate *delegate)
    : m_target(std::move(targetPath)), m_password(std::move(password)), m_delegate(delegate)
{
}

bool ZipWriter::checkTarget(const QStringList &itemPaths, Error *error) const
{
    const QFileInfo target(m_target);
    if (target.isDir())
        return fail(error, ArchiveErrors::invalidZipTarget(
                               ArchiveErrors::tr("“%1” is a folder; a zip archive can't replace "
                                                 "it.")
                                   .arg(target.fileName())));
    const auto targetPath = canonicalOrAbsolute(m_target);
    for (const auto &item : itemPaths)
        if (isInside(targetPath, canonicalOrAbsolute(item)))
            return fail(error, ArchiveErrors::invalidZipTarget(
                                   ArchiveErrors::tr("The zip archive “%1” can't be one of the "
                                                     "items it packs, nor lie inside them.")
                                       .arg(target.fileName())));
    return true;
}

bool ZipWriter::write(const QStringList &itemPaths, Error *error)
{
    if (!checkTarget(itemPaths, error))
        return false;
    for (const auto &item : itemPaths) {
        const QFileInfo info(QDir::cleanPath(item));
        if (info.isDir() && !info.isSymLink())
            addFolderContent(info.filePath(), info.fileName());
        else if (info.exists() || info.isSymLink())
            addFile(info.filePath(), info.fileName());
        else // a zip quietly lacking an item would pass for a whole one
            return fail(error, ArchiveErrors::writeFailed(
                                   info.fileName(), ArchiveErrors::tr("it no longer exists")));
    }
    return commit(error);
}

bool ZipWriter::toCreateDir(const QString &folderPath, bool keepParentDirectory, Error *error)
{
    addFolderContent(QDir::cleanPath(folderPath),
                     keepParentDirectory ? QFileInfo(QDir::cleanPath(folderPath)).fileName()
                                         : QString());
    return commit(error);
}

void ZipWriter::addFile(const QString &path, const QString &entryName)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        m_items.append({path, entryName, true});
        return;
    }
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly)) // unreadable files are left out, not fatal
        m_items.append({path, entryName, false});
}

void ZipWriter::addFolderContent(const QString &folderPath, const QString &entryPrefix)
{
    const QDir folder(folderPath);
    QDirIterator walk(folderPath,
                      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        walk.next();
        const auto info = walk.fileInfo();
        const auto relative = folder.relativeFilePath(info.filePath());
        const auto entryName =
            entryPrefix.isEmpty() ? relative : entryPrefix + QLatin1Char('/') + relative;
        if (info.isDir() && !info.isSymLink()) {
            if (QDir(info.filePath())
                    .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                             QDir::NoDotAndDotDot) &&
                !ArchiverManager::temporaryPathForDiscardableFile().isEmpty())
                m_items.append({QString(), entryName + QStringLiteral("/.DS_Store"), false});
        } else {
            addFile(info.filePath(), entryName);
        }
    }
}

bool ZipWriter::commit(Error *error)
{
    if (m_items.isEmpty())
        return writeEmptyZip(m_target, error);
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
            if (::stat(QFile::encodeName(item.sourcePath).constData(), &info) != 0)
                return fail(error, ArchiveErrors::writeFailed(
                                       item.entryName, ArchiveErrors::tr("it no longer exists")));
            modes[size_t(i)] = S_IFREG | (info.st_mode & 0777);
            fileOf[size_t(i)] = files.size();
            files.append(
                {item.sourcePath, item.entryName, qint64(info.st_size), qint64(info.st_mtime)});
            totalBytes += info.st_size;
        }
    }
    ProgressReporter progress(m_delegate);
    progress.setTotals(totalBytes, m_items.size());
    ParallelDeflate deflate(files, progress);
    deflate.start(); // the workers begin while the entries are added
    int code = 0;
    // libzip writes a temporary file beside the target and renames it into place at close.
    zip_t *archive =
        zip_open(QFile::encodeName(m_target).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        return fail(
            error, ArchiveErrors::writeFailed(QFileInfo(m_target).fileName(), libzipMessage(code)));
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
        const auto name = item.entryName.toUtf8();
        const auto index =
            source ? zip_file_add(archive, name.constData(), source.get(), ZIP_FL_ENC_UTF_8) : -1;
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
        return discardWith(QFileInfo(m_target).fileName());
    progress.finish();
    return true;
}
