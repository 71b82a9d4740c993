#include "FileActionJob.h"

#include "DispatchQueue.h"
#include "ProgressOverlay.h"

#include <QPointer>
#include <QTimer>

namespace FileActionJob {

namespace {

DispatchQueue &queue()
{
    static DispatchQueue fileActionQueue(
        QStringLiteral("LocalStorageViewController.fileActionQueue"));
    return fileActionQueue;
}

// Passes the job's progress to the overlay while it runs, and its Cancel to the job. Lives on
// the main thread, parented to the overlay; deleted when the job ends.
QTimer *followOnOverlay(const std::shared_ptr<Progress> &progress)
{
    auto *overlay = ProgressOverlay::shared();
    auto *timer = new QTimer(overlay);
    timer->setInterval(100);
    QObject::connect(timer, &QTimer::timeout, timer, [overlay, progress] {
        const qint64 total = progress->total;
        overlay->setProgress(total > 0 ? double(progress->done) / double(total) : -1,
                             progress->item());
    });
    QObject::connect(overlay, &ProgressOverlay::cancelRequested, timer,
                     [progress] { progress->cancelled = true; });
    timer->start();
    return timer;
}

} // namespace

FileContentCopy::Advance Progress::advance()
{
    return [this](qint64 bytes) {
        done += bytes;
        return !cancelled;
    };
}

void Progress::setItem(const QString &name)
{
    const QMutexLocker lock(&m_mutex);
    m_item = name;
}

QString Progress::item() const
{
    const QMutexLocker lock(&m_mutex);
    return m_item;
}

void run(const QString &status, QList<Operation> operations, QObject *context,
         std::function<void(const QList<Error> &failures)> finished,
         std::shared_ptr<Progress> progress)
{
    auto each = [operations = std::move(operations), progress] {
        QList<Error> failures;
        for (const auto &operation : operations) {
            if (progress && progress->cancelled)
                break;
            Error error;
            if (!operation(&error))
                failures.append(error);
        }
        return failures;
    };
    runBatch(status, std::move(each), context, std::move(finished), std::move(progress));
}

void runBatch(const QString &status, Batch batch, QObject *context,
              std::function<void(const QList<Error> &failures)> finished,
              std::shared_ptr<Progress> progress)
{
    ProgressOverlay::shared()->show(status, progress != nullptr);
    QPointer<QTimer> following = progress ? followOnOverlay(progress) : nullptr;
    QPointer<QObject> weakContext(context);
    QPointer<QObject> overlay(ProgressOverlay::shared());
    queue().async([batch = std::move(batch), weakContext, overlay, following,
                   finished = std::move(finished)] {
        const QList<Error> failures = batch();
        DispatchQueue::main(overlay, [weakContext, finished, failures, following] {
            delete following.data();
            // A next step started by `finished` takes the overlay before this one lets it go,
            // so it stays up from the first step to the last.
            if (weakContext)
                finished(failures);
            ProgressOverlay::shared()->dismiss();
        });
    });
}

} // namespace FileActionJob
