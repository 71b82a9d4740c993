#pragma once

#include <Error.h>
#include <FolderHandle.h>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <sys/types.h>

// Which trash serves which file system, and the trash folders opened for use. The home trash
// (AppDirectories::trashDirectory()) serves its own file system; any other is served by a
// trash at its top directory (the highest folder on the same device): $topdir/.Trash/$uid when
// $topdir/.Trash is a real folder with the sticky bit (shared by the users of a disk), else
// $topdir/.Trash-$uid. A trash folder of the user's must be a real folder the user owns, so
// another user can't plant a link or a folder of theirs to receive the user's items.
//
// Thread-safety: no state; safe on any thread.
namespace TrashLocation {

struct OpenTrash {
    QString directory;     // the trash folder
    QByteArray topdir;     // the top directory it serves; empty for the home trash
    Fd files;              // its files/ folder
    Fd info;               // its info/ folder
};

// The trash for items of the folder `folderPath` (absolute) on `device`, made ready: the trash
// folder and its files/ and info/ made when missing. Nothing, with the reason, when none can
// be used there; `itemName` names the item in that message.
std::optional<OpenTrash> forFolder(dev_t device, const QByteArray &folderPath,
                                   const QString &itemName, Error *error);

// An existing trash folder, opened to restore or remove its entries; nothing is made.
std::optional<OpenTrash> open(const QString &directory, Error *error);

// The folder a relative Path of `directory`'s info files starts from: the folder holding the
// trash, or for $topdir/.Trash/$uid the top directory.
QByteArray baseOf(const QString &directory);

// The home trash's path (AppDirectories::trashDirectory()).
QString homeTrash();

// The user's top-directory trashes already there, on the file systems of `folder` and of the
// mount points below it, other than the home trash's file system.
QStringList topdirTrashesAtOrBelow(const QString &folder);

} // namespace TrashLocation
