#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class ViewController;

// What to do with items that meet a namesake in the folder they are going to (a move, and
// whatever else puts items into a folder): asked once per clash, in order, in a dialog
// "“Pack” already exists in “Locked”." with "Replace", "Keep Both" (Enter) and "Stop"
// (Escape). While more than one clash is left, "Apply to all" carries the answer to the rest.
//
// Replace means the namesake goes to the trash before the item takes its place; Keep Both
// means the item takes the next free name (FreeItemName); Stop means nothing more goes in.
// What the answers do is the caller's.
//
// Thread-safety: main thread only.
class NameClashQuestion {
    Q_DECLARE_TR_FUNCTIONS(NameClashQuestion)

public:
    NameClashQuestion() = delete;

    enum class Answer { Replace, KeepBoth, Stop };

    // Asks on `presenter` about each of `names` (items clashing in the folder shown as
    // `folderName`) and hands `answered` one answer per name, Stop for each from the one
    // stopped at on. Nothing to ask: `answered` runs at once with no answers. Dropped if
    // `presenter` goes before the last answer.
    static void ask(ViewController *presenter, const QStringList &names, const QString &folderName,
                    std::function<void(const QList<Answer> &answers)> answered);

private:
    struct Asking;
    static void askNext(const std::shared_ptr<Asking> &asking);
    static void take(const std::shared_ptr<Asking> &asking, Answer answer, bool toAll);
};
