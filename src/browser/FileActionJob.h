#pragma once

#include "Error.h"
#include "FileContentCopy.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

// Runs the file operations of one action (removing a big folder, moving a tree across file
// systems) on a worker, behind the shared progress overlay, so the window never waits for
// the disk. The operations run one after another, in order; a failing one does not stop the
// next. When all have run `finished` gets the failures, in order, on the main thread, and then
// the overlay goes (a further step `finished` starts keeps it up): only then does the screen
// list again or leave edit mode, as it would after a synchronous run.
//
// A job of many items done in one go (`runBatch`) is one function that returns the failures
// itself, in order.
//
// A job given a `Progress` shows the overlay's Cancel and the fraction done (of bytes for a
// copy, of items for a batch): Cancel raises `cancelled`, which the running operation hears
// (a copy through `advance`) and which skips the operations not yet begun.
//
// Thread-safety: `run` is called on the main thread. Operations run on the serial queue
// "LocalStorageViewController.fileActionQueue" and must only touch the disk and the values they
// captured. `finished` is dropped when `context` is gone by then; the overlay goes regardless.
// `Progress` is shared by the worker and the main thread, each member safe on any thread.
namespace FileActionJob {

using Operation = std::function<bool(Error *error)>;
using Batch = std::function<QList<Error>()>;

class Progress {
public:
    std::atomic_bool cancelled{false};
    std::atomic<qint64> total{0}; // bytes (or items, for a batch); 0 while unknown
    std::atomic<qint64> done{0};

    // Counts the bytes of a copy and answers whether to go on.
    FileContentCopy::Advance advance();
    void setItem(const QString &name);
    QString item() const;

private:
    mutable QMutex m_mutex;
    QString m_item;
};

void run(const QString &status, QList<Operation> operations, QObject *context,
         std::function<void(const QList<Error> &failures)> finished,
         std::shared_ptr<Progress> progress = {});
void runBatch(const QString &status, Batch batch, QObject *context,
              std::function<void(const QList<Error> &failures)> finished,
              std::shared_ptr<Progress> progress = {});

} // namespace FileActionJob
