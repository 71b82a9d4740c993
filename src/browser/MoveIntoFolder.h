#pragma once

#include "Error.h"
#include "NameClashQuestion.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ViewController;

// Moving items into a folder as the user chose, replacing nothing blindly: the items that meet
// a namesake there are asked about first (NameClashQuestion). Replace puts the namesake in the
// trash, then the item in its place, and brings the namesake back should the item fail to go;
// Keep Both moves the item under the next free name (KeepBothMove); Stop moves nothing from
// that item on. An item without a clash never replaces what may have come meanwhile.
//
// The disk work runs on the file actions' worker behind the overlay (FileActionJob): first the
// look for namesakes, then, once everything is answered, the moves, in order.
//
// Thread-safety: `run` on the main thread; `clashes` and `moveOne` on any thread.
class MoveIntoFolder {
    Q_DECLARE_TR_FUNCTIONS(MoveIntoFolder)

public:
    MoveIntoFolder() = delete;

    using Answer = NameClashQuestion::Answer;

    // The positions in `sources` of the items whose name another item holds in `folder` (an
    // item "moved" onto itself meets no namesake).
    static QList<int> clashes(const QStringList &sources, const QString &folder);

    // Moves `source` into `folder` as answered (Replace or Keep Both); without an answer it
    // moves only onto a free name.
    static bool moveOne(const QString &source, const QString &folder,
                        std::optional<Answer> answer, Error *error);

    // Moves `sources` (absolute paths) into `folder` (absolute), asking on `presenter`, where
    // the folder is called `folderName`. `finished` gets the failures, in order, once all that
    // was to move has moved (after a Stop too); dropped if `presenter` is gone by then.
    static void run(ViewController *presenter, const QStringList &sources, const QString &folder,
                    const QString &folderName,
                    std::function<void(const QList<Error> &failures)> finished);

    // Puts an item where its namesake `target` is: the namesake to the trash first, then
    // `putInPlace`, and the namesake back should that fail. Refused, nothing touched, when the
    // namesake can't go to the trash.
    static bool replaceWith(const QString &target, const std::function<bool(Error *)> &putInPlace,
                            Error *error);

private:
    static bool replace(const QString &source, const QString &target, Error *error);
};
