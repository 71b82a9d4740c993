#pragma once

#include "FolderHandle.h"

#include <archive.h>
#include <memory>
#include <vector>

struct inflate_state;

// A gzip file handed to libarchive already inflated, by ISA-L: its inflate is two to three
// times as fast as zlib's, which libarchive's own gzip filter uses, and listing a tar.gz is
// almost all inflating. Members follow one another as gzip allows ("cat a.gz b.gz"); bytes after
// the last member that don't begin another are left alone, as libarchive's filter leaves them.
// A damaged member (a checksum included) or a stream cut short fails the read.
//
// Thread-safety: one stream, one thread; it must outlive the archive it is opened on.
class GzipStream {
public:
    explicit GzipStream(Fd file);
    ~GzipStream();
    GzipStream(const GzipStream &) = delete;
    GzipStream &operator=(const GzipStream &) = delete;

    // Whether the file open as `fd` begins with a gzip member's signature (read with pread).
    static bool beginsGzip(int fd);

    // Opens `archive`, its formats chosen, on the inflated content; libarchive's status.
    int openOn(struct archive *archive);
    // Why the inflated content ended early, or null: libarchive's readers put their own
    // "truncated input" in its place.
    const char *failure() const { return m_failure; }

private:
    la_ssize_t read(struct archive *archive, const void **buffer);
    bool refill(); // false on a read failure
    bool nextMemberFollows(bool *follows);
    la_ssize_t fail(struct archive *archive, int code, const char *message);

    Fd m_file;
    std::unique_ptr<inflate_state> m_state;
    std::vector<unsigned char> m_input;
    std::vector<unsigned char> m_output;
    bool m_endOfFile = false;
    bool m_finished = false;
    const char *m_failure = nullptr;
    int m_readErrno = 0;
};
