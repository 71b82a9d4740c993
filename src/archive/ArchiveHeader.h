#pragma once

#include <QByteArrayView>

// Whether the first bytes of a decompressed stream begin an archive of the kinds a compressed
// stream may hold, judged by the headers themselves: a tar header whose checksum adds up
// (ustar, GNU or old-style), or a cpio header's magic. A stream of zeros, which the tar
// reader takes for an empty archive, is no archive: it is one compressed file.
namespace ArchiveHeader {

bool beginsArchive(QByteArrayView firstBytes);

} // namespace ArchiveHeader
