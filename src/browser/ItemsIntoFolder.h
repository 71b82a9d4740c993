#pragma once

#include "Error.h"
#include "FileActionJob.h"
#include "NameClashQuestion.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class ViewController;

// The steps every way of putting items into a folder shares (a move, a paste, a duplicate): on
// the file actions' worker, the items meeting a namesake there are found
// (MoveIntoFolder::clashes); the user is asked about them (NameClashQuestion); then each item
// is put in, in order, on the worker, with its answer (none for an item without a clash), and
// none from a Stop on. What putting in means is the caller's `put`.
//
// Thread-safety: `run` on the main thread; `put` runs on the worker.
namespace ItemsIntoFolder {

using Answer = NameClashQuestion::Answer;
using Put = std::function<bool(const QString &source, std::optional<Answer> answer, Error *error)>;

// Puts `sources` (absolute paths) into `folder` (absolute), asking on `presenter`, where the
// folder is called `folderName`; the overlay says `status`. With `progress`, the bytes of the
// items are counted first and the overlay shows their share done and Cancel (heard from the
// first step on). `finished` gets
// the failures, in order; dropped if `presenter` is gone by then.
void run(ViewController *presenter, const QStringList &sources, const QString &folder,
         const QString &folderName, const QString &status, Put put,
         std::function<void(const QList<Error> &failures)> finished,
         std::shared_ptr<FileActionJob::Progress> progress = {});

} // namespace ItemsIntoFolder
