#include "ArchiverManager.h"

#include "ExtractionJob.h"
#include "LibarchiveBackend.h"
#include "SevenZipBackend.h"
#include "UnarBackend.h"
#include "ZipBackend.h"
#include "ZipWriter.h"

#include <QDir>
#include <QSaveFile>
#include <QUuid>
#include <memory>

namespace {

std::unique_ptr<ArchiveBackend> backendFor(ArchiveKind kind)
{
    switch (kind) {
    case ArchiveKind::Zip:
        return std::make_unique<ZipBackend>();
    case ArchiveKind::Rar:
        return std::make_unique<UnarBackend>();
    case ArchiveKind::SevenZip:
        return std::make_unique<SevenZipBackend>();
    case ArchiveKind::Tar:
        return std::make_unique<LibarchiveBackend>();
    case ArchiveKind::None:
        break;
    }
    return nullptr;
}

bool decompressWith(ArchiveKind kind, const QString &path, const QString &destPath,
                    const QString &password, Error *error, ArchiveProgressDelegate *delegate)
{
    auto backend = backendFor(kind);
    return ExtractionJob::run(*backend, kind, path, destPath, password, delegate, error);
}

} // namespace

bool ArchiverManager::checkNeedPassword(const QString &path)
{
    const auto kind = ArchiveKinds::kindForPath(path);
    auto backend = backendFor(kind);
    if (!backend || kind == ArchiveKind::Tar)
        return false;
    ArchiveListing listing;
    backend->list(path, QString(), &listing, nullptr);
    return listing.needsPassword;
}

bool ArchiverManager::decompressAtPath(const QString &path, const QString &destPath,
                                       const QString &password, Error *error,
                                       ArchiveProgressDelegate *delegate)
{
    switch (ArchiveKinds::kindForPath(path)) {
    case ArchiveKind::Zip:
        return decompressZipAtPath(path, destPath, password, error, delegate);
    case ArchiveKind::Rar:
        return decompressRarAtPath(path, destPath, password, error, delegate);
    case ArchiveKind::SevenZip:
        return decompress7zAtPath(path, destPath, password, error, delegate);
    case ArchiveKind::Tar:
        return decompressTarAtPath(path, destPath, error, delegate);
    case ArchiveKind::None:
        break;
    }
    return false;
}

bool ArchiverManager::decompressZipAtPath(const QString &path, const QString &destPath,
                                          const QString &password, Error *error,
                                          ArchiveProgressDelegate *delegate)
{
    return decompressWith(ArchiveKind::Zip, path, destPath, password, error, delegate);
}

bool ArchiverManager::decompressRarAtPath(const QString &path, const QString &destPath,
                                          const QString &password, Error *error,
                                          ArchiveProgressDelegate *delegate)
{
    return decompressWith(ArchiveKind::Rar, path, destPath, password, error, delegate);
}

bool ArchiverManager::decompress7zAtPath(const QString &path, const QString &destPath,
                                         const QString &password, Error *error,
                                         ArchiveProgressDelegate *delegate)
{
    return decompressWith(ArchiveKind::SevenZip, path, destPath, password, error, delegate);
}

bool ArchiverManager::decompressTarAtPath(const QString &path, const QString &destPath,
                                          Error *error, ArchiveProgressDelegate *delegate)
{
    return decompressWith(ArchiveKind::Tar, path, destPath, QString(), error, delegate);
}

QList<ArchiveEntry> ArchiverManager::listEntriesAtPath(const QString &path, const QString &password,
                                                       Error *error)
{
    const auto kind = ArchiveKinds::kindForPath(path);
    auto backend = backendFor(kind);
    if (!backend) {
        fail(error, ArchiveErrors::unsupportedKind(path));
        return {};
    }
    ArchiveListing listing;
    Error listError;
    if (!backend->list(path, password, &listing, &listError)) {
        fail(error, listError.code == ArchiveErrors::PasswordRequired
                        ? ArchiveErrors::passwordRequired(kind)
                        : listError);
        return {};
    }
    return listing.entries;
}

void ArchiverManager::compressZipAtPaths(const QStringList &paths, const QString &destPath,
                                         const QString &password, Error *error,
                                         ArchiveProgressDelegate *delegate)
{
    createZipFileAtPath(destPath, paths, password, error, delegate);
}

bool ArchiverManager::createZipFileAtPath(const QString &path, const QStringList &contents,
                                          const QString &password, Error *error,
                                          ArchiveProgressDelegate *delegate)
{
    return ZipWriter(path, password, delegate).write(contents, error);
}

QString ArchiverManager::temporaryPathForDiscardableFile()
{
    static const QString path = [] {
        const auto folder =
            QDir::temp().filePath(QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
        if (!QDir().mkpath(folder))
            return QString();
        const auto file = folder + QStringLiteral("/.DS_Store");
        QSaveFile placeholder(file);
        if (placeholder.open(QIODevice::WriteOnly))
            placeholder.commit();
        return file;
    }();
    return path;
}
