// libFuzzer target for the in-process readers: each input is unpacked as a zip (libzip, and
// the AES reader when a password is given), as a tar-route archive (libarchive: tar,
// cpio, iso, the compressed streams) and as an unencrypted 7z (libarchive), through the same job the engine runs, entry checks
// included. Beyond crashes it aborts when an unpacking breaks one of the engine's promises:
// a failure leaves the destination as it was and nothing beside it; a success leaves no
// device, set-id file or link leading out of the destination, and nothing outside it.
// Build and run: tests/archive/fuzz/run.sh [SECONDS]

#include "FuzzSupport.h"

#include <ExtractionJob.h>
#include <LibarchiveBackend.h>
#include <ZipBackend.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <QFileInfo>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using FuzzSupport::require;

namespace {

QStringList namesIn(const QString &folder)
{
    auto names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                        QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Walks by descriptors and names as bytes: names need not be UTF-8 (they keep their bytes), and
// a deep tree's paths may be longer than a path may be.
void checkUnpacked(int folderFd, const QByteArray &root)
{
    const int listingFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *listing = listingFd >= 0 ? ::fdopendir(listingFd) : nullptr;
    require(listing != nullptr, "every unpacked folder can be listed");
    while (const dirent *item = ::readdir(listing)) {
        const QByteArray name(item->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat info {};
        require(::fstatat(folderFd, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0,
                "every unpacked item can be looked at");
        require(S_ISREG(info.st_mode) || S_ISDIR(info.st_mode) || S_ISLNK(info.st_mode),
                "no device, fifo or socket");
        require((info.st_mode & 06000) == 0, "no set-id bits");
        if (S_ISLNK(info.st_mode)) {
            char target[PATH_MAX];
            const auto through = "/proc/self/fd/" + QByteArray::number(folderFd) + '/' + name;
            if (::realpath(through.constData(), target))
                require(target == root || QByteArray(target).startsWith(root + '/'),
                        "no link leads out of the destination");
        } else if (S_ISDIR(info.st_mode)) {
            const int child = ::openat(folderFd, name.constData(),
                                       O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            require(child >= 0, "every unpacked folder can be opened");
            checkUnpacked(child, root);
            ::close(child);
        }
    }
    ::closedir(listing);
}

void checkUnpacked(const QString &dest)
{
    char root[PATH_MAX];
    require(::realpath(QFile::encodeName(dest).constData(), root) != nullptr,
            "the destination is there");
    const int folder = ::open(root, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    checkUnpacked(folder, root);
    ::close(folder);
}

void unpack(ArchiveBackend &backend, ArchiveKind kind, const QString &archive,
            const QString &password, const QString &out)
{
    const auto dest = out + QStringLiteral("/dest");
    QDir().mkpath(dest);
    {
        QFile mine(dest + QStringLiteral("/mine.txt"));
        if (!mine.open(QIODevice::WriteOnly) || mine.write("mine") != 4)
            std::abort();
    }
    Error error;
    const bool done = ExtractionJob::run(backend, kind,
                                         {archive, dest, password, ReplacedItems::Delete},
                                         nullptr, nullptr, &error);
    require(namesIn(out) == QStringList{QStringLiteral("dest")},
            "nothing is left beside the destination");
    if (done) {
        checkUnpacked(dest);
    } else {
        require(error.isSet() && !error.message.isEmpty(), "a failure says why");
        require(namesIn(dest) == QStringList{QStringLiteral("mine.txt")} &&
                    contentOf(dest + QStringLiteral("/mine.txt")) == "mine",
                "a failure leaves the destination as it was");
    }
    // By bytes: an entry name that is not UTF-8 keeps its bytes, which QDir could not name again.
    std::filesystem::remove_all(QFile::encodeName(out).toStdString());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto archive = FuzzSupport::writeInput(data, size, QStringLiteral("input.bin"));
    if (archive.isEmpty())
        return 0;
    const auto &work = FuzzSupport::workFolder();
    const auto out = work.filePath(QStringLiteral("out"));
    ZipBackend zip;
    unpack(zip, ArchiveKind::Zip, archive, QString(), out);
    unpack(zip, ArchiveKind::Zip, archive, QStringLiteral("password"), out);
    LibarchiveBackend tar;
    unpack(tar, ArchiveKind::Tar, archive, QString(), out);
    LibarchiveBackend sevenZip(LibarchiveBackend::Formats::SevenZip);
    unpack(sevenZip, ArchiveKind::SevenZip, archive, QString(), out);
    require(namesIn(work.path()) == QStringList{QStringLiteral("input.bin")},
            "nothing is written outside the destination");
    return 0;
}
