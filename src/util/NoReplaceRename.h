#pragma once

// rename(2) that never replaces what is at the new name: renameat2 with RENAME_NOREPLACE, and
// where the file system refuses the flag (EINVAL, as ntfs-3g and other FUSE file systems do;
// ENOSYS on old kernels) a step that still does not replace. A file or link gets its new name
// with linkat, which fails when the name is taken, and then loses its old one. What can't be
// linked (a folder, or an item on a file system without hard links, such as exFAT through
// FUSE) is renamed once a look finds the name free: another process making an item of that
// name in the moment between could see it replaced (a folder only when empty). Staging folders
// are locked, so the engine's own processes never meet there.
//
// Thread-safety: no state.
namespace NoReplaceRename {

// True when moved; else false with errno set (EEXIST when the name is taken).
bool move(int fromFd, const char *from, int toFd, const char *to);

// The step taken where the flag is refused, which works on any file system.
bool moveWithoutTheFlag(int fromFd, const char *from, int toFd, const char *to);

} // namespace NoReplaceRename
