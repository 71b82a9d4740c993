#pragma once

#include "Error.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

// Runs the file operations of one action (removing a big folder, moving a tree across file
// systems) on a worker, behind the shared progress overlay, so the window never waits for
// the disk. The operations run one after another, in order; a failing one does not stop the
// next. When all have run the overlay goes and `finished` gets the failures, in order, on the
// main thread: only then does the screen list again or leave edit mode, as it would after a
// synchronous run.
//
// Thread-safety: `run` is called on the main thread. Operations run on the serial queue
// "LocalStorageViewController.fileActionQueue" and must only touch the disk and the values they
// captured. `finished` is dropped when `context` is gone by then; the overlay goes regardless.
namespace FileActionJob {

using Operation = std::function<bool(Error *error)>;

void run(const QString &status, QList<Operation> operations, QObject *context,
         std::function<void(const QList<Error> &failures)> finished);

} // namespace FileActionJob
