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

// The items of `paths` into the trash, those of one folder together, counted in `progress`;
// Cancel stops before the next few hundred.
Trash::BatchResult trashAll(const QStringList &paths, FileActionJob::Progress &progress)
{
    const auto folderOf = [](const QString &path) {
        const auto slash = path.lastIndexOf(u'/');
        return slash <= 0 ? QStringLiteral("/") : path.left(slash);
    };
    Trash::BatchResult all;
    for (qsizetype first = 0; first < paths.size() && !progress.cancelled;) {
        const QString folder = folderOf(paths[first]);
        QList<QByteArray> names;
        qsizetype end = first;
        for (; end < paths.size() && folderOf(paths[end]) == folder; ++end)
            names.append(FileNameCodec::encode(
                QStringView(paths[end]).mid(paths[end].lastIndexOf(u'/') + 1)));
        auto moved = Trash::moveAllToTrash(folder, names, [&progress, first](qsizetype done) {
            progress.done = first + done;
            return !progress.cancelled;
        });
        all.entries += std::move(moved.entries);
        all.failures += std::move(moved.failures);
        first = end;
    }
    return all;
}

DispatchQueue &sizeQueue()
{
    static DispatchQueue queue(QStringLiteral("ItemDeletion.trashSizeQueue"));
    return queue;
}

} // namespace

void ItemDeletion::confirm(ViewController *screen, const QStringList &paths, bool forGood,
                           bool inTitle, std::function<void(const QList<Error> &)> changed)
{
    if (paths.isEmpty())
        return;
    // One folder, one file system: the first item's trash stands for every item's.
    const bool toTrash = !forGood && Trash::trashDirectoryFor(paths.first(), nullptr);
    const QString text =
        sheetText(toTrash, int(paths.size()), QFileInfo(paths.first()).fileName());
    auto *sheet = new AlertController(inTitle ? text : QString(""), inTitle ? QString("") : text,
                                      AlertController::Style::ActionSheet);
    QPointer<ViewController> weakScreen(screen);
    sheet->addAction(toTrash ? tr("Move to Trash") : tr("Delete from local folder"),
                     AlertAction::Style::Destructive, [weakScreen, paths, toTrash, changed] {
                         if (weakScreen)
                             run(weakScreen, paths, toTrash, changed);
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

void ItemDeletion::run(ViewController *screen, const QStringList &paths, bool toTrash,
                       std::function<void(const QList<Error> &)> changed)
{
    QPointer<ViewController> weakScreen(screen);
    if (!toTrash) {
        QList<FileActionJob::Operation> operations;
        for (const QString &path : paths)
            operations.append(
                [path](Error *error) { return FileOperations::removeItemAtPath(path, error); });
        FileActionJob::run(tr("Deleting..."), std::move(operations), screen, changed);
        return;
    }
    // Filled on the worker, read on the main thread once the job is over.
    auto trashed = std::make_shared<QList<TrashEntry>>();
    auto progress = std::make_shared<FileActionJob::Progress>();
    progress->total = paths.size();
    FileActionJob::runBatch(
        tr("Moving to the Trash..."),
        [paths, trashed, progress] {
            auto moved = trashAll(paths, *progress);
            *trashed = std::move(moved.entries);
            return moved.failures;
        },
        screen,
        [weakScreen, trashed, changed](const QList<Error> &failures) {
            changed(failures);
            if (trashed->isEmpty() || !weakScreen)
                return;
            offerUndo(weakScreen, *trashed, changed);
            sayWhenTheTrashGrewBig(weakScreen, *trashed);
        },
        progress);
}

void ItemDeletion::offerUndo(ViewController *screen, const QList<TrashEntry> &entries,
                             std::function<void(const QList<Error> &)> changed)
{
    const QString text =
        entries.size() == 1
            ? tr("“%1” was moved to the Trash.")
                  .arg(QFileInfo(entries.first().originalPath).fileName())
            : tr("%n item(s) were moved to the Trash.", nullptr, int(entries.size()));
    QPointer<ViewController> weakScreen(screen);
    screen->textNotice()->show(text, tr("Undo"), [weakScreen, entries, changed] {
        if (!weakScreen)
            return;
        auto progress = std::make_shared<FileActionJob::Progress>();
        progress->total = entries.size();
        FileActionJob::runBatch(
            tr("Putting back..."),
            [entries, progress] {
                return Trash::restoreAll(entries, [progress](qsizetype done) {
                    progress->done = done;
                    return !progress->cancelled;
                });
            },
            weakScreen, changed, progress);
    }, undoSeconds);
}

void ItemDeletion::sayWhenTheTrashGrewBig(ViewController *screen,
                                          const QList<TrashEntry> &entries)
{
    QPointer<QObject> weakScreen(screen);
    sizeQueue().async([entries, weakScreen] {
        QStringList paths;
        for (const TrashEntry &entry : entries)
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
