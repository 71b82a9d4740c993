// libFuzzer target for the zip reader alone, quicker per input than a whole unpacking: each
// input is read as a zip (its central directory, then the listing as the engine makes it) and
// every entry's data is read, without a password and with one. Beyond crashes it aborts when
// the reader breaks a promise: it never hands over more than an entry declares, a success
// hands over exactly that, and a failure says why.
// Build and run: tests/archive/fuzz/run.sh [SECONDS] [BUILD_DIR] zip

#include "FuzzSupport.h"

#include <ZipBackend.h>
#include <ZipDirectory.h>
#include <ZipEntryReader.h>

#include <cstdint>

using FuzzSupport::require;

namespace {

constexpr qsizetype entriesRead = 64; // AES derives a key per entry: a few suffice
constexpr qint64 largestRead = 64 << 20; // bzip2 turns a few KB into gigabytes

void readEntries(const std::shared_ptr<const ZipDirectory> &directory, const QByteArray &password)
{
    ZipEntryReader reader(directory, password);
    for (qsizetype i = 0; i < std::min(directory->size(), entriesRead); ++i) {
        const auto declared = qint64(directory->entry(i).size);
        if (declared > largestRead)
            continue;
        qint64 delivered = 0;
        const auto count = [&](const char *, qint64 size, Error *) {
            delivered += size;
            require(size > 0 && delivered <= declared, "no more data than declared");
            return true;
        };
        Error error;
        if (reader.read(i, QStringLiteral("entry"), nullptr, count, &error))
            require(delivered == declared && !error.isSet(), "a success gives all it declares");
        else
            require(error.isSet() && !error.message.isEmpty(), "a failure says why");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto archive = FuzzSupport::writeInput(data, size, QStringLiteral("input.zip"));
    if (archive.isEmpty())
        return 0;
    Error error;
    const auto directory = ZipDirectory::read(archive, &error);
    require(directory || error.isSet(), "a directory that can't be read says why");
    if (!directory)
        return 0;
    ZipBackend backend;
    ArchiveListing listing;
    if (backend.list(archive, {}, &listing, nullptr, &error)) {
        require(listing.entries.size() == directory->size(), "the listing holds every entry");
        for (const auto &entry : listing.entries)
            require(entry.size >= 0, "sizes are never negative");
    }
    readEntries(directory, {});
    readEntries(directory, QByteArrayLiteral("password"));
    return 0;
}
