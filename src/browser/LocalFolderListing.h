#pragma once

#include "KPDocumentPickerItem.h"

#include <QObject>
#include <QString>
#include <functional>

// The disk side of the listing screens: how one folder reads into items, and the title of a
// folder by its picker path ("/" is the home folder, "/A/B" a folder in it; HomePaths says
// where it lies on disk).
//
// Reading: every entry whose name does not begin with "." becomes an item; links are not
// followed (a link to a folder is not a folder); folders get size 0; an entry whose attributes
// can't be read is a file of size 0 without a date; a folder that can't be read gives no items.
// The items come in the order the file system gives; sorting is the item manager's.
//
// Thread-safety: stateless; may be called from any thread.
namespace LocalFolderListing {

KPDocumentPickerItems itemsInFolder(const QString &folderPath);
// Reads the folder on a worker thread and hands the items to `handler` on the main thread,
// `delaySeconds` after the call or once read, whichever is later; never if `context` is gone.
// A big folder thus never holds up the interface while it is read.
void itemsInFolderLater(const QString &folderPath, double delaySeconds, QObject *context,
                        std::function<void(const KPDocumentPickerItems &)> handler);

// The last component of the picker path; "Documents" for "/" and "".
QString titleForFilePath(const QString &pickerPath);

// What to tell a user who has just made or renamed an item to `typedName` (a name, or nested
// names "a/b") when the listing will not show it, a component beginning with "."; empty
// otherwise.
QString hiddenNameNotice(const QString &typedName);

} // namespace LocalFolderListing
