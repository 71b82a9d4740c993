#pragma once

#include <QByteArray>
#include <QList>
#include <optional>
#include <sys/types.h>

// Which staging folders this program made: one record per live staging folder, kept in the
// user's state folder (AppDirectories::stateDirectory()/staging, inside the root under --root),
// written before the folder is used and dropped once it is gone. Only a folder that matches a
// record (device, inode, owner and name) is the program's to sweep: a folder that merely bears
// a staging name (made by the user, brought by an archive, renamed) is the user's, and an
// archive or another user can't write a record.
//
// One file per record, named after the device and inode, so adding and dropping never touch
// another record and two processes never write the same file.
//
// Thread-safety: no state; safe on any thread and between processes.
namespace StagingRecords {

struct Record {
    dev_t device = 0;
    ino_t inode = 0;
    uid_t owner = 0;
    QByteArray place; // the folder holding the staging folder when it was made
    QByteArray name;  // the staging folder's own name
    QByteArray archiveName; // the archive being unpacked, for the names of what is kept
};

// Writes the record; false (errno set) when the state folder can't be written.
bool add(const Record &record);
void drop(dev_t device, ino_t inode);

// The record of the folder with this device and inode, if one was written.
std::optional<Record> find(dev_t device, ino_t inode);
QList<Record> all();

} // namespace StagingRecords
