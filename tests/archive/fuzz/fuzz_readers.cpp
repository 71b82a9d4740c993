// libFuzzer target for the in-process readers: each input is taken as a zip and as a
// tar-route archive, listed and unpacked through the same job the engine runs.
// Build with -DOMBRISK_FUZZ=ON and clang; run: fuzz_archive_readers -max_total_time=600 CORPUS

#include <ExtractionJob.h>
#include <LibarchiveBackend.h>
#include <ZipBackend.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

namespace {

void unpack(ArchiveBackend &backend, ArchiveKind kind, const QString &archive,
            const QString &destination)
{
    ArchiveListing listing;
    backend.list(archive, QStringLiteral("password"), &listing, nullptr);
    Error error;
    ExtractionJob::run(backend, kind, archive, destination, QStringLiteral("password"), nullptr,
                       &error);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir work;
    const auto archive = work.filePath(QStringLiteral("input.bin"));
    {
        QFile file(archive);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const auto destination = work.filePath(QStringLiteral("out/dest"));
    ZipBackend zip;
    unpack(zip, ArchiveKind::Zip, archive, destination);
    LibarchiveBackend tar;
    unpack(tar, ArchiveKind::Tar, archive, destination);
    QDir(work.filePath(QStringLiteral("out"))).removeRecursively();
    return 0;
}
