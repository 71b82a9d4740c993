#pragma once

#include "Descriptors.h"

#include <QByteArray>
#include <dirent.h>
#include <functional>
#include <sys/types.h>

// Descriptors of folders, and the walks below a root folder that never follow a link: every
// step is taken relative to a descriptor, so no path is resolved twice and a folder swapped
// for a link meanwhile stops the walk instead of leading elsewhere.
//
// Thread-safety: the functions keep no state (but the umask, read once).

namespace FolderHandle {

// Opens `name`, a folder directly in `folderFd`, refusing a link (ENOTDIR). `flags` adds to
// O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC: O_PATH to walk on, O_RDONLY to list or change it.
Fd openChild(int folderFd, const char *name, int flags);

// Opens the folder `relative` ('/'-separated names, none of them "." or "..") below `rootFd`,
// through no link (openat2 with RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS where the kernel has it,
// else one component at a time). With `create`, missing folders are made with folderMode().
// An empty `relative` opens the root again. On failure the Fd is invalid and errno says why.
Fd openBeneath(int rootFd, const QByteArray &relative, bool create, int flags);

// Removes the item `name` of `folderFd`, a folder with everything in it, following no link;
// folders are given owner rwx first so a read-only one goes too. False with errno set when
// some item could not be removed (the rest is removed all the same).
bool removeTree(int folderFd, const char *name);

// Calls `visit` for each item of the folder open as `folderFd` (read access), "." and ".."
// left out, until it returns false. Items may be removed or renamed away meanwhile (readdir
// copes with that), never added. False when the folder can't be listed, or its listing fails
// part way (errno set: the walk was partial), or `visit` stopped (errno as `visit` left it).
bool forEachItem(int folderFd, const std::function<bool(const dirent &)> &visit);

// Removes everything in the folder open as `folderFd` (read access), as removeTree does, with
// two descriptors whatever the depth (TreeWalk).
bool removeContents(int folderFd);

// 0755 less the process's umask: the mode of folders unpacked without one.
mode_t folderMode();

} // namespace FolderHandle
