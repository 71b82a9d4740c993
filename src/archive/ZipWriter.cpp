#include "ZipWriter.h"

#include "ArchiveErrors.h"
#include "ArchiverManager.h"
#include "CHandles.h"

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

zip_source_t *sourceFor(zip_t *archive, const QString &sourcePath, bool isLink,
                        QByteArray *linkTarget)
{
    if (sourcePath.isEmpty())
        return zip_source_buffer(archive, nullptr, 0, 0);
    if (isLink) {
        const auto raw = QFile::encodeName(sourcePath);
        QByteArray buffer(4096, Qt::Uninitialized);
        const auto n = ::readlink(raw.constData(), buffer.data(), size_t(buffer.size()));
        *linkTarget = n < 0 ? QByteArray() : buffer.left(n);
        return zip_source_buffer(archive, linkTarget->constData(), zip_uint64_t(linkTarget->size()),
                                 0);
    }
    return zip_source_file(archive, QFile::encodeName(sourcePath).constData(), 0, -1);
}

struct CallbackState {
    ArchiveProgressDelegate *delegate;
    qint64 totalBytes;
    qint64 entries;
};

void progressCallback(zip_t *, double fraction, void *context)
{
    auto *state = static_cast<CallbackState *>(context);
    ArchiveProgress progress;
    progress.bytesTotal = state->totalBytes;
    progress.bytesDone = qint64(fraction * double(state->totalBytes));
    progress.entriesTotal = state->entries;
    progress.entriesDone = qint64(fraction * double(state->entries));
    state->delegate->archiveProgressChanged(progress);
}

int cancelCallback(zip_t *, void *context)
{
    return static_cast<CallbackState *>(context)->delegate->isArchiveCancelled() ? 1 : 0;
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
    int code = 0;
    // libzip writes a temporary file beside the target and renames it into place at close.
    zip_t *archive =
        zip_open(QFile::encodeName(m_target).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        const auto message = QString::fromLocal8Bit(zip_error_strerror(&zipError));
        zip_error_fini(&zipError);
        return fail(error, ArchiveErrors::writeFailed(QFileInfo(m_target).fileName(), message));
    }
    const auto discardWith = [&](const Error &failure) {
        zip_discard(archive);
        return fail(error, failure);
    };
    std::vector<QByteArray> linkTargets(size_t(m_items.size()));
    qint64 totalBytes = 0;
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        const auto &item = m_items[i];
        ZipSourcePtr source(sourceFor(archive, item.sourcePath, item.isLink, &linkTargets[i]));
        const auto name = item.entryName.toUtf8();
        const auto index =
            source ? zip_file_add(archive, name.constData(), source.get(), ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0)
            return discardWith(ArchiveErrors::writeFailed(
                item.entryName, QString::fromLocal8Bit(zip_strerror(archive))));
        source.release(); // the archive owns it now
        if (item.isLink)
            zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                             zip_uint32_t(S_IFLNK | 0777) << 16);
        else if (!item.sourcePath.isEmpty()) {
            struct stat info {};
            if (::stat(QFile::encodeName(item.sourcePath).constData(), &info) == 0) {
                zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                                 zip_uint32_t(S_IFREG | (info.st_mode & 0777))
                                                     << 16);
                totalBytes += info.st_size;
            }
        }
        if (!m_password.isEmpty() &&
            zip_file_set_encryption(archive, zip_uint64_t(index), ZIP_EM_AES_256,
                                    m_password.toUtf8().constData()) != 0)
            return discardWith(ArchiveErrors::writeFailed(
                item.entryName, QString::fromLocal8Bit(zip_strerror(archive))));
    }
    CallbackState state{m_delegate, totalBytes, m_items.size()};
    if (m_delegate) {
        zip_register_progress_callback_with_state(archive, 0.01, progressCallback, nullptr, &state);
        zip_register_cancel_callback_with_state(archive, cancelCallback, nullptr, &state);
    }
    if (zip_close(archive) != 0) {
        const bool cancelled = m_delegate && m_delegate->isArchiveCancelled();
        const auto message = QString::fromLocal8Bit(zip_strerror(archive));
        return discardWith(
            cancelled ? ArchiveErrors::cancelled()
                      : ArchiveErrors::writeFailed(QFileInfo(m_target).fileName(), message));
    }
    if (m_delegate) // libzip's last fraction may fall short of 1
        progressCallback(nullptr, 1.0, &state);
    return true;
}
