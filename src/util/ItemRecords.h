#pragma once

#include "FolderHandle.h"

#include <QByteArray>
#include <QList>
#include <optional>
#include <sys/types.h>

// Which hidden work items this program made (an unpacking's staging folder, a copy being made
// aside): one record per live item, kept in the user's state folder
// (AppDirectories::stateDirectory()/<book>, inside the root under --root), written before the
// item is filled and dropped once it is gone. Only an item that matches a record (device,
// inode, owner and name) is the program's to sweep: one that merely bears such a name (made by
// the user, brought by an archive, renamed) is the user's, and an archive or another user
// can't write a record.
//
// One file per record, named after the device and inode, so adding and dropping never touch
// another record and two processes never write the same file.
//
// Thread-safety: no state; safe on any thread and between processes.
namespace ItemRecords {

enum class Book {
    Unpacking, // staging folders, each held under its own flock while in use
    Copying,   // copies made aside, each held by the flock on its record (addHeld)
};

struct Record {
    dev_t device = 0;
    ino_t inode = 0;
    uid_t owner = 0;
    QByteArray place; // the folder holding the item when it was made
    QByteArray name;  // the item's own name
    QByteArray archiveName; // an unpacking's archive, for the names of what is kept
};

// Writes the record; false (errno set) when the state folder can't be written.
bool add(Book book, const Record &record);
// Writes the record and returns it open under an exclusive flock, which marks the item as in
// use until the descriptor is closed (by this process's end too); invalid on failure.
Fd addHeld(Book book, const Record &record);
// Whether a live process holds the record (addHeld).
bool isHeld(Book book, dev_t device, ino_t inode);
void drop(Book book, dev_t device, ino_t inode);

// The record of the item with this device and inode, if one was written.
std::optional<Record> find(Book book, dev_t device, ino_t inode);
QList<Record> all(Book book);

} // namespace ItemRecords
