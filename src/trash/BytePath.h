#pragma once

#include <QByteArray>

// Paths as the file system's bytes, taken apart and joined without a round trip through text
// (a name that is not UTF-8 stays as it is).
//
// Thread-safety: no state.
namespace BytePath {

// The folder holding `path`: "/" for an item of the root (or a path without a slash).
inline QByteArray parentOf(const QByteArray &path)
{
    const auto slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

inline QByteArray leafOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

inline QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

} // namespace BytePath
