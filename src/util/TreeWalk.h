#pragma once

#include <QByteArray>
#include <functional>
#include <sys/types.h>
#include <vector>

// A depth-first walk of the tree below a folder that holds two descriptors whatever the depth:
// a folder's names are read whole (and its listing closed) before any of its subfolders is
// entered, and the walk climbs back up through "..", checked by device and inode to be the
// folder it came down from. A tree as deep as a hostile archive makes it thus never runs out
// of descriptors, and nothing but names is kept per level. No link is ever followed.
//
// Thread-safety: no state beyond one run.
namespace TreeWalk {

struct Item {
    QByteArray name;
    unsigned char type; // d_type: DT_DIR, DT_REG, DT_LNK, ... or DT_UNKNOWN
    ino_t inode;        // d_ino
};

enum class Step { Next, Enter, Stop };

struct Visitor {
    // An item of the folder open as `folderFd` (read access), `relative` its path from the
    // root. Enter walks into it (a folder; through a link it fails with ELOOP or ENOTDIR).
    std::function<Step(int folderFd, const Item &item, const QByteArray &relative)> visit;
    // After the last item of an entered folder, with its parent open as `parentFd`. False
    // stops the walk.
    std::function<bool(int parentFd, const Item &folder, const QByteArray &relative)> left;
    // A folder that can't be entered or listed (errno set): true to go on without it.
    std::function<bool(const QByteArray &relative)> unreadable;
    // A folder's names, read (the root's too), before its first item is visited: its items
    // are visited in this order.
    std::function<void(const QByteArray &relative, const std::vector<Item> &items)> listed = {};
};

// False when the visitor stopped it (errno as the visitor left it), or a folder could not be
// read and `unreadable` said to stop, or the way up was not the way down (ESTALE).
bool run(int rootFd, const Visitor &visitor);

} // namespace TreeWalk
