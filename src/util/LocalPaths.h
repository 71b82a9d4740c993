#pragma once

#include <QString>

// Path operations that keep names which are not UTF-8 (FileNameCodec): QFileInfo and QDir
// resolve paths through Qt's own conversion, which turns such names into others.
//
// Thread-safety: pure functions (absolute() reads the working directory).
namespace LocalPaths {

// `path` made absolute against the working directory, with "." and ".." and doubled "/" taken
// out as text (QDir::cleanPath).
QString absolute(const QString &path);

// The folder holding the item an absolute clean path names ("/" for "/x").
QString parent(const QString &absolutePath);

// `path` with every link resolved (realpath), or empty when some part of it is missing or it
// can't be resolved.
QString canonical(const QString &path);

} // namespace LocalPaths
