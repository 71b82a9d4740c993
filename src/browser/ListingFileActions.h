#pragma once

#include "Error.h"
#include "KPDocumentPickerItem.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class LocalStorageViewController;

// The listing screen's actions on items of the home folder tree: new folder, delete (into the
// trash after a sheet that names what goes, or for good: ItemDeletion), rename, move through
// the folder selector or a drop (asking about each namesake in the destination:
// MoveIntoFolder), copy and cut onto the system clipboard and paste from it (FileClipboard,
// CopyIntoFolder; a paste after a cut moves), duplicate, and opening with the desktop's
// application. Sheets and notices go to the screen that owns these actions; once an action is
// over its folder is listed again, and edit mode left where the action says so. Deleting,
// moving and copying run on a worker behind the progress overlay (FileActionJob); a rename is
// a single system call and runs at once.
//
// Thread-safety: main thread only.
class ListingFileActions : public QObject {
    Q_OBJECT

public:
    explicit ListingFileActions(LocalStorageViewController *screen);

    void createFolder();
    // The screen's selection into the trash, or for good.
    void deleteSelection(bool forGood);
    // One row's item (by name) into the trash, the sheet's text as its title.
    void deleteItem(const QString &name);
    void presentRenameDialog(const KPDocumentPickerItemPtr &item);
    void presentFolderSelector(const QStringList &sourceFiles);
    // Moves `sources` into the folder at picker path `destination`, as chosen in the selector
    // or by a drop: notices for failures, edit mode left, the folder listed again.
    void moveInto(const QStringList &sources, const QString &destination);
    // The items at `paths` go on the system clipboard, to be copied where pasted (moved, after
    // a cut); a notice says so.
    void copyItems(const QStringList &paths, bool cut);
    // The clipboard's files into the screen's folder, copied (moved after a cut) behind the
    // overlay, namesakes asked about; a cut's clipboard is emptied once all have moved.
    void paste();
    void duplicate(const QString &path);
    // Opens the item at `path` with the desktop's application for its kind (the portal's when
    // sandboxed, as Qt does it); a failure is said in a notice.
    void openWithDefaultApp(const QString &path);

private:
    void rename(const KPDocumentPickerItemPtr &item, const QString &newName);
    // One notice per failure; `fallback` for a failure that carries no message.
    void showFailures(const QList<Error> &failures, const QString &fallback);
    // What runs once an action is over: the failures said, the folder listed again, and edit
    // mode left when `leavesEditing`.
    std::function<void(const QList<Error> &)> whenDone(const QString &fallback,
                                                       bool leavesEditing);

    LocalStorageViewController *m_screen;
};
