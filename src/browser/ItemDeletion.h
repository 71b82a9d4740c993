#pragma once

#include "Error.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class ViewController;
struct TrashEntry;

// Deleting items of the home folder tree: into the trash, unless the user asks to delete for
// good (Shift+Delete) or the items' file system has no trash to use, and then for good. A sheet
// first names what goes and how; the work runs on the file actions' worker behind the overlay
// (FileActionJob), counting the items, with Cancel (which stops before the next item: a
// deletion for good keeps what it had not reached). After a move to the trash the screen's notice
// offers "Undo" for a few seconds, which puts every item back where it was; when more than a GiB
// went, a further notice says how much the trash now holds (reckoned on a worker after the move).
//
// Thread-safety: main thread only.
class ItemDeletion {
    Q_DECLARE_TR_FUNCTIONS(ItemDeletion)

public:
    ItemDeletion() = delete;

    static constexpr double undoSeconds = 6;
    static constexpr qint64 bigMove = qint64(1) << 30;

    // Asks on `screen` to delete the items `names` of the folder `folder` (absolute), then
    // deletes them; their paths are made on the worker, so a selection of any size costs the
    // main thread only its names. `inTitle`: the sheet's text stands as its title (a row's
    // menu) rather than its message (the toolbar). `changed` runs with the failures, in order,
    // after the deletion and after an undo; it is not run when the sheet is cancelled.
    static void confirm(ViewController *screen, const QString &folder, const QStringList &names,
                        bool forGood, bool inTitle,
                        std::function<void(const QList<Error> &failures)> changed);

    // What the sheet says of `count` items, the first named `firstName`: that they go to the
    // trash, or that they will be deleted and cannot be recovered.
    static QString sheetText(bool toTrash, int count, const QString &firstName);

    // What one move put in the trash, shared by its Undo and the size check.
    using Entries = std::shared_ptr<const QList<TrashEntry>>;

private:
    static void run(ViewController *screen, const QString &folder, const QStringList &names,
                    bool toTrash, std::function<void(const QList<Error> &failures)> changed);
    static void offerUndo(ViewController *screen, const Entries &entries,
                          std::function<void(const QList<Error> &failures)> changed);
    static void sayWhenTheTrashGrewBig(ViewController *screen, const Entries &entries);
};
