#include "ZipTarget.h"

#include "ArchiveErrors.h"
#include "FolderHandle.h"

#include <FileNameCodec.h>
#include <LocalPaths.h>
#include <NoReplaceRename.h>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName(); // text only: no file system call
}

Error takenError(const QString &target)
{
    return ArchiveErrors::invalidZipTarget(
        ArchiveErrors::tr("“%1” already exists; nothing was packed. Choose another name.")
            .arg(fileName(target)));
}

} // namespace

ZipTarget::ZipTarget(QString targetPath, Existing existing)
    : m_target(LocalPaths::absolute(targetPath)), m_existing(existing)
{
}

ZipTarget::~ZipTarget()
{
    if (!m_workPath.isEmpty())
        ::unlink(FileNameCodec::encode(m_workPath).constData());
}

bool ZipTarget::check(Error *error) const
{
    struct stat info {};
    if (::lstat(FileNameCodec::encode(m_target).constData(), &info) != 0)
        return true;
    struct stat followed {};
    if (S_ISDIR(info.st_mode) ||
        (S_ISLNK(info.st_mode) &&
         ::stat(FileNameCodec::encode(m_target).constData(), &followed) == 0 &&
         S_ISDIR(followed.st_mode)))
        return fail(error, ArchiveErrors::invalidZipTarget(
                               ArchiveErrors::tr("“%1” is a folder; a zip archive can't replace "
                                                 "it.")
                                   .arg(fileName(m_target))));
    return m_existing == Existing::Replace || fail(error, takenError(m_target));
}

bool ZipTarget::reserve(Error *error)
{
    const auto folder = LocalPaths::parent(m_target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate =
            QStringLiteral("%1/.ombrisk-packing-%2.zip")
                .arg(folder)
                .arg(QRandomGenerator::system()->generate() & 0xffffff, 6, 16, QLatin1Char('0'));
        // 0666 less the umask: the zip gets the mode a new file gets (libzip keeps it).
        const Fd file(::open(FileNameCodec::encode(candidate).constData(),
                             O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (file.isValid()) {
            m_workPath = candidate;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    return fail(error, ArchiveErrors::writeFailed(fileName(m_target),
                                                  QString::fromLocal8Bit(std::strerror(errno))));
}

bool ZipTarget::putInPlace(Error *error)
{
    const auto from = FileNameCodec::encode(m_workPath);
    const auto to = FileNameCodec::encode(m_target);
    const bool moved = m_existing == Existing::Replace
                           ? ::rename(from.constData(), to.constData()) == 0
                           : NoReplaceRename::move(AT_FDCWD, from.constData(), AT_FDCWD,
                                                   to.constData());
    if (!moved)
        return fail(error, errno == EEXIST ? takenError(m_target)
                                           : ArchiveErrors::fromErrno(errno, fileName(m_target)));
    m_workPath.clear();
    return true;
}
