#include "ItemDeletion.h"

#include "AlertController.h"
#include "ByteCountFormatter.h"
#include "DispatchQueue.h"
#include "FileActionJob.h"
#include "FileNameCodec.h"
#include "FileOperations.h"
#include "Trash.h"
#include "Utils.h"

#include <QFileInfo>
#include <QPointer>
#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;

// The bytes of the files at and under `paths`, counted until `limit` is passed.
qint64 bytesUpTo(const QStringList &paths, qint64 limit)
{
    qint64 total = 0;
    std::error_code ec;
    for (const QString &path : paths) {
        const fs::path item = fs::path(QFile::encodeName(path).toStdString());
        if (fs::is_regular_file(fs::symlink_status(item, ec)))
            total += qint64(fs::file_size(item, ec));
        if (!fs::is_directory(fs::symlink_status(item, ec)))
            continue;
        for (auto it = fs::recursive_directory_iterator(
                 item, fs::directory_options::skip_permission_denied, ec);
             !ec && it != fs::recursive_directory_iterator() && total <= limit;
             it.increment(ec)) {
            if (it->is_regular_file(ec) && !it->is_symlink(ec))
                total += qint64(it->file_size(ec));
        }
        if (total > limit)
            break;
    }
    return total;
}

// The items `names` of `folder` into the trash, counted in `progress`; Cancel stops before the
// next few hundred.
Trash::BatchResult trashAll(const QString &folder, const QStringList &names,
                            FileActionJob::Progress &progress)
{
    QList<QByteArray> encoded;
    encoded.reserve(names.size());
    for (const QString &name : names)
        encoded.append(FileNameCodec::encode(name));
    return Trash::moveAllToTrash(folder, encoded, [&progress](qsizetype done) {
        progress.done = done;
        return !progress.cancelled;
    });
}

// The items `names` of `folder` removed for good, each failing alone, counted in `progress`;
// Cancel stops before the next item (an item under way is removed whole or fails alone).
QList<Error> removeAll(const QString &folder, const QStringList &names,
                       FileActionJob::Progress &progress)
{
    QList<Error> failures;
    for (const QString &name : names) {
        if (progress.cancelled)
            break;
        Error error;
        if (!FileOperations::removeItemAtPath(folder + u'/' + name, &error))
            failures.append(error);
        ++progress.done;
    }
    return failures;
}

DispatchQueue &sizeQueue()
{
    static DispatchQueue queue(QStringLiteral("ItemDeletion.trashSizeQueue"));
    return queue;
}

// What a move put in the trash, shared by its Undo and the size check. The last to let go may
// be the notice, on the main thread, and freeing 100,000 entries takes a while: freed on the
// size queue instead.
ItemDeletion::Entries freedOffMain(QList<TrashEntry> entries)
{
    return {new QList<TrashEntry>(std::move(entries)), [](const QList<TrashEntry> *held) {
                sizeQueue().async([owned = ItemDeletion::Entries(held)] {});
            }};
}

} // namespace

void ItemDeletion::confirm(ViewController *screen, const QString &folder,
                           const QStringList &names, bool forGood, bool inTitle,
                           std::function<void(const QList<Error> &)> changed)
{
    if (names.isEmpty())
        return;
    // One folder, one file system: the first item's trash stands for every item's.
    const bool toTrash =
        !forGood && Trash::trashDirectoryFor(folder + u'/' + names.first(), nullptr);
    const QString text = sheetText(toTrash, int(names.size()), names.first());
    auto *sheet = new AlertController(inTitle ? text : QString(""), inTitle ? QString("") : text,
                                      AlertController::Style::ActionSheet);
    QPointer<ViewController> weakScreen(screen);
    sheet->addAction(toTrash ? tr("Move to Trash") : tr("Delete from local folder"),
                     AlertAction::Style::Destructive,
                     [weakScreen, folder, names, toTrash, changed] {
                         if (weakScreen)
                             run(weakScreen, folder, names, toTrash, changed);
                     });
    sheet->addAction(tr("Cancel"), AlertAction::Style::Cancel);
    screen->present(sheet, true);
}

QString ItemDeletion::sheetText(bool toTrash, int count, const QString &firstName)
{
    if (toTrash)
        return count == 1 ? tr("“%1” will be moved to the Trash.").arg(firstName)
                          : tr("%n item(s) will be moved to the Trash.", nullptr, count);
    return count == 1 ? tr("“%1” will be deleted and cannot be recovered.").arg(firstName)
                      : tr("%n item(s) will be deleted and cannot be recovered.", nullptr, count);
}

void ItemDeletion::run(ViewController *screen, const QString &folder, const QStringList &names,
                       bool toTrash, std::function<void(const QList<Error> &)> changed)
{
    QPointer<ViewController> weakScreen(screen);
    auto progress = std::make_shared<FileActionJob::Progress>();
    progress->total = names.size();
    if (!toTrash) {
        FileActionJob::runBatch(
            tr("Deleting..."),
            [folder, names, progress] { return removeAll(folder, names, *progress); }, screen,
            changed, progress);
        return;
    }
    // Filled on the worker, read on the main thread once the job is over.
    auto trashed = std::make_shared<QList<TrashEntry>>();
    FileActionJob::runBatch(
        tr("Moving to the Trash..."),
        [folder, names, trashed, progress] {
            auto moved = trashAll(folder, names, *progress);
            *trashed = std::move(moved.entries);
            return moved.failures;
        },
        screen,
        [weakScreen, trashed, changed](const QList<Error> &failures) {
            changed(failures);
            if (trashed->isEmpty() || !weakScreen)
                return;
            const Entries entries = freedOffMain(std::move(*trashed));
            offerUndo(weakScreen, entries, changed);
            sayWhenTheTrashGrewBig(weakScreen, entries);
        },
        progress);
}

void ItemDeletion::offerUndo(ViewController *screen, const Entries &entries,
                             std::function<void(const QList<Error> &)> changed)
{
    const QString text =
        entries->size() == 1
            ? tr("“%1” was moved to the Trash.")
                  .arg(QFileInfo(entries->first().originalPath).fileName())
            : tr("%n item(s) were moved to the Trash.", nullptr, int(entries->size()));
    QPointer<ViewController> weakScreen(screen);
    screen->textNotice()->show(text, tr("Undo"), [weakScreen, entries, changed] {
        if (!weakScreen)
            return;
        auto progress = std::make_shared<FileActionJob::Progress>();
        progress->total = entries->size();
        FileActionJob::runBatch(
            tr("Putting back..."),
            [entries, progress] {
                return Trash::restoreAll(*entries, [progress](qsizetype done) {
                    progress->done = done;
                    return !progress->cancelled;
                });
            },
            weakScreen, changed, progress);
    }, undoSeconds);
}

void ItemDeletion::sayWhenTheTrashGrewBig(ViewController *screen, const Entries &entries)
{
    QPointer<QObject> weakScreen(screen);
    sizeQueue().async([entries, weakScreen] {
        QStringList paths;
        for (const TrashEntry &entry : *entries)
            paths.append(entry.path());
        if (bytesUpTo(paths, bigMove) <= bigMove)
            return;
        const qint64 held = Trash::bytesIn(Trash::trashDirectoriesInUse());
        DispatchQueue::main(weakScreen, [weakScreen, held] {
            static_cast<ViewController *>(weakScreen.data())
                ->textNotice()
                ->show(tr("The Trash now holds %1. Empty it on the Trash screen to free the "
                          "space.")
                           .arg(Utils::sharedFileSizeFormatter().stringFromByteCount(held)));
        });
    });
}
