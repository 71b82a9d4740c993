#pragma once

#include "FolderHandle.h"

#include <Error.h>
#include <QByteArray>
#include <QString>

// The archive file a call names, looked at before any reader opens it: only a regular file is
// read. A fifo would hold every reader (and the caller) until something writes to it; a device
// or a folder is no archive. Paths keep names that are not UTF-8 (FileNameCodec).
//
// Thread-safety: pure functions.
namespace ArchiveFile {

// Fails with UnreadableArchive when nothing is at `path` or it is not a regular file (links
// are followed: a link to an archive is that archive).
bool check(const QString &path, Error *error);

// The file opened for reading, refused as check() refuses, without ever waiting on a fifo put
// in its place meanwhile. Invalid on failure.
Fd open(const QString &path, Error *error);

// "/proc/self/fd/N": the file open as `fd` for whoever opens this path, a tool that inherited
// the descriptor included. No name of the user's reaches a tool that reads names as patterns.
QByteArray descriptorPath(int fd);

// The file's size in bytes, 0 when it can't be told.
qint64 size(const QString &path);

} // namespace ArchiveFile
