#pragma once

#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <zip.h>

// Owners for the C handles of libzip and libarchive, each with its library's free function.
// A zip opened for writing is not owned this way: it must be closed or discarded explicitly.
struct ZipArchiveCloser {
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
struct ZipFileCloser {
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};
struct ZipSourceFreer {
    void operator()(zip_source_t *source) const { zip_source_free(source); }
};
struct ArchiveReadFreer {
    void operator()(struct archive *archive) const { archive_read_free(archive); }
};

using ZipArchivePtr = std::unique_ptr<zip_t, ZipArchiveCloser>;
using ZipFilePtr = std::unique_ptr<zip_file_t, ZipFileCloser>;
using ZipSourcePtr = std::unique_ptr<zip_source_t, ZipSourceFreer>;
using ArchiveReadPtr = std::unique_ptr<struct archive, ArchiveReadFreer>;
