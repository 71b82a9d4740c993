#pragma once

#include "Error.h"
#include "FileContentCopy.h"
#include "NameClashQuestion.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ViewController;

// Copying items into a folder (a paste, a duplicate), asking about namesakes as a move does
// (ItemsIntoFolder): Replace puts the namesake in the trash once the copy is whole, and brings
// it back should the copy fail to take its place; Keep Both gives the copy the next free name;
// an item copied into the folder it lies in keeps both without asking ("notes 2.txt"). Each
// copy is made whole under a hidden name first (ItemCopy), so a copy cut short, failed or
// cancelled leaves nothing behind. A folder is never copied into itself.
//
// The copies run on the file actions' worker behind the overlay, with the share of bytes done
// and Cancel.
//
// Thread-safety: `run` on the main thread; `copyOne` on any thread.
class CopyIntoFolder {
    Q_DECLARE_TR_FUNCTIONS(CopyIntoFolder)

public:
    CopyIntoFolder() = delete;

    using Answer = NameClashQuestion::Answer;

    // Copies `source` into `folder` as answered; without an answer only onto a free name, or
    // onto the next free one in the source's own folder.
    static bool copyOne(const QString &source, const QString &folder, std::optional<Answer> answer,
                        const FileContentCopy::Advance &advance, Error *error);

    // Copies `sources` (absolute paths) into `folder` (absolute), asking on `presenter`, where
    // the folder is called `folderName`. `finished` gets the failures, in order (a cancel is
    // one, for the item it stopped); dropped if `presenter` is gone by then.
    static void run(ViewController *presenter, const QStringList &sources, const QString &folder,
                    const QString &folderName,
                    std::function<void(const QList<Error> &failures)> finished);
};
